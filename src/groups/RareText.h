// CRareText: a text field that is nearly always empty. No Qt here.
#pragma once

#include <memory>

#include "common/GbkString.h"

namespace tarvolan {

// A text that is nearly always empty: until it holds one it takes a
// pointer's room, not a string's (a full table has 60,000 member slots).
class CRareText {
public:
    CRareText() = default;
    CRareText(const CRareText& other) { *this = other.Text(); }
    CRareText(CRareText&&) noexcept = default;
    CRareText& operator=(const CRareText& other) { return *this = other.Text(); }
    CRareText& operator=(CRareText&&) noexcept = default;
    CRareText& operator=(const CString& text)
    {
        if (text.IsEmpty()) m_text.reset();
        else if (m_text) *m_text = text;
        else m_text = std::make_unique<CString>(text);
        return *this;
    }
    const CString& Text() const
    {
        static const CString none;
        return m_text ? *m_text : none;
    }

private:
    std::unique_ptr<CString> m_text;
};

} // namespace tarvolan
