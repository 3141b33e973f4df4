#include "groups/GroupTreeModel.h"

#include <algorithm>

#include "common/TextFunctions.h"

namespace tarvolan {

CGroupTreeModel::~CGroupTreeModel()
{
    Clear();
}

std::string CGroupTreeModel::LowerKey(const CString& uri)
{
    CString lower(uri);
    lower.MakeLower();
    return std::move(lower.str());
}

// The group URI's length in front keeps every pair apart.
std::string CGroupTreeModel::PairKey(const CString& groupURI, const CString& memberURI)
{
    std::string key = std::to_string(groupURI.GetLength());
    key += ':';
    key += groupURI.str();
    key += memberURI.str();
    return key;
}

CTarvolan* CGroupTreeModel::FindGroup(const CString& uri) const
{
    return m_groupIndex.Find(uri.view());
}

CTarvolan* CGroupTreeModel::CreateOrUpdateGroup(const TGroupListEntry& entry, bool* created)
{
    CTarvolan* group = FindGroup(entry.uri);
    if (created) *created = group == nullptr;
    if (!group) {
        group = new CTarvolan(entry.uri);
        m_groups.push_back(group);
        m_groupIndex.Insert(group);
    }
    group->m_csName = entry.name;
    group->m_csOwnerURI = entry.owner;
    group->m_csCreator = entry.creator;
    group->m_csCreationTime = entry.creationTime;
    group->m_nDuration = entry.duration;
    group->m_nVisibility = entry.visibility;
    group->m_nNeedPermit = entry.needPermit;
    group->m_nMaxMembers = entry.maxMembers;
    group->m_csSubject = entry.subject;
    group->m_csBulletin = entry.bulletin;
    group->m_nKind = entry.kind;
    return group;
}

void CGroupTreeModel::RemoveGroup(const CString& uri)
{
    CTarvolan* group = FindGroup(uri);
    if (!group) return;
    if (m_pListener) m_pListener->OnGroupRemoving(*group);
    m_memberTotal -= group->m_members.size();
    m_bNoCaseIndexValid = false;
    m_groupIndex.Erase(group);
    m_groups.erase(std::find(m_groups.begin(), m_groups.end(), group));
    for (const CTarvolanMember* member : group->m_members) m_freeMemberNumbers.push_back(member->Number());
    delete group;
}

CTarvolanMember* CGroupTreeModel::FindMember(const CString& groupURI, const CString& memberURI) const
{
    const CTarvolan* group = FindGroup(groupURI);
    return group ? group->FindMember(memberURI) : nullptr;
}

CTarvolanMember* CGroupTreeModel::CreateOrUpdateMember(CTarvolan& group, const TMemberSlot& slot, bool* created)
{
    const size_t hash = CKeyIndex<CTarvolanMember>::Hash(slot.uri.view());
    CTarvolanMember* member = group.m_memberIndex.Find(slot.uri.view(), hash);
    if (created) *created = member == nullptr;
    if (!member) {
        // Members reach the tree from the tables and from invitation and join
        // answers; however they come, a group holds no more than its table.
        if (group.MemberCount() >= kMemberCapacity) {
            if (created) *created = false;
            return nullptr;
        }
        member = new CTarvolanMember(&group, slot.uri, TakeMemberNumber());
        group.m_members.push_back(member);
        group.m_memberIndex.Insert(member, hash);
        ++m_memberTotal;
        m_bNoCaseIndexValid = false;
    }
    if (slot.displayName.IsEmpty()) member->m_csDisplayName = GetURIField(slot.uri, URI_USER);
    else member->m_csDisplayName = slot.displayName;  // into the member's own buffer, no temporary
    member->m_csInfo = slot.info;
    member->m_csPhone = slot.phone;
    member->m_nValue = slot.value;
    return member;
}

uint32_t CGroupTreeModel::TakeMemberNumber()
{
    if (m_freeMemberNumbers.empty()) return m_nextMemberNumber++;
    const uint32_t number = m_freeMemberNumbers.back();
    m_freeMemberNumbers.pop_back();
    return number;
}

void CGroupTreeModel::ReserveMembers(CTarvolan& group, int count)
{
    const size_t wanted = static_cast<size_t>(std::clamp(count, 0, kMemberCapacity));
    group.m_members.reserve(wanted);
    group.m_memberIndex.Reserve(wanted);
}

bool CGroupTreeModel::DropMember(CTarvolan& group, const CString& memberURI)
{
    CTarvolanMember* member = group.FindMember(memberURI);
    if (!member) return false;
    if (m_pListener) m_pListener->OnMemberRemoving(*member);
    --m_memberTotal;
    m_bNoCaseIndexValid = false;
    group.m_memberIndex.Erase(member);
    group.m_members.erase(std::find(group.m_members.begin(), group.m_members.end(), member));
    m_freeMemberNumbers.push_back(member->Number());
    delete member;
    return true;
}

bool CGroupTreeModel::RemoveMember(CTarvolan& group, const CString& memberURI)
{
    return RemoveMembers(group, {memberURI}) > 0;
}

int CGroupTreeModel::RemoveMembers(CTarvolan& group, const std::vector<CString>& memberURIs)
{
    int removed = 0;
    for (const CString& uri : memberURIs) removed += DropMember(group, uri) ? 1 : 0;
    if (removed > 0 && m_pListener) m_pListener->OnMembersRemoved(group);
    return removed;
}

const std::vector<CTarvolanMember*>* CGroupTreeModel::MembersNoCase(const CString& uri) const
{
    if (!m_bNoCaseIndexValid) {  // built in tree order: each list is in tree order

        m_membersNoCase.clear();
        m_membersNoCase.reserve(m_memberTotal);
        for (CTarvolan* group : m_groups)
            for (CTarvolanMember* member : group->m_members) m_membersNoCase[LowerKey(member->URI())].push_back(member);
        m_bNoCaseIndexValid = true;
    }
    auto it = m_membersNoCase.find(LowerKey(uri));
    return it == m_membersNoCase.end() ? nullptr : &it->second;
}

std::vector<CTarvolanMember*> CGroupTreeModel::FindMembersNoCase(const CString& uri) const
{
    const std::vector<CTarvolanMember*>* found = MembersNoCase(uri);
    return found ? *found : std::vector<CTarvolanMember*>();
}

CTarvolanMember* CGroupTreeModel::FindFirstMember(const CString& uri) const
{
    const std::vector<CTarvolanMember*>* found = MembersNoCase(uri);
    if (!found) return nullptr;
    for (CTarvolanMember* member : *found)
        if (member->URI() == uri) return member;
    return nullptr;
}

bool CGroupTreeModel::CachePresence(const CString& groupURI, const CString& memberURI,
                                    const TCachedPresence& presence)
{
    std::string key = PairKey(groupURI, memberURI);
    auto it = m_presenceCache.find(key);
    const size_t oldText = it == m_presenceCache.end() ? 0 : it->second.text.str().size();
    const size_t added = (it == m_presenceCache.end() ? key.size() : 0) + presence.text.str().size();
    const size_t bytes = m_presenceCacheBytes - oldText + added;
    if (bytes > kPresenceCacheBytes) return false;
    if (it != m_presenceCache.end()) {
        it->second = presence;
    } else {
        if (m_presenceCache.size() >= kPresenceCacheLimit) return false;
        m_presenceCache.emplace(std::move(key), presence);
    }
    m_presenceCacheBytes = bytes;
    return true;
}

bool CGroupTreeModel::TakeCachedPresence(const CString& groupURI, const CString& memberURI,
                                         TCachedPresence& presence)
{
    if (m_presenceCache.empty()) return false;
    auto it = m_presenceCache.find(PairKey(groupURI, memberURI));
    if (it == m_presenceCache.end()) return false;
    m_presenceCacheBytes -= it->first.size() + it->second.text.str().size();
    presence = std::move(it->second);
    m_presenceCache.erase(it);
    return true;
}

void CGroupTreeModel::Clear()
{
    std::vector<CTarvolan*> groups;
    groups.swap(m_groups);
    m_groupIndex.Clear();
    m_membersNoCase.clear();
    m_bNoCaseIndexValid = false;
    m_memberTotal = 0;
    m_nextMemberNumber = 0;
    m_freeMemberNumbers.clear();
    m_presenceCache.clear();
    m_presenceCacheBytes = 0;
    for (CTarvolan* group : groups) delete group;
}

} // namespace tarvolan
