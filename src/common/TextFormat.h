// Character format and logical font records shared by the markup reader, the
// editors, the tree and ClientKit. Plain data, no Qt.
#pragma once

#include <cstdint>

namespace tarvolan {

// Effect bits of a character format.
enum : uint32_t {
    CFE_BOLD = 0x1,
    CFE_ITALIC = 0x2,
    CFE_UNDERLINE = 0x4,
    CFE_STRIKEOUT = 0x8,
};

// Mask bits: which fields of a character format are given.
enum : uint32_t {
    CFM_BOLD = 0x1,
    CFM_ITALIC = 0x2,
    CFM_UNDERLINE = 0x4,
    CFM_STRIKEOUT = 0x8,
    CFM_EFFECTS = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT,
    CFM_SIZE = 0x80000000u,
    CFM_COLOR = 0x40000000u,
    CFM_FACE = 0x20000000u,
    CFM_ALL = CFM_EFFECTS | CFM_SIZE | CFM_COLOR | CFM_FACE,
};

// A colour as 0x00BBGGRR (low byte red).
using COLORREF = uint32_t;
constexpr COLORREF RGBColor(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

struct TCharFormat {
    uint32_t dwMask = 0;
    uint32_t dwEffects = 0;
    int32_t yHeight = 180;  // twips: 180 = 9 points
    COLORREF crTextColor = 0;
    char szFaceName[32] = {};
};

struct TLogFont {
    int32_t lfHeight = 0;      // pixels; negative = character height
    int32_t lfWeight = 400;    // 700 = bold
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    char lfFaceName[32] = {};
};

} // namespace tarvolan
