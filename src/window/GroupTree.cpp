// The tree's items: roots, group items and member items, kept in line with
// the group list, the group table and the tree model. Only the groups a
// handler changed are touched, and a group's new member items go into the
// tree as one batch.
#include <algorithm>
#include <vector>

#include <QScopeGuard>

#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "controls/TreeCtrlEx.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/Presence.h"
#include "window/TarvolanDialog.h"
#include "window/TreeItemData.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr int32_t kGroupTextColor = 0xFF0000;  // blue (0x00BBGGRR)
constexpr int32_t kMemberTextColor = 0;        // black
} // namespace

// ---- roots -----------------------------------------------------------------------

QTreeWidgetItem* CTarvolanDialog::Root(int kind) const
{
    switch (kind) {
    case ITEM_TOP_ROOT: return m_hRootTop;
    case ITEM_OWNED_ROOT: return m_hRootOwned;
    case ITEM_JOINED_ROOT: return m_hRootJoined;
    case ITEM_BASIC_ROOT: return m_hRootBasic;
    case ITEM_MUTUAL_ROOT: return m_hRootMutual;
    default: return nullptr;
    }
}

QTreeWidgetItem* CTarvolanDialog::AddRoot(QTreeWidgetItem* parent, int kind, int textId)
{
    auto* item = new CGroupTreeItem(kind, nullptr, m_images, {IMG_EXPANDED, kGroupTextColor, true});
    item->setText(0, ToQt(LoadResString(textId)));
    if (parent) parent->addChild(item);
    else m_pTree->addTopLevelItem(item);
    return item;
}

void CTarvolanDialog::CreateRoots()
{
    if (!m_pTree || m_pTree->topLevelItemCount() > 0) return;
    m_hRootTop = AddRoot(nullptr, ITEM_TOP_ROOT, IDS_ROOT_GROUPS);
    m_hRootOwned = AddRoot(m_hRootTop, ITEM_OWNED_ROOT, IDS_ROOT_OWNED);
    m_hRootJoined = AddRoot(m_hRootTop, ITEM_JOINED_ROOT, IDS_ROOT_JOINED);
    if (GetScene() == 6 && m_nKindRootsFlag == 1) {
        m_hRootBasic = AddRoot(m_hRootTop, ITEM_BASIC_ROOT, IDS_ROOT_BASIC);
        m_hRootMutual = AddRoot(m_hRootTop, ITEM_MUTUAL_ROOT, IDS_ROOT_MUTUAL);
    }
    m_hRootTop->setExpanded(true);
    m_hRootOwned->setExpanded(true);
}

// ---- group items -------------------------------------------------------------------

QTreeWidgetItem* CTarvolanDialog::GroupItem(const CTarvolan& group) const
{
    const auto it = m_GroupItems.find(&group);
    return it == m_GroupItems.end() ? nullptr : it->second;
}

QTreeWidgetItem* CTarvolanDialog::GroupParent(const TGroupListEntry& entry, int& itemKind) const
{
    if (entry.role == ROLE_OWNER) {
        itemKind = ITEM_OWNED_GROUP;
        return m_hRootOwned;
    }
    if (entry.role == ROLE_MEMBER && entry.kind == GROUP_PUBLIC) {
        itemKind = ITEM_JOINED_GROUP;
        return m_hRootJoined;
    }
    if (entry.kind == GROUP_BASIC) {
        itemKind = ITEM_BASIC_GROUP;
        return m_hRootBasic;
    }
    if (entry.kind == GROUP_MUTUAL) {
        itemKind = ITEM_MUTUAL_GROUP;
        return m_hRootMutual;
    }
    return nullptr;
}

bool CTarvolanDialog::IsUnderItsRoot(const CTarvolan& group, const TGroupListEntry& entry) const
{
    int itemKind = ITEM_NONE;
    const QTreeWidgetItem* parent = GroupParent(entry, itemKind);
    const QTreeWidgetItem* item = GroupItem(group);
    return !parent || (item->parent() == parent && ItemKind(item) == itemKind);
}

