// The window's part of the results of the group operations (1013-1019):
// the tree, the timer of pending creations and the notices' texts. The
// rules themselves are tested in tests/groups/ResultRulesTest.cpp.
#include "window/CommandsFixture.h"
#include "groups/ChildWindows.h"
#include "support/PendingCreate.h"

using namespace tarvolan;

namespace groups_testing::commands {
namespace {

using Texts = std::vector<std::string>;

// Child windows that record what the handlers tell them.
struct CFakeInfoWindow : CDialog, CGroupInfoWindow {
    std::vector<std::pair<std::string, int>> joined;
    CString GetGroupNameByURI(const CString& uri) override { return uri == kClub ? CString("Club") : GetUserPart(uri); }
    void SetGroupJoined(const CString& uri, int value) override { joined.push_back({uri.str(), value}); }
    void MarkJoined(const CString&, const CString&) override {}
    void ClearSearchResults() override {}
    void AddSearchResult(const CString&, const CString&, const CString&, const CString&, const CString&,
                         const CString&, int, int) override {}
    void EnableNextPage(bool) override {}
    void ShowGroupInfo(const CString&, const CString&, int, const TGroupDescription&, int,
                       const TMemberEntry*) override {}
    void OnQueryFailed() override {}
    static CString GetUserPart(const CString& uri)
    {
        const int colon = uri.Find(':'), at = uri.Find('@');
        return uri.Mid(colon + 1, at - colon - 1);
    }
};

class OperationResultsTest : public CCommandsTest {
protected:
    void CreateResult(const char* name, const char* uri, int result)
    {
        Word record[] = {W(name), W(uri), static_cast<Word>(result)};
        Send(H_CreateGroupResult, record);
    }
    void Result2(int code, const char* a, int result)
    {
        Word record[] = {W(a), static_cast<Word>(result)};
        Send(code, record);
    }
    void Result3(int code, const char* a, const char* b, int result)
    {
        Word record[] = {W(a), W(b), static_cast<Word>(result)};
        Send(code, record);
    }
    void PendingCreate(const char* name, const char* displayName = "Boss")
    {
        Dlg().Data().PendingCreates().push_back(testing_support::SamplePendingCreate(name, displayName));
        Dlg().SetTimer(CTarvolanDialog::kTimerPendingCreate, CTarvolanDialog::kPendingCreatePeriodMs);
    }
    // Three members in Mine: me, Bob and Carl, each with a phone.
    void LoadMineWithThree()
    {
        COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe);
        mine.Member(kMe, "Me", "100").Member(kBob, "Bob", "200").Member("sip:carl@ims.test", "Carl", "300");
        mine.Blacklisted("sip:x@ims.test").Blacklisted("sip:y@ims.test").Blacklisted("sip:z@ims.test");
        SendGroup(mine);
        m_host.Clear();
    }
};

// ---- 1013 --------------------------------------------------------------------------------

TEST_F(OperationResultsTest, CreatedGroupAppearsUnderMyGroupsAndTheTimerFollowsThePending)
{
    PendingCreate("Go");
    PendingCreate("Other");
    CreateResult("Go", "sip:go@groups.test", 201);
    ASSERT_NE(GroupItem("sip:go@groups.test"), nullptr);
    EXPECT_EQ(GroupItem("sip:go@groups.test")->parent(), Dlg().Root(ITEM_OWNED_ROOT));
    EXPECT_EQ(Utf8(Dlg().Root(ITEM_OWNED_ROOT)->text(0)), "我创建的群组");
    EXPECT_EQ(Dlg().TimerPeriod(CTarvolanDialog::kTimerPendingCreate), 5000);

    CreateResult("Other", "", 200);  // without an address it cannot be kept
    EXPECT_FALSE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerPendingCreate));
    EXPECT_TRUE(Notices().empty());
}

TEST_F(OperationResultsTest, FailuresShowTheirTexts)
{
    PendingCreate("Go");
    CreateResult("Go", "", 408);
    CreateResult("Go", "", 409);
    CreateResult("Go", "", 500);
    CreateResult("Mine2", "sip:mine@elsewhere.test", 408);  // same user part as Mine: an edit
    CreateResult("Mine2", kMine, 403);
    EXPECT_TRUE(Dlg().IsTimerRunning(CTarvolanDialog::kTimerPendingCreate));
    EXPECT_EQ(Utf8(GroupItem(kMine)->text(0)), "Mine");
    Result2(H_DeleteGroupResult, "Solo", 408);
    Result2(H_DeleteGroupResult, "Solo", 500);
    Result3(H_LeaveGroupResult, "Club", kClub, 408);
    Result3(H_LeaveGroupResult, "Club", kClub, 403);
    for (const auto& [uri, name, result] : {std::tuple{"sip:eve@ims.test", "eve", 404}, {"sip:fay@ims.test", "fay", 408},
                                            {"sip:gus@ims.test", "gus", 409}, {"sip:gus@ims.test", "gus", 480}}) {
        Word record[] = {W(uri), W(name), W("Mine"), static_cast<Word>(result)};
        Send(H_InviteSendResult, record);
    }
    Result3(H_ChangeNameResult, kClub, "Late", 408);
    Result3(H_ChangeNameResult, kClub, "Late", 500);
    EXPECT_EQ(Notices(), (Texts{"创建群组:Go超时!", "创建群组数已达上限!", "创建群组:Go失败!", "修改群组:Mine超时!",
                                "修改群组:Mine失败!", "删除群组:Solo超时!", "删除群组:Solo失败!", "离开群组:Club超时!",
                                "离开群组:Club失败!", "您邀请eve加入群组Mine错误,该被邀请人不存在!",
                                "您对fay加入群组Mine的邀请,超时!",
                                "您对 gus 加入群组 Mine 的邀请，超过群组人数最大数！", "您对gus加入群组Mine的邀请,失败!",
                                "修改在群组:Club中的显示名超时!", "修改在群组:Club中的显示名失败!"}));
}

