#include "conversation/TarvolanChatDialog.h"

#include <algorithm>
#include <cstdint>
#include <exception>

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTreeWidgetItem>

#include "clientkit/ClientKit.h"
#include "common/Emoticons.h"
#include "common/MessageMarkup.h"
#include "common/TextFunctions.h"
#include "common/TimeText.h"
#include "controls/AskInHandler.h"
#include "controls/TreeCtrlEx.h"
#include "groups/Presence.h"
#include "conversation/ChatText.h"
#include "controls/PresenceText.h"
#include "conversation/EmoticonPicker.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanHistoryDialog.h"
#include "protocol/GroupMessageRequest.h"
#include "protocol/HostLink.h"
#include "platform/Accessibility.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanChatDialog.h"

namespace tarvolan {

namespace {

constexpr int kMemberImageSize = 17;
constexpr COLORREF kMyHeaderColor = 0x00007F7F;
constexpr COLORREF kOthersHeaderColor = 0x007F7F00;
constexpr int kHeaderHeight = 180;
constexpr const char kRecentSeparator[] = "=======================================";
constexpr int kCascadeStep = 28;

// New conversation windows cascade from the last one opened that is still
// on screen, instead of all centring on the group window at one spot.
void PlaceCascaded(QWidget* window)
{
    static QPointer<QWidget> last;
    if (last && last != window && last->isVisible()) {
        const QPoint step(kCascadeStep, kCascadeStep);
        QPoint next = last->pos() + step;
        const QRect screen = last->screen() ? last->screen()->availableGeometry() : QRect();
        if (screen.isValid() && !screen.contains(QRect(next, window->size()))) next = screen.topLeft() + step;
        window->move(next);
    }
    last = window;
}

// Blocks the window's painting while the input change is handled.
class CUpdatesLock {
public:
    explicit CUpdatesLock(QWidget* window) : m_pWindow(window), m_bWasEnabled(window->updatesEnabled())
    {
        m_pWindow->setUpdatesEnabled(false);
    }
    ~CUpdatesLock()
    {
        if (m_pWindow) m_pWindow->setUpdatesEnabled(m_bWasEnabled);
    }
    CUpdatesLock(const CUpdatesLock&) = delete;
    CUpdatesLock& operator=(const CUpdatesLock&) = delete;

private:
    QPointer<QWidget> m_pWindow;  // the window may go while a message box is open
    bool m_bWasEnabled;
};

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

// The chat format from a chosen font and colour: effects, height in twips
// (15 per pixel), face and colour.
TCharFormat CharFormatFromFont(const TLogFont& font, COLORREF color, int32_t previousHeight)
{
    TCharFormat format;
    format.dwMask = CFM_ALL;
    if (font.lfWeight >= 600) format.dwEffects |= CFE_BOLD;
    if (font.lfItalic) format.dwEffects |= CFE_ITALIC;
    if (font.lfUnderline) format.dwEffects |= CFE_UNDERLINE;
    if (font.lfStrikeOut) format.dwEffects |= CFE_STRIKEOUT;
    // In 64 bits: a font dialog's height may be any int (the editor shows at
    // most its largest size).
    const int64_t twips = std::abs(static_cast<int64_t>(font.lfHeight)) * 15;
    format.yHeight = font.lfHeight != 0 ? static_cast<int32_t>(std::min<int64_t>(twips, INT32_MAX)) : previousHeight;
    format.crTextColor = color;
    CString::FromField(font.lfFaceName, sizeof(font.lfFaceName)).CopyTo(format.szFaceName, sizeof(format.szFaceName));
    return format;
}

// The input's content as its window left it: text, formats and pictures.
class CInputDraft : public CChatDraft {
public:
    explicit CInputDraft(const QTextDocument& input) : m_content(&input) {}
    const QTextDocumentFragment& Content() const { return m_content; }

private:
    QTextDocumentFragment m_content;
};

CString MyDisplayName()
{
    const tagMyInfo* me = GetMyInfo();
    return me ? CString::FromField(me->szDisplayName, sizeof(me->szDisplayName)) : CString();
}

CString MyAccount()
{
    const CKestUser* user = GetUserData();
    return user ? CString::FromField(user->m_szAccount, sizeof(user->m_szAccount)) : CString();
}

} // namespace

CTarvolanChatDialog::CTarvolanChatDialog(CHostLink& link, QWidget* parent) : CDialog(parent), m_link(link) {}

CTarvolanChatDialog::~CTarvolanChatDialog()
{
    if (m_pTarvolan && m_pTarvolan->m_pChatDialog == this) m_pTarvolan->m_pChatDialog = nullptr;
    delete m_pUi;
}

bool CTarvolanChatDialog::CreateFromTemplate(QWidget* parent)
{
    setParent(parent, Qt::Window);
    m_pUi = new Ui::CTarvolanChatDialog;
    m_pUi->setupUi(this);
    m_pMemberTree = qobject_cast<CTreeCtrlEx*>(GetDlgItem(IDC_MEMBERS));
    m_pSendButton = qobject_cast<QAbstractButton*>(GetDlgItem(IDC_SEND));
    m_pOutput = qobject_cast<CRichMsgEdit*>(GetDlgItem(IDC_OUTPUT));
    m_pInput = qobject_cast<CRichMsgEdit*>(GetDlgItem(IDC_INPUT));
    m_pFontButton = qobject_cast<QAbstractButton*>(GetDlgItem(IDC_FONT));
    m_pPicker = qobject_cast<CEmoticonPicker*>(GetDlgItem(IDC_EMOTICONS));
    if (!m_pMemberTree || !m_pSendButton || !m_pOutput || !m_pInput || !m_pFontButton || !m_pPicker) return false;
    m_pMemberTree->SetElideMiddle(true);
    return Create(nullptr);
}

// ---- initialisation ------------------------------------------------------------

bool CTarvolanChatDialog::OnInitDialog()
{
    // 1. Name and caption.
    m_strGroupName = m_pTarvolan ? m_pTarvolan->m_csName : CString();
    SetDlgItemText(IDC_GROUP_NAME, m_strGroupName);
    setWindowTitle(ToQt(LoadResString(IDS_CHAT_CAPTION)));
    NameWindowAfter(this, ToQt(m_strGroupName));  // every conversation shares the caption

    // 2. The group name line: bold, 18 pixels, and no input at all.
    if (QWidget* name = GetDlgItem(IDC_GROUP_NAME)) {
        QFont font(QStringLiteral("楷体_GB2312"));
        font.setPixelSize(18);
        font.setWeight(QFont::Bold);
        name->setFont(font);
        name->setFocusPolicy(Qt::NoFocus);
        name->installEventFilter(this);
    }

    // 3. Members.
    LoadMemberImages();
    if (m_MemberImages.size() > 1) setWindowIcon(m_MemberImages[1]);
    m_pMemberTree->setIconSize(QSize(kMemberImageSize, kMemberImageSize));
    connect(m_pMemberTree, &QTreeWidget::itemExpanded, this, &CTarvolanChatDialog::SetRootImage);
    connect(m_pMemberTree, &QTreeWidget::itemCollapsed, this, &CTarvolanChatDialog::SetRootImage);
    FillMemberTree();

    // 4. Input state and the emoticon codes.
    m_Typing.Reset();
    for (int i = 0; i < kCodeSlots; ++i) m_EmoticonCodes[i] = tarvolan::EmoticonCode(i);
    m_pSendButton->setEnabled(false);

    // 5. Input: change notifications and the chat format.
    m_pInput->AttachToDialog();
    m_pInput->setTabChangesFocus(true);  // Tab leaves the input: the keyboard reaches every control
    m_pInput->SetOwner(this);
    connect(m_pInput, &CRichMsgEdit::TextChanged, this, &CTarvolanChatDialog::OnInputChange);
    ApplyChatFormatToInput();

    // 6. Picker.
    LoadPickerItems();

    // 7. Output: read-only, addresses as links, dropped files accepted.
    m_pOutput->AttachToDialog();
    m_pOutput->setTabChangesFocus(true);
    m_pOutput->SetOwner(this);
    m_pOutput->SetReadOnly(true);
    m_pOutput->SetAutoUrlDetect(true);
    m_pOutput->setAcceptDrops(true);

    // The history button stays hidden: the module never shows it.
    if (QWidget* history = GetDlgItem(IDC_HISTORY)) history->hide();

    // 8. Skins and focus.
    RequestSkins();
    m_pInput->setFocus();
    return true;
}

void CTarvolanChatDialog::LoadMemberImages()
{
    const QList<QIcon> icons = LoadImageIcons(IDB_TREE_IMAGES, kMemberImageSize, 0xFFFFFF);
    m_MemberImages.assign(icons.begin(), icons.end());
}

void CTarvolanChatDialog::LoadPickerItems()
{
    const CString folder = CString(GetAppPath()) + "emote/bmp/";
    for (int i = 0; i < kEmoticonCount; ++i) {
        CString path;
        path.Format("%s%d.bmp", folder.c_str(), i);
        m_pPicker->AddItem(ToQt(path), m_EmoticonCodes[i]);
    }
}

void CTarvolanChatDialog::RequestSkins()
{
    m_link.RequestSkin(WindowHandle(this), "TarvolanChat.skn", "");
    m_link.RequestSkin(WindowHandle(this), "TarvolanChat.skn", "window01");
    m_link.RequestSkin(WindowHandle(m_pFontButton), "chat.skn", "btn_font");
    m_link.RequestSkin(WindowHandle(m_pPicker), "chat.skn", "btn_emoticons");
}

void CTarvolanChatDialog::ApplyChatFormatToInput()
{
    CRichMsgEdit::CQuietChange quiet(m_pInput);
    if (const TCharFormat* format = GetAppCharFormat()) m_pInput->ApplyCharFormatToAll(*format);
}

bool CTarvolanChatDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The group name line takes no keyboard or mouse input.
    if (watched == GetDlgItem(IDC_GROUP_NAME)) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::FocusIn:
            return true;
        default:
            break;
        }
    }
    return CDialog::eventFilter(watched, event);
}