void CTarvolanDialog::MakeGroupItem(CTarvolan& group, const TGroupListEntry& entry)
{
    int itemKind = ITEM_NONE;
    QTreeWidgetItem* parent = GroupParent(entry, itemKind);
    if (!parent) return;
    auto* item = new CGroupTreeItem(itemKind, &group, m_images, {IMG_GROUP, kGroupTextColor, true});
    parent->addChild(item);  // complete before the tree sees it
    m_GroupItems[&group] = item;
    parent->setExpanded(true);
    SetItemImage(parent, IMG_EXPANDED);
}

CTarvolan* CTarvolanDialog::SyncGroup(const TGroupListEntry& entry)
{
    bool created = false;
    CTarvolan* group = m_GroupData.TreeModel().CreateOrUpdateGroup(entry, &created);
    if (created) {
        MakeGroupItem(*group, entry);
        if (const CGroupRecord* record = m_GroupData.GroupTable().Get(entry.uri); record && record->MemberCount() > 0)
            RebuildMemberItems(entry.uri);
    } else if (GroupItem(*group) && !IsUnderItsRoot(*group, entry)) {
        // My role changed (I took the group over or handed it on): the group
        // moves to the root its role chooses, and its members become items
        // of the new kind, so that its menu matches what I may do.
        RemoveGroupItems(*group);
        MakeGroupItem(*group, entry);
        RebuildMemberItems(entry.uri);
    } else if (QTreeWidgetItem* item = GroupItem(*group)) {
        ShowItemImage(item, ItemImage(item));  // its text is its group's name
    }
    return group;
}

void CTarvolanDialog::RebuildGroupItems()
{
    const CGroupList& list = m_GroupData.GroupList();
    for (int i = 0; i < list.Count(); ++i)
        if (IsPublicKind(list[i].kind) && !list[i].uri.IsEmpty()) SyncGroup(list[i]);
}

CTarvolan* CTarvolanDialog::RebuildGroupItem(const CString& uri)
{
    const int i = m_GroupData.GroupList().FindPublicByURI(uri);
    if (i < 0 || uri.IsEmpty()) return nullptr;
    return SyncGroup(m_GroupData.GroupList()[i]);
}

// ---- member items ------------------------------------------------------------------

QTreeWidgetItem* CTarvolanDialog::MemberItem(const CTarvolanMember& member) const
{
    return member.Number() < m_MemberItems.size() ? m_MemberItems[member.Number()] : nullptr;
}

void CTarvolanDialog::SetMemberItem(const CTarvolanMember& member, QTreeWidgetItem* item)
{
    if (member.Number() >= m_MemberItems.size()) {
        if (!item) return;
        m_MemberItems.resize(std::max<size_t>(m_GroupData.TreeModel().MemberNumberLimit(), member.Number() + 1));
    }
    m_MemberItems[member.Number()] = item;
}

int CTarvolanDialog::MemberItemKind(const CTarvolan& group) const
{
    if (group.m_csOwnerURI == SignedInURI()) return ITEM_OWNED_MEMBER;
    if (group.m_nKind == GROUP_BASIC) return ITEM_BASIC_MEMBER;
    if (group.m_nKind == GROUP_MUTUAL) return ITEM_MUTUAL_MEMBER;
    return ITEM_JOINED_MEMBER;
}

void CTarvolanDialog::ApplyInitialPresence(CTarvolanMember& member, const CString& myURI)
{
    if (member.URI() == myURI) {
        member.m_nStatus = GetStatus();
        member.m_nPresenceKind = GetStatus();
        member.m_csStatusText = GetStatusText();
    }
    TCachedPresence cached;
    if (m_GroupData.TreeModel().TakeCachedPresence(member.GroupURI(), member.URI(), cached)) {
        member.m_nPresenceKind = cached.kind;
        member.m_nStatus = cached.code;
        member.m_csStatusText = cached.text;
    }
}

