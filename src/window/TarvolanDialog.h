// CTarvolanDialog: the module's main window (template 2008). A borderless
// child of the host's window holding three buttons (1006 add, 1004 delete,
// 1005 edit) and the group tree (1000). It owns all group data (a
// CGroupData) and every child window of the module (the conversation
// windows through their registry, CChatWindows), and it is the target
// of every host message but 20027: Dispatch decodes the record and calls one
// handler per code, either the rules object of the event's concern (src/groups:
// attributes, membership, profiles, history, blacklists, invitations and
// joins, transfers, operation results, search, group messages) or a handler
// of its own.
//
// The rules objects know no window: they report what they changed, which
// this window and the conversation windows follow, and they reach the client,
// the child windows and the notices through the seam this window answers
// (CGroupRulesHost).
//
// The tree shows fixed roots (kinds 1, 6, 7 and, in scene 6 with the roots
// flag, 12 and 13), a group item per public group under the root its role
// and kind select, and the members under their group. Handlers change the
// tables and then bring only the changed groups' items up to date.
#pragma once

#include <cstdint>
#include <deque>
#include <list>
#include <unordered_map>
#include <vector>

#include <QIcon>
#include <QPoint>

#include "common/GbkString.h"
#include "conversation/ChatWindows.h"
#include "groups/AttributeRules.h"
#include "groups/BlacklistRules.h"
#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "groups/GroupMessageRules.h"
#include "groups/HistoryRules.h"
#include "groups/InvitationRules.h"
#include "groups/LoadingRules.h"
#include "groups/MembershipRules.h"
#include "groups/ProfileRules.h"
#include "groups/ResultRules.h"
#include "groups/SearchRules.h"
#include "groups/TransferRules.h"
#include "protocol/TarvolanAbi.h"
#include "platform/Window.h"
#include "window/GroupCommands.h"
#include "window/OpenWindows.h"

class QTreeWidgetItem;
namespace Ui { class CTarvolanDialog; }

