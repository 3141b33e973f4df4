#include "conversation/TarvolanChatDialog.h"

#include <exception>

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>

#include "clientkit/ClientKit.h"
#include "common/TimeText.h"
#include "controls/AskInHandler.h"
#include "controls/SignedInUser.h"
#include "controls/TreeCtrlEx.h"
#include "conversation/ChatText.h"
#include "conversation/ChatWindows.h"
#include "common/MessageMarkup.h"
#include "conversation/EmoticonPicker.h"
#include "conversation/FindBar.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanHistoryDialog.h"
#include "protocol/GroupMessageRequest.h"
#include "protocol/HostLink.h"
#include "platform/Accessibility.h"
#include "platform/ScreenReading.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanChatDialog.h"

namespace tarvolan {

namespace {

CString MyDisplayName()
{
    const tagMyInfo* me = GetMyInfo();
    return me ? CString::FromField(me->szDisplayName, sizeof(me->szDisplayName)) : CString();
}

} // namespace

CTarvolanChatDialog::CTarvolanChatDialog(CHostLink& link, QWidget* parent) : CDialog(parent), m_link(link) {}

CTarvolanChatDialog::~CTarvolanChatDialog()
{
    if (m_pWindows) m_pWindows->Forget(*this);
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
    auto* font = qobject_cast<QAbstractButton*>(GetDlgItem(IDC_FONT));
    m_pPicker = qobject_cast<CEmoticonPicker*>(GetDlgItem(IDC_EMOTICONS));
    if (!m_pMemberTree || !m_pSendButton || !m_pOutput || !m_pInput || !font || !m_pPicker) return false;
    m_members = std::make_unique<CChatMemberPane>(*m_pMemberTree);
    m_view = std::make_unique<CConversationView>(*m_pOutput);
    m_composer = std::make_unique<CChatComposer>(*this, *m_pInput, *m_pSendButton, *font, *m_pPicker);
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
    m_members->Init();
    if (!m_members->Image(1).isNull()) setWindowIcon(m_members->Image(1));
    FillMemberTree();

    // 4.-6. Input state, the emoticon codes, the input and the picker.
    m_composer->Init();

    // 7. Output: read-only, addresses as links, dropped files accepted.
    m_view->Init(this);
    m_pFindBar = new CFindBar(*this, *m_pOutput, std::make_unique<CTextFindTarget>(*m_pOutput));
    connect(m_pOutput, &QTextEdit::textChanged, m_pFindBar, &CFindBar::Refresh);

    // The history button stays hidden: the module never shows it.
    if (QWidget* history = GetDlgItem(IDC_HISTORY)) history->hide();

    // 8. Skins and focus.
    RequestSkins();
    m_composer->Focus();
    return true;
}

void CTarvolanChatDialog::RequestSkins()
{
    m_link.RequestSkin(WindowHandle(this), "TarvolanChat.skn", "");
    m_link.RequestSkin(WindowHandle(this), "TarvolanChat.skn", "window01");
    m_link.RequestSkin(WindowHandle(&m_composer->FontButton()), "chat.skn", "btn_font");
    m_link.RequestSkin(WindowHandle(m_pPicker), "chat.skn", "btn_emoticons");
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
    case IDC_FONT: m_composer->OnFontButton(); return true;
    case IDC_EMOTICONS: m_composer->OnEmoticonPick(); return true;
    case IDC_SEND: OnSend(); return true;
    case IDC_HISTORY: OnHistory(); return true;
    default: return CDialog::OnCommand(id, lParam);
    }
}

void CTarvolanChatDialog::RestoreDraft()
{
    if (m_pTarvolan && m_composer) m_composer->RestoreDraft(*m_pTarvolan);
}

void CTarvolanChatDialog::OnCancel()
{
    // Only the group's own window leaves its input to the group.
    const bool kept = m_pWindows && m_pWindows->Forget(*this);
    if (kept && m_pTarvolan && m_composer) m_composer->KeepDraft(*m_pTarvolan);
    m_pWindows = nullptr;
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

// ---- members -------------------------------------------------------------------------

void CTarvolanChatDialog::FillMemberTree()
{
    if (m_members) m_members->Fill(m_pTarvolan, m_strGroupName);
}

void CTarvolanChatDialog::UpdateMemberItem(CTarvolanMember* member)
{
    if (member && m_members) m_members->Update(m_pTarvolan, m_strGroupName, *member);
}

// ---- showing messages ----------------------------------------------------------------------

void CTarvolanChatDialog::ShowMessageHeader(const CString& time, const CString& name, int isMe,
                                            const CString& target, int whisper)
{
    m_view->ShowHeader(time, name, isMe, target, whisper);
}

void CTarvolanChatDialog::ShowMessageBody(const CString& text)
{
    m_view->ShowMarkedUp(text);
    m_view->ScrollToBottom();
    m_composer->Focus();
}

void CTarvolanChatDialog::ShowMessageBodyPreset(const CString& text, int preset)
{
    m_view->ShowWithPreset(text, preset);
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
        m_view->ShowRecent(m_pTarvolan->m_MsgListRecent);
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
    TOutgoingMessage out;
    if (!m_composer->TakeMessage(out)) return;
    const CString time = GetLocalTimeString();
    ShowMessageHeader(time, MyDisplayName(), 1, CString(), 0);
    ShowMessageBody(out.message);
    m_view->ScrollToBottom();
    m_composer->MessageSent();

    if (!m_pTarvolan) return;
    m_pTarvolan->KeepShownMessage({CString(), SignedInURI(), time, out.message});
    // The summary comes from the text that follows the property element.
    SendGroupMessage(m_link, out.message, GetInternetTimeString(), m_pTarvolan->URI(), MessageSummary(out.text));
}

// ---- received messages ------------------------------------------------------------

void CTarvolanChatDialog::ShowIncomingMessage(const char* senderURI, const char* text)
{
    const CString sender(senderURI ? senderURI : "");
    const CTarvolanMember* member = m_pTarvolan ? m_pTarvolan->FindMember(sender) : nullptr;
    const CString name = member ? member->m_csDisplayName : GetUserNameByPhone(sender, 0, 1);
    const CString time = GetLocalTimeString();
    const CString body(text ? text : "");
    ShowMessageHeader(time, name, 0, CString(), 0);
    ShowMessageBody(body);
    m_pOutput->ScrollPageDown();
    if (m_pTarvolan) m_pTarvolan->KeepShownMessage({CString(), sender, time, body});
    QApplication::alert(this);
    AnnounceToReaders(this, ToQt(name + LoadResString(IDS_SAYS) + ReadMessageMarkup(CString(text ? text : "")).text));
}

} // namespace tarvolan