// ---- commands and closing ---------------------------------------------------------

bool CTarvolanChatDialog::OnCommand(int id, intptr_t lParam)
{
    switch (id) {
    case IDC_FONT: OnFontButton(); return true;
    case IDC_EMOTICONS: OnEmoticonPick(); return true;
    case IDC_SEND: OnSend(); return true;
    case IDC_HISTORY: OnHistory(); return true;
    default: return CDialog::OnCommand(id, lParam);
    }
}

void CTarvolanChatDialog::KeepDraft()
{
    QTextDocument* input = m_pInput ? m_pInput->document() : nullptr;
    if (!input || input->isEmpty()) m_pTarvolan->m_pDraft.reset();
    else m_pTarvolan->m_pDraft = std::make_unique<CInputDraft>(*input);
}

void CTarvolanChatDialog::RestoreDraft()
{
    if (!m_pTarvolan || !m_pTarvolan->m_pDraft) return;
    const std::unique_ptr<CChatDraft> draft = std::move(m_pTarvolan->m_pDraft);
    const auto* kept = dynamic_cast<const CInputDraft*>(draft.get());
    if (!kept) return;
    {
        CRichMsgEdit::CQuietChange quiet(m_pInput);
        QTextCursor cursor(m_pInput->document());
        cursor.insertFragment(kept->Content());
        m_pInput->setTextCursor(cursor);  // the caret at the end
    }
    // The picture map, the length limit and the send button follow the text,
    // as after any change of the input.
    OnInputChange();
}

