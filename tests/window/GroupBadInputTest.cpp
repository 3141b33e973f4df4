// Hostile host records: counts out of range, fields without their zero,
// null arrays and missing keys are clamped or ignored.
#include <cstring>

#include "window/GroupsFixture.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

class GroupBadInputTest : public CGroupsTest {};

TEST_F(GroupBadInputTest, GroupListCountsAreClampedAndTheLimitsHold)
{
    Send(H_GroupInfoList, nullptr);  // no record: nothing, not even the placeholder
    EXPECT_EQ(Dlg().Data().GroupList().Count(), 0);

    CGroupListRecord negative;
    negative.Add("sip:g@groups.test", "g", GROUP_PUBLIC);
    negative->count = -5;
    SendGroupList(negative);
    EXPECT_EQ(Dlg().Data().GroupList().Count(), 1);  // the placeholder only
    EXPECT_EQ(Dlg().Data().GroupTable().Count(), 0);

    CGroupListRecord full;
    for (int i = 0; i < kMaxGroups; ++i) full.Add(("sip:g" + std::to_string(i)).c_str(), "g", GROUP_PUBLIC);
    full->count = 100000;
    SendGroupList(full);
    EXPECT_EQ(Dlg().Data().GroupList().Count(), 200);   // the placeholder and 199 groups
    EXPECT_EQ(Dlg().Data().GroupTable().Count(), 200);  // the table holds all 200
    EXPECT_EQ(Dlg().Root(ITEM_JOINED_ROOT)->childCount(), 199);
}

TEST_F(GroupBadInputTest, UnterminatedGroupListFieldsAreReadWithinTheirSize)
{
    CGroupListRecord list;
    list.Add("", "", GROUP_PUBLIC);
    TGroupInfoSlot& slot = list->groups[0];
    std::memset(slot.groupURI, 'u', sizeof(slot.groupURI));
    std::memset(slot.groupname, 'n', sizeof(slot.groupname));
    std::memset(slot.groupOwner, 'o', sizeof(slot.groupOwner));
    list.Add("", "nameless", GROUP_PUBLIC);  // a group without an address is left out
    SendGroupList(list);
    ASSERT_EQ(Dlg().Data().GroupList().Count(), 2);
    EXPECT_EQ(Dlg().Data().GroupList()[1].uri.GetLength(), 257);
    EXPECT_EQ(Dlg().Data().GroupList()[1].name.GetLength(), 67);
    EXPECT_EQ(Dlg().Data().GroupList()[1].owner.GetLength(), 260);
    EXPECT_EQ(Dlg().Data().GroupTable().Count(), 1);
}

TEST_F(GroupBadInputTest, GroupCountsAndNullArraysAreClamped)
{
    COneGroupRecord group("sip:g@groups.test", "g", ROLE_MEMBER);
    for (int i = 0; i < 300; ++i) group.Member(("sip:m" + std::to_string(i)).c_str());
    for (int i = 0; i < 100; ++i) group.Blacklisted(("sip:b" + std::to_string(i)).c_str());
    Word* w = group.Words();
    w[4] = 100000;  // more than the array: read as 300
    w[6] = 100000;
    Send(H_OnePublicGroup, w);
    const CGroupRecord* record = Dlg().Data().GroupTable().Get("sip:g@groups.test");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->MemberCount(), 300);
    EXPECT_EQ(record->BlacklistCount(), 100);

    w = group.Words();
    w[4] = -1;
    w[6] = 5;
    w[7] = 0;  // a null blacklist with a count
    Send(H_OnePublicGroup, w);
    EXPECT_EQ(record->MemberCount(), 0);
    EXPECT_EQ(record->BlacklistCount(), 0);
    EXPECT_EQ(Dlg().Data().TreeModel().FindGroup("sip:g@groups.test")->MemberCount(), 0);

    w = group.Words();
    w[5] = 0;  // a null member array with a count
    Send(H_OnePublicGroup, w);
    EXPECT_EQ(record->MemberCount(), 0);
}

TEST_F(GroupBadInputTest, MemberFieldsWithoutTheirZeroAndWithoutAnAddress)
{
    COneGroupRecord group("sip:g@groups.test", "g", ROLE_MEMBER);
    TMemberEntry wide{};
    std::memset(&wide, 'x', sizeof(wide));  // no zero anywhere
    group.members.push_back(wide);
    group.Member("", "nobody");
    group.Member("sip:twice", "first").Member("sip:twice", "second");
    SendGroup(group);
    const CGroupRecord* record = Dlg().Data().GroupTable().Get("sip:g@groups.test");
    ASSERT_EQ(record->MemberCount(), 2);
    EXPECT_EQ(record->Member(0).uri.GetLength(), 257);
    EXPECT_EQ(record->Member(0).displayName.GetLength(), 65);
    EXPECT_EQ(record->Member(0).info.GetLength(), 8);
    EXPECT_EQ(record->Member(0).phone.GetLength(), 21);
    EXPECT_EQ(record->Member(1).displayName, "first");
    EXPECT_EQ(Dlg().Data().TreeModel().FindGroup("sip:g@groups.test")->MemberCount(), 2);
}

TEST_F(GroupBadInputTest, AGroupWithoutDescriptionOrAddress)
{
    COneGroupRecord noInfo("sip:g@groups.test", "g", ROLE_MEMBER);
    Word* w = noInfo.Words();
    w[3] = 0;
    Send(H_OnePublicGroup, w);
    ASSERT_EQ(Dlg().Data().GroupList().Count(), 1);
    EXPECT_TRUE(Dlg().Data().GroupList()[0].owner.IsEmpty());
    EXPECT_EQ(Dlg().Data().GroupList()[0].maxMembers, 0);

    COneGroupRecord noURI("", "anonymous", ROLE_MEMBER);
    noURI.Member("sip:m");
    w = noURI.Words();
    w[1] = 0;
    Send(H_OnePublicGroup, w);
    EXPECT_EQ(Dlg().Data().GroupList().Count(), 1);
    EXPECT_EQ(Dlg().Data().GroupTable().Count(), 1);
    EXPECT_EQ(m_host.Count(M_Subscribe), 1u);
}

} // namespace
} // namespace groups_testing
