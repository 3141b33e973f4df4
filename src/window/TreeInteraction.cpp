// What the user does with the tree: clicks, the context menu of menu 465 and
// the tooltips.
#include <memory>

#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QToolTip>

#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "common/TextFunctions.h"
#include "controls/ModuleContext.h"
#include "controls/TreeCtrlEx.h"
#include "groups/GroupRequests.h"
#include "groups/Presence.h"
#include "window/TarvolanDialog.h"
#include "window/TreeItemData.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

// Clicks toggle these kinds (the roots of kinds 12 and 13 are left alone).
bool ClickToggles(int kind)
{
    return kind == ITEM_TOP_ROOT || kind == ITEM_OWNED_ROOT || kind == ITEM_JOINED_ROOT || IsGroupItemKind(kind);
}

void DisableAll(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        action->setEnabled(false);
        if (QMenu* sub = action->menu()) DisableAll(sub);
    }
}

// Message items by presence: an offline member only takes offline messages.
void EnableMessageItems(QMenu* menu, const CTarvolanMember& member)
{
    const bool offline = IsOfflineStatus(member.m_nStatus);
    EnableMenuAction(menu, IDM_INSTANT_MESSAGE, !offline);
    EnableMenuAction(menu, IDM_OFFLINE_MESSAGE, offline);
}

CString Heading(const char* pattern, int textId)
{
    CString text;
    text.Format(pattern, LoadResString(textId).c_str());
    return text;
}

void AppendLine(CString& text, int labelId, const CString& value)
{
    text.AppendFormat("\n%s:", LoadResString(labelId).c_str());
    text += value;
}

} // namespace

// ---- clicks ------------------------------------------------------------------------

void CTarvolanDialog::ConnectTreeEnter()
{
    // Shortcuts of the tree alone: the key never reaches the window, where
    // it would be the dialog's default button.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), m_pTree, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] { OnTreeEnter(); });
    }
}

void CTarvolanDialog::OnTreeEnter()
{
    QTreeWidgetItem* item = m_pTree ? m_pTree->currentItem() : nullptr;
    if (item && IsGroupItemKind(ItemKind(item))) OnCommand(IDM_GROUP_CHAT, 0);
}

bool CTarvolanDialog::RequestGroupInfo(const CString& uri)
{
    return RequestGroupInfoOnce(Link(), m_GroupData.InfoRequestedGroups(), uri);
}

void CTarvolanDialog::OnTreeClick(QTreeWidgetItem* item)
{
    const bool treeToggled = m_bPressOnExpander;
    m_bPressOnExpander = false;
    if (!item) return;
    m_pTree->setCurrentItem(item);
    const int kind = ItemKind(item);
    if (CTarvolan* group = ItemGroup(item)) RequestGroupInfo(group->URI());
    if (ClickToggles(kind) && !treeToggled) item->setExpanded(!item->isExpanded());
}

void CTarvolanDialog::OnTreeRightClick(QTreeWidgetItem* item, const QPoint& globalPos)
{
    if (GetIMSDirectApp() != 0 || !item) return;
    m_pTree->setCurrentItem(item);
    const int kind = ItemKind(item);
    bool firstRequest = false;
    if (kind == ITEM_OWNED_GROUP || kind == ITEM_JOINED_GROUP) {
        if (CTarvolan* group = ItemGroup(item)) firstRequest = RequestGroupInfo(group->URI());
        if (!item->isExpanded()) item->setExpanded(true);
    }
    ShowContextMenu(item, globalPos, firstRequest);
}

// ---- context menu ----------------------------------------------------------------------

