// The results of the group operations the user started: create or edit
// (1013), delete (1014), invitation sent (1015), member removed (1016), join
// request sent (1017), group left (1018) and display name changed (1019).
// The host measures
// time-outs and reports them as 408, which shows a time-out text; the other
// error codes show a failure text.
#include <algorithm>
#include <vector>

#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "common/TextFunctions.h"
#include "window/EventSupport.h"
#include "groups/ChildWindows.h"
#include "controls/Prompts.h"
#include "window/TarvolanDialog.h"
#include "protocol/HostLink.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr int kCreateKind = 2;  // the operation kind of a pending creation

bool Succeeded(int result) { return result == RESULT_DONE || result == RESULT_CREATED; }

// The kind-2 entry whose URI has the same user part; -1 when none.
int FindOwnGroupByUser(const CGroupList& list, const CString& uri)
{
    const CString user = GetURIField(uri, URI_USER);
    if (user.IsEmpty()) return -1;
    for (int i = 0; i < list.Count(); ++i)
        if (list[i].kind == GROUP_PUBLIC && GetURIField(list[i].uri, URI_USER) == user) return i;
    return -1;
}

// Takes the first pending creation of that name and drops every other one
// of the same name; false when there is none.
bool TakePendingCreate(std::list<TPendingCreate>& pending, const CString& name, TPendingCreate& taken)
{
    const auto it = std::find_if(pending.begin(), pending.end(),
                                 [&](const TPendingCreate& p) { return p.kind == kCreateKind && p.name == name; });
    if (it == pending.end()) return false;
    taken = *it;
    pending.remove_if([&](const TPendingCreate& p) { return p.kind == taken.kind && p.name == name; });
    return true;
}

void ApplyPendingValues(TGroupListEntry& entry, const TPendingCreate& pending)
{
    entry.duration = pending.duration;
    entry.visibility = pending.visibility;
    entry.needPermit = pending.needPermit;
    entry.maxMembers = pending.maxMembers;
    entry.subject = pending.subject;
    entry.bulletin = pending.bulletin;
}

// Removes a member; the later members move up one place, each slot whole.
void RemoveMemberKeepingOrder(CGroupRecord& record, const CString& uri)
{
    if (record.FindMember(uri) < 0) return;
    std::vector<TMemberSlot> members;
    members.reserve(static_cast<size_t>(record.MemberCount()));
    for (const TMemberSlot& slot : record.Members())
        if (!(slot.uri == uri)) members.push_back(slot);
    record.SetMembers(std::move(members));
}

} // namespace

// ---- 1013 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSCreatePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult)
{
    const CString name(pGroupName), uri(pGroupURI);
    CString line;
    line.Format("OnIMSCreatePublicGroupResultVeloractrl1, pGroupName=%s,pGroupURI=%s,iResult=%d", name.c_str(),
                uri.c_str(), iResult);
    Link().Log(line, 1);

    const int edited = FindOwnGroupByUser(m_GroupData.GroupList(), uri);
    const bool isEdit = edited >= 0;
    if (!Succeeded(iResult)) {
        const CString shown = isEdit ? m_GroupData.GroupList()[edited].name : name;
        if (iResult == RESULT_TIMEOUT) ShowNotice(this, ResText(isEdit ? IDS_EDIT_TIMEOUT : IDS_CREATE_TIMEOUT, shown));
        else if (iResult == RESULT_LIMIT && !isEdit) ShowNotice(this, LoadResString(IDS_CREATE_LIMIT));
        else ShowNotice(this, ResText(isEdit ? IDS_EDIT_FAILED : IDS_CREATE_FAILED, shown));
        return;
    }

    KillTimer(kTimerPendingCreate);
    TPendingCreate pending;
    const bool taken = !isEdit && TakePendingCreate(m_GroupData.PendingCreates(), name, pending);
    if (!m_GroupData.PendingCreates().empty()) SetTimer(kTimerPendingCreate, kPendingCreatePeriodMs);

    const CString me = SignedInURI();
    CString groupURI = uri;
    if (isEdit) {
        groupURI = m_GroupData.GroupList()[edited].uri;  // the group as listed, whatever form the result's URI has
        m_GroupData.GroupList().Modify(edited, [&](TGroupListEntry& e) {
            e.name = name;
            e.kind = GROUP_PUBLIC;
            e.owner = me;
            if (e.creator.IsEmpty()) e.creator = me;  // an edit does not change who created the group
            e.role = ROLE_OWNER;
        });
    } else if (uri.IsEmpty()) {
        WriteLog("OnIMSCreatePublicGroupResult: a created group without an address is not kept", 0);
        return;
    } else {
        TGroupListEntry entry;
        entry.uri = uri;
        entry.name = name;
        entry.kind = GROUP_PUBLIC;
        entry.owner = me;
        entry.creator = me;
        entry.role = ROLE_OWNER;
        if (taken) ApplyPendingValues(entry, pending);
        if (m_GroupData.GroupList().AddOrUpdate(entry) < 0) {
            line.Format("OnIMSCreatePublicGroupResult: the group list is full, %s is not shown", uri.c_str());
            WriteLog(line, 0);
            return;
        }
    }

    CGroupRecord* record = m_GroupData.GroupTable().Add(groupURI);  // null when the table is full
    if (record) {
        if (!isEdit) {
            record->SetMembers({});
            record->SetBlacklist({});
            record->spare = 0;
            record->chatRoomFlag = 0;
        }
        record->kind = GROUP_PUBLIC;
        record->role = ROLE_OWNER;
        record->name = name;
        if (taken && !pending.displayName.IsEmpty() && record->MemberCount() > 0 && record->Member(0).uri == me) {
            TMemberSlot first = record->Member(0);
            first.displayName = pending.displayName;
            first.info = kMemberInGroup;
            record->UpdateMember(0, first);
        }
    }
    RebuildGroupAndMembers(groupURI);
}

