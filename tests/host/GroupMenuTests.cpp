// The reference client's Groups menu: its entries reach the module's group
// window as the commands a host offers.
#include <QAction>
#include <gtest/gtest.h>

#include "ClientSession.h"
#include "ClientWindow.h"
#include "SharedSession.h"

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
