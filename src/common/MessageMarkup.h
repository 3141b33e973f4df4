// Marked-up group messages: a leading empty "property" element with the
// sender's character format, followed directly by the message text, e.g.
//   <property bold="1" size="240" face="Arial" color="0x000000ff" ></property>Hello
#pragma once

#include "common/GbkString.h"
#include "common/TextFormat.h"

namespace tarvolan {

// End tag that separates the property element from the message text.
inline constexpr const char kPropertyEndTag[] = "</property>";
// Element written in front of recent messages (grey, 9 points, Times New Roman).
inline constexpr const char kGreyPropertyElement[] =
    "<property size=\"180\" face=\"Times New Roman\" color=\"0x00808080\" ></property>";
// Size of the buffer each attribute value is read into (values are cut to
// one byte less, never inside a double-byte character).
inline constexpr int kMarkupValueBufferSize = 62;

// A message split for display.
struct TMessageMarkup {
    TCharFormat format;  // the sender's format, or the default one
    CString text;        // the text to show
};

// Format of a message without a readable element: no effects, 180 twips,
// black, no face (CFM_FACE is left out of the mask: keep the editor's face).
TCharFormat DefaultMessageFormat();
// Splits a message at its first "</property>" and reads the element's format;
// without "</property>" the whole text is shown in the default format.
TMessageMarkup ReadMessageMarkup(const CString& message);
// The element a sent message starts with: "<property ></property>" when format
// is null (the chat font was never changed), else every attribute of the format
// in the order strikeout, underline, italic, bold, size, face, color, each
// followed by a blank, the effects only when they are on.
CString BuildPropertyElement(const TCharFormat* format);
// Colour element 0..3 for stored messages without an element (others give 0).
CString PresetPropertyElement(int preset);
// The text with the preset element put in front, unless it holds "</property>".
CString WithPresetElement(const CString& text, int preset);
// The text behind the first "</property>", or the whole text without one.
CString StripPropertyElement(const CString& text);

} // namespace tarvolan
