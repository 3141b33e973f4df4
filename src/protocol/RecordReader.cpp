#include "protocol/RecordReader.h"

#include <algorithm>

namespace tarvolan {

CRecordReader::CRecordReader(int code, void* record)
    : m_pLayout(FindHostRecord(code)),
      m_pRecord(record),
      m_pWords(m_pLayout && m_pLayout->shape == EShape::Words ? static_cast<Word*>(record) : nullptr)
{
}

bool CRecordReader::HasRecord() const
{
    if (m_pRecord || !m_pLayout) return true;
    const bool readsWords = m_pLayout->shape == EShape::Words && m_pLayout->wordCount > 0;
    return !readsWords && m_pLayout->shape != EShape::Profile;
}

const TWord* CRecordReader::WordAt(int i) const
{
    if (!m_pWords || i < 0 || static_cast<size_t>(i) >= m_pLayout->wordCount) return nullptr;
    return &m_pLayout->wordSlots[static_cast<size_t>(i)];
}

const char* CRecordReader::Text(int i) const
{
    const char* text = WordAt(i) ? reinterpret_cast<const char*>(m_pWords[i]) : nullptr;
    return text ? text : "";
}

int CRecordReader::Int(int i) const
{
    return WordAt(i) ? static_cast<int>(static_cast<int32_t>(m_pWords[i])) : 0;
}

int CRecordReader::Count(int i) const
{
    const TWord* word = WordAt(i);
    if (!word || word->kind != EWord::Count || word->link < 0 || !m_pWords[word->link]) return 0;
    return std::clamp(Int(i), 0, word->limit);
}

void CRecordReader::Answer(int i, Word value)
{
    const TWord* word = WordAt(i);
    if (word && word->out) m_pWords[i] = value;
}

} // namespace tarvolan
