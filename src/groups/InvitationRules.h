// The rules of invitations and join requests: an invitation to a group
// (1006, and the XML form 1003) with its join result (1044), the invitee's
// answer to an invitation I sent (1007), another user's request to join my
// group (1008) and the owner's answer to my own request (1009). Requests
// that need the user and come while the client signs in are parked for the
// replay after sign-in.
#pragma once

#include <list>

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"

namespace tarvolan {

// The check in front of a request that needs the user: when the user is not
// signed in, logs the line and, while sign-in is under way, parks the record
// for the replay after sign-in. True when the rule goes on.
template <class Record, class Log>
bool PassesSignInCheck(CGroupRulesHost& host, const Record& record, Log&& log, const char* line)
{
    if (host.SignedIn()) return true;
    log(line, 1);
    if (host.SigningIn()) host.Park(record);
    return false;
}

class CInvitationRules {
public:
    CInvitationRules(CGroupData& data, CGroupRulesHost& host, CHostLink& link, const CGroupChanges& changes)
        : m_data(data), m_host(host), m_link(link), m_changes(changes)
    {
    }

    // 1003: type 1 an invitation, answered when accepted; type 2 an
    // acceptance passed on to the host.
    void OnXmlMessage(const char* from, int type, const char* body);
    // 1006: asked, and answered either way.
    void OnInvited(const tagGroupInvite* invite);
    // 1007: 1 accepted, 2 refused, 3 timed out.
    void OnInviteResult(const char* groupName, const char* inviteeURI, int result);
    // 1008: another user asks to join the group I own of that name.
    void OnJoinRequest(const tagGroupJoin* join);
    // 1009: 1 accepted, 2 refused, 3 timed out.
    void OnApplicationResult(const char* groupURI, const char* groupName, int result);
    // 1044: kind 1 is the result of joining on an invitation.
    void OnInviteJoinResult(int kind, const char* groupURI, int result);

private:
    void RememberInvitation(const tagGroupInvite& invite);
    void ForgetJoinRequest(const CString& groupURI, const CString& proposerURI);
    void AddAcceptedInvitee(const CString& groupURI, const CString& groupName, const TMemberSlot& invitee);
    void AddJoinedGroup(const CString& groupURI, const CString& groupName, const TMemberSlot& inviter);
    // Adds or updates a member of the group's tree object and reports it.
    void ShowMember(const CString& groupURI, const TMemberSlot& slot);

    CGroupData& m_data;
    CGroupRulesHost& m_host;
    CHostLink& m_link;
    const CGroupChanges& m_changes;
    // Invitations received lately, newest last, one per group: the join
    // result (1044) takes the group's name and inviter from them.
    std::list<tagGroupInvite> m_ReceivedInvites;
};

} // namespace tarvolan
