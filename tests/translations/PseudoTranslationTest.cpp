// Every text of the module's windows comes through Qt's translation system:
// under a pseudo-translation of the English catalogue, which wraps each text
// in 【】, no window shows or announces a word that is neither wrapped nor
// the world's own data (group and member names, addresses, subjects). The
// module is one object per process, so this program has a session of its
// own, started in that language.
#include <algorithm>
#include <functional>
#include <memory>

#include <QAccessible>
#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "host/ModuleWindows.h"
#include "host/SharedSession.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"
#include "sim/World.h"
#include "ui/ClientWindow.h"

using namespace host;
using namespace tarvolan;

namespace {

// The world's own texts, which windows show as they are; longest first, so
// that a name is taken out before a shorter one inside it.
QStringList DataTexts(const CWorld& world)
{
    QStringList data{world.me.uri, world.me.name, world.me.domain};
    for (const TUser& user : world.users) data << user.uri << user.name;
    for (const TGroup& group : world.groups) {
        data << group.uri << group.name << group.identifier << group.owner << group.creator << group.created
             << group.subject << group.bulletin;
        for (const TMember& member : group.members) data << member.uri << member.name;
    }
    for (qsizetype i = 0, n = data.size(); i < n; ++i)  // addresses also without "sip:", and their user parts
        if (data[i].startsWith(QStringLiteral("sip:"))) data << data[i].mid(4) << UserPart(data[i]);
    data.removeAll(QString());
    std::sort(data.begin(), data.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    return data;
}

// What is left of a text once the wrapped texts (innermost first: a wrapped
// template may hold wrapped words) and the data are taken out; empty when
// nothing but digits, punctuation and spaces remain.
QString Untranslated(QString text, const QStringList& data)
{
    static const QRegularExpression wrapped(QStringLiteral("【[^【】]*】"));
    for (QString before; before != text;) {
        before = text;
        text.remove(wrapped);
    }
    for (const QString& item : data) text.remove(item);
    const bool hasWord = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
    return hasWord ? text.trimmed() : QString();
}

// Every text of the window that a person reads or a screen reader announces:
// its caption, the tool tips of its controls, the name and description of
// each accessible object (labels, buttons, column titles, tree and list items).
QStringList ShownTexts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget* control : window->findChildren<QWidget*>())
        if (control->isVisibleTo(window)) texts << control->toolTip();
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        if (!node || node->state().invisible) return;
        texts << node->text(QAccessible::Name) << node->text(QAccessible::Description);
        for (int i = 0; i < node->childCount(); ++i) walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return texts;
}

class PseudoTranslation : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qputenv("TARVOLAN_TRANSLATIONS", TARVOLAN_PSEUDO_TRANSLATIONS);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // Records every text of the window that is neither wrapped nor data.
    void Check(QWidget* window, const char* name)
    {
        ASSERT_NE(window, nullptr) << name;
        window->show();
        QApplication::processEvents();
        for (const QString& text : ShownTexts(window))
            if (const QString rest = Untranslated(text, m_data); !rest.isEmpty())
                m_untranslated << QStringLiteral("%1: \"%2\"").arg(QLatin1String(name), text);
    }

    void CheckModal(CClientSession& session, int command, const char* name)
    {
        InspectModal(session, command, name, [&](CDialog* dialog) { Check(dialog, name); });
    }

    const QStringList m_data = DataTexts(CWorld::Default());
    QStringList m_untranslated;
};

TEST_F(PseudoTranslation, EveryModuleWindowShowsOnlyTranslatedTextsAndData)
{
    CClientSession& session = SharedSession();
    SignIn(session);
    const QString top = QStringLiteral("【Group management】");
    const QString owned = QStringLiteral("【Groups I created】");
    const QString joined = QStringLiteral("【Groups I joined】");
    Check(session.GroupWindow(), "group window");

    SelectTreeItem(session, {top, owned});
    CheckModal(session, IDM_CREATE_GROUP, "create");
    SelectTreeItem(session, {top, owned, QStringLiteral("产品研发部")});
    CheckModal(session, IDM_EDIT_GROUP, "edit");
    CheckModal(session, IDM_INVITE, "invite");
    SelectTreeItem(session, {top, owned, QStringLiteral("产品研发部"), QStringLiteral("演示用户")});
    CheckModal(session, IDM_CHANGE_MY_NAME, "text input");
    SelectTreeItem(session, {top, joined, QStringLiteral("读书会")});
    CheckModal(session, IDM_GROUP_PROPERTIES, "properties");

    SelectTreeItem(session, {top, owned, QStringLiteral("产品研发部")});
    SendCommand(session.GroupWindow(), IDM_BLACKLIST);
    Check(VisibleTopLevel("tarvolan::CTarvolanBlackListDialog"), "blacklist");
    SendCommand(session.GroupWindow(), IDM_GROUP_CHAT);
    Check(session.ChatWindow(QStringLiteral("产品研发部")), "conversation");

    TScriptedDialog history;
    history.button = 1;
    history.inspect = [&](CDialog* dialog) { Check(dialog, "history"); };
    session.Driver()->PushDialog(history);
    session.Window().findChild<QAction*>(QStringLiteral("openHistory"))->trigger();

    TScriptedDialog search;
    search.values = {{1224, "摄影"}};
    search.inspect = [&](CDialog* dialog) { Check(dialog, "search"); };
    session.Driver()->PushDialog(search);
    SendCommand(session.GroupWindow(), IDM_SEARCH_GROUPS);
    Check(VisibleTopLevel("tarvolan::CTarvolanInfoDialog"), "group information");

    const TMenuItem* menu = LoadResMenu(IDR_GROUP_MENU);
    ASSERT_NE(menu, nullptr);
    const std::unique_ptr<QMenu> popup(CreatePopupMenu(menu->children.front(), nullptr, kGroupMenuContext));
    for (QAction* action : popup->actions())
        if (!action->isSeparator() && !Untranslated(action->text(), m_data).isEmpty())
            m_untranslated << QStringLiteral("group menu: \"%1\"").arg(action->text());

    EXPECT_EQ(m_untranslated.join(QLatin1Char('\n')).toStdString(), "");
}

} // namespace
