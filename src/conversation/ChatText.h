// Text work of the conversation window that needs no window: the summary of a
// sent message, turning pictures back into their codes, keeping the input's
// picture map in step with its text, and the range that the input's length
// limit trims. Positions are bytes; every operation stays within its text.
#pragma once

#include <string>

#include "common/GbkString.h"

namespace tarvolan {

// The byte of a picture map that marks text.
inline constexpr char kMapTextByte = 'E';
// The byte that stands for a picture in the input's window text.
inline constexpr char kMapPlaceholder = ' ';

// A short summary of a message text: of its first 10 bytes, printable ones
// ('!'..'z') are taken; another byte is skipped when a printable one follows,
// a CR LF ends the summary, and otherwise the byte is taken together with
// the next one (a double-byte character). Never reads past the text.
CString MessageSummary(const CString& text);

// Replaces each picture of the text by its code: map has one byte per byte of
// text, kMapTextByte for text and index + 1 for a picture; codes[index] is the
// code (count entries). A map byte without a picture placeholder at its place
// in the text, or with an index outside the codes, is passed over.
void RestoreEmoticonCodes(CString& text, const CString& map, const CString* codes, int count);

// The map byte of a picture of emoticon index.
inline CString PictureMark(int index)
{
    return CString(std::string(1, static_cast<char>(index + 1)));
}

// Changes the picture map where the text changed: removed bytes at start go
// and the added map bytes take their place. Positions are held to the map.
void ChangePictureMap(CString& map, int start, int removed, const CString& added);

// The bytes [start, end) that bring a text of more than limit bytes back to
// limit: the excess just before the caret (and, when the caret is nearer to
// the start than the excess is long, the rest just behind it), widened to
// whole characters so that no half of a double-byte character stays.
struct TByteRange {
    int start = 0;
    int end = 0;
};
TByteRange ExcessRange(const CString& text, int caret, int limit);

} // namespace tarvolan
