// Invitations and join requests on both sides, and the replay of the
// requests parked during sign-in.
#include <cstring>

#include "groups/EventRecords.h"

namespace groups_testing {
namespace {

class InvitationEventsTest : public CEventsTest {};

// ---- an invitation to me (1006) and its join result (1044) ------------------------------

TEST_F(InvitationEventsTest, InvitationAnsweredYesSendsAnswerOneWithTheRecordTexts)
{
    tagGroupInvite invite = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
    Send(H_InvitedToGroup, &invite);
    const TPrompt prompt = OnlyPrompt();
    EXPECT_EQ(Utf8(prompt.text), "Ann 邀请您加入群组 Chess，同意?");
    EXPECT_EQ(prompt.flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(prompt.owner, &Dlg());
    const auto answers = m_host.Of(M_AnswerInvitation);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].texts, (std::vector<std::string>{"sip:ann@ims.test", "Chess", "sip:chess@groups.test", "inv-7"}));
    EXPECT_EQ(answers[0].ints, std::vector<long>{1});
    EXPECT_NE(LogText().find("OnIMSInvitedToPublicGroupVeloractrl1:pOwnerURI=sip:ann@ims.test, pOwnerName=Ann, "
                             "pGroupName= Chess,pGroupURI=sip:chess@groups.test,pReturn=inv-7"),
              std::string::npos);
}

TEST_F(InvitationEventsTest, AnyButtonButYesDeclinesTheInvitation)
{
    tagGroupInvite invite = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
    m_driver.PushAnswer(IDNO);
    m_driver.PushAnswer(IDCANCEL);
    Send(H_InvitedToGroup, &invite);
    Send(H_InvitedToGroup, &invite);
    const auto answers = m_host.Of(M_AnswerInvitation);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].ints, std::vector<long>{2});
    EXPECT_EQ(answers[1].ints, std::vector<long>{2});
}

TEST_F(InvitationEventsTest, InvitationWhileSignedOutIsDroppedOrParkedDuringSignIn)
{
    tagGroupInvite invite = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
    clientkit::SetSignInState(0, 0, 0);
    Send(H_InvitedToGroup, &invite);
    EXPECT_EQ(m_host.LogLines(), std::vector<std::string>{"OnIMSInvitedToPublicGroupVeloractrl1: have logout,so return!"});
    EXPECT_TRUE(GetInvitedToPubGroupMessageTempList()->empty());

    clientkit::SetSignInState(1, 0, 1);  // logging out
    Send(H_InvitedToGroup, &invite);
    clientkit::SetSignInState(0, 1, 0);  // signing in
    Send(H_InvitedToGroup, &invite);
    EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_EQ(m_host.Count(M_AnswerInvitation), 0u);
}

TEST_F(InvitationEventsTest, MissingAndUnterminatedInvitationRecords)
{
    Send(H_InvitedToGroup, nullptr);
    EXPECT_TRUE(m_host.sent.empty());
    tagGroupInvite invite;
    std::memset(&invite, 'x', sizeof(invite));
    Send(H_InvitedToGroup, &invite);
    const auto answers = m_host.Of(M_AnswerInvitation);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].texts[0].size(), 257u);  // owner URI
    EXPECT_EQ(answers[0].texts[1].size(), 65u);   // group name
    EXPECT_EQ(answers[0].texts[3].size(), 129u);  // return text
}

TEST_F(InvitationEventsTest, JoinResultAddsTheInvitedGroupWithItsInviter)
{
    tagGroupInvite invite = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
    Send(H_InvitedToGroup, &invite);
    m_host.Clear();
    CWordRecord result;
    result.Int(1).Text("sip:chess@groups.test").Int(200);
    Send(H_InviteJoinResult, result.get());

    EXPECT_EQ(m_host.Of(M_RequestGroupInfo).at(0).texts, std::vector<std::string>{"sip:chess@groups.test"});
    const int i = Dlg().m_GroupList.Find("sip:chess@groups.test", "", GROUP_PUBLIC);
    ASSERT_GE(i, 0);
    EXPECT_EQ(Dlg().m_GroupList[i].name, "Chess");
    EXPECT_EQ(Dlg().m_GroupList[i].role, ROLE_MEMBER);
    EXPECT_EQ(Dlg().m_GroupList[i].owner, "sip:ann@ims.test");
    const CGroupRecord* record = Record("sip:chess@groups.test");
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->MemberCount(), 1);
    EXPECT_EQ(record->Member(0).displayName, "Ann");
    EXPECT_EQ(record->Member(0).info, "Forward");
    ASSERT_NE(GroupItem("sip:chess@groups.test"), nullptr);
    EXPECT_EQ(GroupItem("sip:chess@groups.test")->parent(), Dlg().Root(ITEM_JOINED_ROOT));
    EXPECT_NE(MemberItem("sip:chess@groups.test", "sip:ann@ims.test"), nullptr);
}

