// The loading rules over the scripted client of CRulesFixture.
#include <gtest/gtest.h>

#include "groups/LoadingRules.h"
#include "RulesFixture.h"

namespace tarvolan {
namespace {

using namespace rulestest;

class LoadingRulesTest : public CRulesFixture {
protected:
    CLoadingRules m_rules{m_data, m_changes};
};

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
    EXPECT_TRUE(m_link.sent.empty());
}

} // namespace
} // namespace tarvolan
