#include "common/Emoticons.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarvolan;

namespace {

// The runs of a text with the bytes of each run.
struct TRun {
    std::string text;
    int picture;
};
std::vector<TRun> Runs(std::string_view text)
{
    std::vector<TRun> runs;
    for (const TEmoticonRun& run : SplitEmoticonRuns(text))
        runs.push_back({std::string(text.substr(run.pos, run.length)), run.picture});
    return runs;
}

// The picture shown for a text that is a single code; -1 when it is not one.
int PictureOf(std::string_view text)
{
    const std::vector<TRun> runs = Runs(text);
    return (runs.size() == 1 && runs[0].text == text) ? runs[0].picture : -1;
}

TEST(EmoticonTablesTest, CodesAndDisplayRows)
{
    EXPECT_STREQ(EmoticonCode(0), ":)");
    EXPECT_STREQ(EmoticonCode(12), ":'(");
    EXPECT_STREQ(EmoticonCode(18), "^o)");
    EXPECT_STREQ(EmoticonCode(21), ":|");
    EXPECT_STREQ(EmoticonCode(35), "(tv)");
    EXPECT_STREQ(EmoticonCode(39), "(E)");
    EXPECT_STREQ(EmoticonCode(40), "");
    EXPECT_STREQ(EmoticonCode(-1), "");
    EXPECT_STREQ(g_EmoticonDisplayTable[0].code, "(^)");
    EXPECT_STREQ(g_EmoticonDisplayTable[29].code, ":\\");
    EXPECT_STREQ(g_EmoticonDisplayTable[60].code, "(O)");
    // Every code the picker offers is shown as its own picture.
    for (int i = 0; i < kEmoticonCount; ++i) EXPECT_EQ(PictureOf(EmoticonCode(i)), i) << EmoticonCode(i);
}

TEST(EmoticonDisplayTest, PicturesOfTheOtherCodes)
{
    EXPECT_EQ(PictureOf(":-)"), 2);
    EXPECT_EQ(PictureOf("(D)"), 0);   // stored 40
    EXPECT_EQ(PictureOf(":t"), 10);   // ":T" comes first; ":t" (stored 40) never wins
    EXPECT_EQ(PictureOf("(0)"), 19);  // stored 59
    EXPECT_EQ(PictureOf(":->"), 5);
    EXPECT_EQ(PictureOf(":\\"), 28);
    EXPECT_EQ(PictureOf("^0)"), 34);
    EXPECT_EQ(PictureOf(":-|"), 14);
    // Received codes ignore letter case.
    EXPECT_EQ(PictureOf(":d"), 1);
    EXPECT_EQ(PictureOf("(So)"), 27);
    EXPECT_EQ(PictureOf("^O)"), 18);
}

TEST(EmoticonDisplayTest, LowerCaseTwinRowsNeverWin)
{
    EXPECT_EQ(PictureOf(":c"), 20);
    EXPECT_EQ(PictureOf(":x"), 14);
    EXPECT_EQ(PictureOf(":l"), 16);
    EXPECT_EQ(PictureOf(":z"), 13);
    EXPECT_EQ(PictureOf(":t"), 10);
    TEmoticonMatch match;
    ASSERT_TRUE(FindDisplayEmoticon(":}", 0, match));
    EXPECT_EQ(match.row, 25);
    ASSERT_TRUE(FindDisplayEmoticon("(^)", 0, match));
    EXPECT_EQ(match.row, 0);
}

TEST(EmoticonDisplayTest, EarliestPositionWinsOverEarlierRow)
{
    TEmoticonMatch match;
    ASSERT_TRUE(FindDisplayEmoticon("ab:) (^)", 0, match));
    EXPECT_EQ(match.pos, 2u);
    EXPECT_EQ(match.picture, 0);
    ASSERT_TRUE(FindDisplayEmoticon("ab:) (^)", 4, match));
    EXPECT_EQ(match.pos, 5u);
    EXPECT_EQ(match.picture, 28);
    EXPECT_FALSE(FindDisplayEmoticon("ab:) (^)", 8, match));
    EXPECT_FALSE(FindDisplayEmoticon("ab", 5, match));
}

TEST(EmoticonDisplayTest, SplitsTextIntoRuns)
{
    // "你好:)再见(tv)" in GBK.
    const std::string text = "\xC4\xE3\xBA\xC3:)\xD4\xD9\xBC\xFB(tv)";
    const std::vector<TRun> runs = Runs(text);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(runs[0].picture, -1);
    EXPECT_EQ(runs[1].picture, 0);
    EXPECT_EQ(runs[1].text, ":)");
    EXPECT_EQ(runs[2].text, "\xD4\xD9\xBC\xFB");
    EXPECT_EQ(runs[3].picture, 35);
    EXPECT_TRUE(SplitEmoticonRuns("").empty());
    const std::vector<TRun> two = Runs(":):)");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].picture, 0);
}

