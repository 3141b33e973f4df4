// The group commands of the context menu and the buttons: their checks, the
// requests they send and test mode.
#include <QAbstractButton>
#include <QApplication>

#include "conversation/TarvolanChatDialog.h"
#include "window/CommandsFixture.h"
#include "groups/GroupSettingsRecord.h"

using namespace tarvolan;

namespace groups_testing::commands {
namespace {

using Texts = std::vector<std::string>;

class GroupCommandsTest : public CCommandsTest {
protected:
    void AnswerCreate(const char* name, const char* displayName = "Me", const char* subject = "",
                      const char* bulletin = "")
    {
        AnswerDialog({{1045, name}, {1589, displayName}, {1528, subject}, {1774, bulletin}});
    }
    QTreeWidgetItem* OwnedRoot() { return Dlg().Root(ITEM_OWNED_ROOT); }
};

TEST_F(GroupCommandsTest, CreateRefusesANameIOwnInAnyCaseAndSendsOthers)
{
    const int listed = Dlg().Data().GroupList().Count();
    AnswerCreate("mINE");
    Command(OwnedRoot(), IDM_CREATE_GROUP);
    EXPECT_EQ(Notices(), Texts{"已经存在该群组 Mine!"});
    EXPECT_EQ(NoticeFlags(), std::vector<unsigned>{MB_ICONINFORMATION});
    EXPECT_EQ(m_host.Count(M_SaveGroup), 0u);
    EXPECT_TRUE(Dlg().Data().PendingCreates().empty());

    AnswerCreate("CLUB", "Boss", "Openings", "Tuesdays");  // a group I only joined
    Command(OwnedRoot(), IDM_CREATE_GROUP);
    ASSERT_EQ(m_host.Count(M_SaveGroup), 1u);
    const TGroupSettings sent = Settings();
    EXPECT_EQ(std::string(sent.uri, sizeof(sent.uri)), std::string(sizeof(sent.uri), '\0'));
    EXPECT_STREQ(sent.name, "CLUB");
    EXPECT_STREQ(sent.displayName, "Boss");
    EXPECT_STREQ(sent.subject, "Openings");
    EXPECT_STREQ(sent.bulletin, "Tuesdays");
    EXPECT_EQ(sent.duration, 0);
    EXPECT_EQ(sent.visibility, 3);
    EXPECT_EQ(sent.needPermit, 1);
    EXPECT_EQ(sent.maxMembers, 1000);

    ASSERT_EQ(Dlg().Data().PendingCreates().size(), 1u);
    const TPendingCreate& pending = Dlg().Data().PendingCreates().front();
    EXPECT_EQ(pending.kind, 2);
    EXPECT_EQ(pending.name, "CLUB");
    EXPECT_EQ(pending.displayName, "Boss");
    EXPECT_TRUE(pending.uri.IsEmpty());
    EXPECT_EQ(pending.visibility, 3);
    EXPECT_EQ(pending.maxMembers, 1000);
    EXPECT_EQ(Dlg().TimerPeriod(CTarvolanDialog::kTimerPendingCreate), 5000);
    EXPECT_EQ(Dlg().Data().GroupList().Count(), listed);  // nothing changes before the result
}

TEST_F(GroupCommandsTest, CreateWithoutTheRightOrACancelledDialogDoesNothing)
{
    AnswerDialog({{1045, "Go"}, {1589, "Me"}}, IDCANCEL);
    Command(OwnedRoot(), IDM_CREATE_GROUP);
    EXPECT_EQ(DialogsRun(), Texts{"CTarvolanCreateDialog"});
    EXPECT_EQ(m_host.Count(M_SaveGroup), 0u);
    EXPECT_FALSE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerPendingCreate));

    m_driver.ClearPrompts();
    clientkit::SetCreateRight(0);
    AnswerCreate("Go");
    Command(OwnedRoot(), IDM_CREATE_GROUP);
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_TRUE(m_driver.HasQueuedDialogs());  // no dialog ran
    EXPECT_EQ(Requests(), 0u);
}

