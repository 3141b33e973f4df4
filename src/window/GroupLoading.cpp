// Loading the groups: the list of my groups (1004), one group's full
// information (1005). CAttributeRules applies attribute changes (1011, 1012).
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "common/TextFunctions.h"
#include "groups/LogText.h"
#include "window/TarvolanDialog.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr int kRecentNamesPeriodMs = 60000;

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

} // namespace

// ---- 1004 -------------------------------------------------------------------------

void CTarvolanDialog::OnIMSGotGroupInfo(const TGroupInfoList* pList)
{
    if (!pList) return;
    std::unique_ptr<TGroupInfoList> list(new (std::nothrow) TGroupInfoList);
    if (!list) return;
    std::memcpy(list.get(), pList, sizeof(TGroupInfoList));
    const int count = std::clamp(list->count, 0, kMaxGroups);
    WriteLog(GroupInfoLog(*list, count).c_str(), 0);

    TGroupListEntry placeholder = ContactListDefaults();  // the usage-3 contact list
    placeholder.kind = GROUP_CONTACT_LIST;
    placeholder.usage = 3;
    placeholder.role = ROLE_MEMBER;
    m_GroupData.AddOrUpdateGroupListEntry(placeholder);

    const CString myURI = SignedInURI();
    for (int i = 0; i < count && !m_GroupData.GroupList().IsFull(); ++i) AddGroupInfoSlot(list->groups[i], myURI);
    for (int i = 0; i < count; ++i) UpdateGroupTableFromSlot(list->groups[i], myURI);
    RebuildGroupItems();
}

void CTarvolanDialog::AddGroupInfoSlot(const TGroupInfoSlot& slot, const CString& myURI)
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
        else if (entry.usage == 4) entry.name = LoadResString(IDS_ALL_CONTACTS);
    }
    m_GroupData.AddOrUpdateGroupListEntry(entry);
}

void CTarvolanDialog::UpdateGroupTableFromSlot(const TGroupInfoSlot& slot, const CString& myURI)
{
    const int kind = slot.groupType;
    const CString uri = CString::FromField(slot.groupURI);
    if (!IsPublicKind(kind) || uri.IsEmpty()) return;
    const bool mine = CString::FromField(slot.groupOwner) == myURI;
    CGroupRecord* record = m_GroupData.GroupTable().Get(uri);
    if (!record) {
        record = m_GroupData.GroupTable().Add(uri);  // null when the table is full
        if (!record) return;
        record->kind = kind;
    } else {
        record->kind = mine ? GROUP_PUBLIC : kind;
    }
    record->name = CString::FromField(slot.groupname);
    record->role = mine ? ROLE_OWNER : ROLE_MEMBER;
}

void CTarvolanDialog::RememberRecentListName(const CString& name)
{
    if (!IsNewInArray(m_GroupData.RecentListNames(), name)) return;
    KillTimer(kTimerRecentNames);
    m_GroupData.RecentListNames().Add(name);
    SetTimer(kTimerRecentNames, kRecentNamesPeriodMs);
}

// ---- 1005 -------------------------------------------------------------------------

void CTarvolanDialog::OnIMSGotOnePublicGroup(const char* pGroupName, const char* pGroupURI, int iMyRole,
                                             const TGroupDescription* pInfo, int iListNum,
                                             const TMemberEntry* pList, int iBlacklistNum,
                                             const TBlacklistEntry* pBlacklist)
{
    const CString groupName(pGroupName), groupURI(pGroupURI);
    TGroupDescription info;
    if (pInfo) std::memcpy(&info, pInfo, sizeof(info));
    else info = TGroupDescription{};  // a missing description reads as empty
    iListNum = Clamp(iListNum, kMaxMembers, pList);
    iBlacklistNum = Clamp(iBlacklistNum, kMaxBlacklist, pBlacklist);
    CLogText log = OnePublicGroupLog(groupName, groupURI, iMyRole, info, pList, iListNum, pBlacklist, iBlacklistNum);
    WriteLog(log.c_str(), 0);

    // Role 3: fetched for the group information window only; it is not kept.
    if (iMyRole == ROLE_NONE) {
        PassGroupToInfoWindow(groupName, groupURI, iMyRole, info, iListNum, pList);
        return;
    }
    if (groupURI.IsEmpty()) return;
    SubscribeOnce(groupURI);

    const int listed = m_GroupData.GroupList().FindByURI(groupURI);
    TGroupListEntry entry;
    entry.uri = groupURI;
    entry.name = groupName;
    entry.kind = listed >= 0 ? m_GroupData.GroupList()[listed].kind : GROUP_PUBLIC;
    entry.owner = iMyRole == ROLE_OWNER ? SignedInURI() : CString::FromField(info.owner);
    entry.role = iMyRole;
    entry.creator = CString::FromField(info.creator);
    entry.creationTime = CString::FromField(info.creationTime);
    entry.duration = info.iDuration;
    entry.visibility = info.iVisi;
    entry.needPermit = info.iNeedPermit;
    entry.maxMembers = info.iMaxMember;
    entry.subject = CString::FromField(info.subject);
    entry.bulletin = CString::FromField(info.bulletin);
    m_GroupData.AddOrUpdateGroupListEntry(entry);

    if (CGroupRecord* record = m_GroupData.GroupTable().Add(groupURI)) {
        record->kind = entry.kind;
        record->role = iMyRole;
        record->name = groupName;
        record->spare = 0;
        record->chatRoomFlag = 0;
        record->SetMembers(pList, iListNum);
        record->SetBlacklist(ReadBlacklist(pBlacklist, iBlacklistNum));
    }
    // A new group object builds its member items itself; an existing one
    // follows the record, members that left included.
    const bool known = m_GroupData.TreeModel().FindGroup(groupURI) != nullptr;
    RebuildGroupItem(groupURI);
    if (known) RebuildMemberItems(groupURI, true);
    PassGroupToInfoWindow(groupName, groupURI, iMyRole, info, iListNum, pList);

    ClearOwnJoinApplication(groupURI);
    RefreshPropertiesWindow();
}

void CTarvolanDialog::SubscribeOnce(const CString& uri)
{
    if (uri.IsEmpty() || m_GroupData.SubscribedGroups().Contains(uri)) return;
    CLogText line(64 + uri.str().size());
    line << "CKestDlg::After got a system group,subscribe it(URI Is " << uri << ")";
    WriteLog(line.c_str(), 0);
    SendSubscribe(Link(), uri.c_str());
    m_GroupData.SubscribedGroups().Add(uri);
}

void CTarvolanDialog::ClearOwnJoinApplication(const CString& groupURI)
{
    const CString me = SignedInRequestId();
    try {
        const bool pending = std::any_of(m_GroupData.JoinApplications().begin(), m_GroupData.JoinApplications().end(),
                                         [&](const TJoinApplication& a) {
                                             return a.groupURI == groupURI && a.requester == me;
                                         });
        if (pending)
            m_GroupData.JoinApplications().remove_if(
                [&](const TJoinApplication& a) { return a.groupURI == groupURI && a.requester == me; });
    } catch (...) {
        WriteLog("===remove item from m_PublicGroupUserReqList::exception===", 0);
    }
}

void CTarvolanDialog::RefreshPropertiesWindow()
{
    if (QWidget* window = FindDialogByCaption(LoadResString(IDS_PROPERTY_CAPTION)))
        SendCommand(window, kRefreshPropertiesCommand, 0);
}

} // namespace tarvolan
