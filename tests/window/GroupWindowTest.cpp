// The main window's tree: roots, loading groups and members, clicks, the
// context menu, tooltips, the selection report and the profile messages.
#include <fstream>

#include <QApplication>
#include <QMouseEvent>

#include "window/GroupsFixture.h"
#include "groups/Presence.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

constexpr const char* kGroup = "sip:team@groups.test";

class GroupWindowTest : public CGroupsTest {
protected:
    // A group of mine with me and two others, and a joined group with one member.
    void LoadTwoGroups()
    {
        COneGroupRecord owned(kGroup, "team", ROLE_OWNER, kMe);
        owned.Member(kMe, "Me").Member("sip:bob@ims.test", "Bob", "123").Member("sip:carol@ims.test");
        COneGroupRecord joined("sip:club@groups.test", "club", ROLE_MEMBER);
        joined.Member("sip:dave@ims.test", "Dave");
        CGroupListRecord list;
        list.Add(kGroup, "team", GROUP_PUBLIC, 0, kMe).Add("sip:club@groups.test", "club", GROUP_PUBLIC, 0, "sip:x");
        SendGroupList(list);
        SendGroup(owned);
        SendGroup(joined);
        m_host.Clear();
    }
};

TEST_F(GroupWindowTest, StartUpMakesTheRootsBoldAndBlue)
{
    QTreeWidgetItem* top = Dlg().Root(ITEM_TOP_ROOT);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(Utf8(top->text(0)), "群组管理");
    ASSERT_EQ(top->childCount(), 2);
    EXPECT_EQ(Utf8(top->child(0)->text(0)), "我创建的群组");
    EXPECT_EQ(ItemKind(top->child(1)), ITEM_JOINED_ROOT);
    EXPECT_TRUE(Tree().GetItemBold(top->child(0)));
    EXPECT_EQ(Tree().GetItemColor(top->child(0)), 0xFF0000);
    EXPECT_EQ(CTarvolanDialog::ItemImage(top), IMG_EXPANDED);
    EXPECT_TRUE(top->isExpanded() && top->child(0)->isExpanded());
    EXPECT_EQ(Dlg().Root(ITEM_BASIC_ROOT), nullptr);
    EXPECT_EQ(Dlg().m_bTestMode, 0);
}

TEST_F(GroupWindowTest, KindRootsNeedSceneSixAndTheFlag)
{
    Dlg().m_nKindRootsFlag = 1;
    Dlg().CleanUpShutDown();
    Dlg().PrepareStartUp();
    EXPECT_EQ(Dlg().Root(ITEM_BASIC_ROOT), nullptr);  // scene 0

    clientkit::SetEdition(0, 0, 0, 6);
    Dlg().CleanUpShutDown();
    Dlg().PrepareStartUp();
    ASSERT_NE(Dlg().Root(ITEM_MUTUAL_ROOT), nullptr);
    EXPECT_EQ(Utf8(Dlg().Root(ITEM_BASIC_ROOT)->text(0)), "基本群组");
    COneGroupRecord basic("sip:basic@groups.test", "basic", ROLE_MEMBER);
    basic.Member("sip:bob@ims.test");
    LoadGroup(basic, GROUP_BASIC);
    ASSERT_NE(GroupItem("sip:basic@groups.test"), nullptr);
    EXPECT_EQ(ItemKind(GroupItem("sip:basic@groups.test")), ITEM_BASIC_GROUP);
    EXPECT_EQ(ItemKind(MemberItem("sip:basic@groups.test", "sip:bob@ims.test")), ITEM_BASIC_MEMBER);
    EXPECT_EQ(MenuOf(GroupItem("sip:basic@groups.test")),
              "13054,~13056,~13058,13095,~13060,~13071,~13068,~13064,~13079,~32772,~32773");
    EXPECT_EQ(MenuOf(MemberItem("sip:basic@groups.test", "sip:bob@ims.test")),
              "~13054,~13056,~13058,~13095,~13060,~13071,~13068,~13064,~13079,~32772,~32773");
    EXPECT_EQ(MenuOf(Dlg().Root(ITEM_BASIC_ROOT)),
              "~13054,~13056,~13058,~13095,~13060,~13071,~13068,~13064,~13079,~32772,~32773");
}

