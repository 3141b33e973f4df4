// The results of the group operations (1013-1019) applied to the group data
// without a window: tables, tree model, pending lists, the notices chosen
// and the changes reported.
#include "RecordingInfoWindow.h"
#include "RulesFixture.h"
#include "groups/ResultRules.h"
#include "support/PendingCreate.h"

using namespace tarvolan;

namespace {

using namespace tarvolan::rulestest;
using Texts = std::vector<std::string>;

constexpr const char* kCarl = "sip:carl@ims.test";

std::string N(ENotice notice, const std::string& first = "", const std::string& second = "")
{
    return std::to_string(notice) + ":" + first + "|" + second;
}

class ResultRulesTest : public CRulesFixture {
protected:
    void SetUp() override
    {
        CRulesFixture::SetUp();
        m_data.GroupList().Modify(Listed(kMine), [](TGroupListEntry& e) { e.role = ROLE_OWNER; });
        m_data.GroupList().Modify(Listed(kClub), [](TGroupListEntry& e) { e.role = ROLE_MEMBER; });
    }
    int Listed(const char* uri) const
    {
        for (int i = 0; i < m_data.GroupList().Count(); ++i)
            if (m_data.GroupList()[i].uri == uri) return i;
        return -1;
    }
    CGroupRecord* Record(const char* uri) { return m_data.GroupTable().Get(uri); }
    Texts Notices()
    {
        Texts shown = m_host.notices;
        m_host.notices.clear();
        return shown;
    }
    void PendingCreate(const char* name, const char* displayName = "Boss")
    {
        m_data.PendingCreates().push_back(testing_support::SamplePendingCreate(name, displayName));
    }
    // I am a member of the group too, in its record and its tree object.
    void JoinMe(const char* uri, const char* name = "Me")
    {
        const TMemberSlot me = MemberSlot(kMe, name, "Forward");
        Record(uri)->AddMember(me);
        m_data.TreeModel().CreateOrUpdateMember(*Group(uri), me);
    }
    bool LoggedToHost(const std::string& line) const
    {
        return std::find(m_link.logged.begin(), m_link.logged.end(), line) != m_link.logged.end();
    }
    CResultRules m_results{m_data, m_host, m_link, m_changes};
    CRecordingInfoWindow m_info;
};

// ---- 1013 --------------------------------------------------------------------------------

TEST_F(ResultRulesTest, CreatedGroupIsListedWithItsPendingValues)
{
    PendingCreate("Go");
    PendingCreate("Go", "Second");  // the same name twice: one result takes both
    PendingCreate("Other");
    m_results.OnCreateResult("Go", "sip:go@groups.test", 201);

    const int i = Listed("sip:go@groups.test");
    ASSERT_GE(i, 0);
    const TGroupListEntry& e = m_data.GroupList()[i];
    EXPECT_EQ(e.name, "Go");
    EXPECT_EQ(e.kind, GROUP_PUBLIC);
    EXPECT_EQ(e.role, ROLE_OWNER);
    EXPECT_EQ(e.owner, kMe);
    EXPECT_EQ(e.creator, kMe);
    EXPECT_EQ(e.subject, "Openings");
    EXPECT_EQ(e.visibility, 3);
    EXPECT_EQ(e.maxMembers, 1000);
    ASSERT_NE(Record("sip:go@groups.test"), nullptr);
    EXPECT_EQ(Record("sip:go@groups.test")->role, ROLE_OWNER);
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MEMBERS * 10});
    ASSERT_EQ(m_data.PendingCreates().size(), 1u);
    EXPECT_EQ(m_data.PendingCreates().front().name, "Other");
    EXPECT_EQ(m_host.timerRestarts, 1);
    EXPECT_TRUE(LoggedToHost("1 OnIMSCreatePublicGroupResultVeloractrl1, pGroupName=Go,pGroupURI=sip:go@groups.test,"
                             "iResult=201"));

    const int listed = m_data.GroupList().Count();
    m_results.OnCreateResult("Other", "", 200);  // without an address it cannot be kept
    EXPECT_EQ(m_data.GroupList().Count(), listed);
    EXPECT_EQ(Record(""), nullptr);
    EXPECT_TRUE(m_data.PendingCreates().empty());
    EXPECT_EQ(m_host.timerRestarts, 2);
    EXPECT_TRUE(Logged("OnIMSCreatePublicGroupResult: a created group without an address is not kept"));
    EXPECT_TRUE(Reported().empty());
    EXPECT_TRUE(Notices().empty());
}

