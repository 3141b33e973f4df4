// The blacklist window from the main window's side: command 13062, the
// host's list messages (1001, 1002) and the add and remove results (1029,
// 1030) that reach it, and what happens without it.
#include <QListWidget>

#include "dialogs/InputTextDialog.h"
#include "dialogs/TarvolanBlackListDialog.h"
#include "window/CommandsFixture.h"

namespace groups_testing::commands {
namespace {

class BlacklistWindowTest : public CCommandsTest {
protected:
    void SetUp() override
    {
        CCommandsTest::SetUp();
        COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe);
        mine.Member(kMe, "Me").Member(kBob, "Bob").Blacklisted("sip:henry@ims.test");
        SendGroup(mine);
        m_host.Clear();
    }

    // The open blacklist window; null when none.
    CTarvolanBlackListDialog* Window()
    {
        return dynamic_cast<CTarvolanBlackListDialog*>(Dlg().Windows().Window<CGroupBlacklistWindow>());
    }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        auto* box = qobject_cast<QListWidget*>(Window()->GetDlgItem(CTarvolanBlackListDialog::IDC_BLACKLIST));
        for (int row = 0; row < box->count(); ++row) lines.push_back(box->item(row)->text().toStdString());
        return lines;
    }
    void Entry(const char* uri, const char* group, int kind = 0)
    {
        Word record[] = {W(uri), W(group), static_cast<Word>(kind)};
        Send(H_BlacklistEntry, record);
    }
    void Changed(int success, const char* uri, const char* group, int operation, int kind = 0)
    {
        Word record[] = {static_cast<Word>(success), W(uri), W(group), static_cast<Word>(operation),
                         static_cast<Word>(kind)};
        Send(H_BlacklistChanged, record);
    }
    void Result(int code, const char* group, const char* uri, int result)
    {
        Word record[] = {W(group), W(uri), static_cast<Word>(result)};
        Send(code, record);
    }
};

TEST_F(BlacklistWindowTest, OpensOnlyForAGroupIOwnAndReplacesTheLastOne)
{
    Command(GroupItem(kClub), IDM_BLACKLIST);  // joined (kind 3): nothing
    Command(MemberItem(kMine, kBob), IDM_BLACKLIST);
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(m_host.Count(M_RequestBlacklist), 0u);

    Command(GroupItem(kMine), IDM_BLACKLIST);
    ASSERT_NE(Window(), nullptr);
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_EQ(Window()->GetGroupURI(), kMine);
    EXPECT_EQ(Lines(), std::vector<std::string>{"sip:henry@ims.test"});  // from the group table
    EXPECT_EQ(m_host.Of(M_RequestBlacklist).at(0).texts, std::vector<std::string>{kMine});

    QPointer<QWidget> first = Window();
    Command(GroupItem(kSolo), IDM_BLACKLIST);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(Window()->GetGroupURI(), kSolo);
    EXPECT_TRUE(Lines().empty());
}

TEST_F(BlacklistWindowTest, HostMessagesReachTheOpenWindow)
{
    Entry("sip:ivy@ims.test", kMine);  // no window: dropped
    Changed(0, "sip:ivy@ims.test", kMine, 1);
    EXPECT_TRUE(Notices().empty());

    Command(GroupItem(kMine), IDM_BLACKLIST);
    Entry("sip:ivy@ims.test", kMine);
    Changed(1, "sip:kim@ims.test", "Mine", 1);
    Result(H_AddBlacklistResult, "Mine", "sip:lee@ims.test", 200);
    Result(H_DeleteBlacklistResult, "Mine", "sip:henry@ims.test", 200);
    Result(H_DeleteBlacklistResult, "Mine", "sip:ivy@ims.test", 403);  // refused: no change
    EXPECT_EQ(Lines(), (std::vector<std::string>{"sip:ivy@ims.test", "sip:kim@ims.test", "sip:lee@ims.test"}));
    Changed(0, "sip:ivy@ims.test", "Mine", 0);
    EXPECT_EQ(Notices(), std::vector<std::string>{"对 sip:ivy@ims.test 的操作失败 !"});
}

// Closed by the user, the window is only hidden: it keeps its lines up to
// date until the next blacklist command or shut-down deletes it.
TEST_F(BlacklistWindowTest, ClosedWindowKeepsReceiving)
{
    Command(GroupItem(kMine), IDM_BLACKLIST);
    Window()->close();
    ASSERT_NE(Window(), nullptr);
    EXPECT_FALSE(Window()->isVisible());
    Result(H_AddBlacklistResult, "Mine", "sip:lee@ims.test", 200);
    EXPECT_EQ(Lines().back(), "sip:lee@ims.test");
    QPointer<QWidget> window = Window();
    Dlg().CleanUpShutDown();
    EXPECT_TRUE(window.isNull());
}

// A new blacklist command while "新增" asks for the account deletes the
// asking window: the account it was asked for is not sent.
TEST_F(BlacklistWindowTest, WindowReplacedWhileItAsks)
{
    Command(GroupItem(kMine), IDM_BLACKLIST);
    CScriptedUiDriver::TDialogAnswer answer;
    answer.values = {{CInputTextDialog::IDC_INPUT, "nina"}};
    answer.inspect = [this](CDialog*) { Command(GroupItem(kSolo), IDM_BLACKLIST); };
    m_driver.PushDialog(std::move(answer));
    QPointer<QWidget> first = Window();
    Window()->PressButton(CTarvolanBlackListDialog::IDC_ADD);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(Window()->GetGroupURI(), kSolo);
    EXPECT_EQ(m_host.Count(M_AddBlacklist), 0u);
}

} // namespace
} // namespace groups_testing::commands
