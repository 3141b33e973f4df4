// The rules of group membership that need no window: the presence of members
// (host codes 1028 and 1035). A presence for a member that has no object yet
// is kept until the member comes.
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

    // 1028, 1035: a member's presence text. Ignored for me and for a member
    // without a URI.
    void OnMemberPresence(const char* groupURI, const char* memberURI, const char* presence);
    // Sets the presence of an existing member and reports it. False when the
    // group or member has no object (nothing is kept then).
    bool ApplyPresence(const CString& groupURI, const CString& memberURI, int code, const CString& text);

private:
    CGroupData& m_data;
    CGroupRulesHost& m_host;
    const CGroupChanges& m_changes;
};

} // namespace tarvolan
