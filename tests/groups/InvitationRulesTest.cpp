// The rules of invitations and join requests without a window: what they
// ask and tell, what they send, park and store, and which changes they report.
#include <cstring>

#include "RequestRecords.h"
#include "groups/InvitationRules.h"

using namespace tarvolan;

namespace {

using namespace tarvolan::rulestest;

constexpr const char* kChess = "sip:chess@groups.test";
constexpr int kNo = 7;

class InvitationRulesTest : public CRulesFixture {
protected:
    void SetUp() override
    {
        CRulesFixture::SetUp();
        TGroupListEntry mine = m_data.GroupList()[m_data.GroupList().Find(kMine, "", GROUP_PUBLIC)];
        mine.role = ROLE_OWNER;  // the group I own takes the invitations and join requests
        m_data.AddOrUpdateGroupListEntry(mine);
    }
    std::vector<testing_support::TSent> Sent(int code) const { return m_words.host.Of(code); }
    CDecodingLink m_words;
    CInvitationRules m_rules{m_data, m_host, m_words, m_changes};
    tagGroupInvite m_chess = Request<tagGroupInvite>("Chess", "sip:ann@ims.test", "Ann", kChess, "inv-7");
};

TEST_F(InvitationRulesTest, InvitationIsAnsweredOnlyWhileSignedIn)
{
    m_host.answers = {CGroupRulesHost::kYes, 2};
    m_rules.OnInvited(&m_chess);
    m_rules.OnInvited(&m_chess);
    EXPECT_EQ(m_host.notices[0], Shown(NOTICE_ASK_INVITED, "Ann", "Chess"));
    const auto answers = Sent(M_AnswerInvitation);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].texts, (std::vector<std::string>{"sip:ann@ims.test", "Chess", kChess, "inv-7"}));
    EXPECT_EQ(answers[0].ints, std::vector<long>{1});
    EXPECT_EQ(answers[1].ints, std::vector<long>{2});  // any button but Yes
    EXPECT_TRUE(Logged("OnIMSInvitedToPublicGroupVeloractrl1:pOwnerURI=sip:ann@ims.test, pOwnerName=Ann, "
                       "pGroupName= Chess,pGroupURI=sip:chess@groups.test,pReturn=inv-7"));

    tagGroupInvite unterminated;
    std::memset(&unterminated, 'x', sizeof(unterminated));
    m_rules.OnInvited(&unterminated);
    EXPECT_EQ(Sent(M_AnswerInvitation).at(2).texts[0].size(), 257u);  // read within its field
    EXPECT_EQ(Sent(M_AnswerInvitation).at(2).texts[3].size(), 129u);

    m_host.signedIn = false;  // logging out: dropped
    m_rules.OnInvited(&m_chess);
    m_host.signingIn = true;  // signing in: parked
    m_rules.OnInvited(&m_chess);
    m_rules.OnInvited(nullptr);
    EXPECT_EQ(m_words.logged, std::vector<std::string>(2, "1 OnIMSInvitedToPublicGroupVeloractrl1: have logout,so return!"));
    EXPECT_EQ(m_host.parked, std::vector<std::string>{"invite Chess"});
    EXPECT_EQ(m_host.notices.size(), 3u);
    EXPECT_EQ(Sent(M_AnswerInvitation).size(), 3u);
}

TEST_F(InvitationRulesTest, JoinResultAddsTheGroupOfItsOwnInvitation)
{
    auto go = Request<tagGroupInvite>("Go", "sip:cho@ims.test", "Cho", "sip:go@groups.test", "inv-8");
    m_rules.OnInvited(&m_chess);
    m_rules.OnInvited(&go);  // arrives before the first join result
    m_rules.OnInviteJoinResult(1, kChess, 200);
    EXPECT_EQ(Sent(M_RequestGroupInfo).at(0).texts, std::vector<std::string>{kChess});
    const int i = m_data.GroupList().Find(kChess, "", GROUP_PUBLIC);
    ASSERT_GE(i, 0);
    EXPECT_EQ(m_data.GroupList()[i].name, "Chess");
    EXPECT_EQ(m_data.GroupList()[i].owner, "sip:ann@ims.test");
    EXPECT_EQ(m_data.GroupList()[i].role, ROLE_MEMBER);
    ASSERT_EQ(m_data.GroupTable().Get(kChess)->MemberCount(), 1);
    EXPECT_EQ(m_data.GroupTable().Get(kChess)->Member(0).displayName, "Ann");
    EXPECT_EQ(m_seen.uris, std::vector<std::string>{kChess});
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MEMBERS * 10});

    m_rules.OnInviteJoinResult(2, "sip:go@groups.test", 408);
    m_rules.OnInviteJoinResult(1, "sip:go@groups.test", 408);
    ASSERT_EQ(m_host.notices.size(), 3u);
    EXPECT_EQ(m_host.notices[2], Shown(NOTICE_INVITED_JOIN_FAILED));
    EXPECT_LT(m_data.GroupList().Find("sip:go@groups.test", "", GROUP_PUBLIC), 0);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(InvitationRulesTest, InviteeAnswersToMyInvitation)
{
    m_data.InvitesPending().push_back({"sip:carl@ims.test", "Mine"});
    m_data.InvitesPending().push_back({"sip:dora@ims.test", "Elsewhere"});
    m_rules.OnInviteResult("Mine", "sip:carl@ims.test", 1);
    m_rules.OnInviteResult("Elsewhere", "sip:dora@ims.test", 1);
    EXPECT_TRUE(m_data.InvitesPending().empty());  // even for a group not in the table
    EXPECT_EQ(m_data.GroupTable().Get(kMine)->MemberCount(), 2);
    // A name new to the recent contact-list names: the member waits for the
    // member notice; a name among them is shown at once.
    EXPECT_EQ(m_data.TreeModel().FindMember(kMine, "sip:carl@ims.test"), nullptr);
    EXPECT_TRUE(Reported().empty());
    m_data.RecentListNames().Add("Mine");
    m_rules.OnInviteResult("Mine", "sip:fred@ims.test", 1);
    EXPECT_EQ(m_data.GroupTable().Get(kMine)->MemberCount(), 3);
    const CTarvolanMember* fred = m_data.TreeModel().FindMember(kMine, "sip:fred@ims.test");
    ASSERT_NE(fred, nullptr);
    EXPECT_EQ(fred->m_csDisplayName, "fred");
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MEMBERS * 10 + DETAIL_NEW_MEMBER});

    m_rules.OnInviteResult("Mine", "sip:eli@ims.test", 2);
    m_rules.OnInviteResult("Mine", "sip:eli@ims.test", 3);
    m_rules.OnInviteResult("Mine", "sip:eli@ims.test", 4);
    EXPECT_EQ(m_host.notices, (std::vector<std::string>{Shown(NOTICE_INVITE_REFUSED, "eli", "Mine"),
                                                         Shown(NOTICE_INVITE_TIMEOUT, "eli", "Mine")}));
}