TEST_F(GroupCommandsTest, EditSendsTheDisplayNameOnlyWhenItChanged)
{
    AnswerDialog({});  // OK with the values filled in
    Command(GroupItem(kMine), IDM_EDIT_GROUP);
    ASSERT_EQ(m_host.Count(M_SaveGroup), 1u);
    EXPECT_EQ(m_host.Count(M_ChangeDisplayName), 0u);
    const TGroupSettings sent = Settings();
    EXPECT_STREQ(sent.uri, kMine);
    EXPECT_STREQ(sent.name, "Mine");
    EXPECT_STREQ(sent.displayName, "Me");
    EXPECT_EQ(sent.duration, 7);
    EXPECT_EQ(sent.visibility, 3);
    EXPECT_EQ(sent.needPermit, 1);
    EXPECT_EQ(sent.maxMembers, 500);
    EXPECT_STREQ(sent.subject, "Chess");
    EXPECT_TRUE(LoggedToHost("CTarvolanDialog::OnEditTarvolan(): GroupURI=sip:mine@groups.test, GroupName=Mine, "
                             "MyDispName=Me, MaxMember=500, NeedPermit=1, visibility=4, Subject=Chess, "
                             "Bulletin=Fridays"));

    m_host.Clear();
    AnswerDialog({{1589, "Captain"}});
    Command(GroupItem(kMine), IDM_EDIT_GROUP);
    EXPECT_EQ(m_host.Count(M_SaveGroup), 1u);
    ASSERT_EQ(m_host.Count(M_ChangeDisplayName), 1u);
    EXPECT_EQ(m_host.Of(M_ChangeDisplayName)[0].texts, (Texts{kMine, "Captain"}));
    EXPECT_EQ(Utf8(GroupItem(kMine)->text(0)), "Mine");  // the new name comes with the result
}

TEST_F(GroupCommandsTest, EditRefusesTheNameOfAnotherGroupIOwn)
{
    AnswerDialog({{1045, "SOLO"}});
    Command(GroupItem(kMine), IDM_EDIT_GROUP);
    EXPECT_EQ(Notices(), Texts{"组[Solo]已经存在"});
    EXPECT_EQ(Requests(), 0u);

    m_driver.ClearPrompts();
    AnswerDialog({{1045, "MINE"}});  // its own name in other letters
    Command(GroupItem(kMine), IDM_EDIT_GROUP);
    EXPECT_TRUE(Notices().empty());
    EXPECT_STREQ(Settings().name, "MINE");
}

TEST_F(GroupCommandsTest, DeleteAsksForAGroupOfOneAndRefusesALargerOne)
{
    Command(GroupItem(kMine), IDM_DELETE_GROUP);
    EXPECT_EQ(Notices(), Texts{"不能删除非空群组！"});
    EXPECT_EQ(Requests(), 0u);

    m_driver.ClearPrompts();
    m_driver.PushAnswer(IDNO);
    Command(GroupItem(kSolo), IDM_DELETE_GROUP);
    EXPECT_EQ(Notices(), Texts{"您确定要删除 Solo 组?"});
    EXPECT_EQ(NoticeFlags(), std::vector<unsigned>{MB_YESNO | MB_ICONQUESTION});
    EXPECT_EQ(Requests(), 0u);

    m_driver.PushAnswer(IDYES);
    Command(GroupItem(kSolo), IDM_DELETE_GROUP);
    ASSERT_EQ(m_host.Count(M_DeleteGroup), 1u);
    EXPECT_EQ(m_host.Of(M_DeleteGroup)[0].texts, Texts{"Solo"});
    EXPECT_NE(Group(kSolo), nullptr);  // it goes with the result
}

TEST_F(GroupCommandsTest, LeaveAsksAndSendsNameAndURI)
{
    Command(GroupItem(kClub), IDM_LEAVE_GROUP);
    EXPECT_EQ(Notices(), Texts{"您要退出 Club 群组吗 ?"});
    ASSERT_EQ(m_host.Count(M_LeaveGroup), 1u);
    EXPECT_EQ(m_host.Of(M_LeaveGroup)[0].texts, (Texts{"Club", kClub}));

    m_host.Clear();
    Command(GroupItem(kMine), IDM_LEAVE_GROUP);  // my own group is deleted, not left
    EXPECT_EQ(Requests(), 0u);
}

// The conversation the user asks for comes to the front with the focus, also
// when it was open already behind another window.
TEST_F(GroupCommandsTest, ConversationCommandBringsItsWindowToTheFront)
{
    Command(GroupItem(kMine), IDM_GROUP_CHAT);
    QWidget* chat = Dlg().ChatWindows().Find(*Group(kMine));
    ASSERT_NE(chat, nullptr);
    QWidget other;
    other.show();
    BringToFront(&other);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &other);
    Command(GroupItem(kMine), IDM_GROUP_CHAT);
    QApplication::processEvents();
    EXPECT_EQ(Dlg().ChatWindows().Find(*Group(kMine)), chat);
    EXPECT_EQ(QApplication::activeWindow(), chat);
}