void CTarvolanChatDialog::OnCancel()
{
    if (m_pTarvolan && m_pTarvolan->m_pChatDialog == this) {
        KeepDraft();
        m_pTarvolan->m_pChatDialog = nullptr;
    }
    m_pTarvolan = nullptr;
    hide();
    deleteLater();
}

void CTarvolanChatDialog::OnClose()
{
    if (m_pTarvolan && GetVersionType() == 3 && IsMySelf(m_pTarvolan->m_csOwnerURI)) {
        CString question;
        question.Format(LoadResString(IDS_CONFIRM_DELETE_GROUP).c_str(), m_pTarvolan->URI().c_str());
        const auto asked =
            AskInHandler(this, [&] { return ShowMessageBox(this, question, GetMsgTitle(), MB_YESNO | MB_ICONQUESTION); });
        if (!asked.WindowAlive()) return;  // the group went while the question was open
        if (asked.Answer() == IDYES && m_pTarvolan) {
            Word record[1] = {reinterpret_cast<Word>(m_pTarvolan->m_csName.c_str())};
            m_link.Send(M_DeleteGroup, record);
        }
    }
    OnCancel();
}

void CTarvolanChatDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();  // the window deletes itself
    OnClose();
}

void CTarvolanChatDialog::ShowNotice(int stringId, unsigned icon)
{
    ShowMessageBox(this, LoadResString(stringId), GetMsgTitle(), icon);
}

