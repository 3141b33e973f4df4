// The main window's registry of conversation windows: one window per group,
// made only when it can be, forgotten when the user closes it, and closed
// while its group still exists on every way a group leaves the tree model
// and at shut-down.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QPointer>

#include "conversation/ChatWindows.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanChatDialog.h"
#include "window/EventRecords.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

class ChatWindowsTest : public CEventsTest {
protected:
    CChatWindows& Chats() { return Dlg().ChatWindows(); }

    // Records, when the window is deleted, whether its group was still in the
    // tree model at that moment.
    void WatchDeletion(CTarvolanChatDialog* chat, const char* groupURI, bool* groupThere)
    {
        CGroupTreeModel* model = &Dlg().Data().TreeModel();
        const CString uri(groupURI);
        QObject::connect(chat, &QObject::destroyed, [model, uri, groupThere] {
            *groupThere = model->FindGroup(uri) != nullptr;
        });
    }
};

// A registry whose windows are made from their template and then refused.
class CRefusingChatWindows : public CChatWindows {
public:
    using CChatWindows::CChatWindows;
    QPointer<CTarvolanChatDialog> refused;

protected:
    bool Create(CTarvolanChatDialog& chat) override
    {
        refused = &chat;
        CChatWindows::Create(chat);
        return false;
    }
};

TEST_F(ChatWindowsTest, OpeningAgainGivesTheSameWindowAndEachGroupItsOwn)
{
    CTarvolanChatDialog* mine = Chats().Open(*Group(kMine));
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(Chats().Open(*Group(kMine)), mine);
    CTarvolanChatDialog* club = Chats().Open(*Group(kClub));
    ASSERT_NE(club, nullptr);
    EXPECT_NE(club, mine);
    EXPECT_EQ(Chats().Count(), 2u);
    EXPECT_EQ(Chats().Find(*Group(kMine)), mine);
    EXPECT_EQ(club->m_pTarvolan, Group(kClub));
    EXPECT_TRUE(mine->isVisible() && club->isVisible());
    // Each new window opens a step down and right of the last one.
    EXPECT_EQ(club->pos() - mine->pos(), QPoint(28, 28));
    // Only a new window asks for its group's recent messages.
    EXPECT_EQ(m_host.Count(M_Subscribe), 2u);
}

TEST_F(ChatWindowsTest, AWindowThatCannotBeMadeLeavesNothing)
{
    CTarvolan* mine = Group(kMine);
    mine->m_pDraft = std::make_unique<CChatDraft>();
    CRefusingChatWindows chats(Dlg().Link());
    EXPECT_EQ(chats.Open(*mine), nullptr);
    EXPECT_FALSE(chats.refused);  // deleted
    EXPECT_EQ(chats.Count(), 0u);
    EXPECT_EQ(chats.Find(*mine), nullptr);
    EXPECT_NE(mine->m_pDraft, nullptr);  // still the group's
    EXPECT_EQ(m_host.Count(M_Subscribe), 0u);
}

// Escape or the close button: the group keeps the input as its draft and
// the registry forgets the window at once, though its deletion waits for the
// event loop; a group going meanwhile leaves the window alone.
TEST_F(ChatWindowsTest, ClosedByTheUserTheWindowIsForgottenAndTheDraftKept)
{
    CTarvolan* mine = Group(kMine);
    QPointer<CTarvolanChatDialog> chat = Chats().Open(*mine);
    ASSERT_TRUE(chat);
    chat->Input()->ReplaceSel("unsent");
    chat->OnCancel();
    EXPECT_EQ(Chats().Find(*mine), nullptr);
    EXPECT_EQ(Chats().Count(), 0u);
    EXPECT_NE(mine->m_pDraft, nullptr);
    ASSERT_TRUE(chat);
    EXPECT_EQ(chat->m_pTarvolan, nullptr);

    Word deleted[] = {W(kMine)};
    Send(H_GroupDeleted, deleted);
    EXPECT_TRUE(chat);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(chat);
}

// My role in a group changed: its item moves to the other root, and its
// window stays open.
TEST_F(ChatWindowsTest, AGroupMovingToAnotherRootKeepsItsWindow)
{
    QPointer<CTarvolanChatDialog> chat = Chats().Open(*Group(kClub));
    COneGroupRecord club(kClub, "Club", ROLE_OWNER, kMe);
    club.Member(kOwner, "Owner").Member(kMe, "Me");
    SendGroup(club);
    ASSERT_EQ(GroupItem(kClub)->parent(), Dlg().Root(ITEM_OWNED_ROOT));
    ASSERT_TRUE(chat);
    EXPECT_EQ(Chats().Find(*Group(kClub)), chat);
}

TEST_F(ChatWindowsTest, ShutDownClosesEveryWindowBeforeItsGroupGoes)
{
    bool mineThere = false, clubThere = false;
    QPointer<CTarvolanChatDialog> mine = Chats().Open(*Group(kMine));
    QPointer<CTarvolanChatDialog> club = Chats().Open(*Group(kClub));
    WatchDeletion(mine, kMine, &mineThere);
    WatchDeletion(club, kClub, &clubThere);
    m_module->UnInit();
    EXPECT_FALSE(mine);
    EXPECT_FALSE(club);
    EXPECT_TRUE(mineThere);
    EXPECT_TRUE(clubThere);
}

// ---- a group leaving the tree model ----------------------------------------------------

// A host message that takes a group out of the tree model.
struct TGroupLeaving {
    const char* name;
    const char* group;
    int code;
    std::vector<Word> record;
};
// The way's name stands for the case in the test's name.
void PrintTo(const TGroupLeaving& leaving, std::ostream* out)
{
    *out << leaving.name;
}

class ChatWindowsLeavingTest : public ChatWindowsTest, public testing::WithParamInterface<TGroupLeaving> {};

TEST_P(ChatWindowsLeavingTest, ClosesTheGroupsWindowWhileTheGroupExists)
{
    const TGroupLeaving& leaving = GetParam();
    QPointer<CTarvolanChatDialog> chat = Chats().Open(*Group(leaving.group));
    QPointer<CTarvolanChatDialog> other = Chats().Open(*Group(leaving.group == kMine ? kClub : kMine));
    ASSERT_TRUE(chat && other);
    bool groupThere = false;
    WatchDeletion(chat, leaving.group, &groupThere);
    std::vector<Word> record = leaving.record;
    Send(leaving.code, record.data());
    EXPECT_EQ(Group(leaving.group), nullptr);
    EXPECT_FALSE(chat);  // deleted at once, not left to the event loop
    EXPECT_TRUE(groupThere);
    EXPECT_EQ(Chats().Count(), 1u);
    EXPECT_TRUE(other);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ChatWindowsLeavingTest,
    testing::Values(TGroupLeaving{"DeletedByItsAdministrator", kClub, H_GroupDeleted, {W(kClub)}},
                    TGroupLeaving{"MeRemoved", kClub, H_DeletedFromGroup, {W(kClub)}},
                    TGroupLeaving{"Left", kClub, H_LeaveGroupResult, {W("Club"), W(kClub), 200}},
                    TGroupLeaving{"MineDeleted", kMine, H_DeleteGroupResult, {W("Mine"), 200}}),
    [](const testing::TestParamInfo<TGroupLeaving>& info) { return std::string(info.param.name); });

} // namespace
} // namespace groups_testing