TEST_F(OperationResultsTest, EditResultRenamesTheItemAndKeepsItsMembers)
{
    LoadMineWithThree();
    CreateResult("Renamed", kMine, 200);
    EXPECT_EQ(Utf8(GroupItem(kMine)->text(0)), "Renamed");
    EXPECT_EQ(GroupItem(kMine)->childCount(), 3);
}

// ---- 1014, 1018 --------------------------------------------------------------------------

TEST_F(OperationResultsTest, DeletedAndLeftGroupsLeaveTheTree)
{
    Result2(H_DeleteGroupResult, "Solo", 200);
    EXPECT_EQ(Group(kSolo), nullptr);
    EXPECT_EQ(GroupItem(kSolo), nullptr);
    auto* info = new CFakeInfoWindow;
    Dlg().Windows().Open<CGroupInfoWindow>(info, info);
    Result3(H_LeaveGroupResult, "Club", kClub, 200);
    Result3(H_LeaveGroupResult, "Mine", kMine, 200);  // also a group I own
    EXPECT_EQ(GroupItem(kClub), nullptr);
    EXPECT_EQ(Record(kMine), nullptr);
    EXPECT_EQ(Listed(kMine), -1);
    EXPECT_EQ(Dlg().Root(ITEM_OWNED_ROOT)->childCount(), 0);
    EXPECT_EQ(info->joined, (std::vector<std::pair<std::string, int>>{{kClub, 0}, {kMine, 0}}));
}

// ---- 1016 --------------------------------------------------------------------------------

TEST_F(OperationResultsTest, RemovedMemberLeavesTheTree)
{
    LoadMineWithThree();
    Result3(H_RemoveMemberResult, kBob, "Mine", 200);
    EXPECT_EQ(Member(kMine, kBob), nullptr);
    EXPECT_EQ(GroupItem(kMine)->childCount(), 2);
}

TEST_F(OperationResultsTest, RemovalFailureNamesGroupAndMemberInTheOrderOfTheTextShown)
{
    {
        const CLanguageScope chinese("zh_CN.UTF-8");
        Result3(H_RemoveMemberResult, kBob, "Mine", 408);
        Result3(H_RemoveMemberResult, kBob, "Mine", 403);
    }
    {
        const CLanguageScope english("en_US.UTF-8");
        Result3(H_RemoveMemberResult, kBob, "Mine", 408);
    }
    // The Chinese text names the group first whatever the environment says.
    EXPECT_EQ(Notices(), (Texts{"从群组:Mine中删除成员sip:bob@ims.test超时!", "从群组:Mine中删除成员sip:bob@ims.test失败!",
                                "从群组:Mine中删除成员sip:bob@ims.test超时!"}));
    EXPECT_NE(Member(kMine, kBob), nullptr);
}

// ---- 1017 --------------------------------------------------------------------------------

TEST_F(OperationResultsTest, JoinSendResultNamesTheGroupOnlyWithTheInformationWindowOpen)
{
    Result3(H_JoinSendResult, "sip:chess@groups.test", "id-1", 403);
    {
        auto* info = new CFakeInfoWindow;
        Dlg().Windows().Open<CGroupInfoWindow>(info, info);
    }
    Result3(H_JoinSendResult, "sip:chess@groups.test", "id-1", 403);
    Result3(H_JoinSendResult, kClub, "id-2", 409);
    EXPECT_EQ(Notices(), (Texts{"您被拒绝加入群组 !", "您被拒绝加入群组 chess!", "群组Club成员数已满!"}));
    for (const TPrompt& p : m_driver.Prompts()) EXPECT_TRUE(p.caption.IsEmpty());
}

// ---- 1019 --------------------------------------------------------------------------------

TEST_F(OperationResultsTest, ChangedDisplayNameReachesTheItem)
{
    Result3(H_ChangeNameResult, kClub, "Captain", 200);
    EXPECT_EQ(Utf8(MemberItem(kClub, kMe)->text(0)), "Captain");
    Result3(H_ChangeNameResult, kClub, "Late", 408);
    EXPECT_EQ(Utf8(MemberItem(kClub, kMe)->text(0)), "Captain");
}

} // namespace
} // namespace groups_testing::commands