// ---- members -------------------------------------------------------------------------

// The same picture as the member's item in the group tree: one mapping for
// both windows, over our own image strip.
int CTarvolanChatDialog::MemberImageIndex(int state, int kind)
{
    return tarvolan::MemberImage(state, kind);
}

const QIcon& CTarvolanChatDialog::MemberImage(int index) const
{
    static const QIcon none;
    return (index >= 0 && index < static_cast<int>(m_MemberImages.size())) ? m_MemberImages[static_cast<size_t>(index)]
                                                                           : none;
}

CString CTarvolanChatDialog::MemberItemText(const CTarvolanMember& member) const
{
    return member.URI();
}

void CTarvolanChatDialog::SetRootImage(QTreeWidgetItem* item)
{
    if (!item || item->parent()) return;
    item->setIcon(0, MemberImage(item->isExpanded() ? 0 : 1));
}

// The presence as the picture and, for a screen reader, in words.
void CTarvolanChatDialog::ShowMemberPresence(QTreeWidgetItem* item, const CTarvolanMember& member) const
{
    item->setIcon(0, MemberImage(MemberImageIndex(member.m_nStatus, member.m_nPresenceKind)));
    item->setData(0, Qt::AccessibleDescriptionRole, PresenceInWords(member));
}

void CTarvolanChatDialog::FillMemberTree()
{
    if (!m_pMemberTree) return;
    m_pMemberTree->clear();
    CString rootText;
    rootText.Format("%s: %s", LoadResString(IDS_GROUP).c_str(), m_strGroupName.c_str());
    auto* root = new QTreeWidgetItem(QStringList{ToQt(rootText)});
    root->setIcon(0, MemberImage(0));
    m_pMemberTree->addTopLevelItem(root);
    if (m_pTarvolan) {
        QList<QTreeWidgetItem*> items;
        for (const CTarvolanMember* member : m_pTarvolan->Members()) {
            auto* item = new QTreeWidgetItem(QStringList{ToQt(MemberItemText(*member))});
            item->setToolTip(0, item->text(0));  // the whole address when the pane elides it
            ShowMemberPresence(item, *member);
            items.append(item);
        }
        root->addChildren(items);
    }
    root->setExpanded(true);
    SetRootImage(root);
}

void CTarvolanChatDialog::UpdateMemberItem(CTarvolanMember* member)
{
    if (!member || !m_pMemberTree) return;
    QTreeWidgetItem* root = m_pMemberTree->topLevelItem(0);
    const CString text = MemberItemText(*member);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* item = root->child(i);
        if (FromQt(item->text(0)) != text) continue;
        item->setText(0, ToQt(text));
        ShowMemberPresence(item, *member);
        return;
    }
    FillMemberTree();
}

// ---- showing messages ----------------------------------------------------------------------

