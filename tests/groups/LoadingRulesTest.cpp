// The loading rules over the scripted client of CRulesFixture: the group list
// (1004), one group's full information (1005), the rebuild from the table (1033).
#include <memory>

#include <gtest/gtest.h>

#include "groups/LoadingRules.h"
#include "RulesFixture.h"

namespace tarvolan {
namespace {

using namespace rulestest;

constexpr const char* kTeam = "sip:team@groups.test";

// Subscriptions are the only requests loading sends: recorded as their group's URI.
struct CSubscriptionLink : CRecordingLink {
    int Send(int code, void* record) override
    {
        if (code == M_Subscribe) sent.push_back(reinterpret_cast<const char*>(static_cast<Word*>(record)[1]));
        return 0;
    }
};

class LoadingRulesTest : public CRulesFixture {
protected:
    LoadingRulesTest() : m_list(std::make_unique<TGroupInfoList>()) {}

    void Slot(const char* uri, const char* name, int kind, int usage = 0, const char* owner = "")
    {
        TGroupInfoSlot& slot = m_list->groups[m_list->count++];
        Put(slot.groupURI, uri);
        Put(slot.groupname, name);
        slot.groupType = kind;
        slot.groupUsage = usage;
        Put(slot.groupOwner, owner);
    }
    void SendList()
    {
        m_rules.OnGroupInfo(m_list.get());
        *m_list = TGroupInfoList{};
    }
    // The group with the members given (URI, name) as my role makes them.
    void SendGroup(const char* uri, int role, std::vector<std::pair<const char*, const char*>> members = {})
    {
        std::vector<TMemberEntry> entries(members.size());
        for (size_t i = 0; i < members.size(); ++i) {
            Put(entries[i].UserURI, members[i].first);
            Put(entries[i].DisplayName, members[i].second);
        }
        TGroupDescription info{};
        Put(info.owner, kOwner);
        info.iMaxMember = 300;
        m_rules.OnOnePublicGroup("team", uri, role, &info, static_cast<int>(entries.size()), entries.data(), 0,
                                 nullptr);
    }

    std::unique_ptr<TGroupInfoList> m_list;
    CSubscriptionLink m_subscriptions;
    CSearchRules m_search{m_data, m_host};
    CLoadingRules m_rules{m_data, m_host, m_subscriptions, m_changes, m_search};
};

TEST_F(LoadingRulesTest, AGroupListAddsThePlaceholderAndItsGroupsThenOneChange)
{
    m_rules.OnGroupInfo(nullptr);  // absent: nothing at all
    EXPECT_TRUE(m_host.log.empty());

    SendList();
    EXPECT_EQ(m_host.log.back(), "OnIMSGotGroupInfoVeloractrl1:number of group = 0 information of group: \n");
    const TGroupListEntry& placeholder = m_data.GroupList()[m_data.GroupList().Count() - 1];
    EXPECT_TRUE(placeholder.uri.IsEmpty() && placeholder.name.IsEmpty());
    EXPECT_EQ(placeholder.kind, GROUP_CONTACT_LIST);
    EXPECT_EQ(placeholder.usage, 3);
    EXPECT_EQ(placeholder.maxMembers, 3);
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_GROUP_LIST * 10});

    // A group I own that the table already holds becomes kind 2; one first
    // seen keeps its kind. A public group without an address is dropped.
    Slot("sip:new@groups.test", "new", GROUP_BASIC, 0, kMe);
    Slot(kClub, "club2", GROUP_MUTUAL, 0, kMe);
    Slot("", "nowhere", GROUP_PUBLIC);
    m_list->count = 100000;  // clamped to the list's slots, all empty past the three
    SendList();
    EXPECT_EQ(m_data.GroupTable().Get("sip:new@groups.test")->kind, GROUP_BASIC);
    EXPECT_EQ(m_data.GroupTable().Get("sip:new@groups.test")->role, ROLE_OWNER);
    const CGroupRecord* club = m_data.GroupTable().Get(kClub);
    EXPECT_EQ(club->kind, GROUP_PUBLIC);
    EXPECT_EQ(club->role, ROLE_OWNER);
    EXPECT_EQ(club->name, "club2");
    EXPECT_FALSE(m_data.GroupListHas("", "nowhere", GROUP_PUBLIC));
    EXPECT_NE(m_host.log.back().find("number of group = 200 "), std::string::npos);
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_GROUP_LIST * 10});
    EXPECT_TRUE(m_subscriptions.sent.empty());
}

TEST_F(LoadingRulesTest, ContactListNamesAreRememberedOnceAndAllContactsIsRenamed)
{
    const std::string long33(33, 'n');
    for (int round = 0; round < 2; ++round) {
        Slot("sip:l1", "colleagues", GROUP_CONTACT_LIST, 1);
        Slot("sip:l2", long33.c_str(), GROUP_CONTACT_LIST, 1);
        Slot("sip:all", "whatever", GROUP_CONTACT_LIST, 4);
        SendList();
    }
    ASSERT_EQ(m_data.RecentListNames().GetSize(), 1);
    EXPECT_EQ(m_data.RecentListNames()[0], "colleagues");
    EXPECT_EQ(m_host.namesTimerRestarts, 1);
    EXPECT_TRUE(m_data.GroupListHas("", "All contacts", GROUP_CONTACT_LIST));
    EXPECT_TRUE(m_data.GroupListHas("", long33.c_str(), GROUP_CONTACT_LIST));  // listed, not remembered
}

