// Finding and joining groups: the search command (13066), the pages of
// results (1022) and failures (1023) in the group information window, the
// details query, applying to join, and what the other handlers hand the
// window.
#include <QPointer>
#include <QTreeWidget>

#include "window/CommandsFixture.h"
#include "dialogs/DialogControls.h"
#include "dialogs/TarvolanInfoDialog.h"

using namespace tarvolan;

namespace groups_testing::commands {
namespace {

using Texts = std::vector<std::string>;
using Info = CTarvolanInfoDialog;

inline constexpr const char* kChess = "sip:chess@groups.test";  // not joined, owned by Bob

TSearchResultEntry Entry(const char* groupURI, const char* name, const char* owner, const char* id = "ID")
{
    TSearchResultEntry e{};
    Put(e.GroupURI, groupURI);
    Put(e.GroupName, name);
    Put(e.OwnerURI, owner);
    Put(e.ID, id);
    Put(e.GSubject, "subject");
    return e;
}

class SearchJoinTest : public CCommandsTest {
protected:
    void SetUp() override
    {
        CCommandsTest::SetUp();
        clientkit::SetIMSDomain("ims.example");
    }

    Info* Window() { return dynamic_cast<Info*>(Dlg().Windows().Window<CGroupInfoWindow>()); }
    void Search(std::map<int, CString> values, int button = IDOK)
    {
        AnswerDialog(std::move(values), button);
        Command(nullptr, IDM_SEARCH_GROUPS);
    }
    // Opens the window with a keyword search and gives it a page.
    Info* OpenWithPage(std::vector<TSearchResultEntry> entries)
    {
        Search({{1224, "c"}});
        SendPage(static_cast<int>(entries.size()), entries.data());
        m_host.Clear();
        m_driver.ClearPrompts();
        return Window();
    }
    void SendPage(int count, const TSearchResultEntry* entries)
    {
        Word record[3] = {count, W("c"), reinterpret_cast<Word>(entries)};
        Send(H_SearchResult, record);
    }
    static std::vector<TSearchResultEntry> Page(int n)
    {
        std::vector<TSearchResultEntry> entries;
        for (int i = 0; i < n; ++i) {
            const std::string uri = "sip:g" + std::to_string(i) + "@groups.test";
            entries.push_back(Entry(uri.c_str(), "G", kBob));
        }
        return entries;
    }
    QTreeWidget* List(int id) { return Window()->findChild<QTreeWidget*>("id" + QString::number(id)); }
    QTreeWidgetItem* Row(int i) { return List(Info::IDC_RESULTS)->topLevelItem(i); }
    std::string Cell(int list, int row, int column)
    {
        return List(list)->topLevelItem(row)->text(column).toStdString();
    }
    bool Enabled(int id) { return Window()->GetDlgItem(id)->isEnabled(); }
    std::string Text(int id) { return Utf8(Window()->GetDlgItemText(id)); }
    void Select(int row)
    {
        List(Info::IDC_RESULTS)->clearSelection();
        Row(row)->setSelected(true);
    }
    void SendDetails(COneGroupRecord& group) { SendGroup(group); }
};

TEST_F(SearchJoinTest, CommandSendsTheKeywordAsTypedAndCompletesACreator)
{
    Search({{1224, " Chess "}});
    ASSERT_EQ(m_host.Count(M_SearchGroups), 1u);
    testing_support::TSent sent = m_host.Of(M_SearchGroups)[0];
    EXPECT_EQ(sent.ints, (std::vector<long>{1, 1}));
    EXPECT_EQ(sent.texts, (Texts{" Chess ", "ims.test"}));
    QPointer<Info> first = Window();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->GetPage(), 1);
    EXPECT_FALSE(Enabled(Info::IDC_PREV_PAGE));
    EXPECT_FALSE(Enabled(Info::IDC_NEXT_PAGE));
    EXPECT_EQ(Utf8(FromQt(first->windowTitle())), "群组信息");

    Search({{1224, "x"}}, IDCANCEL);  // nothing sent, the window stays
    EXPECT_EQ(m_host.Count(M_SearchGroups), 1u);
    EXPECT_EQ(Window(), first.data());