TEST_F(GroupWindowTest, OtherKindsWithoutTheirRootsStayInTheDataOnly)
{
    COneGroupRecord mutual("sip:mutual@groups.test", "mutual", ROLE_MEMBER);
    mutual.Member("sip:bob@ims.test");
    LoadGroup(mutual, GROUP_MUTUAL);
    EXPECT_NE(Dlg().Data().GroupTable().Get("sip:mutual@groups.test"), nullptr);
    ASSERT_NE(Group("sip:mutual@groups.test"), nullptr);
    EXPECT_EQ(GroupItem("sip:mutual@groups.test"), nullptr);
    ASSERT_NE(Member("sip:mutual@groups.test", "sip:bob@ims.test"), nullptr);
    EXPECT_EQ(MemberItem("sip:mutual@groups.test", "sip:bob@ims.test"), nullptr);
}

// The window's part of the contact lists (the rules are tested in
// tests/groups): the "all contacts" name and the timer that forgets the names.
TEST_F(GroupWindowTest, RecentContactListNamesAreForgottenByTheTimer)
{
    CGroupListRecord list;
    list.Add("sip:l1", "colleagues", GROUP_CONTACT_LIST, 1).Add("sip:all", "whatever", GROUP_CONTACT_LIST, 4);
    SendGroupList(list);
    ASSERT_EQ(Dlg().Data().RecentListNames().GetSize(), 1);
    EXPECT_EQ(Dlg().TimerPeriod(CTarvolanDialog::kTimerRecentNames), 60000);
    EXPECT_TRUE(Dlg().Data().GroupListHas("", Gbk("所有联系人"), GROUP_CONTACT_LIST));

    Dlg().OnTimer(CTarvolanDialog::kTimerRecentNames);
    EXPECT_TRUE(Dlg().Data().RecentListNames().IsEmpty());
    EXPECT_FALSE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerRecentNames));
}

TEST_F(GroupWindowTest, ItemsShowOneSharedIconPerImageAndTakeTheControlsAttributes)
{
    LoadTwoGroups();
    QTreeWidgetItem* carol = MemberItem(kGroup, "sip:carol@ims.test");
    QTreeWidgetItem* bob = MemberItem(kGroup, "sip:bob@ims.test");
    ASSERT_NE(carol, nullptr);
    ASSERT_NE(bob, nullptr);
    EXPECT_FALSE(carol->icon(0).isNull());
    EXPECT_EQ(carol->icon(0).cacheKey(), bob->icon(0).cacheKey());
    EXPECT_NE(carol->icon(0).cacheKey(), GroupItem(kGroup)->icon(0).cacheKey());

    Tree().SetItemColor(carol, 0x0000FF);
    Tree().SetItemBold(carol, true);
    EXPECT_EQ(Tree().GetItemColor(carol), 0x0000FF);
    EXPECT_TRUE(Tree().GetItemBold(carol));
    Tree().SetItemColor(carol, CTreeCtrlEx::kDefaultColor);
    EXPECT_EQ(Tree().GetItemColor(carol), CTreeCtrlEx::kDefaultColor);
    EXPECT_EQ(Tree().GetItemColor(bob), 0);

    const qint64 before = carol->icon(0).cacheKey();
    Dlg().Membership().ApplyPresence(kGroup, "sip:carol@ims.test", 2, "busy");
    EXPECT_EQ(CTarvolanDialog::ItemImage(carol), IMG_BUSY);
    EXPECT_NE(carol->icon(0).cacheKey(), before);
}

