// CTarvolanChatDialog: the conversation window of one public group (template
// 2000). It shows the conversation in a read-only output editor, lets the
// user write formatted text with emoticons in the input editor, sends it to
// the host as a group message (code 20008) and lists the group's members.
// The window is modeless and owned by its CTarvolan, which creates it on
// first need and deletes it with itself; closing the window deletes it and
// clears the group's pointer.
//
// What the input remembers between changes of its text, above all the
// picture map that sending needs to turn each picture back into its code,
// is kept by a CInputTyping; the window applies its decisions to the input.
#pragma once

#include <cstdint>
#include <vector>

#include <QIcon>

#include "common/GbkString.h"
#include "common/TextFormat.h"
#include "conversation/InputTyping.h"
#include "groups/Tarvolan.h"
#include "platform/Window.h"

class QAbstractButton;
class QTreeWidgetItem;
namespace Ui { class CTarvolanChatDialog; }

namespace tarvolan {

class CHostLink;

class CRichMsgEdit;
class CEmoticonPicker;
class CTreeCtrlEx;


class CTarvolanChatDialog : public CDialog, public CGroupChatWindow {
    Q_OBJECT
public:
    enum { IDD = 2000 };
    enum : int {
        IDC_OUTPUT = 1522,
        IDC_INPUT = 1521,
        IDC_SEND = 1412,
        IDC_GROUP_NAME = 1224,
        IDC_MEMBERS = 1088,
        IDC_FONT = 1081,
        IDC_EMOTICONS = 1085,
        IDC_HISTORY = 1814,
    };
    static constexpr int kCodeSlots = 60;
    // The conversation shows its latest characters: past the limit the oldest
    // lines go until about kOutputKept are left. Even at the largest size and
    // the narrowest window that keeps the view far below the height (about
    // 8 million pixels) where Qt's text layout stops finishing.
    static constexpr int kOutputLimit = 50000;
    static constexpr int kOutputKept = 40000;

    explicit CTarvolanChatDialog(tarvolan::CHostLink& link, QWidget* parent = nullptr);
    ~CTarvolanChatDialog() override;

    // Creates the window from its template as a top-level window (parent null:
    // the desktop) and initialises it; the caller shows it.
    bool CreateFromTemplate(QWidget* parent);

    bool OnInitDialog() override;
    bool OnCommand(int id, intptr_t lParam) override;
    // Escape and the end of a close: the window goes and the group forgets
    // it, keeping what the input holds as its draft.
    void OnCancel() override;
    void OnOK() override {}
    // The close of the window: for an owner of edition 3, the question
    // whether to delete the group; then the window goes.
    void OnClose();

    // ---- members -----------------------------------------------------------
    void FillMemberTree() override;
    void UpdateMemberItem(CTarvolanMember* member) override;
    // Tree image of a member by its presence state and kind.
    static int MemberImageIndex(int state, int kind);

    // ---- showing messages ---------------------------------------------------
    void ShowMessageHeader(const CString& time, const CString& name, int isMe, const CString& target,
                           int whisper);
    void ShowMessageBody(const CString& text);
    void ShowMessageBodyPreset(const CString& text, int preset);
    void LoadRecentMessage() override;
    // On opening: the group's recent messages when they have come, else a
    // request for them (they are shown when they arrive).
    void ShowOrRequestRecentMessages();
    // On opening: the input takes back the group's draft, if it has one.
    void RestoreDraft();

    // ---- handlers ----------------------------------------------------------------
    void OnSend();
    void OnFontButton();
    void OnEmoticonPick();
    void OnInputChange();
    // Button 1814: the history viewer of this window's group, modal over
    // this window; the group's history list is emptied afterwards.
    void OnHistory();

    CRichMsgEdit* Output() const { return m_pOutput; }
    CRichMsgEdit* Input() const { return m_pInput; }
    CEmoticonPicker* Picker() const { return m_pPicker; }
    CTreeCtrlEx* MemberTree() const { return m_pMemberTree; }
    QAbstractButton* SendButton() const { return m_pSendButton; }
    const CString& EmoticonCode(int slot) const { return m_EmoticonCodes[slot]; }
    const CInputTyping& Typing() const { return m_Typing; }

    CTarvolan* m_pTarvolan = nullptr;  // the group of this window; not owned
    CString m_strGroupName;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One pass of the change handling; true when it replaced a typed code,
    // which is itself a change that the next pass handles.
    bool HandleInputChange();
    // The input's change since the last pass, as the input reports it.
    TInputChange TakeInputChange();
    // Replaces the first typed code by its picture; false when none.
    bool ReplaceTypedCode(TByteRange& selection);
    // Cuts the input back to the limit before the caret and, after the
    // change, shows the notice.
    void TrimToLimit(int caret);
    // Typing far into the last line keeps it in view.
    void KeepLastLineInView();
    void ApplyChatFormatToInput();
    // The group keeps what the input holds (text, formats, pictures) as its draft.
    void KeepDraft();
    // Reads the element of a marked-up text and appends the text.
    void WriteMarkedUp(const CString& text);
    void AppendToOutput(const TCharFormat& format, const CString& text);
    void SetRootImage(QTreeWidgetItem* item);
    void LoadMemberImages();
    void LoadPickerItems();
    void RequestSkins();
    void ShowNotice(int stringId, unsigned icon);
    CString MemberItemText(const CTarvolanMember& member) const;
    void ShowMemberPresence(QTreeWidgetItem* item, const CTarvolanMember& member) const;
    const QIcon& MemberImage(int index) const;

    tarvolan::CHostLink& m_link;
    Ui::CTarvolanChatDialog* m_pUi = nullptr;
    CTreeCtrlEx* m_pMemberTree = nullptr;
    QAbstractButton* m_pSendButton = nullptr;
    CRichMsgEdit* m_pOutput = nullptr;
    CRichMsgEdit* m_pInput = nullptr;
    QAbstractButton* m_pFontButton = nullptr;
    CEmoticonPicker* m_pPicker = nullptr;
    CString m_EmoticonCodes[kCodeSlots];
    std::vector<QIcon> m_MemberImages;
    CInputTyping m_Typing;
    bool m_bInInputChange = false;
};

// The group's conversation window, created, shown and raised when the group
// has none (parent null: a top-level window); null when it cannot be made.
CTarvolanChatDialog* OpenChatWindow(CTarvolan& group, tarvolan::CHostLink& link, QWidget* parent = nullptr);
// A received message: the group's window opens when needed and shows it.
void ShowIncomingMessage(CTarvolan& group, tarvolan::CHostLink& link, const char* senderURI, const char* text,
                         QWidget* parent = nullptr);

} // namespace tarvolan
