#include "common/MessageMarkup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace tarvolan;

namespace {

TCharFormat ChatFormat(uint32_t effects, int height, const char* face, COLORREF color)
{
    TCharFormat f;
    f.dwMask = CFM_ALL;
    f.dwEffects = effects;
    f.yHeight = height;
    f.crTextColor = color;
    std::strncpy(f.szFaceName, face, sizeof(f.szFaceName) - 1);
    return f;
}

void ExpectDefault(const TCharFormat& f)
{
    EXPECT_EQ(f.dwEffects, 0u);
    EXPECT_EQ(f.yHeight, 180);
    EXPECT_EQ(f.crTextColor, 0u);
    EXPECT_EQ(f.dwMask, CFM_EFFECTS | CFM_SIZE | CFM_COLOR);
    EXPECT_STREQ(f.szFaceName, "");
}

TEST(MessageMarkupTest, ReadsTheSendersFormat)
{
    const TMessageMarkup m = ReadMessageMarkup(
        "<property bold=\"1\" size=\"240\" face=\"Arial\" color=\"0x000000FF\" ></property>Hello");
    EXPECT_EQ(m.text, "Hello");
    EXPECT_EQ(m.format.dwEffects, static_cast<uint32_t>(CFE_BOLD));
    EXPECT_EQ(m.format.yHeight, 240);
    EXPECT_STREQ(m.format.szFaceName, "Arial");
    EXPECT_EQ(m.format.crTextColor, RGBColor(255, 0, 0));
    EXPECT_EQ(m.format.dwMask, CFM_ALL);

    const TMessageMarkup all = ReadMessageMarkup(
        "<property strikeout=\"1\" underline=\"1\" italic=\"1\" bold=\"true\" size='300' color=ff00></property>x");
    EXPECT_EQ(all.format.dwEffects, static_cast<uint32_t>(CFE_STRIKEOUT | CFE_UNDERLINE | CFE_ITALIC));
    EXPECT_EQ(all.format.yHeight, 300);
    EXPECT_EQ(all.format.crTextColor, 0xFF00u);
}

TEST(MessageMarkupTest, FallsBackToTheDefaultFormat)
{
    // No end tag: everything is text.
    TMessageMarkup m = ReadMessageMarkup("just <b>text</b>");
    EXPECT_EQ(m.text, "just <b>text</b>");
    ExpectDefault(m.format);
    // Another element name, a nested property element, a mangled name.
    for (const char* message : {"<prop size=\"300\"></property>t",
                                "<msg><property size=\"300\"></property>t",
                                "<<property size=\"300\"></property>t"}) {
        m = ReadMessageMarkup(message);
        EXPECT_EQ(m.text, "t") << message;
        ExpectDefault(m.format);
    }
    // The first end tag splits: the writer's own comes first.
    m = ReadMessageMarkup("<property ></property>a</property>b");
    EXPECT_EQ(m.text, "a</property>b");
    // A size that is no number gives 0; empty values keep the defaults.
    m = ReadMessageMarkup("<property size=\"abc\" color=\"\" face=\"\"></property>");
    EXPECT_EQ(m.format.yHeight, 0);
    EXPECT_EQ(m.format.crTextColor, 0u);
    EXPECT_EQ(m.format.dwMask & CFM_FACE, 0u);
    m = ReadMessageMarkup("<property size=\"-12pt\" color=\"0xFFFFFFFFFF\"></property>");
    EXPECT_EQ(m.format.yHeight, -12);
    EXPECT_EQ(m.format.crTextColor, 0xFFFFFFFFu);
}

TEST(MessageMarkupTest, LongValuesStayInsideTheirBuffers)
{
    // 40 double-byte characters: the face keeps 15 of them (30 bytes).
    std::string face;
    for (int i = 0; i < 40; ++i) face += "\xCB\xCE";
    TMessageMarkup m = ReadMessageMarkup("<property face=\"" + face + "\"></property>");
    EXPECT_EQ(std::strlen(m.format.szFaceName), 30u);
    EXPECT_EQ(std::string(m.format.szFaceName), face.substr(0, 30));
    m = ReadMessageMarkup("<property face=\"" + std::string(100, 'F') + "\" size=\"" +
                          std::string(100, '9') + "\"></property>");
    EXPECT_EQ(std::string(m.format.szFaceName), std::string(31, 'F'));
    EXPECT_EQ(m.format.yHeight, 2147483647);
    // An effect value cut to the buffer is still not "1".
    m = ReadMessageMarkup("<property bold=\"1" + std::string(100, ' ') + "\"></property>");
    EXPECT_EQ(m.format.dwEffects, 0u);
}

TEST(MessageMarkupTest, WritesThePropertyElement)
{
    EXPECT_EQ(BuildPropertyElement(nullptr), "<property ></property>");
    TCharFormat plain = ChatFormat(0, 180, "SimSun", RGBColor(0, 0, 255));
    EXPECT_EQ(BuildPropertyElement(&plain),
              "<property size=\"180\" face=\"SimSun\" color=\"0x00ff0000\" ></property>");
    TCharFormat all = ChatFormat(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT, 240, "Arial", 0x123456);
    const CString element = BuildPropertyElement(&all);
    EXPECT_EQ(element,
              "<property strikeout=\"1\" underline=\"1\" italic=\"1\" bold=\"1\" size=\"240\" "
              "face=\"Arial\" color=\"0x00123456\" ></property>");
    // What is written reads back the same.
    const TMessageMarkup m = ReadMessageMarkup(element + "text");
    EXPECT_EQ(m.text, "text");
    EXPECT_EQ(m.format.dwEffects, all.dwEffects);
    EXPECT_EQ(m.format.yHeight, 240);
    EXPECT_STREQ(m.format.szFaceName, "Arial");
    EXPECT_EQ(m.format.crTextColor, 0x123456u);
    // A face field without a terminator is read within its size.
    std::memset(all.szFaceName, 'Z', sizeof(all.szFaceName));
    EXPECT_NE(BuildPropertyElement(&all).Find(("face=\"" + std::string(32, 'Z') + "\" ").c_str()), -1);
}

TEST(MessageMarkupTest, PresetAndGreyElements)
{
    EXPECT_EQ(ReadMessageMarkup(PresetPropertyElement(0)).format.crTextColor, 0xFFFFFFu);
    // 0x00BBGGRR: preset 1 is blue, 3 is red.
    EXPECT_EQ(ReadMessageMarkup(PresetPropertyElement(1)).format.crTextColor, RGBColor(0, 0, 255));
    EXPECT_EQ(ReadMessageMarkup(PresetPropertyElement(2)).format.crTextColor, RGBColor(0, 255, 0));
    EXPECT_EQ(ReadMessageMarkup(PresetPropertyElement(3)).format.crTextColor, RGBColor(255, 0, 0));
    EXPECT_EQ(PresetPropertyElement(7), PresetPropertyElement(0));
    EXPECT_EQ(PresetPropertyElement(-1), PresetPropertyElement(0));

    EXPECT_EQ(WithPresetElement("hi", 1), "<property color=\"0xff0000\"></property>hi");
    EXPECT_EQ(WithPresetElement("<property ></property>hi", 1), "<property ></property>hi");
    EXPECT_EQ(StripPropertyElement("<property ></property>hi"), "hi");
    EXPECT_EQ(StripPropertyElement("hi"), "hi");

    const TMessageMarkup grey = ReadMessageMarkup(CString(kGreyPropertyElement) + "old");
    EXPECT_EQ(grey.text, "old");
    EXPECT_EQ(grey.format.yHeight, 180);
    EXPECT_STREQ(grey.format.szFaceName, "Times New Roman");
    EXPECT_EQ(grey.format.crTextColor, RGBColor(128, 128, 128));
}

} // namespace
