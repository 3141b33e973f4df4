// Every module window as a screen reader and a keyboard user meet it: Qt's
// accessibility tree names every interactive control, Tab reaches every
// enabled control in reading order, and the window opens with the focus where
// a person starts typing.
#include <algorithm>
#include <functional>
#include <set>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "ModuleWindows.h"
#include "SharedSession.h"
#include "scripted/ScriptedUiDriver.h"
#include "platform/Accessibility.h"
#include "platform/Window.h"
#include "player/Keyboard.h"
#include "res/ModuleResources.h"
#include "ui/ClientSession.h"
#include "ui/ClientWindow.h"

using namespace host;
using namespace tarvolan;

namespace {

bool IsInteractive(QAccessible::Role role)
{
    static const std::set<QAccessible::Role> roles = {
        QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::SpinBox, QAccessible::List, QAccessible::Tree,
        QAccessible::Table, QAccessible::ButtonMenu, QAccessible::ButtonDropDown};
    return roles.count(role) != 0;
}

QString Describe(QAccessibleInterface* node)
{
    const QObject* object = node->object();
    return QStringLiteral("role %1 %2").arg(node->role()).arg(object ? object->objectName() : QStringLiteral("?"));
}

// What a screen reader could not name in the window: visible interactive
// controls without a name, and tree and table columns announced by Qt's
// default titles ("1"; a list has no column title to announce).
QStringList UnnamedControls(QWidget* window)
{
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    QStringList unnamed;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        if (!node || node->state().invisible) return;
        const QAccessible::Role role = node->role();
        if (IsInteractive(role) && node->text(QAccessible::Name).trimmed().isEmpty()) unnamed << Describe(node);
        if (QAccessibleTableInterface* table = node->tableInterface()) {
            for (int column = 0; role != QAccessible::List && column < table->columnCount(); ++column) {
                const QString title = table->columnDescription(column);
                if (number.match(title).hasMatch()) unnamed << Describe(node) + QStringLiteral(" column ") + title;
            }
            return;  // cells are named by their own texts
        }
        for (int i = 0; i < node->childCount(); ++i) walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return unnamed;
}

// The controls of the window that Tab (or Shift+Tab) visits from the focus
// until it comes back to it, the focus first; empty when it never comes back.
QList<QWidget*> TabRound(QWidget* window, bool forward)
{
    QWidget* top = window->window();
    QWidget* start = top->focusWidget();
    QList<QWidget*> round{start};
    for (int i = 0; i < 100; ++i) {
        QWidget* from = top->focusWidget() ? top->focusWidget() : top;
        QKeyEvent press(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                        forward ? Qt::NoModifier : Qt::ShiftModifier);
        QApplication::sendEvent(from, &press);
        QWidget* now = top->focusWidget();
        if (now == start) return round;
        if (window->isAncestorOf(now)) round << now;
    }
    return {};
}

// Every enabled control comes in the Tab round, in reading order (within a
// column Tab goes down, except where the round starts again at the top), and
// Shift+Tab walks the same round backwards.
void CheckTabOrder(QWidget* window, const char* name)
{
    ASSERT_NE(window->window()->focusWidget(), nullptr) << name;
    const QList<QWidget*> round = TabRound(window, true);
    ASSERT_FALSE(round.isEmpty()) << name << ": Tab never comes back";
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const bool takesTab = control->isVisible() && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus);
        EXPECT_TRUE(!takesTab || round.contains(control)) << name << ": Tab skips " << control->objectName().toStdString();
    }
    int upward = 0;
    for (qsizetype i = 0; i < round.size(); ++i) {
        const QWidget* from = round[i];
        const QWidget* to = round[(i + 1) % round.size()];
        const QRect a(from->mapTo(window->window(), QPoint()), from->size());
        const QRect b(to->mapTo(window->window(), QPoint()), to->size());
        if (b.left() < a.right() && a.left() < b.right() && b.bottom() <= a.top()) ++upward;
    }
    EXPECT_LE(upward, 1) << name << ": Tab jumps back up within a column";
    QList<QWidget*> back = TabRound(window, false);
    std::reverse(back.begin() + (back.isEmpty() ? 0 : 1), back.end());
    EXPECT_EQ(back, round) << name << ": Shift+Tab walks another round";
}

// What a screen reader last heard of the focus: the control (for an item,
// the view holding it) that the module reported last, and its name.
class CFocusReports {
public:
    CFocusReports() { s_pThis = this, m_previous = ObserveFocusReports(&Record); }
    ~CFocusReports() { ObserveFocusReports(m_previous), s_pThis = nullptr; }
    CFocusReports(const CFocusReports&) = delete;
    CFocusReports& operator=(const CFocusReports&) = delete;
    QObject* LastObject() const { return m_object; }
    QString LastName() const { return m_name; }

private:
    static void Record(QAccessibleInterface* node)
    {
        if (!s_pThis) return;
        s_pThis->m_object = node->object() ? node->object() : node->parent()->object();
        s_pThis->m_name = node->text(QAccessible::Name);
    }
    static inline CFocusReports* s_pThis = nullptr;
    FocusReportObserver m_previous = nullptr;
    QObject* m_object = nullptr;
    QString m_name;
};

