// A group's conversation window and the incoming group messages (host code
// 1034): a message of a group shown in the tree reaches that group's window,
// which opens when the group has none.
#include <QApplication>

#include "clientkit/ClientKit.h"
#include "common/TimeText.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/Tarvolan.h"
#include "groups/TarvolanDialog.h"

using namespace tarvolan;

namespace {

constexpr int kGroupMessageType = 2;

CString Text(const char* text)
{
    return CString(text ? text : "");
}

} // namespace

void CTarvolan::OpenChatWindow()
{
    if (m_pChatDialog) return;
    auto* chat = new CTarvolanChatDialog;
    chat->m_pTarvolan = this;
    m_pChatDialog = chat;
    QWidget* parent = g_pTarvolanDialog ? g_pTarvolanDialog->m_TreeModel.ChatParent() : nullptr;
    if (!chat->CreateFromTemplate(parent)) {
        m_pChatDialog = nullptr;
        chat->m_pTarvolan = nullptr;
        delete chat;
        return;
    }
    chat->show();
    chat->raise();
}

void CTarvolan::ShowIncomingMessage(const char* senderURI, const char* text)
{
    if (!m_pChatDialog) OpenChatWindow();
    auto* chat = dynamic_cast<CTarvolanChatDialog*>(m_pChatDialog);
    if (!chat) return;
    const CString sender = Text(senderURI);
    const CTarvolanMember* member = FindMember(sender);
    const CString name = member ? member->m_csDisplayName : GetUserNameByPhone(sender, 0, 1);
    chat->ShowMessageHeader(GetLocalTimeString(), name, 0, CString(), 0);
    chat->ShowMessageBody(Text(text));
    chat->Output()->ScrollPageDown();
    QApplication::alert(chat);
}

bool CTarvolanDialog::OnIMSGotGroupMessage(int iType, const char* pGroupAddress, const char* pSenderURI,
                                           const char* pText)
{
    if (iType != kGroupMessageType) return false;
    const CString address = Text(pGroupAddress);
    bool handled = false;
    if (pSenderURI && IsMySelf(pSenderURI)) {
        handled = true;  // my own message coming back: nothing to show
    } else {
        const int slash = address.Find('/');
        const CString groupURI = slash >= 0 ? address.Left(slash) : address;
        if (CTarvolan* group = m_TreeModel.FindGroup(groupURI)) {
            group->ShowIncomingMessage(pSenderURI, pText);
            handled = true;
        }
    }
    if (handled) RequestGroupInfo(address);
    return handled;
}
