// The rules of host events applied to the group data without a window: what
// they store, what they log and which changes they report.
#include "RulesFixture.h"
#include "groups/AttributeRules.h"
#include "groups/BlacklistRules.h"
#include "groups/HistoryRules.h"
#include "groups/MembershipRules.h"
#include "groups/Presence.h"
#include "groups/ProfileRules.h"

using namespace tarvolan;

namespace {

using namespace tarvolan::rulestest;

THistoryEntry Entry(const char* id, const char* sender, const char* time, const char* text)
{
    THistoryEntry entry{};
    Put(entry.senderText, id);
    Put(entry.senderURI, sender);
    Put(entry.time, time);
    entry.text = text;
    return entry;
}

std::vector<THistoryEntry> Entries(int first, int count)
{
    std::vector<THistoryEntry> list;
    for (int i = 0; i < count; ++i)
        list.push_back(Entry(std::to_string(first + i).c_str(), kBob, "Thu, 05 Nov 2009 10:00:01 GMT", "text"));
    return list;
}

class GroupRulesTest : public CRulesFixture {
protected:
    void History(int code, int type, const char* uri, std::vector<THistoryEntry> list)
    {
        m_history.OnHistoryList(code, type, uri, static_cast<int>(list.size()), list.empty() ? nullptr : list.data());
    }
    CHistoryRules m_history{m_data, m_host, m_changes};
    CMembershipRules m_membership{m_data, m_host, m_changes};
    CBlacklistRules m_blacklist{m_data, m_host, m_link};
    CProfileRules m_profiles{m_data, m_host};
    CAttributeRules m_attributes{m_data, m_host, m_link, m_changes};
};

TEST_F(GroupRulesTest, RecentMessagesAndPagesAreStoredAndReported)
{
    CTarvolan* club = Group(kClub);
    History(200, 1, kClub, {Entry("7", kBob, "Thu, 05 Nov 2009 10:00:01 GMT", "<property ></property>hi"),
                            Entry("8", kMe, "not a date", nullptr)});
    ASSERT_EQ(club->m_MsgListRecent.size(), 2u);
    EXPECT_TRUE(club->m_bRecentLoaded);
    EXPECT_EQ(club->m_MsgListRecent.front().time, "2009-11-05 18:00:01");
    EXPECT_EQ(club->m_MsgListRecent.back().time, "not a date");
    EXPECT_EQ(club->m_MsgListRecent.back().body, "");
    EXPECT_TRUE(Logged("OnIMSGotGroupHistoryMsgListVeloractrl1-iCode=200 iType=1 lpGroupURI=sip:club@groups.test iListNum=2 pList="));
    EXPECT_EQ(Reported(), std::vector<int>{CHANGE_MESSAGES * 10});

    // An empty 404 answer ends the wait for recent messages; other codes do not.
    CTarvolan* mine = Group(kMine);
    History(500, 1, kMine, {});
    EXPECT_FALSE(mine->m_bRecentLoaded);
    History(404, 1, kMine, {});
    EXPECT_TRUE(mine->m_bRecentLoaded);
    EXPECT_TRUE(mine->m_MsgListRecent.empty());
    EXPECT_TRUE(Reported().empty());

    // Pages are kept only for the group whose viewer is open.
    History(200, 2, kClub, Entries(1, 3));
    EXPECT_TRUE(club->m_MsgListHistory.empty());
    m_host.viewerOf = club;
    History(200, 2, kMine, Entries(1, 3));
    EXPECT_TRUE(mine->m_MsgListHistory.empty());
    EXPECT_TRUE(Reported().empty());
    History(200, 2, kClub, Entries(1, 3));
    EXPECT_EQ(club->m_MsgListHistory.size(), 3u);
    History(404, 2, kClub, {});
    History(500, 2, kClub, {});
    EXPECT_EQ(Reported(), (std::vector<int>{CHANGE_HISTORY * 10 + DETAIL_PAGE_STORED, CHANGE_HISTORY * 10 + DETAIL_NO_PAGE}));
}

TEST_F(GroupRulesTest, HostileHistoryAnswers)
{
    History(200, 1, "sip:nobody@groups.test", Entries(1, 2));
    EXPECT_TRUE(Logged("OnIMSGotGroupHistoryMsgListVeloractrl1-pTarvolan is NULL"));
    History(200, 1, nullptr, Entries(1, 2));

    // A count above the array's limit reads no further than the limit; a
    // negative count reads nothing.
    std::vector<THistoryEntry> full = Entries(1, kMaxHistoryEntries);
    m_history.OnHistoryList(200, 1, kClub, 100000, full.data());
    EXPECT_EQ(Group(kClub)->m_MsgListRecent.size(), static_cast<size_t>(kMaxHistoryEntries));
    m_history.OnHistoryList(200, 1, kMine, -3, full.data());
    EXPECT_TRUE(Group(kMine)->m_MsgListRecent.empty());

    // Fields without their zero are read within their sizes.
    THistoryEntry unterminated;
    std::memset(&unterminated, '7', sizeof(unterminated));
    unterminated.text = "body";
    m_history.OnHistoryList(200, 1, kClub, 1, &unterminated);
    const TGroupMessage& message = Group(kClub)->m_MsgListRecent.front();
    EXPECT_EQ(message.id.GetLength(), 39);
    EXPECT_EQ(message.senderURI.GetLength(), 257);
    EXPECT_EQ(message.body, "body");
}

TEST_F(GroupRulesTest, PresenceOfMembers)
{
    CTarvolanMember* bob = m_data.TreeModel().FindMember(kMine, kBob);
    m_membership.OnMemberPresence(kMine, kBob, "busy");
    EXPECT_EQ(bob->m_nStatus, PRESENCE_BUSY);
    ASSERT_EQ(m_seen.changes.size(), 1u);
    EXPECT_EQ(m_seen.changes[0].member, bob);
    EXPECT_EQ(m_seen.changes[0].group, Group(kMine));
    // The item's text changes when a status text is shown or was shown.
    m_membership.OnMemberPresence(kMine, kBob, "reading");
    EXPECT_EQ(bob->ItemText(), "Bob(reading)");
    m_membership.OnMemberPresence(kMine, kBob, "ONLINE");
    m_membership.OnMemberPresence(kMine, kBob, "away");
    EXPECT_EQ(Reported(), (std::vector<int>{CHANGE_PRESENCE * 10, CHANGE_PRESENCE * 10 + DETAIL_TEXT_CHANGED,
                                            CHANGE_PRESENCE * 10 + DETAIL_TEXT_CHANGED, CHANGE_PRESENCE * 10}));

    // About me, or about nobody: ignored. About a member not known yet: kept for it.
    m_membership.OnMemberPresence(kMine, kMe, "away");
    m_membership.OnMemberPresence(kMine, "", "away");
    EXPECT_EQ(m_data.TreeModel().CachedPresenceCount(), 0u);
    m_membership.OnMemberPresence(kClub, "sip:fay@ims.test", "away");
    EXPECT_EQ(m_data.TreeModel().CachedPresenceCount(), 1u);
    EXPECT_FALSE(m_membership.ApplyPresence(kClub, "sip:fay@ims.test", PRESENCE_ONLINE, "online"));
    EXPECT_TRUE(Reported().empty());
    EXPECT_TRUE(m_host.log.empty());
}

TEST_F(GroupRulesTest, MemberNoticesChangeTheTable)
{
    const auto notify = [&](int type, const char* group, const char* owner, const char* member,
                            const char* display, const char* info, const char* phone) {
        m_membership.OnMemberNotify(type, group, owner, member, display, info, phone);
    };
    const auto bob = [&] { return m_data.GroupTable().Get(kMine)->Member(m_data.GroupTable().Get(kMine)->FindMember(kBob)); };
    notify(1, "Club", kOwner, "sip:fay@ims.test", "Fay", "Forward", "5551");
    notify(1, "Club", "sip:other-owner@ims.test", "sip:gus@ims.test", "Gus", "", "");  // no such group
    notify(1, "Mine", kMe, kBob, "Robert", "Defend", "5552");  // listed: the phone only
    notify(2, "Mine", kMe, "sip:ghost@ims.test", "Ghost", "", "");  // not listed: nothing
    notify(4, "Mine", kMe, kBob, "Robert", "", "");                 // no such notice
    EXPECT_EQ(m_data.GroupTable().Get(kClub)->MemberCount(), 2);
    EXPECT_EQ(bob().displayName, "Bob");
    EXPECT_EQ(bob().phone, "5552");
    EXPECT_EQ(m_data.GroupTable().Get(kMine)->MemberCount(), 1);
    notify(2, "Mine", kMe, kBob, "Robert", "Defend", "5553");
    EXPECT_EQ(bob().displayName, "Robert");
    EXPECT_EQ(bob().info, "Defend");
    EXPECT_EQ(m_seen.changes.size(), 4u);  // Fay, the phone, the ghost (a rebuild), Robert

    notify(3, "Club", kOwner, kBob, "", "Forward", "");
    EXPECT_EQ(m_data.GroupTable().Get(kClub)->FindMember(kBob), -1);
    EXPECT_EQ(m_data.TreeModel().FindMember(kClub, kBob), nullptr);
    EXPECT_EQ(m_seen.changes.back().what, CHANGE_MEMBERS);
    EXPECT_EQ(m_seen.changes.back().group, Group(kClub));
    EXPECT_TRUE(Logged("OnIMSPublicGroupMemberNotifyVeloractrl1:iType=3, pGroupName=Club,pOwnerURI=sip:owner@ims.test,"
                       "pMemberURI=sip:bob@ims.test,pMemberDisplay=,pMemberInfo=Forward,pMemberPhone="));
}

TEST_F(GroupRulesTest, GroupsGoWithTheirNotices)
{
    // 1020: the notice names the group (its URI when it is not listed), then the group goes.
    m_membership.OnGroupDeleted("sip:gone@groups.test");
    m_membership.OnGroupDeleted(kClub);
    EXPECT_EQ(Group(kClub), nullptr);
    EXPECT_EQ(m_data.GroupTable().Get(kClub), nullptr);
    EXPECT_TRUE(Logged("OnIMSPublicGroupDeletedVeloractrl1, pGroupURI=sip:club@groups.test"));
    // A window gone while its notice showed: the rule stops there.
    m_host.windowStays = false;
    m_membership.OnGroupDeleted(kMine);
    EXPECT_NE(Group(kMine), nullptr);
    m_host.windowStays = true;

    // 1021: nothing while I am not signed in; else the group goes, its notice queued first.
    m_host.signedIn = false;
    m_membership.OnRemovedFromGroup(kMine);
    EXPECT_NE(Group(kMine), nullptr);
    m_host.signedIn = true;
    m_membership.OnRemovedFromGroup(kMine);
    EXPECT_EQ(Group(kMine), nullptr);
    m_membership.OnRemovedFromGroup("sip:lost@groups.test");
    EXPECT_TRUE(Logged("Protected Log: Exited from the public group lost"));

    // 1031: 403 is my removal, 404 the deletion, other results a notice;
    // without a group named, nothing to remove.
    m_membership.OnGroupInfoFailed("sip:a@groups.test", 403);
    m_membership.OnGroupInfoFailed("sip:b@groups.test", 404);
    m_membership.OnGroupInfoFailed(nullptr, 404);
    m_membership.OnGroupInfoFailed("sip:c@groups.test", 500);
    EXPECT_TRUE(Logged("OnIMSGetPublicGroupInfoListFailedVeloractrl1....GroupURI=sip:b@groups.test,Result=404"));
    const std::string deleted = std::to_string(NOTICE_GROUP_DELETED) + ":";
    const std::string removed = std::to_string(NOTICE_REMOVED_FROM_GROUP) + ":";
    EXPECT_EQ(m_host.notices,
              (std::vector<std::string>{deleted + "sip:gone@groups.test", deleted + "Club", deleted + "Mine",
                                        removed + "Mine", removed + "lost", removed + "a",
                                        deleted + "sip:b@groups.test", std::to_string(NOTICE_FETCH_FAILED) + ":"}));
}

TEST_F(GroupRulesTest, BlacklistMessagesNeedTheBlacklistWindow)
{
    CGroupRecord& mine = *m_data.GroupTable().Get(kMine);
    mine.SetBlacklist({"sip:x@ims.test", "sip:y@ims.test", "sip:z@ims.test"});
    m_blacklist.OnEntry("sip:ivy@ims.test", kMine, 0);  // no window: nothing
    m_blacklist.OnAddResult("Mine", kBob, 200);
    EXPECT_FALSE(mine.IsBlacklisted(kBob));

    CRecordingBlacklistWindow window;
    m_host.blacklistWindow = &window;
    m_blacklist.OnEntry("sip:ivy@ims.test", kMine, 1);
    m_blacklist.OnChanged(1, "sip:kim@ims.test", "Mine", 1, 0);
    m_blacklist.OnChanged(0, "sip:kim@ims.test", "Mine", 1, 0);
    m_blacklist.OnAddResult("Mine", kBob, 408);
    m_blacklist.OnAddResult("Mine", kBob, 200);
    m_blacklist.OnAddResult("Mine", kBob, 200);  // listed once
    m_blacklist.OnAddResult("Mine", "sip:w@ims.test", 200);
    m_blacklist.OnAddResult("Club", "sip:w@ims.test", 200);  // a group I do not own: the window only
    EXPECT_EQ(mine.Blacklist(),
              (std::vector<CString>{"sip:x@ims.test", "sip:y@ims.test", "sip:z@ims.test", kBob, "sip:w@ims.test"}));
    EXPECT_TRUE(m_data.GroupTable().Get(kClub)->Blacklist().empty());
    // Bob is still a member until the removal result.
    EXPECT_EQ(m_link.sent, (std::vector<std::string>{std::to_string(M_RemoveMember) + ":" + kBob + ",Mine",
                                                     std::to_string(M_RemoveMember) + ":" + kBob + ",Mine"}));

    m_blacklist.OnRemoveResult("Mine", "sip:y@ims.test", 200);
    m_blacklist.OnRemoveResult("Mine", "sip:nobody@ims.test", 200);
    EXPECT_EQ(mine.Blacklist(), (std::vector<CString>{"sip:x@ims.test", "sip:z@ims.test", kBob, "sip:w@ims.test"}));
    EXPECT_EQ(window.told, (std::vector<std::string>{"entry sip:ivy@ims.test|sip:mine@groups.test|1",
                                                     "sip:kim@ims.test|Mine|10", "failed sip:kim@ims.test",
                                                     std::string(kBob) + "|Mine|10", std::string(kBob) + "|Mine|10",
                                                     "sip:w@ims.test|Mine|10", "sip:w@ims.test|Club|10",
                                                     "sip:y@ims.test|Mine|00", "sip:nobody@ims.test|Mine|00"}));
    EXPECT_TRUE(Logged("OnIMSDeletGroupBlacklistMemResultVeloractrl1, pGroupName=Mine,pDName=sip:y@ims.test,"
                       "iResult=200"));
}

TEST_F(GroupRulesTest, ProfileMessagesReadAndWriteTheMembersRecords)
{
    TGroupListEntry other;
    other.uri = "sip:other@groups.test";
    CTarvolan* group = m_data.TreeModel().CreateOrUpdateGroup(other);
    CTarvolanMember* otherBob = m_data.TreeModel().CreateOrUpdateMember(*group, MemberSlot("sip:BOB@ims.test", "", ""));
    CTarvolanMember* bob = m_data.TreeModel().FindMember(kMine, kBob);
    CTarvolanMember* plain = m_data.TreeModel().CreateOrUpdateMember(*group, MemberSlot("sip:m", "", ""));

    TMemberProfile update{};
    update.ids[kProfileUriIndex] = "sip:Bob@IMS.test";
    update.text1[0] = "Robert";
    m_profiles.OnProfileChanged(&update);
    EXPECT_STREQ(bob->Profile().Record()->text1[0], "Robert");
    EXPECT_STREQ(otherBob->Profile().Record()->text1[0], "Robert");

    m_profiles.SetProfileText(kBob, "likes tea");
    EXPECT_STREQ(m_profiles.ProfileText(kBob), "likes tea");
    EXPECT_STREQ(m_profiles.ProfileText("sip:BOB@ims.test"), "");  // byte-wise: the other group's member
    EXPECT_EQ(m_profiles.FindProfile("SIP:BOB@IMS.TEST"), bob->Profile().Record());
    EXPECT_EQ(m_profiles.FindProfile("sip:nobody"), nullptr);

    // Records without their key match nobody; texts without a member go nowhere.
    TMemberProfile noKey{};
    noKey.text1[0] = "x";
    m_profiles.OnProfileChanged(&noKey);  // a null key
    noKey.ids[kProfileUriIndex] = "";
    m_profiles.OnProfileChanged(&noKey);
    m_profiles.OnProfileChanged(nullptr);
    EXPECT_STREQ(bob->Profile().Record()->text1[0], "Robert");
    EXPECT_EQ(plain->ProfileIfAny(), nullptr);
    EXPECT_STREQ(m_profiles.ProfileText("sip:nobody"), "");
    m_profiles.SetProfileText(nullptr, nullptr);

    // My own record is filled from my profile while it is empty.
    m_host.myProfile.text1[0] = "Me myself";
    CTarvolanMember* me = m_data.TreeModel().CreateOrUpdateMember(*group, MemberSlot(kMe, "", ""));
    EXPECT_STREQ(m_profiles.ProfileRecord(*me)->text1[0], "Me myself");
    EXPECT_EQ(m_profiles.ProfileRecord(*bob)->text1[0], std::string("Robert"));
}

TEST_F(GroupRulesTest, AttributesGoToEveryGroupOfTheSameUserPart)
{
    const auto listed = [&](const char* uri) { return m_data.GroupList()[m_data.GroupList().FindPublicByURI(uri)]; };
    m_attributes.OnModifySucceeded(kMine, 0, "crew", 0);
    EXPECT_EQ(listed(kMine).name, "crew");
    EXPECT_EQ(m_link.logged, std::vector<std::string>{"1 OnIMSModifyPublicGroupSuccessVeloractrl1, "
                                                      "pGroupURI=sip:mine@groups.test,iType=0,pNewName=crew,iNewValue=0"});
    ASSERT_EQ(m_seen.changes.size(), 1u);
    EXPECT_EQ(m_seen.changes[0].what, CHANGE_ATTRIBUTES);
    EXPECT_EQ(m_seen.uris[0], kMine);

    // The host's change leaves the subject and bulletin alone; mine sets them.
    m_attributes.OnAttributeChanged(kMine, 5, "new subject", 0);
    EXPECT_TRUE(listed(kMine).subject.IsEmpty());
    m_attributes.OnModifySucceeded(kMine, 5, "new subject", 0);
    EXPECT_EQ(listed(kMine).subject, "new subject");
    // An empty name changes nothing; another host with the same user part is the same group.
    m_attributes.OnAttributeChanged("sip:mine@elsewhere", 0, "", 0);
    EXPECT_EQ(listed(kMine).name, "crew");
    m_attributes.OnAttributeChanged("sip:mine@elsewhere", 4, "", 77);
    EXPECT_EQ(listed(kMine).maxMembers, 77);
    EXPECT_EQ(listed(kClub).maxMembers, 0);
    EXPECT_EQ(m_seen.changes.size(), 3u);
    EXPECT_TRUE(Logged("OnPublicGroupAttributeChangedVeloractrl1, pGroupURI=sip:mine@elsewhere,iType=4,pName=,iValue=77"));
}

} // namespace
