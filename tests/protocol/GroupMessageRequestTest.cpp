// The group message request (20008) as the host reads it: eight words in
// their places, and the summary escaped on the way out.
#include <string>

#include <gtest/gtest.h>

#include "protocol/GroupMessageRequest.h"

using namespace tarvolan;

namespace {

std::string TextAt(const Word* words, int index)
{
    return reinterpret_cast<const char*>(words[index]);
}

// Keeps the last record sent, read while the call lasts.
class CRecordingLink final : public CHostLink {
public:
    int Send(int code, void* record) override
    {
        m_code = code;
        const auto* words = static_cast<const Word*>(record);
        m_texts.clear();
        for (int i = 2; i <= 6; ++i) m_texts.push_back(TextAt(words, i));
        m_ints = {words[0], words[1], words[7]};
        return 0;
    }
    void Log(const char*, int) override {}
    void RequestSkin(Word, const char*, const char*) override {}
    CModuleBase* Module() override { return nullptr; }

    int m_code = 0;
    std::vector<std::string> m_texts;
    std::vector<Word> m_ints;
};

} // namespace

TEST(GroupMessageRequest, EightWordsInTheirPlaces)
{
    static_assert(sizeof(TGroupMessageRequest) == 8 * sizeof(Word));
    const char message[] = "<property ></property>hi", time[] = "Thu, 10 Dec 2026 20:00:00 GMT+08:00",
               group[] = "sip:g1@x.com", summary[] = "hi";
    const TGroupMessageRequest request = MakeGroupMessageRequest(message, time, group, summary);
    const auto* words = reinterpret_cast<const Word*>(&request);
    EXPECT_EQ(words[0], 1);
    EXPECT_EQ(words[1], 2);
    EXPECT_EQ(words[2], reinterpret_cast<Word>(message));
    EXPECT_EQ(words[3], reinterpret_cast<Word>(time));
    EXPECT_EQ(words[4], reinterpret_cast<Word>(group));
    EXPECT_EQ(TextAt(words, 5), "");
    EXPECT_EQ(words[6], reinterpret_cast<Word>(summary));
    EXPECT_EQ(words[7], 0);
}

TEST(GroupMessageRequest, SentWithTheSummaryEscaped)
{
    CRecordingLink link;
    SendGroupMessage(link, "<property ></property>a<b", "now", "sip:g1@x.com", "a<b&\"c");
    EXPECT_EQ(link.m_code, 20008);
    EXPECT_EQ(link.m_texts,
              (std::vector<std::string>{"<property ></property>a<b", "now", "sip:g1@x.com", "", "a&lt;b&amp;&quot;c"}));
    EXPECT_EQ(link.m_ints, (std::vector<Word>{1, 2, 0}));
}
