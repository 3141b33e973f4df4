// The rules of ownership transfer without a window: the questions and
// notices with their boxes, the answers sent, and what is parked or dropped.
#include "RequestRecords.h"
#include "groups/TransferRules.h"

using namespace tarvolan;

namespace {

using namespace tarvolan::rulestest;

constexpr const char* kRequestBox = "transferReqsip:club@groups.testsip:owner@ims.test";
constexpr const char* kAckBox = "transferAcksip:mine@groups.testsip:bob@ims.test";
constexpr int kNo = 7;

class TransferRulesTest : public CRulesFixture {
protected:
    std::vector<testing_support::TSent> Sent(int code) const { return m_words.host.Of(code); }
    CDecodingLink m_words;
    CTransferRules m_rules{m_data, m_host, m_words};
    tagGroupTrsReq m_request = Request<tagGroupTrsReq>("Club", kOwner, "Owner", kClub, "trs-9");
};

TEST_F(TransferRulesTest, RequestIsAskedOnceAndAnswered)
{
    m_host.onAsk = [&] { m_rules.OnRequest(&m_request); };  // the same request while it is asked about
    m_rules.OnRequest(&m_request);
    EXPECT_EQ(m_host.notices, std::vector<std::string>{Shown(NOTICE_ASK_TRANSFER, "Owner", "Club", kRequestBox)});
    EXPECT_EQ(Sent(M_AnswerTransfer).at(0).texts, (std::vector<std::string>{kClub, kOwner, "trs-9"}));
    EXPECT_EQ(Sent(M_AnswerTransfer).at(0).ints, std::vector<long>{1});
    EXPECT_EQ(Sent(M_RequestGroupInfo).size(), 1u);

    m_host.answers = {kNo};
    m_rules.OnRequest(&m_request);
    EXPECT_EQ(Sent(M_AnswerTransfer).at(1).ints, std::vector<long>{2});
    EXPECT_EQ(Sent(M_RequestGroupInfo).size(), 1u);
    EXPECT_TRUE(m_data.TransferRequests().empty());

    auto unknownGroup = Request<tagGroupTrsReq>("Far", kOwner, "Owner", "sip:far@groups.test", "");
    m_rules.OnRequest(&unknownGroup);
    m_rules.OnRequest(nullptr);
    EXPECT_EQ(m_host.notices.size(), 2u);
    EXPECT_TRUE(Logged("OnIMSTransferPublicGroupRequestVeloractrl1: Param is NULL! So Return!!"));
    EXPECT_TRUE(Logged("OnIMSTransferPublicGroupRequestVeloractrl1....GroupURI=sip:club@groups.test,GroupName=Club,"
                       "OldOwnerURI=sip:owner@ims.test,OldOwnerName=Owner"));

    m_host.signedIn = false;
    m_host.signingIn = true;
    m_rules.OnRequest(&m_request);
    EXPECT_EQ(m_host.parked, std::vector<std::string>{"transfer Club"});
}

TEST_F(TransferRulesTest, WithdrawalClosesTheQuestionAndDropsTheParkedOffer)
{
    m_host.onAsk = [&] { m_rules.OnCancel(&m_request); };
    m_host.answers = {CGroupRulesHost::kClosed};  // the box closed by its name
    m_rules.OnRequest(&m_request);
    EXPECT_EQ(m_host.closed, std::vector<std::string>{kRequestBox});
    EXPECT_EQ(m_host.parked, std::vector<std::string>{std::string("drop ") + kClub + "|" + kOwner});
    EXPECT_TRUE(Sent(M_AnswerTransfer).empty());
    EXPECT_TRUE(m_data.TransferRequests().empty());
    m_rules.OnCancel(nullptr);
    EXPECT_TRUE(Logged("OnIMSTransferPublicGroupCancelVeloractrl1: Param is NULL! So Return!!"));
}

TEST_F(TransferRulesTest, AcknowledgementsAndResultsAtTheOldOwner)
{
    for (int code : {202, 403, 404, 409, 416, 503, 500}) m_rules.OnAck(kMine, kBob, code);
    m_rules.OnAck(kMine, "sip:stranger@ims.test", 416);
    m_rules.OnResult(kMine, kBob, 1);
    m_rules.OnResult(kMine, kBob, 2);
    m_rules.OnResult(kMine, kBob, 3);
    m_rules.OnResult(kMine, "sip:stranger@ims.test", 1);  // not in the tree: dropped
    EXPECT_EQ(m_host.notices, (std::vector<std::string>{
                                  Shown(NOTICE_TRANSFER_SENT, "", "", kAckBox), Shown(NOTICE_TRANSFER_NO_RIGHT),
                                  Shown(NOTICE_TRANSFER_NOT_FOUND), Shown(NOTICE_TRANSFER_LIMIT),
                                  Shown(NOTICE_TRANSFER_OFFLINE, "Bob"), Shown(NOTICE_TRANSFER_SERVER_ERROR),
                                  Shown(NOTICE_TRANSFER_UNKNOWN), Shown(NOTICE_TRANSFER_OFFLINE, "sip:stranger@ims.test"),
                                  Shown(NOTICE_TRANSFER_AGREED, "Bob", "Mine"), Shown(NOTICE_TRANSFER_REFUSED, "Bob", "Mine"),
                                  Shown(NOTICE_TRANSFER_UNKNOWN)}));
    EXPECT_EQ(m_host.closed, std::vector<std::string>(3, kAckBox));
    EXPECT_TRUE(Logged("OnIMSTransferPublicGroupAckVeloractrl1....GroupURI=sip:mine@groups.test,"
                       "NewOwnerURI=sip:bob@ims.test,Code=202"));
    EXPECT_TRUE(Logged("OnIMSTransferPublicGroupResultVeloractrl1....GroupURI=sip:mine@groups.test,"
                       "NewOwnerURI=sip:stranger@ims.test,Result=1"));
}

} // namespace