void CTarvolanChatDialog::ShowMessageHeader(const CString& time, const CString& name, int isMe,
                                            const CString& target, int whisper)
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
    AppendToOutput(format, line);
}

void CTarvolanChatDialog::WriteMarkedUp(const CString& text)
{
    const TMessageMarkup markup = ReadMessageMarkup(text);
    AppendToOutput(markup.format, markup.text + "\r\n");
}

void CTarvolanChatDialog::AppendToOutput(const TCharFormat& format, const CString& text)
{
    CRichMsgEdit::AppendMessageText(m_pOutput, &format, 0, "%s", text.c_str());
    m_pOutput->DropOldestText(kOutputLimit, kOutputKept);
}

void CTarvolanChatDialog::ShowMessageBody(const CString& text)
{
    WriteMarkedUp(text);
    m_pOutput->ScrollToBottom();
    m_pInput->setFocus();
}

void CTarvolanChatDialog::ShowMessageBodyPreset(const CString& text, int preset)
{
    WriteMarkedUp(WithPresetElement(text, preset));
}

void CTarvolanChatDialog::LoadRecentMessage()
{
    if (!m_pTarvolan) {
        WriteLog("CTarvolanChatDialog::LoadRecentMessage()--m_pTarvolan is NULL", 0);
        return;
    }
    if (m_pTarvolan->m_MsgListRecent.empty()) {
        WriteLog("CTarvolanChatDialog::LoadRecentMessage()--m_pTarvolan->m_MsgListRecent is empty!", 0);
        return;
    }
    try {
        const COneEdit edit(m_pOutput->document());
        const CString grey = kGreyPropertyElement;
        for (const TGroupMessage& message : m_pTarvolan->m_MsgListRecent) {
            const CString sender =
                IsMySelf(message.senderURI) ? LoadResString(IDS_YOU) : GetUserNameByPhone(message.senderURI, 0, 1);
            CString header;
            header.Format("%s* %s%s", message.time.c_str(), sender.c_str(), LoadResString(IDS_SAYS).c_str());
            header = StripPropertyElement(XmlUnescape(header));
            ShowMessageBodyPreset(grey + header, 0);
            ShowMessageBodyPreset(grey + StripPropertyElement(message.body), 0);
        }
        ShowMessageBodyPreset(grey + kRecentSeparator, 0);
    } catch (const std::exception&) {
        WriteLog("Exception--CTarvolanChatDialog::LoadRecentMessage()", 0);
    }
}

void CTarvolanChatDialog::ShowOrRequestRecentMessages()
{
    if (!m_pTarvolan) return;
    if (m_pTarvolan->m_bRecentLoaded) {
        if (!m_pTarvolan->m_MsgListRecent.empty()) LoadRecentMessage();
        return;
    }
    // The recent messages come with the answer to a subscription.
    SendSubscribe(m_link, m_pTarvolan->URI().c_str());
}

// ---- the history viewer ----------------------------------------------------------------------

void CTarvolanChatDialog::OnHistory()
{
    if (!m_pTarvolan) return;
    // A child of this window: when the group goes while the viewer runs, the
    // viewer goes with this window.
    QPointer<CTarvolanHistoryDialog> viewer = new CTarvolanHistoryDialog(m_link, this);
    viewer->SetGroup(m_pTarvolan);
    const auto asked = AskInHandler(this, [&] { return viewer->DoModal(); });
    delete viewer.data();
    if (!asked.WindowAlive() || !m_pTarvolan) return;
    m_pTarvolan->m_MsgListHistory.clear();
}

// ---- sending -------------------------------------------------------------------------------

