#include "groups/MembershipRules.h"

#include "common/TextFunctions.h"
#include "groups/Presence.h"

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

void CMembershipRules::OnMemberNotify(int type, const char* groupName, const char* ownerURI, const char* memberURI,
                                      const char* memberDisplay, const char* memberInfo, const char* memberPhone)
{
    const CString name(groupName), owner(ownerURI);
    const TMemberSlot notified = MemberSlot(memberURI, memberDisplay, memberInfo, memberPhone);
    m_host.LogClient(0, "OnIMSPublicGroupMemberNotifyVeloractrl1:iType=%d, pGroupName=%s,pOwnerURI=%s,pMemberURI=%s,"
                        "pMemberDisplay=%s,pMemberInfo=%s,pMemberPhone=%s",
                        type, name.c_str(), owner.c_str(), notified.uri.c_str(), notified.displayName.c_str(),
                        notified.info.c_str(), notified.phone.c_str());

    const CString groupURI = ListedGroupURI(m_data.GroupList(), name, owner);
    if (groupURI.IsEmpty() || notified.uri.IsEmpty()) return;
    if (!ApplyMemberNotice(type, groupURI, name, notified)) return;
    m_changes.Report({CHANGE_MEMBERS, groupURI, m_data.TreeModel().FindGroup(groupURI)});
}

bool CMembershipRules::ApplyMemberNotice(int type, const CString& groupURI, const CString& groupName,
                                         const TMemberSlot& notified)
{
    if (type == MEMBER_LEFT) {
        m_data.RemoveMemberFromTable(groupURI, notified.uri);
        if (CTarvolan* group = m_data.TreeModel().FindGroup(groupURI)) m_data.TreeModel().RemoveMember(*group, notified.uri);
        return true;
    }
    if (type != MEMBER_JOINED && type != MEMBER_CHANGED) return false;
    CGroupRecord* record = m_data.FindPublicRecord(groupURI);
    if (!record || !(record->name == groupName)) return false;
    const int slot = record->FindMember(notified.uri);
    if (slot >= 0) {
        TMemberSlot member = record->Member(slot);
        if (type == MEMBER_JOINED) {
            member.phone = notified.phone;  // a member listed already keeps the rest
        } else {
            member.displayName = notified.displayName;
            member.info = notified.info;
            member.phone = notified.phone;
        }
        record->UpdateMember(slot, member);
    } else if (type == MEMBER_JOINED) {
        record->AddMember(notified);  // a full group (300 members) takes no more
    }
    return true;
}

// ---- 1020 -------------------------------------------------------------------------------

void CMembershipRules::OnGroupDeleted(const char* groupURI)
{
    const CString uri(groupURI);
    m_host.LogClient(0, "OnIMSPublicGroupDeletedVeloractrl1, pGroupURI=%s", uri.c_str());
    const CString name = ListedGroupName(m_data.GroupList(), uri);
    if (!m_host.Notice(NOTICE_GROUP_DELETED, name.IsEmpty() ? uri : name)) return;
    m_data.RemoveGroup(uri);
}

// ---- 1021 -------------------------------------------------------------------------------

void CMembershipRules::OnRemovedFromGroup(const char* groupURI)
{
    const CString uri(groupURI);
    m_host.LogClient(0, "OnIMSDeleteMeInPublicGroupVeloractrl1, pGroupURI=%s", uri.c_str());
    if (!m_host.SignedIn()) return;

    CString name = ListedGroupName(m_data.GroupList(), uri);
    if (name.IsEmpty()) {
        name = GetURIField(uri, URI_USER);
        m_host.LogClient(0, "Protected Log: Exited from the public group %s", name.c_str());
    }
    m_host.Notice(NOTICE_REMOVED_FROM_GROUP, name);  // shown once the group has left the window
    m_data.RemoveGroup(uri);
}

// ---- 1031 -------------------------------------------------------------------------------

void CMembershipRules::OnGroupInfoFailed(const char* groupURI, int result)
{
    const CString uri(groupURI ? groupURI : "");
    m_host.LogClient(0, "OnIMSGetPublicGroupInfoListFailedVeloractrl1....GroupURI=%s,Result=%d", uri.c_str(), result);
    switch (result) {
    case 403:
        if (!uri.IsEmpty()) OnRemovedFromGroup(uri.c_str());
        break;
    case 404:
        if (!uri.IsEmpty()) OnGroupDeleted(uri.c_str());
        break;
    default:
        m_host.Notice(NOTICE_FETCH_FAILED, CString());
        break;
    }
}

// ---- 1028, 1035 -------------------------------------------------------------------------

void CMembershipRules::OnMemberPresence(const char* groupURI, const char* memberURI, const char* presence)
{
    const CString group(groupURI), member(memberURI), text(presence);
    if (member.IsEmpty() || member == m_host.MyURI()) return;
    const int code = PresenceCodeFromText(presence);
    if (!ApplyPresence(group, member, code, text))
        m_data.TreeModel().CachePresence(group, member, TCachedPresence{code, code, text});
}

bool CMembershipRules::ApplyPresence(const CString& groupURI, const CString& memberURI, int code,
                                     const CString& text)
{
    CTarvolanMember* member = m_data.TreeModel().FindMember(groupURI, memberURI);
    if (!member) return false;
    const bool textShown = member->ShowsStatusText();
    member->SetPresence(code, text);
    const bool textChanged = textShown || member->ShowsStatusText();
    m_changes.Report({CHANGE_PRESENCE, member->GroupURI(), member->Group(), member,
                      textChanged ? DETAIL_TEXT_CHANGED : DETAIL_NONE});
    return true;
}

} // namespace tarvolan
