// The group tables, the tree model and the registry operations, without a
// window.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "groups/GroupData.h"
#include "groups/KeyIndex.h"
#include "groups/Presence.h"
#include "protocol/TarvolanAbi.h"

using namespace tarvolan;

namespace {

TGroupListEntry Entry(const char* uri, const char* name, int kind, int role = ROLE_MEMBER, const char* owner = "")
{
    TGroupListEntry e;
    e.uri = uri;
    e.name = name;
    e.kind = kind;
    e.role = role;
    e.owner = owner;
    return e;
}

TMemberSlot Slot(const std::string& uri, const char* name = "")
{
    TMemberSlot slot;
    slot.uri = uri;
    slot.displayName = name;
    return slot;
}

std::string Uri(int i) { return "sip:g" + std::to_string(i) + "@ims.test"; }

TEST(GroupListTest, ContactListsMatchByNameAndPublicGroupsByUriAndKind)
{
    CGroupList list;
    TGroupListEntry contacts = Entry("sip:a", "friends", GROUP_CONTACT_LIST);
    contacts.usage = 1;
    list.AddOrUpdate(contacts);
    TGroupListEntry again = Entry("sip:b", "friends", GROUP_CONTACT_LIST);
    again.usage = 0;  // a zero usage keeps the old one
    list.AddOrUpdate(again);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].usage, 1);
    EXPECT_EQ(list[0].uri, "sip:b");
    EXPECT_EQ(list.FindByURI("sip:b"), 0);

    list.AddOrUpdate(Entry("sip:g", "old", GROUP_PUBLIC));
    list.AddOrUpdate(Entry("sip:g", "new", GROUP_PUBLIC));
    list.AddOrUpdate(Entry("sip:g", "other kind", GROUP_BASIC));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1].name, "new");
    EXPECT_EQ(list.Find("sip:g", "", GROUP_BASIC), 2);
    EXPECT_EQ(list.FindByURI("sip:g"), 1);
}

TEST(GroupListTest, HoldsAtMost200AndStillUpdatesWhenFull)
{
    CGroupList list;
    for (int i = 0; i < 250; ++i) list.AddOrUpdate(Entry(Uri(i).c_str(), "n", GROUP_PUBLIC));
    EXPECT_EQ(list.Count(), 200);
    EXPECT_EQ(list.FindByURI(Uri(200).c_str()), -1);
    EXPECT_EQ(list.AddOrUpdate(Entry(Uri(7).c_str(), "renamed", GROUP_PUBLIC)), 7);
    EXPECT_EQ(list[7].name, "renamed");
}

TEST(GroupListTest, RemovalMovesTheLastEntryAndLeavesNoStaleStrings)
{
    CGroupList list;
    for (int i = 0; i < 3; ++i) list.AddOrUpdate(Entry(Uri(i).c_str(), "n", GROUP_PUBLIC));
    list.RemoveAt(0);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0].uri, Uri(2).c_str());
    EXPECT_EQ(list.FindByURI(Uri(2).c_str()), 0);
    EXPECT_TRUE(list[2].uri.IsEmpty());
    list.RemoveAt(1);
    list.RemoveAt(0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list[0].uri.IsEmpty() && list[0].name.IsEmpty());
    list.RemoveAt(0);  // nothing left: no effect
    EXPECT_EQ(list.Count(), 0);
}

TEST(GroupTableTest, RecordsAreKeyedByUriAndRemovalMovesTheLast)
{
    CGroupTable table;
    for (int i = 0; i < 200; ++i) table.Add(Uri(i).c_str())->name = std::to_string(i).c_str();
    EXPECT_EQ(table.Add(Uri(200).c_str()), nullptr);
    EXPECT_EQ(table.Add(Uri(5).c_str()), table.Get(Uri(5).c_str()));
    table.Get(Uri(199).c_str())->SetMembers({Slot("sip:m")});
    table.RemoveAt(5);
    EXPECT_EQ(table.Count(), 199);
    EXPECT_EQ(table.Find(Uri(5).c_str()), -1);
    EXPECT_EQ(table.Find(Uri(199).c_str()), 5);
    EXPECT_EQ(table[5].FindMember("sip:m"), 0);  // the moved record keeps its member index
    EXPECT_TRUE(table[199].URI().IsEmpty());
    EXPECT_EQ(table[199].MemberCount(), 0);
}