    Search({{1679, "1"}, {1045, "bob"}});
    EXPECT_TRUE(first.isNull());  // replaced
    sent = m_host.Of(M_SearchGroups)[1];
    EXPECT_EQ(sent.ints, (std::vector<long>{2, 1}));
    EXPECT_EQ(sent.texts[0], "sip:bob@ims.example");
    EXPECT_EQ(Window()->GetSearchKind(), 2);
    EXPECT_EQ(Window()->GetSearchText(), "sip:bob@ims.example");
    EXPECT_EQ(Window()->GetSearchDomain(), "ims.test");

    Search({{1679, "1"}, {1045, "tel:123"}});
    EXPECT_EQ(m_host.Of(M_SearchGroups)[2].texts[0], "sip:tel:123@ims.example");
}

TEST_F(SearchJoinTest, NextPageFollowsTheCountTheHostSent)
{
    Search({{1224, "g"}});
    std::vector<TSearchResultEntry> page = Page(20);
    SendPage(20, page.data());
    EXPECT_EQ(Window()->GetRowCount(), 20);
    EXPECT_TRUE(Enabled(Info::IDC_NEXT_PAGE));
    EXPECT_TRUE(Row(19)->isSelected());  // the last row added is the selected one
    EXPECT_TRUE(Enabled(Info::IDC_APPLY));

    SendPage(25, page.data());  // more than a page: 20 rows, the button as it was
    EXPECT_EQ(Window()->GetRowCount(), 20);
    EXPECT_TRUE(Enabled(Info::IDC_NEXT_PAGE));
    EXPECT_TRUE(Logged("pSearchString= c,iResultNum=25,"));

    SendPage(19, page.data());
    EXPECT_EQ(Window()->GetRowCount(), 19);
    EXPECT_FALSE(Enabled(Info::IDC_NEXT_PAGE));

    SendPage(25, page.data());
    EXPECT_FALSE(Enabled(Info::IDC_NEXT_PAGE));

    SendPage(-3, page.data());  // a negative count reads nothing
    EXPECT_EQ(Window()->GetRowCount(), 0);
    EXPECT_FALSE(Enabled(Info::IDC_APPLY));
    SendPage(20, page.data());
    SendPage(20, nullptr);  // no array: an empty page
    EXPECT_EQ(Window()->GetRowCount(), 0);
    EXPECT_FALSE(Enabled(Info::IDC_NEXT_PAGE));
}

TEST_F(SearchJoinTest, PreviousPageFromPageTwoAndFromPageOne)
{
    Info* info = OpenWithPage(Page(20));
    info->PressButton(Info::IDC_NEXT_PAGE);
    EXPECT_EQ(m_host.Of(M_SearchGroups).back().ints, (std::vector<long>{1, 2}));
    EXPECT_TRUE(Enabled(Info::IDC_PREV_PAGE));

    info->PressButton(Info::IDC_PREV_PAGE);
    EXPECT_EQ(m_host.Of(M_SearchGroups).back().ints, (std::vector<long>{1, 1}));
    EXPECT_FALSE(Enabled(Info::IDC_PREV_PAGE));
    EXPECT_TRUE(Enabled(Info::IDC_NEXT_PAGE));

    info->OnCommand(Info::IDC_PREV_PAGE, 0);  // on page 1: page 1 again
    EXPECT_EQ(m_host.Count(M_SearchGroups), 3u);
    EXPECT_EQ(m_host.Of(M_SearchGroups).back().ints, (std::vector<long>{1, 1}));
    EXPECT_EQ(m_host.Of(M_SearchGroups).back().texts, (Texts{"c", "ims.test"}));
}

TEST_F(SearchJoinTest, JoinedRowShowsTheRegistryWithoutAQuery)
{
    std::vector<TSearchResultEntry> page = {Entry(kChess, "Chess", kBob), Entry(kClub, "Club", kOwner)};
    Search({{1224, "c"}});
    SendPage(2, page.data());
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 1, 4), "已加入");
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 0, 4), "未加入");
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 1, 0), "owner@ims.test");
    ASSERT_EQ(m_host.Count(M_RequestGroupInfo), 1u);  // the joined row, selected as it was added
    EXPECT_EQ(m_host.Of(M_RequestGroupInfo)[0].texts[0], kClub);

    Select(0);
    Select(1);
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 1u);  // once per group
    EXPECT_EQ(m_host.Count(M_RequestSearchDetails), 0u);
    EXPECT_FALSE(Enabled(Info::IDC_APPLY));
    EXPECT_FALSE(Enabled(Info::IDC_QUERY));
    EXPECT_EQ(Text(Info::IDC_GROUP_NAME), "Club");
    EXPECT_EQ(Text(Info::IDC_OWNER), "owner");
    EXPECT_EQ(Text(Info::IDC_DISPLAY_NAME), "Me");
    ASSERT_EQ(List(Info::IDC_MEMBERS)->topLevelItemCount(), 2);
    EXPECT_EQ(Cell(Info::IDC_MEMBERS, 0, 0), "owner@ims.test");
    EXPECT_EQ(Cell(Info::IDC_MEMBERS, 0, 1), "Owner");
    EXPECT_EQ(Cell(Info::IDC_MEMBERS, 0, 2), "已加入");

    Select(0);  // not joined: empty details until queried
    EXPECT_EQ(Text(Info::IDC_GROUP_NAME), "");
    EXPECT_EQ(List(Info::IDC_MEMBERS)->topLevelItemCount(), 0);
    EXPECT_TRUE(Enabled(Info::IDC_APPLY));
    EXPECT_TRUE(Enabled(Info::IDC_QUERY));
}

