// Message history as the windows show it: the history viewer's pages (1032)
// and paging, its request block (20037), the conversation window's history
// button and recent messages, and the notices of a failed group-information
// query (1031). The rules themselves are tested in tests/groups.
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

#include <QAbstractButton>
#include <QPointer>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTreeWidget>

#include "conversation/HistoryPaging.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanChatDialog.h"
#include "conversation/TarvolanHistoryDialog.h"
#include "window/EventRecords.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

THistoryEntry Entry(const char* id, const char* sender, const char* time, const char* text)
{
    THistoryEntry entry{};
    Put(entry.senderText, id);
    Put(entry.senderURI, sender);
    Put(entry.time, time);
    entry.text = text;
    return entry;
}

// Entries with ids first, first+1, ...
std::vector<THistoryEntry> Entries(int first, int count)
{
    std::vector<THistoryEntry> list;
    for (int i = 0; i < count; ++i)
        list.push_back(Entry(std::to_string(first + i).c_str(), kBob, "Thu, 05 Nov 2009 10:00:01 GMT", "text"));
    return list;
}

class HistoryEventsTest : public CEventsTest {
protected:
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ")) m_savedTZ = tz;
        setenv("TZ", "UTC-8", 1);  // eight hours east of Greenwich
        tzset();
        CEventsTest::SetUp();
    }
    void TearDown() override
    {
        m_viewer.reset();
        CEventsTest::TearDown();
        if (m_savedTZ) setenv("TZ", m_savedTZ->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

    void History(int code, int type, const char* uri, std::vector<THistoryEntry> list, std::optional<int> count = {})
    {
        Word record[] = {code, type, W(uri), count.value_or(static_cast<int>(list.size())),
                         reinterpret_cast<Word>(list.empty() ? nullptr : list.data())};
        Send(H_HistoryList, record);
    }
    void Page(std::vector<THistoryEntry> list, int code = 200) { History(code, 2, kClub, std::move(list)); }

    CTarvolanHistoryDialog& OpenViewer()
    {
        m_viewer = std::make_unique<CTarvolanHistoryDialog>(Dlg().Link());
        m_viewer->SetGroup(Group(kClub));
        m_viewer->InitialiseOnce();
        return *m_viewer;
    }
    bool Enabled(int id) { return m_viewer->GetDlgItem(id)->isEnabled(); }
    // The last history request: anchor and direction; kind and block checked.
    std::pair<int, int> LastRequest()
    {
        const auto sent = m_host.Of(M_HistoryRequest);
        if (sent.empty() || sent.back().block.size() != sizeof(THistoryRequest)) return {-9, -9};
        EXPECT_EQ(sent.back().ints.at(0), 11);
        THistoryRequest block;
        std::memcpy(&block, sent.back().block.data(), sizeof(block));
        EXPECT_EQ(block.kind, 2);
        EXPECT_STREQ(block.groupURI, kClub);
        return {block.anchor, block.direction};
    }
    size_t Requests() { return m_host.Count(M_HistoryRequest); }

    std::optional<std::string> m_savedTZ;
    std::unique_ptr<CTarvolanHistoryDialog> m_viewer;
};

TEST(HistoryRequestBlock, ZeroFilledWithTheURICutOnACharacter)
{
    const THistoryRequest plain = MakeHistoryRequest("sip:club@groups.test", 120, HISTORY_OLDER);
    EXPECT_EQ(plain.kind, 2);
    EXPECT_STREQ(plain.groupURI, "sip:club@groups.test");
    EXPECT_EQ(plain.anchor, 120);
    EXPECT_EQ(plain.direction, -1);
    for (size_t i = std::strlen(plain.groupURI); i < sizeof(plain.groupURI); ++i) ASSERT_EQ(plain.groupURI[i], 0);

    // 254 ASCII bytes and then a double-byte character: it does not fit with
    // the terminator, so it goes whole.
    const CString longURI = CString(std::string(254, 'a').c_str()) + "\xD6\xD0" + "tail";
    const THistoryRequest cut = MakeHistoryRequest(longURI, 0, HISTORY_FIRST);
    EXPECT_EQ(std::strlen(cut.groupURI), 254u);
    EXPECT_EQ(cut.groupURI[255], 0);
    const CString exact(std::string(255, 'b').c_str());
    EXPECT_EQ(std::strlen(MakeHistoryRequest(exact + "c", 0, 0).groupURI), 255u);
}

TEST(HistoryIds, DecimalNumbersOnly)
{
    EXPECT_EQ(HistoryIdValue("9"), 9);
    EXPECT_EQ(HistoryIdValue(" 10 "), 10);
    EXPECT_EQ(HistoryIdValue("2147483647"), 2147483647);
    for (const char* bad : {"", "abc", "12a", "-5", "+5", "2147483648", "99999999999999999999"})
        EXPECT_EQ(HistoryIdValue(bad), 0) << bad;
    std::list<TGroupMessage> page;
    for (const char* id : {"9", "10", "x", "99999999999"}) page.push_back(TGroupMessage{id, "", "", ""});
    EXPECT_EQ(OldestHistoryId(page), 9);   // as text "10" would come first
    EXPECT_EQ(NewestHistoryId(page), 10);  // as text "9" would be the largest
    EXPECT_EQ(OldestHistoryId({}), 0);
}

using HistoryViewerTest = HistoryEventsTest;

TEST_F(HistoryViewerTest, PagesBackAndForth)
{
    CTarvolanHistoryDialog& viewer = OpenViewer();
    // Opening with an empty list asks for the first page and waits.
    EXPECT_EQ(FromQt(viewer.windowTitle()), Gbk("群组历史消息"));
    EXPECT_EQ(viewer.GetDlgItemText(1224), "Club");
    EXPECT_EQ(LastRequest(), std::make_pair(0, 0));
    EXPECT_FALSE(viewer.IsReady());
    EXPECT_EQ(viewer.TimerPeriod(1), 10000);
    EXPECT_FALSE(Enabled(1085));
    EXPECT_FALSE(Enabled(1086));

    // A page of exactly 20: "下一页" stays enabled, "上一页" is not on page 1.
    Page(Entries(101, 20));
    EXPECT_TRUE(viewer.IsReady());
    EXPECT_FALSE(viewer.IsTimerRunning(1));
    ASSERT_EQ(viewer.MessageList()->topLevelItemCount(), 20);
    EXPECT_EQ(viewer.MessageList()->topLevelItem(0)->text(0), "01");
    EXPECT_EQ(viewer.MessageList()->topLevelItem(19)->text(0), "20");
    EXPECT_EQ(viewer.MessageList()->topLevelItem(0)->text(2), "2009-11-05 18:00:01");
    EXPECT_FALSE(Enabled(1085));
    EXPECT_TRUE(Enabled(1086));

    // "上一页" on page 1 sends nothing.
    const size_t before = Requests();
    viewer.OnPreviousPage();
    EXPECT_EQ(Requests(), before);

    // "下一页" from the smallest id; a second press while waiting does nothing.
    viewer.PressButton(1086);
    EXPECT_EQ(LastRequest(), std::make_pair(101, -1));
    EXPECT_EQ(viewer.PageNumber(), 2);
    viewer.OnNextPage();
    EXPECT_EQ(Requests(), before + 1);

    // Ids compared as numbers: "9" is older than "10".
    Page({Entry("10", kBob, "x", "a"), Entry("9", kBob, "x", "b")});
    EXPECT_TRUE(Enabled(1085));
    EXPECT_FALSE(Enabled(1086));  // fewer than 20
    viewer.OnNextPage();
    EXPECT_EQ(LastRequest(), std::make_pair(9, -1));
    EXPECT_EQ(viewer.PageNumber(), 3);

    // An empty answer is a failure: the list stays, the way back is open.
    Page({});
    EXPECT_EQ(viewer.MessageList()->topLevelItemCount(), 2);
    EXPECT_TRUE(Enabled(1085));
    EXPECT_FALSE(Enabled(1086));
    viewer.OnPreviousPage();
    EXPECT_EQ(LastRequest(), std::make_pair(10, 1));
    EXPECT_EQ(viewer.PageNumber(), 2);
}

TEST_F(HistoryViewerTest, EmptyHistoryResetsToPageOneAndTimeOutsMakeItReady)
{
    CTarvolanHistoryDialog& viewer = OpenViewer();
    // No messages at all: the failure's buttons on page 1.
    Page({}, 404);
    EXPECT_TRUE(viewer.IsReady());
    EXPECT_FALSE(Enabled(1085));
    EXPECT_TRUE(Enabled(1086));
    // With nothing shown the anchor is 0 and the page number starts again at 1.
    viewer.OnNextPage();
    EXPECT_EQ(LastRequest(), std::make_pair(0, -1));
    EXPECT_EQ(viewer.PageNumber(), 1);

    // A time-out: ready again with the failure's buttons.
    viewer.OnTimer(1);
    EXPECT_TRUE(viewer.IsReady());
    EXPECT_FALSE(viewer.IsTimerRunning(1));
    EXPECT_FALSE(Enabled(1085));
    EXPECT_TRUE(Enabled(1086));
    Page(Entries(1, 20));
    viewer.OnNextPage();  // page 2, then no answer
    viewer.OnTimer(1);
    EXPECT_TRUE(Enabled(1085));
    EXPECT_FALSE(Enabled(1086));
}

TEST_F(HistoryViewerTest, ShowsTheSelectedMessageInItsFormat)
{
    CTarvolanHistoryDialog& viewer = OpenViewer();
    Page({Entry("1", kBob, "Thu, 05 Nov 2009 10:00:01 GMT", "<property bold=\"1\" ></property>Hello :)"),
          Entry("2", kBob, "Thu, 05 Nov 2009 10:00:02 GMT", "second")});
    // A page comes with its first message shown.
    EXPECT_NE(viewer.MessageText()->GetWindowText().view().find("Hello"), std::string_view::npos);
    viewer.MessageList()->topLevelItem(0)->setSelected(false);
    viewer.ShowSelectedMessage();  // nothing selected: the box stays as it is
    EXPECT_NE(viewer.MessageText()->GetWindowText().view().find("Hello"), std::string_view::npos);
    viewer.MessageList()->topLevelItem(1)->setSelected(true);
    viewer.ShowSelectedMessage();
    EXPECT_EQ(viewer.MessageText()->GetWindowText().view().find("Hello"), std::string_view::npos);
    viewer.MessageList()->topLevelItem(1)->setSelected(false);
    viewer.MessageList()->topLevelItem(0)->setSelected(true);
    // Releasing a key in the list shows the selection.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(viewer.MessageList(), &release);
    EXPECT_EQ(viewer.MessageText()->LastEmoticon(), 0);
    EXPECT_NE(viewer.MessageText()->GetWindowText().view().find("Hello"), std::string_view::npos);
    // A second show replaces the first.
    const int length = viewer.MessageText()->GetWindowTextLength();
    viewer.ShowSelectedMessage();
    EXPECT_EQ(viewer.MessageText()->GetWindowTextLength(), length);
}

TEST_F(HistoryEventsTest, RecentMessagesAreShown)
{
    CTarvolan* club = Group(kClub);
    History(200, 1, kClub, {Entry("7", kBob, "Thu, 05 Nov 2009 10:00:01 GMT", "<property ></property>hi"),
                            Entry("8", kMe, "not a date", nullptr)});
    ASSERT_EQ(club->m_MsgListRecent.size(), 2u);

    // Opening the window shows them; an open window gets new ones at once.
    auto* chat = Dlg().ChatWindows().Open(*club);
    ASSERT_NE(chat, nullptr);
    EXPECT_EQ(m_host.Count(M_Subscribe), 0u);
    std::string shown = GbkToUtf8(chat->Output()->GetWindowText().view());
    EXPECT_NE(shown.find("2009-11-05 18:00:01* bob说："), std::string::npos) << shown;
    EXPECT_NE(shown.find("not a date* 你说："), std::string::npos) << shown;
    EXPECT_NE(shown.find("======================================="), std::string::npos);
    History(200, 1, kClub, {Entry("9", kBob, "Thu, 05 Nov 2009 10:00:01 GMT", "again")});
    shown = GbkToUtf8(chat->Output()->GetWindowText().view());
    EXPECT_NE(shown.find("again"), std::string::npos);

    // A group whose recent messages have not come asks for them on opening.
    CTarvolan* mine = Group(kMine);
    ASSERT_FALSE(mine->m_bRecentLoaded);
    Dlg().ChatWindows().Open(*mine);
    ASSERT_EQ(m_host.Count(M_Subscribe), 1u);
    EXPECT_EQ(m_host.Of(M_Subscribe)[0].texts.at(0), kMine);
}

TEST_F(HistoryEventsTest, InformationFailureNotices)
{
    // 404: exactly the deletion notice of 1020.
    Word failed404[] = {W(kClub), 404};
    Send(H_GroupInfoFailed, failed404);
    EXPECT_EQ(PromptText(0), "群组[Club]已被管理员删除!");
    // Any other result: the failure notice, with the system caption.
    Word failed500[] = {W("sip:x@groups.test"), 500};
    Send(H_GroupInfoFailed, failed500);
    ASSERT_EQ(PromptCount(), 2u);
    EXPECT_EQ(PromptText(1), "获取失败！");
    EXPECT_EQ(Utf8(m_driver.Prompts()[1].caption), "系统提示");
    EXPECT_EQ(m_driver.Prompts()[1].flags, MB_ICONINFORMATION);
}

TEST_F(HistoryEventsTest, HistoryButtonRunsTheViewerOverTheConversation)
{
    CTarvolan* club = Group(kClub);
    club->m_bRecentLoaded = true;
    auto* chat = Dlg().ChatWindows().Open(*club);
    ASSERT_NE(chat, nullptr);
    TScriptedDialog answer;
    answer.button = IDCANCEL;
    bool seen = false;
    answer.inspect = [&](CDialog* dialog) {
        auto* viewer = qobject_cast<CTarvolanHistoryDialog*>(dialog);
        ASSERT_NE(viewer, nullptr);
        seen = true;
        EXPECT_EQ(viewer->parentWidget(), chat);
        EXPECT_EQ(FindHistoryViewer(*club), viewer);
        Page(Entries(1, 5));
        EXPECT_EQ(viewer->MessageList()->topLevelItemCount(), 5);
    };
    m_driver.PushDialog(answer);
    chat->PressButton(1814);
    EXPECT_TRUE(seen);
    EXPECT_EQ(m_host.Count(M_HistoryRequest), 1u);
    EXPECT_TRUE(club->m_MsgListHistory.empty());  // emptied once the viewer closed
    EXPECT_EQ(FindHistoryViewer(*club), nullptr);
}

TEST_F(HistoryEventsTest, GroupRemovedWhileTheViewerRuns)
{
    CTarvolan* club = Group(kClub);
    club->m_bRecentLoaded = true;
    QPointer<CTarvolanChatDialog> chat = Dlg().ChatWindows().Open(*club);
    ASSERT_TRUE(chat);
    TScriptedDialog answer;
    answer.inspect = [&](CDialog*) {
        Page(Entries(1, 20));
        Word deleted[] = {W(kClub)};
        Send(H_GroupDeleted, deleted);  // the group, its window and the viewer go
    };
    m_driver.PushDialog(answer);
    chat->PressButton(1814);
    EXPECT_FALSE(chat);
    EXPECT_EQ(Group(kClub), nullptr);
    Page(Entries(21, 20));  // a late page for the gone group changes nothing
    EXPECT_TRUE(Logged("OnIMSGotGroupHistoryMsgListVeloractrl1-pTarvolan is NULL"));
}

} // namespace
} // namespace groups_testing
