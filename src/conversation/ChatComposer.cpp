#include "conversation/ChatComposer.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include <QAbstractButton>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include "clientkit/ClientKit.h"
#include "common/Emoticons.h"
#include "common/MessageMarkup.h"
#include "controls/AskInHandler.h"
#include "conversation/ChatText.h"
#include "conversation/EmoticonPicker.h"
#include "conversation/RichMsgEdit.h"
#include "groups/Tarvolan.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

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

} // namespace

CChatComposer::CChatComposer(QWidget& window, CRichMsgEdit& input, QAbstractButton& send, QAbstractButton& font,
                             CEmoticonPicker& picker)
    : m_window(window), m_input(input), m_send(send), m_font(font), m_picker(picker)
{
}

void CChatComposer::Init()
{
    // Input state and the emoticon codes.
    m_Typing.Reset();
    for (int i = 0; i < kCodeSlots; ++i) m_EmoticonCodes[i] = tarvolan::EmoticonCode(i);
    m_send.setEnabled(false);

    // Input: change notifications and the chat format.
    m_input.AttachToDialog();
    m_input.setTabChangesFocus(true);  // Tab leaves the input: the keyboard reaches every control
    m_input.SetOwner(&m_window);
    connect(&m_input, &CRichMsgEdit::TextChanged, this, &CChatComposer::OnInputChange);
    ApplyChatFormatToInput();

    LoadPickerItems();
}

void CChatComposer::Focus()
{
    m_input.setFocus();
}

void CChatComposer::LoadPickerItems()
{
    const CString folder = CString(GetAppPath()) + "emote/bmp/";
    for (int i = 0; i < kEmoticonCount; ++i) {
        CString path;
        path.Format("%s%d.bmp", folder.c_str(), i);
        m_picker.AddItem(ToQt(path), m_EmoticonCodes[i]);
    }
}

void CChatComposer::ApplyChatFormatToInput()
{
    CRichMsgEdit::CQuietChange quiet(&m_input);
    if (const TCharFormat* format = GetAppCharFormat()) m_input.ApplyCharFormatToAll(*format);
}

void CChatComposer::ShowNotice(int stringId, unsigned icon)
{
    ShowMessageBox(&m_window, LoadResString(stringId), GetMsgTitle(), icon);
}

// ---- sending -------------------------------------------------------------------------------

bool CChatComposer::TakeMessage(TOutgoingMessage& out)
{
    out.text = m_input.GetWindowText();
    RestoreEmoticonCodes(out.text, m_Typing.PictureMap(), m_EmoticonCodes, kEmoticonCount);
    if (out.text.IsEmpty()) {
        m_input.setFocus();
        return false;
    }
    CString bannedWord;
    if (bHaveFilterWords(out.text, &bannedWord) != 0) {
        ShowNotice(IDS_BANNED_WORDS, MB_ICONEXCLAMATION);
        return false;  // the input keeps its text and pictures
    }
    out.message = BuildPropertyElement(GetAppResetLF() ? GetAppCharFormat() : nullptr) + out.text;
    return true;
}

void CChatComposer::MessageSent()
{
    m_send.setEnabled(false);
    m_Typing.MessageSent();  // the change of emptying the input resets the picture map
    m_input.clear();
    m_input.setFocus();
}

// ---- the draft -------------------------------------------------------------------------------

void CChatComposer::KeepDraft(CTarvolan& group) const
{
    QTextDocument* input = m_input.document();
    if (!input || input->isEmpty()) group.m_pDraft.reset();
    else group.m_pDraft = std::make_unique<CInputDraft>(*input);
}

void CChatComposer::RestoreDraft(CTarvolan& group)
{
    if (!group.m_pDraft) return;
    const std::unique_ptr<CChatDraft> draft = std::move(group.m_pDraft);
    const auto* kept = dynamic_cast<const CInputDraft*>(draft.get());
    if (!kept) return;
    {
        CRichMsgEdit::CQuietChange quiet(&m_input);
        QTextCursor cursor(m_input.document());
        cursor.insertFragment(kept->Content());
        m_input.setTextCursor(cursor);  // the caret at the end
    }
    // The picture map, the length limit and the send button follow the text,
    // as after any change of the input.
    OnInputChange();
}

// ---- font ----------------------------------------------------------------------------------

void CChatComposer::OnFontButton()
{
    TLogFont* appFont = GetAppLogFont();
    TCharFormat* appFormat = GetAppCharFormat();
    if (!appFont || !appFormat) return;
    TLogFont font = *appFont;
    COLORREF color = appFormat->crTextColor;
    // The dialog runs a loop: the group, and the window with it, may go meanwhile.
    const auto asked = AskInHandler(&m_window, [&] { return GetUiDriver()->ChooseFont(&m_window, font, color); });
    if (!asked.WindowAlive()) return;
    if (asked.Answer()) {
        *appFormat = CharFormatFromFont(font, color, appFormat->yHeight);
        *appFont = font;
        ApplyChatFormatToInput();
        {
            CRichMsgEdit::CQuietChange quiet(&m_input);
            m_input.SetSel(m_input.GetWindowTextLength(), -1);
        }
        SetAppResetLF(1);
    }
    m_window.activateWindow();
}

