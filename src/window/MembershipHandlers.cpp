// Notifications about the groups I belong to: a member joined, changed or
// left (1010), a group was deleted (1020) and I was removed from a group
// (1021).
#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "common/TextFunctions.h"
#include "window/EventSupport.h"
#include "groups/Presence.h"
#include "controls/AskInHandler.h"
#include "controls/Prompts.h"
#include "window/TarvolanDialog.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

enum EMemberNotice : int { MEMBER_JOINED = 1, MEMBER_CHANGED = 2, MEMBER_LEFT = 3 };

// The URI of the first public group listed with that name and owner; empty
// when none.
CString ListedGroupURI(const CGroupList& list, const CString& name, const CString& owner)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TGroupListEntry& e = list[i];
        if (IsPublicKind(e.kind) && e.name == name && e.owner == owner) return e.uri;
    }
    return CString();
}

// The name of the ordinary public group listed with that URI; empty when none.
CString ListedGroupName(const CGroupList& list, const CString& uri)
{
    for (int i = 0; i < list.Count(); ++i)
        if (list[i].kind == GROUP_PUBLIC && list[i].uri == uri) return list[i].name;
    return CString();
}

} // namespace

// ---- 1010 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSPublicGroupMemberNotify(int iType, const char* pGroupName, const char* pOwnerURI,
                                                   const char* pMemberURI, const char* pMemberDisplay,
                                                   const char* pMemberInfo, const char* pMemberPhone)
{
    const CString groupName(pGroupName), ownerURI(pOwnerURI);
    const TMemberSlot notified = MemberSlot(pMemberURI, pMemberDisplay, pMemberInfo, pMemberPhone);
    CString line;
    line.Format("OnIMSPublicGroupMemberNotifyVeloractrl1:iType=%d, pGroupName=%s,pOwnerURI=%s,pMemberURI=%s,"
                "pMemberDisplay=%s,pMemberInfo=%s,pMemberPhone=%s",
                iType, groupName.c_str(), ownerURI.c_str(), notified.uri.c_str(), notified.displayName.c_str(),
                notified.info.c_str(), notified.phone.c_str());
    WriteLog(line, 0);

    const CString groupURI = ListedGroupURI(m_GroupData.GroupList(), groupName, ownerURI);
    if (groupURI.IsEmpty() || notified.uri.IsEmpty()) return;
    if (iType == MEMBER_LEFT) {
        m_GroupData.RemoveMemberFromTable(groupURI, notified.uri);
        if (CTarvolan* group = m_GroupData.TreeModel().FindGroup(groupURI)) m_GroupData.TreeModel().RemoveMember(*group, notified.uri);
    } else if (iType == MEMBER_JOINED || iType == MEMBER_CHANGED) {
        CGroupRecord* record = m_GroupData.FindPublicRecord(groupURI);
        if (!record || !(record->name == groupName)) return;
        const int slot = record->FindMember(notified.uri);
        if (slot >= 0) {
            TMemberSlot member = record->Member(slot);
            if (iType == MEMBER_JOINED) {
                member.phone = notified.phone;  // a member listed already keeps the rest
            } else {
                member.displayName = notified.displayName;
                member.info = notified.info;
                member.phone = notified.phone;
            }
            record->UpdateMember(slot, member);
        } else if (iType == MEMBER_JOINED) {
            record->AddMember(notified);  // a full group (300 members) takes no more
        }
    } else {
        return;
    }
    RebuildGroupAndMembers(groupURI);
}

// ---- 1020 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSPublicGroupDeleted(const char* pGroupURI)
{
    const CString uri(pGroupURI);
    CString line;
    line.Format("OnIMSPublicGroupDeletedVeloractrl1, pGroupURI=%s", uri.c_str());
    WriteLog(line, 0);
    const CString name = ListedGroupName(m_GroupData.GroupList(), uri);
    const auto shown = AskInHandler(this, [&] {
        ShowNotice(this, ResText(IDS_GROUP_DELETED_BY_ADMIN, name.IsEmpty() ? uri : name));
        return true;
    });
    if (!shown.WindowAlive()) return;
    m_GroupData.RemoveGroup(uri);
}

// ---- 1021 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSDeleteMeInPublicGroup(const char* pGroupURI)
{
    const CString uri(pGroupURI);
    CString line;
    line.Format("OnIMSDeleteMeInPublicGroupVeloractrl1, pGroupURI=%s", uri.c_str());
    WriteLog(line, 0);
    if (!SignedInNow()) return;

    CString name = ListedGroupName(m_GroupData.GroupList(), uri);
    if (name.IsEmpty()) {
        name = GetURIField(uri, URI_USER);
        line.Format("Protected Log: Exited from the public group %s", name.c_str());
        WriteLog(line, 0);
    }
    // The notice comes once the group has left the window; each removal
    // posts its own command and queues its own notice.
    m_DeferredNotices.push_back(ResText(IDS_REMOVED_FROM_GROUP, name));
    PostCommand(this, kDeferredNoticeCommand, 0);
    m_GroupData.RemoveGroup(uri);
}

void CTarvolanDialog::ShowDeferredNotice()
{
    if (m_DeferredNotices.empty()) return;  // a command that no removal posted
    const CString text = m_DeferredNotices.front();
    m_DeferredNotices.pop_front();  // before the box: removals meanwhile queue behind it
    ShowNotice(this, text);
}

} // namespace tarvolan