TEST_F(LoadingRulesTest, RoleThreeIsOnlyLogged)
{
    SendGroup(kTeam, ROLE_NONE, {{kBob, ""}});
    EXPECT_EQ(m_host.log.back(), "OnIMSGotOnePublicGroupVeloractrl1:\r\npGroupName=team,pGroupURI=" +
                                     std::string(kTeam) +
                                     ", iMyRole= 3,iDuration=0,iMaxMember = 300,iVisi=0,iNeedPermit=0,"
                                     "Creator=,Owner=sip:owner@ims.test,iListNum=1,\r\n"
                                     "UserURI0=sip:bob@ims.test,DisplayName=,csInfo=,csPhone=\r\niBlacklistNum=0\r\n");
    EXPECT_EQ(m_data.GroupTable().Get(kTeam), nullptr);
    EXPECT_EQ(m_data.GroupList().FindByURI(kTeam), -1);
    EXPECT_TRUE(m_subscriptions.sent.empty());
    EXPECT_TRUE(Reported().empty());
    EXPECT_EQ(m_host.propertiesReloads, 0);
}

TEST_F(LoadingRulesTest, AGroupIsSubscribedOnceStoredReportedAndMyApplicationDropped)
{
    m_data.JoinApplications().push_back({kTeam, "me-request"});
    m_data.JoinApplications().push_back({kTeam, "someone else"});
    m_data.JoinApplications().push_back({kClub, "me-request"});

    SendGroup(kTeam, ROLE_OWNER, {{kMe, "Me"}, {kBob, "Bob"}});
    SendGroup(kTeam, ROLE_OWNER, {{kBob, "Robert"}});

    EXPECT_EQ(m_subscriptions.sent, std::vector<std::string>{kTeam});
    EXPECT_EQ(m_host.log[1], "CKestDlg::After got a system group,subscribe it(URI Is sip:team@groups.test)");
    const TGroupListEntry& entry = m_data.GroupList()[m_data.GroupList().FindByURI(kTeam)];
    EXPECT_EQ(entry.kind, GROUP_PUBLIC);
    EXPECT_EQ(entry.owner, kMe);  // mine: the owner is me, whatever the description says
    EXPECT_EQ(entry.maxMembers, 300);
    const CGroupRecord* record = m_data.GroupTable().Get(kTeam);
    ASSERT_EQ(record->MemberCount(), 1);  // replaced, not merged
    EXPECT_EQ(record->Member(0).displayName, "Robert");
    EXPECT_EQ(Reported(), std::vector<int>(2, CHANGE_MEMBERS * 10 + DETAIL_UNLISTED_LEAVE));
    ASSERT_EQ(m_data.JoinApplications().size(), 2u);
    EXPECT_EQ(m_data.JoinApplications().front().requester, "someone else");
    EXPECT_EQ(m_host.propertiesReloads, 2);
}

// Counts beyond the limits or without their arrays, and a missing description.
TEST_F(LoadingRulesTest, BadCountsAndMissingPartsReadAsNone)
{
    TMemberEntry one{};
    Put(one.UserURI, kBob);
    m_rules.OnOnePublicGroup("team", kTeam, ROLE_MEMBER, nullptr, 5000, nullptr, -4, nullptr);
    m_rules.OnOnePublicGroup(nullptr, nullptr, ROLE_MEMBER, nullptr, 1, &one, 0, nullptr);  // no address
    const CGroupRecord* record = m_data.GroupTable().Get(kTeam);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->MemberCount(), 0);
    EXPECT_NE(m_host.log[0].find(",iListNum=0,\r\niBlacklistNum=0\r\n"), std::string::npos);
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MEMBERS * 10 + DETAIL_UNLISTED_LEAVE});
}

// 1033: every public group of the table, in table order, once, and nothing
// for a contact list's record; a group without an object is reported without one.
TEST_F(LoadingRulesTest, RebuildFromTableReportsEachPublicGroupOnce)
{
    CGroupRecord* list = m_data.GroupTable().Add("sip:friends@ims.test");
    ASSERT_NE(list, nullptr);
    list->kind = GROUP_CONTACT_LIST;
    CGroupRecord* unseen = m_data.GroupTable().Add("sip:unseen@groups.test");
    ASSERT_NE(unseen, nullptr);
    unseen->kind = GROUP_PUBLIC;

    m_rules.OnRebuildMembersFromTable();

    ASSERT_EQ(m_seen.uris, (std::vector<std::string>{kMine, kClub, "sip:unseen@groups.test"}));
    EXPECT_EQ(m_seen.changes[0].group, Group(kMine));
    EXPECT_EQ(m_seen.changes[2].group, nullptr);
    EXPECT_EQ(Reported(), (std::vector<int>(3, CHANGE_MEMBERS * 10 + DETAIL_FROM_TABLE)));
    EXPECT_TRUE(m_subscriptions.sent.empty());
}

} // namespace
} // namespace tarvolan
