// Invitations and join requests on both sides, and the replay of the
// requests parked during sign-in.
#include <cstring>

#include "window/EventRecords.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

class InvitationEventsTest : public CEventsTest {
protected:
    tagGroupInvite m_chess = Request<tagGroupInvite>("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
};

TEST_F(InvitationEventsTest, InvitationIsAnsweredOnlyWhileSignedIn)
{
    m_driver.PushAnswer(IDYES);
    m_driver.PushAnswer(IDCANCEL);
    Send(H_InvitedToGroup, &m_chess);
    Send(H_InvitedToGroup, &m_chess);
    EXPECT_EQ(PromptText(0), "Ann 邀请您加入群组 Chess，同意?");
    EXPECT_EQ(m_driver.Prompts()[0].flags, MB_YESNO | MB_ICONQUESTION);
    const auto answers = m_host.Of(M_AnswerInvitation);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].texts, (std::vector<std::string>{"sip:ann@ims.test", "Chess", "sip:chess@groups.test", "inv-7"}));
    EXPECT_EQ(answers[0].ints, std::vector<long>{1});
    EXPECT_EQ(answers[1].ints, std::vector<long>{2});  // any button but Yes
    EXPECT_TRUE(Logged("OnIMSInvitedToPublicGroupVeloractrl1:pOwnerURI=sip:ann@ims.test, pOwnerName=Ann, "
                       "pGroupName= Chess,pGroupURI=sip:chess@groups.test,pReturn=inv-7"));

    tagGroupInvite unterminated;
    std::memset(&unterminated, 'x', sizeof(unterminated));
    Send(H_InvitedToGroup, &unterminated);
    EXPECT_EQ(m_host.Of(M_AnswerInvitation).at(2).texts[0].size(), 257u);  // read within its field
    EXPECT_EQ(m_host.Of(M_AnswerInvitation).at(2).texts[3].size(), 129u);

    m_host.Clear();
    clientkit::SetSignInState(1, 0, 1);  // logging out: dropped
    Send(H_InvitedToGroup, &m_chess);
    clientkit::SetSignInState(0, 1, 0);  // signing in: parked
    Send(H_InvitedToGroup, &m_chess);
    Send(H_InvitedToGroup, nullptr);
    EXPECT_EQ(m_host.LogLines().size(), 2u);
    EXPECT_EQ(m_host.LogLines()[0], "OnIMSInvitedToPublicGroupVeloractrl1: have logout,so return!");
    EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
    EXPECT_EQ(PromptCount(), 3u);
}

TEST_F(InvitationEventsTest, JoinResultAddsTheGroupOfItsOwnInvitation)
{
    auto go = Request<tagGroupInvite>("Go", "sip:cho@ims.test", "Cho", "sip:go@groups.test", "inv-8");
    Send(H_InvitedToGroup, &m_chess);
    Send(H_InvitedToGroup, &go);  // arrives before the first join result
    m_host.Clear();
    Word joined[] = {1, W("sip:chess@groups.test"), 200};
    Send(H_InviteJoinResult, joined);
    EXPECT_EQ(m_host.Of(M_RequestGroupInfo).at(0).texts, std::vector<std::string>{"sip:chess@groups.test"});
    const int i = Dlg().Data().GroupList().Find("sip:chess@groups.test", "", GROUP_PUBLIC);
    ASSERT_GE(i, 0);
    EXPECT_EQ(Dlg().Data().GroupList()[i].name, "Chess");
    EXPECT_EQ(Dlg().Data().GroupList()[i].owner, "sip:ann@ims.test");
    ASSERT_EQ(Record("sip:chess@groups.test")->MemberCount(), 1);
    EXPECT_EQ(Record("sip:chess@groups.test")->Member(0).displayName, "Ann");
    EXPECT_EQ(GroupItem("sip:chess@groups.test")->parent(), Dlg().Root(ITEM_JOINED_ROOT));
    EXPECT_NE(MemberItem("sip:chess@groups.test", "sip:ann@ims.test"), nullptr);

    Word failed[] = {1, W("sip:go@groups.test"), 408}, otherKind[] = {2, W("sip:go@groups.test"), 408};
    Send(H_InviteJoinResult, otherKind);
    Send(H_InviteJoinResult, failed);
    ASSERT_EQ(PromptCount(), 3u);
    EXPECT_EQ(PromptText(2), "加入群组操作失败！");
    EXPECT_EQ(m_driver.Prompts()[2].flags, MB_ICONEXCLAMATION);
    EXPECT_EQ(Group("sip:go@groups.test"), nullptr);
}

