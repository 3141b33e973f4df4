// The rules of loading the groups: the list of my groups (1004), one group's
// full information (1005), and the host's request to show every public
// group's members again from the group table (1033).
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "groups/SearchRules.h"
#include "protocol/HostLink.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CLoadingRules {
public:
    CLoadingRules(CGroupData& data, CGroupRulesHost& host, CHostLink& link, const CGroupChanges& changes,
                  CSearchRules& search)
        : m_data(data), m_host(host), m_link(link), m_changes(changes), m_search(search)
    {
    }

    // 1004: the list entries (a contact list first, then each slot while the
    // list has room), the table records of the public groups, then one
    // CHANGE_GROUP_LIST. A null record is ignored; the count is clamped.
    void OnGroupInfo(const TGroupInfoList* list);
    // 1005. Role 3 only passes the details to the information window. With
    // an address the group is subscribed to once, its list entry and table
    // record (members, blacklist) are replaced, it is reported with
    // CHANGE_MEMBERS / DETAIL_UNLISTED_LEAVE, the information window learns
    // the details, my own request to join it is dropped and an open
    // properties window reloads. Counts are clamped; a missing array reads
    // as none, a missing description as empty.
    void OnOnePublicGroup(const char* groupName, const char* groupURI, int myRole, const TGroupDescription* info,
                          int memberCount, const TMemberEntry* members, int blacklistCount,
                          const TBlacklistEntry* blacklist);
    // 1033: one CHANGE_MEMBERS with DETAIL_FROM_TABLE per public group of the table, in table order.
    void OnRebuildMembersFromTable();

private:
    void AddListEntry(const TGroupInfoSlot& slot, const CString& myURI);
    void UpdateTableRecord(const TGroupInfoSlot& slot, const CString& myURI);
    void RememberRecentListName(const CString& name);
    void SubscribeOnce(const CString& uri);
    void ClearOwnJoinApplication(const CString& groupURI);

    CGroupData& m_data;
    CGroupRulesHost& m_host;
    CHostLink& m_link;
    const CGroupChanges& m_changes;
    CSearchRules& m_search;
};

} // namespace tarvolan