namespace tarvolan {

class CHostLink;
class CModuleContext;

class CTreeCtrlEx;


class CTarvolanDialog : public CDialog,
                        private CGroupTreeListener,
                        private CGroupChangeListener,
                        private CGroupRulesHost {
    Q_OBJECT
public:
    enum { IDD = 2008 };
    enum : int { kTimerReplay = 1001, kTimerPendingCreate = 9002, kTimerRecentNames = 9051 };
    // Timer 9002 runs with this period while creations are pending.
    static constexpr int kPendingCreatePeriodMs = 5000;
    // The command that makes an open group properties window reload itself.
    static constexpr int kRefreshPropertiesCommand = 987656666;
    // The command, posted to this window, that shows the deferred notice.
    static constexpr int kDeferredNoticeCommand = 987653333;

    explicit CTarvolanDialog(CModuleContext& context);
    ~CTarvolanDialog() override;

    // Creates the window from its template as a child of parent.
    bool CreateWindow(QWidget* parent);
    // Start-up preparation (Init) and shut-down clean-up (UnInit).
    void PrepareStartUp();
    void CleanUpShutDown();

    // Decodes a host message and calls its handler. Codes above 20038 are
    // returned unchanged without reading the record.
    intptr_t Dispatch(int code, void* record);

    // Reports the tree's current selection with code 1037 (nothing when no
    // item is selected).
    void ReportSelection();
    // Moves and sizes the window in its parent's coordinates (20038).
    void MoveWindowTo(int x, int y, int width, int height);

    CTreeCtrlEx* Tree() const { return m_pTree; }
    // The group data: the group list and table, the tree model, the pending
    // requests and the arrays.
    CGroupData& Data() { return m_GroupData; }
    const CGroupData& Data() const { return m_GroupData; }
    // The open child windows that host messages reach.
    COpenWindows& Windows() { return m_OpenWindows; }
    // The open conversation windows, one at most per group.
    CChatWindows& ChatWindows() { return m_ChatWindows; }
    // The host, for requests, log lines and skins.
    tarvolan::CHostLink& Link() const { return m_link; }
    // The rules of membership and presence (the presence benchmark drives them).
    CMembershipRules& Membership() { return m_MembershipRules; }
    // The rules of operation results (test mode gives commands their results).
    CResultRules& Results() { return m_ResultRules; }
    // The rules of invitations (test mode gives the invite command its result).
    CInvitationRules& Invitations() { return m_InvitationRules; }
    // The module context that the windows this one creates are given.
    CModuleContext& Context() const { return m_context; }

    // ---- the tree ------------------------------------------------------------
    // The root item of a root kind (1, 6, 7, 12, 13); null when not created.
    QTreeWidgetItem* Root(int kind) const;
    // Creates the roots when the tree has no item.
    void CreateRoots();
    // Brings every public group's item in line with the group list: new
    // groups get their object and item, existing ones their fields and text.
    void RebuildGroupItems();
    // The same for the group-list entry with that URI; the group object, or
    // null when the entry is missing or not public.
    CTarvolan* RebuildGroupItem(const CString& uri);
    // Adds or updates the member items of one group from its table record,
    // new items inserted as one batch. With dropOthers, members that the
    // record no longer lists leave the group.
    void RebuildMemberItems(const CString& groupURI, bool dropOthers = false);
    // Adds or updates one member item (nothing when the group has no object).
    CTarvolanMember* AddOrUpdateMemberItem(const CString& groupURI, const TMemberSlot& slot);
    // Text and image of a member's item from its name and presence.
    void RefreshMemberItem(CTarvolanMember& member);
    // The item that shows a group or a member; null when it has none. The
    // window keeps them itself: group items by group, member items in a
    // vector indexed by the member's number.
    QTreeWidgetItem* GroupItem(const CTarvolan& group) const;
    QTreeWidgetItem* MemberItem(const CTarvolanMember& member) const;
    // The tooltip text for an item (null: empty space).
    CString BuildToolTipText(QTreeWidgetItem* item) const;
    // The image index an item shows; -1 when none.
    static int ItemImage(const QTreeWidgetItem* item);
    // Shows the current name of the group with that URI on its item.
    void ShowGroupName(const CString& uri)
    {
        const CTarvolan* shown = m_GroupData.TreeModel().FindGroup(uri);
        if (QTreeWidgetItem* item = shown ? GroupItem(*shown) : nullptr) ShowItemImage(item, ItemImage(item));
    }

    // ---- tree interaction ------------------------------------------------------
    void OnTreeClick(QTreeWidgetItem* item);
    void OnTreeRightClick(QTreeWidgetItem* item, const QPoint& globalPos);
    // Enter (or keypad Enter) on the tree's current item: a group's
    // conversation opens, as its context menu's "群组会话" opens it; on
    // any other item Enter does what a double-click does: nothing.
    void OnTreeEnter();
    // Sends code 1 for the group unless it was requested before; true when sent.
    bool RequestGroupInfo(const CString& uri);

    // ---- host message handlers, in code order ----------------------------
    void SetFullRowSelect(int value);                                                               // 1040
    void OnHostSignedIn();                                                                          // 1041

    // Window timers: 1001 replay of parked requests, 9002 pending creations,
    // 9051 recent contact-list names.
    void OnTimer(int id) override;
    // The group commands of menu 465 and the buttons 1006, 1004 and 1005
    // go to CGroupCommands.
    bool OnCommand(int id, intptr_t lParam) override;
    // The host alone shows and hides this window (20027): Escape, Enter and
    // the OK and Cancel commands that end a dialog leave it as it is.
    void OnOK() override {}
    void OnCancel() override {}

    int32_t m_nShowFlag = 1;       // read by the search dialog
    int32_t m_nKindRootsFlag = 0;  // with scene 6: the roots of kinds 12 and 13
    bool m_bTestMode = false;      // commands produce their own results
    // The pause after each request replayed by timer 1001, in milliseconds;
    // window messages are handled meanwhile.
    int m_nReplayPauseMs = 150;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutControls();
    void ApplySkins();
    void LoadImages();
    void SetItemImage(QTreeWidgetItem* item, int index) const;
    // The image of an item already in the tree that shows its object's text
    // (CGroupTreeItem), then a repaint: the text is read when painted.
    void ShowItemImage(QTreeWidgetItem* item, int image);
    // Repaints the tree, or, while a group's rows change, notes that they
    // need it.
    void RepaintTree() const;
    // Runs change(), which changes only what the group's rows show (or adds
    // and removes rows, which Qt repaints itself), with one repaint at the
    // end, and none when the group's rows were all off screen.
    template <class F> void ChangeGroupRows(const CString& uri, F&& change);
    QTreeWidgetItem* AddRoot(QTreeWidgetItem* parent, int kind, int textId);
    void SetMemberItem(const CTarvolanMember& member, QTreeWidgetItem* item);
    // The parent root and item kind of a new group item; null when none.
    QTreeWidgetItem* GroupParent(const TGroupListEntry& entry, int& itemKind) const;
    void MakeGroupItem(CTarvolan& group, const TGroupListEntry& entry);
    // The group's item and its member items go; the group and its window stay.
    void RemoveGroupItems(CTarvolan& group);
    // Whether the group's item sits under the root that entry's role and kind choose.
    bool IsUnderItsRoot(const CTarvolan& group, const TGroupListEntry& entry) const;
    CTarvolan* SyncGroup(const TGroupListEntry& entry);
    int MemberItemKind(const CTarvolan& group) const;
    // A member's new item, not yet in the tree.
    QTreeWidgetItem* MakeMemberItem(CTarvolanMember& member, int itemKind);
    // The status a new member shows, and any presence cached for it.
    void ApplyInitialPresence(CTarvolanMember& member, const CString& myURI);
    // Inserts new member items under their group item as one batch.
    void InsertMemberItems(CTarvolan& group, const std::vector<QTreeWidgetItem*>& items);
    void OnItemExpansion(QTreeWidgetItem* item, bool expanded);
    void ConnectTreeEnter();
    void ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos, bool firstRequestSent);
    void UpdateToolTip(const QPoint& viewportPos);
    // For a member item: its URI and profile record (the signed-in user's
    // own record is filled from the user's profile data while it is empty).
    // False for other items.
    bool DescribeMemberItem(QTreeWidgetItem* item, CString& uri, tarvolan::TMemberProfile*& profile);