// ---- emoticons and the input ---------------------------------------------------------------------

void CChatComposer::OnEmoticonPick()
{
    if (CInputTyping::IsFull(m_input.GetWindowTextLength())) {
        ShowNotice(IDS_TEXT_TOO_LONG, MB_ICONINFORMATION);
        return;
    }
    const int index = m_picker.GetChosenIndex();
    if (index < 0) return;
    TByteRange selection;
    m_input.GetSel(selection.start, selection.end);
    bool shown = false;
    {
        CRichMsgEdit::CQuietChange quiet(&m_input);
        if (selection.start != selection.end) {
            // The picture takes the place of the selected text, which goes
            // (the clipboard keeps what the user put there).
            m_input.SetSel(selection.start, selection.end);
            m_input.Clear();
        }
        shown = m_input.InsertEmoticon(index);
    }
    m_Typing.PicturePicked(selection, index, shown);
    // The change the picker made: the map is already up to date.
    OnInputChange();
}

TInputChange CChatComposer::TakeInputChange()
{
    TInputChange change;
    change.length = m_input.GetWindowTextLength();
    change.single = m_input.TakeLastChange(change.start, change.added);
    return change;
}

bool CChatComposer::ReplaceTypedCode(TByteRange& selection)
{
    TTypedEmoticon found;
    if (!m_Typing.FindTypedCode(m_input.GetWindowText(), found)) return false;
    const int pos = static_cast<int>(found.pos);
    {
        CRichMsgEdit::CQuietChange quiet(&m_input);
        m_input.SetSel(pos, pos + static_cast<int>(found.length));
        m_input.Clear();
        if (!m_input.InsertEmoticon(found.index)) return false;
    }
    m_Typing.CodeReplaced(found, selection);
    return true;
}

void CChatComposer::TrimToLimit(int caret)
{
    TByteRange range;
    if (!CInputTyping::Excess(m_input.GetWindowText(), caret, range)) return;
    {
        CRichMsgEdit::CQuietChange quiet(&m_input);
        m_input.SetSel(range.start, range.end);
        m_input.Clear();
        m_Typing.Trimmed(range, m_input.GetWindowTextLength());
        m_input.SetSel(range.start, range.start);
    }
    // The notice comes once the editor has finished the change: nothing of
    // the editor is left on the stack while the box is open.
    QMetaObject::invokeMethod(
        this, [this] { ShowNotice(IDS_TEXT_TOO_LONG, MB_ICONINFORMATION); }, Qt::QueuedConnection);
}

void CChatComposer::KeepLastLineInView()
{
    if (m_input.GetLineCount() <= 1) return;
    int caret = 0, ignored = 0;
    m_input.GetSel(caret, ignored);
    const int lastLineStart = m_input.GetWindowTextLength() - m_input.LastLineLength();
    if (caret > lastLineStart + 3) m_input.ScrollToBottom();
}

bool CChatComposer::HandleInputChange()
{
    // 1.-2. The selection, and the picture map in step with the text.
    TByteRange selection;
    m_input.GetSel(selection.start, selection.end);
    selection = m_Typing.FollowChange(TakeInputChange(), selection, [this] { return m_input.GetPictureMap(); });

    // 3. A typed code becomes its picture.
    const bool replaced = ReplaceTypedCode(selection);

    // 4.-5. The whole input in the chat format, the selection where it was.
    ApplyChatFormatToInput();
    if (replaced) {
        CRichMsgEdit::CQuietChange quiet(&m_input);
        m_input.SetSel(selection.start, selection.end);
    }

    // 6. The length limit.
    TrimToLimit(selection.start);

    // 7. Sending is possible with a picture or text.
    const bool picture = m_Typing.FinishChange();
    m_send.setEnabled(picture || m_input.GetWindowTextLength() > 0);
    m_input.setFocus();

    // 8. Typing far into the last line keeps it in view.
    KeepLastLineInView();
    return replaced;
}

void CChatComposer::OnInputChange()
{
    if (m_bInInputChange) return;
    m_bInInputChange = true;
    {
        CUpdatesLock lock(&m_window);
        // A replaced code is a change of its own: the next pass handles it,
        // and with it any further code of the same change.
        for (int pass = 0; pass <= kEmoticonCount && HandleInputChange(); ++pass) {
        }
    }
    m_bInInputChange = false;
}

} // namespace tarvolan
