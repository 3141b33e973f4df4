// Every piece of group data the main window keeps: the group list, the group
// table, the group tree model, the lists of pending requests and the string
// arrays, with the operations the handlers and commands use on them. No Qt
// here; CTarvolanDialog is a CGroupRegistry and adds the tree items.
#pragma once

#include <cstdint>
#include <list>

#include "common/GbkString.h"
#include "groups/GroupTables.h"
#include "groups/GroupTreeModel.h"
#include "groups/StringArray.h"
#include "module/TarvolanAbi.h"

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

class CGroupRegistry {
public:
    // The longest contact-list name kept in m_RecentListNames.
    static constexpr size_t kRecentNameMaxLength = 32;

    CGroupRegistry() = default;
    virtual ~CGroupRegistry() = default;
    CGroupRegistry(const CGroupRegistry&) = delete;
    CGroupRegistry& operator=(const CGroupRegistry&) = delete;

    // ---- the tables ----------------------------------------------------------
    CGroupList m_GroupList;
    CGroupTable m_GroupTable;
    CGroupTreeModel m_TreeModel;

    // ---- pending requests and arrays -------------------------------------------
    std::list<TInvitePending> m_pListTarvolanInvite;
    std::list<TJoinApplication> m_PublicGroupUserReqList;
    std::list<tarvolan::tagGroupTrsReq> m_TransferReqList;
    std::list<TPendingCreate> m_PendingCreateList;
    int32_t m_nShowFlag = 1;       // read by the search dialog
    int32_t m_nKindRootsFlag = 0;  // with scene 6: the roots of kinds 12 and 13
    int32_t m_bTestMode = 0;       // commands produce their own results
    CStringArray m_RecentListNames{kRecentNameMaxLength};  // contact lists reported lately
    CStringArray m_InfoRequestedGroups;  // groups whose information was requested (code 1)
    CStringArray m_SubscribedGroups;     // groups subscribed to (code 20016)

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
    int IMSUserIsInOnePubGroup(const CString& csGrouURI, const CString& csUserURI, int iType, int nFindType);
    bool IsInvitePending(const CString& account, const CString& groupName) const;
    void RemoveInvitePending(const CString& account, const CString& groupName);
    static bool IsNewInArray(const CStringArray& array, const CString& text) { return ::IsNewInArray(array, text); }

    // The public group record with that URI (kinds 2, 5, 6); null when none.
    CGroupRecord* FindPublicRecord(const CString& uri);
    // Empties the pending lists.
    void EmptyPendingLists();
};

// The signed-in user's URI and request identity (empty before sign-in).
CString SignedInURI();
CString SignedInRequestId();
