// The answers to a group search and to a found group's details: a page of
// results (1022), a failed search or details query (1023), and what the
// open group information window learns when my groups and their members are
// rebuilt or a group's details come. Without an open window only the log
// line remains.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CSearchRules {
public:
    CSearchRules(const CGroupData& data, CGroupRulesHost& host) : m_data(data), m_host(host) {}

    // 1022: resultCount is the count as the host sent it: it goes to the log
    // and sets the next-page button (exactly a full page enables it, fewer
    // disable it, more leave it). At most a page of entries is read; a
    // negative count or a missing array reads none, and without an array the
    // page counts as empty.
    void OnSearchResult(int resultCount, const char* searchString, const TSearchResultEntry* entries);
    // 1023: the search or the details query for that group failed.
    void OnSearchFailed(const char* groupURI);

    // Every member of the group is offered as the owner of a shown row of
    // that group: the row whose owner is among them is marked joined.
    void MarkJoined(const CString& groupURI);
    // The details of a group I asked about (role 3) or of one of mine: the
    // window marks the group joined or not (mine only) and shows the details
    // when it asked for them.
    void PassGroupDetails(const CString& groupName, const CString& groupURI, int role, const TGroupDescription& info,
                          int memberCount, const TMemberEntry* members);

private:
    bool Shown(const CString& groupURI) const { return m_data.TreeModel().FindGroup(groupURI) != nullptr; }

    const CGroupData& m_data;
    CGroupRulesHost& m_host;
};

} // namespace tarvolan
