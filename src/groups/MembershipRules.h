// The rules of membership in the groups I belong to: a member joined,
// changed or left (1010), a group was deleted (1020), I was removed from a
// group (1021), a group's information could not be fetched (1031), and the
// presence of members (1028, 1035). A presence for a member that has no
// object yet is kept until the member comes.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"

namespace tarvolan {

class CMembershipRules {
public:
    CMembershipRules(CGroupData& data, CGroupRulesHost& host, const CGroupChanges& changes)
        : m_data(data), m_host(host), m_changes(changes)
    {
    }

    // 1010: iType 1 joined, 2 changed, 3 left; the group is found by its
    // name and owner among the public groups listed.
    void OnMemberNotify(int type, const char* groupName, const char* ownerURI, const char* memberURI,
                        const char* memberDisplay, const char* memberInfo, const char* memberPhone);
    // 1020: the notice, then the group goes.
    void OnGroupDeleted(const char* groupURI);
    // 1021: the group goes; the notice follows once it has.
    void OnRemovedFromGroup(const char* groupURI);
    // 1031: 403 is my removal, 404 the group's deletion, anything else a notice.
    void OnGroupInfoFailed(const char* groupURI, int result);

    // 1028, 1035: a member's presence text. Ignored for me and for a member
    // without a URI.
    void OnMemberPresence(const char* groupURI, const char* memberURI, const char* presence);
    // Sets the presence of an existing member and reports it. False when the
    // group or member has no object (nothing is kept then).
    bool ApplyPresence(const CString& groupURI, const CString& memberURI, int code, const CString& text);

private:
    // Applies a 1010 to the group's table record; false when it changes nothing.
    bool ApplyMemberNotice(int type, const CString& groupURI, const CString& groupName, const TMemberSlot& notified);

    CGroupData& m_data;
    CGroupRulesHost& m_host;
    const CGroupChanges& m_changes;
};

} // namespace tarvolan
