// Emoticon codes and the search that turns codes in shown text into pictures.
// Emoticon index 0..39 names the picture; the display table lists every code
// that is shown as a picture, in search order, with the picture it shows.
#pragma once

#include "common/GbkString.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarvolan {

inline constexpr int kEmoticonCount = 40;
inline constexpr int kEmoticonDisplayRowCount = 61;

// A row of the display table; the picture is value % kEmoticonCount.
struct TEmoticonDisplayRow {
    const char* code;
    int value;
};
// The display table in search order (entry 0 is the first row).
extern const TEmoticonDisplayRow g_EmoticonDisplayTable[kEmoticonDisplayRowCount];

// Code of emoticon index (0..39) as the picker offers it; "" for any other index.
const char* EmoticonCode(int index);

// A display code found in a text.
struct TEmoticonMatch {
    size_t pos = 0;     // byte position of the code
    size_t length = 0;  // bytes of the code
    int picture = -1;   // emoticon index shown
    int row = -1;       // display table entry that matched
};

// Earliest display code at or after from (from must start a character): ASCII
// letters compare without case, the earlier table row wins at equal positions,
// and codes only start on GBK character boundaries. One left-to-right pass.
bool FindDisplayEmoticon(std::string_view text, size_t from, TEmoticonMatch& match);

// A piece of shown text, as a byte range of the text that was split: plain
// text (picture -1) or one emoticon code that is shown as a picture.
struct TEmoticonRun {
    size_t pos = 0;
    size_t length = 0;
    int picture = -1;
};
// Calls onRun(const TEmoticonRun&) for each run of text in order, without
// collecting them; empty text gives no run.
template <class F>
void ForEachEmoticonRun(std::string_view text, F&& onRun);
// Splits text into plain-text runs and pictures in order; empty text gives no run.
std::vector<TEmoticonRun> SplitEmoticonRuns(std::string_view text);

// A typed code found in the input.
struct TTypedEmoticon {
    int index = -1;  // emoticon index
    size_t pos = 0;  // byte position of its first occurrence
    size_t length = 0;
};
// The code of the lowest emoticon index that occurs in text (case-sensitive),
// at its first occurrence; false when the text holds no code.
bool FindTypedEmoticon(std::string_view text, TTypedEmoticon& found);
// Lowest emoticon index whose code ends exactly at byte position end
// (case-sensitive, starting on a character boundary); -1 when none does.
int EmoticonCodeEndingAt(std::string_view text, size_t end);

template <class F>
void ForEachEmoticonRun(std::string_view text, F&& onRun)
{
    size_t done = 0;
    TEmoticonMatch match;
    while (FindDisplayEmoticon(text, done, match)) {
        if (match.pos > done) onRun(TEmoticonRun{done, match.pos - done, -1});
        onRun(TEmoticonRun{match.pos, match.length, match.picture});
        done = match.pos + match.length;
    }
    if (done < text.size()) onRun(TEmoticonRun{done, text.size() - done, -1});
}

} // namespace tarvolan