TEST_F(GroupWindowTest, AGroupLoadsIntoTablesAndTreeAndIsSubscribedOnce)
{
    LoadTwoGroups();
    ASSERT_NE(GroupItem(kGroup), nullptr);
    EXPECT_EQ(GroupItem(kGroup)->parent(), Dlg().Root(ITEM_OWNED_ROOT));
    EXPECT_EQ(ItemKind(GroupItem(kGroup)), ITEM_OWNED_GROUP);
    EXPECT_EQ(ItemKind(GroupItem("sip:club@groups.test")), ITEM_JOINED_GROUP);
    EXPECT_TRUE(Tree().GetItemBold(GroupItem(kGroup)));
    EXPECT_EQ(Dlg().Data().GroupTable().Get(kGroup)->MemberCount(), 3);
    EXPECT_EQ(Group(kGroup)->MemberCount(), 3);

    QTreeWidgetItem* carol = MemberItem(kGroup, "sip:carol@ims.test");
    ASSERT_NE(carol, nullptr);
    EXPECT_EQ(Utf8(carol->text(0)), "carol");  // the user part stands in for a missing name
    EXPECT_EQ(ItemKind(carol), ITEM_OWNED_MEMBER);
    EXPECT_EQ(CTarvolanDialog::ItemImage(carol), IMG_MEMBER);
    EXPECT_EQ(Tree().GetItemColor(carol), 0);
    EXPECT_EQ(ItemKind(MemberItem("sip:club@groups.test", "sip:dave@ims.test")), ITEM_JOINED_MEMBER);
    EXPECT_TRUE(GroupItem(kGroup)->isExpanded());
    EXPECT_EQ(CTarvolanDialog::ItemImage(GroupItem(kGroup)), IMG_EXPANDED);

    COneGroupRecord again(kGroup, "team", ROLE_OWNER, kMe);
    again.Member(kMe, "Me").Member("sip:bob@ims.test", "Robert");
    SendGroup(again);
    EXPECT_EQ(m_host.Count(M_Subscribe), 0u);  // sent with the first description only
    EXPECT_EQ(Utf8(MemberItem(kGroup, "sip:bob@ims.test")->text(0)), "Robert");
    EXPECT_EQ(Member(kGroup, "sip:carol@ims.test"), nullptr);  // no longer listed
    EXPECT_EQ(GroupItem(kGroup)->childCount(), 2);
}

TEST_F(GroupWindowTest, TheSubscriptionCarriesOneTheUriAndThree)
{
    COneGroupRecord group(kGroup, "team", ROLE_MEMBER);
    LoadGroup(group);
    const auto subscriptions = m_host.Of(M_Subscribe);
    ASSERT_EQ(subscriptions.size(), 1u);
    EXPECT_EQ(subscriptions[0].ints, (std::vector<long>{1, 3}));
    EXPECT_EQ(subscriptions[0].texts, std::vector<std::string>{kGroup});
    EXPECT_NE(LogText().find("CKestDlg::After got a system group,subscribe it(URI Is sip:team@groups.test)"),
              std::string::npos);
}

TEST_F(GroupWindowTest, AnOpenPropertiesWindowIsToldToReload)
{
    class CPropertiesWindow : public CDialog {
    public:
        bool OnCommand(int id, intptr_t) override
        {
            commands.push_back(id);
            return true;
        }
        std::vector<int> commands;
    } window;
    window.setWindowTitle(QString::fromUtf8("群组属性"));
    COneGroupRecord group(kGroup, "team", ROLE_MEMBER);
    LoadGroup(group);
    EXPECT_EQ(window.commands, std::vector<int>{987656666});
}

// The group's item follows an attribute change. (The attribute rules are
// tested in tests/groups.)
TEST_F(GroupWindowTest, AttributeChangesFollowTheirMessage)
{
    LoadTwoGroups();
    Word rename[4] = {reinterpret_cast<Word>(kGroup), 0, reinterpret_cast<Word>("crew"), 0};
    Send(H_ModifyGroupSuccess, rename);
    EXPECT_EQ(Utf8(GroupItem(kGroup)->text(0)), "crew");
    Word limit[4] = {reinterpret_cast<Word>("sip:team@elsewhere"), 4, 0, 77};  // same user part
    Send(H_GroupAttributeChanged, limit);
    EXPECT_EQ(Group(kGroup)->m_nMaxMembers, 77);
}

