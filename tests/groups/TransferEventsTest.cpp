// Ownership transfer: the request at the chosen member (1025) and its
// withdrawal (1026), the acknowledgement (1024) and the answer (1027) at the
// old owner.
#include "groups/EventRecords.h"

namespace groups_testing {
namespace {

constexpr const char* kRequestBox = "transferReqsip:club@groups.testsip:owner@ims.test";
constexpr const char* kAckBox = "transferAcksip:mine@groups.testsip:bob@ims.test";

class TransferEventsTest : public CEventsTest {
protected:
    void Ack(const char* group, const char* newOwner, int code)
    {
        CWordRecord record;
        record.Text(group).Text(newOwner).Int(code);
        Send(H_TransferAck, record.get());
    }
    void Result(const char* group, const char* newOwner, int result)
    {
        CWordRecord record;
        record.Text(group).Text(newOwner).Int(result);
        Send(H_TransferResult, record.get());
    }
    tagGroupTrsReq m_request = TransferRequest("Club", kOwner, "Owner", kClub, "trs-9");
};

// ---- 1025, 1026 -------------------------------------------------------------------------

TEST_F(TransferEventsTest, AcceptedRequestAnswersOneAndAsksForTheGroupAgain)
{
    Send(H_TransferRequest, &m_request);
    const TPrompt prompt = OnlyPrompt();
    EXPECT_EQ(prompt.kind, "named");
    EXPECT_EQ(prompt.name, kRequestBox);
    EXPECT_EQ(Utf8(prompt.text), "群主 Owner 将 Club 群转让给您，是否接受？");
    EXPECT_EQ(prompt.flags, MB_YESNO | MB_ICONQUESTION);
    const auto answers = m_host.Of(M_AnswerTransfer);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].texts, (std::vector<std::string>{kClub, kOwner, "trs-9"}));
    EXPECT_EQ(answers[0].ints, std::vector<long>{1});
    EXPECT_EQ(m_host.Of(M_RequestGroupInfo).at(0).texts, std::vector<std::string>{kClub});
    EXPECT_TRUE(Dlg().m_TransferReqList.empty());
    EXPECT_NE(LogText().find("OnIMSTransferPublicGroupRequestVeloractrl1....GroupURI=sip:club@groups.test,"
                             "GroupName=Club,OldOwnerURI=sip:owner@ims.test,OldOwnerName=Owner"),
              std::string::npos);
}

TEST_F(TransferEventsTest, RefusedRequestAnswersTwo)
{
    m_driver.PushAnswer(IDNO);
    Send(H_TransferRequest, &m_request);
    EXPECT_EQ(m_host.Of(M_AnswerTransfer).at(0).ints, std::vector<long>{2});
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 0u);
}

TEST_F(TransferEventsTest, WithdrawalClosesTheOpenQuestionAndNothingIsAnswered)
{
    m_driver.onNamedBoxOpen = [&](const CString&) { Send(H_TransferCancel, &m_request); };
    Send(H_TransferRequest, &m_request);
    EXPECT_EQ(m_driver.m_closeLog, std::vector<CString>{kRequestBox});
    EXPECT_EQ(OnlyPrompt().answer, 0);
    EXPECT_EQ(m_host.Count(M_AnswerTransfer), 0u);
    EXPECT_TRUE(Dlg().m_TransferReqList.empty());
}

TEST_F(TransferEventsTest, SecondRequestWhileAskedIsIgnored)
{
    m_driver.onNamedBoxOpen = [&](const CString&) {
        m_driver.onNamedBoxOpen = nullptr;
        Send(H_TransferRequest, &m_request);
    };
    Send(H_TransferRequest, &m_request);
    EXPECT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(m_host.Count(M_AnswerTransfer), 1u);
}

