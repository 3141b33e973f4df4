// The group tree model: the CTarvolan objects of the public groups shown in
// the tree, each with its CTarvolanMember objects, and the presence cache of
// members that have no object yet. No Qt here.
//
// Groups are found by URI and members by (group, URI) through hash indexes
// kept in step with every addition and removal. A third index finds the
// members of every group by URI without regard to letter case; it serves the
// rare profile messages, so it is built on the first such look-up after a
// change rather than on every addition.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/GbkString.h"
#include "groups/GroupTables.h"
#include "groups/KeyIndex.h"
#include "groups/Tarvolan.h"

namespace tarvolan {

// A presence that arrived for a member before its object existed.
struct TCachedPresence {
    int32_t kind = 0;
    int32_t code = 0;
    CString text;
};

// Told before a group or member object is deleted, so that the tree items
// and windows that show it can go first.
class CGroupTreeListener {
public:
    virtual ~CGroupTreeListener() = default;
    virtual void OnGroupRemoving(CTarvolan& group) = 0;
    virtual void OnMemberRemoving(CTarvolanMember& member) = 0;
    // Told once after members of the group went (however many), so that the
    // views listing its members refill their lists once.
    virtual void OnMembersRemoved(CTarvolan& /*group*/) {}
};

class CGroupTreeModel {
public:
    // The presence cache never holds more entries than the tables can hold
    // members, nor more text than this many bytes (URIs and presence texts
    // are as long as the host makes them); later entries for unknown members
    // are dropped.
    static constexpr size_t kPresenceCacheLimit = size_t{kGroupCapacity} * kMemberCapacity;
    static constexpr size_t kPresenceCacheBytes = size_t{32} * 1024 * 1024;

    CGroupTreeModel() = default;
    ~CGroupTreeModel();
    CGroupTreeModel(const CGroupTreeModel&) = delete;
    CGroupTreeModel& operator=(const CGroupTreeModel&) = delete;

    void SetListener(CGroupTreeListener* listener) { m_pListener = listener; }

    // Groups in the order they were created.
    const std::vector<CTarvolan*>& Groups() const { return m_groups; }
    CTarvolan* FindGroup(const CString& uri) const;
    // Creates the group (appended) when its URI is new, then sets its fields
    // from the entry. *created tells which happened.
    CTarvolan* CreateOrUpdateGroup(const TGroupListEntry& entry, bool* created = nullptr);
    // Deletes the group with its members and messages, the listener told
    // first (the views that show the group let it go while it exists).
    void RemoveGroup(const CString& uri);

    CTarvolanMember* FindMember(const CString& groupURI, const CString& memberURI) const;
    // Creates the member (appended) when its URI is new in the group, then
    // sets its fields from the slot; an empty display name becomes the URI's
    // user part. *created tells which happened. Null, with nothing created,
    // when the URI is new and the group already holds kMemberCapacity members.
    CTarvolanMember* CreateOrUpdateMember(CTarvolan& group, const TMemberSlot& slot, bool* created = nullptr);
    // Makes room for that many members in the group (at most kMemberCapacity),
    // so that adding them grows neither its list nor its index.
    void ReserveMembers(CTarvolan& group, int count);
    // Unlinks and deletes the member and tells the listener the group's
    // members went. False when there is no such member.
    bool RemoveMember(CTarvolan& group, const CString& memberURI);
    // The same for several members, with the listener told once at the end
    // (a view's refill per member would rebuild its list once per member gone).
    // The number of members removed.
    int RemoveMembers(CTarvolan& group, const std::vector<CString>& memberURIs);

    // Every member whose URI equals uri without regard to ASCII case, in tree
    // order (groups in order, then members in order).
    std::vector<CTarvolanMember*> FindMembersNoCase(const CString& uri) const;
    // The first member in tree order whose URI equals uri byte-wise.
    CTarvolanMember* FindFirstMember(const CString& uri) const;
    size_t MemberTotal() const { return m_memberTotal; }
    // Every member's Number() is below this; a number of a member gone goes
    // to the next new member, so the limit stays near the most members alive.
    uint32_t MemberNumberLimit() const { return m_nextMemberNumber; }

    // Records the presence of a member that has no object (replacing an
    // earlier one). False when the cache is full.
    bool CachePresence(const CString& groupURI, const CString& memberURI, const TCachedPresence& presence);
    // Takes the cached presence of a member out of the cache.
    bool TakeCachedPresence(const CString& groupURI, const CString& memberURI, TCachedPresence& presence);
    size_t CachedPresenceCount() const { return m_presenceCache.size(); }
    size_t CachedPresenceBytes() const { return m_presenceCacheBytes; }

    // Deletes every group with everything it owns and empties the presence
    // cache. The listener is not told: the caller lets the views go first.
    void Clear();

private:
    // Unlinks and deletes the member; the window is not refilled.
    bool DropMember(CTarvolan& group, const CString& memberURI);
    uint32_t TakeMemberNumber();
    static std::string LowerKey(const CString& uri);
    static std::string PairKey(const CString& groupURI, const CString& memberURI);
    // The members with that URI in any letter case (unordered).
    const std::vector<CTarvolanMember*>* MembersNoCase(const CString& uri) const;

    CGroupTreeListener* m_pListener = nullptr;
    std::vector<CTarvolan*> m_groups;
    CKeyIndex<CTarvolan> m_groupIndex;
    mutable std::unordered_map<std::string, std::vector<CTarvolanMember*>> m_membersNoCase;
    mutable bool m_bNoCaseIndexValid = false;
    std::unordered_map<std::string, TCachedPresence> m_presenceCache;
    size_t m_presenceCacheBytes = 0;  // keys and texts of the entries
    size_t m_memberTotal = 0;
    uint32_t m_nextMemberNumber = 0;
    std::vector<uint32_t> m_freeMemberNumbers;  // of members gone
};

} // namespace tarvolan
