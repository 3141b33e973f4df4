// Text work of the conversation window: summaries, picture codes, the
// picture map and the length limit's range, at the edges of their texts.
#include "conversation/ChatText.h"

#include <gtest/gtest.h>

#include "common/Emoticons.h"

using namespace tarvolan;

namespace {

CString Gbk(const char* utf8)
{
    return Utf8ToGbk(utf8);
}

TEST(MessageSummaryTest, TakesPrintableBytesSkipsSeparatorsAndStopsAtLineBreaks)
{
    EXPECT_EQ(MessageSummary("hello world, again"), CString("helloworl"));
    EXPECT_EQ(MessageSummary("ab\r\ncd"), CString("ab"));
    EXPECT_EQ(MessageSummary(Gbk("你好世界和平万岁")), Gbk("你好世界和"));  // pairs, 10 bytes
    EXPECT_EQ(MessageSummary("<b>"), CString("<b>"));
    EXPECT_EQ(MessageSummary(""), CString());
}

TEST(MessageSummaryTest, NeverReadsPastAShortText)
{
    EXPECT_EQ(MessageSummary("a"), CString("a"));
    EXPECT_EQ(MessageSummary("a "), CString("a "));          // a last blank: no byte after it
    EXPECT_EQ(MessageSummary("\r"), CString("\r"));
    const std::string lead(1, '\xD6');                      // half a double-byte character at the end
    EXPECT_EQ(MessageSummary(CString("xyz" + lead)).str(), "xyz" + lead);
    EXPECT_EQ(MessageSummary(Gbk("123456789中")), Gbk("123456789中"));  // the pair at byte 9 stays whole
}

TEST(RestoreEmoticonCodesTest, EveryPictureBecomesItsCode)
{
    CString codes[kEmoticonCount];
    for (int i = 0; i < kEmoticonCount; ++i) codes[i] = EmoticonCode(i);
    CString text = "a b ";
    RestoreEmoticonCodes(text, CString(std::string("E\x18" "E\x01")), codes, kEmoticonCount);
    EXPECT_EQ(text, CString("a(L)b:)"));

    CString only = " ";
    RestoreEmoticonCodes(only, CString(std::string("\x24")), codes, kEmoticonCount);  // index 35
    EXPECT_EQ(only, CString("(tv)"));
}

TEST(RestoreEmoticonCodesTest, StaysWithinTheText)
{
    CString codes[kEmoticonCount];
    for (int i = 0; i < kEmoticonCount; ++i) codes[i] = EmoticonCode(i);
    CString text = " ";
    RestoreEmoticonCodes(text, CString(std::string("\x01\x02\x03")), codes, kEmoticonCount);  // map too long
    EXPECT_EQ(text, CString(":)"));
    CString notPlaceholder = "x";
    RestoreEmoticonCodes(notPlaceholder, CString(std::string("\x01")), codes, kEmoticonCount);
    EXPECT_EQ(notPlaceholder, CString("x"));
    CString unknown = " ";
    RestoreEmoticonCodes(unknown, CString(std::string("\x7F")), codes, kEmoticonCount);
    EXPECT_EQ(unknown, CString(" "));
}

TEST(ChangePictureMapTest, PositionsAreHeldToTheMap)
{
    CString map = "EEEE";
    ChangePictureMap(map, 1, 2, CString(std::string("\x05")));
    EXPECT_EQ(map.str(), std::string("E\x05" "E"));
    ChangePictureMap(map, 10, 5, "EE");  // behind the end: appended
    EXPECT_EQ(map.str(), std::string("E\x05" "EEE"));
    ChangePictureMap(map, -3, 100, "E");  // everything replaced
    EXPECT_EQ(map, CString("E"));
}

TEST(ExcessRangeTest, TrimsTheExcessBeforeTheCaret)
{
    const CString text(std::string(405, 'a'));
    const TByteRange range = ExcessRange(text, 300, 400);
    EXPECT_EQ(range.start, 295);
    EXPECT_EQ(range.end, 300);
    const TByteRange none = ExcessRange(CString(std::string(400, 'a')), 400, 400);
    EXPECT_EQ(none.end - none.start, 0);
}

TEST(ExcessRangeTest, StartBelowZeroTakesTheRestBehindTheCaret)
{
    const CString text(std::string(500, 'a'));
    const TByteRange range = ExcessRange(text, 30, 400);
    EXPECT_EQ(range.start, 0);
    EXPECT_EQ(range.end, 100);
    const TByteRange atStart = ExcessRange(text, -5, 400);
    EXPECT_EQ(atStart.start, 0);
    EXPECT_EQ(atStart.end, 100);
}

TEST(ExcessRangeTest, ASplitDoubleByteCharacterGoesWhole)
{
    const CString text = CString(std::string(399, 'a')) + Gbk("中");  // 401 bytes
    const TByteRange range = ExcessRange(text, 401, 400);
    EXPECT_EQ(range.start, 399);
    EXPECT_EQ(range.end, 401);
    const CString atFront = Gbk("中") + CString(std::string(399, 'b'));
    const TByteRange behind = ExcessRange(atFront, 0, 400);  // 1 byte behind the caret: half a character
    EXPECT_EQ(behind.start, 0);
    EXPECT_EQ(behind.end, 2);
}

} // namespace