TEST_F(GroupWindowTest, ClickRequestsTheGroupOnceAndToggles)
{
    LoadTwoGroups();
    QTreeWidgetItem* item = GroupItem(kGroup);
    ASSERT_TRUE(item->isExpanded());
    Dlg().OnTreeClick(item);
    EXPECT_EQ(Tree().currentItem(), item);
    EXPECT_FALSE(item->isExpanded());
    EXPECT_EQ(CTarvolanDialog::ItemImage(item), IMG_GROUP);
    Dlg().OnTreeClick(item);
    EXPECT_TRUE(item->isExpanded());
    EXPECT_EQ(CTarvolanDialog::ItemImage(item), IMG_EXPANDED);
    const auto requests = m_host.Of(M_RequestGroupInfo);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].texts, std::vector<std::string>{kGroup});
    EXPECT_TRUE(Dlg().Data().InfoRequestedGroups().Contains(kGroup));

    Dlg().OnTreeClick(nullptr);  // empty space
    EXPECT_EQ(Tree().currentItem(), item);
}

TEST_F(GroupWindowTest, ADoubleClickNeitherExpandsNorCollapses)
{
    LoadTwoGroups();
    m_parent.resize(300, 600);
    Dlg().MoveWindowTo(0, 0, 300, 600);
    m_parent.show();
    Dlg().show();
    QApplication::processEvents();
    QTreeWidgetItem* item = GroupItem(kGroup);
    const QPoint point = Tree().LabelRect(item).center();
    ASSERT_FALSE(point.isNull());
    auto mouse = [&](QEvent::Type type) {
        QMouseEvent event(type, point, Tree().viewport()->mapToGlobal(point), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Tree().viewport(), &event);
    };
    // The first click of the pair toggles as any click does; the double-click
    // that follows adds nothing.
    mouse(QEvent::MouseButtonPress);
    mouse(QEvent::MouseButtonRelease);
    const bool afterClick = item->isExpanded();
    EXPECT_FALSE(afterClick);
    mouse(QEvent::MouseButtonDblClick);
    mouse(QEvent::MouseButtonRelease);
    EXPECT_EQ(item->isExpanded(), afterClick);
    EXPECT_EQ(Tree().currentItem(), item);
}

TEST_F(GroupWindowTest, AnExpanderPressTogglesOnceInFullRowMode)
{
    LoadTwoGroups();
    Dlg().SetFullRowSelect(1);
    m_parent.resize(300, 600);
    Dlg().MoveWindowTo(0, 0, 300, 600);
    m_parent.show();
    Dlg().show();
    QApplication::processEvents();
    QTreeWidgetItem* item = GroupItem(kGroup);
    const QRect cell = Tree().visualItemRect(item);
    const QPoint point(cell.left() - Tree().indentation() / 2, cell.center().y());
    ASSERT_TRUE(item->isExpanded());
    QMouseEvent press(QEvent::MouseButtonPress, point, Tree().viewport()->mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Tree().viewport(), &press);
    EXPECT_FALSE(item->isExpanded());
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 1u);  // still a first use of the group
}

// Whether every item of a menu prompt is grayed.
bool AllGrayed(const std::string& menu)
{
    if (menu.empty()) return false;
    for (size_t pos = 0; pos != std::string::npos; pos = menu.find(',', pos + 1))
        if (menu[pos == 0 ? 0 : pos + 1] != '~') return false;
    return true;
}

TEST_F(GroupWindowTest, MenusOfTheRootsAndGroups)
{
    LoadTwoGroups();
    EXPECT_EQ(MenuOf(Dlg().Root(ITEM_OWNED_ROOT)), "~13054,13056,~13058,~13095,~13060,~13071,~13068,~13064,~13079,~32772,~32773");
    clientkit::SetCreateRight(0);
    EXPECT_TRUE(AllGrayed(MenuOf(Dlg().Root(ITEM_OWNED_ROOT))));
    EXPECT_TRUE(AllGrayed(MenuOf(Dlg().Root(ITEM_JOINED_ROOT))));
    EXPECT_TRUE(AllGrayed(MenuOf(Dlg().Root(ITEM_TOP_ROOT))));

    // Delete is held back on the right-click that sent the first request.
    EXPECT_EQ(MenuOf(GroupItem(kGroup)), "13054,~13056,13058,~13060,~13071,13068,~13064,~13079,~32772,~32773");
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 1u);
    EXPECT_EQ(MenuOf(GroupItem(kGroup)), "13054,~13056,13058,13060,~13071,13068,~13064,~13079,~32772,~32773");

    EXPECT_EQ(MenuOf(GroupItem("sip:club@groups.test")),
              "13054,~13056,13095,~13060,13071,~13068,~13064,~13079,~32772,~32773");
}