TEST_F(SearchJoinTest, ApplyingTwiceSendsOnceUntilTheTimerDropsIt)
{
    Info* info = OpenWithPage({Entry(kChess, "Chess", kBob, "CHESS1")});
    info->SetDlgItemText(Info::IDC_DISPLAY_NAME, "");
    info->PressButton(Info::IDC_APPLY);
    EXPECT_EQ(Notices(), Texts{"显示名称不能为空"});

    EXPECT_EQ(TextByteLimit(info->GetDlgItem(Info::IDC_DISPLAY_NAME)), 63);
    info->SetDlgItemText(Info::IDC_DISPLAY_NAME, Gbk("小明"));
    info->PressButton(Info::IDC_APPLY);
    info->PressButton(Info::IDC_APPLY);
    ASSERT_EQ(m_host.Count(M_ApplyToJoin), 1u);
    EXPECT_EQ(m_host.Of(M_ApplyToJoin)[0].texts, (Texts{kChess, "CHESS1", Gbk("小明").str()}));
    EXPECT_TRUE(Logged("bIMSReqJoinPublicGroup, pGroupURI=sip:chess@groups.test"));
    EXPECT_EQ(info->TimerPeriod(Info::kTimerJoinExpiry), 10000);
    ASSERT_EQ(Dlg().Data().JoinApplications().size(), 1u);
    EXPECT_EQ(Dlg().Data().JoinApplications().front().requester, kMyRequestId);

    info->OnTimer(Info::kTimerJoinExpiry);
    EXPECT_TRUE(Dlg().Data().JoinApplications().empty());
    EXPECT_TRUE(info->IsTimerRunning(Info::kTimerJoinExpiry));  // it keeps running
    info->PressButton(Info::IDC_APPLY);
    EXPECT_EQ(m_host.Count(M_ApplyToJoin), 2u);
    EXPECT_EQ(Utf8(Window()->GetDlgItemText(Info::IDC_DISPLAY_NAME)), "小明");

    List(Info::IDC_RESULTS)->clearSelection();
    info->OnCommand(Info::IDC_APPLY, 0);
    EXPECT_EQ(Notices().back(), "请选择要查询的群组!");
    EXPECT_EQ(m_host.Count(M_ApplyToJoin), 2u);
}

TEST_F(SearchJoinTest, JoinTimerLoadsTheFieldsOfAnOpenWindowOnly)
{
    Info* info = OpenWithPage({Entry(kChess, "Chess", kBob, "CHESS1")});
    info->SetDlgItemText(Info::IDC_DISPLAY_NAME, Gbk("小明"));
    info->PressButton(Info::IDC_APPLY);
    for (const bool open : {true, false}) {
        if (!open) info->OnCommand(IDCANCEL, 0);  // "退出" closes the window; it stays and its timer runs on
        info->SetDlgItemText(CGroupDetailsPane::IDC_MAX_MEMBERS, "7");
        info->OnTimer(Info::kTimerJoinExpiry);
        EXPECT_EQ(Text(CGroupDetailsPane::IDC_MAX_MEMBERS), open ? "0" : "7") << open;
        EXPECT_TRUE(info->IsTimerRunning(Info::kTimerJoinExpiry));
    }
}

