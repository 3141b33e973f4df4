#include "groups/BlacklistRules.h"

#include <algorithm>
#include <vector>

#include "groups/ChildWindows.h"
#include "groups/RecordWords.h"

namespace tarvolan {

namespace {

CGroupRecord* FindRecordByName(CGroupTable& table, const CString& name, bool (*match)(const CGroupRecord&))
{
    for (int i = 0; i < table.Count(); ++i)
        if (table[i].name == name && match(table[i])) return &table[i];
    return nullptr;
}

} // namespace

// ---- 1001, 1002 -------------------------------------------------------------------------

void CBlacklistRules::OnEntry(const char* uri, const char* groupURI, int listKind)
{
    if (CGroupBlacklistWindow* window = m_host.BlacklistWindow()) window->AddBlackListEntry(uri, groupURI, listKind);
}

void CBlacklistRules::OnChanged(int success, const char* uri, const char* group, int operation, int listKind)
{
    CGroupBlacklistWindow* window = m_host.BlacklistWindow();
    if (!window) return;
    if (success != 0) window->OnBlackListChanged(uri, group, operation, listKind);
    else window->OnBlackListFailed(uri);
}

// ---- 1029, 1030 -------------------------------------------------------------------------

bool CBlacklistRules::LogAndTellWindow(const char* handler, const CString& groupName, const CString& uri, int result,
                                       int operation)
{
    m_host.LogClient(0, "%s, pGroupName=%s,pDName=%s,iResult=%d", handler, groupName.c_str(), uri.c_str(), result);
    CGroupBlacklistWindow* window = m_host.BlacklistWindow();
    if (!window || result != RESULT_DONE) return false;
    window->OnBlackListChanged(uri, groupName, operation, 0);
    return true;
}

void CBlacklistRules::OnAddResult(const char* groupName, const char* uri, int result)
{
    const CString name(groupName), blocked(uri);
    if (!LogAndTellWindow("OnIMSAddGroupBlacklistMemResultVeloractrl1", name, blocked, result, 1)) return;

    CGroupRecord* record =
        FindRecordByName(m_data.GroupTable(), name, [](const CGroupRecord& r) { return r.role == ROLE_OWNER; });
    if (!record || blocked.IsEmpty()) return;
    if (!record->IsBlacklisted(blocked) && record->BlacklistCount() < kBlacklistCapacity) {
        std::vector<CString> blacklist = record->Blacklist();
        blacklist.push_back(blocked);
        record->SetBlacklist(std::move(blacklist));
    }
    if (record->FindMember(blocked) >= 0) {
        Word request[2] = {TextWord(blocked), TextWord(name)};
        m_link.Send(M_RemoveMember, request);
    }
}

void CBlacklistRules::OnRemoveResult(const char* groupName, const char* uri, int result)
{
    const CString name(groupName), freed(uri);
    if (!LogAndTellWindow("OnIMSDeletGroupBlacklistMemResultVeloractrl1", name, freed, result, 0)) return;

    CGroupRecord* record =
        FindRecordByName(m_data.GroupTable(), name, [](const CGroupRecord& r) { return r.kind == GROUP_PUBLIC; });
    if (!record || !record->IsBlacklisted(freed)) return;
    std::vector<CString> blacklist = record->Blacklist();
    blacklist.erase(std::find(blacklist.begin(), blacklist.end(), freed));  // the later entries move up
    record->SetBlacklist(std::move(blacklist));
}

} // namespace tarvolan
