// The reference client's Groups menu: its entries reach the module's group
// window as the commands a host offers.
#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

#include "SharedSession.h"
#include "player/ScenarioPlayer.h"
#include "ui/ClientSession.h"
#include "ui/ClientWindow.h"

using namespace host;

TEST(GroupMenu, SearchEntryRunsTheSearchDialog)
{
    CClientSession& session = SharedSession();
    QAction* search = session.Window().findChild<QAction*>(QStringLiteral("command13066"));
    ASSERT_NE(search, nullptr);
    const size_t before = session.Transcript().Entries().size();
    search->trigger();  // no answer queued: the dialog is cancelled
    bool ran = false;
    const auto& entries = session.Transcript().Entries();
    for (size_t i = before; i < entries.size(); ++i)
        ran = ran || (entries[i].value("kind") == "modal" && entries[i].value("caption") == "CTarvolanSearchDialog");
    EXPECT_TRUE(ran);
}

// The history entry opens the selected group's conversation and, from it,
// the history viewer.
TEST(GroupMenu, HistoryEntryOpensTheViewerOverTheConversation)
{
    CClientSession& session = SharedSession();
    CScenarioPlayer player(session);
    QString why;
    ASSERT_EQ(player.Play(QJsonDocument::fromJson(R"([{"network": "signin"},
        {"click": ["群组管理", "我创建的群组", "产品研发部"]}])").array(), &why), CScenarioPlayer::Passed)
        << why.toStdString();
    QAction* history = session.Window().findChild<QAction*>(QStringLiteral("openHistory"));
    ASSERT_NE(history, nullptr);
    const size_t before = session.Transcript().Entries().size();
    history->trigger();  // no answer queued: the viewer is closed at once
    bool viewer = false;
    const auto& entries = session.Transcript().Entries();
    for (size_t i = before; i < entries.size(); ++i)
        viewer = viewer || (entries[i].value("kind") == "modal" && entries[i].value("caption") == "CTarvolanHistoryDialog");
    EXPECT_TRUE(viewer);
    EXPECT_NE(session.ChatWindow(QStringLiteral("产品研发部")), nullptr);
}

// The transfer entry gives the group window command 13171 for the member
// selected in its tree: the module asks before it sends the transfer.
TEST(GroupMenu, TransferEntryAsksAboutTheSelectedMember)
{
    CClientSession& session = SharedSession();
    CScenarioPlayer player(session);
    QString why;
    ASSERT_EQ(player.Play(QJsonDocument::fromJson(R"([{"network": "signin"},
        {"click": ["群组管理", "我创建的群组", "Weekend Hiking"]}, {"key": "Right", "window": "main", "control": 1000},
        {"click": ["群组管理", "我创建的群组", "Weekend Hiking", "Erin Clark"]},
        {"answer": "no"}])").array(), &why), CScenarioPlayer::Passed)
        << why.toStdString();
    QAction* transfer = session.Window().findChild<QAction*>(QStringLiteral("command13171"));
    ASSERT_NE(transfer, nullptr);
    const size_t before = session.Transcript().Entries().size();
    transfer->trigger();
    bool asked = false;
    const auto& entries = session.Transcript().Entries();
    for (size_t i = before; i < entries.size(); ++i)
        asked = asked || entries[i].value("text") == QStringLiteral("您确定要转让 Weekend Hiking 群组给 Erin Clark 吗？");
    EXPECT_TRUE(asked);
}
