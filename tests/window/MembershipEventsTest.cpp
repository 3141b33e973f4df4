// What the tree, the notices and a conversation window show of membership
// notices (1010), deleted groups (1020), my removal from a group (1021) and
// member presence (1028, 1035). The rules themselves are tested in
// tests/groups.
#include <QCoreApplication>

#include "window/EventRecords.h"
#include "groups/Presence.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

class MembershipEventsTest : public CEventsTest {
protected:
    void Notify(int type, const char* group, const char* owner, const char* member, const char* display,
                const char* info = "Forward", const char* phone = "")
    {
        Word record[] = {static_cast<Word>(type), W(group), W(owner), W(member), W(display), W(info), W(phone)};
        Send(H_MemberNotify, record);
    }
    void Presence(const char* group, const char* member, const char* presence, int code = H_MemberPresence)
    {
        Word record[] = {W(group), W(member), W(presence), 0};
        Send(code, record);
    }
};

// A conversation window that counts the member updates and the refills of
// its member list it is told about.
struct CCountingChat : CGroupChatWindow {
    int* updates;
    int* fills;
    explicit CCountingChat(int* count, int* fillCount = nullptr) : updates(count), fills(fillCount) {}
    void FillMemberTree() override
    {
        if (fills) ++*fills;
    }
    void UpdateMemberItem(CTarvolanMember*) override { ++*updates; }
    void LoadRecentMessage() override {}
};

// A group listed again without most of its members: its open conversation
// window refills its member list once, not once per member gone (a full
// group replaced would rebuild a list of 300 members 300 times).
TEST_F(MembershipEventsTest, MembersGoneTogetherRefillTheWindowOnce)
{
    int updates = 0, fills = 0;
    Group(kMine)->m_pChatDialog = new CCountingChat(&updates, &fills);  // owned by the group
    COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe);
    mine.Member("sip:eve@ims.test", "Eve");
    SendGroup(mine);
    EXPECT_EQ(Member(kMine, kBob), nullptr);
    EXPECT_EQ(Member(kMine, kMe), nullptr);
    EXPECT_NE(Member(kMine, "sip:eve@ims.test"), nullptr);
    EXPECT_EQ(fills, 1);
    Notify(3, "Mine", kMe, "sip:eve@ims.test", "");  // one member leaving: one refill
    EXPECT_EQ(fills, 2);
    SendGroup(mine);  // no member gone: no refill
    EXPECT_EQ(fills, 2);
}

TEST_F(MembershipEventsTest, MemberNoticesFollowInTree)
{
    Notify(1, "Club", kOwner, "sip:fay@ims.test", "Fay", "Forward", "5551");
    EXPECT_EQ(Utf8(MemberItem(kClub, "sip:fay@ims.test")->text(0)), "Fay");
    Notify(2, "Mine", kMe, kBob, "Robert", "Defend", "5553");
    EXPECT_EQ(Utf8(MemberItem(kMine, kBob)->text(0)), "Robert");
    Notify(3, "Club", kOwner, kOwner, "");
    EXPECT_EQ(GroupItem(kClub)->childCount(), 2);
}

TEST_F(MembershipEventsTest, DeletedGroupGoesWithANotice)
{
    Word deleted[] = {W(kClub)}, unknown[] = {W("sip:gone@groups.test")};
    Send(H_GroupDeleted, deleted);
    Send(H_GroupDeleted, unknown);
    EXPECT_EQ(PromptText(0), "群组[Club]已被管理员删除!");
    EXPECT_EQ(PromptText(1), "群组[sip:gone@groups.test]已被管理员删除!");
    EXPECT_EQ(m_driver.Prompts()[0].flags, MB_ICONINFORMATION);
    EXPECT_EQ(Dlg().Root(ITEM_JOINED_ROOT)->childCount(), 0);
    EXPECT_NE(GroupItem(kMine), nullptr);
}

TEST_F(MembershipEventsTest, RemovalNoticeComesOnceTheGroupHasLeft)
{
    Word removed[] = {W(kClub)}, unknown[] = {W("sip:lost@groups.test")};
    clientkit::SetSignInState(1, 0, 1);  // logging out: nothing changes
    Send(H_DeletedFromGroup, removed);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PromptCount(), 0u);

    clientkit::SetSignInState(1, 0, 0);
    Send(H_DeletedFromGroup, removed);
    EXPECT_EQ(PromptCount(), 0u);  // posted to the window
    EXPECT_EQ(Group(kClub), nullptr);
    SetResourceBundle(nullptr);    // the command comes from the event loop
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PromptText(0), "您已经退出群组Club!");

    SetResourceBundle(TarvolanResources());
    Send(H_DeletedFromGroup, unknown);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PromptText(1), "您已经退出群组lost!");
}

// Two removals before the posted commands run: each notice once, for its
// own group, in order; a command that no removal posted shows nothing.
TEST_F(MembershipEventsTest, RemovalNoticesQueueUpInOrder)
{
    Word mine[] = {W(kMine)}, club[] = {W(kClub)};
    Send(H_DeletedFromGroup, mine);
    Send(H_DeletedFromGroup, club);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(PromptCount(), 2u);
    EXPECT_EQ(PromptText(0), "您已经退出群组Mine!");
    EXPECT_EQ(PromptText(1), "您已经退出群组Club!");
    Dlg().OnCommand(CTarvolanDialog::kDeferredNoticeCommand, 0);
    EXPECT_EQ(PromptCount(), 2u);
}

TEST_F(MembershipEventsTest, PresenceOfMembers)
{
    int updates = 0;
    Group(kMine)->m_pChatDialog = new CCountingChat(&updates);  // owned by the group
    Presence(kMine, kBob, "busy");
    CTarvolanMember* bob = Member(kMine, kBob);
    EXPECT_EQ(CTarvolanDialog::ItemImage(MemberItem(kMine, kBob)), IMG_BUSY);
    Presence(kMine, kBob, "ONLINE", H_MemberPresence2);
    EXPECT_EQ(bob->m_nStatus, PRESENCE_ONLINE);
    Presence(kMine, kBob, "reading");
    EXPECT_EQ(Utf8(MemberItem(kMine, kBob)->text(0)), "Bob(reading)");
    EXPECT_EQ(updates, 3);

    Presence(kClub, "sip:fay@ims.test", "away");  // no such member yet: kept for it
    Notify(1, "Club", kOwner, "sip:fay@ims.test", "Fay");
    EXPECT_EQ(CTarvolanDialog::ItemImage(MemberItem(kClub, "sip:fay@ims.test")), IMG_AWAY);
    EXPECT_EQ(Dlg().Data().TreeModel().CachedPresenceCount(), 0u);
    EXPECT_TRUE(m_host.sent.empty());
}

} // namespace
} // namespace groups_testing