TEST_F(TransferEventsTest, RequestsWithoutRecordOrKnownGroupAskNothing)
{
    tagGroupTrsReq unknown = TransferRequest("Far", kOwner, "Owner", "sip:far@groups.test");
    Send(H_TransferRequest, &unknown);
    Send(H_TransferRequest, nullptr);
    Send(H_TransferCancel, nullptr);
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_TRUE(m_host.sent.empty());
    EXPECT_NE(LogText().find("OnIMSTransferPublicGroupRequestVeloractrl1: Param is NULL! So Return!!"),
              std::string::npos);
    EXPECT_NE(LogText().find("OnIMSTransferPublicGroupCancelVeloractrl1: Param is NULL! So Return!!"),
              std::string::npos);
}

TEST_F(TransferEventsTest, RequestWhileSigningInIsParked)
{
    clientkit::SetSignInState(0, 1, 0);
    Send(H_TransferRequest, &m_request);
    EXPECT_TRUE(m_driver.Prompts().empty());
    ASSERT_EQ(GetTrsPubGroupReqMessageTempList()->size(), 1u);
    EXPECT_NE(LogText().find("[1] OnIMSTransferPublicGroupRequestVeloractrl1: have logout,so return!"),
              std::string::npos);
    Send(H_TransferCancel, &m_request);
    EXPECT_TRUE(GetTrsPubGroupReqMessageTempList()->empty());
}

// ---- 1024, 1027 -------------------------------------------------------------------------

TEST_F(TransferEventsTest, AcknowledgedTransferWaitsUntilTheResultClosesExactlyThatBox)
{
    m_driver.onNamedBoxOpen = [&](const CString&) { Result(kMine, kBob, 1); };
    Ack(kMine, kBob, 202);
    EXPECT_EQ(m_driver.m_closeLog, std::vector<CString>{kAckBox});
    const auto prompts = m_driver.Prompts();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(Utf8(prompts[0].text), "Bob 同意了转让群组 Mine 的请求！");  // shown while the box was open
    EXPECT_EQ(prompts[1].kind, "named");
    EXPECT_EQ(prompts[1].name, kAckBox);
    EXPECT_EQ(Utf8(prompts[1].text), "您的转让请求已经发出！");
    EXPECT_EQ(prompts[1].flags, MB_ICONINFORMATION);
    EXPECT_EQ(prompts[1].answer, 0);
}

TEST_F(TransferEventsTest, AcknowledgementFailuresShowTheirNotices)
{
    for (int code : {403, 404, 409, 503, 500}) Ack(kMine, kBob, code);
    Ack(kMine, kBob, 416);
    Ack(kMine, "sip:stranger@ims.test", 416);
    const auto notices = PromptsOf("message");
    ASSERT_EQ(notices.size(), 7u);
    EXPECT_EQ(Utf8(notices[0].text), "您无权转让群组！");
    EXPECT_EQ(Utf8(notices[1].text), "群组不存在或成员不属于该群组！");
    EXPECT_EQ(Utf8(notices[2].text), "群数量达到上限，群组转让失败！");
    EXPECT_EQ(Utf8(notices[3].text), "服务器异常，群组转让失败！");
    EXPECT_EQ(Utf8(notices[4].text), "未知原因，群组转让失败！");
    EXPECT_EQ(Utf8(notices[5].text), "Bob 目前不在线，请在对方上线后，转让群组！");
    EXPECT_EQ(Utf8(notices[6].text), "sip:stranger@ims.test 目前不在线，请在对方上线后，转让群组！");
}

TEST_F(TransferEventsTest, ResultsOfTheNewOwner)
{
    Result(kMine, kBob, 2);
    Result(kMine, kBob, 3);
    Result(kMine, "sip:stranger@ims.test", 1);  // not a member the tree knows
    const auto notices = PromptsOf("message");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(Utf8(notices[0].text), "Bob 拒绝了转让群组 Mine 的请求！");
    EXPECT_EQ(Utf8(notices[1].text), "未知原因，群组转让失败！");
    EXPECT_EQ(m_driver.m_closeLog.size(), 2u);
}

} // namespace
} // namespace groups_testing