void CTarvolanChatDialog::OnSend()
{
    CString text = m_pInput->GetWindowText();
    RestoreEmoticonCodes(text, m_Typing.PictureMap(), m_EmoticonCodes, kEmoticonCount);
    if (text.IsEmpty()) {
        m_pInput->setFocus();
        return;
    }
    CString bannedWord;
    if (bHaveFilterWords(text, &bannedWord) != 0) {
        ShowNotice(IDS_BANNED_WORDS, MB_ICONEXCLAMATION);
        return;  // the input keeps its text and pictures
    }
    const CString message = BuildPropertyElement(GetAppResetLF() ? GetAppCharFormat() : nullptr) + text;

    ShowMessageHeader(GetLocalTimeString(), MyDisplayName(), 1, CString(), 0);
    ShowMessageBody(message);
    m_pOutput->ScrollToBottom();

    m_pSendButton->setEnabled(false);
    m_Typing.MessageSent();  // the change of emptying the input resets the picture map
    m_pInput->clear();
    m_pInput->setFocus();

    if (!m_pTarvolan) return;
    // The summary comes from the text that follows the property element.
    SendGroupMessage(m_link, message, GetInternetTimeString(), m_pTarvolan->URI(), MessageSummary(text));
}

void CTarvolanChatDialog::OnFontButton()
{
    TLogFont* appFont = GetAppLogFont();
    TCharFormat* appFormat = GetAppCharFormat();
    if (!appFont || !appFormat) return;
    TLogFont font = *appFont;
    COLORREF color = appFormat->crTextColor;
    // The dialog runs a loop: the group, and this window with it, may go meanwhile.
    const auto asked = AskInHandler(this, [&] { return GetUiDriver()->ChooseFont(this, font, color); });
    if (!asked.WindowAlive()) return;
    if (asked.Answer()) {
        *appFormat = CharFormatFromFont(font, color, appFormat->yHeight);
        *appFont = font;
        ApplyChatFormatToInput();
        {
            CRichMsgEdit::CQuietChange quiet(m_pInput);
            m_pInput->SetSel(m_pInput->GetWindowTextLength(), -1);
        }
        SetAppResetLF(1);
    }
    activateWindow();
}

// ---- emoticons and the input ---------------------------------------------------------------------

void CTarvolanChatDialog::OnEmoticonPick()
{
    if (CInputTyping::IsFull(m_pInput->GetWindowTextLength())) {
        ShowNotice(IDS_TEXT_TOO_LONG, MB_ICONINFORMATION);
        return;
    }
    const int index = m_pPicker->GetChosenIndex();
    if (index < 0) return;
    TByteRange selection;
    m_pInput->GetSel(selection.start, selection.end);
    bool shown = false;
    {
        CRichMsgEdit::CQuietChange quiet(m_pInput);
        if (selection.start != selection.end) {
            // The picture takes the place of the selected text, which goes
            // (the clipboard keeps what the user put there).
            m_pInput->SetSel(selection.start, selection.end);
            m_pInput->Clear();
        }
        shown = m_pInput->InsertEmoticon(index);
    }
    m_Typing.PicturePicked(selection, index, shown);
    // The change the picker made: the map is already up to date.
    OnInputChange();
}

TInputChange CTarvolanChatDialog::TakeInputChange()
{
    TInputChange change;
    change.length = m_pInput->GetWindowTextLength();
    change.single = m_pInput->TakeLastChange(change.start, change.added);
    return change;
}

bool CTarvolanChatDialog::ReplaceTypedCode(TByteRange& selection)
{
    TTypedEmoticon found;
    if (!m_Typing.FindTypedCode(m_pInput->GetWindowText(), found)) return false;
    const int pos = static_cast<int>(found.pos);
    {
        CRichMsgEdit::CQuietChange quiet(m_pInput);
        m_pInput->SetSel(pos, pos + static_cast<int>(found.length));
        m_pInput->Clear();
        if (!m_pInput->InsertEmoticon(found.index)) return false;
    }
    m_Typing.CodeReplaced(found, selection);
    return true;
}