// The window as a person gets it: shown, focus where it opens, and that
// focus reported to assistive technology once the window is up.
void CheckWindow(QWidget* window, const char* name, int focusId)
{
    ASSERT_NE(window, nullptr) << name;
    CFocusReports reports;
    window->show();
    QApplication::processEvents();
    QApplication::processEvents();  // the report queued behind the activation
    EXPECT_EQ(UnnamedControls(window).join(QStringLiteral(", ")).toStdString(), "") << name;
    QWidget* focus = window->window()->focusWidget();
    EXPECT_EQ(focus ? ControlId(focus) : 0, focusId) << name << ": the focus it opens with";
    if (window->isWindow()) {
        EXPECT_TRUE(focus && reports.LastObject() == focus) << name << ": the focus is not reported after opening";
    }
    CheckTabOrder(window, name);
}

// What a screen reader hears of the tree's row with that text besides the text.
QString Description(QTreeWidget* tree, const QString& text)
{
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(tree)->tableInterface();
    for (int row = 0; row < table->rowCount(); ++row)
        if (QAccessibleInterface* cell = table->cellAt(row, 0); cell && cell->text(QAccessible::Name) == text)
            return cell->text(QAccessible::Description);
    return QString();
}

// Runs a command whose modal dialog is checked while it is open, then cancelled.
void CheckModal(CClientSession& session, int command, const char* name, int focusId)
{
    InspectModal(session, command, name, [&](CDialog* dialog) { CheckWindow(dialog, name, focusId); });
}

} // namespace

// The group tree that gets the focus back (after a dialog or a menu) is
// reported with its current item, not as the bare tree.
TEST(Accessibility, TreeGettingTheFocusBackReportsItsItem)
{
    CClientSession& session = SharedSession();
    SignIn(session);
    QTreeWidget* tree = session.GroupTree();
    tree->window()->show();
    QApplication::processEvents();
    SelectTreeItem(session, {"群组管理", "我创建的群组", "产品研发部"});
    QWidget* other = FindControl(session.GroupWindow(), 1006);
    ASSERT_NE(other, nullptr);
    other->setFocus();
    CFocusReports reports;
    tree->setFocus(Qt::PopupFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(reports.LastObject(), tree);
    EXPECT_EQ(reports.LastName(), QStringLiteral("产品研发部"));
}

TEST(Accessibility, EveryModuleWindowIsNamedAndWalkedByTab)
{
    CClientSession& session = SharedSession();
    SignIn(session);
    CheckWindow(session.GroupWindow(), "group window", 1000);

    SelectTreeItem(session, {"群组管理", "我创建的群组"});
    CheckModal(session, IDM_CREATE_GROUP, "create", 1045);
    SelectTreeItem(session, {"群组管理", "我创建的群组", "产品研发部"});
    CheckModal(session, IDM_EDIT_GROUP, "edit", 1045);
    CheckModal(session, IDM_INVITE, "invite", 1045);
    SelectTreeItem(session, {"群组管理", "我创建的群组", "产品研发部", "演示用户"});
    CheckModal(session, IDM_CHANGE_MY_NAME, "text input", 1001);
    SelectTreeItem(session, {"群组管理", "我加入的群组", "读书会"});
    CheckModal(session, IDM_GROUP_PROPERTIES, "properties", IDOK);  // every field is for reading

    SelectTreeItem(session, {"群组管理", "我创建的群组", "产品研发部"});
    SendCommand(session.GroupWindow(), IDM_BLACKLIST);
    CheckWindow(VisibleTopLevel("tarvolan::CTarvolanBlackListDialog"), "blacklist", 1177);
    SendCommand(session.GroupWindow(), IDM_GROUP_CHAT);
    QWidget* chat = session.ChatWindow(QStringLiteral("产品研发部"));
    CheckWindow(chat, "conversation", 1521);
    EXPECT_EQ(chat->accessibleName(), QStringLiteral("群组会话 - 产品研发部"));
    // Presence in words, in both trees: 陈静 is on the phone.
    QTreeWidgetItem* member = FindItem(session.GroupTree(), {"群组管理", "我创建的群组", "产品研发部", "陈静"});
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(member->data(0, Qt::AccessibleDescriptionRole).toString(), QStringLiteral("通话中"));
    auto* members = qobject_cast<QTreeWidget*>(FindControl(chat, 1088));
    EXPECT_EQ(Description(members, QStringLiteral("sip:chenjing@velora.example")), QStringLiteral("通话中"));

    bool viewer = false;
    TScriptedDialog history;
    history.button = 1;
    history.inspect = [&](CDialog* dialog) {
        viewer = true;
        CheckWindow(dialog, "history", 1820);
        EXPECT_EQ(dialog->accessibleName(), QStringLiteral("群组历史消息 - 产品研发部"));
    };
    session.Driver()->PushDialog(history);
    session.Window().findChild<QAction*>(QStringLiteral("openHistory"))->trigger();
    EXPECT_TRUE(viewer);

    TScriptedDialog search;
    search.values = {{1224, "摄影"}};  // a group I am not in
    search.inspect = [](CDialog* dialog) { CheckWindow(dialog, "search", 1224); };
    session.Driver()->PushDialog(search);
    SendCommand(session.GroupWindow(), IDM_SEARCH_GROUPS);
    QWidget* information = VisibleTopLevel("tarvolan::CTarvolanInfoDialog");
    CheckWindow(information, "group information", 1524);

    // Enter on a result queries it, as a double-click does.
    const size_t before = session.Transcript().Entries().size();
    QString why;
    ASSERT_TRUE(PressKeys(FindControl(information, 1524), QStringLiteral("Return"), &why)) << why.toStdString();
    bool queried = false;
    const auto& entries = session.Transcript().Entries();
    for (size_t i = before; i < entries.size(); ++i)
        queried = queried || (entries[i].value("type") == "call" && entries[i].value("code") == 20);
    EXPECT_TRUE(queried);
}
