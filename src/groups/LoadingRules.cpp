#include "groups/LoadingRules.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "groups/LogText.h"

namespace tarvolan {

namespace {

// A contact list's entry: the fields the host does not report take these.
TGroupListEntry ContactListDefaults()
{
    TGroupListEntry entry;
    entry.duration = 1;
    entry.visibility = 1;
    entry.needPermit = 0;
    entry.maxMembers = 3;
    return entry;
}

int Clamp(int count, int limit, const void* array)
{
    return array ? std::clamp(count, 0, limit) : 0;
}

std::vector<CString> ReadBlacklist(const TBlacklistEntry* entries, int count)
{
    std::vector<CString> uris;
    uris.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) uris.push_back(CString::FromField(entries[i].uri));
    return uris;
}

// The log text of 1004: one line per slot, in one buffer.
CLogText GroupInfoLog(const TGroupInfoList& list, int count)
{
    CLogText entries(static_cast<size_t>(count) * 200 + 16);
    for (int i = 0; i < count; ++i) {
        const TGroupInfoSlot& s = list.groups[i];
        entries << "\r\ngroupname=" << FieldView(s.groupname) << "  groupURI=" << FieldView(s.groupURI)
                << "  groupOwner=" << FieldView(s.groupOwner) << "  groupType=" << s.groupType
                << "  groupUsage=" << s.groupUsage;
    }
    CLogText text(entries.view().size() + 96);
    text << "OnIMSGotGroupInfoVeloractrl1:number of group = " << count << " information of group:" << entries.view()
         << " \n";
    return text;
}

// The log text of 1005: the group, then every member and blacklist entry.
CLogText OnePublicGroupLog(const CString& name, const CString& uri, int role, const TGroupDescription& info,
                           const TMemberEntry* members, int memberCount, const TBlacklistEntry* blacklist,
                           int blacklistCount)
{
    CLogText text(1024 + static_cast<size_t>(memberCount) * 200 + static_cast<size_t>(blacklistCount) * 100);
    text << "OnIMSGotOnePublicGroupVeloractrl1:\r\npGroupName=" << name << ",pGroupURI=" << uri
         << ", iMyRole= " << role << ",iDuration=" << info.iDuration << ",iMaxMember = " << info.iMaxMember
         << ",iVisi=" << info.iVisi << ",iNeedPermit=" << info.iNeedPermit << ",Creator=" << FieldView(info.creator)
         << ",Owner=" << FieldView(info.owner) << ",iListNum=" << memberCount << ",\r\n";
    for (int i = 0; i < memberCount; ++i) {
        const TMemberEntry& m = members[i];
        text << "UserURI" << i << "=" << FieldView(m.UserURI) << ",DisplayName=" << FieldView(m.DisplayName)
             << ",csInfo=" << FieldView(m.csInfo) << ",csPhone=" << FieldView(m.csPhone) << "\r\n";
    }
    text << "iBlacklistNum=" << blacklistCount << "\r\n";
    for (int i = 0; i < blacklistCount; ++i) text << "BlackList" << i << " = " << FieldView(blacklist[i].uri) << "\r\n";
    return text;
}

// The list entry a group's full information makes; kind stays as listed.
TGroupListEntry DescribedEntry(const CString& name, const CString& uri, int kind, int role, const CString& owner,
                               const TGroupDescription& info)
{
    TGroupListEntry entry;
    entry.uri = uri;
    entry.name = name;
    entry.kind = kind;
    entry.owner = owner;
    entry.role = role;
    entry.creator = CString::FromField(info.creator);
    entry.creationTime = CString::FromField(info.creationTime);
    entry.duration = info.iDuration;
    entry.visibility = info.iVisi;
    entry.needPermit = info.iNeedPermit;
    entry.maxMembers = info.iMaxMember;
    entry.subject = CString::FromField(info.subject);
    entry.bulletin = CString::FromField(info.bulletin);
    return entry;
}

} // namespace

// ---- 1004 -------------------------------------------------------------------------

void CLoadingRules::OnGroupInfo(const TGroupInfoList* pList)
{
    if (!pList) return;
    // A copy: the host's record is read once, whatever happens to it meanwhile.
    std::unique_ptr<TGroupInfoList> list(new (std::nothrow) TGroupInfoList);
    if (!list) return;
    std::memcpy(list.get(), pList, sizeof(TGroupInfoList));
    const int count = std::clamp(list->count, 0, kMaxGroups);
    m_host.WriteClientLog(GroupInfoLog(*list, count).c_str(), 0);

    TGroupListEntry placeholder = ContactListDefaults();  // the usage-3 contact list
    placeholder.kind = GROUP_CONTACT_LIST;
    placeholder.usage = 3;
    placeholder.role = ROLE_MEMBER;
    m_data.AddOrUpdateGroupListEntry(placeholder);

    const CString myURI = m_host.MyURI();
    for (int i = 0; i < count && !m_data.GroupList().IsFull(); ++i) AddListEntry(list->groups[i], myURI);
    for (int i = 0; i < count; ++i) UpdateTableRecord(list->groups[i], myURI);
    const CString none;
    m_changes.Report({CHANGE_GROUP_LIST, none, nullptr});
}