TEST_F(SearchJoinTest, DetailsOfAnotherGroupChangeNothingButTheQueryButton)
{
    Info* info = OpenWithPage({Entry(kChess, "Chess", kBob)});
    info->OnCommand(Info::IDC_QUERY, 0);
    ASSERT_EQ(m_host.Count(M_RequestSearchDetails), 1u);
    EXPECT_EQ(m_host.Of(M_RequestSearchDetails)[0].texts, (Texts{kBob, kChess}));
    EXPECT_FALSE(Enabled(Info::IDC_QUERY));
    EXPECT_EQ(Text(Info::IDC_QUERY), "查询中...");
    EXPECT_EQ(info->TimerPeriod(Info::kTimerQuery), 5000);

    COneGroupRecord other("sip:other@groups.test", "Other", ROLE_NONE, kBob);
    other.Member(kBob, "Bob");
    SendDetails(other);
    EXPECT_EQ(Text(Info::IDC_GROUP_NAME), "");
    EXPECT_EQ(List(Info::IDC_MEMBERS)->topLevelItemCount(), 0);
    EXPECT_TRUE(Enabled(Info::IDC_QUERY));
    EXPECT_EQ(Text(Info::IDC_QUERY), "查询");
    EXPECT_EQ(info->GetQueriedGroupURI(), "");
    EXPECT_FALSE(Group("sip:other@groups.test"));  // role 3 is not kept

    // A double click queries the selected row; its details come.
    QTreeWidget* results = List(Info::IDC_RESULTS);
    emit results->itemDoubleClicked(Row(0), 0);
    EXPECT_EQ(m_host.Count(M_RequestSearchDetails), 2u);
    COneGroupRecord chess(kChess, "Chess", ROLE_NONE, kBob);
    chess.info.iVisi = 3;
    chess.info.iNeedPermit = 1;
    chess.members.push_back(MemberEntry("sip:ann@ims.test", "Ann", "Defend"));
    chess.members.push_back(MemberEntry("sip:dan@ims.test", "Dan", "defend"));
    SendDetails(chess);
    EXPECT_EQ(Text(Info::IDC_GROUP_NAME), "Chess");
    EXPECT_EQ(Text(Info::IDC_CREATOR), "bob");
    EXPECT_EQ(Text(Info::IDC_MAX_MEMBERS), "300");
    EXPECT_FALSE(info->IsTimerRunning(Info::kTimerQuery));
    ASSERT_EQ(List(Info::IDC_MEMBERS)->topLevelItemCount(), 2);
    EXPECT_EQ(Cell(Info::IDC_MEMBERS, 0, 1), "ann");  // the user part, not the display name
    EXPECT_EQ(Cell(Info::IDC_MEMBERS, 0, 2), "等待审批");
    EXPECT_EQ(Cell(Info::IDC_MEMBERS, 1, 2), "已加入");
    // Long accounts are cut in a narrow column; the tooltip keeps them whole.
    QTreeWidgetItem* ann = List(Info::IDC_MEMBERS)->topLevelItem(0);
    EXPECT_EQ(ann->toolTip(0), ann->text(0));
    EXPECT_FALSE(ann->toolTip(0).isEmpty());
}

TEST_F(SearchJoinTest, QueryTimeoutAndFailure)
{
    Info* info = OpenWithPage({Entry(kChess, "Chess", kBob)});
    info->OnCommand(Info::IDC_QUERY, 0);
    info->OnTimer(Info::kTimerQuery);
    EXPECT_FALSE(info->IsTimerRunning(Info::kTimerQuery));
    EXPECT_TRUE(Enabled(Info::IDC_QUERY));
    EXPECT_EQ(Text(Info::IDC_QUERY), "查询");
    EXPECT_EQ(info->GetQueriedGroupURI(), "");

    info->OnCommand(Info::IDC_QUERY, 0);
    Word record[1] = {W(kChess)};
    Send(H_SearchFailed, record);
    EXPECT_EQ(Notices(), Texts{"查询失败，原因可能是：该群组只有管理员（成员）可见!"});
    EXPECT_EQ(NoticeFlags(), std::vector<unsigned>{MB_ICONINFORMATION});
    EXPECT_FALSE(info->IsTimerRunning(Info::kTimerQuery));
    EXPECT_TRUE(Enabled(Info::IDC_QUERY));
    EXPECT_TRUE(Logged("OnIMSSearchPublicGroupFailedVeloractrl1....GroupURI=sip:chess@groups.test"));
}

