// The group list and the group table: the two fixed-size tables of the groups
// the host reported. No Qt here.
//
// The group list holds one short entry per group or contact list (at most
// 200); the group table one full record per public group with its members
// (at most 300) and blacklist (at most 100). Both keep the order of a plain
// array: additions go to the end, a removal moves the last entry into the
// freed place. Lookups answer the first match of a scan in array order; hash
// indexes kept in step with every change make them constant-time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/GbkString.h"
#include "groups/RareText.h"

namespace tarvolan {

struct TMemberEntry;

// Kinds of groups as the host reports them.
enum EGroupKind : int {
    GROUP_CONTACT_LIST = 1,  // a list of the user's own contacts (told apart by usage)
    GROUP_PUBLIC = 2,        // ordinary public group
    GROUP_BASIC = 5,         // the two other public kinds
    GROUP_MUTUAL = 6,
};
// The signed-in user's role in a group.
enum EGroupRole : int { ROLE_OWNER = 1, ROLE_MEMBER = 2, ROLE_NONE = 3 };

inline bool IsPublicKind(int kind)
{
    return kind == GROUP_PUBLIC || kind == GROUP_BASIC || kind == GROUP_MUTUAL;
}

constexpr int kGroupCapacity = 200;
constexpr int kMemberCapacity = 300;
constexpr int kBlacklistCapacity = 100;

struct TGroupListEntry {
    CString uri;          // empty for the usage-3 contact list
    CString name;
    int32_t kind = 0;
    int32_t usage = 0;
    CString owner;
    int32_t role = 0;
    CString creator;
    CString creationTime;
    int32_t duration = 0;
    int32_t visibility = 0;  // 1-based
    int32_t needPermit = 0;
    int32_t maxMembers = 0;
    CString subject;
    CString bulletin;
};

class CGroupList {
public:
    static constexpr int kCapacity = kGroupCapacity;

    int Count() const { return m_nGroupListCount; }
    bool IsFull() const { return m_nGroupListCount >= kCapacity; }
    const TGroupListEntry& operator[](int i) const { return m_entries[static_cast<size_t>(i)]; }

    // The entry that stands for a group: for kind 1 the contact list of that
    // name, for other kinds the entry with that URI and kind. -1 when none.
    int Find(const CString& uri, const CString& name, int kind) const;
    // The first entry with that URI, of any kind; -1 when none.
    int FindByURI(const CString& uri) const;
    // The first entry of a public kind with that URI; -1 when none.
    int FindPublicByURI(const CString& uri) const;

    // Appends the entry, or overwrites the one that stands for the same group
    // (the usage only with a non-zero value, the name only for kinds other
    // than 1). Returns the entry's index; -1 when a new entry does not fit.
    int AddOrUpdate(const TGroupListEntry& entry);
    // Changes entry i through change(entry&); the indexes follow.
    template <class F> void Modify(int i, F&& change)
    {
        change(m_entries[static_cast<size_t>(i)]);
        Reindex();
    }
    // Removes entry i: the last entry moves into its place and the last
    // place is emptied.
    void RemoveAt(int i);
    void Clear();

private:
    static std::string Key(const CString& uri, const CString& name, int kind);
    void IndexEntry(int i);
    void Reindex();

