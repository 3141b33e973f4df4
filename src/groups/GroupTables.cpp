#include "groups/GroupTables.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "protocol/TarvolanAbi.h"

namespace tarvolan {

namespace {

int Lookup(const std::unordered_map<std::string, int>& index, const std::string& key)
{
    auto it = index.find(key);
    return it == index.end() ? -1 : it->second;
}

} // namespace

// ---- group list -----------------------------------------------------------

std::string CGroupList::Key(const CString& uri, const CString& name, int kind)
{
    std::string key = std::to_string(kind);
    key += '\x01';
    key += kind == GROUP_CONTACT_LIST ? name.str() : uri.str();
    return key;
}

void CGroupList::IndexEntry(int i)
{
    const TGroupListEntry& e = m_entries[static_cast<size_t>(i)];
    m_keyIndex.try_emplace(Key(e.uri, e.name, e.kind), i);
    m_uriIndex.try_emplace(e.uri.str(), i);
}

void CGroupList::Reindex()
{
    m_keyIndex.clear();
    m_uriIndex.clear();
    for (int i = 0; i < m_nGroupListCount; ++i) IndexEntry(i);
}

int CGroupList::Find(const CString& uri, const CString& name, int kind) const
{
    return Lookup(m_keyIndex, Key(uri, name, kind));
}

int CGroupList::FindByURI(const CString& uri) const
{
    return Lookup(m_uriIndex, uri.str());
}

int CGroupList::FindPublicByURI(const CString& uri) const
{
    for (int i = 0; i < m_nGroupListCount; ++i) {
        const TGroupListEntry& e = m_entries[static_cast<size_t>(i)];
        if (IsPublicKind(e.kind) && e.uri == uri) return i;
    }
    return -1;
}

int CGroupList::AddOrUpdate(const TGroupListEntry& entry)
{
    int i = Find(entry.uri, entry.name, entry.kind);
    if (i < 0) {
        if (IsFull()) return -1;
        i = m_nGroupListCount++;
        m_entries[static_cast<size_t>(i)] = entry;
        IndexEntry(i);
        return i;
    }
    TGroupListEntry& e = m_entries[static_cast<size_t>(i)];
    const bool uriChanges = !(e.uri == entry.uri);
    const int32_t usage = entry.usage != 0 ? entry.usage : e.usage;
    const CString name = entry.kind == GROUP_CONTACT_LIST ? e.name : entry.name;
    e = entry;
    e.usage = usage;
    e.name = name;
    if (uriChanges) Reindex();  // only a contact list, found by name, can change its URI
    return i;
}

void CGroupList::RemoveAt(int i)
{
    if (i < 0 || i >= m_nGroupListCount) return;
    const int last = m_nGroupListCount - 1;
    if (i != last) m_entries[static_cast<size_t>(i)] = std::move(m_entries[static_cast<size_t>(last)]);
    m_entries[static_cast<size_t>(last)] = TGroupListEntry{};
    --m_nGroupListCount;
    Reindex();
}

void CGroupList::Clear()
{
    for (int i = 0; i < m_nGroupListCount; ++i) m_entries[static_cast<size_t>(i)] = TGroupListEntry{};
    m_nGroupListCount = 0;
    m_keyIndex.clear();
    m_uriIndex.clear();
}

// ---- group record -----------------------------------------------------------

// ---- member slot index ---------------------------------------------------------

size_t CMemberSlotIndex::Home(std::string_view uri) const
{
    return std::hash<std::string_view>{}(uri) & (m_table.size() - 1);
}

int CMemberSlotIndex::Find(const std::vector<TMemberSlot>& slots, std::string_view uri) const
{
    if (m_table.empty()) return -1;
    for (size_t p = Home(uri);; p = (p + 1) & (m_table.size() - 1)) {
        const int i = m_table[p];
        if (i < 0) return -1;
        if (slots[static_cast<size_t>(i)].uri.view() == uri) return i;
    }
}

int CMemberSlotIndex::FindOrFree(const std::vector<TMemberSlot>& slots, std::string_view uri, size_t* free) const
{
    for (size_t p = Home(uri);; p = (p + 1) & (m_table.size() - 1)) {
        const int i = m_table[p];
        if (i < 0) {
            *free = p;
            return -1;
        }
        if (slots[static_cast<size_t>(i)].uri.view() == uri) return i;
    }
}

void CMemberSlotIndex::Claim(size_t place, int i)
{
    m_table[place] = static_cast<int16_t>(i);
    ++m_count;
}

void CMemberSlotIndex::Place(const std::vector<TMemberSlot>& slots, int i)
{
    size_t p = Home(slots[static_cast<size_t>(i)].uri.view());
    while (m_table[p] >= 0) p = (p + 1) & (m_table.size() - 1);
    m_table[p] = static_cast<int16_t>(i);
    ++m_count;
}

void CMemberSlotIndex::Insert(const std::vector<TMemberSlot>& slots, int i)
{
    if ((m_count + 1) * 2 > m_table.size()) {
        m_table.assign(std::max<size_t>(16, m_table.size() * 2), -1);
        m_count = 0;
        for (int j = 0; j < i; ++j) Place(slots, j);
    }
    Place(slots, i);
}

void CMemberSlotIndex::Reset(size_t expected)
{
    size_t size = 16;
    while (expected * 2 > size) size *= 2;
    m_table.assign(expected == 0 ? 0 : size, -1);
    m_count = 0;
}

void CMemberSlotIndex::Rebuild(const std::vector<TMemberSlot>& slots)
{
    Reset(slots.size());
    for (size_t j = 0; j < slots.size(); ++j) Place(slots, static_cast<int>(j));
}

// ---- group record ---------------------------------------------------------------

int CGroupRecord::FindMember(const CString& uri) const
{
    return m_memberIndex.Find(m_members, uri.view());
}

bool CGroupRecord::AddMember(TMemberSlot slot)
{
    if (MemberCount() >= kMemberCapacity || FindMember(slot.uri) >= 0) return false;
    m_members.push_back(std::move(slot));
    m_memberIndex.Insert(m_members, MemberCount() - 1);
    return true;
}

bool CGroupRecord::UpdateMember(int i, TMemberSlot slot)
{
    if (i < 0 || i >= MemberCount()) return false;
    TMemberSlot& current = m_members[static_cast<size_t>(i)];
    const bool moved = !(current.uri == slot.uri);
    if (moved && FindMember(slot.uri) >= 0) return false;
    current = std::move(slot);
    if (moved) m_memberIndex.Rebuild(m_members);
    return true;
}

bool CGroupRecord::RemoveMember(const CString& uri)
{
    const int i = FindMember(uri);
    if (i < 0) return false;
    const int last = MemberCount() - 1;
    if (i != last) m_members[static_cast<size_t>(i)] = std::move(m_members[static_cast<size_t>(last)]);
    m_members.pop_back();
    m_memberIndex.Rebuild(m_members);
    return true;
}

void CGroupRecord::ClearMembers(size_t expected)
{
    const size_t kept = std::min<size_t>(expected, kMemberCapacity);
    m_members.clear();
    m_members.reserve(kept);
    m_memberIndex.Reset(kept);
}

void CGroupRecord::SetMembers(std::vector<TMemberSlot> members)
{
    ClearMembers(members.size());
    size_t free = 0;
    for (TMemberSlot& slot : members) {
        if (MemberCount() >= kMemberCapacity) break;
        if (m_memberIndex.FindOrFree(m_members, slot.uri.view(), &free) >= 0) continue;  // later repeats left out
        m_members.push_back(std::move(slot));
        m_memberIndex.Claim(free, MemberCount() - 1);
    }
}

void CGroupRecord::SetMembers(const TMemberEntry* entries, int count)
{
    ClearMembers(entries ? static_cast<size_t>(std::max(count, 0)) : 0);
    size_t free = 0;
    for (int i = 0; entries && i < count && MemberCount() < kMemberCapacity; ++i) {
        const TMemberEntry& e = entries[i];
        const std::string_view uri = FieldView(e.UserURI);
        if (uri.empty() || m_memberIndex.FindOrFree(m_members, uri, &free) >= 0) continue;
        TMemberSlot& slot = m_members.emplace_back();
        slot.uri.str().assign(uri);
        slot.displayName.str().assign(FieldView(e.DisplayName));
        slot.info.str().assign(FieldView(e.csInfo));
        slot.phone.str().assign(FieldView(e.csPhone));
        m_memberIndex.Claim(free, MemberCount() - 1);
    }
}

bool CGroupRecord::IsBlacklisted(const CString& uri) const
{
    for (const CString& entry : m_blacklist)
        if (entry == uri) return true;
    return false;
}

void CGroupRecord::SetBlacklist(std::vector<CString> uris)
{
    if (uris.size() > static_cast<size_t>(kBlacklistCapacity)) uris.resize(kBlacklistCapacity);
    m_blacklist = std::move(uris);
}

void CGroupRecord::Reset()
{
    *this = CGroupRecord{};
}

// ---- group table ------------------------------------------------------------

int CGroupTable::Find(const CString& uri) const
{
    return Lookup(m_uriIndex, uri.str());
}

CGroupRecord* CGroupTable::Get(const CString& uri)
{
    const int i = Find(uri);
    return i < 0 ? nullptr : &m_records[static_cast<size_t>(i)];
}

const CGroupRecord* CGroupTable::Get(const CString& uri) const
{
    const int i = Find(uri);
    return i < 0 ? nullptr : &m_records[static_cast<size_t>(i)];
}

CGroupRecord* CGroupTable::Add(const CString& uri)
{
    if (CGroupRecord* existing = Get(uri)) return existing;
    if (IsFull()) return nullptr;
    const int i = m_nGroupTableCount++;
    CGroupRecord& record = m_records[static_cast<size_t>(i)];
    record.Reset();
    record.m_uri = uri;
    m_uriIndex.emplace(uri.str(), i);
    return &record;
}

void CGroupTable::RemoveAt(int i)
{
    if (i < 0 || i >= m_nGroupTableCount) return;
    const int last = m_nGroupTableCount - 1;
    m_uriIndex.erase(m_records[static_cast<size_t>(i)].m_uri.str());
    if (i != last) {
        m_records[static_cast<size_t>(i)] = std::move(m_records[static_cast<size_t>(last)]);
        m_uriIndex[m_records[static_cast<size_t>(i)].m_uri.str()] = i;
    }
    m_records[static_cast<size_t>(last)].Reset();
    --m_nGroupTableCount;
}

void CGroupTable::Clear()
{
    for (int i = 0; i < m_nGroupTableCount; ++i) m_records[static_cast<size_t>(i)].Reset();
    m_nGroupTableCount = 0;
    m_uriIndex.clear();
}

} // namespace tarvolan