QTreeWidgetItem* CTarvolanDialog::MakeMemberItem(CTarvolanMember& member, int itemKind)
{
    auto* item = new CGroupTreeItem(itemKind, &member, m_images,
                                    {MemberImage(member.m_nStatus, member.m_nPresenceKind), kMemberTextColor, false});
    SetMemberItem(member, item);
    return item;
}

void CTarvolanDialog::InsertMemberItems(CTarvolan& group, const std::vector<QTreeWidgetItem*>& items)
{
    QTreeWidgetItem* groupItem = GroupItem(group);
    if (items.empty() || !groupItem) return;
    groupItem->addChildren(QList<QTreeWidgetItem*>(items.begin(), items.end()));
    groupItem->setExpanded(true);
    SetItemImage(groupItem, groupItem->isExpanded() ? IMG_EXPANDED : IMG_GROUP);
    if (CTarvolanChatDialog* chat = m_ChatWindows.Find(group))
        for (QTreeWidgetItem* item : items) chat->UpdateMemberItem(ItemMember(item));
}

void CTarvolanDialog::RebuildMemberItems(const CString& groupURI, bool dropOthers)
{
    CTarvolan* group = m_GroupData.TreeModel().FindGroup(groupURI);
    const CGroupRecord* record = m_GroupData.GroupTable().Get(groupURI);
    if (!group || !record) return;
    if (dropOthers) {
        std::vector<CString> gone;
        for (const CTarvolanMember* member : group->Members())
            if (record->FindMember(member->URI()) < 0) gone.push_back(member->URI());
        m_GroupData.TreeModel().RemoveMembers(*group, gone);
    }
    const int itemKind = MemberItemKind(*group);
    const bool groupShown = GroupItem(*group) != nullptr;
    const CString myURI = SignedInURI();
    std::vector<QTreeWidgetItem*> fresh;
    fresh.reserve(static_cast<size_t>(record->MemberCount()));
    m_GroupData.TreeModel().ReserveMembers(*group, record->MemberCount());
    for (const TMemberSlot& slot : record->Members()) {
        bool created = false;
        CTarvolanMember* member = m_GroupData.TreeModel().CreateOrUpdateMember(*group, slot, &created);
        if (!member) continue;
        if (created) ApplyInitialPresence(*member, myURI);
        if (MemberItem(*member)) RefreshMemberItem(*member);
        else if (groupShown) fresh.push_back(MakeMemberItem(*member, itemKind));
    }
    InsertMemberItems(*group, fresh);
    MarkJoinedInInfoWindow(groupURI);
}

CTarvolanMember* CTarvolanDialog::AddOrUpdateMemberItem(const CString& groupURI, const TMemberSlot& slot)
{
    CTarvolan* group = m_GroupData.TreeModel().FindGroup(groupURI);
    if (!group || slot.uri.IsEmpty()) return nullptr;
    bool created = false;
    CTarvolanMember* member = m_GroupData.TreeModel().CreateOrUpdateMember(*group, slot, &created);
    if (member) ShowMember(*member, created);
    return member;
}

void CTarvolanDialog::ShowMember(CTarvolanMember& member, bool isNew)
{
    if (isNew) ApplyInitialPresence(member, SignedInURI());
    CTarvolan& group = *member.Group();
    if (MemberItem(member)) RefreshMemberItem(member);
    else if (GroupItem(group)) InsertMemberItems(group, {MakeMemberItem(member, MemberItemKind(group))});
}

// The item reads its text from its member when painted (CGroupTreeItem), so
// only its image and a repaint are left to do.
void CTarvolanDialog::RefreshMemberItem(CTarvolanMember& member)
{
    if (QTreeWidgetItem* item = MemberItem(member))
        ShowItemImage(item, MemberImage(member.m_nStatus, member.m_nPresenceKind));
}