// The host's entries, read in place: an entry without a URI and later repeats
// are left out, at most 300 are kept, and a field without its zero ends at
// the field's end.
TEST(GroupRecordTest, MembersReadFromHostEntries)
{
    std::vector<TMemberEntry> entries(330);
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string uri = "sip:m" + std::to_string(i);
        std::snprintf(entries[i].UserURI, sizeof(entries[i].UserURI), "%s", uri.c_str());
        std::snprintf(entries[i].csPhone, sizeof(entries[i].csPhone), "%zu", i);
    }
    entries[1].UserURI[0] = '\0';
    std::snprintf(entries[2].UserURI, sizeof(entries[2].UserURI), "sip:m0");
    std::memset(entries[3].csInfo, 'x', sizeof(entries[3].csInfo));
    CGroupRecord record;
    record.SetMembers(entries.data(), static_cast<int>(entries.size()));
    ASSERT_EQ(record.MemberCount(), 300);
    EXPECT_EQ(record.Member(1).uri, "sip:m3");
    EXPECT_EQ(record.Member(1).info, std::string(sizeof(entries[3].csInfo), 'x'));
    EXPECT_EQ(record.Member(299).uri, "sip:m301");
    EXPECT_EQ(record.Member(299).phone, "301");
    EXPECT_EQ(record.FindMember("sip:m301"), 299);
    record.SetMembers(nullptr, 5);
    EXPECT_EQ(record.MemberCount(), 0);
}

TEST(GroupRecordTest, SpareTextsOfASlotCopyWithIt)
{
    TMemberSlot slot = MemberSlot("sip:a", "A", kMemberInGroup);
    EXPECT_TRUE(slot.extra1.Text().IsEmpty());
    slot.extra2 = CString("kept");
    TMemberSlot copy = slot;
    slot.extra2 = CString();
    EXPECT_EQ(copy.extra2.Text(), "kept");
    EXPECT_TRUE(slot.extra2.Text().IsEmpty());
}

TEST(GroupRecordTest, MembersStayUniqueAndWithinTheLimits)
{
    CGroupRecord record;
    std::vector<TMemberSlot> many;
    for (int i = 0; i < 350; ++i) many.push_back(Slot("sip:m" + std::to_string(i % 320)));
    many.insert(many.begin() + 1, Slot("sip:m0", "repeat"));
    record.SetMembers(many);
    EXPECT_EQ(record.MemberCount(), 300);
    EXPECT_EQ(record.Member(1).uri, "sip:m1");
    EXPECT_FALSE(record.AddMember(Slot("sip:new")));  // full

    EXPECT_TRUE(record.RemoveMember("sip:m3"));
    EXPECT_EQ(record.MemberCount(), 299);
    EXPECT_EQ(record.Member(3).uri, "sip:m299");
    EXPECT_EQ(record.FindMember("sip:m299"), 3);
    EXPECT_EQ(record.FindMember("sip:m3"), -1);
    EXPECT_FALSE(record.RemoveMember("sip:m3"));
    EXPECT_FALSE(record.AddMember(Slot("sip:m4")));  // already there
    EXPECT_FALSE(record.UpdateMember(0, Slot("sip:m5")));  // another member's URI
    EXPECT_TRUE(record.AddMember(Slot("sip:new")));

    std::vector<CString> blacklist(150, CString("sip:b"));
    record.SetBlacklist(blacklist);
    EXPECT_EQ(record.BlacklistCount(), 100);
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            m_reg.AddOrUpdateGroupListEntry(Entry(Uri(i).c_str(), "g", GROUP_PUBLIC));
            CGroupRecord* record = m_reg.GroupTable().Add(Uri(i).c_str());
            record->kind = GROUP_PUBLIC;
            record->SetMembers({Slot("sip:member")});
            record->SetBlacklist({CString("sip:banned")});
            m_reg.TreeModel().CreateOrUpdateGroup(m_reg.GroupList()[i]);
            m_reg.SubscribedGroups().Add(Uri(i).c_str());
            m_reg.InfoRequestedGroups().Add(Uri(i).c_str());
        }
    }
    CGroupData m_reg;
};

