#include "groups/ResultRules.h"

#include <algorithm>
#include <vector>

#include "common/TextFunctions.h"
#include "groups/ChildWindows.h"

namespace tarvolan {

namespace {

constexpr int kCreateKind = 2;                       // the operation kind of a pending creation

bool Succeeded(int result) { return result == RESULT_DONE || result == RESULT_CREATED; }

// The notice of a failed operation: its time-out notice for 408, else its failure notice.
ENotice FailureNotice(int result, ENotice timeout, ENotice failed)
{
    return result == RESULT_TIMEOUT ? timeout : failed;
}

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

void CResultRules::ReportMembers(const CString& groupURI) const
{
    m_changes.Report({CHANGE_MEMBERS, groupURI, m_data.TreeModel().FindGroup(groupURI)});
}

// ---- 1013 -------------------------------------------------------------------------------

void CResultRules::OnCreateResult(const char* groupName, const char* groupURI, int result)
{
    const CString name(groupName), uri(groupURI);
    CString line;
    line.Format("OnIMSCreatePublicGroupResultVeloractrl1, pGroupName=%s,pGroupURI=%s,iResult=%d", name.c_str(),
                uri.c_str(), result);
    m_link.Log(line, 1);

    const int edited = FindOwnGroupByUser(m_data.GroupList(), uri);
    const bool isEdit = edited >= 0;
    if (!Succeeded(result)) {
        const CString shown = isEdit ? m_data.GroupList()[edited].name : name;
        if (result == RESULT_LIMIT && !isEdit) m_host.Tell(NOTICE_CREATE_LIMIT);
        else if (isEdit) m_host.Tell(FailureNotice(result, NOTICE_EDIT_TIMEOUT, NOTICE_EDIT_FAILED), shown);
        else m_host.Tell(FailureNotice(result, NOTICE_CREATE_TIMEOUT, NOTICE_CREATE_FAILED), shown);
        return;
    }

    TPendingCreate pending;
    const bool taken = !isEdit && TakePendingCreate(m_data.PendingCreates(), name, pending);
    m_host.RestartPendingCreateTimer();

    const CString me = m_host.MyURI();
    CString listedURI = uri;
    if (isEdit) {
        listedURI = m_data.GroupList()[edited].uri;  // the group as listed, whatever form the result's URI has
        m_data.GroupList().Modify(edited, [&](TGroupListEntry& e) {
            e.name = name;
            e.kind = GROUP_PUBLIC;
            e.owner = me;
            if (e.creator.IsEmpty()) e.creator = me;  // an edit does not change who created the group
            e.role = ROLE_OWNER;
        });
    } else if (!ListCreatedGroup(uri, name, me, taken, pending)) {
        return;
    }
    UpdateCreatedRecord(listedURI, name, me, isEdit, taken, pending);
    ReportMembers(listedURI);
}

bool CResultRules::ListCreatedGroup(const CString& uri, const CString& name, const CString& me, bool taken,
                                    const TPendingCreate& pending)
{
    if (uri.IsEmpty()) {
        m_host.WriteClientLog("OnIMSCreatePublicGroupResult: a created group without an address is not kept", 0);
        return false;
    }
    TGroupListEntry entry;
    entry.uri = uri;
    entry.name = name;
    entry.kind = GROUP_PUBLIC;
    entry.owner = me;
    entry.creator = me;
    entry.role = ROLE_OWNER;
    if (taken) ApplyPendingValues(entry, pending);
    if (m_data.GroupList().AddOrUpdate(entry) >= 0) return true;
    m_host.LogClient(0, "OnIMSCreatePublicGroupResult: the group list is full, %s is not shown", uri.c_str());
    return false;
}

void CResultRules::UpdateCreatedRecord(const CString& groupURI, const CString& name, const CString& me, bool isEdit,
                                       bool taken, const TPendingCreate& pending)
{
    CGroupRecord* record = m_data.GroupTable().Add(groupURI);  // null when the table is full
    if (!record) return;
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

// ---- 1014 -------------------------------------------------------------------------------

void CResultRules::OnDeleteResult(const char* groupName, int result)
{
    const CString name(groupName);
    m_host.LogClient(0, "OnIMSDeletePublicGroupResultVeloractrl1, pGroupName=%s,iResult=%d", name.c_str(), result);
    if (result == RESULT_DONE) {
        const CString uri = m_data.GetGroupURIByName(name, ROLE_OWNER, CString());
        if (!uri.IsEmpty()) m_data.RemoveGroup(uri);  // the tree item goes with the group object
        return;
    }
    m_host.Tell(FailureNotice(result, NOTICE_DELETE_TIMEOUT, NOTICE_DELETE_FAILED), name);
}

// ---- 1015 -------------------------------------------------------------------------------

void CResultRules::OnInviteSendResult(const char* someoneURI, const char* displayName, const char* groupName,
                                      int result)
{
    const CString someone(someoneURI), shownName(displayName), group(groupName);
    m_host.LogClient(0, "OnIMSInviteToMyPuGroupSendResultVeloractrl1, pSomeoneURI=%s,pDisplayName=%s,pGroupName=%s,"
                        "iResult=%d",
                        someone.c_str(), shownName.c_str(), group.c_str(), result);
    if (result == RESULT_DONE || result == RESULT_PENDING) {
        if (!m_data.IsInvitePending(someone, group)) m_data.InvitesPending().push_back({someone, group});
        return;
    }
    m_data.RemoveInvitePending(someone, group);
    ENotice notice = NOTICE_INVITE_SEND_FAILED;
    switch (result) {
    case RESULT_NOT_FOUND: notice = NOTICE_INVITE_NO_USER; break;
    case RESULT_TIMEOUT: notice = NOTICE_INVITE_SEND_TIMEOUT; break;
    case RESULT_LIMIT: notice = NOTICE_INVITE_GROUP_FULL; break;
    default: break;
    }
    m_host.Tell(notice, shownName, group);
}

// ---- 1016 -------------------------------------------------------------------------------

void CResultRules::OnRemoveMemberResult(const char* someoneURI, const char* groupName, int result)
{
    const CString someone(someoneURI), group(groupName);
    m_host.LogClient(0, "OnIMSDelFromMyPuGroupResultVeloractrl1, pSomeoneURI=%s,pGroupName=%s,iResult=%d",
                        someone.c_str(), group.c_str(), result);

    if (result != RESULT_DONE) {
        m_host.Tell(FailureNotice(result, NOTICE_REMOVE_MEMBER_TIMEOUT, NOTICE_REMOVE_MEMBER_FAILED), someone, group);
        return;
    }
    const CString uri = m_data.GetGroupURIByName(group, ROLE_OWNER, CString());
    if (uri.IsEmpty()) return;
    const CString me = m_host.MyURI();
    if (CTarvolan* shown = m_data.TreeModel().FindGroup(uri); shown && shown->FindMember(someone)) {
        const bool mine = shown->m_csOwnerURI == me;
        if (!(someone == me) && mine) {
            m_data.TreeModel().RemoveMember(*shown, someone);
        } else if (someone == me && !mine) {
            m_data.RemoveGroup(uri);  // I am no longer in it: it leaves the tables too, or a rebuild would bring it back
            return;
        }
    }
    if (CGroupRecord* record = m_data.GroupTable().Get(uri); record && record->kind == GROUP_PUBLIC)
        RemoveMemberKeepingOrder(*record, someone);
    ReportMembers(uri);
}

// ---- 1017 -------------------------------------------------------------------------------

void CResultRules::OnJoinSendResult(const char* groupURI, const char* groupIdentifier, int result)
{
    const CString uri(groupURI), identifier(groupIdentifier);
    m_host.LogClient(0, "OnIMSReqJoinPublicGroupSendResultVeloractrl1, pGroupURI=%s,pGroupIdentifier=%s,iResult=%d",
                        uri.c_str(), identifier.c_str(), result);
    if (result != RESULT_REFUSED && result != RESULT_LIMIT) return;  // 202 and 408 among them: nothing to show
    CGroupInfoWindow* info = m_host.InfoWindow();
    const CString name = info ? info->GetGroupNameByURI(uri) : CString();
    m_host.Tell(result == RESULT_REFUSED ? NOTICE_JOIN_REFUSED : NOTICE_JOIN_GROUP_FULL, name);
}

// ---- 1018 -------------------------------------------------------------------------------

void CResultRules::OnLeaveResult(const char* groupName, const char* groupURI, int result)
{
    const CString name(groupName), uri(groupURI);
    m_host.LogClient(0, "OnIMSLeavePublicGroupResultVeloractrl1, pGroupName=%s,iResult=%d", name.c_str(), result);
    if (result == RESULT_DONE) {
        if (uri.IsEmpty() || !m_data.TreeModel().FindGroup(uri)) return;
        m_data.RemoveGroup(uri);
        if (CGroupInfoWindow* info = m_host.InfoWindow()) info->SetGroupJoined(uri, 0);
        return;
    }
    m_host.Tell(FailureNotice(result, NOTICE_LEAVE_TIMEOUT, NOTICE_LEAVE_FAILED), name);
}

// ---- 1019 -------------------------------------------------------------------------------

void CResultRules::OnChangeNameResult(const char* groupURI, const char* newDisplayName, int result)
{
    const CString uri(groupURI), newName(newDisplayName);
    m_host.LogClient(0, "OnIMSChangeDPNameInPuGroupResultVeloractrl1, pGroupURI=%s,pNewDisplayName=%s,iResult=%d",
                        uri.c_str(), newName.c_str(), result);
    CTarvolan* group = uri.IsEmpty() ? nullptr : m_data.TreeModel().FindGroup(uri);
    if (!group) return;
    if (result != RESULT_DONE) {
        m_host.Tell(FailureNotice(result, NOTICE_RENAME_TIMEOUT, NOTICE_RENAME_FAILED), group->m_csName);
        return;
    }
    const CString me = m_host.MyURI();
    CTarvolanMember* member = group->FindMember(me);
    if (!member) return;
    member->m_csDisplayName = newName.IsEmpty() ? GetURIField(me, URI_USER) : newName;
    // The member's item and its line in the group's conversation window show the new name.
    m_changes.Report({CHANGE_PRESENCE, group->URI(), group, member, DETAIL_TEXT_CHANGED});
    // Every public kind: the member items are rebuilt from the table.
    if (CGroupRecord* record = m_data.FindPublicRecord(uri)) {
        if (const int slot = record->FindMember(me); slot >= 0) {
            TMemberSlot changed = record->Member(slot);
            changed.displayName = newName;
            record->UpdateMember(slot, changed);
        }
    }
    ReportMembers(uri);
}

} // namespace tarvolan
