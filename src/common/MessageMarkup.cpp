#include "common/MessageMarkup.h"

#include "common/TagReader.h"
#include "common/TextFunctions.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace tarvolan {

namespace {

// A value as it lands in the reader's fixed value buffer.
CString ReadValue(const CTagReader& reader, const char* name)
{
    CString value;
    reader.GetAttribute(name, value);
    return CString(GbkPrefix(value.view(), kMarkupValueBufferSize - 1));
}

// Where the message text starts behind the first "</property>"; -1 without one.
int PropertyTextStart(const CString& text)
{
    const int endTag = text.Find(kPropertyEndTag);
    return endTag < 0 ? -1 : endTag + static_cast<int>(std::strlen(kPropertyEndTag));
}

std::string_view SkipLeadingBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// Signed decimal up to the first non-digit, held within 32 bits.
int32_t ParseDecimal(std::string_view s)
{
    s = SkipLeadingBlanks(s);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > std::numeric_limits<int32_t>::max()) {
            value = std::numeric_limits<int32_t>::max();
            break;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hexadecimal with an optional "0x" up to the first non-digit, held within 32 bits.
uint32_t ParseHex(std::string_view s)
{
    s = SkipLeadingBlanks(s);
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
    uint64_t value = 0;
    for (char c : s) {
        const int digit = HexDigit(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFu) return 0xFFFFFFFFu;
    }
    return static_cast<uint32_t>(value);
}

void ReadEffect(const CTagReader& reader, const char* name, uint32_t bit, TCharFormat& format)
{
    if (ReadValue(reader, name) == "1") format.dwEffects |= bit;
}

void ReadFormat(const CTagReader& reader, TCharFormat& format)
{
    ReadEffect(reader, "strikeout", CFE_STRIKEOUT, format);
    ReadEffect(reader, "underline", CFE_UNDERLINE, format);
    ReadEffect(reader, "bold", CFE_BOLD, format);
    ReadEffect(reader, "italic", CFE_ITALIC, format);

    const CString face = ReadValue(reader, "face");
    if (!face.IsEmpty()) {
        CString(GbkPrefix(face.view(), sizeof(format.szFaceName) - 1))
            .CopyTo(format.szFaceName, sizeof(format.szFaceName));
        format.dwMask |= CFM_FACE;
    }
    const CString size = ReadValue(reader, "size");
    if (!size.IsEmpty()) format.yHeight = ParseDecimal(size.view());
    const CString color = ReadValue(reader, "color");
    if (!color.IsEmpty()) format.crTextColor = ParseHex(color.view());
}

} // namespace

TCharFormat DefaultMessageFormat()
{
    TCharFormat format;
    format.dwMask = CFM_EFFECTS | CFM_SIZE | CFM_COLOR;
    format.dwEffects = 0;
    format.yHeight = 180;
    format.crTextColor = 0;
    return format;
}

TMessageMarkup ReadMessageMarkup(const CString& message)
{
    TMessageMarkup result{DefaultMessageFormat(), message};
    const int textStart = PropertyTextStart(message);
    if (textStart < 0) return result;

    result.text = message.Mid(textStart);
    CTagReader reader;
    if (reader.Load(message.view().substr(0, static_cast<size_t>(textStart))) &&
        reader.FindElement("property"))
        ReadFormat(reader, result.format);
    return result;
}

CString BuildPropertyElement(const TCharFormat* format)
{
    CString element("<property ");
    if (format) {
        if (format->dwEffects & CFE_STRIKEOUT) element += "strikeout=\"1\" ";
        if (format->dwEffects & CFE_UNDERLINE) element += "underline=\"1\" ";
        if (format->dwEffects & CFE_ITALIC) element += "italic=\"1\" ";
        if (format->dwEffects & CFE_BOLD) element += "bold=\"1\" ";
        element.AppendFormat("size=\"%d\" ", static_cast<int>(format->yHeight));
        element += "face=\"";
        element += CString::FromField(format->szFaceName, sizeof(format->szFaceName));
        element += "\" ";
        element.AppendFormat("color=\"0x%08x\" ", static_cast<unsigned>(format->crTextColor));
    }
    element += "></property>";
    return element;
}

CString PresetPropertyElement(int preset)
{
    switch (preset) {
    case 1: return "<property color=\"0xff0000\"></property>";
    case 2: return "<property color=\"0x00ff00\"></property>";
    case 3: return "<property color=\"0x0000ff\"></property>";
    default: return "<property color=\"0xffffff\"></property>";
    }
}

CString WithPresetElement(const CString& text, int preset)
{
    if (PropertyTextStart(text) >= 0) return text;
    return PresetPropertyElement(preset) + text;
}

CString StripPropertyElement(const CString& text)
{
    const int textStart = PropertyTextStart(text);
    return textStart < 0 ? text : text.Mid(textStart);
}

} // namespace tarvolan