// ---- 1014 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSDeletePublicGroupResult(const char* pGroupName, int iResult)
{
    const CString name(pGroupName);
    CString line;
    line.Format("OnIMSDeletePublicGroupResultVeloractrl1, pGroupName=%s,iResult=%d", name.c_str(), iResult);
    WriteLog(line, 0);
    if (iResult == RESULT_DONE) {
        const CString uri = m_GroupData.GetGroupURIByName(name, ROLE_OWNER, CString());
        if (!uri.IsEmpty()) m_GroupData.RemoveGroup(uri);  // the tree item goes with the group object
        return;
    }
    ShowNotice(this, ResText(iResult == RESULT_TIMEOUT ? IDS_DELETE_TIMEOUT : IDS_DELETE_FAILED, name));
}

// ---- 1015 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSInviteToMyPuGroupSendResult(const char* pSomeoneURI, const char* pDisplayName,
                                                       const char* pGroupName, int iResult)
{
    const CString someone(pSomeoneURI), displayName(pDisplayName), groupName(pGroupName);
    CString line;
    line.Format("OnIMSInviteToMyPuGroupSendResultVeloractrl1, pSomeoneURI=%s,pDisplayName=%s,pGroupName=%s,"
                "iResult=%d",
                someone.c_str(), displayName.c_str(), groupName.c_str(), iResult);
    WriteLog(line, 0);
    if (iResult == RESULT_DONE || iResult == RESULT_PENDING) {
        if (!m_GroupData.IsInvitePending(someone, groupName)) m_GroupData.InvitesPending().push_back({someone, groupName});
        return;
    }
    m_GroupData.RemoveInvitePending(someone, groupName);
    int textId = IDS_INVITE_SEND_FAILED;
    switch (iResult) {
    case RESULT_NOT_FOUND: textId = IDS_INVITE_NO_USER; break;
    case RESULT_TIMEOUT: textId = IDS_INVITE_SEND_TIMEOUT; break;
    case RESULT_LIMIT: textId = IDS_INVITE_GROUP_FULL; break;
    default: break;
    }
    ShowNotice(this, ResText(textId, displayName, groupName));
}