// A driver whose first message box lets the host deliver more first.
struct CReentrantDriver : CScriptedUiDriver {
    std::function<void()> during;
    int MessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags) override
    {
        if (auto deliver = std::exchange(during, nullptr)) deliver();
        return CScriptedUiDriver::MessageBox(owner, text, caption, flags);
    }
};

TEST_F(SearchJoinTest, OneFailureBoxAtATime)
{
    Info* info = OpenWithPage({Entry(kChess, "Chess", kBob)});
    CReentrantDriver driver;
    SetUiDriver(&driver);
    Word record[1] = {W(kChess)};
    driver.during = [&] { Send(H_SearchFailed, record); };
    Send(H_SearchFailed, record);
    Send(H_SearchFailed, record);  // the box has closed: shown again
    SetUiDriver(&m_driver);
    EXPECT_EQ(driver.Prompts().size(), 2u);
    EXPECT_TRUE(info->GetDlgItem(Info::IDC_QUERY)->isEnabled());
}

TEST_F(SearchJoinTest, HostileAndLateAnswersAreHarmless)
{
    std::vector<TSearchResultEntry> page = Page(20);
    SendPage(20, page.data());  // no window: logged only
    Word failed[1] = {W("sip:nobody@groups.test")};
    Send(H_SearchFailed, failed);
    EXPECT_TRUE(Notices().empty());

    TSearchResultEntry unterminated{};
    std::memset(&unterminated, 'x', sizeof(unterminated));
    Info* info = OpenWithPage({unterminated});
    ASSERT_EQ(info->GetRowCount(), 1);
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 0, 1).size(), sizeof(unterminated.GroupName));
    EXPECT_EQ(info->GetGroupNameByURI(CString(std::string(sizeof(unterminated.GroupURI), 'x'))).GetLength(), 65);

    Search({{1224, "next"}});  // replaced: the old window's rows went with it
    SendPage(20, page.data());
    EXPECT_EQ(Window()->GetRowCount(), 20);
    SendPage(0, page.data());
    emit List(Info::IDC_RESULTS)->itemDoubleClicked(nullptr, 0);
    EXPECT_EQ(m_host.Count(M_RequestSearchDetails), 0u);
    Window()->OnCommand(Info::IDC_QUERY, 0);  // the query on an empty list
    EXPECT_EQ(Notices().back(), "请选择要查询的群组!");
}

TEST_F(SearchJoinTest, HandlersHandTheWindowJoinsNamesAndNotices)
{
    std::vector<TSearchResultEntry> page = {Entry(kClub, "Club Row", kOwner), Entry(kChess, "Chess", kBob)};
    Info* info = OpenWithPage(page);

    // 1033: the row whose owner is a member of a group I am in is marked.
    info->SetGroupJoined(kClub, 0);
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 0, 4), "未加入");
    Send(H_RebuildMembers, nullptr);
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 0, 4), "已加入");
    EXPECT_TRUE(Row(0)->isSelected());

    // 1017: the name comes from the window's row, else the URI's user part.
    Word refused[3] = {W(kClub), W("ID"), 403};
    Send(H_JoinSendResult, refused);
    Word full[3] = {W("sip:gone@groups.test"), W("ID"), 409};
    Send(H_JoinSendResult, full);
    EXPECT_EQ(Notices(), (Texts{"您被拒绝加入群组 Club Row!", "群组gone成员数已满!"}));

    // 1009: its notices belong to the window.
    m_driver.ClearPrompts();
    Word refusedJoin[3] = {W(kChess), W("Chess"), 2};
    Send(H_JoinRequestResult, refusedJoin);
    ASSERT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(m_driver.Prompts()[0].owner, static_cast<QWidget*>(info));

    // 1018: leaving the selected group shows it not joined, ready to apply.
    Word left[3] = {W("Club"), W(kClub), 200};
    Send(H_LeaveGroupResult, left);
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 0, 4), "未加入");
    EXPECT_TRUE(Enabled(Info::IDC_APPLY));

    // 1005 of a group I now belong to: joined, with its details.
    Select(1);
    COneGroupRecord chess(kChess, "Chess", ROLE_MEMBER, kBob);
    chess.Member(kBob, "Bob").Member(kMe, "Me");
    LoadGroup(chess);
    EXPECT_EQ(Cell(Info::IDC_RESULTS, 1, 4), "已加入");
}

} // namespace
} // namespace groups_testing::commands
