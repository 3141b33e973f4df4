// The record table: the one description of every record of the host
// protocol, in both directions. The dispatcher reads host records by it
// (RecordReader.h), the reference client turns records into JSON and back
// by it, the fuzzer builds hostile records by it and a test holds the
// list of record fields in docs/protocol.md to it.
//
// A record is one of four shapes:
//   words          an array of Word, one per name (TWord)
//   block          one packed struct of TarvolanAbi.h (TBlockLayout)
//   group list     TGroupInfoList: a count and kMaxGroups slots
//   profile        TMemberProfile
// Block layouts are taken from the structs with offsetof and sizeof, so they
// follow the header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// ---- packed blocks ------------------------------------------------------------

enum class EField : uint8_t {
    Chars,  // a character field; its text may fill it without a terminator
    Int32,
    Text,   // a pointer to a zero-terminated text, or null
    Texts,  // an array of such pointers
};

struct TField {
    const char* name;  // the struct member's name
    size_t offset;
    size_t size;       // in bytes
    EField kind;

    // How many text pointers a Texts field holds.
    constexpr size_t TextCount() const { return kind == EField::Texts ? size / sizeof(const char*) : 0; }
};

struct TBlockLayout {
    const char* name;  // the struct's name
    size_t size;
    std::span<const TField> fields;

    // A block of one character field (a blacklist entry) reads as its text.
    bool IsPlainText() const { return fields.size() == 1 && fields[0].kind == EField::Chars; }
};

// The member profile record (TMemberProfile), its fields in record order.
const TBlockLayout& ProfileLayout();

// ---- word records ---------------------------------------------------------------

enum class EWord : uint8_t {
    Text,     // a pointer to a zero-terminated text, or null
    Int,      // a signed 32-bit integer in a Word
    Block,    // a pointer to one packed block, or null
    Array,    // a pointer to an array of packed blocks, or null
    Count,    // how many entries of an array word to read
    Profile,  // a pointer to a TMemberProfile, or null
};

struct TWord {
    const char* name = "";
    EWord kind = EWord::Int;
    const TBlockLayout* block = nullptr;  // Block, Array (one entry), Profile
    int link = -1;       // Array: its count word; Count: its array word
    int limit = 0;       // Array and Count: the protocol's maximum count
    bool out = false;    // written by the module while it handles the message
    bool unread = false; // carried by the record but not read by the module
};

enum class EShape : uint8_t { Words, Block, GroupList, Profile };
enum class EDirection : uint8_t { ToModule, ToHost };

constexpr size_t kMaxRecordWords = 8;

struct TRecordLayout {
    int code = 0;
    EDirection direction = EDirection::ToModule;
    EShape shape = EShape::Words;
    const TBlockLayout* block = nullptr;  // Block, Profile; GroupList: one slot
    std::array<TWord, kMaxRecordWords> wordSlots{};
    size_t wordCount = 0;

    std::span<const TWord> Words() const { return {wordSlots.data(), wordCount}; }
    // The bytes of the record itself (a word record: its words).
    size_t Size() const;
    // The names of the record's parts in order: its words, its block's
    // fields, or kGroupListCount and kGroupListSlots.
    std::vector<std::string_view> FieldNames() const;
};

// The two parts of the group list (1004).
constexpr const char* kGroupListCount = "count";
constexpr const char* kGroupListSlots = "slots";

// Every record of the protocol, host-to-module codes first.
std::span<const TRecordLayout> AllRecords();
// The record of a code in either direction; null for an unknown code.
const TRecordLayout* FindRecord(int code);
// The record of a message that the host sends the module; null otherwise.
const TRecordLayout* FindHostRecord(int code);
// Every block layout of the table once: the blocks of whole records, then
// those that words point at, in record order.
std::vector<const TBlockLayout*> AllBlockLayouts();

// ---- the member profile's texts ---------------------------------------------------

// The 30 text pointers of a profile record in record order: text1, block1,
// ids, block2, tail.
constexpr int kProfileTextCount = 30;
// The place of block2[kProfileTextIndex] (the text of 1038 and 1039) among
// them; RecordTable.cpp checks it against the layout.
constexpr int kProfileTextSlot = 2 + 10 + 3 + kProfileTextIndex;

std::array<const char**, kProfileTextCount> ProfileTexts(TMemberProfile& profile);
std::array<const char* const*, kProfileTextCount> ProfileTexts(const TMemberProfile& profile);

} // namespace tarvolan
