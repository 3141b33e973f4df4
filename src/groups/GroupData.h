// CGroupData: every piece of group data the main window keeps (the group
// list, the group table, the group tree model, the lists of pending requests
// and the string arrays) with the operations the handlers and commands use
// on them. No Qt here: the main window owns one and adds the tree items.
// CGroupLookup is the narrow read-only view that dialogs get.
#pragma once

#include <cstdint>
#include <list>

#include "common/GbkString.h"
#include "groups/GroupTables.h"
#include "groups/GroupTreeModel.h"
#include "groups/StringArray.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// An invitation I sent that is still unanswered.
struct TInvitePending {
    CString account;
    CString groupName;
};

// One of my own applications to join a group.
struct TJoinApplication {
    CString groupURI;
    CString requester;  // my request identity
};

// A create (or other group operation) awaiting its result.
struct TPendingCreate {
    int32_t kind = 2;  // 2 = create
    CString uri;       // empty for a create
    CString name;
    CString displayName;
    CString reserved;  // always empty
    CString subject;
    CString bulletin;
    int32_t duration = 0;
    int32_t visibility = 0;
    int32_t needPermit = 0;
    int32_t maxMembers = 0;
};

// What a dialog may read of the group data.
class CGroupLookup {
public:
    virtual ~CGroupLookup() = default;
    // The group-list entry with that URI (any kind); null when none.
    virtual const TGroupListEntry* FindListEntry(const CString& uri) const = 0;
    // The group-table record with that URI; null when none.
    virtual const CGroupRecord* FindRecord(const CString& uri) const = 0;
};

class CGroupData final : public CGroupLookup {
public:
    // Where the data's log lines go (the client log); null drops them.
    using LogSink = void (*)(const char* text, int level);
    // The longest contact-list name kept in RecentListNames().
    static constexpr size_t kRecentNameMaxLength = 32;

    explicit CGroupData(LogSink log = nullptr) : m_log(log) {}
    CGroupData(const CGroupData&) = delete;
    CGroupData& operator=(const CGroupData&) = delete;

    // ---- the tables ----------------------------------------------------------
    CGroupList& GroupList() { return m_GroupList; }
    const CGroupList& GroupList() const { return m_GroupList; }
    CGroupTable& GroupTable() { return m_GroupTable; }
    const CGroupTable& GroupTable() const { return m_GroupTable; }
    CGroupTreeModel& TreeModel() { return m_TreeModel; }
    const CGroupTreeModel& TreeModel() const { return m_TreeModel; }

    // ---- pending requests and arrays -------------------------------------------
    // Invitations I sent that are still unanswered.
    std::list<TInvitePending>& InvitesPending() { return m_InvitesPending; }
    // My own applications to join groups.
    std::list<TJoinApplication>& JoinApplications() { return m_JoinApplications; }
    // Ownership offers made to me that wait for my answer.
    std::list<tarvolan::tagGroupTrsReq>& TransferRequests() { return m_TransferRequests; }
    // Creations and other group operations awaiting their results.
    std::list<TPendingCreate>& PendingCreates() { return m_PendingCreates; }
    CStringArray& RecentListNames() { return m_RecentListNames; }        // contact lists reported lately
    CStringArray& InfoRequestedGroups() { return m_InfoRequestedGroups; }  // information requested (code 1)
    CStringArray& SubscribedGroups() { return m_SubscribedGroups; }        // subscribed to (code 20016)

    // ---- operations ----------------------------------------------------------
    // Adds the entry or updates the one that stands for the same group
    // (kind 1: same name; others: same URI and kind). Dropped when the list is
    // full.
    void AddOrUpdateGroupListEntry(const TGroupListEntry& entry);
    bool GroupListHas(const CString& uri, const CString& name, int kind) const;
    // The URI of the first kind-2 entry with that name and role 1 (role 1
    // asked), or with that name, owner and role 2 (role 2 asked); "" when none.
    CString GetGroupURIByName(const CString& name, int role, const CString& owner) const;
    // Removes a public group everywhere: its group-list entry and table
    // record (the last one moves into the freed place), its tree objects,
    // and its URI from the subscribed and requested arrays.
    void RemoveGroup(const CString& uri);
    // Removes a member from a public group's record: the last used slot
    // moves into its place.
    void RemoveMemberFromTable(const CString& groupURI, const CString& memberURI);
    // Whether the user is a member (nFindType 0 or 1) or blacklisted
    // (nFindType 0 or 2) in the kind-2 group; only iType 2 looks. 1 or 0.
    int IMSUserIsInOnePubGroup(const CString& csGroupURI, const CString& csUserURI, int iType, int nFindType);
    bool IsInvitePending(const CString& account, const CString& groupName) const;
    void RemoveInvitePending(const CString& account, const CString& groupName);
    static bool IsNewInArray(const CStringArray& array, const CString& text) { return tarvolan::IsNewInArray(array, text); }

    // The public group record with that URI (kinds 2, 5, 6); null when none.
    CGroupRecord* FindPublicRecord(const CString& uri);
    // Empties the pending lists.
    void EmptyPendingLists();

    // CGroupLookup
    const TGroupListEntry* FindListEntry(const CString& uri) const override;
    const CGroupRecord* FindRecord(const CString& uri) const override;

private:
    void Log(const char* text, int level) const
    {
        if (m_log) m_log(text, level);
    }

    LogSink m_log;
    CGroupList m_GroupList;
    CGroupTable m_GroupTable;
    CGroupTreeModel m_TreeModel;
    std::list<TInvitePending> m_InvitesPending;
    std::list<TJoinApplication> m_JoinApplications;
    std::list<tarvolan::tagGroupTrsReq> m_TransferRequests;
    std::list<TPendingCreate> m_PendingCreates;
    CStringArray m_RecentListNames{kRecentNameMaxLength};
    CStringArray m_InfoRequestedGroups;
    CStringArray m_SubscribedGroups;
};

} // namespace tarvolan
