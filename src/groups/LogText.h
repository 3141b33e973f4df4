// Builds a long log text in one reserved buffer: texts and numbers are
// appended in place, without formatting a copy for every piece.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

#include "common/GbkString.h"

namespace tarvolan {

class CLogText {
public:
    explicit CLogText(size_t reserve) { m_text.reserve(reserve); }

    CLogText& operator<<(std::string_view text)
    {
        m_text.append(text);
        return *this;
    }
    CLogText& operator<<(const std::string& text) { return *this << std::string_view(text); }
    CLogText& operator<<(const char* text) { return *this << std::string_view(text ? text : ""); }
    CLogText& operator<<(const CString& text) { return *this << text.view(); }
    CLogText& operator<<(int value)
    {
        char digits[16];
        const auto result = std::to_chars(digits, digits + sizeof(digits), value);
        m_text.append(digits, result.ptr);
        return *this;
    }

    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

private:
    std::string m_text;
};

} // namespace tarvolan