TEST_F(InvitationRulesTest, JoinRequestsToMyGroup)
{
    auto nameless = Request<tagGroupJoin>("Mine", "sip:eve@ims.test", "", "r1", "r2");
    auto notMine = Request<tagGroupJoin>("Club", "sip:eve@ims.test", "Eve", "r1", "r2");
    m_host.onAsk = [&] { m_rules.OnJoinRequest(&nameless); };  // the same request while it is asked about
    m_rules.OnJoinRequest(&nameless);
    m_rules.OnJoinRequest(&notMine);
    EXPECT_EQ(m_host.notices, std::vector<std::string>{Shown(NOTICE_ASK_JOIN_REQUEST, "sip:eve@ims.test", "Mine")});
    EXPECT_EQ(Sent(M_AnswerJoinRequest).at(0).texts, (std::vector<std::string>{"sip:eve@ims.test", "r1", "r2"}));
    EXPECT_EQ(Sent(M_AnswerJoinRequest).at(0).ints, std::vector<long>{1});
    EXPECT_EQ(Sent(M_RequestGroupInfo).size(), 1u);
    EXPECT_NE(m_data.TreeModel().FindMember(kMine, "sip:eve@ims.test"), nullptr);
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MEMBERS * 10 + DETAIL_NEW_MEMBER});

    auto refused = Request<tagGroupJoin>("Mine", "sip:fred@ims.test", "Fred", "r1", "r2");
    m_host.answers = {kNo};
    m_rules.OnJoinRequest(&refused);
    EXPECT_EQ(Sent(M_AnswerJoinRequest).at(1).ints, std::vector<long>{2});
    EXPECT_EQ(m_data.TreeModel().FindMember(kMine, "sip:fred@ims.test"), nullptr);
    EXPECT_TRUE(m_data.JoinApplications().empty());

    m_host.signedIn = false;
    m_host.signingIn = true;
    m_rules.OnJoinRequest(&refused);
    EXPECT_EQ(m_host.parked, std::vector<std::string>{"join Mine"});
    EXPECT_TRUE(Logged("OnIMSReqJoinMyPublicGroupVeloractrl1: have logout,so return!"));
}

TEST_F(InvitationRulesTest, AnswerToMyOwnApplication)
{
    m_rules.OnApplicationResult(kClub, "Club", 4);
    EXPECT_TRUE(m_words.host.sent.empty());
    EXPECT_TRUE(m_host.notices.empty());
    m_rules.OnApplicationResult(kClub, "Club", 1);
    const CTarvolanMember* me = m_data.TreeModel().FindMember(kClub, kMe);
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(me->m_csDisplayName, "Me");
    EXPECT_EQ(me->m_csPhone, "5550100");
    EXPECT_EQ(Sent(M_RequestGroupInfo).at(0).texts, std::vector<std::string>{kClub});
    m_rules.OnApplicationResult(kClub, "Club", 2);
    m_rules.OnApplicationResult(kClub, "Club", 3);
    EXPECT_EQ(m_host.notices, (std::vector<std::string>{Shown(NOTICE_APPLICATION_ACCEPTED, "Club"),
                                                         Shown(NOTICE_APPLICATION_REFUSED, "Club"),
                                                         Shown(NOTICE_APPLICATION_TIMEOUT, "Club")}));
}

TEST_F(InvitationRulesTest, XmlInvitationAndAcceptance)
{
    m_rules.OnXmlMessage("sip:ann@ims.test", 1,
                         "<FromName>Ann &amp; Co</FromName><GroupID>G&amp;1</GroupID><GroupName>Chess</GroupName>");
    EXPECT_EQ(m_host.notices.at(0), Shown(NOTICE_ASK_INVITED, "Ann & Co", "Chess"));
    EXPECT_EQ(Sent(M_AcceptXmlInvitation).at(0).texts,
              (std::vector<std::string>{kMe, "sip:ann@ims.test", "<JID>sip:me@ims.test</JID><GroupID>G&amp;1</GroupID>"}));

    for (const char* body : {"<JID>sip:ann@ims.test</JID><GroupID>G1</GroupID>", "<GroupID>G1</GroupID>",
                             "<JID>x</JID><GroupID"})
        m_rules.OnXmlMessage("", 2, body);
    ASSERT_EQ(Sent(M_ForwardXmlAcceptance).size(), 1u);
    EXPECT_EQ(Sent(M_ForwardXmlAcceptance)[0].texts, (std::vector<std::string>{"sip:ann@ims.test", "G1"}));
}

} // namespace