    // The host-event steps (InvitationHandlers.cpp, MembershipHandlers.cpp).
    // A group's item and its member items follow the group's list entry and
    // table record; with dropUnlisted, members the record does not list leave.
    void RebuildGroupAndMembers(const CString& uri, bool dropUnlisted = false);
    void ReplayParkedRequests();
    void ShowDeferredNotice();

    // The group information window's part of the handlers (CSearchRules).
    void MarkJoinedInInfoWindow(const CString& groupURI);

    // CGroupTreeListener: a group leaving takes its items and its conversation window.
    void OnGroupRemoving(CTarvolan& group) override;
    void OnMemberRemoving(CTarvolanMember& member) override;
    // The group's open conversation window refills its member list.
    void OnMembersRemoved(CTarvolan& group) override;
    // CGroupChangeListener: the tree and the history viewer follow the rules.
    void OnGroupChanged(const TGroupChange& change) override;
    // A member's item shows its presence (and its text, when that may have changed).
    void ShowMemberPresence(CTarvolanMember& member, bool textChanged);
    // A member's item, made or brought up to date; a member new to the model
    // first takes my presence, when it is me, or the presence kept for it.
    void ShowMember(CTarvolanMember& member, bool isNew);
    // The group's open history viewer shows the page stored, or learns there is none.
    void ShowHistoryAnswer(const CTarvolan& group, int detail);
    // CGroupRulesHost
    void WriteClientLog(const char* text, int level) override;
    CString MyURI() const override;
    bool SignedIn() const override;
    const TMemberProfile* MyProfile() const override;
    bool Notice(ENotice notice, const CString& subject) override;
    bool HistoryViewerOpen(const CTarvolan& group) const override;
    CGroupBlacklistWindow* BlacklistWindow() const override;
    // CGroupRulesHost: operation results, search and group messages
    void RestartPendingCreateTimer() override;
    CGroupInfoWindow* InfoWindow() const override;
    bool IsMyself(const char* uri) const override;
    void ShowGroupMessage(CTarvolan& group, const char* senderURI, const char* text) override;
    // CGroupRulesHost: invitations, joins and transfers (InvitationHandlers.cpp)
    bool SigningIn() const override;
    void Park(const tarvolan::tagGroupInvite& invite) override;
    void Park(const tarvolan::tagGroupJoin& join) override;
    void Park(const tarvolan::tagGroupTrsReq& request) override;
    void DropParkedTransfer(const CString& groupURI, const CString& oldOwnerURI) override;
    CString MyDisplayName() const override;
    CString MyPhone() const override;
    int Ask(ENotice question, const CString& first, const CString& second, const CString& boxName) override;
    void Tell(ENotice notice, const CString& first, const CString& second, const CString& boxName) override;
    void CloseBox(const CString& boxName) override;
    // CGroupRulesHost: loading (GroupLoading.cpp)
    CString MyRequestId() const override;
    CString AllContactsName() const override;
    void RestartRecentNamesTimer() override;
    void RefreshPropertiesWindow() override;
    // The notice of an operation's result (1013-1019), with its subjects.
    void ShowResultNotice(ENotice notice, const CString& first, const CString& second);