TEST_F(ResultRulesTest, CreateFailuresChooseTheirNoticesAndKeepThePendingEntry)
{
    PendingCreate("Go");
    m_results.OnCreateResult("Go", "", 408);
    m_results.OnCreateResult("Go", "", 409);
    m_results.OnCreateResult("Go", "", 500);
    m_results.OnCreateResult("Mine2", "sip:mine@elsewhere.test", 408);  // same user part as Mine: an edit
    m_results.OnCreateResult("Mine2", kMine, 403);
    m_results.OnCreateResult("Mine2", kMine, 409);
    EXPECT_EQ(Notices(), (Texts{N(NOTICE_CREATE_TIMEOUT, "Go"), N(NOTICE_CREATE_LIMIT), N(NOTICE_CREATE_FAILED, "Go"),
                                N(NOTICE_EDIT_TIMEOUT, "Mine"), N(NOTICE_EDIT_FAILED, "Mine"),
                                N(NOTICE_EDIT_FAILED, "Mine")}));
    EXPECT_EQ(m_data.PendingCreates().size(), 1u);
    EXPECT_EQ(m_host.timerRestarts, 0);
    EXPECT_EQ(m_data.GroupList()[Listed(kMine)].name, "Mine");
    EXPECT_TRUE(Reported().empty());
}

TEST_F(ResultRulesTest, EditResultRenamesAndKeepsMembersBlacklistAndCreator)
{
    Record(kMine)->SetBlacklist({CString("sip:x@ims.test")});
    m_data.GroupList().Modify(Listed(kMine), [](TGroupListEntry& e) { e.creator = "sip:founder@ims.test"; });
    PendingCreate("Renamed");  // a creation of that name is not the edit's
    m_results.OnCreateResult("Renamed", kMine, 200);
    const TGroupListEntry& e = m_data.GroupList()[Listed(kMine)];
    EXPECT_EQ(e.name, "Renamed");
    EXPECT_EQ(e.creator, "sip:founder@ims.test");
    EXPECT_EQ(e.role, ROLE_OWNER);
    EXPECT_EQ(Record(kMine)->name, "Renamed");
    EXPECT_EQ(Record(kMine)->MemberCount(), 1);
    EXPECT_EQ(Record(kMine)->BlacklistCount(), 1);
    EXPECT_EQ(m_data.PendingCreates().size(), 1u);
    EXPECT_EQ(m_seen.uris, Texts{kMine});  // the group as listed
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MEMBERS * 10});
}

TEST_F(ResultRulesTest, CreatedGroupIsDroppedQuietlyWhenTheListIsFull)
{
    for (int i = 0; !m_data.GroupList().IsFull() && i < 1000; ++i) {
        TGroupListEntry entry;
        entry.uri = ("sip:g" + std::to_string(i) + "@groups.test").c_str();
        entry.name = "G";
        entry.kind = GROUP_PUBLIC;
        m_data.AddOrUpdateGroupListEntry(entry);
    }
    ASSERT_TRUE(m_data.GroupList().IsFull());
    m_results.OnCreateResult("Go", "sip:go@groups.test", 200);
    EXPECT_EQ(Listed("sip:go@groups.test"), -1);
    EXPECT_EQ(Record("sip:go@groups.test"), nullptr);
    EXPECT_EQ(Group("sip:go@groups.test"), nullptr);
    EXPECT_TRUE(Logged("OnIMSCreatePublicGroupResult: the group list is full, sip:go@groups.test is not shown"));
    EXPECT_TRUE(Reported().empty());
}

// ---- 1014, 1018 --------------------------------------------------------------------------