void CTarvolanDialog::ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos, bool firstRequestSent)
{
    const TMenuItem* resource = LoadResMenu(IDR_GROUP_MENU);
    if (!resource || resource->children.empty()) return;
    std::unique_ptr<QMenu> menu(CreatePopupMenu(resource->children.front(), this, kGroupMenuContext));
    QMenu* m = menu.get();
    DisableAll(m);

    const int kind = ItemKind(item);
    for (int id : {IDM_TRANSFER_GROUP, IDM_BLACKLIST, IDM_MEMBER_PROPERTIES, IDM_SEARCH_GROUPS}) RemoveMenuAction(m, id);
    if (kind == ITEM_OWNED_GROUP) RemoveMenuAction(m, IDM_GROUP_PROPERTIES);
    if (kind == ITEM_JOINED_GROUP) RemoveMenuAction(m, IDM_EDIT_GROUP);
    if (!(GetVersionType() == 99 && GetMenuType() != 1 && kind == ITEM_OWNED_GROUP)) RemoveMenuAction(m, IDM_CHAT_ROOM);

    const CTarvolanMember* member = ItemMember(item);
    const bool isMe = member && member->URI() == SignedInURI();
    switch (kind) {
    case ITEM_OWNED_ROOT:
        if (GetTarvolanCreateRight() != 0) EnableMenuAction(m, IDM_CREATE_GROUP, true);
        break;
    case ITEM_OWNED_GROUP: {
        for (int id : {IDM_GROUP_CHAT, IDM_EDIT_GROUP, IDM_INVITE}) EnableMenuAction(m, id, true);
        if (!firstRequestSent) EnableMenuAction(m, IDM_DELETE_GROUP, true);
        const CTarvolan* group = ItemGroup(item);
        const CGroupRecord* record = group ? m_GroupData.GroupTable().Get(group->URI()) : nullptr;
        if (record && record->chatRoomFlag) RemoveMenuAction(m, IDM_CHAT_ROOM);
        else EnableMenuAction(m, IDM_CHAT_ROOM, true);
        break;
    }
    case ITEM_JOINED_GROUP:
        for (int id : {IDM_GROUP_CHAT, IDM_GROUP_PROPERTIES, IDM_LEAVE_GROUP}) EnableMenuAction(m, id, true);
        break;
    case ITEM_BASIC_GROUP:
    case ITEM_MUTUAL_GROUP:
        for (int id : {IDM_GROUP_CHAT, IDM_GROUP_PROPERTIES}) EnableMenuAction(m, id, true);
        break;
    case ITEM_OWNED_MEMBER:
        if (!member) break;
        if (isMe) {
            EnableMenuAction(m, IDM_CHANGE_MY_NAME, true);
        } else {
            EnableMenuAction(m, IDM_REMOVE_MEMBER, true);
            EnableMessageItems(m, *member);
        }
        break;
    case ITEM_JOINED_MEMBER:
        if (!member) break;
        if (isMe) EnableMenuAction(m, IDM_CHANGE_MY_NAME, true);
        else EnableMessageItems(m, *member);
        break;
    default:
        break;  // the top root, the joined root and the members of kinds 10 and 11
    }

    const int command = m_context.Driver().TrackPopupMenu(m, this, globalPos);
    menu.reset();
    if (command != 0) OnCommand(command, 0);
}

// ---- tooltips --------------------------------------------------------------------------

CString CTarvolanDialog::BuildToolTipText(QTreeWidgetItem* item) const
{
    const int kind = ItemKind(item);
    if (kind == ITEM_OWNED_ROOT) return Heading("===%s===", IDS_TIP_OWNED);
    if (kind == ITEM_JOINED_ROOT) return Heading("====%s====", IDS_TIP_JOINED);

    // Groups and members under the roots of my own and my joined groups.
    QTreeWidgetItem* groupItem = IsMemberItemKind(kind) ? item->parent() : item;
    QTreeWidgetItem* root = groupItem ? groupItem->parent() : nullptr;
    const bool owned = root && root == m_hRootOwned;
    const bool joined = root && root == m_hRootJoined;
    if (!owned && !joined) return Heading("====%s====", IDS_TOOLTIP_GROUPS);

    CString text = owned ? Heading("===%s===", IDS_TIP_OWNED) : Heading("====%s====", IDS_TIP_JOINED);
    if (IsGroupItemKind(kind)) {
        AppendLine(text, IDS_GROUP_NAME, FromQt(item->text(0)));
    } else if (const CTarvolanMember* member = ItemMember(item);
               member && kind == (owned ? ITEM_OWNED_MEMBER : ITEM_JOINED_MEMBER)) {
        AppendLine(text, IDS_MEMBER_NAME, member->m_csDisplayName);
        AppendLine(text, IDS_MEMBER_ACCOUNT, GetURIField(member->URI(), URI_ADDRESS));
        AppendLine(text, IDS_MEMBER_PHONE, member->m_csPhone);
    }
    return text;
}

void CTarvolanDialog::UpdateToolTip(const QPoint& viewportPos)
{
    CString text;
    try {
        text = BuildToolTipText(m_pTree->ItemFromPoint(viewportPos.x(), viewportPos.y(), m_pTree->IsFullRowSelect()));
    } catch (...) {
        CString line;
        line.Format("File=%s, Line=%d", "TarvolanDialog", 402);
        WriteLog(line, 1);
        return;
    }
    if (text == m_csToolTip) return;
    m_csToolTip = text;
    if (QToolTip::isVisible())
        QToolTip::showText(m_pTree->viewport()->mapToGlobal(viewportPos), ToQt(m_csToolTip), m_pTree->viewport());
}

bool CTarvolanDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_pTree || watched != m_pTree->viewport()) return CDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // A press on an expander: the tree toggles the item itself.
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        QTreeWidgetItem* row = m_pTree->itemAt(pos);
        m_bPressOnExpander = row && pos.x() < m_pTree->visualItemRect(row).left();
        break;
    }
    case QEvent::MouseMove:
        if (m_bToolTips) UpdateToolTip(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::ToolTip:
        if (!m_bToolTips) break;
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), ToQt(m_csToolTip), m_pTree->viewport());
        return true;
    default:
        break;
    }
    return CDialog::eventFilter(watched, event);
}

} // namespace tarvolan