TEST_F(InvitationEventsTest, JoinResultTakesTheInvitationOfItsOwnGroup)
{
    tagGroupInvite chess = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-1");
    tagGroupInvite go = Invitation("Go", "sip:cho@ims.test", "Cho", "sip:go@groups.test", "inv-2");
    Send(H_InvitedToGroup, &chess);
    Send(H_InvitedToGroup, &go);  // arrives before the first join result
    CWordRecord result;
    result.Int(1).Text("sip:chess@groups.test").Int(200);
    Send(H_InviteJoinResult, result.get());
    ASSERT_NE(Group("sip:chess@groups.test"), nullptr);
    EXPECT_EQ(Group("sip:chess@groups.test")->m_csName, "Chess");
    EXPECT_NE(Member("sip:chess@groups.test", "sip:ann@ims.test"), nullptr);
    EXPECT_EQ(Group("sip:go@groups.test"), nullptr);
}

TEST_F(InvitationEventsTest, JoinResultFailureAndOtherKinds)
{
    CWordRecord other;
    other.Int(2).Text("sip:chess@groups.test").Int(500);
    Send(H_InviteJoinResult, other.get());
    EXPECT_TRUE(m_driver.Prompts().empty());

    CWordRecord failed;
    failed.Int(1).Text("sip:chess@groups.test").Int(408);
    Send(H_InviteJoinResult, failed.get());
    const TPrompt prompt = OnlyPrompt();
    EXPECT_EQ(Utf8(prompt.text), "加入群组操作失败！");
    EXPECT_EQ(prompt.flags, MB_ICONEXCLAMATION);
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 0u);
}

// ---- the invitee's answer to my invitation (1007) -----------------------------------------

TEST_F(InvitationEventsTest, AcceptedInvitationAddsTheInviteeAndEndsThePendingInvitation)
{
    Dlg().m_pListTarvolanInvite.push_back({"sip:carl@ims.test", "Mine"});
    Dlg().m_pListTarvolanInvite.push_back({"sip:dora@ims.test", "Elsewhere"});
    CWordRecord accepted;
    accepted.Text("Mine").Text("sip:carl@ims.test").Int(1);
    Send(H_InviteResult, accepted.get());
    EXPECT_FALSE(Dlg().IsInvitePending("sip:carl@ims.test", "Mine"));
    EXPECT_EQ(Record(kMine)->MemberCount(), 3);
    CTarvolanMember* carl = Member(kMine, "sip:carl@ims.test");
    ASSERT_NE(carl, nullptr);
    EXPECT_EQ(carl->m_csDisplayName, "carl");
    EXPECT_EQ(carl->m_csInfo, "Forward");
    EXPECT_NE(carl->m_hTreeItem, nullptr);

    CWordRecord unknownGroup;  // no such group: still no longer pending
    unknownGroup.Text("Elsewhere").Text("sip:dora@ims.test").Int(1);
    Send(H_InviteResult, unknownGroup.get());
    EXPECT_TRUE(Dlg().m_pListTarvolanInvite.empty());
    EXPECT_TRUE(m_driver.Prompts().empty());
}

TEST_F(InvitationEventsTest, RefusedAndTimedOutInvitationsShowNotices)
{
    CWordRecord refused, late, other;
    refused.Text("Mine").Text("sip:carl@ims.test").Int(2);
    late.Text("Mine").Text("sip:carl@ims.test").Int(3);
    other.Text("Mine").Text("sip:carl@ims.test").Int(4);
    Send(H_InviteResult, refused.get());
    Send(H_InviteResult, late.get());
    Send(H_InviteResult, other.get());
    const auto notices = PromptsOf("message");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(Utf8(notices[0].text), "carl拒绝加入群组Mine!");
    EXPECT_EQ(Utf8(notices[1].text), "邀请carl加入群组Mine,超时!");
    EXPECT_EQ(notices[0].flags, MB_ICONINFORMATION);
    EXPECT_EQ(Record(kMine)->MemberCount(), 2);
}

// ---- a join request to my group (1008) and the answer to mine (1009) ------------------------

