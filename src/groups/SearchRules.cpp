#include "groups/SearchRules.h"

#include <algorithm>
#include <vector>

#include "groups/ChildWindows.h"
#include "groups/LogText.h"

namespace tarvolan {

namespace {

// A search result entry's texts, each read within its field.
struct TSearchResult {
    CString groupName, groupURI, ownerURI, subject, bulletin, id;
    int needPermit = 0;
};

TSearchResult ReadSearchResult(const TSearchResultEntry& e)
{
    return {CString::FromField(e.GroupName), CString::FromField(e.GroupURI), CString::FromField(e.OwnerURI),
            CString::FromField(e.GSubject),  CString::FromField(e.GBulletin), CString::FromField(e.ID),
            e.iNeedPermit};
}

CString SearchResultLog(const CString& searchString, int count, const std::vector<TSearchResult>& results)
{
    CLogText text(128 + results.size() * 400);
    text << "OnIMSSearchPuGroupResultVeloractrl1, pSearchString= " << searchString << ",iResultNum=" << count << ",";
    for (const TSearchResult& r : results)
        text << "GroupName=" << r.groupName << ",GroupURI=" << r.groupURI << ",OwnerURI=" << r.ownerURI
             << ",GSubject=" << r.subject << ",GBulletin=" << r.bulletin << "ID=" << r.id
             << ",iNeedPermit=" << r.needPermit << ",\r\n";
    return text.Text();
}

} // namespace

// ---- 1022 -------------------------------------------------------------------------------

void CSearchRules::OnSearchResult(int resultCount, const char* searchString, const TSearchResultEntry* entries)
{
    const int readable = entries ? std::clamp(resultCount, 0, kMaxSearchResults) : 0;
    std::vector<TSearchResult> results;
    results.reserve(static_cast<size_t>(readable));
    for (int i = 0; i < readable; ++i) results.push_back(ReadSearchResult(entries[i]));
    m_host.WriteClientLog(SearchResultLog(searchString, resultCount, results), 0);

    CGroupInfoWindow* info = m_host.InfoWindow();
    if (!info) return;
    info->ClearSearchResults();
    for (const TSearchResult& r : results) {
        info = m_host.InfoWindow();  // a row's selection asks the host, which may have closed the window
        if (!info) return;
        info->AddSearchResult(r.ownerURI, r.groupURI, r.groupName, r.id, r.subject, r.bulletin, r.needPermit,
                              Shown(r.groupURI) ? 1 : 0);
    }
    info = m_host.InfoWindow();
    if (!info) return;
    const int count = entries ? resultCount : 0;
    if (count == kMaxSearchResults) info->EnableNextPage(true);
    else if (count < kMaxSearchResults) info->EnableNextPage(false);
}

// ---- 1023 -------------------------------------------------------------------------------

void CSearchRules::OnSearchFailed(const char* groupURI)
{
    m_host.LogClient(0, "OnIMSSearchPublicGroupFailedVeloractrl1....GroupURI=%s", groupURI);
    if (CGroupInfoWindow* info = m_host.InfoWindow()) info->OnQueryFailed();
}

// ---- the information window's part of a rebuild ---------------------------------------

void CSearchRules::MarkJoined(const CString& groupURI)
{
    const CGroupRecord* record = m_data.GroupTable().Get(groupURI);
    if (!m_host.InfoWindow() || !record || !IsPublicKind(record->kind)) return;
    std::vector<CString> members;  // marking may ask the host, whose answer may change the record
    members.reserve(static_cast<size_t>(record->MemberCount()));
    for (const TMemberSlot& slot : record->Members()) members.push_back(slot.uri);
    const CString group = groupURI;
    for (const CString& member : members) {
        CGroupInfoWindow* info = m_host.InfoWindow();
        if (!info) return;
        info->MarkJoined(member, group);
    }
}

void CSearchRules::PassGroupDetails(const CString& groupName, const CString& groupURI, int role,
                                    const TGroupDescription& info, int memberCount, const TMemberEntry* members)
{
    CGroupInfoWindow* window = m_host.InfoWindow();
    if (!window) return;
    if (role != ROLE_NONE) {
        window->SetGroupJoined(groupURI, Shown(groupURI) ? 1 : 0);
        window = m_host.InfoWindow();
        if (!window) return;
    }
    window->ShowGroupInfo(groupName, groupURI, role, info, memberCount, members);
}

} // namespace tarvolan
