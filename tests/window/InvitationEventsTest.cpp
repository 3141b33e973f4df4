// The window's part of invitations and join requests (their rules are
// tested in tests/groups): the questions and notices, the tree items, the
// requests parked in the client library and their replay after sign-in.

#include "window/EventRecords.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

class InvitationEventsTest : public CEventsTest {
protected:
    tagGroupInvite m_chess = Request<tagGroupInvite>("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
};

TEST_F(InvitationEventsTest, InvitationIsAskedAndParkedInTheClientLibrary)
{
    m_driver.PushAnswer(IDYES);
    Send(H_InvitedToGroup, &m_chess);
    EXPECT_EQ(PromptText(0), "Ann 邀请您加入群组 Chess，同意?");
    EXPECT_EQ(m_driver.Prompts()[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(m_host.Of(M_AnswerInvitation).at(0).ints, std::vector<long>{1});

    m_host.Clear();
    clientkit::SetSignInState(0, 1, 0);  // signing in: parked
    Send(H_InvitedToGroup, &m_chess);
    EXPECT_EQ(m_host.LogLines(), std::vector<std::string>{"OnIMSInvitedToPublicGroupVeloractrl1: have logout,so return!"});
    EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
    EXPECT_EQ(PromptCount(), 1u);
}

TEST_F(InvitationEventsTest, JoinedGroupsAndMembersComeIntoTheTree)
{
    Send(H_InvitedToGroup, &m_chess);
    Word joined[] = {1, W("sip:chess@groups.test"), 200}, failed[] = {1, W("sip:go@groups.test"), 408};
    Send(H_InviteJoinResult, joined);
    EXPECT_EQ(GroupItem("sip:chess@groups.test")->parent(), Dlg().Root(ITEM_JOINED_ROOT));
    EXPECT_NE(MemberItem("sip:chess@groups.test", "sip:ann@ims.test"), nullptr);
    Send(H_InviteJoinResult, failed);
    EXPECT_EQ(PromptText(1), "加入群组操作失败！");
    EXPECT_EQ(m_driver.Prompts()[1].flags, MB_ICONEXCLAMATION);

    Dlg().Data().RecentListNames().Add("Mine");
    Word accepted[] = {W("Mine"), W("sip:fred@ims.test"), 1}, refused[] = {W("Mine"), W("sip:eli@ims.test"), 2};
    Send(H_InviteResult, accepted);
    EXPECT_EQ(Utf8(MemberItem(kMine, "sip:fred@ims.test")->text(0)), "fred");
    Send(H_InviteResult, refused);
    EXPECT_EQ(PromptText(2), "eli拒绝加入群组Mine!");

    auto nameless = Request<tagGroupJoin>("Mine", "sip:eve@ims.test", "", "r1", "r2");
    Send(H_JoinRequest, &nameless);
    EXPECT_EQ(PromptText(3), "用户 sip:eve@ims.test 请求加入您的群组 Mine,同意?");
    EXPECT_NE(MemberItem(kMine, "sip:eve@ims.test"), nullptr);
}

TEST_F(InvitationEventsTest, AnswerToMyOwnApplication)
{
    clientkit::SetOperationNumber("5550100");
    Word joined[] = {W(kClub), W("Club"), 1};
    Send(H_JoinRequestResult, joined);
    EXPECT_EQ(Member(kClub, kMe)->m_csPhone, "5550100");
    EXPECT_NE(MemberItem(kClub, kMe), nullptr);
    EXPECT_EQ(PromptText(0), "加入 Club 群组成功！");
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
