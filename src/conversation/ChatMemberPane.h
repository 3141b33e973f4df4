// CChatMemberPane: the member tree of a conversation window (control 1088).
// A root item "群组: <name>" with one item per member of the group in list
// order, each with the picture of the member's presence; the root's picture
// follows its state (0 expanded, 1 collapsed).
#pragma once

#include <vector>

#include <QIcon>
#include <QObject>

#include "common/GbkString.h"

class QTreeWidgetItem;

namespace tarvolan {

class CTarvolan;
class CTarvolanMember;
class CTreeCtrlEx;

// A QObject so that its connections to the tree go with it.
class CChatMemberPane : public QObject {
public:
    // The tree the window's form created; it must outlive the pane.
    explicit CChatMemberPane(CTreeCtrlEx& tree);
    CChatMemberPane(const CChatMemberPane&) = delete;
    CChatMemberPane& operator=(const CChatMemberPane&) = delete;

    // Loads the member pictures and lets the root's picture follow its state.
    void Init();
    // The whole tree anew: the root named after the group, its members under it.
    void Fill(const CTarvolan* group, const CString& groupName);
    // The member's item shows it again; without one the tree is filled anew.
    void Update(const CTarvolan* group, const CString& groupName, const CTarvolanMember& member);

    // Tree image of a member by its presence state and kind.
    static int ImageIndex(int state, int kind);
    // The picture at index of the member image strip; an empty icon outside it.
    const QIcon& Image(int index) const;

private:
    void SetRootImage(QTreeWidgetItem* item);
    void ShowPresence(QTreeWidgetItem* item, const CTarvolanMember& member) const;
    static CString ItemText(const CTarvolanMember& member);

    CTreeCtrlEx& m_tree;
    std::vector<QIcon> m_images;
};

} // namespace tarvolan
