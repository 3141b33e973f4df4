// Incoming group messages (1034) without a window: which are shown, which
// are handled, and the one details request a handled message sends.
#include "RulesFixture.h"
#include "groups/GroupMessageRules.h"

using namespace tarvolan;

namespace {

using namespace tarvolan::rulestest;
using Texts = std::vector<std::string>;

// The host's side of the link for one-word records: the URIs asked about.
struct CDetailsLink : CHostLink {
    Texts asked;
    int Send(int code, void* record) override
    {
        if (code == M_RequestGroupInfo) asked.push_back(reinterpret_cast<const char*>(static_cast<Word*>(record)[0]));
        return 0;
    }
    void Log(const char*, int) override {}
    void RequestSkin(Word, const char*, const char*) override {}
    CModuleBase* Module() override { return nullptr; }
};

class GroupMessageRulesTest : public CRulesFixture {
protected:
    CDetailsLink m_details;
    CGroupMessageRules m_messages{m_data, m_host, m_details};
};

TEST_F(GroupMessageRulesTest, MessagesOfShownGroupsAreShownAndAskForTheDetailsOnce)
{
    const std::vector<bool> handled = {
        m_messages.OnGroupMessage(1, kClub, kBob, "not a group message"),
        m_messages.OnGroupMessage(2, "sip:club@groups.test/room", kBob, "hello"),
        m_messages.OnGroupMessage(2, kClub, kBob, nullptr),
        m_messages.OnGroupMessage(2, kClub, kBob, "again"),
        m_messages.OnGroupMessage(2, "sip:nowhere@groups.test", kBob, "lost"),
        m_messages.OnGroupMessage(2, "sip:nowhere@groups.test", kMe, "mine, back"),  // handled, not shown
        m_messages.OnGroupMessage(2, nullptr, nullptr, nullptr),
    };
    EXPECT_EQ(handled, (std::vector<bool>{false, true, true, true, false, true, false}));
    EXPECT_EQ(m_host.messagesShown, (Texts{"sip:club@groups.test|sip:bob@ims.test|hello",
                                           "sip:club@groups.test|sip:bob@ims.test|",
                                           "sip:club@groups.test|sip:bob@ims.test|again"}));
    EXPECT_EQ(m_details.asked, (Texts{"sip:club@groups.test/room", kClub, "sip:nowhere@groups.test"}));
}

} // namespace

TEST(GroupRecentMessages, ShownMessagesJoinAtTheEndWithinTheLimit)
{
    CTarvolan group("sip:club@groups.test");
    group.m_MsgListRecent.push_back({"7", "sip:bob@groups.test", "2009-11-05 18:00:01", "loaded"});
    for (size_t i = 0; i < CTarvolan::kMaxRecentMessages; ++i)
        group.KeepShownMessage({"", "sip:me@groups.test", "2009-11-05 18:00:02", std::to_string(i).c_str()});
    ASSERT_EQ(group.m_MsgListRecent.size(), CTarvolan::kMaxRecentMessages);
    EXPECT_EQ(group.m_MsgListRecent.front().body, "0");  // the loaded one went first
    EXPECT_EQ(group.m_MsgListRecent.back().body, std::to_string(CTarvolan::kMaxRecentMessages - 1).c_str());
}
