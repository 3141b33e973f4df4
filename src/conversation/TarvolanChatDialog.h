// CTarvolanChatDialog: the conversation window of one public group (template
// 2000). It assembles its parts on the controls of its form: the member
// pane (the group's members and their presence), the conversation view (the
// read-only output) and the composer (input, font, emoticons, send button);
// a send goes to the host as a group message (code 20008). The window itself
// keeps the group, the caption and the group name line, the history button,
// the draft on closing and the close.
// The window is modeless and kept by CChatWindows, which makes it on first
// need and deletes it before its group goes; closing the window deletes it
// and the registry forgets it.
#pragma once

#include <cstdint>
#include <memory>

#include "common/GbkString.h"
#include "conversation/ChatComposer.h"
#include "conversation/ChatMemberPane.h"
#include "conversation/ConversationView.h"
#include "groups/Tarvolan.h"
#include "platform/Window.h"

class QAbstractButton;
namespace Ui { class CTarvolanChatDialog; }

namespace tarvolan {

class CChatWindows;
class CHostLink;

class CRichMsgEdit;
class CEmoticonPicker;
class CFindBar;
class CTreeCtrlEx;


class CTarvolanChatDialog : public CDialog {
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
    static constexpr int kCodeSlots = CChatComposer::kCodeSlots;
    static constexpr int kOutputLimit = CConversationView::kOutputLimit;
    static constexpr int kOutputKept = CConversationView::kOutputKept;

    explicit CTarvolanChatDialog(tarvolan::CHostLink& link, QWidget* parent = nullptr);
    ~CTarvolanChatDialog() override;

    // Creates the window from its template as a top-level window (parent null:
    // the desktop) and initialises it; the caller shows it.
    bool CreateFromTemplate(QWidget* parent);

    bool OnInitDialog() override;
    bool OnCommand(int id, intptr_t lParam) override;
    // Escape and the end of a close: the window goes and its registry
    // forgets it, the group keeping what the input holds as its draft.
    void OnCancel() override;
    void OnOK() override {}
    // The close of the window: for an owner of edition 3, the question
    // whether to delete the group; then the window goes.
    void OnClose();

    // ---- members (the member pane) -----------------------------------------
    // The member list anew (members went).
    void FillMemberTree();
    // One member was added or changed.
    void UpdateMemberItem(CTarvolanMember* member);
    static int MemberImageIndex(int state, int kind) { return CChatMemberPane::ImageIndex(state, kind); }

    // ---- showing messages (the conversation view) --------------------------
    void ShowMessageHeader(const CString& time, const CString& name, int isMe, const CString& target,
                           int whisper);
    // The body, the view scrolled to its end, the focus in the input.
    void ShowMessageBody(const CString& text);
    void ShowMessageBodyPreset(const CString& text, int preset);
    // A received message: its sender's name (the member's, else the one the
    // client knows) and its body, and the window asks for attention; a
    // screen reader hears who says what.
    void ShowIncomingMessage(const char* senderURI, const char* text);
    // The group's recent messages came: they are shown.
    void LoadRecentMessage();
    // On opening: the group's recent messages when they have come, else a
    // request for them (they are shown when they arrive).
    void ShowOrRequestRecentMessages();
    // On opening: the input takes back the group's draft, if it has one.
    void RestoreDraft();

    // ---- handlers ----------------------------------------------------------------
    // The composer's message: shown, then sent to the host.
    void OnSend();
    // Button 1814: the history viewer of this window's group, modal over
    // this window; the group's history list is emptied afterwards.
    void OnHistory();

    CRichMsgEdit* Output() const { return m_pOutput; }
    CRichMsgEdit* Input() const { return m_pInput; }
    CEmoticonPicker* Picker() const { return m_pPicker; }
    CTreeCtrlEx* MemberTree() const { return m_pMemberTree; }
    QAbstractButton* SendButton() const { return m_pSendButton; }
    CFindBar* FindBar() const { return m_pFindBar; }
    const CString& EmoticonCode(int slot) const { return m_composer->EmoticonCode(slot); }
    const CInputTyping& Typing() const { return m_composer->Typing(); }

    CTarvolan* m_pTarvolan = nullptr;  // the group of this window; not owned
    CChatWindows* m_pWindows = nullptr;  // the registry that keeps this window; null once it let go
    CString m_strGroupName;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RequestSkins();

    tarvolan::CHostLink& m_link;
    Ui::CTarvolanChatDialog* m_pUi = nullptr;
    CTreeCtrlEx* m_pMemberTree = nullptr;
    QAbstractButton* m_pSendButton = nullptr;
    CRichMsgEdit* m_pOutput = nullptr;
    CRichMsgEdit* m_pInput = nullptr;
    CEmoticonPicker* m_pPicker = nullptr;
    CFindBar* m_pFindBar = nullptr;  // Ctrl+F: finds in the conversation
    // The parts, made on the form's controls.
    std::unique_ptr<CChatMemberPane> m_members;
    std::unique_ptr<CConversationView> m_view;
    std::unique_ptr<CChatComposer> m_composer;
};

} // namespace tarvolan
