#include "conversation/ConversationView.h"

#include <QTextCursor>
#include <QTextDocument>

#include "clientkit/ClientKit.h"
#include "common/MessageMarkup.h"
#include "common/TextFunctions.h"
#include "common/TimeText.h"
#include "conversation/RichMsgEdit.h"
#include "groups/Tarvolan.h"
#include "platform/ScreenReading.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr COLORREF kMyHeaderColor = 0x00007F7F;
constexpr COLORREF kOthersHeaderColor = 0x007F7F00;
constexpr int kHeaderHeight = 180;
constexpr const char kRecentSeparator[] = "=======================================";

// The appends made while one lives are one edit of the document: it is laid
// out once at the end, not once for every line.
class COneEdit {
public:
    explicit COneEdit(QTextDocument* document) : m_cursor(document) { m_cursor.beginEditBlock(); }
    ~COneEdit() { m_cursor.endEditBlock(); }
    COneEdit(const COneEdit&) = delete;
    COneEdit& operator=(const COneEdit&) = delete;

private:
    QTextCursor m_cursor;
};

CString MyAccount()
{
    const CKestUser* user = GetUserData();
    return user ? CString::FromField(user->m_szAccount, sizeof(user->m_szAccount)) : CString();
}

} // namespace

CConversationView::CConversationView(CRichMsgEdit& output) : m_output(output) {}

void CConversationView::Init(QWidget* owner)
{
    m_output.AttachToDialog();
    m_output.setTabChangesFocus(true);
    m_output.SetOwner(owner);
    m_output.SetReadOnly(true);
    LetKeysRead(m_output);
    m_output.SetAutoUrlDetect(true);
    m_output.setAcceptDrops(true);
}

void CConversationView::ShowHeader(const CString& time, const CString& name, int isMe, const CString& target,
                                   int whisper)
{
    const CString sender = isMe ? LoadResString(IDS_YOU) : name;
    const CString whisperWord = whisper ? LoadResString(IDS_WHISPER) : CString();
    CString targetText;
    if (!target.IsEmpty()) {
        if (target != MyAccount())
            targetText = LoadResString(IDS_TO) + GetUserNameByPhone(target, 0, 1);
        else
            targetText = LoadResString(IDS_TO_YOU);
    }
    const CString shownTime = time.GetLength() < 3 ? GetLocalTimeString() : time;
    CString line;
    line.Format("%s* %s%s%s%s\r\n", shownTime.c_str(), sender.c_str(), whisperWord.c_str(), targetText.c_str(),
                LoadResString(IDS_SAYS).c_str());
    TCharFormat format;
    format.dwMask = CFM_EFFECTS | CFM_SIZE | CFM_COLOR;
    format.yHeight = kHeaderHeight;
    format.crTextColor = isMe ? kMyHeaderColor : kOthersHeaderColor;
    Append(format, line);
}

void CConversationView::ShowMarkedUp(const CString& text)
{
    const TMessageMarkup markup = ReadMessageMarkup(text);
    Append(markup.format, markup.text + "\r\n");
}

void CConversationView::ShowWithPreset(const CString& text, int preset)
{
    ShowMarkedUp(WithPresetElement(text, preset));
}

void CConversationView::ShowRecent(const std::list<TGroupMessage>& messages)
{
    const COneEdit edit(m_output.document());
    const CString grey = kGreyPropertyElement;
    for (const TGroupMessage& message : messages) {
        const CString sender =
            IsMySelf(message.senderURI) ? LoadResString(IDS_YOU) : GetUserNameByPhone(message.senderURI, 0, 1);
        CString header;
        header.Format("%s* %s%s", message.time.c_str(), sender.c_str(), LoadResString(IDS_SAYS).c_str());
        header = StripPropertyElement(XmlUnescape(header));
        ShowWithPreset(grey + header, 0);
        ShowWithPreset(grey + StripPropertyElement(message.body), 0);
    }
    ShowWithPreset(grey + kRecentSeparator, 0);
}

void CConversationView::ScrollToBottom()
{
    m_output.ScrollToBottom();
}

void CConversationView::Append(const TCharFormat& format, const CString& text)
{
    CRichMsgEdit::AppendMessageText(&m_output, &format, 0, "%s", text.c_str());
    m_output.DropOldestText(kOutputLimit, kOutputKept);
}

} // namespace tarvolan
