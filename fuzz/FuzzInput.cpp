#include "FuzzInput.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>

namespace fuzzing {

namespace {

// Words the module compares texts with: the signed-in user, a few groups
// and members (and case variants), presence texts, markup and XML pieces,
// emoticon codes, time texts and format directives. Texts are GBK.
constexpr const char* kWords[] = {
    // addresses and names
    "sip:me@ims.test", "SIP:ME@IMS.TEST", "req-me", "me", "Me",
    "sip:g1@groups.test", "sip:g2@groups.test", "sip:g3@groups.test", "sip:g1@groups.test/1",
    "sip:G1@groups.test", "g1", "g2", "g3", "\xc8\xba\xd7\xe9",  // a Chinese group name
    "sip:m1@ims.test", "sip:m2@ims.test", "SIP:M1@ims.test", "sip:owner@ims.test", "m1",
    "\xd5\xc5\xc8\xfd",  // a Chinese person's name
    "sip:", "@", "/", "sip:@", "tel:+86100", "ims.test", "groups.test", "Forward",
    // presence
    "online", "busy", "away", "talking", "repast", "hide", "offline", "don't hinder", "ONLINE",
    // markup
    "<property bold=\"1\" size=\"240\" face=\"Arial\" color=\"0x000000ff\" ></property>",
    "<property ></property>", "<property ", "></property>", "</property>", "<property", "<property/>",
    " size=\"", " face=\"", " color=\"0x", " bold=\"1\"", " italic=1", " underline='1'", " strikeout=\"1\"",
    "99999999999999999999", "-2147483648", "0xffffffff", "<", ">", "/>", "</", "<!--", "-->", "<?xml ?>",
    "\"", "'", "=", " ", "\r\n", "\t",
    // XML bodies
    "<FromName>", "</FromName>", "<GroupID>", "</GroupID>", "<GroupName>", "</GroupName>",
    "<JID>", "</JID>", "<a><b><c>", "</c></b></a>",
    // emoticons
    ":)", ":-D", "(^)", "^o)", ":'(", "(so)", ":\\", "(0)",
    // time texts
    "Thu, 01 Jan 1970 00:00:00 GMT", "Sun, 31 Dec 2034 23:59:59 GMT", "Mon, 30 Feb 2009 25:61:61 GMT",
    // links, which the conversation view underlines
    "http://g1.test/a?b=1", "www.g1.test",
    // numbers and format directives
    "0", "1", "-1", "200", "408", "%s", "%n%n%n", "%d%s%x", "%%",
};

int32_t Extreme(uint8_t choice)
{
    constexpr int32_t kValues[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 200, 201, 202, 403, 404, 408, 409,
                                   500, -1, -2, INT_MIN, INT_MAX, INT_MAX - 1, 1000, 65535, 256, 30, 60};
    return kValues[choice % std::size(kValues)];
}

constexpr size_t kHugeLimit = 128 * 1024;

} // namespace

uint8_t CFuzzInput::Byte()
{
    return m_pos < m_size ? m_data[m_pos++] : 0;
}

uint16_t CFuzzInput::U16()
{
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
}

uint32_t CFuzzInput::U32()
{
    const uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
}

std::string CFuzzInput::Raw(size_t maxLength)
{
    const size_t length = std::min<size_t>(Byte(), maxLength);
    std::string bytes;
    bytes.reserve(length);
    for (size_t i = 0; i < length && !Empty(); ++i) bytes.push_back(static_cast<char>(Byte()));
    return bytes;
}

int32_t CFuzzInput::Number()
{
    const uint8_t choice = Byte();
    if (choice < 0xC0) return Extreme(choice);
    return static_cast<int32_t>(U32());
}

int32_t CFuzzInput::Count(int limit)
{
    switch (Pick(10)) {
    case 0: return -1;
    case 1: return INT_MIN;
    case 2: return 0;
    case 3: return 1;
    case 4: return limit > 0 ? Pick(std::min(limit, 255)) : 0;
    case 5: return limit - 1;
    case 6: return limit;
    case 7: return limit + 1;
    case 8: return INT_MAX;
    default: return static_cast<int32_t>(U32());
    }
}

std::string CFuzzInput::Word()
{
    return kWords[Byte() % std::size(kWords)];
}

std::string CFuzzInput::Piece()
{
    switch (Pick(8)) {
    case 0:
    case 1:
    case 2: return Word();
    case 3: return Raw(32);
    case 4: return InvalidGbk();
    case 5: return Markup();
    case 6: return Element();
    default: return std::string(1, static_cast<char>(Byte()));
    }
}

std::string CFuzzInput::Text()
{
    switch (Pick(10)) {
    case 0: return std::string();
    case 1:
    case 2: return Word();
    case 3: return Raw(255);
    case 4: return Markup() + Word();
    case 5: return Element();
    case 6: return Huge();
    default: {
        std::string text;
        const int pieces = 1 + Pick(8);
        for (int i = 0; i < pieces; ++i) text += Piece();
        return text;
    }
    }
}

std::string CFuzzInput::TypedText()
{
    constexpr size_t kTypedLimit = 8 * 1024;
    std::string text = Text();
    if (text.size() > kTypedLimit) text.resize(kTypedLimit);
    return text;
}

// A property element with random attributes, maybe cut short.
std::string CFuzzInput::Markup()
{
    static constexpr const char* kAttributes[] = {"bold", "italic", "underline", "strikeout", "size", "face",
                                                  "color", "property"};
    std::string text = "<property";
    const int count = Pick(6);
    for (int i = 0; i < count; ++i) {
        text += ' ';
        text += kAttributes[Pick(static_cast<int>(std::size(kAttributes)))];
        const int quote = Pick(4);
        text += '=';
        if (quote == 1) text += '"';
        if (quote == 2) text += '\'';
        text += Flag() ? Word() : Raw(80);
        if (quote == 1) text += '"';
        if (quote == 2) text += '\'';
    }
    switch (Pick(5)) {
    case 0: text += " ></property>"; break;
    case 1: text += "></property>"; break;
    case 2: text += "/>"; break;
    case 3: text += ">"; break;
    default: break;  // unterminated
    }
    return text;
}

// An XML element whose name is a body element, with text or a nested element.
std::string CFuzzInput::Element()
{
    static constexpr const char* kNames[] = {"FromName", "GroupID", "GroupName", "JID", "property", "a", "", "!--"};
    const std::string name = kNames[Pick(static_cast<int>(std::size(kNames)))];
    std::string text = "<" + name + (Flag() ? ">" : " x=\"1\">");
    text += Pick(4) == 3 && m_depth < 4 ? Nested() : Word();
    if (Pick(4) != 0) text += "</" + name + ">";
    return text;
}

std::string CFuzzInput::Nested()
{
    ++m_depth;
    std::string text = Element();
    --m_depth;
    return text;
}

// Lone lead bytes, a lead byte at the end, bytes that no code page maps.
std::string CFuzzInput::InvalidGbk()
{
    static constexpr const char* kBad[] = {"\x81", "\xff", "\x80", "\xa1", "\xfe\x7f", "\x81\x30\x81\x30", "\xc8",
                                           "\xfe\xfe\xfe", "\xa1\x7f", "\xc0\x80", "\xed\xa0\x80"};
    std::string text;
    const int count = 1 + Pick(4);
    for (int i = 0; i < count; ++i) text += kBad[Pick(static_cast<int>(std::size(kBad)))];
    return text;
}

// A piece repeated up to about 128 KB.
std::string CFuzzInput::Huge()
{
    std::string piece = Piece();
    if (piece.empty()) piece = "x";
    const size_t length = std::min<size_t>(1 + U16(), kHugeLimit / piece.size()) * piece.size();
    std::string text = std::move(piece);  // doubled, then cut to the whole repeats
    text.reserve(length);
    while (text.size() < length) text.append(text, 0, std::min(text.size(), length - text.size()));
    return text;
}

void CFuzzInput::Field(char* field, size_t size)
{
    std::memset(field, 0, size);
    switch (Pick(6)) {
    case 0: return;  // empty
    case 1:
    case 2: {        // a terminated text, cut to fit
        const std::string text = Text();
        std::memcpy(field, text.data(), std::min(text.size(), size - 1));
        return;
    }
    case 3: {        // no terminator: the text repeated to the last byte
        std::string text = Word();
        for (size_t i = 0; i < size; ++i) field[i] = text[i % text.size()] ? text[i % text.size()] : 'x';
        return;
    }
    case 4: {        // one byte value throughout, often a lead byte
        const uint8_t value = Byte();
        std::memset(field, value ? value : 0x81, size);
        return;
    }
    default: {       // exactly size - 1 bytes of text
        std::string text = Word();
        for (size_t i = 0; i + 1 < size; ++i) field[i] = text[i % text.size()] ? text[i % text.size()] : 'y';
        return;
    }
    }
}

} // namespace fuzzing
