#include "common/Emoticons.h"

#include "common/TextFunctions.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tarvolan {

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

// The display rows grouped by the case-folded first two bytes of their code
// (every code has at least two), each group in table order, so that one
// position is tried against only the few rows that can start there.
class CDisplayDispatch {
public:
    CDisplayDispatch()
    {
        for (int r = 0; r < kEmoticonDisplayRowCount; ++r) {
            const char* code = g_EmoticonDisplayTable[r].code;
            m_Length[static_cast<size_t>(r)] = static_cast<uint8_t>(std::strlen(code));
            const unsigned char first = Folded(code[0]);
            if (m_Page[first] == 0) {
                m_Pages.push_back({});
                m_Page[first] = static_cast<uint8_t>(m_Pages.size());
            }
        }
        // Rows are appended in table order within each two-byte group.
        for (size_t page = 0; page < m_Pages.size(); ++page) {
            for (int second = 0; second < 256; ++second) {
                TSlice& slice = m_Pages[page][static_cast<size_t>(second)];
                slice.first = static_cast<uint8_t>(m_Rows.size());
                for (int r = 0; r < kEmoticonDisplayRowCount; ++r) {
                    const char* code = g_EmoticonDisplayTable[r].code;
                    if (m_Page[Folded(code[0])] == page + 1 && Folded(code[1]) == second)
                        m_Rows.push_back(static_cast<uint8_t>(r));
                }
                slice.count = static_cast<uint8_t>(m_Rows.size() - slice.first);
            }
        }
    }

    // Table entry of the earliest row whose code starts at pos; -1 when none.
    int RowAt(std::string_view text, size_t pos) const
    {
        const uint8_t page = m_Page[Folded(text[pos])];
        if (page == 0 || pos + 1 >= text.size()) return -1;
        const TSlice slice = m_Pages[page - 1u][Folded(text[pos + 1])];
        const size_t rest = text.size() - pos;
        for (int i = 0; i < slice.count; ++i) {
            const int row = m_Rows[static_cast<size_t>(slice.first + i)];
            const size_t length = m_Length[static_cast<size_t>(row)];
            if (length <= rest &&
                EqualsNoCase(text.data() + pos + 2, g_EmoticonDisplayTable[row].code + 2, length - 2))
                return row;
        }
        return -1;
    }

    size_t Length(int row) const { return m_Length[static_cast<size_t>(row)]; }

private:
    struct TSlice {
        uint8_t first = 0;
        uint8_t count = 0;
    };
    static unsigned char Folded(char c) { return static_cast<unsigned char>(FoldCase(c)); }

    std::array<uint8_t, 256> m_Page{};  // 1-based page of a first byte, 0 for none
    std::vector<std::array<TSlice, 256>> m_Pages;
    std::vector<uint8_t> m_Rows;
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
    ForEachEmoticonRun(text, [&runs](const TEmoticonRun& run) { runs.push_back(run); });
    return runs;
}

bool FindTypedEmoticon(std::string_view text, TTypedEmoticon& found)
{
    for (int i = 0; i < kEmoticonCount; ++i) {
        const size_t pos = FindAtCharStart(text, kEmoticonCodes[i]);
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

} // namespace tarvolan
