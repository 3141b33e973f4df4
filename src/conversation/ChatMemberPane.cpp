#include "conversation/ChatMemberPane.h"

#include <QTreeWidgetItem>

#include "controls/PresenceText.h"
#include "controls/TreeCtrlEx.h"
#include "groups/Presence.h"
#include "groups/Tarvolan.h"
#include "platform/Resources.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr int kMemberImageSize = 17;

} // namespace

CChatMemberPane::CChatMemberPane(CTreeCtrlEx& tree) : m_tree(tree)
{
    m_tree.SetElideMiddle(true);
}

void CChatMemberPane::Init()
{
    const QList<QIcon> icons = LoadImageIcons(IDB_TREE_IMAGES, kMemberImageSize, 0xFFFFFF);
    m_images.assign(icons.begin(), icons.end());
    m_tree.setIconSize(QSize(kMemberImageSize, kMemberImageSize));
    QObject::connect(&m_tree, &QTreeWidget::itemExpanded, this, &CChatMemberPane::SetRootImage);
    QObject::connect(&m_tree, &QTreeWidget::itemCollapsed, this, &CChatMemberPane::SetRootImage);
}

// The same picture as the member's item in the group tree: one mapping for
// both windows, over our own image strip.
int CChatMemberPane::ImageIndex(int state, int kind)
{
    return tarvolan::MemberImage(state, kind);
}

const QIcon& CChatMemberPane::Image(int index) const
{
    static const QIcon none;
    return (index >= 0 && index < static_cast<int>(m_images.size())) ? m_images[static_cast<size_t>(index)] : none;
}

CString CChatMemberPane::ItemText(const CTarvolanMember& member)
{
    return member.URI();
}

void CChatMemberPane::SetRootImage(QTreeWidgetItem* item)
{
    if (!item || item->parent()) return;
    item->setIcon(0, Image(item->isExpanded() ? 0 : 1));
}

// The presence as the picture and, for a screen reader, in words.
void CChatMemberPane::ShowPresence(QTreeWidgetItem* item, const CTarvolanMember& member) const
{
    item->setIcon(0, Image(ImageIndex(member.m_nStatus, member.m_nPresenceKind)));
    item->setData(0, Qt::AccessibleDescriptionRole, PresenceInWords(member));
}

void CChatMemberPane::Fill(const CTarvolan* group, const CString& groupName)
{
    m_tree.clear();
    CString rootText;
    rootText.Format("%s: %s", LoadResString(IDS_GROUP).c_str(), groupName.c_str());
    auto* root = new QTreeWidgetItem(QStringList{ToQt(rootText)});
    root->setIcon(0, Image(0));
    m_tree.addTopLevelItem(root);
    if (group) {
        QList<QTreeWidgetItem*> items;
        for (const CTarvolanMember* member : group->Members()) {
            auto* item = new QTreeWidgetItem(QStringList{ToQt(ItemText(*member))});
            item->setToolTip(0, item->text(0));  // the whole address when the pane elides it
            ShowPresence(item, *member);
            items.append(item);
        }
        root->addChildren(items);
    }
    root->setExpanded(true);
    SetRootImage(root);
}

void CChatMemberPane::Update(const CTarvolan* group, const CString& groupName, const CTarvolanMember& member)
{
    QTreeWidgetItem* root = m_tree.topLevelItem(0);
    const CString text = ItemText(member);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* item = root->child(i);
        if (FromQt(item->text(0)) != text) continue;
        item->setText(0, ToQt(text));
        ShowPresence(item, member);
        return;
    }
    Fill(group, groupName);
}

} // namespace tarvolan