TEST_F(GroupCommandsTest, InviteChecksPendingMembersAndBlacklistInThatOrder)
{
    COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe);
    mine.Member(kMe, "Me").Member(kBob, "Bob").Blacklisted("sip:carl@ims.test").Blacklisted("sip:dan@ims.test");
    SendGroup(mine);
    Dlg().Data().InvitesPending().push_back({"sip:carl@ims.test", "Mine"});
    m_host.Clear();

    for (const char* account : {"carl", "bob", "sip:dan@ims.test"}) {
        AnswerDialog({{1045, account}});
        Command(GroupItem(kMine), IDM_INVITE);
    }
    EXPECT_EQ(Notices(), (Texts{"您已经邀请carl加入本群组！", "bob已经加入该群组!", "dan 已经在该群组的黑名单中！"}));
    EXPECT_EQ(m_host.Count(M_InviteMember), 0u);

    AnswerDialog({{1045, " eve "}});
    Command(GroupItem(kMine), IDM_INVITE);
    ASSERT_EQ(m_host.Count(M_InviteMember), 1u);
    EXPECT_EQ(m_host.Of(M_InviteMember)[0].texts, (Texts{"sip:eve@ims.test", "eve", "Mine"}));
    EXPECT_TRUE(Logged("bIMSInviteSomeoneToMyPublicGroup, pUserURI=sip:eve@ims.test,Name=eve"));
    EXPECT_TRUE(Dlg().Data().InvitesPending().size() == 1u);  // recorded when the host reports it sent
}

TEST_F(GroupCommandsTest, TransferNeedsTheMemberOnline)
{
    Command(MemberItem(kMine, kBob), IDM_TRANSFER_GROUP);
    EXPECT_EQ(Notices(), (Texts{"您确定要转让 Mine 群组给 Bob 吗？", "Bob 目前不在线，请在对方上线后，转让群组！"}));
    EXPECT_EQ(Requests(), 0u);

    Word online[] = {W(kMine), W(kBob), W("online"), 0};
    Send(H_MemberPresence, online);
    m_driver.ClearPrompts();
    Command(MemberItem(kMine, kBob), IDM_TRANSFER_GROUP);
    EXPECT_EQ(Notices().size(), 1u);
    ASSERT_EQ(m_host.Count(M_TransferGroup), 1u);
    EXPECT_EQ(m_host.Of(M_TransferGroup)[0].texts, (Texts{kBob, kMine}));
}

TEST_F(GroupCommandsTest, RemoveMemberFromTheMenuAsksAndSends)
{
    m_driver.PushMenuChoice(IDM_REMOVE_MEMBER);
    Dlg().OnTreeRightClick(MemberItem(kMine, kBob), QPoint(0, 0));
    EXPECT_EQ(Notices(), Texts{"删除 Mine 群组的 Bob 成员吗 ?"});
    ASSERT_EQ(m_host.Count(M_RemoveMember), 1u);
    EXPECT_EQ(m_host.Of(M_RemoveMember)[0].texts, (Texts{kBob, "Mine"}));
}

TEST_F(GroupCommandsTest, ChangeMyNameIsTrimmedAndMustBeNewInTheGroup)
{
    QTreeWidgetItem* me = MemberItem(kMine, kMe);
    for (const char* typed : {"   ", " Bob ", " Boss "})
        AnswerDialog({{1001, typed}});
    for (int i = 0; i < 3; ++i) Command(me, IDM_CHANGE_MY_NAME);
    EXPECT_EQ(Notices(), (Texts{"显示名称不能为空", "该显示名已经存在！"}));
    ASSERT_EQ(m_host.Count(M_ChangeDisplayName), 1u);
    EXPECT_EQ(m_host.Of(M_ChangeDisplayName)[0].texts, (Texts{kMine, "Boss"}));
}

TEST_F(GroupCommandsTest, MessageCommandsRelayTheMemberToTheHost)
{
    Command(MemberItem(kClub, kOwner), IDM_INSTANT_MESSAGE);
    Command(MemberItem(kClub, kOwner), IDM_OFFLINE_MESSAGE);
    Command(GroupItem(kClub), IDM_INSTANT_MESSAGE);  // not a member item
    ASSERT_EQ(m_host.relayed4.size(), 2u);
    EXPECT_EQ(m_host.relayed4[0][0], 8);
    EXPECT_EQ(m_host.relayed4[0][1], 102);
    EXPECT_EQ(m_host.relayed4[0][3], 1);
    EXPECT_EQ(m_host.relayedTexts, (Texts{kOwner, "Owner", kOwner, "Owner"}));
    EXPECT_EQ(Requests(), 0u);
}