TEST(EmoticonDisplayTest, CodesAtTheVeryEnd)
{
    std::vector<TRun> runs = Runs("abc:)");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "abc");
    EXPECT_EQ(runs[1].picture, 0);
    // Cut codes at the end stay text.
    for (const char* text : {"abc:", "abc(tv", "abc^o", "(", ":-"}) {
        runs = Runs(text);
        ASSERT_EQ(runs.size(), 1u) << text;
        EXPECT_EQ(runs[0].picture, -1);
        EXPECT_EQ(runs[0].text, text);
    }
    // A counted text ending in the middle of a code is not read past its end.
    const std::string buffer = "xx(so)";
    runs = Runs(std::string_view(buffer).substr(0, 5));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].picture, -1);
}

TEST(EmoticonDisplayTest, CodesStartOnlyOnCharacterBoundaries)
{
    // 0x81 0x5E is one double-byte character whose second byte is "^".
    EXPECT_EQ(Runs("\x81^o)").size(), 1u);
    EXPECT_EQ(PictureOf("^o)"), 18);
    // A lead byte followed by ASCII still steps over both bytes; a lone lead
    // byte at the end is one byte.
    const std::vector<TRun> runs = Runs("\xC4\xE3^o)\xFF");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].picture, 18);
    EXPECT_EQ(runs[2].text, "\xFF");
}

TEST(EmoticonInputTest, TypedCodes)
{
    TTypedEmoticon found;
    ASSERT_TRUE(FindTypedEmoticon("ab:)", found));
    EXPECT_EQ(found.index, 0);
    EXPECT_EQ(found.pos, 2u);
    EXPECT_EQ(found.length, 2u);
    // Typed codes are case-sensitive.
    EXPECT_FALSE(FindTypedEmoticon("ab:d", found));
    // The lowest index wins even when it comes later in the text.
    ASSERT_TRUE(FindTypedEmoticon("(H) x :D :D", found));
    EXPECT_EQ(found.index, 1);
    EXPECT_EQ(found.pos, 6u);
    EXPECT_FALSE(FindTypedEmoticon("\x81^o)", found));
    EXPECT_FALSE(FindTypedEmoticon("", found));

    EXPECT_EQ(EmoticonCodeEndingAt("hi:)", 4), 0);
    EXPECT_EQ(EmoticonCodeEndingAt("hi:'(", 5), 12);
    EXPECT_EQ(EmoticonCodeEndingAt("(so)", 4), 27);
    EXPECT_EQ(EmoticonCodeEndingAt("a:)b", 3), 0);
    EXPECT_EQ(EmoticonCodeEndingAt("a:)b", 4), -1);
    EXPECT_EQ(EmoticonCodeEndingAt("a:)", 9), -1);
    EXPECT_EQ(EmoticonCodeEndingAt(":", 1), -1);
    EXPECT_EQ(EmoticonCodeEndingAt("\x81^o)", 4), -1);
    EXPECT_EQ(EmoticonCodeEndingAt(":d", 2), -1);
}

} // namespace
