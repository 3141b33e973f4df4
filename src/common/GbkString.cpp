#include "common/GbkString.h"

#include <algorithm>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tarvolan {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The converters of this thread, one per pair of encodings, opened on first
// use and kept: opening one costs more than converting a short text.
class CConverters {
public:
    ~CConverters()
    {
        for (const TEntry& e : m_entries) iconv_close(e.cd);
    }
    // The converter, reset to its initial state; (iconv_t)-1 when none.
    iconv_t Get(const char* to, const char* from)
    {
        for (const TEntry& e : m_entries) {
            if (e.to == to && e.from == from) {
                iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
                return e.cd;
            }
        }
        iconv_t cd = iconv_open(to, from);
        if (cd != reinterpret_cast<iconv_t>(-1)) m_entries.push_back({to, from, cd});
        return cd;
    }

private:
    struct TEntry {
        std::string to, from;
        iconv_t cd;
    };
    std::vector<TEntry> m_entries;
};

// Bytes of the UTF-8 character that starts text: as many as its lead byte
// announces, cut short at the first byte that does not continue it. A byte
// that starts no character is one on its own.
size_t Utf8CharLength(std::string_view text)
{
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const size_t announced = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    size_t length = 1;
    while (length < announced && length < text.size() &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

// A GBK byte that cannot be converted is taken one byte at a time.
size_t OneByte(std::string_view) { return 1; }

// Converts between two encodings. What cannot be converted becomes one '?'
// and the conversion goes on behind it; badLength tells how many bytes of the
// input that is, from where the conversion stopped.
std::string Convert(const char* to, const char* from, std::string_view in,
                    size_t (*badLength)(std::string_view))
{
    std::string out;
    if (in.empty()) return out;
    // One set for the process, used under a lock: a thread-local set would
    // live in the dynamic thread storage of the module the host loads.
    static std::mutex lock;
    static CConverters converters;
    const std::lock_guard<std::mutex> guard(lock);
    iconv_t cd = converters.Get(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.assign(in);
        return out;
    }
    // Short texts (names, addresses) convert on the stack.
    char local[512];
    std::vector<char> heap;
    const size_t bufSize = in.size() * 4 + 16;
    if (bufSize > sizeof(local)) heap.resize(bufSize);
    char* const buf = heap.empty() ? local : heap.data();
    out.reserve(bufSize);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = bufSize;
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, bufSize - dstLeft);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ, or EINVAL for a sequence cut off by the end.
            const size_t skip = badLength(std::string_view(src, srcLeft));
            out += '?';
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// Where the next character that the system converter drops starts, at or
// after from; npos when there is none. iconv skips the tag characters
// U+E0000..U+E007F (F3 A0 80 80 .. F3 A0 81 BF) as language marks without an
// error. 0xF3 never continues a character, so a match is always one's start.
constexpr size_t kTagLength = 4;

size_t NextDroppedCharacter(std::string_view utf8, size_t from)
{
    for (size_t at = utf8.find('\xF3', from); at != std::string_view::npos; at = utf8.find('\xF3', at + 1)) {
        if (utf8.size() - at < kTagLength) break;
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(utf8[at + i]); };
        if (byte(1) == 0xA0 && (byte(2) == 0x80 || byte(2) == 0x81) && (byte(3) & 0xC0) == 0x80) return at;
    }
    return std::string_view::npos;
}

} // namespace

CString CString::FromField(const char* field, size_t size)
{
    return CString(field, FieldLength(field, size));
}

int CString::Compare(const char* other) const
{
    return m_s.compare(other ? other : "");
}

int CString::CompareNoCase(const char* other) const
{
    const char* o = other ? other : "";
    size_t n = std::strlen(o);
    size_t len = std::min(n, m_s.size());
    for (size_t i = 0; i < len; ++i) {
        unsigned char a = static_cast<unsigned char>(AsciiLower(m_s[i]));
        unsigned char b = static_cast<unsigned char>(AsciiLower(o[i]));
        if (a != b) return a < b ? -1 : 1;
    }
    if (m_s.size() == n) return 0;
    return m_s.size() < n ? -1 : 1;
}