TEST_F(GroupWindowTest, TheChatRoomItemNeedsItsEditionAndNoFlag)
{
    LoadTwoGroups();
    clientkit::SetEdition(0, 99, 0, 0);
    EXPECT_NE(MenuOf(GroupItem(kGroup)).find(",13144"), std::string::npos);
    Dlg().Data().GroupTable().Get(kGroup)->chatRoomFlag = 1;
    EXPECT_EQ(MenuOf(GroupItem(kGroup)).find("13144"), std::string::npos);
    clientkit::SetEdition(1, 99, 0, 0);
    Dlg().Data().GroupTable().Get(kGroup)->chatRoomFlag = 0;
    EXPECT_EQ(MenuOf(GroupItem(kGroup)).find("13144"), std::string::npos);
}

TEST_F(GroupWindowTest, MenusOfMembersFollowIdentityAndPresence)
{
    LoadTwoGroups();
    EXPECT_EQ(MenuOf(MemberItem(kGroup, kMe)),
              "~13054,~13056,~13058,~13095,~13060,~13071,~13068,~13064,13079,~32772,~32773");
    EXPECT_EQ(MenuOf(MemberItem(kGroup, "sip:bob@ims.test")),
              "~13054,~13056,~13058,~13095,~13060,~13071,~13068,13064,~13079,~32772,32773");
    ASSERT_TRUE(Dlg().Membership().ApplyPresence(kGroup, "sip:bob@ims.test", PRESENCE_ONLINE, "online"));
    EXPECT_EQ(MenuOf(MemberItem(kGroup, "sip:bob@ims.test")),
              "~13054,~13056,~13058,~13095,~13060,~13071,~13068,13064,~13079,32772,~32773");
    EXPECT_EQ(MenuOf(MemberItem("sip:club@groups.test", "sip:dave@ims.test")),
              "~13054,~13056,~13058,~13095,~13060,~13071,~13068,~13064,~13079,~32772,32773");

    clientkit::SetEdition(0, 0, 1, 0);  // a direct-application client shows no menu
    EXPECT_EQ(MenuOf(MemberItem(kGroup, "sip:bob@ims.test")), "");
}

TEST_F(GroupWindowTest, TheChosenCommandGoesToTheWindow)
{
    LoadTwoGroups();
    m_driver.PushMenuChoice(13054);
    Dlg().OnTreeRightClick(GroupItem(kGroup), QPoint());
    m_driver.PushMenuChoice(13060);  // grayed on this click: not chosen
    Dlg().OnTreeRightClick(Dlg().Root(ITEM_TOP_ROOT), QPoint());
    ASSERT_EQ(m_driver.Prompts().size(), 2u);
    EXPECT_EQ(m_driver.Prompts()[0].answer, 13054);
    EXPECT_EQ(m_driver.Prompts()[1].answer, 0);
}

TEST_F(GroupWindowTest, TooltipTexts)
{
    LoadTwoGroups();
    auto tip = [&](QTreeWidgetItem* item) { return Utf8(Dlg().BuildToolTipText(item)); };
    EXPECT_EQ(tip(Dlg().Root(ITEM_OWNED_ROOT)), "===我创建的群组===");
    EXPECT_EQ(tip(Dlg().Root(ITEM_JOINED_ROOT)), "====我加入的群组====");
    EXPECT_EQ(tip(Dlg().Root(ITEM_TOP_ROOT)), "====群组====");
    EXPECT_EQ(tip(nullptr), "====群组====");
    EXPECT_EQ(tip(GroupItem(kGroup)), "===我创建的群组===\n群组名:team");
    EXPECT_EQ(tip(GroupItem("sip:club@groups.test")), "====我加入的群组====\n群组名:club");
    EXPECT_EQ(tip(MemberItem(kGroup, "sip:bob@ims.test")),
              "===我创建的群组===\n成员名:Bob\n成员帐号:bob@ims.test\n成员业务号码:123");
    EXPECT_EQ(tip(MemberItem("sip:club@groups.test", "sip:dave@ims.test")),
              "====我加入的群组====\n成员名:Dave\n成员帐号:dave@ims.test\n成员业务号码:");
}