TEST_F(RegistryTest, RemovingAGroupTakesItOutOfEveryTableAndArray)
{
    m_reg.RemoveGroup(Uri(0).c_str());
    EXPECT_EQ(m_reg.GroupList().Count(), 2);
    EXPECT_EQ(m_reg.GroupList()[0].uri, Uri(2).c_str());
    EXPECT_EQ(m_reg.GroupTable().Count(), 2);
    EXPECT_EQ(m_reg.GroupTable()[0].URI(), Uri(2).c_str());
    EXPECT_EQ(m_reg.TreeModel().FindGroup(Uri(0).c_str()), nullptr);
    EXPECT_FALSE(m_reg.SubscribedGroups().Contains(Uri(0).c_str()));
    EXPECT_FALSE(m_reg.InfoRequestedGroups().Contains(Uri(0).c_str()));
    EXPECT_TRUE(m_reg.SubscribedGroups().Contains(Uri(1).c_str()));
}

TEST_F(RegistryTest, UserLookupHonoursTypeAndFindKind)
{
    const CString g = Uri(1).c_str();
    EXPECT_EQ(m_reg.IMSUserIsInOnePubGroup(g, "sip:member", 1, 0), 0);
    EXPECT_EQ(m_reg.IMSUserIsInOnePubGroup(g, "sip:member", 2, 1), 1);
    EXPECT_EQ(m_reg.IMSUserIsInOnePubGroup(g, "sip:banned", 2, 1), 0);
    EXPECT_EQ(m_reg.IMSUserIsInOnePubGroup(g, "sip:banned", 2, 0), 1);
    EXPECT_EQ(m_reg.IMSUserIsInOnePubGroup(g, "sip:banned", 2, 2), 1);
    EXPECT_EQ(m_reg.IMSUserIsInOnePubGroup(g, "sip:MEMBER", 2, 0), 0);  // byte-wise
    m_reg.GroupTable().Get(g)->kind = GROUP_BASIC;
    EXPECT_EQ(m_reg.IMSUserIsInOnePubGroup(g, "sip:member", 2, 0), 0);

    m_reg.RemoveMemberFromTable(Uri(2).c_str(), "sip:member");
    EXPECT_EQ(m_reg.GroupTable().Get(Uri(2).c_str())->MemberCount(), 0);
}

TEST(RegistryOperationsTest, GroupUriByNameRoleAndOwner)
{
    CGroupData reg;
    reg.AddOrUpdateGroupListEntry(Entry("sip:mine", "team", GROUP_PUBLIC, ROLE_OWNER, "sip:me"));
    reg.AddOrUpdateGroupListEntry(Entry("sip:theirs", "team", GROUP_PUBLIC, ROLE_MEMBER, "sip:bob"));
    EXPECT_EQ(reg.GetGroupURIByName("team", ROLE_OWNER, ""), "sip:mine");
    EXPECT_EQ(reg.GetGroupURIByName("team", ROLE_MEMBER, "sip:bob"), "sip:theirs");
    EXPECT_TRUE(reg.GetGroupURIByName("team", ROLE_MEMBER, "sip:carol").IsEmpty());
    EXPECT_TRUE(reg.GetGroupURIByName("team", ROLE_NONE, "").IsEmpty());
    EXPECT_TRUE(reg.GroupListHas("sip:mine", "", GROUP_PUBLIC));
    EXPECT_FALSE(reg.GroupListHas("sip:mine", "", GROUP_BASIC));
}

TEST(RegistryOperationsTest, PendingInvitationsMatchExactPairs)
{
    CGroupData reg;
    reg.InvitesPending().push_back({"bob", "team"});
    reg.InvitesPending().push_back({"bob", "team"});
    reg.InvitesPending().push_back({"bob", "other"});
    EXPECT_TRUE(reg.IsInvitePending("bob", "team"));
    EXPECT_FALSE(reg.IsInvitePending("Bob", "team"));
    reg.RemoveInvitePending("bob", "team");
    EXPECT_FALSE(reg.IsInvitePending("bob", "team"));
    EXPECT_EQ(reg.InvitesPending().size(), 1u);
}

TEST(RegistryOperationsTest, RecentListNamesAcceptAtMost32Bytes)
{
    CGroupData reg;
    EXPECT_FALSE(CGroupData::IsNewInArray(reg.RecentListNames(), ""));
    EXPECT_TRUE(CGroupData::IsNewInArray(reg.RecentListNames(), std::string(32, 'a')));
    EXPECT_FALSE(CGroupData::IsNewInArray(reg.RecentListNames(), std::string(33, 'a')));
    EXPECT_TRUE(CGroupData::IsNewInArray(reg.SubscribedGroups(), std::string(300, 'a')));
    reg.RecentListNames().Add("x");
    EXPECT_FALSE(CGroupData::IsNewInArray(reg.RecentListNames(), "x"));
}

// ---- tree model ---------------------------------------------------------------------

