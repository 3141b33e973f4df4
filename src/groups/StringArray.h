// An array of texts in insertion order with a constant-time membership test.
// No Qt here.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "common/GbkString.h"

namespace tarvolan {

class CStringArray {
public:
    // maxTextLength: the longest text IsNewInArray accepts (0: no limit).
    explicit CStringArray(size_t maxTextLength = 0) : m_maxTextLength(maxTextLength) {}

    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    const CString& operator[](int i) const { return m_items[static_cast<size_t>(i)]; }
    size_t MaxTextLength() const { return m_maxTextLength; }

    // Byte-wise.
    bool Contains(const CString& text) const { return m_counts.count(text.str()) != 0; }
    void Add(const CString& text);
    // Removes every entry equal to text; false when there was none.
    bool Remove(const CString& text);
    void RemoveAll();

private:
    size_t m_maxTextLength;
    std::vector<CString> m_items;
    std::unordered_map<std::string, int> m_counts;
};

// True when text is not empty, not longer than the array accepts and not yet
// in the array (byte-wise).
bool IsNewInArray(const CStringArray& array, const CString& text);

} // namespace tarvolan