TEST_F(ResultRulesTest, DeletedAndLeftGroupsLeaveTablesAndModel)
{
    m_results.OnDeleteResult("Mine", 408);
    m_results.OnDeleteResult("Mine", 500);
    m_results.OnDeleteResult("Club", 200);  // not mine: stays
    EXPECT_EQ(Notices(), (Texts{N(NOTICE_DELETE_TIMEOUT, "Mine"), N(NOTICE_DELETE_FAILED, "Mine")}));
    EXPECT_NE(Group(kClub), nullptr);
    m_results.OnDeleteResult("Mine", 200);
    EXPECT_EQ(Listed(kMine), -1);
    EXPECT_EQ(Record(kMine), nullptr);
    EXPECT_EQ(Group(kMine), nullptr);
    EXPECT_TRUE(Logged("OnIMSDeletePublicGroupResultVeloractrl1, pGroupName=Mine,iResult=200"));

    m_host.infoWindow = &m_info;
    m_results.OnLeaveResult("Club", kClub, 408);
    m_results.OnLeaveResult("Club", kClub, 403);
    m_results.OnLeaveResult("Nowhere", "sip:nowhere@groups.test", 200);  // no group object: nothing
    EXPECT_EQ(Notices(), (Texts{N(NOTICE_LEAVE_TIMEOUT, "Club"), N(NOTICE_LEAVE_FAILED, "Club")}));
    m_results.OnLeaveResult("Club", kClub, 200);
    EXPECT_EQ(Group(kClub), nullptr);
    EXPECT_EQ(Record(kClub), nullptr);
    EXPECT_EQ(Listed(kClub), -1);
    EXPECT_EQ(m_info.joined, (std::vector<std::pair<std::string, int>>{{kClub, 0}}));
    EXPECT_TRUE(Logged("OnIMSLeavePublicGroupResultVeloractrl1, pGroupName=Club,iResult=200"));
    EXPECT_TRUE(Reported().empty());
}

// ---- 1015 --------------------------------------------------------------------------------

TEST_F(ResultRulesTest, InvitationSendResultsKeepOrDropThePendingInvitation)
{
    m_results.OnInviteSendResult("sip:eve@ims.test", "eve", "Mine", 200);
    m_results.OnInviteSendResult("sip:fay@ims.test", "fay", "Mine", 202);
    m_results.OnInviteSendResult("sip:fay@ims.test", "fay", "Mine", 202);
    EXPECT_TRUE(Notices().empty());
    EXPECT_TRUE(m_data.IsInvitePending("sip:fay@ims.test", "Mine"));
    EXPECT_EQ(m_data.InvitesPending().size(), 2u);

    m_results.OnInviteSendResult("sip:eve@ims.test", "eve", "Mine", 404);
    m_results.OnInviteSendResult("sip:fay@ims.test", "fay", "Mine", 408);
    m_results.OnInviteSendResult("sip:gus@ims.test", "gus", "Mine", 409);
    m_results.OnInviteSendResult("sip:gus@ims.test", "gus", "Mine", 480);
    EXPECT_TRUE(m_data.InvitesPending().empty());
    EXPECT_EQ(Notices(), (Texts{N(NOTICE_INVITE_NO_USER, "eve", "Mine"), N(NOTICE_INVITE_SEND_TIMEOUT, "fay", "Mine"),
                                N(NOTICE_INVITE_GROUP_FULL, "gus", "Mine"), N(NOTICE_INVITE_SEND_FAILED, "gus", "Mine")}));
    EXPECT_TRUE(Logged("OnIMSInviteToMyPuGroupSendResultVeloractrl1, pSomeoneURI=sip:gus@ims.test,pDisplayName=gus,"
                       "pGroupName=Mine,iResult=480"));
}

// ---- 1016 --------------------------------------------------------------------------------

