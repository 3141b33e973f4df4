// The client's main window as a person meets it: the language it speaks
// (with Qt's own texts and the module agreeing), the log pane it remembers,
// and the status bar that follows the simulated server.
#include <QApplication>
#include <QDialogButtonBox>
#include <QJsonObject>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ClientWindow.h"
#include "Language.h"
#include "SharedSession.h"
#include "common/TextFunctions.h"
#include "protocol/TarvolanAbi.h"

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
    session.Ims().FailNextAny(408);
    EXPECT_TRUE(session.Window().ServerStatusText().contains(QStringLiteral("408")));
    session.Ims().HandleRequest(tarvolan::M_RequestGroupInfo, QJsonObject{{"pGroupURI", "sip:none@group.velora.example"}});
    EXPECT_FALSE(session.Window().ServerStatusText().contains(QStringLiteral("408"))) << "the failure was used";
    session.Ims().SetEnabled(false);
    const QString off = session.Window().ServerStatusText();
    session.Ims().SetEnabled(true);
    EXPECT_NE(off, session.Window().ServerStatusText());
    session.Ims().Flush();
}
