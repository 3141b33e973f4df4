// CRecordReader: the record of a host message, read as the record table
// lays it out. A host record is untrusted: a word is read only when the
// table gives the record that word, texts are never null, integers are the
// low 32 bits of their word, and a count is clamped to its array's limit
// and reads 0 when the array pointer is null.
#pragma once

#include "protocol/RecordTable.h"

namespace tarvolan {

class CRecordReader {
public:
    CRecordReader(int code, void* record);

    // False when the message has no record to handle: its layout has words
    // to read, or is a profile record, and the pointer is null. A record
    // without words is never read; blocks and the group list go to their
    // handlers as they are, null included.
    bool HasRecord() const;

    // The text of word i, "" when null.
    const char* Text(int i) const;
    // The integer of word i.
    int Int(int i) const;
    // The count word i, clamped to 0 and the limit of its array; 0 when the
    // array pointer is null.
    int Count(int i) const;
    // The block, array or profile that word i points at; null when the word
    // does not hold blocks of T's size.
    template <class T> const T* Blocks(int i) const
    {
        const TWord* word = WordAt(i);
        if (!word || !word->block || word->block->size != sizeof(T)) return nullptr;
        return reinterpret_cast<const T*>(m_pWords[i]);
    }
    // The whole record as T; null when the record's size is not T's.
    template <class T> const T* Record() const
    {
        return m_pLayout && m_pLayout->shape != EShape::Words && m_pLayout->Size() == sizeof(T)
                   ? static_cast<const T*>(m_pRecord) : nullptr;
    }
    // Writes word i when it is one the module answers in.
    void Answer(int i, Word value);

private:
    // Word i of the layout; null past the layout's words or without a record.
    const TWord* WordAt(int i) const;

    const TRecordLayout* m_pLayout;
    void* m_pRecord;
    Word* m_pWords;  // the record when it is a word record
};

} // namespace tarvolan
