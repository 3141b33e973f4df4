// The window's part of ownership transfer (its rules are tested in
// tests/groups): the named boxes of the request (1025), its withdrawal
// (1026), the acknowledgement (1024) and the answer (1027), their texts, and
// the offers parked in the client library.
#include "window/EventRecords.h"

using namespace tarvolan;

namespace groups_testing {
namespace {

constexpr const char* kRequestBox = "transferReqsip:club@groups.testsip:owner@ims.test";
constexpr const char* kAckBox = "transferAcksip:mine@groups.testsip:bob@ims.test";

class TransferEventsTest : public CEventsTest {
protected:
    void Answer(int code, const char* newOwner, int value)
    {
        Word record[] = {W(kMine), W(newOwner), static_cast<Word>(value)};
        Send(code, record);
    }
    tagGroupTrsReq m_request = Request<tagGroupTrsReq>("Club", kOwner, "Owner", kClub, "trs-9");
};

TEST_F(TransferEventsTest, RequestIsAskedInItsNamedBox)
{
    Send(H_TransferRequest, &m_request);
    ASSERT_EQ(PromptCount(), 1u);
    EXPECT_EQ(m_driver.Prompts()[0].name, kRequestBox);
    EXPECT_EQ(PromptText(0), "群主 Owner 将 Club 群转让给您，是否接受？");
    EXPECT_EQ(m_driver.Prompts()[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(m_host.Of(M_AnswerTransfer).at(0).ints, std::vector<long>{1});
}

TEST_F(TransferEventsTest, WithdrawalClosesTheOpenQuestionWithoutAnAnswer)
{
    m_driver.onNamedBoxOpen = [&](const CString&) { Send(H_TransferCancel, &m_request); };
    Send(H_TransferRequest, &m_request);
    EXPECT_EQ(m_driver.m_closeLog, std::vector<CString>{kRequestBox});
    EXPECT_EQ(m_driver.Prompts().at(0).answer, 0);
    EXPECT_EQ(m_host.Count(M_AnswerTransfer), 0u);
    EXPECT_TRUE(Dlg().Data().TransferRequests().empty());
}

TEST_F(TransferEventsTest, WithdrawalTakesOnlyItsOwnParkedOffer)
{
    auto fromOther = Request<tagGroupTrsReq>("Club", "sip:deputy@ims.test", "Deputy", kClub, "trs-10");
    AddTrsPubGroupReqMessageTempToList(m_request);
    AddTrsPubGroupReqMessageTempToList(fromOther);
    Send(H_TransferCancel, &m_request);
    ASSERT_EQ(GetTrsPubGroupReqMessageTempList()->size(), 1u);
    EXPECT_STREQ(GetTrsPubGroupReqMessageTempList()->front().OldOwnerURI, "sip:deputy@ims.test");
}

TEST_F(TransferEventsTest, ResultClosesExactlyTheWaitingBox)
{
    m_driver.onNamedBoxOpen = [&](const CString&) { Answer(H_TransferResult, kBob, 1); };
    Answer(H_TransferAck, kBob, 202);
    EXPECT_EQ(m_driver.m_closeLog, std::vector<CString>{kAckBox});
    ASSERT_EQ(PromptCount(), 2u);
    EXPECT_EQ(PromptText(0), "Bob 同意了转让群组 Mine 的请求！");  // shown while the box was open
    EXPECT_EQ(m_driver.Prompts()[1].name, kAckBox);
    EXPECT_EQ(PromptText(1), "您的转让请求已经发出！");
    EXPECT_EQ(m_driver.Prompts()[1].answer, 0);
}

TEST_F(TransferEventsTest, FailedAcknowledgementsAndOtherResults)
{
    Answer(H_TransferAck, kBob, 403);
    Answer(H_TransferAck, kBob, 416);
    Answer(H_TransferAck, "sip:stranger@ims.test", 416);
    Answer(H_TransferAck, kBob, 500);
    Answer(H_TransferResult, kBob, 3);
    Answer(H_TransferResult, "sip:stranger@ims.test", 1);  // not in the tree: dropped
    ASSERT_EQ(PromptCount(), 5u);
    EXPECT_EQ(PromptText(0), "您无权转让群组！");
    EXPECT_EQ(PromptText(1), "Bob 目前不在线，请在对方上线后，转让群组！");
    EXPECT_EQ(PromptText(2), "sip:stranger@ims.test 目前不在线，请在对方上线后，转让群组！");
    EXPECT_EQ(PromptText(3), "未知原因，群组转让失败！");
    EXPECT_EQ(PromptText(4), "未知原因，群组转让失败！");
}

} // namespace
} // namespace groups_testing