TEST_F(InvitationEventsTest, InviteeAnswersToMyInvitation)
{
    Dlg().Data().InvitesPending().push_back({"sip:carl@ims.test", "Mine"});
    Dlg().Data().InvitesPending().push_back({"sip:dora@ims.test", "Elsewhere"});
    Word accepted[] = {W("Mine"), W("sip:carl@ims.test"), 1}, unknownGroup[] = {W("Elsewhere"), W("sip:dora@ims.test"), 1};
    Send(H_InviteResult, accepted);
    Send(H_InviteResult, unknownGroup);
    EXPECT_TRUE(Dlg().Data().InvitesPending().empty());  // even for a group not in the table
    EXPECT_EQ(Record(kMine)->MemberCount(), 3);
    // A name new to the recent contact-list names: the item waits for the
    // member notice; a name among them gets its item at once.
    EXPECT_EQ(Member(kMine, "sip:carl@ims.test"), nullptr);
    Dlg().Data().RecentListNames().Add("Mine");
    Word again[] = {W("Mine"), W("sip:fred@ims.test"), 1};
    Send(H_InviteResult, again);
    EXPECT_EQ(Record(kMine)->MemberCount(), 4);
    ASSERT_NE(Member(kMine, "sip:fred@ims.test"), nullptr);
    EXPECT_EQ(Utf8(MemberItem(kMine, "sip:fred@ims.test")->text(0)), "fred");

    Word refused[] = {W("Mine"), W("sip:eli@ims.test"), 2}, other[] = {W("Mine"), W("sip:eli@ims.test"), 4};
    Send(H_InviteResult, refused);
    Send(H_InviteResult, other);
    ASSERT_EQ(PromptCount(), 1u);
    EXPECT_EQ(PromptText(0), "eli拒绝加入群组Mine!");
}

TEST_F(InvitationEventsTest, JoinRequestsToMyGroup)
{
    auto nameless = Request<tagGroupJoin>("Mine", "sip:eve@ims.test", "", "r1", "r2");
    auto notMine = Request<tagGroupJoin>("Club", "sip:eve@ims.test", "Eve", "r1", "r2");
    m_driver.onPrompt = [&](const TPrompt&) {
        m_driver.onPrompt = nullptr;
        Send(H_JoinRequest, &nameless);  // the same request while it is asked about
    };
    Send(H_JoinRequest, &nameless);
    Send(H_JoinRequest, &notMine);
    ASSERT_EQ(PromptCount(), 1u);
    EXPECT_EQ(PromptText(0), "用户 sip:eve@ims.test 请求加入您的群组 Mine,同意?");
    EXPECT_EQ(m_host.Of(M_AnswerJoinRequest).at(0).texts, (std::vector<std::string>{"sip:eve@ims.test", "r1", "r2"}));
    EXPECT_EQ(m_host.Of(M_AnswerJoinRequest).at(0).ints, std::vector<long>{1});
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 1u);
    EXPECT_NE(MemberItem(kMine, "sip:eve@ims.test"), nullptr);

    auto refused = Request<tagGroupJoin>("Mine", "sip:fred@ims.test", "Fred", "r1", "r2");
    m_driver.PushAnswer(IDNO);
    Send(H_JoinRequest, &refused);
    EXPECT_EQ(m_host.Of(M_AnswerJoinRequest).at(1).ints, std::vector<long>{2});
    EXPECT_EQ(Member(kMine, "sip:fred@ims.test"), nullptr);
    EXPECT_TRUE(Dlg().Data().JoinApplications().empty());
}