TEST_F(GroupWindowTest, SelectionReportCarriesTheMemberAndItsProfile)
{
    tarvolan::TMemberProfile mine{};
    mine.block2[12] = "my note";
    clientkit::SetMyProfile(mine);
    LoadTwoGroups();
    Tree().setCurrentItem(MemberItem(kGroup, kMe));
    auto reports = m_host.Of(M_SelectionReport);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].texts[0], kMe);
    EXPECT_EQ(reports[0].ints[0], ITEM_OWNED_MEMBER);
    const auto* profile = static_cast<const tarvolan::TMemberProfile*>(reports[0].ptrs[0]);
    ASSERT_NE(profile, nullptr);
    EXPECT_STREQ(profile->block2[12], "my note");

    Tree().setCurrentItem(MemberItem(kGroup, "sip:bob@ims.test"));  // not me: nothing of mine
    reports = m_host.Of(M_SelectionReport);
    EXPECT_STREQ(static_cast<const tarvolan::TMemberProfile*>(reports[1].ptrs[0])->block2[12], "");
    Tree().setCurrentItem(GroupItem(kGroup));
    reports = m_host.Of(M_SelectionReport);
    EXPECT_EQ(reports[2].texts[0], "");
    EXPECT_EQ(reports[2].ptrs[0], nullptr);
}

// The host waits for the selection report after every profile update, even
// one that matches nobody. (The profile rules are tested in tests/groups.)
TEST_F(GroupWindowTest, ProfileUpdatesReportTheSelection)
{
    LoadTwoGroups();
    Tree().setCurrentItem(GroupItem(kGroup));
    m_host.Clear();
    tarvolan::TMemberProfile update{};
    update.ids[1] = "sip:Bob@IMS.test";
    Send(H_MemberProfile, &update);
    tarvolan::TMemberProfile noKey{};
    Send(H_MemberProfile, &noKey);
    EXPECT_EQ(m_host.Count(M_SelectionReport), 2u);
}

TEST_F(GroupWindowTest, RebuildFromTheTableAddsMissingMemberItems)
{
    LoadTwoGroups();
    TMemberSlot erin;
    erin.uri = "sip:erin@ims.test";
    ASSERT_TRUE(Dlg().Data().GroupTable().Get(kGroup)->AddMember(erin));
    Send(H_RebuildMembers, nullptr);
    ASSERT_NE(MemberItem(kGroup, "sip:erin@ims.test"), nullptr);
    EXPECT_EQ(GroupItem(kGroup)->childCount(), 4);
}

TEST_F(GroupWindowTest, PresenceShowsOnTheItemAndWaitsForMembersNotYetThere)
{
    LoadTwoGroups();
    EXPECT_TRUE(Dlg().Membership().ApplyPresence(kGroup, "sip:bob@ims.test", PRESENCE_CUSTOM, "at lunch"));
    QTreeWidgetItem* bob = MemberItem(kGroup, "sip:bob@ims.test");
    EXPECT_EQ(Utf8(bob->text(0)), "Bob(at lunch)");
    EXPECT_EQ(CTarvolanDialog::ItemImage(bob), IMG_CUSTOM);
    EXPECT_FALSE(Dlg().Membership().ApplyPresence(kGroup, "sip:nobody", PRESENCE_ONLINE, "online"));

    Dlg().Data().TreeModel().CachePresence(kGroup, "sip:late@ims.test", {PRESENCE_BUSY, PRESENCE_BUSY, "busy"});
    TMemberSlot late;
    late.uri = "sip:late@ims.test";
    Dlg().AddOrUpdateMemberItem(kGroup, late);
    EXPECT_EQ(CTarvolanDialog::ItemImage(MemberItem(kGroup, "sip:late@ims.test")), IMG_BUSY);
    EXPECT_EQ(Dlg().Data().TreeModel().CachedPresenceCount(), 0u);
}