TEST_F(ResultRulesTest, RemovedMemberLeavesModelAndTableInOrder)
{
    Record(kMine)->SetMembers({MemberSlot(kMe, "Me", "Forward", "100"), MemberSlot(kBob, "Bob", "Forward", "200"),
                               MemberSlot(kCarl, "Carl", "Forward", "300")});
    m_results.OnRemoveMemberResult(kBob, "Mine", 408);
    m_results.OnRemoveMemberResult(kBob, "Mine", 403);
    EXPECT_EQ(Notices(), (Texts{N(NOTICE_REMOVE_MEMBER_TIMEOUT, kBob, "Mine"),
                                N(NOTICE_REMOVE_MEMBER_FAILED, kBob, "Mine")}));
    EXPECT_NE(Group(kMine)->FindMember(kBob), nullptr);

    m_results.OnRemoveMemberResult(kBob, "Mine", 200);
    EXPECT_EQ(Group(kMine)->FindMember(kBob), nullptr);
    const CGroupRecord* mine = Record(kMine);
    ASSERT_EQ(mine->MemberCount(), 2);
    EXPECT_EQ(mine->Member(0).uri, kMe);
    EXPECT_EQ(mine->Member(1).uri, kCarl);
    EXPECT_EQ(mine->Member(1).phone, "300");  // every field of a slot moves with it
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MEMBERS * 10});

    m_results.OnRemoveMemberResult(kBob, "Club", 200);  // not my group: nothing
    EXPECT_NE(Group(kClub)->FindMember(kBob), nullptr);
    EXPECT_TRUE(Reported().empty());
    EXPECT_TRUE(Notices().empty());
}

// ---- 1017 --------------------------------------------------------------------------------

TEST_F(ResultRulesTest, JoinSendResultNamesTheGroupOnlyWithTheInformationWindowOpen)
{
    m_results.OnJoinSendResult("sip:chess@groups.test", "id-1", 403);
    m_results.OnJoinSendResult("sip:chess@groups.test", "id-1", 202);
    m_results.OnJoinSendResult("sip:chess@groups.test", "id-1", 408);
    m_host.infoWindow = &m_info;
    m_results.OnJoinSendResult("sip:chess@groups.test", "id-1", 403);
    m_results.OnJoinSendResult(kClub, "id-2", 409);
    EXPECT_EQ(Notices(), (Texts{N(NOTICE_JOIN_REFUSED), N(NOTICE_JOIN_REFUSED, "chess"),
                                N(NOTICE_JOIN_GROUP_FULL, "Club")}));
    EXPECT_TRUE(Logged("OnIMSReqJoinPublicGroupSendResultVeloractrl1, pGroupURI=sip:chess@groups.test,"
                       "pGroupIdentifier=id-1,iResult=202"));
}

// ---- 1019 --------------------------------------------------------------------------------

TEST_F(ResultRulesTest, ChangedDisplayNameReachesModelAndTable)
{
    JoinMe(kClub);
    m_results.OnChangeNameResult(kClub, "Captain", 200);
    const CTarvolanMember* me = Group(kClub)->FindMember(kMe);
    EXPECT_EQ(me->m_csDisplayName, "Captain");
    const CGroupRecord* club = Record(kClub);
    EXPECT_EQ(club->Member(club->FindMember(kMe)).displayName, "Captain");
    ASSERT_EQ(m_seen.changes.size(), 2u);
    EXPECT_EQ(m_seen.changes[0].member, me);  // the member's item and conversation line follow
    EXPECT_EQ(Reported(), (std::vector<int>{CHANGE_PRESENCE * 10 + DETAIL_TEXT_CHANGED, CHANGE_MEMBERS * 10}));

    m_results.OnChangeNameResult(kClub, "", 200);  // no name: the model shows the account, the table keeps none
    EXPECT_EQ(me->m_csDisplayName, "me");
    EXPECT_EQ(club->Member(club->FindMember(kMe)).displayName, "");
    Reported();

    m_results.OnChangeNameResult(kClub, "Late", 408);
    m_results.OnChangeNameResult(kClub, "Late", 500);
    m_results.OnChangeNameResult("sip:nowhere@groups.test", "Late", 408);  // no group: nothing
    m_results.OnChangeNameResult("", "Late", 408);
    m_results.OnChangeNameResult(kMine, "Late", 200);  // I am not in its model: nothing
    EXPECT_EQ(Notices(), (Texts{N(NOTICE_RENAME_TIMEOUT, "Club"), N(NOTICE_RENAME_FAILED, "Club")}));
    EXPECT_EQ(me->m_csDisplayName, "me");
    EXPECT_TRUE(Reported().empty());
}

} // namespace
