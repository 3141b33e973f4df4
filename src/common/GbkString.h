// The module's one text type: a counted string of GBK (code page 936) bytes.
// Lengths and positions are byte counts; comparisons are byte-wise unless a
// function says otherwise. Conversion to and from UTF-8 goes through iconv.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace tarvolan {

class CString {
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(const char* text, size_t len) : m_s(text ? std::string(text, len) : std::string()) {}
    CString(std::string text) : m_s(std::move(text)) {}
    CString(std::string_view text) : m_s(text) {}

    // Reads a fixed-size character field that may lack its terminating zero.
    static CString FromField(const char* field, size_t size);
    template <size_t N> static CString FromField(const char (&field)[N]) { return FromField(field, N); }

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    const char* c_str() const { return m_s.c_str(); }
    operator const char*() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    std::string& str() { return m_s; }
    std::string_view view() const { return m_s; }
    char GetAt(int i) const { return (i >= 0 && i < GetLength()) ? m_s[static_cast<size_t>(i)] : '\0'; }
    char operator[](int i) const { return GetAt(i); }

    CString& operator=(const char* text) { m_s = text ? text : ""; return *this; }
    CString& operator+=(const CString& o) { m_s += o.m_s; return *this; }
    CString& operator+=(const char* text) { if (text) m_s += text; return *this; }
    CString& operator+=(char c) { m_s += c; return *this; }
    friend CString operator+(CString a, const CString& b) { a += b; return a; }
    friend CString operator+(CString a, const char* b) { a += b; return a; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

    // Byte-wise comparison; 0 when equal.
    int Compare(const char* other) const;
    // ASCII letters compared without case, other bytes byte-wise.
    int CompareNoCase(const char* other) const;
    bool EqualsNoCase(const char* other) const { return CompareNoCase(other) == 0; }

    // Byte positions; -1 when not found or when start is out of range.
    int Find(const char* sub, int start = 0) const;
    int Find(char c, int start = 0) const;
    int ReverseFind(char c) const;

    // Clamped to the text: never reads outside it.
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int start) const;
    CString Mid(int start, int count) const;

    CString& MakeLower();  // ASCII letters only
    CString& MakeUpper();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    int Replace(const char* from, const char* to);
    void Insert(int pos, const char* text);
    void Delete(int pos, int count = 1);

    // printf-style formatting; the arguments are the formatting's, the
    // pattern is never user text.
    void Format(const char* pattern, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormat(const char* pattern, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* pattern, va_list args);

    // Copies at most size-1 bytes and always terminates; size 0 writes nothing.
    void CopyTo(char* field, size_t size) const;

    // Whether byte i starts a double-byte GBK character (lead byte 0x81..0xFE
    // followed by a trail byte).
    bool IsLeadByteAt(int i) const;

private:
    std::string m_s;
};

// GBK <-> UTF-8 with iconv, the module's one conversion each way (the Qt
// boundary goes through UTF-8 too). GBK bytes that cannot be converted become
// one '?' each; a UTF-8 character without a GBK form becomes one '?' whatever
// its length (the tag characters that iconv skips as well), and so does each
// broken sequence (a lead byte with the continuation bytes that follow it, or
// a stray byte).
std::string GbkToUtf8(std::string_view gbk);
CString Utf8ToGbk(std::string_view utf8);

// Reads at most size bytes of a character field, up to its first zero.
inline size_t FieldLength(const char* field, size_t size)
{
    if (!field) return 0;
    const void* end = std::memchr(field, '\0', size);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - field) : size;
}

// A fixed-size character field's text, without a copy.
template <size_t N> std::string_view FieldView(const char (&field)[N])
{
    return {field, FieldLength(field, N)};
}

} // namespace tarvolan
