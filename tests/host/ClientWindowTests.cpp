// The client's main window as a person meets it: the language it speaks
// (with Qt's own texts and the module agreeing), the log pane it remembers,
// and the status bar that follows the simulated server.
#include <cstdlib>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "SharedSession.h"
#include "bridge/ClientSetup.h"
#include "clientkit/ClientKit.h"
#include "common/TextFunctions.h"
#include "platform/Window.h"
#include "player/ScenarioPlayer.h"
#include "protocol/TarvolanAbi.h"
#include "ui/ClientWindow.h"
#include "ui/Language.h"
#include "ui/MessageWindow.h"

using namespace host;

namespace {

QString YesButtonText()
{
    QDialogButtonBox box(QDialogButtonBox::Yes);
    return box.button(QDialogButtonBox::Yes)->text();
}

QStringList MenuTitles(const CClientWindow& window)
{
    QStringList titles;
    for (QAction* action : window.menuBar()->actions()) titles << action->text();
    return titles;
}

// Keeps the language variables of the process and puts them back.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* var : kVars) m_saved.emplace_back(var, qgetenv(var), qEnvironmentVariableIsSet(var));
    }
    void TearDown() override
    {
        for (const auto& [var, value, set] : m_saved) set ? qputenv(var, value) : qunsetenv(var);
        InstallTranslations(*QCoreApplication::instance(), QStringLiteral("C"));
    }

    static constexpr const char* kVars[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::tuple<const char*, QByteArray, bool>> m_saved;
};

} // namespace

TEST_F(LanguageTest, ChineseTurnsQtAndClientTextsChineseAndBackAgain)
{
    ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), QStringLiteral("zh_CN")));
    EXPECT_EQ(YesButtonText(), QStringLiteral("是(&Y)"));
    CClientWindow chinese;
    EXPECT_TRUE(MenuTitles(chinese).contains(QStringLiteral("群组(&G)"))) << MenuTitles(chinese).join(',').toStdString();

    ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), QStringLiteral("en_US")));
    EXPECT_EQ(YesButtonText(), QStringLiteral("&Yes"));
    CClientWindow english;
    EXPECT_TRUE(MenuTitles(english).contains(QStringLiteral("&Groups")));
}

TEST_F(LanguageTest, TheClaimedLocaleIsTheOneTheModuleSees)
{
    qputenv("LC_ALL", "en_US.UTF-8");
    ClaimProcessLocale(QStringLiteral("zh_CN"));
    EXPECT_TRUE(tarvolan::IsChineseSystemLanguage());  // LC_ALL, set, follows the claim
    EXPECT_EQ(ClientLocaleName(QString()), QStringLiteral("zh_CN"));

    qunsetenv("LC_ALL");
    ClaimProcessLocale(QStringLiteral("en_US.UTF-8"));
    EXPECT_FALSE(tarvolan::IsChineseSystemLanguage());
    EXPECT_FALSE(qEnvironmentVariableIsSet("LC_ALL"));  // not invented when it was unset
    EXPECT_EQ(ClientLocaleName(QString()), QStringLiteral("en_US"));
    EXPECT_EQ(ClientLocaleName(QStringLiteral("zh_TW")), QStringLiteral("zh_TW"));
}

TEST(ClientWindowTest, LogPaneStartsHiddenAndIsRememberedOnlyWhenAsked)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    {
        CClientWindow scripted;  // a scripted run never calls RememberState
        EXPECT_FALSE(scripted.IsLogShown());
        scripted.findChild<QAction*>(QStringLiteral("showLog"))->trigger();
        EXPECT_TRUE(scripted.IsLogShown());
        scripted.close();
    }
    {
        CClientWindow person;
        person.RememberState();
        EXPECT_FALSE(person.IsLogShown()) << "a scripted run left its state behind";
        person.findChild<QAction*>(QStringLiteral("showLog"))->trigger();
        person.close();
    }
    CClientWindow next;
    next.RememberState();
    EXPECT_TRUE(next.IsLogShown());
}

TEST(ClientWindowTest, StatusBarFollowsTheSimulatedServer)
{
    CClientSession& session = SharedSession();
    session.Network().FailNextAny(408);
    EXPECT_TRUE(session.Window().ServerStatusText().contains(QStringLiteral("408")));
    session.Network().HandleRequest(tarvolan::M_RequestGroupInfo, QJsonObject{{"pGroupURI", "sip:none@group.velora.example"}});
    EXPECT_FALSE(session.Window().ServerStatusText().contains(QStringLiteral("408"))) << "the failure was used";
    session.Network().SetEnabled(false);
    const QString off = session.Window().ServerStatusText();
    session.Network().SetEnabled(true);
    EXPECT_NE(off, session.Window().ServerStatusText());
    session.Network().Flush();
}

// The one-to-one message window takes the first keys typed into its input,
// also when it was open already and comes back to the front.
TEST(ClientWindowTest, MessageWindowOpensWithTheFocusInItsInput)
{
    CMessageWindow window(QStringLiteral("sip:lina@velora.example"), QStringLiteral("李娜"), 0);
    tarvolan::BringToFront(&window);
    QApplication::processEvents();
    EXPECT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr)
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "no focus");
}

// The name a desktop shows for the client, and with it the title of a box
// whose caption is empty.
TEST(ClientWindowTest, ApplicationIsNamedVeloraOnTheDesktop)
{
    NameApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Velora"));
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("tarvolan-client"));  // its settings stay where they were
}

namespace {

// A client with a conversation open, whose main window is closed the way a
// person closes it: the event loop ends, the module is stopped (its windows
// gone) and the client log holds whole lines. Exit status 0 when all held;
// 3 when the program still ran after the bounded wait.
[[noreturn]] void RunClientAndCloseItsWindow()
{
    CClientSession session;
    QString why;
    if (!StartTestSession(session, &why)) std::_Exit(4);
    CScenarioPlayer player(session);
    const QJsonArray steps = QJsonDocument::fromJson(R"([{"network": "signin"},
        {"network": "message", "group": "读书会", "from": "sip:lina@velora.example", "text": "好"}])").array();
    if (player.Play(steps, &why) != CScenarioPlayer::Passed || !session.ChatWindow(QStringLiteral("读书会"))) std::_Exit(5);
    const QString log = QString::fromLocal8Bit(tarvolan::clientkit::LogFilePath().c_str());

    QTimer::singleShot(0, &session.Window(), [&session] { session.Window().close(); });
    QTimer::singleShot(10000, [] { std::_Exit(3); });
    if (session.RunUntilClosed(false) != 0) std::_Exit(6);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) std::_Exit(7);
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly) || !file.readAll().endsWith('\n')) std::_Exit(8);
    std::exit(0);
}

} // namespace

TEST(ClientWindowTest, ClosingTheMainWindowEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RunClientAndCloseItsWindow(), ::testing::ExitedWithCode(0), "");
}
