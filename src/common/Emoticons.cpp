#include "common/Emoticons.h"

#include "common/TextFunctions.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr const char* kEmoticonCodes[kEmoticonCount] = {
    ":)",  ":D",   ";)",  ":P",  "(H)", ":@",  "(A)", ":S",  ":$",   ":(",
    ":T",  ":H",   ":'(", ":Z",  ":X",  ":}",  ":L",  ":V",  "^o)",  ":{",
    ":C",  ":|",   "(P)", "(L)", "(U)", "(@)", "(~)", "(so)", "(^)", "(#)",
    "(S)", "(*)",  "(F)", "(W)", "(O)", "(tv)", "(I)", "(C)", "(T)", "(E)",
};

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

// The display rows grouped by the case-folded first byte of their code, each
// group in table order, so that one position is tried against only the rows
// that can start there.
class CDisplayDispatch {
public:
    CDisplayDispatch()
    {
        int next = 0;
        for (int b = 0; b < 256; ++b) {
            m_First[b] = static_cast<uint8_t>(next);
            for (int r = 0; r < kEmoticonDisplayRowCount; ++r) {
                const char* code = g_EmoticonDisplayTable[r].code;
                if (static_cast<unsigned char>(FoldCase(code[0])) == b) {
                    m_Rows[static_cast<size_t>(next++)] = static_cast<uint8_t>(r);
                    m_Length[static_cast<size_t>(r)] = static_cast<uint8_t>(std::strlen(code));
                }
            }
            m_Count[b] = static_cast<uint8_t>(next - m_First[b]);
        }
    }

    // Table entry of the earliest row whose code starts at pos; -1 when none.
    int RowAt(std::string_view text, size_t pos) const
    {
        const unsigned char b = static_cast<unsigned char>(FoldCase(text[pos]));
        const size_t rest = text.size() - pos;
        for (int i = 0; i < m_Count[b]; ++i) {
            const int row = m_Rows[static_cast<size_t>(m_First[b] + i)];
            const size_t length = m_Length[static_cast<size_t>(row)];
            if (length <= rest &&
                EqualsNoCase(text.data() + pos, g_EmoticonDisplayTable[row].code, length))
                return row;
        }
        return -1;
    }

    size_t Length(int row) const { return m_Length[static_cast<size_t>(row)]; }

private:
    std::array<uint8_t, 256> m_First{};
    std::array<uint8_t, 256> m_Count{};
    std::array<uint8_t, kEmoticonDisplayRowCount> m_Rows{};
    std::array<uint8_t, kEmoticonDisplayRowCount> m_Length{};
};

const CDisplayDispatch& DisplayDispatch()
{
    static const CDisplayDispatch dispatch;
    return dispatch;
}

bool StartsWith(std::string_view text, size_t pos, std::string_view code)
{
    return text.size() - pos >= code.size() && text.compare(pos, code.size(), code) == 0;
}

// First position, on a character boundary, where code occurs (case-sensitive).
size_t FindCode(std::string_view text, std::string_view code)
{
    for (size_t p = 0; p < text.size(); p += GbkCharLength(text, p)) {
        if (StartsWith(text, p, code)) return p;
    }
    return std::string_view::npos;
}

} // namespace

// Rows that follow an identical earlier row (":}", "(^)") or that differ from
// an earlier row only in letter case (":c", ":x", ":l", ":z", ":t") never win;
// they are kept so that the table reads as it is defined. Stored values of 40
// and 59 show pictures 0 and 19.
const TEmoticonDisplayRow g_EmoticonDisplayTable[kEmoticonDisplayRowCount] = {
    {"(^)", 28}, {"(D)", 40}, {":-)", 2},   {":)", 0},    {":>", 4},   {":->", 5},
    {":-D", 6},  {":D", 1},   {":-P", 8},   {":P", 3},    {";-)", 10}, {";)", 2},
    {":(", 9},   {":-S", 12}, {":S", 7},    {":-|", 14},  {":|", 21},  {":'(", 12},
    {":-$", 17}, {":$", 8},   {"(H)", 4},   {":-@", 20},  {":@", 5},   {"(A)", 6},
    {":{", 19},  {":}", 15},  {":C", 20},   {":c", 26},   {":V", 17},  {":\\", 28},
    {":X", 14},  {":x", 30},  {":L", 16},   {":l", 32},   {"^o)", 18}, {"^0)", 34},
    {":Z", 13},  {":z", 36},  {":}", 15},   {":H", 11},   {":T", 10},  {":t", 40},
    {"(^)", 28}, {"(so)", 27}, {"(L)", 23}, {"(U)", 24},  {"(F)", 32}, {"(W)", 33},
    {"(P)", 22}, {"(T)", 38}, {"(tv)", 35}, {"(@)", 25},  {"(~)", 26}, {"(C)", 37},
    {"(I)", 36}, {"(#)", 29}, {"(S)", 30},  {"(*)", 31},  {"(E)", 39}, {"(0)", 59},
    {"(O)", 34},
};

const char* EmoticonCode(int index)
{
    return (index >= 0 && index < kEmoticonCount) ? kEmoticonCodes[index] : "";
}

bool FindDisplayEmoticon(std::string_view text, size_t from, TEmoticonMatch& match)
{
    const CDisplayDispatch& dispatch = DisplayDispatch();
    for (size_t p = from; p < text.size(); p += GbkCharLength(text, p)) {
        const int row = dispatch.RowAt(text, p);
        if (row < 0) continue;
        match.pos = p;
        match.length = dispatch.Length(row);
        match.picture = g_EmoticonDisplayTable[row].value % kEmoticonCount;
        match.row = row;
        return true;
    }
    return false;
}

std::vector<TEmoticonRun> SplitEmoticonRuns(std::string_view text)
{
    std::vector<TEmoticonRun> runs;
    size_t done = 0;
    TEmoticonMatch match;
    while (FindDisplayEmoticon(text, done, match)) {
        if (match.pos > done) runs.push_back({CString(text.substr(done, match.pos - done)), -1});
        runs.push_back({CString(text.substr(match.pos, match.length)), match.picture});
        done = match.pos + match.length;
    }
    if (done < text.size()) runs.push_back({CString(text.substr(done)), -1});
    return runs;
}

bool FindTypedEmoticon(std::string_view text, TTypedEmoticon& found)
{
    for (int i = 0; i < kEmoticonCount; ++i) {
        const size_t pos = FindCode(text, kEmoticonCodes[i]);
        if (pos == std::string_view::npos) continue;
        found.index = i;
        found.pos = pos;
        found.length = std::strlen(kEmoticonCodes[i]);
        return true;
    }
    return false;
}

int EmoticonCodeEndingAt(std::string_view text, size_t end)
{
    if (end > text.size()) return -1;
    for (int i = 0; i < kEmoticonCount; ++i) {
        const std::string_view code = kEmoticonCodes[i];
        if (code.size() > end) continue;
        const size_t start = end - code.size();
        if (StartsWith(text, start, code) && IsCharBoundary(text, start)) return i;
    }
    return -1;
}