TEST_F(InvitationEventsTest, AcceptedJoinRequestAnswersAndShowsTheProposer)
{
    tagGroupJoin join = JoinRequest("Mine", "sip:eve@ims.test", "");
    Send(H_JoinRequest, &join);
    EXPECT_EQ(Utf8(OnlyPrompt().text), "用户 sip:eve@ims.test 请求加入您的群组 Mine,同意?");
    const auto answers = m_host.Of(M_AnswerJoinRequest);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].texts, (std::vector<std::string>{"sip:eve@ims.test", "r1", "r2"}));
    EXPECT_EQ(answers[0].ints, std::vector<long>{1});
    EXPECT_EQ(m_host.Of(M_RequestGroupInfo).at(0).texts, std::vector<std::string>{kMine});
    EXPECT_NE(MemberItem(kMine, "sip:eve@ims.test"), nullptr);
    EXPECT_TRUE(Dlg().m_PublicGroupUserReqList.empty());
}

TEST_F(InvitationEventsTest, RefusedJoinRequestAnswersTwoAndAddsNobody)
{
    tagGroupJoin join = JoinRequest("Mine", "sip:eve@ims.test", "Eve");
    m_driver.PushAnswer(IDNO);
    Send(H_JoinRequest, &join);
    EXPECT_EQ(m_host.Of(M_AnswerJoinRequest).at(0).ints, std::vector<long>{2});
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 0u);
    EXPECT_EQ(Member(kMine, "sip:eve@ims.test"), nullptr);
    EXPECT_TRUE(Dlg().m_PublicGroupUserReqList.empty());
}

TEST_F(InvitationEventsTest, RepeatedJoinRequestWhileAskedGivesOnePrompt)
{
    tagGroupJoin join = JoinRequest("Mine", "sip:eve@ims.test", "Eve");
    m_driver.onPrompt = [&](const TPrompt&) {
        m_driver.onPrompt = nullptr;
        Send(H_JoinRequest, &join);  // the same request while the question is open
    };
    Send(H_JoinRequest, &join);
    EXPECT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(m_host.Count(M_AnswerJoinRequest), 1u);
}

TEST_F(InvitationEventsTest, JoinRequestForAGroupNotMineIsDropped)
{
    tagGroupJoin join = JoinRequest("Club", "sip:eve@ims.test", "Eve");
    Send(H_JoinRequest, &join);
    Send(H_JoinRequest, nullptr);
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_EQ(m_host.Count(M_AnswerJoinRequest), 0u);
    EXPECT_TRUE(Dlg().m_PublicGroupUserReqList.empty());
}

TEST_F(InvitationEventsTest, JoinResultsOfMyOwnApplication)
{
    clientkit::SetOperationNumber("5550100");
    COneGroupRecord chess("sip:chess@groups.test", "Chess", ROLE_MEMBER, kOwner);
    LoadGroup(chess);
    m_host.Clear();
    CWordRecord joined, refused, other;
    joined.Text("sip:chess@groups.test").Text("Chess").Int(1);
    refused.Text("sip:chess@groups.test").Text("Chess").Int(2);
    other.Text("sip:chess@groups.test").Text("Chess").Int(4);
    Send(H_JoinRequestResult, other.get());
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_TRUE(m_host.sent.empty());

    Send(H_JoinRequestResult, joined.get());
    CTarvolanMember* me = Member("sip:chess@groups.test", kMe);
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(me->m_csDisplayName, "Me");
    EXPECT_EQ(me->m_csPhone, "5550100");
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 1u);
    Send(H_JoinRequestResult, refused.get());
    const auto notices = PromptsOf("message");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(Utf8(notices[0].text), "加入 Chess 群组成功！");
    EXPECT_EQ(Utf8(notices[1].text), "您被拒绝加入群组 Chess!");
}

// ---- the XML invitation (1003) ---------------------------------------------------------------

TEST_F(InvitationEventsTest, XmlInvitationAcceptedAnswersItsSender)
{
    CWordRecord xml;
    xml.Text("sip:ann@ims.test").Int(0).Int(1).Text(
        "<FromName>Ann &amp; Co</FromName><GroupID>G&amp;1</GroupID><GroupName>Chess</GroupName>");
    Send(H_XmlInvitation, xml.get());
    EXPECT_EQ(Utf8(OnlyPrompt().text), "Ann & Co 邀请您加入群组 Chess，同意?");
    const auto sent = m_host.Of(M_AcceptXmlInvitation);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].texts, (std::vector<std::string>{kMe, "sip:ann@ims.test",
                                                       "<JID>sip:me@ims.test</JID><GroupID>G&amp;1</GroupID>"}));
    EXPECT_EQ(sent[0].ints, std::vector<long>{2});

    m_driver.PushAnswer(IDNO);
    Send(H_XmlInvitation, xml.get());
    EXPECT_EQ(m_host.Count(M_AcceptXmlInvitation), 1u);
}

