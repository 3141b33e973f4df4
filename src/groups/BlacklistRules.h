// The rules of group blacklists: the host's list messages (1001, 1002) go to
// the open blacklist window, and the results of adding and removing an entry
// (1029, 1030) change the group's table record as well. Without an open
// window all of them are dropped.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"

namespace tarvolan {

class CBlacklistRules {
public:
    CBlacklistRules(CGroupData& data, CGroupRulesHost& host, CHostLink& link)
        : m_data(data), m_host(host), m_link(link)
    {
    }

    // 1001: an entry of a group's lists (kind 0 blacklist, other whitelist).
    void OnEntry(const char* uri, const char* groupURI, int listKind);
    // 1002: an entry added (operation 1) or removed (0), or the operation failed.
    void OnChanged(int success, const char* uri, const char* group, int operation, int listKind);
    // 1029: blacklisted in the group I own of that name; a member so listed
    // is removed from the group too.
    void OnAddResult(const char* groupName, const char* uri, int result);
    // 1030: no longer blacklisted in the group of that name.
    void OnRemoveResult(const char* groupName, const char* uri, int result);

private:
    // Logs the result line of the handler named; on a success tells the open
    // window of the blacklist entry added (operation 1) or removed (0). True
    // when the table is to follow: a window is open and the operation succeeded.
    bool LogAndTellWindow(const char* handler, const CString& groupName, const CString& uri, int result,
                          int operation);

    CGroupData& m_data;
    CGroupRulesHost& m_host;
    CHostLink& m_link;
};

} // namespace tarvolan
