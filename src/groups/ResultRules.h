// The results of the group operations the user started: create or edit
// (1013), delete (1014), invitation sent (1015), member removed (1016), join
// request sent (1017), group left (1018) and display name changed (1019).
// The host measures time-outs and reports them as 408, which shows a
// time-out notice; the other error codes show a failure notice.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"

namespace tarvolan {

class CResultRules {
public:
    CResultRules(CGroupData& data, CGroupRulesHost& host, CHostLink& link, const CGroupChanges& changes)
        : m_data(data), m_host(host), m_link(link), m_changes(changes)
    {
    }

    // 1013: a group created, or edited when the URI's user part is that of a
    // group I own; a creation takes the values of its pending request.
    void OnCreateResult(const char* groupName, const char* groupURI, int result);
    // 1014: the group I own of that name was deleted.
    void OnDeleteResult(const char* groupName, int result);
    // 1015: an invitation to my group was sent; it stays pending until answered.
    void OnInviteSendResult(const char* someoneURI, const char* displayName, const char* groupName, int result);
    // 1016: a member was removed from the group I own of that name.
    void OnRemoveMemberResult(const char* someoneURI, const char* groupName, int result);
    // 1017: my join request was sent; only a refusal or a full group is shown.
    void OnJoinSendResult(const char* groupURI, const char* groupIdentifier, int result);
    // 1018: I left the group.
    void OnLeaveResult(const char* groupName, const char* groupURI, int result);
    // 1019: my display name in the group changed.
    void OnChangeNameResult(const char* groupURI, const char* newDisplayName, int result);

private:
    // Adds or updates the created group's list entry; false when it is not kept.
    bool ListCreatedGroup(const CString& uri, const CString& name, const CString& me, bool taken,
                          const TPendingCreate& pending);
    void UpdateCreatedRecord(const CString& groupURI, const CString& name, const CString& me, bool isEdit,
                             bool taken, const TPendingCreate& pending);
    void ReportMembers(const CString& groupURI) const;

    CGroupData& m_data;
    CGroupRulesHost& m_host;
    CHostLink& m_link;
    const CGroupChanges& m_changes;
};

} // namespace tarvolan
