// The item-data record of a tree item: its kind and the group or member
// object it stands for (null for roots). Stored in the item's user roles.
#pragma once

#include <QTreeWidgetItem>

namespace tarvolan {

enum TreeItemKind : int {
    ITEM_NONE = 0,
    ITEM_TOP_ROOT = 1,
    ITEM_OWNED_GROUP = 2,
    ITEM_JOINED_GROUP = 3,
    ITEM_OWNED_MEMBER = 4,
    ITEM_JOINED_MEMBER = 5,
    ITEM_OWNED_ROOT = 6,
    ITEM_JOINED_ROOT = 7,
    ITEM_BASIC_GROUP = 8,
    ITEM_MUTUAL_GROUP = 9,
    ITEM_BASIC_MEMBER = 10,
    ITEM_MUTUAL_MEMBER = 11,
    ITEM_BASIC_ROOT = 12,
    ITEM_MUTUAL_ROOT = 13,
};

constexpr int kItemKindRole = Qt::UserRole;
constexpr int kItemObjectRole = Qt::UserRole + 1;
constexpr int kItemImageRole = Qt::UserRole + 2;  // index of the image shown

inline void SetItemData(QTreeWidgetItem* item, int kind, void* object)
{
    item->setData(0, kItemKindRole, kind);
    item->setData(0, kItemObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
}
inline int ItemKind(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kItemKindRole).toInt() : ITEM_NONE;
}
inline void* ItemObject(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<void*>(item->data(0, kItemObjectRole).value<quintptr>()) : nullptr;
}
inline bool IsGroupItemKind(int kind)
{
    return kind == ITEM_OWNED_GROUP || kind == ITEM_JOINED_GROUP || kind == ITEM_BASIC_GROUP ||
           kind == ITEM_MUTUAL_GROUP;
}
inline bool IsRootKind(int kind)
{
    return kind == ITEM_TOP_ROOT || kind == ITEM_OWNED_ROOT || kind == ITEM_JOINED_ROOT || kind == ITEM_BASIC_ROOT ||
           kind == ITEM_MUTUAL_ROOT;
}
inline bool IsMemberItemKind(int kind)
{
    return kind == ITEM_OWNED_MEMBER || kind == ITEM_JOINED_MEMBER || kind == ITEM_BASIC_MEMBER ||
           kind == ITEM_MUTUAL_MEMBER;
}

class CTarvolan;
class CTarvolanMember;

// The group of a group item, the member of a member item; null otherwise.
inline CTarvolan* ItemGroup(const QTreeWidgetItem* item)
{
    return IsGroupItemKind(ItemKind(item)) ? static_cast<CTarvolan*>(ItemObject(item)) : nullptr;
}
inline CTarvolanMember* ItemMember(const QTreeWidgetItem* item)
{
    return IsMemberItemKind(ItemKind(item)) ? static_cast<CTarvolanMember*>(ItemObject(item)) : nullptr;
}

} // namespace tarvolan