int CString::Find(const char* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    size_t pos = m_s.find(sub, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(char c, int start) const
{
    if (start < 0 || start > GetLength()) return -1;
    size_t pos = m_s.find(c, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char c) const
{
    size_t pos = m_s.rfind(c);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(m_s.size() - static_cast<size_t>(count)));
}

CString CString::Mid(int start) const
{
    start = std::clamp(start, 0, GetLength());
    return CString(m_s.substr(static_cast<size_t>(start)));
}

CString CString::Mid(int start, int count) const
{
    start = std::clamp(start, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - start);
    return CString(m_s.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
}

CString& CString::MakeLower()
{
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), AsciiLower);
    return *this;
}

CString& CString::MakeUpper()
{
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), AsciiUpper);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && IsBlank(m_s[i])) ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_s.empty() && IsBlank(m_s.back())) m_s.pop_back();
    return *this;
}

int CString::Replace(const char* from, const char* to)
{
    if (!from || !*from) return 0;
    const std::string f(from), t(to ? to : "");
    int count = 0;
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_s.find(f, pos);
        if (hit == std::string::npos) break;
        out.append(m_s, pos, hit - pos);
        out += t;
        pos = hit + f.size();
        ++count;
    }
    if (count == 0) return 0;
    out.append(m_s, pos, std::string::npos);
    m_s.swap(out);
    return count;
}

void CString::Insert(int pos, const char* text)
{
    pos = std::clamp(pos, 0, GetLength());
    m_s.insert(static_cast<size_t>(pos), text ? text : "");
}

void CString::Delete(int pos, int count)
{
    if (pos < 0 || pos >= GetLength() || count <= 0) return;
    m_s.erase(static_cast<size_t>(pos), static_cast<size_t>(count));
}

void CString::FormatV(const char* pattern, va_list args)
{
    m_s.clear();
    if (!pattern) return;
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, pattern, copy);
    va_end(copy);
    if (n <= 0) return;
    m_s.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(m_s.data(), m_s.size(), pattern, args);
    m_s.resize(static_cast<size_t>(n));
}

void CString::Format(const char* pattern, ...)
{
    va_list args;
    va_start(args, pattern);
    FormatV(pattern, args);
    va_end(args);
}

void CString::AppendFormat(const char* pattern, ...)
{
    CString tail;
    va_list args;
    va_start(args, pattern);
    tail.FormatV(pattern, args);
    va_end(args);
    m_s += tail.m_s;
}

void CString::CopyTo(char* field, size_t size) const
{
    if (!field || size == 0) return;
    size_t n = std::min(m_s.size(), size - 1);
    std::memcpy(field, m_s.data(), n);
    field[n] = '\0';
}

bool CString::IsLeadByteAt(int i) const
{
    if (i < 0 || i + 1 >= GetLength()) return false;
    unsigned char c = static_cast<unsigned char>(m_s[static_cast<size_t>(i)]);
    return c >= 0x81 && c <= 0xFE;
}

std::string GbkToUtf8(std::string_view gbk)
{
    return Convert("UTF-8", "GBK", gbk, OneByte);
}

CString Utf8ToGbk(std::string_view utf8)
{
    // The characters iconv drops have no GBK form either: one '?' each, the
    // text between them converted as usual.
    std::string out;
    size_t start = 0;
    for (size_t dropped = NextDroppedCharacter(utf8, 0); dropped != std::string_view::npos;
         dropped = NextDroppedCharacter(utf8, start)) {
        out += Convert("GBK", "UTF-8", utf8.substr(start, dropped - start), Utf8CharLength);
        out += '?';
        start = dropped + kTagLength;
    }
    out += Convert("GBK", "UTF-8", utf8.substr(start), Utf8CharLength);
    return CString(std::move(out));
}

} // namespace tarvolan