// ---- 1016 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSDelFromMyPuGroupResult(const char* pSomeoneURI, const char* pGroupName, int iResult)
{
    const CString someone(pSomeoneURI), groupName(pGroupName);
    CString line;
    line.Format("OnIMSDelFromMyPuGroupResultVeloractrl1, pSomeoneURI=%s,pGroupName=%s,iResult=%d", someone.c_str(),
                groupName.c_str(), iResult);
    WriteLog(line, 0);

    if (iResult != RESULT_DONE) {
        const int textId = iResult == RESULT_TIMEOUT ? IDS_REMOVE_MEMBER_TIMEOUT : IDS_REMOVE_MEMBER_FAILED;
        ShowNotice(this, IsChineseSystemLanguage() ? ResText(textId, groupName, someone)
                                                   : ResText(textId, someone, groupName));
        return;
    }
    const CString uri = m_GroupData.GetGroupURIByName(groupName, ROLE_OWNER, CString());
    if (uri.IsEmpty()) return;
    const CString me = SignedInURI();
    if (CTarvolan* group = m_GroupData.TreeModel().FindGroup(uri); group && group->FindMember(someone)) {
        const bool mine = group->m_csOwnerURI == me;
        if (!(someone == me) && mine) {
            m_GroupData.TreeModel().RemoveMember(*group, someone);
        } else if (someone == me && !mine) {
            m_GroupData.RemoveGroup(uri);  // I am no longer in it: it leaves the tables too, or a rebuild would bring it back
            return;
        }
    }
    if (CGroupRecord* record = m_GroupData.GroupTable().Get(uri); record && record->kind == GROUP_PUBLIC)
        RemoveMemberKeepingOrder(*record, someone);
    RebuildGroupAndMembers(uri);
}

// ---- 1017 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSReqJoinPublicGroupSendResult(const char* pGroupURI, const char* pGroupIdentifier,
                                                        int iResult)
{
    const CString uri(pGroupURI), identifier(pGroupIdentifier);
    CString line;
    line.Format("OnIMSReqJoinPublicGroupSendResultVeloractrl1, pGroupURI=%s,pGroupIdentifier=%s,iResult=%d",
                uri.c_str(), identifier.c_str(), iResult);
    WriteLog(line, 0);
    if (iResult != RESULT_REFUSED && iResult != RESULT_LIMIT) return;  // 202 and 408 among them: nothing to show
    CGroupInfoWindow* info = m_OpenWindows.Find<CGroupInfoWindow>();
    const CString name = info ? info->GetGroupNameByURI(uri) : CString();
    ShowMessageBox(this, ResText(iResult == RESULT_REFUSED ? IDS_JOIN_REFUSED : IDS_GROUP_FULL, name), CString(),
                   MB_ICONINFORMATION);
}

// ---- 1018 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSLeavePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult)
{
    const CString name(pGroupName), uri(pGroupURI);
    CString line;
    line.Format("OnIMSLeavePublicGroupResultVeloractrl1, pGroupName=%s,iResult=%d", name.c_str(), iResult);
    WriteLog(line, 0);
    if (iResult == RESULT_DONE) {
        if (uri.IsEmpty() || !m_GroupData.TreeModel().FindGroup(uri)) return;
        m_GroupData.RemoveGroup(uri);
        if (CGroupInfoWindow* info = m_OpenWindows.Find<CGroupInfoWindow>())
            info->SetGroupJoined(uri, 0);
        return;
    }
    ShowNotice(this, ResText(iResult == RESULT_TIMEOUT ? IDS_LEAVE_TIMEOUT : IDS_LEAVE_FAILED, name));
}

// ---- 1019 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSChangeDPNameInPuGroupResult(const char* pGroupURI, const char* pNewDisplayName,
                                                       int iResult)
{
    const CString uri(pGroupURI), newName(pNewDisplayName);
    CString line;
    line.Format("OnIMSChangeDPNameInPuGroupResultVeloractrl1, pGroupURI=%s,pNewDisplayName=%s,iResult=%d",
                uri.c_str(), newName.c_str(), iResult);
    WriteLog(line, 0);
    CTarvolan* group = uri.IsEmpty() ? nullptr : m_GroupData.TreeModel().FindGroup(uri);
    if (!group) return;
    if (iResult != RESULT_DONE) {
        ShowNotice(this, ResText(iResult == RESULT_TIMEOUT ? IDS_RENAME_TIMEOUT : IDS_RENAME_FAILED, group->m_csName));
        return;
    }
    const CString me = SignedInURI();
    CTarvolanMember* member = group->FindMember(me);
    if (!member) return;
    member->m_csDisplayName = newName.IsEmpty() ? GetURIField(me, URI_USER) : newName;
    RefreshMemberItem(*member);
    if (group->m_pChatDialog) group->m_pChatDialog->UpdateMemberItem(member);
    // Every public kind: the member items are rebuilt from the table.
    if (CGroupRecord* record = m_GroupData.FindPublicRecord(uri)) {
        if (const int slot = record->FindMember(me); slot >= 0) {
            TMemberSlot changed = record->Member(slot);
            changed.displayName = newName;
            record->UpdateMember(slot, changed);
        }
    }
    RebuildGroupAndMembers(uri);
}

} // namespace tarvolan