TEST_F(InvitationEventsTest, AnswerToMyOwnApplication)
{
    clientkit::SetOperationNumber("5550100");
    Word other[] = {W(kClub), W("Club"), 4}, joined[] = {W(kClub), W("Club"), 1};
    Send(H_JoinRequestResult, other);
    EXPECT_TRUE(m_host.sent.empty());
    Send(H_JoinRequestResult, joined);
    EXPECT_EQ(Member(kClub, kMe)->m_csPhone, "5550100");
    EXPECT_EQ(m_host.Of(M_RequestGroupInfo).at(0).texts, std::vector<std::string>{kClub});
    EXPECT_EQ(PromptText(0), "加入 Club 群组成功！");
}

TEST_F(InvitationEventsTest, XmlInvitationAndAcceptance)
{
    Word invite[] = {W("sip:ann@ims.test"), 0, 1,
                     W("<FromName>Ann &amp; Co</FromName><GroupID>G&amp;1</GroupID><GroupName>Chess</GroupName>")};
    Send(H_XmlInvitation, invite);
    EXPECT_EQ(PromptText(0), "Ann & Co 邀请您加入群组 Chess，同意?");
    EXPECT_EQ(m_host.Of(M_AcceptXmlInvitation).at(0).texts,
              (std::vector<std::string>{kMe, "sip:ann@ims.test", "<JID>sip:me@ims.test</JID><GroupID>G&amp;1</GroupID>"}));

    Word complete[] = {W(""), 0, 2, W("<JID>sip:ann@ims.test</JID><GroupID>G1</GroupID>")},
         noJid[] = {W(""), 0, 2, W("<GroupID>G1</GroupID>")}, broken[] = {W(""), 0, 2, W("<JID>x</JID><GroupID")};
    for (Word* record : {complete, noJid, broken}) Send(H_XmlInvitation, record);
    ASSERT_EQ(m_host.Count(M_ForwardXmlAcceptance), 1u);
    EXPECT_EQ(m_host.Of(M_ForwardXmlAcceptance)[0].texts, (std::vector<std::string>{"sip:ann@ims.test", "G1"}));
}

TEST_F(InvitationEventsTest, ReplayAfterSignInHandlesTheParkedRequestsAndEmptiesTheLists)
{
    auto join = Request<tagGroupJoin>("Mine", "sip:eve@ims.test", "Eve", "r1", "r2");
    auto transfer = Request<tagGroupTrsReq>("Club", kOwner, "Owner", kClub, "trs-1");
    clientkit::SetSignInState(0, 1, 0);
    Send(H_InvitedToGroup, &m_chess);
    Send(H_JoinRequest, &join);
    Send(H_TransferRequest, &transfer);
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);  // still signing in: kept
    EXPECT_EQ(PromptCount(), 0u);

    clientkit::SetSignInState(1, 0, 0);
    Send(H_SignedIn, nullptr);
    EXPECT_EQ(Dlg().TimerPeriod(CTarvolanDialog::kTimerReplay), 30000);
    SetResourceBundle(nullptr);  // the timer comes from the event loop
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);
    EXPECT_FALSE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerReplay));
    ASSERT_EQ(PromptCount(), 3u);
    EXPECT_EQ(PromptText(1), "用户 Eve 请求加入您的群组 Mine,同意?");
    EXPECT_EQ(m_driver.Prompts()[2].kind, "named");
    for (int code : {M_AnswerInvitation, M_AnswerJoinRequest, M_AnswerTransfer}) EXPECT_EQ(m_host.Count(code), 1u);
    EXPECT_TRUE(GetInvitedToPubGroupMessageTempList()->empty());
    EXPECT_TRUE(GetJoinToPubGroupMessageTempList()->empty());
    EXPECT_TRUE(GetTrsPubGroupReqMessageTempList()->empty());
}

TEST_F(InvitationEventsTest, ParkedTransferWithdrawnDuringTheReplayIsNotAsked)
{
    auto transfer = Request<tagGroupTrsReq>("Club", kOwner, "Owner", kClub, "trs-1");
    AddTrsPubGroupReqMessageTempToList(transfer);
    AddInvitedToPubGroupMessageTempToList(m_chess);
    m_driver.onPrompt = [&](const TPrompt&) {
        m_driver.onPrompt = nullptr;
        Send(H_TransferCancel, &transfer);  // while the replayed invitation is asked about
    };
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);
    EXPECT_EQ(PromptCount(), 1u);
    EXPECT_EQ(m_host.Count(M_AnswerTransfer), 0u);
}

} // namespace
} // namespace groups_testing