    CModuleContext& m_context;
    tarvolan::CHostLink& m_link;
    CGroupData m_GroupData;
    COpenWindows m_OpenWindows;
    CGroupChanges m_Changes;
    // After the group data: the windows go before their groups.
    CChatWindows m_ChatWindows{m_link};
    CMembershipRules m_MembershipRules{m_GroupData, *this, m_Changes};
    CHistoryRules m_HistoryRules{m_GroupData, *this, m_Changes};
    CBlacklistRules m_BlacklistRules{m_GroupData, *this, m_link};
    CProfileRules m_ProfileRules{m_GroupData, *this};
    CAttributeRules m_AttributeRules{m_GroupData, *this, m_link, m_Changes};
    CResultRules m_ResultRules{m_GroupData, *this, m_link, m_Changes};
    CSearchRules m_SearchRules{m_GroupData, *this};
    CGroupMessageRules m_GroupMessageRules{m_GroupData, *this, m_link};
    CInvitationRules m_InvitationRules{m_GroupData, *this, m_link, m_Changes};
    CTransferRules m_TransferRules{m_GroupData, *this, m_link};
    CLoadingRules m_LoadingRules{m_GroupData, *this, m_link, m_Changes, m_SearchRules};
    Ui::CTarvolanDialog* m_pUi = nullptr;
    CTreeCtrlEx* m_pTree = nullptr;
    bool m_bCreated = false;
    QTreeWidgetItem* m_hRootTop = nullptr;
    QTreeWidgetItem* m_hRootOwned = nullptr;
    QTreeWidgetItem* m_hRootJoined = nullptr;
    QTreeWidgetItem* m_hRootBasic = nullptr;
    QTreeWidgetItem* m_hRootMutual = nullptr;
    std::unordered_map<const CTarvolan*, QTreeWidgetItem*> m_GroupItems;
    std::vector<QTreeWidgetItem*> m_MemberItems;  // by CTarvolanMember::Number(); null: no item
    std::vector<QIcon> m_images;
    mutable int m_nRepaintsHeld = 0;         // inside ChangeGroupRows
    mutable bool m_bRepaintWanted = false;   // a row changed meanwhile
    bool m_bToolTips = false;
    CString m_csToolTip;            // the tooltip text shown last
    bool m_bPressOnExpander = false;  // the last press fell on an expander
    // The removal notices waiting for their kDeferredNoticeCommand, oldest
    // first: each command shows the oldest one.
    std::deque<CString> m_DeferredNotices;
    CGroupCommands m_GroupCommands{*this, m_context};
};

} // namespace tarvolan
