// The reference client's 群组 menu: its entries reach the module's group
// window as the commands a host offers.
#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include "ClientSession.h"
#include "ClientWindow.h"
#include "SharedSession.h"

using namespace host;

TEST(GroupMenu, SearchEntryRunsTheSearchDialog)
{
    CClientSession& session = SharedSession();
    auto* menu = session.Window().findChild<QMenu*>(QStringLiteral("groupMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("群组(&G)"));
    QAction* search = nullptr;
    for (QAction* action : menu->actions())
        if (action->text() == QStringLiteral("搜索群组...")) search = action;
    ASSERT_NE(search, nullptr);
    const size_t before = session.Transcript().Entries().size();
    search->trigger();  // no answer queued: the dialog is cancelled
    bool ran = false;
    const auto& entries = session.Transcript().Entries();
    for (size_t i = before; i < entries.size(); ++i)
        ran = ran || (entries[i].value("kind") == "modal" && entries[i].value("caption") == "CTarvolanSearchDialog");
    EXPECT_TRUE(ran);
}
