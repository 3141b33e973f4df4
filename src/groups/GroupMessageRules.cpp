#include "groups/GroupMessageRules.h"

#include "groups/GroupRequests.h"

namespace tarvolan {

namespace {

constexpr int kGroupMessageType = 2;

} // namespace

bool CGroupMessageRules::OnGroupMessage(int type, const char* groupAddress, const char* senderURI, const char* text)
{
    if (type != kGroupMessageType) return false;
    const CString address(groupAddress ? groupAddress : "");
    bool handled = false;
    if (senderURI && m_host.IsMyself(senderURI)) {
        handled = true;  // my own message coming back: nothing to show
    } else {
        const int slash = address.Find('/');
        const CString groupURI = slash >= 0 ? address.Left(slash) : address;
        if (CTarvolan* group = m_data.TreeModel().FindGroup(groupURI)) {
            m_host.ShowGroupMessage(*group, senderURI, text);
            handled = true;
        }
    }
    if (handled) RequestGroupInfoOnce(m_link, m_data.InfoRequestedGroups(), address);
    return handled;
}

} // namespace tarvolan
