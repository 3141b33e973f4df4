// Builds a long log text in one buffer: texts and numbers are copied in
// place, without formatting a copy for every piece. The buffer is sized up
// front and only grows when a text runs past it, so a piece costs one size
// check and one copy.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "common/GbkString.h"

namespace tarvolan {

class CLogText {
public:
    explicit CLogText(size_t reserve)
        : m_text(new char[std::max<size_t>(reserve, 16)]), m_capacity(std::max<size_t>(reserve, 16))
    {
    }

    CLogText& operator<<(std::string_view text)
    {
        Put(text.data(), text.size());
        return *this;
    }
    CLogText& operator<<(const std::string& text) { return *this << std::string_view(text); }
    CLogText& operator<<(const char* text) { return *this << std::string_view(text ? text : ""); }
    CLogText& operator<<(const CString& text) { return *this << text.view(); }
    CLogText& operator<<(int value)
    {
        Room(16);
        char* at = m_text.get() + m_size;
        m_size = static_cast<size_t>(std::to_chars(at, at + 16, value).ptr - m_text.get());
        return *this;
    }

    std::string_view view() const { return {m_text.get(), m_size}; }
    CString Text() const { return CString(view()); }
    // The text ended by a zero, for a writer of C strings; no copy.
    const char* c_str()
    {
        Room(1);
        m_text[m_size] = '\0';
        return m_text.get();
    }

private:
    void Room(size_t more)
    {
        if (m_size + more <= m_capacity) return;
        const size_t capacity = std::max(m_capacity * 2, m_size + more);
        std::unique_ptr<char[]> text(new char[capacity]);
        std::memcpy(text.get(), m_text.get(), m_size);
        m_text = std::move(text);
        m_capacity = capacity;
    }
    void Put(const char* text, size_t length)
    {
        Room(length);
        std::memcpy(m_text.get() + m_size, text, length);
        m_size += length;
    }

    std::unique_ptr<char[]> m_text;  // m_size bytes of text, then room (not zeroed)
    size_t m_capacity;
    size_t m_size = 0;
};

} // namespace tarvolan