void CTarvolanChatDialog::TrimToLimit(int caret)
{
    TByteRange range;
    if (!CInputTyping::Excess(m_pInput->GetWindowText(), caret, range)) return;
    {
        CRichMsgEdit::CQuietChange quiet(m_pInput);
        m_pInput->SetSel(range.start, range.end);
        m_pInput->Clear();
        m_Typing.Trimmed(range, m_pInput->GetWindowTextLength());
        m_pInput->SetSel(range.start, range.start);
    }
    // The notice comes once the editor has finished the change: nothing of
    // the editor is left on the stack while the box is open.
    QMetaObject::invokeMethod(
        this, [this] { ShowNotice(IDS_TEXT_TOO_LONG, MB_ICONINFORMATION); }, Qt::QueuedConnection);
}

void CTarvolanChatDialog::KeepLastLineInView()
{
    if (m_pInput->GetLineCount() <= 1) return;
    int caret = 0, ignored = 0;
    m_pInput->GetSel(caret, ignored);
    const int lastLineStart = m_pInput->GetWindowTextLength() - m_pInput->LastLineLength();
    if (caret > lastLineStart + 3) m_pInput->ScrollToBottom();
}

bool CTarvolanChatDialog::HandleInputChange()
{
    // 1.-2. The selection, and the picture map in step with the text.
    TByteRange selection;
    m_pInput->GetSel(selection.start, selection.end);
    selection = m_Typing.FollowChange(TakeInputChange(), selection, [this] { return m_pInput->GetPictureMap(); });

    // 3. A typed code becomes its picture.
    const bool replaced = ReplaceTypedCode(selection);

    // 4.-5. The whole input in the chat format, the selection where it was.
    ApplyChatFormatToInput();
    if (replaced) {
        CRichMsgEdit::CQuietChange quiet(m_pInput);
        m_pInput->SetSel(selection.start, selection.end);
    }

    // 6. The length limit.
    TrimToLimit(selection.start);

    // 7. Sending is possible with a picture or text.
    const bool picture = m_Typing.FinishChange();
    m_pSendButton->setEnabled(picture || m_pInput->GetWindowTextLength() > 0);
    m_pInput->setFocus();

    // 8. Typing far into the last line keeps it in view.
    KeepLastLineInView();
    return replaced;
}

void CTarvolanChatDialog::OnInputChange()
{
    if (m_bInInputChange || !m_pInput) return;
    m_bInInputChange = true;
    {
        CUpdatesLock lock(this);
        // A replaced code is a change of its own: the next pass handles it,
        // and with it any further code of the same change.
        for (int pass = 0; pass <= kEmoticonCount && HandleInputChange(); ++pass) {
        }
    }
    m_bInInputChange = false;
}

// ---- the group's window ------------------------------------------------------------

CTarvolanChatDialog* OpenChatWindow(CTarvolan& group, CHostLink& link, QWidget* parent)
{
    if (group.m_pChatDialog) return dynamic_cast<CTarvolanChatDialog*>(group.m_pChatDialog);
    auto* chat = new CTarvolanChatDialog(link);
    chat->m_pTarvolan = &group;
    group.m_pChatDialog = chat;
    if (!chat->CreateFromTemplate(parent)) {
        group.m_pChatDialog = nullptr;
        chat->m_pTarvolan = nullptr;
        delete chat;
        return nullptr;
    }
    chat->RestoreDraft();
    PlaceCascaded(chat);
    chat->show();
    chat->raise();
    chat->ShowOrRequestRecentMessages();
    return chat;
}

void ShowIncomingMessage(CTarvolan& group, CHostLink& link, const char* senderURI, const char* text, QWidget* parent)
{
    CTarvolanChatDialog* chat = OpenChatWindow(group, link, parent);
    if (!chat) return;
    const CString sender(senderURI ? senderURI : "");
    const CTarvolanMember* member = group.FindMember(sender);
    const CString name = member ? member->m_csDisplayName : GetUserNameByPhone(sender, 0, 1);
    chat->ShowMessageHeader(GetLocalTimeString(), name, 0, CString(), 0);
    chat->ShowMessageBody(CString(text ? text : ""));
    chat->Output()->ScrollPageDown();
    QApplication::alert(chat);
}

} // namespace tarvolan
