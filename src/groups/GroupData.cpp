#include "groups/GroupData.h"

namespace tarvolan {

void CGroupData::AddOrUpdateGroupListEntry(const TGroupListEntry& entry)
{
    m_GroupList.AddOrUpdate(entry);
}

bool CGroupData::GroupListHas(const CString& uri, const CString& name, int kind) const
{
    return m_GroupList.Find(uri, name, kind) >= 0;
}

CString CGroupData::GetGroupURIByName(const CString& name, int role, const CString& owner) const
{
    if (role != ROLE_OWNER && role != ROLE_MEMBER) return CString();
    for (int i = 0; i < m_GroupList.Count(); ++i) {
        const TGroupListEntry& e = m_GroupList[i];
        if (e.kind != GROUP_PUBLIC || !(e.name == name) || e.role != role) continue;
        if (role == ROLE_OWNER || e.owner == owner) return e.uri;
    }
    return CString();
}

CGroupRecord* CGroupData::FindPublicRecord(const CString& uri)
{
    CGroupRecord* record = m_GroupTable.Get(uri);
    return record && IsPublicKind(record->kind) ? record : nullptr;
}

void CGroupData::RemoveGroup(const CString& uri)
{
    m_GroupList.RemoveAt(m_GroupList.FindPublicByURI(uri));
    if (FindPublicRecord(uri)) m_GroupTable.RemoveAt(m_GroupTable.Find(uri));
    m_TreeModel.RemoveGroup(uri);
    m_SubscribedGroups.Remove(uri);
    m_InfoRequestedGroups.Remove(uri);
}

void CGroupData::RemoveMemberFromTable(const CString& groupURI, const CString& memberURI)
{
    if (CGroupRecord* record = FindPublicRecord(groupURI)) record->RemoveMember(memberURI);
}

int CGroupData::IMSUserIsInOnePubGroup(const CString& csGroupURI, const CString& csUserURI, int iType,
                                           int nFindType)
{
    CString line;
    line.Format("CTarvolanDialog::IMSUserIsInOnePubGroup(csGrouURI=%s, csUserURI=%s, iType=%d nFindType=%d)",
                csGroupURI.c_str(), csUserURI.c_str(), iType, nFindType);
    Log(line, 0);
    if (iType != 2) return 0;
    const CGroupRecord* record = m_GroupTable.Get(csGroupURI);
    if (!record || record->kind != GROUP_PUBLIC) return 0;
    if ((nFindType == 0 || nFindType == 1) && record->FindMember(csUserURI) >= 0) return 1;
    if ((nFindType == 0 || nFindType == 2) && record->IsBlacklisted(csUserURI)) return 1;
    return 0;
}

bool CGroupData::IsInvitePending(const CString& account, const CString& groupName) const
{
    try {
        for (const TInvitePending& invite : m_InvitesPending)
            if (invite.account == account && invite.groupName == groupName) return true;
    } catch (...) {
        return false;
    }
    return false;
}

void CGroupData::RemoveInvitePending(const CString& account, const CString& groupName)
{
    try {
        m_InvitesPending.remove_if([&](const TInvitePending& invite) {
            return invite.account == account && invite.groupName == groupName;
        });
    } catch (...) {
        Log("===remove item from m_pListTarvolanInvite::exception===", 0);
    }
}

void CGroupData::EmptyPendingLists()
{
    m_JoinApplications.clear();
    m_TransferRequests.clear();
    m_InvitesPending.clear();
    m_PendingCreates.clear();
}

const TGroupListEntry* CGroupData::FindListEntry(const CString& uri) const
{
    const int i = m_GroupList.FindByURI(uri);
    return i >= 0 ? &m_GroupList[i] : nullptr;
}

const CGroupRecord* CGroupData::FindRecord(const CString& uri) const
{
    return m_GroupTable.Get(uri);
}

} // namespace tarvolan