TEST_F(InvitationEventsTest, XmlAcceptanceIsPassedOnWhenComplete)
{
    CWordRecord complete, noJid, broken, otherType;
    complete.Text("sip:x@ims.test").Int(0).Int(2).Text("<JID>sip:ann@ims.test</JID><GroupID>G1</GroupID>");
    noJid.Text("sip:x@ims.test").Int(0).Int(2).Text("<GroupID>G1</GroupID>");
    broken.Text("sip:x@ims.test").Int(0).Int(2).Text("<JID>sip:ann@ims.test</JID><GroupID");
    otherType.Text("sip:x@ims.test").Int(0).Int(3).Text("<JID>sip:ann@ims.test</JID><GroupID>G1</GroupID>");
    for (CWordRecord* record : {&complete, &noJid, &broken, &otherType}) Send(H_XmlInvitation, record->get());
    const auto sent = m_host.Of(M_ForwardXmlAcceptance);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].texts, (std::vector<std::string>{"sip:ann@ims.test", "G1"}));
    EXPECT_TRUE(m_driver.Prompts().empty());
}

// ---- the replay after sign-in (1041, timer 1001) -------------------------------------------

TEST_F(InvitationEventsTest, ReplayAfterSignInHandlesEveryParkedRequestAndEmptiesTheLists)
{
    tagGroupInvite invite = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
    tagGroupJoin join = JoinRequest("Mine", "sip:eve@ims.test", "Eve");
    tagGroupTrsReq transfer = TransferRequest("Club", kOwner, "Owner", kClub);
    clientkit::SetSignInState(0, 1, 0);
    Send(H_InvitedToGroup, &invite);
    Send(H_JoinRequest, &join);
    Send(H_TransferRequest, &transfer);
    EXPECT_TRUE(m_driver.Prompts().empty());

    clientkit::SetSignInState(1, 0, 0);
    Send(H_SignedIn, nullptr);
    ASSERT_TRUE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerReplay));
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);
    EXPECT_FALSE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerReplay));
    ASSERT_EQ(m_driver.Prompts().size(), 3u);
    EXPECT_EQ(m_driver.Prompts()[2].kind, "named");
    EXPECT_EQ(m_host.Count(M_AnswerInvitation), 1u);
    EXPECT_EQ(m_host.Count(M_AnswerJoinRequest), 1u);
    EXPECT_EQ(m_host.Count(M_AnswerTransfer), 1u);
    EXPECT_TRUE(GetInvitedToPubGroupMessageTempList()->empty());
    EXPECT_TRUE(GetJoinToPubGroupMessageTempList()->empty());
    EXPECT_TRUE(GetTrsPubGroupReqMessageTempList()->empty());
}

TEST_F(InvitationEventsTest, ReplayWhileSignedOutKeepsTheParkedRequests)
{
    tagGroupInvite invite = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
    AddInvitedToPubGroupMessageTempToList(invite);
    clientkit::SetSignInState(0, 1, 0);
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);
    EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
    EXPECT_TRUE(m_driver.Prompts().empty());
}

TEST_F(InvitationEventsTest, ReplayFromTheEventLoopFindsTheModuleTexts)
{
    tagGroupJoin join = JoinRequest("Mine", "sip:eve@ims.test", "Eve");
    AddJoinToPubGroupMessageTempToList(join);
    SetResourceBundle(nullptr);  // as outside every call of the host
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);
    EXPECT_EQ(Utf8(OnlyPrompt().text), "用户 Eve 请求加入您的群组 Mine,同意?");
    EXPECT_EQ(GetResourceBundle(), nullptr);
}

TEST_F(InvitationEventsTest, WithdrawnParkedTransferIsNotReplayed)
{
    tagGroupTrsReq transfer = TransferRequest("Club", kOwner, "Owner", kClub);
    tagGroupInvite invite = Invitation("Chess", "sip:ann@ims.test", "Ann", "sip:chess@groups.test", "inv-7");
    AddTrsPubGroupReqMessageTempToList(transfer);
    AddInvitedToPubGroupMessageTempToList(invite);
    // The withdrawal arrives while the replayed invitation is asked about.
    m_driver.onPrompt = [&](const TPrompt&) {
        m_driver.onPrompt = nullptr;
        Send(H_TransferCancel, &transfer);
    };
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);
    EXPECT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(m_host.Count(M_AnswerTransfer), 0u);
    EXPECT_TRUE(GetTrsPubGroupReqMessageTempList()->empty());
}

} // namespace
} // namespace groups_testing
