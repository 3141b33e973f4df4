// The fuzzer's bytes, read front to back, and the hostile values built from
// them: texts (dictionary words of the protocol, raw bytes, invalid GBK,
// broken markup and XML, huge and empty), fixed character fields (with and
// without their terminating zero), integers and counts around the limits.
// An exhausted input reads as zeros, so every choice stays defined.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

class CFuzzInput {
public:
    CFuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_pos >= m_size; }
    size_t Position() const { return m_pos; }

    uint8_t Byte();
    uint16_t U16();
    uint32_t U32();
    // A number below n (n > 0).
    int Pick(int n) { return static_cast<int>(Byte() % static_cast<unsigned>(n)); }
    bool Flag() { return (Byte() & 1) != 0; }
    // Up to maxLength raw bytes, the length read first.
    std::string Raw(size_t maxLength);

    // An integer word: protocol values (kinds, roles, results, show
    // commands) and extremes.
    int32_t Number();
    // An element count for an array of limit entries: negative, zero, below,
    // at and above the limit, and the extremes.
    int32_t Count(int limit);
    // A hostile text; it may be empty or up to about 128 KB long.
    std::string Text();
    // A text typed or pasted into a control: as Text, but at most 8 KB. Every
    // limit of the module's edits is far below that, and Qt lays out all of a
    // pasted text before the limit cuts it, which would cost the run more than
    // everything else an input does.
    std::string TypedText();
    // A short text made of protocol words (addresses, names, presence).
    std::string Word();
    // Fills a fixed character field: zeros, a terminated text, a text that
    // fills the field to its last byte without a terminator, a field of
    // double-byte lead bytes, or a text of exactly size - 1 bytes.
    void Field(char* field, size_t size);
    template <size_t N> void Field(char (&field)[N]) { Field(field, N); }

private:
    std::string Piece();
    std::string Markup();
    std::string Element();
    std::string Nested();
    std::string InvalidGbk();
    std::string Huge();

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    int m_depth = 0;  // of nested elements
};

// Addresses the harness itself uses: the signed-in user and its request id.
inline constexpr const char* kFuzzMe = "sip:me@ims.test";
inline constexpr const char* kFuzzMyRequestId = "req-me";

} // namespace fuzzing
