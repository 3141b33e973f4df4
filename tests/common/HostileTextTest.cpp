// Random texts made of the bytes that matter to the parsers (markup, quotes,
// code characters, GBK lead bytes, zeros), run through every reader. Under the
// sanitizer build this checks that no reader leaves its text; everywhere it
// checks that the emoticon runs cover the text exactly.
#include "common/Emoticons.h"
#include "common/MessageMarkup.h"
#include "common/TagReader.h"
#include "common/TextFunctions.h"
#include "common/TimeText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

using namespace tarvolan;

namespace {

std::string RandomText(std::mt19937& rng, size_t maxLength)
{
    static const char kBytes[] = "<>/!?\"'= \t\r\n:;()^-|\\$@{}pPsStTv0oa1xX\x81\xC4\xE3\xFE\xFF\x7F";
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, sizeof(kBytes) - 1);  // includes the zero
    std::string text(length(rng), ' ');
    for (char& c : text) c = kBytes[pick(rng)];
    if (rng() % 3 == 0) text.insert(std::min(text.size(), size_t{rng() % 8}), "<property ");
    if (rng() % 2 == 0) text.insert(text.size() / 2, kPropertyEndTag);
    return text;
}

TEST(HostileTextTest, EveryReaderStaysInsideItsText)
{
    std::mt19937 rng(20240611);
    CTagReader reader;
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(rng, 120);
        const CString counted(text);

        const TMessageMarkup markup = ReadMessageMarkup(counted);
        EXPECT_LT(std::strlen(markup.format.szFaceName), sizeof(markup.format.szFaceName));
        EXPECT_LE(markup.text.GetLength(), counted.GetLength());

        if (reader.Load(text)) {
            CString value;
            reader.GetAttribute("size", value);
            reader.GetText(value);
            while (reader.IntoElement()) reader.GetAttribute("p", value);
            reader.ResetPos();
            reader.FindElement("p");
        }

        size_t covered = 0;
        for (const TEmoticonRun& run : SplitEmoticonRuns(text)) {
            EXPECT_EQ(run.pos, covered);
            EXPECT_GT(run.length, 0u);
            covered += run.length;
        }
        EXPECT_EQ(covered, text.size());

        TTypedEmoticon typed;
        if (FindTypedEmoticon(text, typed)) {
            EXPECT_LE(typed.pos + typed.length, text.size());
        }
        for (size_t end = 0; end <= text.size() + 1; ++end) EmoticonCodeEndingAt(text, end);

        InternetTimeToLocalString(counted);
        for (int part = -1; part <= 6; ++part) GetURIField(counted, part);
        EXPECT_EQ(XmlUnescape(XmlEscape(counted)).GetLength() >= 0, true);
    }
}

} // namespace
