#include "groups/StringArray.h"

#include <algorithm>

namespace tarvolan {

void CStringArray::Add(const CString& text)
{
    m_items.push_back(text);
    ++m_counts[text.str()];
}

bool CStringArray::Remove(const CString& text)
{
    if (m_counts.erase(text.str()) == 0) return false;
    m_items.erase(std::remove(m_items.begin(), m_items.end(), text), m_items.end());
    return true;
}

void CStringArray::RemoveAll()
{
    m_items.clear();
    m_counts.clear();
}

bool IsNewInArray(const CStringArray& array, const CString& text)
{
    if (text.IsEmpty()) return false;
    if (array.MaxTextLength() != 0 && static_cast<size_t>(text.GetLength()) > array.MaxTextLength()) return false;
    return !array.Contains(text);
}

} // namespace tarvolan