TEST_F(GroupCommandsTest, ButtonsAreIgnoredWhileLoggingOutAndAlwaysLeftUnchecked)
{
    auto* add = qobject_cast<QAbstractButton*>(Dlg().GetDlgItem(1006));
    ASSERT_NE(add, nullptr);
    clientkit::SetSignInState(1, 0, 1);
    add->setChecked(true);
    Dlg().OnCommand(1006, 0);
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_FALSE(add->isChecked());

    clientkit::SetSignInState(1, 0, 0);
    add->setChecked(true);
    AnswerCreate("Go");
    Dlg().OnCommand(1006, 0);
    EXPECT_EQ(m_host.Count(M_SaveGroup), 1u);
    EXPECT_FALSE(add->isChecked());

    Tree().setCurrentItem(GroupItem(kSolo));
    Dlg().OnCommand(1004, 0);
    EXPECT_EQ(m_host.Count(M_DeleteGroup), 1u);
}

TEST_F(GroupCommandsTest, TestModeProducesTheResultsItself)
{
    Dlg().m_bTestMode = 1;
    AnswerCreate("Go");
    Command(OwnedRoot(), IDM_CREATE_GROUP);
    ASSERT_NE(GroupItem("newGroupURI"), nullptr);
    EXPECT_EQ(GroupItem("newGroupURI")->parent(), OwnedRoot());
    EXPECT_TRUE(Dlg().Data().PendingCreates().empty());
    EXPECT_FALSE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerPendingCreate));

    Command(GroupItem(kSolo), IDM_DELETE_GROUP);
    EXPECT_EQ(Group(kSolo), nullptr);
    Command(GroupItem(kClub), IDM_LEAVE_GROUP);
    EXPECT_EQ(Group(kClub), nullptr);

    AnswerDialog({{1045, "eve"}});
    Command(GroupItem(kMine), IDM_INVITE);
    EXPECT_GE(Record(kMine)->FindMember("sip:eve@ims.test"), 0);  // sent and accepted at once
    EXPECT_TRUE(Dlg().Data().InvitesPending().empty());
}

TEST_F(GroupCommandsTest, AGroupThatGoesWhileTheQuestionIsOpenIsNotAskedFor)
{
    bool delivered = false;
    m_driver.onPrompt = [&](const TPrompt& prompt) {
        if (delivered || prompt.kind != "message") return;
        delivered = true;
        Word deleted[] = {W(kSolo)};
        Send(H_GroupDeleted, deleted);  // the owner's side: the server deleted it
    };
    Command(GroupItem(kSolo), IDM_DELETE_GROUP);
    EXPECT_TRUE(delivered);
    EXPECT_EQ(Group(kSolo), nullptr);
    EXPECT_EQ(m_host.Count(M_DeleteGroup), 0u);
}

TEST_F(GroupCommandsTest, TheWindowMayGoWhileADialogRuns)
{
    CScriptedUiDriver::TDialogAnswer answer;
    answer.values = {{1045, "Go"}, {1589, "Me"}};
    answer.inspect = [&](CDialog*) { m_module->UnInit(); };
    m_driver.PushDialog(answer);
    Dlg().OnCommand(IDM_CREATE_GROUP, 0);
    EXPECT_EQ(CTarvolanModule::Instance()->MainWindow(), nullptr);
    EXPECT_EQ(m_host.Count(M_SaveGroup), 0u);
}

TEST(GroupSettingsRecord, TextsAreCutAtTheirLimitsBetweenCharacters)
{
    TGroupSettingsValues values;
    values.name = std::string(70, 'n');
    values.bulletin = std::string(250, 'b');
    values.subject = "a";
    for (int i = 0; i < 110; ++i) values.subject += Utf8ToGbk("棋");  // 1 + 220 bytes
    values.visibilityIndex = 1;
    const TGroupSettings record = MakeGroupSettings("sip:x@y", values);
    EXPECT_EQ(sizeof(record), 808u);
    EXPECT_EQ(std::strlen(record.name), 64u);
    EXPECT_EQ(std::strlen(record.bulletin), 200u);
    EXPECT_EQ(reinterpret_cast<const char*>(&record)[805], '\0');
    EXPECT_EQ(std::strlen(record.subject), 199u);  // the 100th character would not fit whole
    EXPECT_EQ(record.visibility, 2);
    EXPECT_STREQ(record.uri, "sip:x@y");
}

TEST(GroupSettingsRecord, NamesCompareWithoutLetterCaseButByteExactInsideCharacters)
{
    EXPECT_TRUE(SameGroupName("Chess Club", "cHESS club"));
    EXPECT_FALSE(SameGroupName("Chess", "Chess "));
    // A double-byte character whose second byte is an ASCII capital is not a
    // letter: changing its case gives another character.
    const CString upper("\x81\x41"), lower("\x81\x61");
    EXPECT_FALSE(SameGroupName(upper, lower));
    EXPECT_TRUE(SameGroupName(upper + "A", upper + "a"));
}

} // namespace
} // namespace groups_testing::commands