    int32_t m_nGroupListCount = 0;
    std::array<TGroupListEntry, kCapacity> m_entries;
    std::unordered_map<std::string, int> m_keyIndex;  // Key() -> first entry
    std::unordered_map<std::string, int> m_uriIndex;  // URI -> first entry
};

// Member information of a member who is in the group.
inline constexpr const char* kMemberInGroup = "Forward";

// One member of a group record.
struct TMemberSlot {
    CString displayName;
    CString info;      // member information, for example "Forward"
    CString uri;       // the slot's key
    int32_t value = 0;
    CRareText extra1;  // two further texts, which no message fills
    CRareText extra2;
    CString phone;
};

inline TMemberSlot MemberSlot(const CString& uri, const CString& displayName, const CString& info,
                              const CString& phone = CString())
{
    TMemberSlot slot;
    slot.uri = uri;
    slot.displayName = displayName;
    slot.info = info;
    slot.phone = phone;
    return slot;
}

class CGroupTable;

// The slots of a record's members by URI: open addressing over a
// power-of-two table of slot numbers, at most half full. The URIs stay in
// the slots (a table of 300 members costs 1 KB, not a copy of every URI).
class CMemberSlotIndex {
public:
    // The slot whose URI that is; -1 when none.
    int Find(const std::vector<TMemberSlot>& slots, std::string_view uri) const;
    // Adds slot i, whose URI is not in the index yet.
    void Insert(const std::vector<TMemberSlot>& slots, int i);
    // The slot with that URI, or -1 and in *free the place that slot would
    // take: Claim(*free, i) files it there without hashing the URI again
    // (while the index holds fewer than the members it was Reset for).
    int FindOrFree(const std::vector<TMemberSlot>& slots, std::string_view uri, size_t* free) const;
    void Claim(size_t place, int i);
    // Indexes the slots anew (after slots moved or changed their URI).
    void Rebuild(const std::vector<TMemberSlot>& slots);
    // Empties the index, sized for that many members without growing.
    void Reset(size_t expected);

private:
    size_t Home(std::string_view uri) const;
    void Place(const std::vector<TMemberSlot>& slots, int i);

    std::vector<int16_t> m_table;  // slot numbers; -1 for a free place
    size_t m_count = 0;
};

// The full record of one public group. The URI is the table's key and
// changes only through the table; member URIs are unique in a record.
class CGroupRecord {
public:
    int32_t kind = 0;
    int32_t role = 0;
    CString name;
    int32_t spare = 0;         // carried along, no meaning to the module
    int32_t chatRoomFlag = 0;  // non-zero: the context menu leaves out the chat room

    const CString& URI() const { return m_uri; }

    int MemberCount() const { return static_cast<int>(m_members.size()); }
    const TMemberSlot& Member(int i) const { return m_members[static_cast<size_t>(i)]; }
    const std::vector<TMemberSlot>& Members() const { return m_members; }
    // Slot of the member with that URI; -1 when none.
    int FindMember(const CString& uri) const;
    // Appends a member; false when the record is full or the URI is there.
    bool AddMember(TMemberSlot slot);
    // Replaces the fields of slot i; false when the new URI is another
    // member's.
    bool UpdateMember(int i, TMemberSlot slot);
    // Removes the member: the last used slot moves into its place. False
    // when the URI is not there.
    bool RemoveMember(const CString& uri);
    // Replaces every member: at most 300, later repeats of a URI left out.
    void SetMembers(std::vector<TMemberSlot> members);
    // The same from the host's member entries, read into the slots in place;
    // an entry without a URI is left out.
    void SetMembers(const TMemberEntry* entries, int count);

    int BlacklistCount() const { return static_cast<int>(m_blacklist.size()); }
    const std::vector<CString>& Blacklist() const { return m_blacklist; }
    bool IsBlacklisted(const CString& uri) const;
    // Replaces the blacklist: at most 100 entries.
    void SetBlacklist(std::vector<CString> uris);

private:
    friend class CGroupTable;
    void Reset();
    void ClearMembers(size_t expected);

    CString m_uri;
    std::vector<TMemberSlot> m_members;
    std::vector<CString> m_blacklist;
    CMemberSlotIndex m_memberIndex;
};

class CGroupTable {
public:
    static constexpr int kCapacity = kGroupCapacity;

    int Count() const { return m_nGroupTableCount; }
    bool IsFull() const { return m_nGroupTableCount >= kCapacity; }
    CGroupRecord& operator[](int i) { return m_records[static_cast<size_t>(i)]; }
    const CGroupRecord& operator[](int i) const { return m_records[static_cast<size_t>(i)]; }

    // Index of the record with that URI; -1 when none.
    int Find(const CString& uri) const;
    CGroupRecord* Get(const CString& uri);
    const CGroupRecord* Get(const CString& uri) const;
    // The record for that URI: the existing one, or a new empty one at the
    // end. Null when the URI is new and the table is full.
    CGroupRecord* Add(const CString& uri);
    // Removes record i: the last record moves into its place and the last
    // place is emptied.
    void RemoveAt(int i);
    void Clear();

private:
    int32_t m_nGroupTableCount = 0;
    std::array<CGroupRecord, kCapacity> m_records;
    std::unordered_map<std::string, int> m_uriIndex;
};

} // namespace tarvolan
