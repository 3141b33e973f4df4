// What the tree, the notices and a conversation window show of membership
// notices (1010), deleted groups (1020), my removal from a group (1021) and
// member presence (1028, 1035). The rules themselves are tested in
// tests/groups.
#include <vector>

#include <QCoreApplication>

#include "controls/PresenceText.h"
#include "conversation/TarvolanChatDialog.h"
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

// The member items of a group's open conversation window.
std::vector<QTreeWidgetItem*> ChatMemberItems(CTarvolanChatDialog& chat)
{
    std::vector<QTreeWidgetItem*> items;
    QTreeWidgetItem* root = chat.MemberTree()->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) items.push_back(root->child(i));
    return items;
}

// A group listed again without most of its members: its open conversation
// window refills its member list once, not once per member gone (a full
// group replaced would rebuild a list of 300 members 300 times).
TEST_F(MembershipEventsTest, MembersGoneTogetherRefillTheWindowOnce)
{
    constexpr const char* kEve = "sip:eve@ims.test";
    Notify(1, "Mine", kMe, kEve, "Eve");
    CTarvolanChatDialog* chat = Dlg().ChatWindows().Open(*Group(kMine));
    ASSERT_NE(chat, nullptr);
    ASSERT_EQ(ChatMemberItems(*chat).size(), 3u);
    int fills = 0;  // a refill empties the list first
    QObject counter;
    QObject::connect(chat->MemberTree()->model(), &QAbstractItemModel::modelReset, &counter, [&] { ++fills; });

    COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe);
    mine.Member(kEve, "Eve");
    SendGroup(mine);  // Bob and I went
    EXPECT_EQ(Member(kMine, kBob), nullptr);
    EXPECT_EQ(Member(kMine, kMe), nullptr);
    ASSERT_EQ(ChatMemberItems(*chat).size(), 1u);
    EXPECT_EQ(Utf8(ChatMemberItems(*chat)[0]->text(0)), kEve);
    EXPECT_EQ(fills, 1);
    SendGroup(mine);  // no member gone: no refill
    EXPECT_EQ(fills, 1);
    Notify(3, "Mine", kMe, kEve, "");  // one member leaving: one refill
    EXPECT_EQ(fills, 2);
    EXPECT_TRUE(ChatMemberItems(*chat).empty());
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
    // The group's conversation window shows each presence on Bob's item too.
    CTarvolanChatDialog* chat = Dlg().ChatWindows().Open(*Group(kMine));
    ASSERT_NE(chat, nullptr);
    m_host.Clear();
    const CTarvolanMember* bob = Member(kMine, kBob);
    auto inChat = [&] { return ChatMemberItems(*chat).at(1)->data(0, Qt::AccessibleDescriptionRole).toString(); };
    std::vector<QString> shown;
    Presence(kMine, kBob, "busy");
    EXPECT_EQ(CTarvolanDialog::ItemImage(MemberItem(kMine, kBob)), IMG_BUSY);
    shown.push_back(inChat());
    EXPECT_EQ(shown.back(), PresenceInWords(*bob));
    Presence(kMine, kBob, "ONLINE", H_MemberPresence2);
    EXPECT_EQ(bob->m_nStatus, PRESENCE_ONLINE);
    shown.push_back(inChat());
    EXPECT_EQ(shown.back(), PresenceInWords(*bob));
    Presence(kMine, kBob, "reading");
    EXPECT_EQ(Utf8(MemberItem(kMine, kBob)->text(0)), "Bob(reading)");
    shown.push_back(inChat());
    EXPECT_EQ(shown.back(), PresenceInWords(*bob));
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_NE(shown[1], shown[2]);

    Presence(kClub, "sip:fay@ims.test", "away");  // no such member yet: kept for it
    Notify(1, "Club", kOwner, "sip:fay@ims.test", "Fay");
    EXPECT_EQ(CTarvolanDialog::ItemImage(MemberItem(kClub, "sip:fay@ims.test")), IMG_AWAY);
    EXPECT_EQ(Dlg().Data().TreeModel().CachedPresenceCount(), 0u);
    EXPECT_TRUE(m_host.sent.empty());
}

} // namespace
} // namespace groups_testing
