// The item-data record of a tree item: its kind and the group or member
// object it stands for (null for roots), read and written through the item's
// user roles.
#pragma once

#include <cstdint>
#include <vector>

#include <QIcon>
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

// An item of the group tree. A sign-in makes tens of thousands of them, so
// an item stores nothing that it can read elsewhere: its text is that of its
// group (the name) or member (the display name, with the status text when
// shown), read when asked for; the item-data record, the index of its image
// in the window's image list (one icon shared by every item that shows it)
// and the tree control's colour and bold state are plain fields. data() and
// setData() answer and take them under their roles like any other item's
// data; the image is also the item's icon (Qt::DecorationRole). Items
// without an object (the roots) keep their text; other roles go to the base
// class. The group or member must outlive its item.
class CGroupTreeItem : public QTreeWidgetItem {
public:
    struct TLook {
        int image = -1;   // index in the image list; -1 for none
        int32_t color;    // COLORREF, or -1 for the control's text colour
        bool bold;
    };
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    CGroupTreeItem(int kind, void* object, const std::vector<QIcon>& images, TLook look);

    // Shows the image of that index without telling the model, for an owner
    // that repaints the view itself (tens of thousands of presence changes
    // each tell no view anything); false when it showed that one already.
    bool SetImageQuietly(int image)
    {
        if (m_nImage == image) return false;
        m_nImage = image;
        return true;
    }

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;

private:
    // Stores a value of one of the fields' roles; false for other roles.
    bool SetField(int role, const QVariant& value);
    // The text of the group or member; null when the item has neither.
    QVariant ObjectText() const;

    const std::vector<QIcon>& m_images;
    void* m_pObject;
    int32_t m_nKind;
    int32_t m_nImage;
    int32_t m_nColor;
    bool m_bBold;
};

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
