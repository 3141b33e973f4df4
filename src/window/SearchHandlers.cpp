// The answers to a group search and to a found group's details: a page of
// results (1022), a failed search or details query (1023), and what the
// group information window learns when my groups and their members are
// rebuilt.
#include <algorithm>
#include <vector>

#include <QPointer>

#include "clientkit/ClientKit.h"
#include "groups/LogText.h"
#include "window/TarvolanDialog.h"

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

// iResultNum is the count as the host sent it: it goes to the log and sets
// the next-page button (exactly a full page enables it, fewer disable it,
// more leave it). At most a page of entries is read; a negative count or a
// missing array reads none, and without an array the page counts as empty.
void CTarvolanDialog::OnIMSSearchPuGroupResult(int iResultNum, const char* pSearchString,
                                               const TSearchResultEntry* pEntries)
{
    const int readable = pEntries ? std::clamp(iResultNum, 0, kMaxSearchResults) : 0;
    std::vector<TSearchResult> results;
    results.reserve(static_cast<size_t>(readable));
    for (int i = 0; i < readable; ++i) results.push_back(ReadSearchResult(pEntries[i]));
    WriteLog(SearchResultLog(pSearchString, iResultNum, results), 0);

    QPointer<CDialog> window = m_OpenWindows.Window<CGroupInfoWindow>();
    CGroupInfoWindow* info = m_OpenWindows.Find<CGroupInfoWindow>();
    if (!info) return;
    info->ClearSearchResults();
    for (const TSearchResult& r : results) {
        if (!window) return;  // a row's selection asks the host, which may have closed it
        const int joined = m_GroupData.TreeModel().FindGroup(r.groupURI) ? 1 : 0;
        info->AddSearchResult(r.ownerURI, r.groupURI, r.groupName, r.id, r.subject, r.bulletin, r.needPermit, joined);
    }
    if (!window) return;
    const int count = pEntries ? iResultNum : 0;
    if (count == kMaxSearchResults) info->EnableNextPage(true);
    else if (count < kMaxSearchResults) info->EnableNextPage(false);
}

// ---- 1023 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSSearchPublicGroupFailed(const char* groupURI)
{
    CString line;
    line.Format("OnIMSSearchPublicGroupFailedVeloractrl1....GroupURI=%s", groupURI);
    WriteLog(line, 0);
    if (CGroupInfoWindow* info = m_OpenWindows.Find<CGroupInfoWindow>()) info->OnQueryFailed();
}

// ---- the information window's part of a rebuild ---------------------------------------

// Every member of the group is offered as the owner of a shown row of that
// group: the row whose owner is among them is marked joined.
void CTarvolanDialog::MarkJoinedInInfoWindow(const CString& groupURI)
{
    const CGroupRecord* record = m_GroupData.GroupTable().Get(groupURI);
    if (!m_OpenWindows.Find<CGroupInfoWindow>() || !record || !IsPublicKind(record->kind)) return;
    std::vector<CString> members;  // marking may ask the host, whose answer may change the record
    members.reserve(static_cast<size_t>(record->MemberCount()));
    for (const TMemberSlot& slot : record->Members()) members.push_back(slot.uri);
    const CString group = groupURI;
    for (const CString& member : members) {
        CGroupInfoWindow* info = m_OpenWindows.Find<CGroupInfoWindow>();
        if (!info) return;
        info->MarkJoined(member, group);
    }
}

// The details of a group I asked about (role 3) or of one of mine: the
// window marks the group joined or not (mine only) and shows the details
// when it asked for them.
void CTarvolanDialog::PassGroupToInfoWindow(const CString& groupName, const CString& groupURI, int role,
                                            const TGroupDescription& info, int memberCount,
                                            const TMemberEntry* members)
{
    CGroupInfoWindow* window = m_OpenWindows.Find<CGroupInfoWindow>();
    if (!window) return;
    if (role != ROLE_NONE) {
        window->SetGroupJoined(groupURI, m_GroupData.TreeModel().FindGroup(groupURI) ? 1 : 0);
        window = m_OpenWindows.Find<CGroupInfoWindow>();
        if (!window) return;
    }
    window->ShowGroupInfo(groupName, groupURI, role, info, memberCount, members);
}

} // namespace tarvolan