TEST_F(GroupWindowTest, MyOwnMemberShowsMyStatus)
{
    clientkit::SetStatus(STATUS_BUSY, "");
    LoadTwoGroups();
    EXPECT_EQ(CTarvolanDialog::ItemImage(MemberItem(kGroup, kMe)), IMG_BUSY);
}

TEST_F(GroupWindowTest, RemovingAGroupInTheMiddleKeepsTheOthers)
{
    LoadTwoGroups();
    COneGroupRecord third("sip:third@groups.test", "third", ROLE_MEMBER);
    LoadGroup(third);
    ASSERT_EQ(Dlg().Data().GroupList().FindPublicByURI("sip:third@groups.test"), 3);
    Tree().setCurrentItem(MemberItem(kGroup, "sip:bob@ims.test"));
    Dlg().Data().RemoveGroup(kGroup);
    EXPECT_EQ(Dlg().Data().GroupList().FindPublicByURI("sip:third@groups.test"), 1);
    EXPECT_EQ(Group(kGroup), nullptr);
    EXPECT_EQ(Dlg().Root(ITEM_OWNED_ROOT)->childCount(), 0);
    EXPECT_EQ(Dlg().Root(ITEM_JOINED_ROOT)->childCount(), 2);
    EXPECT_FALSE(Dlg().Data().SubscribedGroups().Contains(kGroup));
}

TEST_F(GroupWindowTest, TimersAndHostSettings)
{
    Word fullRow = 1;
    Send(H_FullRowSelect, &fullRow);
    EXPECT_TRUE(Tree().GetFullRowSelect());
    Send(H_SignedIn, nullptr);
    EXPECT_EQ(Dlg().TimerPeriod(CTarvolanDialog::kTimerReplay), 30000);
    Dlg().OnTimer(CTarvolanDialog::kTimerReplay);
    EXPECT_FALSE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerReplay));
}

TEST_F(GroupWindowTest, TestModeComesFromTheIniFile)
{
    std::ofstream(m_dir.filePath("Velora.ini").toStdString()) << "[Test]\ntest=2\n";
    m_module->Init();
    EXPECT_EQ(Dlg().m_bTestMode, 1);
}

TEST_F(GroupWindowTest, ShutDownEmptiesTheTreeTheModelAndThePendingLists)
{
    LoadTwoGroups();
    Dlg().Data().InvitesPending().push_back({"bob", "team"});
    Dlg().Data().PendingCreates().push_back({});
    Dlg().CleanUpShutDown();
    EXPECT_EQ(Tree().topLevelItemCount(), 0);
    EXPECT_TRUE(Dlg().Data().TreeModel().Groups().empty());
    EXPECT_TRUE(Dlg().Data().InvitesPending().empty() && Dlg().Data().PendingCreates().empty());
    EXPECT_EQ(Dlg().Root(ITEM_TOP_ROOT), nullptr);
    Dlg().PrepareStartUp();  // the tables are still there: the tree comes back
    Dlg().RebuildGroupItems();
    ASSERT_NE(GroupItem(kGroup), nullptr);
    EXPECT_EQ(GroupItem(kGroup)->childCount(), 3);
}

} // namespace
} // namespace groups_testing

TEST(MemberImageTest, PresenceSelectsTheTreeImage)
{
    EXPECT_EQ(MemberImage(6, PRESENCE_ONLINE), IMG_MEMBER);
    EXPECT_EQ(MemberImage(PRESENCE_ONLINE, PRESENCE_ONLINE), IMG_ONLINE);
    EXPECT_EQ(MemberImage(PRESENCE_OFFLINE, PRESENCE_OFFLINE), IMG_OFFLINE);
    EXPECT_EQ(MemberImage(PRESENCE_CUSTOM, PRESENCE_CUSTOM), IMG_CUSTOM);
    EXPECT_EQ(MemberImage(PRESENCE_REPAST, PRESENCE_REPAST), IMG_REPAST);
    EXPECT_EQ(MemberImage(42, 42), IMG_MEMBER);
}