class CRecordingListener : public CGroupTreeListener {
public:
    void OnGroupRemoving(CTarvolan& group) override { groups.push_back(group.URI().str()); }
    void OnMemberRemoving(CTarvolanMember& member) override { members.push_back(member.URI().str()); }
    std::vector<std::string> groups, members;
};

TEST(GroupTreeModelTest, MembersDefaultTheirNameAndAreFoundAcrossGroups)
{
    CGroupTreeModel model;
    CRecordingListener listener;
    model.SetListener(&listener);
    CTarvolan* a = model.CreateOrUpdateGroup(Entry("sip:a", "A", GROUP_PUBLIC));
    CTarvolan* b = model.CreateOrUpdateGroup(Entry("sip:b", "B", GROUP_PUBLIC));
    model.CreateOrUpdateMember(*b, Slot("sip:Alice@ims.test"));
    CTarvolanMember* first = model.CreateOrUpdateMember(*a, Slot("sip:alice@ims.test"));
    model.CreateOrUpdateMember(*a, Slot("sip:carol@ims.test", "Carol"));
    EXPECT_EQ(first->m_csDisplayName, "alice");
    EXPECT_EQ(first->m_nStatus, 6);
    EXPECT_EQ(model.MemberTotal(), 3u);

    const auto found = model.FindMembersNoCase("SIP:ALICE@IMS.TEST");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], first);  // group a comes first
    EXPECT_EQ(model.FindFirstMember("sip:Alice@ims.test")->Group(), b);

    EXPECT_TRUE(model.RemoveMember(*a, "sip:alice@ims.test"));
    EXPECT_EQ(listener.members, std::vector<std::string>{"sip:alice@ims.test"});
    EXPECT_EQ(model.FindMembersNoCase("sip:alice@ims.test").size(), 1u);
    model.RemoveGroup("sip:b");
    EXPECT_EQ(listener.groups, std::vector<std::string>{"sip:b"});
    EXPECT_TRUE(model.FindMembersNoCase("sip:alice@ims.test").empty());
    EXPECT_EQ(model.MemberTotal(), 1u);

    // Numbers stay below the limit and go to new members once their members are gone.
    EXPECT_EQ(model.MemberNumberLimit(), 3u);
    std::vector<uint32_t> numbers;
    for (const char* uri : {"sip:d", "sip:e", "sip:f"}) numbers.push_back(model.CreateOrUpdateMember(*a, Slot(uri))->Number());
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<uint32_t>{0, 1, 3}));
    EXPECT_EQ(model.MemberNumberLimit(), 4u);
}

TEST(GroupTreeModelTest, GroupHoldsNoMoreMembersThanItsTable)
{
    CGroupTreeModel model;
    CTarvolan* group = model.CreateOrUpdateGroup(Entry("sip:g", "G", GROUP_PUBLIC));
    for (int i = 0; i < kMemberCapacity; ++i)
        ASSERT_NE(model.CreateOrUpdateMember(*group, Slot("sip:m" + std::to_string(i))), nullptr);
    bool created = true;
    EXPECT_EQ(model.CreateOrUpdateMember(*group, Slot("sip:one-more"), &created), nullptr);
    EXPECT_FALSE(created);
    EXPECT_EQ(group->MemberCount(), kMemberCapacity);
    // Members already in the group are still updated.
    CTarvolanMember* first = model.CreateOrUpdateMember(*group, Slot("sip:m0", "Renamed"), &created);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_csDisplayName, "Renamed");
    EXPECT_EQ(model.MemberTotal(), static_cast<size_t>(kMemberCapacity));
}

TEST(GroupTreeModelTest, PresenceCacheKeepsOneEntryPerPairAndIsBounded)
{
    CGroupTreeModel model;
    model.CachePresence("sip:g", "sip:m", {1, 1, "online"});
    model.CachePresence("sip:g", "sip:m", {2, 2, "busy"});
    model.CachePresence("sip:g:", "sip:m", {3, 3, ""});  // no confusion of pairs
    EXPECT_EQ(model.CachedPresenceCount(), 2u);
    TCachedPresence presence;
    ASSERT_TRUE(model.TakeCachedPresence("sip:g", "sip:m", presence));
    EXPECT_EQ(presence.code, 2);
    EXPECT_FALSE(model.TakeCachedPresence("sip:g", "sip:m", presence));

    for (size_t i = 0; i < CGroupTreeModel::kPresenceCacheLimit + 10; ++i)
        model.CachePresence("sip:g", std::to_string(i).c_str(), {});
    EXPECT_EQ(model.CachedPresenceCount(), CGroupTreeModel::kPresenceCacheLimit);
}

