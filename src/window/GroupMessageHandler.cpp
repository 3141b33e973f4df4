// A group's conversation window and the incoming group messages (host code
// 1034): a message of a group shown in the tree reaches that group's window,
// which opens when the group has none.
#include "clientkit/ClientKit.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/Tarvolan.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

namespace {

constexpr int kGroupMessageType = 2;

} // namespace

bool CTarvolanDialog::OnIMSGotGroupMessage(int iType, const char* pGroupAddress, const char* pSenderURI,
                                           const char* pText)
{
    if (iType != kGroupMessageType) return false;
    const CString address(pGroupAddress ? pGroupAddress : "");
    bool handled = false;
    if (pSenderURI && IsMySelf(pSenderURI)) {
        handled = true;  // my own message coming back: nothing to show
    } else {
        const int slash = address.Find('/');
        const CString groupURI = slash >= 0 ? address.Left(slash) : address;
        if (CTarvolan* group = m_GroupData.TreeModel().FindGroup(groupURI)) {
            ShowIncomingMessage(*group, Link(), pSenderURI, pText, ChatParent());
            handled = true;
        }
    }
    if (handled) RequestGroupInfo(address);
    return handled;
}

} // namespace tarvolan
