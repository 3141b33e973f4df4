#include "conversation/ChatText.h"

#include <algorithm>

#include "common/TextFunctions.h"

namespace tarvolan {

namespace {

constexpr int kSummaryBytes = 10;

bool IsPrintable(char c)
{
    return c >= '!' && c <= 'z';
}

// Start of the character that holds byte pos.
int CharStartAtOrBefore(const CString& text, int pos)
{
    int start = 0;
    for (int p = 0; p < text.GetLength(); p += static_cast<int>(GbkCharLength(text.view(), static_cast<size_t>(p)))) {
        if (p > pos) break;
        start = p;
    }
    return std::min(start, pos);
}

// End of the character that holds byte pos - 1 (pos itself when it starts one).
int CharEndAtOrAfter(const CString& text, int pos)
{
    int p = 0;
    while (p < pos && p < text.GetLength()) p += static_cast<int>(GbkCharLength(text.view(), static_cast<size_t>(p)));
    return std::min(p, text.GetLength());
}

} // namespace

CString MessageSummary(const CString& text)
{
    CString summary;
    const int length = text.GetLength();
    int i = 0;
    while (i < kSummaryBytes && i < length) {
        const char c = text[i];
        const bool hasNext = i + 1 < length;
        const char next = hasNext ? text[i + 1] : '\0';
        if (IsPrintable(c)) {
            summary += c;
            i += 1;
        } else if (hasNext && IsPrintable(next)) {
            i += 1;
        } else if (c == '\r' && next == '\n') {
            break;
        } else {
            summary += c;
            if (hasNext) summary += next;
            i += 2;
        }
    }
    return summary;
}

void RestoreEmoticonCodes(CString& text, const CString& map, const CString* codes, int count)
{
    int offset = 0;
    for (int i = 0; i < map.GetLength(); ++i) {
        const unsigned char mark = static_cast<unsigned char>(map[i]);
        if (mark == static_cast<unsigned char>(kMapTextByte)) continue;
        const int pos = i + offset;
        if (pos >= text.GetLength()) break;
        const int index = mark - 1;
        if (index < 0 || index >= count || text[pos] != kMapPlaceholder) continue;
        const CString& code = codes[index];
        text.Delete(pos, 1);
        text.Insert(pos, code);
        offset += code.GetLength() - 1;
    }
}

void ChangePictureMap(CString& map, int start, int removed, const CString& added)
{
    start = std::clamp(start, 0, map.GetLength());
    removed = std::clamp(removed, 0, map.GetLength() - start);
    map.Delete(start, removed);
    map.Insert(start, added);
}

TByteRange ExcessRange(const CString& text, int caret, int limit)
{
    TByteRange range;
    const int length = text.GetLength();
    const int excess = length - limit;
    if (excess <= 0) return range;
    caret = std::clamp(caret, 0, length);
    range.start = caret - excess;
    range.end = caret;
    if (range.start < 0) {
        range.end = std::min(length, caret - range.start);
        range.start = 0;
    }
    range.start = CharStartAtOrBefore(text, range.start);
    range.end = CharEndAtOrAfter(text, range.end);
    return range;
}

} // namespace tarvolan