// Long URIs and texts fill the cache's byte budget before its entry count:
// entries beyond it are refused, an update may not grow past it, and what is
// taken out or cleared gives its bytes back.
TEST(GroupTreeModelTest, PresenceCacheIsBoundedInBytes)
{
    CGroupTreeModel model;
    const CString text(std::string(1 << 20, 'x').c_str());
    int cached = 0;
    while (model.CachePresence("sip:g", std::to_string(cached).c_str(), {9, 9, text})) ++cached;
    EXPECT_EQ(cached, 31);  // 32 MB of 1 MB texts and their keys
    EXPECT_LE(model.CachedPresenceBytes(), CGroupTreeModel::kPresenceCacheBytes);
    EXPECT_FALSE(model.CachePresence("sip:g", "0", {9, 9, CString((text.str() + text.str()).c_str())}));
    EXPECT_TRUE(model.CachePresence("sip:g", "0", {1, 1, "online"}));  // shrinking is fine
    TCachedPresence presence;
    ASSERT_TRUE(model.TakeCachedPresence("sip:g", "0", presence));
    EXPECT_EQ(presence.text, "online");
    EXPECT_TRUE(model.CachePresence("sip:g", "new", {9, 9, text}));
    model.Clear();
    EXPECT_EQ(model.CachedPresenceBytes(), 0u);
}

TEST(MemberProfileTest, CopiesTextsIntoItsOwnStorage)
{
    CMemberProfile profile;
    EXPECT_TRUE(profile.IsEmpty());
    EXPECT_STREQ(profile.Record()->block2[12], "");
    tarvolan::TMemberProfile source{};
    std::string uri = "sip:m";
    source.ids[1] = uri.c_str();
    source.iValue2 = 4;
    source.area[191] = 'x';
    profile.CopyFrom(source);  // null texts read as empty
    uri = "changed";
    EXPECT_STREQ(profile.Record()->ids[1], "sip:m");
    EXPECT_STREQ(profile.Record()->text1[0], "");
    EXPECT_EQ(profile.Record()->iValue2, 4);
    EXPECT_EQ(profile.Record()->area[191], 'x');
    profile.SetProfileText("note");
    EXPECT_STREQ(profile.Record()->block2[12], "note");
    EXPECT_FALSE(profile.IsEmpty());
}

TEST(PresenceTest, TextsMapToCodes)
{
    EXPECT_EQ(PresenceCodeFromText("ONLINE"), PRESENCE_ONLINE);
    EXPECT_EQ(PresenceCodeFromText("Don't Hinder"), PRESENCE_DO_NOT_DISTURB);
    EXPECT_EQ(PresenceCodeFromText("hide"), PRESENCE_HIDE);
    EXPECT_EQ(PresenceCodeFromText("in a meeting"), PRESENCE_CUSTOM);
    EXPECT_EQ(PresenceCodeFromText(""), PRESENCE_OFFLINE);
    EXPECT_EQ(PresenceCodeFromText(nullptr), PRESENCE_OFFLINE);

}

} // namespace

namespace {

struct TKeyed {
    CString uri;
    const CString& URI() const { return uri; }
};

TEST(KeyIndexTest, FindsEveryObjectThroughGrowthAndRemovals)
{
    std::vector<std::unique_ptr<TKeyed>> objects;
    CKeyIndex<TKeyed> index;
    for (int i = 0; i < 1000; ++i) {
        objects.push_back(std::make_unique<TKeyed>(TKeyed{("sip:u" + std::to_string(i)).c_str()}));
        index.Insert(objects.back().get());
    }
    EXPECT_EQ(index.Size(), 1000u);
    for (int i = 0; i < 1000; i += 3) ASSERT_TRUE(index.Erase(objects[static_cast<size_t>(i)].get()));
    EXPECT_FALSE(index.Erase(objects[0].get()));
    for (int i = 0; i < 1000; ++i) {
        const TKeyed* found = index.Find(("sip:u" + std::to_string(i)).c_str());
        ASSERT_EQ(found, i % 3 == 0 ? nullptr : objects[static_cast<size_t>(i)].get()) << i;
    }
    EXPECT_EQ(index.Find("sip:none"), nullptr);
    index.Clear();
    EXPECT_EQ(index.Find("sip:u1"), nullptr);
}

} // namespace
