// Host-to-module records built from fuzzer bytes, laid out by the record
// table (protocol/RecordTable.h). Every pointer in a record is valid: texts
// are zero-terminated heap copies of exactly their length, arrays hold
// exactly the protocol's limit of entries, blocks have exactly their size.
// The contents are hostile. Everything a record points to is
// freed with the record right after the call, so a module that keeps a
// pointer into a host record is caught on its next use.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "protocol/RecordTable.h"

using namespace tarvolan;

namespace fuzzing {

// Codes the harness sends: every code of the host protocol (the unused
// ones in between included), 20027, 20038 and codes around them.
int ChooseCode(CFuzzInput& in);

class CHostRecord {
public:
    CHostRecord(int code, CFuzzInput& in);
    CHostRecord(const CHostRecord&) = delete;
    CHostRecord& operator=(const CHostRecord&) = delete;

    // The record pointer to hand to OnMessage; null for a null record.
    void* Get() const { return m_record; }
    // Reads what the module wrote into the record's answer words (1038,
    // 1043): an answer text or profile record must be readable.
    void CheckAnswers() const;
    // The record's words for a trace: integers, texts (escaped, cut) and
    // which pointers are null.
    std::string Describe() const;

private:
    const char* NewText(const std::string& text);
    const char* TextOrNull(CFuzzInput& in);
    char* NewBytes(size_t size);
    void BuildWords(std::span<const tarvolan::TWord> words, CFuzzInput& in);
    tarvolan::Word ArrayWord(const tarvolan::TWord& word, tarvolan::Word count, CFuzzInput& in);
    void FillBlock(const tarvolan::TBlockLayout& layout, char* block, CFuzzInput& in);
    void FillEntries(const tarvolan::TBlockLayout& layout, char* first, int count, CFuzzInput& in);
    void FillWords(const tarvolan::TBlockLayout& layout, char* entry, CFuzzInput& in);
    void FillNumbered(const tarvolan::TBlockLayout& layout, char* entry, int i);

    const tarvolan::TRecordLayout* m_pLayout;     // null for a code without a record
    std::span<const tarvolan::TWord> m_layoutWords;  // the words built, for a word record
    void* m_record = nullptr;
    std::vector<tarvolan::Word> m_initial;        // word values before the call
    std::unique_ptr<tarvolan::Word[]> m_words;    // a word record, exactly sized
    std::vector<std::unique_ptr<char[]>> m_storage;  // texts, blocks and arrays
};

// Reads every text and the area of a profile record the module handed out.
void TouchProfile(const tarvolan::TMemberProfile* profile);

// A text for the trace: its length and its first bytes, escaped.
std::string DescribeText(std::string_view text, size_t shown = 60);

} // namespace fuzzing