// The view is not told item by item: for each changed item it would look the
// row up among all visible rows, which makes a change cost as much as the
// tree is large. Its visible part is repainted once instead; rows keep their
// heights (uniform) and no column sizes itself to its contents. Group and
// member items show their object's text (CGroupTreeItem), so a new name or
// status text needs only the repaint.
void CTarvolanDialog::ShowItemImage(QTreeWidgetItem* item, int image)
{
    SetItemImage(item, image);
    if (item->treeWidget()) RepaintTree();
}

template <class F> void CTarvolanDialog::ChangeGroupRows(const CString& uri, F&& change)
{
    {
        ++m_nRepaintsHeld;
        const auto release = qScopeGuard([this] { --m_nRepaintsHeld; });
        change();
    }
    if (m_nRepaintsHeld > 0 || !m_bRepaintWanted) return;
    m_bRepaintWanted = false;
    const CTarvolan* group = m_GroupData.TreeModel().FindGroup(uri);
    const QTreeWidgetItem* item = group ? GroupItem(*group) : nullptr;
    if (!item || m_pTree->MayShowRows(item)) m_pTree->RepaintView();
}

void CTarvolanDialog::OnGroupChanged(const TGroupChange& change)
{
    switch (change.what) {
    case CHANGE_ATTRIBUTES:
        ChangeGroupRows(change.groupURI, [&] { RebuildGroupItem(change.groupURI); });
        break;
    case CHANGE_MEMBERS:
        if (change.member) ShowMember(*change.member, change.detail == DETAIL_NEW_MEMBER);
        else if (change.detail == DETAIL_FROM_TABLE)
            ChangeGroupRows(change.groupURI, [&] { RebuildMemberItems(change.groupURI); });
        else
            ChangeGroupRows(change.groupURI, [&] {
                RebuildGroupAndMembers(change.groupURI, change.detail == DETAIL_UNLISTED_LEAVE);
            });
        break;
    case CHANGE_PRESENCE: ShowMemberPresence(*change.member, change.detail == DETAIL_TEXT_CHANGED); break;
    case CHANGE_HISTORY: ShowHistoryAnswer(*change.group, change.detail); break;
    case CHANGE_GROUP_LIST: RebuildGroupItems(); break;
    default: break;
    }
}

void CTarvolanDialog::ShowMemberPresence(CTarvolanMember& member, bool textChanged)
{
    if (textChanged) RefreshMemberItem(member);
    else if (QTreeWidgetItem* item = MemberItem(member))
        SetItemImage(item, MemberImage(member.m_nStatus, member.m_nPresenceKind));
}

void CTarvolanDialog::OnItemExpansion(QTreeWidgetItem* item, bool expanded)
{
    const int kind = ItemKind(item);
    if (IsRootKind(kind) || IsGroupItemKind(kind)) SetItemImage(item, expanded ? IMG_EXPANDED : IMG_GROUP);
}

// ---- objects leaving the model ---------------------------------------------------------

void CTarvolanDialog::OnGroupRemoving(CTarvolan& group)
{
    RemoveGroupItems(group);
    m_ChatWindows.Close(group);
}

void CTarvolanDialog::RemoveGroupItems(CTarvolan& group)
{
    for (const CTarvolanMember* member : group.Members()) SetMemberItem(*member, nullptr);
    const auto it = m_GroupItems.find(&group);
    if (it == m_GroupItems.end()) return;
    delete it->second;  // its member items go with it
    m_GroupItems.erase(it);
}

void CTarvolanDialog::OnMemberRemoving(CTarvolanMember& member)
{
    delete MemberItem(member);
    SetMemberItem(member, nullptr);
}

void CTarvolanDialog::OnMembersRemoved(CTarvolan& group)
{
    if (CTarvolanChatDialog* chat = m_ChatWindows.Find(group)) chat->FillMemberTree();
}

} // namespace tarvolan
