// UTF-8 to GBK: whatever has no GBK form becomes exactly one '?', wherever it
// stands and however many bytes it takes.
#include "common/GbkString.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarvolan;

namespace {

struct TSample {
    const char* name;
    std::string utf8;
};

// One character each, as far as the '?' count goes.
const TSample kNoGbkForm[] = {
    {"two-byte letter", "\xC4\x80"},              // U+0100
    {"three-byte syllable", "\xED\x95\x9C"},      // U+D55C
    {"three-byte symbol", "\xE2\x9C\x93"},        // U+2713
    {"four-byte emoji", "\xF0\x9F\x98\x80"},      // U+1F600
    {"four-byte ideograph", "\xF0\xA0\x80\x80"},  // U+20000
    {"last code point", "\xF4\x8F\xBF\xBF"},      // U+10FFFF
    {"high surrogate", "\xED\xA0\xBD"},
    {"low surrogate", "\xED\xB8\x80"},
    {"beyond the last code point", "\xF4\x90\x80\x80"},
    {"overlong slash", "\xC0\xAF"},
    {"stray continuation byte", "\x80"},
    {"byte that starts nothing", "\xFF"},
    {"emoji cut short", "\xF0\x9F\x98"},
    {"ideograph cut short", "\xE4\xB8"},
    // The tag characters U+E0000..U+E007F, which iconv drops without an
    // error, and their neighbours.
    {"first tag character", "\xF3\xA0\x80\x80"},   // U+E0000
    {"language tag", "\xF3\xA0\x80\x81"},          // U+E0001
    {"tag letter", "\xF3\xA0\x81\x81"},            // U+E0041
    {"cancel tag", "\xF3\xA0\x81\xBF"},            // U+E007F
    {"after the tags", "\xF3\xA0\x82\x80"},        // U+E0080
    {"tag cut short", "\xF3\xA0\x81"},
    {"next line", "\xC2\x85"},                     // U+0085
    {"line separator", "\xE2\x80\xA8"},           // U+2028
    {"paragraph separator", "\xE2\x80\xA9"},      // U+2029
};

TEST(Utf8ToGbkTest, OneMarkPerCharacterWithoutGbkForm)
{
    // Neighbours of every kind: nothing, ASCII, a Chinese character, a
    // character whose GBK trail byte is '@', and a literal '?'.
    const std::string neighbours[] = {"", "a", "\xE4\xB8\xAD", "\xE4\xB8\x82", "?"};
    for (const TSample& bad : kNoGbkForm) {
        for (const std::string& before : neighbours) {
            for (const std::string& after : neighbours) {
                SCOPED_TRACE(std::string(bad.name) + " between \"" + before + "\" and \"" + after + "\"");
                const CString expected = Utf8ToGbk(before) + "?" + Utf8ToGbk(after);
                EXPECT_EQ(Utf8ToGbk(before + bad.utf8 + after), expected);
                // Twice in a row: two marks.
                EXPECT_EQ(Utf8ToGbk(before + bad.utf8 + bad.utf8 + after),
                          Utf8ToGbk(before) + "??" + Utf8ToGbk(after));
            }
        }
    }
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80\xE4\xB8\xAD"), "a?\xD6\xD0");
    // A flag of tags: the black flag, five tag letters and the cancel tag.
    EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x8F\xB4\xF3\xA0\x81\xA7\xF3\xA0\x81\xA2\xF3\xA0\x81\xA5"
                        "\xF3\xA0\x81\xAE\xF3\xA0\x81\xA7\xF3\xA0\x81\xBF"),
              "???????");
    // A GBK byte without a character is still one mark a byte.
    EXPECT_EQ(GbkToUtf8("a\xFF\xFF"), "a??");
}

} // namespace
