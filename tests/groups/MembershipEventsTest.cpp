// Membership notifications (1010), deleted groups (1020), my removal from a
// group (1021) and member presence (1028, 1035).
#include <QCoreApplication>

#include "groups/EventRecords.h"
#include "groups/Presence.h"

namespace groups_testing {
namespace {

class MembershipEventsTest : public CEventsTest {
protected:
    void Notify(int type, const char* group, const char* owner, const char* member, const char* display,
                const char* info = "Forward", const char* phone = "")
    {
        CWordRecord record;
        record.Int(type).Text(group).Text(owner).Text(member).Text(display).Text(info).Text(phone);
        Send(H_MemberNotify, record.get());
    }
    void Presence(const char* group, const char* member, const char* presence, int code = H_MemberPresence)
    {
        CWordRecord record;
        record.Text(group).Text(member).Text(presence).Int(0);
        Send(code, record.get());
    }
};

// A conversation window that counts what the group model tells it.
class CCountingChat : public CGroupChatWindow {
public:
    explicit CCountingChat(int* updates) : m_updates(updates) {}
    void FillMemberTree() override {}
    void UpdateMemberItem(CTarvolanMember*) override { ++*m_updates; }

private:
    int* m_updates;
};

// ---- 1010 -------------------------------------------------------------------------------

TEST_F(MembershipEventsTest, JoinedAndLeftMembersFollowInTableAndTree)
{
    Notify(1, "Club", kOwner, "sip:fay@ims.test", "Fay", "Forward", "5551");
    const CGroupRecord* record = Record(kClub);
    ASSERT_EQ(record->MemberCount(), 3);
    EXPECT_EQ(record->Member(2).phone, "5551");
    QTreeWidgetItem* item = MemberItem(kClub, "sip:fay@ims.test");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(Utf8(item->text(0)), "Fay");
    EXPECT_EQ(item->parent(), GroupItem(kClub));

    Notify(3, "Club", kOwner, "sip:owner@ims.test", "");
    EXPECT_EQ(record->MemberCount(), 2);
    EXPECT_EQ(record->FindMember(kOwner), -1);
    EXPECT_EQ(Member(kClub, kOwner), nullptr);
    EXPECT_EQ(GroupItem(kClub)->childCount(), 2);
    EXPECT_NE(LogText().find("OnIMSPublicGroupMemberNotifyVeloractrl1:iType=3, pGroupName=Club,pOwnerURI="
                             "sip:owner@ims.test,pMemberURI=sip:owner@ims.test,pMemberDisplay=,pMemberInfo=Forward,"
                             "pMemberPhone="),
              std::string::npos);
}

TEST_F(MembershipEventsTest, JoinedNoticeForAListedMemberChangesOnlyThePhone)
{
    Notify(1, "Mine", kMe, kBob, "Robert", "Defend", "5552");
    const CGroupRecord* record = Record(kMine);
    EXPECT_EQ(record->MemberCount(), 2);
    const TMemberSlot& bob = record->Member(record->FindMember(kBob));
    EXPECT_EQ(bob.displayName, "Bob");
    EXPECT_EQ(bob.phone, "5552");
    EXPECT_EQ(Utf8(MemberItem(kMine, kBob)->text(0)), "Bob");
}

TEST_F(MembershipEventsTest, ChangedNoticeUpdatesOnlyListedMembers)
{
    Notify(2, "Mine", kMe, "sip:ghost@ims.test", "Ghost");
    EXPECT_EQ(Record(kMine)->MemberCount(), 2);
    EXPECT_EQ(Member(kMine, "sip:ghost@ims.test"), nullptr);

    Notify(2, "Mine", kMe, kBob, "Robert", "Defend", "5553");
    const TMemberSlot& bob = Record(kMine)->Member(Record(kMine)->FindMember(kBob));
    EXPECT_EQ(bob.displayName, "Robert");
    EXPECT_EQ(bob.info, "Defend");
    EXPECT_EQ(Utf8(MemberItem(kMine, kBob)->text(0)), "Robert");
}

TEST_F(MembershipEventsTest, NoticesThatMatchNoListedGroupChangeNothing)
{
    Notify(1, "Club", "sip:someone-else@ims.test", "sip:fay@ims.test", "Fay");  // owner differs
    Notify(1, "Nowhere", kOwner, "sip:fay@ims.test", "Fay");
    Notify(7, "Club", kOwner, "sip:fay@ims.test", "Fay");
    Notify(1, "Club", kOwner, "", "Nobody");
    EXPECT_EQ(Record(kClub)->MemberCount(), 2);
    EXPECT_EQ(GroupItem(kClub)->childCount(), 2);
}

TEST_F(MembershipEventsTest, FullGroupTakesNoFurtherMember)
{
    COneGroupRecord big("sip:big@groups.test", "Big", ROLE_MEMBER, kOwner);
    for (int i = 0; i < 300; ++i) big.Member(("sip:m" + std::to_string(i) + "@ims.test").c_str());
    LoadGroup(big);
    Notify(1, "Big", kOwner, "sip:late@ims.test", "Late");
    EXPECT_EQ(Record("sip:big@groups.test")->MemberCount(), 300);
    EXPECT_EQ(Member("sip:big@groups.test", "sip:late@ims.test"), nullptr);
}

// ---- 1020 -------------------------------------------------------------------------------

TEST_F(MembershipEventsTest, DeletedGroupLeavesEverythingWithANotice)
{
    CWordRecord deleted;
    deleted.Text(kClub);
    Send(H_GroupDeleted, deleted.get());
    const TPrompt prompt = OnlyPrompt();
    EXPECT_EQ(Utf8(prompt.text), "群组[Club]已被管理员删除!");
    EXPECT_EQ(prompt.flags, MB_ICONINFORMATION);
    EXPECT_EQ(Group(kClub), nullptr);
    EXPECT_EQ(Record(kClub), nullptr);
    EXPECT_LT(Dlg().m_GroupList.FindByURI(kClub), 0);
    EXPECT_EQ(Dlg().Root(ITEM_JOINED_ROOT)->childCount(), 0);
    EXPECT_NE(GroupItem(kMine), nullptr);
}

TEST_F(MembershipEventsTest, DeletedUnknownGroupIsNamedByItsURI)
{
    CWordRecord deleted;
    deleted.Text("sip:gone@groups.test");
    Send(H_GroupDeleted, deleted.get());
    EXPECT_EQ(Utf8(OnlyPrompt().text), "群组[sip:gone@groups.test]已被管理员删除!");
    EXPECT_EQ(Dlg().m_GroupTable.Count(), 2);
}

// ---- 1021 -------------------------------------------------------------------------------

TEST_F(MembershipEventsTest, RemovalNoticeComesAfterTheGroupLeftTheTree)
{
    CWordRecord removed;
    removed.Text(kClub);
    Send(H_DeletedFromGroup, removed.get());
    EXPECT_TRUE(m_driver.Prompts().empty());  // posted, not shown yet
    EXPECT_EQ(Group(kClub), nullptr);
    bool groupGoneWhenShown = false;
    m_driver.onPrompt = [&](const TPrompt&) { groupGoneWhenShown = Group(kClub) == nullptr; };
    SetResourceBundle(nullptr);  // the command comes from the event loop
    QCoreApplication::sendPostedEvents();
    const TPrompt prompt = OnlyPrompt();
    EXPECT_EQ(Utf8(prompt.text), "您已经退出群组Club!");
    EXPECT_EQ(prompt.flags, MB_ICONINFORMATION);
    EXPECT_TRUE(groupGoneWhenShown);
}

TEST_F(MembershipEventsTest, RemovalFromAnUnknownGroupNamesItsUserPart)
{
    CWordRecord removed;
    removed.Text("sip:lost@groups.test");
    Send(H_DeletedFromGroup, removed.get());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(Utf8(OnlyPrompt().text), "您已经退出群组lost!");
    EXPECT_NE(LogText().find("Protected Log: Exited from the public group lost"), std::string::npos);
}

TEST_F(MembershipEventsTest, RemovalWhileSignedOutChangesNothing)
{
    clientkit::SetSignInState(1, 0, 1);
    CWordRecord removed;
    removed.Text(kClub);
    Send(H_DeletedFromGroup, removed.get());
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_NE(Group(kClub), nullptr);
    EXPECT_NE(LogText().find("OnIMSDeleteMeInPublicGroupVeloractrl1, pGroupURI=sip:club@groups.test"),
              std::string::npos);
}

// ---- 1028, 1035 -------------------------------------------------------------------------

TEST_F(MembershipEventsTest, PresenceChangesTheMemberImageAndTellsTheConversation)
{
    int updates = 0;
    Group(kMine)->m_pChatDialog = new CCountingChat(&updates);  // owned by the group
    Presence(kMine, kBob, "busy");
    CTarvolanMember* bob = Member(kMine, kBob);
    EXPECT_EQ(bob->m_nStatus, PRESENCE_BUSY);
    EXPECT_EQ(CTarvolanDialog::ItemImage(bob->m_hTreeItem), IMG_BUSY);
    EXPECT_EQ(updates, 1);

    Presence(kMine, kBob, "ONLINE", H_MemberPresence2);
    EXPECT_EQ(bob->m_nStatus, PRESENCE_ONLINE);
    Presence(kMine, kBob, "reading");
    EXPECT_EQ(bob->m_nStatus, PRESENCE_CUSTOM);
    EXPECT_EQ(Utf8(bob->m_hTreeItem->text(0)), "Bob(reading)");
    Presence(kMine, kBob, "");
    EXPECT_EQ(bob->m_nStatus, PRESENCE_OFFLINE);
    EXPECT_EQ(updates, 4);
    EXPECT_TRUE(m_host.sent.empty());  // no log line to the host either
}

TEST_F(MembershipEventsTest, PresenceOfAnUnknownMemberWaitsForTheMember)
{
    Presence(kClub, "sip:fay@ims.test", "away");
    EXPECT_EQ(Dlg().m_TreeModel.CachedPresenceCount(), 1u);
    Notify(1, "Club", kOwner, "sip:fay@ims.test", "Fay");
    CTarvolanMember* fay = Member(kClub, "sip:fay@ims.test");
    ASSERT_NE(fay, nullptr);
    EXPECT_EQ(fay->m_nStatus, PRESENCE_AWAY);
    EXPECT_EQ(CTarvolanDialog::ItemImage(fay->m_hTreeItem), IMG_AWAY);
    EXPECT_EQ(Dlg().m_TreeModel.CachedPresenceCount(), 0u);
}

TEST_F(MembershipEventsTest, MyOwnPresenceChangeIsIgnored)
{
    const int before = Member(kMine, kMe)->m_nStatus;
    Presence(kMine, kMe, "busy");
    Presence(kMine, "", "busy");
    EXPECT_EQ(Member(kMine, kMe)->m_nStatus, before);
    EXPECT_EQ(Dlg().m_TreeModel.CachedPresenceCount(), 0u);
}

} // namespace
} // namespace groups_testing
