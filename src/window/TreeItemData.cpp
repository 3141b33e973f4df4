#include "window/TreeItemData.h"

#include "controls/PresenceText.h"
#include "controls/TreeCtrlEx.h"
#include "groups/Tarvolan.h"
#include "platform/Window.h"

namespace tarvolan {

CGroupTreeItem::CGroupTreeItem(int kind, void* object, const std::vector<QIcon>& images, TLook look)
    : QTreeWidgetItem(kType), m_images(images), m_pObject(object), m_nKind(kind), m_nImage(look.image), m_nColor(look.color),
      m_bBold(look.bold)
{
}

QVariant CGroupTreeItem::ObjectText() const
{
    if (const CTarvolanMember* member = ItemMember(this)) return ToQt(member->ItemText());
    if (const CTarvolan* group = ItemGroup(this)) return ToQt(group->m_csName);
    return QVariant();
}

QVariant CGroupTreeItem::data(int column, int role) const
{
    if (column != 0) return QTreeWidgetItem::data(column, role);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        QVariant text = ObjectText();
        return text.isValid() ? text : QTreeWidgetItem::data(column, role);
    }
    case kItemKindRole: return m_nKind;
    case kItemObjectRole: return QVariant::fromValue(reinterpret_cast<quintptr>(m_pObject));
    case kItemImageRole: return m_nImage >= 0 ? QVariant(m_nImage) : QVariant();
    case Qt::DecorationRole:
        if (m_nImage >= 0 && static_cast<size_t>(m_nImage) < m_images.size())
            return m_images[static_cast<size_t>(m_nImage)];
        return QVariant();
    case CTreeCtrlEx::kColorRole: return m_nColor != CTreeCtrlEx::kDefaultColor ? QVariant(m_nColor) : QVariant();
    case CTreeCtrlEx::kBoldRole: return m_bBold;
    case Qt::AccessibleDescriptionRole:
        // A member's presence in words, worked out when a screen reader asks.
        if (const CTarvolanMember* member = ItemMember(this)) return PresenceInWords(*member);
        return QTreeWidgetItem::data(column, role);
    default: return QTreeWidgetItem::data(column, role);
    }
}

void CGroupTreeItem::setData(int column, int role, const QVariant& value)
{
    if (column != 0 || !SetField(role, value)) {
        QTreeWidgetItem::setData(column, role, value);
        return;
    }
    emitDataChanged();
}

bool CGroupTreeItem::SetField(int role, const QVariant& value)
{
    switch (role) {
    case kItemKindRole: m_nKind = value.toInt(); return true;
    case kItemObjectRole: m_pObject = reinterpret_cast<void*>(value.value<quintptr>()); return true;
    case kItemImageRole: m_nImage = value.isValid() ? value.toInt() : -1; return true;
    case CTreeCtrlEx::kColorRole: m_nColor = value.isValid() ? value.toInt() : CTreeCtrlEx::kDefaultColor; return true;
    case CTreeCtrlEx::kBoldRole: m_bBold = value.toBool(); return true;
    default: return false;
    }
}

} // namespace tarvolan