void CLoadingRules::AddListEntry(const TGroupInfoSlot& slot, const CString& myURI)
{
    TGroupListEntry entry = ContactListDefaults();
    entry.uri = CString::FromField(slot.groupURI);
    entry.name = CString::FromField(slot.groupname);
    entry.kind = slot.groupType;
    entry.usage = slot.groupUsage;
    entry.owner = CString::FromField(slot.groupOwner);
    entry.role = entry.owner == myURI ? ROLE_OWNER : ROLE_MEMBER;
    if (IsPublicKind(entry.kind) && entry.uri.IsEmpty()) return;  // a group without an address
    if (entry.kind == GROUP_CONTACT_LIST) {
        if (entry.usage == 1) RememberRecentListName(entry.name);
        else if (entry.usage == 4) entry.name = m_host.AllContactsName();
    }
    m_data.AddOrUpdateGroupListEntry(entry);
}

void CLoadingRules::UpdateTableRecord(const TGroupInfoSlot& slot, const CString& myURI)
{
    const int kind = slot.groupType;
    const CString uri = CString::FromField(slot.groupURI);
    if (!IsPublicKind(kind) || uri.IsEmpty()) return;
    const bool mine = CString::FromField(slot.groupOwner) == myURI;
    CGroupRecord* record = m_data.GroupTable().Get(uri);
    if (!record) {
        record = m_data.GroupTable().Add(uri);  // null when the table is full
        if (!record) return;
        record->kind = kind;
    } else {
        record->kind = mine ? GROUP_PUBLIC : kind;
    }
    record->name = CString::FromField(slot.groupname);
    record->role = mine ? ROLE_OWNER : ROLE_MEMBER;
}

void CLoadingRules::RememberRecentListName(const CString& name)
{
    if (!CGroupData::IsNewInArray(m_data.RecentListNames(), name)) return;
    m_data.RecentListNames().Add(name);
    m_host.RestartRecentNamesTimer();
}

// ---- 1005 -------------------------------------------------------------------------

void CLoadingRules::OnOnePublicGroup(const char* pGroupName, const char* pGroupURI, int iMyRole,
                                     const TGroupDescription* pInfo, int iListNum, const TMemberEntry* pList,
                                     int iBlacklistNum, const TBlacklistEntry* pBlacklist)
{
    const CString groupName(pGroupName), groupURI(pGroupURI);
    TGroupDescription info;
    if (pInfo) std::memcpy(&info, pInfo, sizeof(info));
    else info = TGroupDescription{};  // a missing description reads as empty
    iListNum = Clamp(iListNum, kMaxMembers, pList);
    iBlacklistNum = Clamp(iBlacklistNum, kMaxBlacklist, pBlacklist);
    CLogText log = OnePublicGroupLog(groupName, groupURI, iMyRole, info, pList, iListNum, pBlacklist, iBlacklistNum);
    m_host.WriteClientLog(log.c_str(), 0);

    // Role 3: fetched for the group information window only; it is not kept.
    if (iMyRole == ROLE_NONE) {
        m_search.PassGroupDetails(groupName, groupURI, iMyRole, info, iListNum, pList);
        return;
    }
    if (groupURI.IsEmpty()) return;
    SubscribeOnce(groupURI);

    const int listed = m_data.GroupList().FindByURI(groupURI);
    const int kind = listed >= 0 ? m_data.GroupList()[listed].kind : GROUP_PUBLIC;
    const CString owner = iMyRole == ROLE_OWNER ? m_host.MyURI() : CString::FromField(info.owner);
    m_data.AddOrUpdateGroupListEntry(DescribedEntry(groupName, groupURI, kind, iMyRole, owner, info));

    if (CGroupRecord* record = m_data.GroupTable().Add(groupURI)) {
        record->kind = kind;
        record->role = iMyRole;
        record->name = groupName;
        record->spare = 0;
        record->chatRoomFlag = 0;
        record->SetMembers(pList, iListNum);
        record->SetBlacklist(ReadBlacklist(pBlacklist, iBlacklistNum));
    }
    m_changes.Report({CHANGE_MEMBERS, groupURI, m_data.TreeModel().FindGroup(groupURI), nullptr,
                      DETAIL_UNLISTED_LEAVE});
    m_search.PassGroupDetails(groupName, groupURI, iMyRole, info, iListNum, pList);

    ClearOwnJoinApplication(groupURI);
    m_host.RefreshPropertiesWindow();
}

void CLoadingRules::SubscribeOnce(const CString& uri)
{
    if (uri.IsEmpty() || m_data.SubscribedGroups().Contains(uri)) return;
    CLogText line(64 + uri.str().size());
    line << "CKestDlg::After got a system group,subscribe it(URI Is " << uri << ")";
    m_host.WriteClientLog(line.c_str(), 0);
    SendSubscribe(m_link, uri.c_str());
    m_data.SubscribedGroups().Add(uri);
}

void CLoadingRules::ClearOwnJoinApplication(const CString& groupURI)
{
    const CString me = m_host.MyRequestId();
    try {
        m_data.JoinApplications().remove_if(
            [&](const TJoinApplication& a) { return a.groupURI == groupURI && a.requester == me; });
    } catch (...) {
        m_host.WriteClientLog("===remove item from m_PublicGroupUserReqList::exception===", 0);
    }
}

// ---- 1033 -------------------------------------------------------------------------

void CLoadingRules::OnRebuildMembersFromTable()
{
    for (int i = 0; i < m_data.GroupTable().Count(); ++i) {
        const CGroupRecord& record = m_data.GroupTable()[i];
        if (!IsPublicKind(record.kind)) continue;
        m_changes.Report({CHANGE_MEMBERS, record.URI(), m_data.TreeModel().FindGroup(record.URI()), nullptr,
                          DETAIL_FROM_TABLE});
    }
}

} // namespace tarvolan
