// Address and text helpers: taking SIP/tel addresses apart, escaping text for
// the XML bodies of messages, the system language, and GBK character steps.
#pragma once

#include "common/GbkString.h"

#include <cstddef>
#include <string_view>

namespace tarvolan {

// Selectors of GetURIField.
enum EUriField {
    URI_ADDRESS = 0,      // user@host: no scheme, no resource
    URI_USER = 1,         // before the first '@'
    URI_HOST = 2,         // after the first '@'
    URI_RESOURCE = 3,     // after the first '/' behind the scheme
    URI_SCHEME = 4,       // before the first ':'
    URI_SCHEME_USER = 5,  // scheme (or "sip") + ":" + user
};

// One piece of an address scheme:user@host/resource (see EUriField); any
// other selector returns the address unchanged. Separators count only where a
// character starts: the trail byte of a double-byte character may be '@'.
CString GetURIField(const CString& uri, int part);

// A full SIP URI for an account as a user typed it: "@" and the domain are
// appended when it holds no "@", then "sip:" is put in front when it holds
// no "sip:" anywhere (a scheme in the middle counts). Both are looked for
// where a character starts, byte for byte.
CString CompleteAccountURI(const CString& account, const CString& domain);

// Replaces & < > " ' by their entities, each over the whole text in turn.
CString XmlEscape(const CString& text);
// Replaces &amp; &lt; &gt; &quot; &apos; in that order, each over the whole
// text in turn (so "&amp;lt;" becomes "<").
CString XmlUnescape(const CString& text);

// True when the locale named by LC_ALL, LC_MESSAGES or LANG (the first one
// set and not empty) has the primary language "zh".
bool IsChineseSystemLanguage();

// Length in bytes (1 or 2) of the character that starts at pos: 2 for a GBK
// lead byte (0x81..0xFE) followed by another byte, else 1.
size_t GbkCharLength(std::string_view text, size_t pos);

// The longest prefix of text of at most maxBytes bytes that does not end in
// the middle of a double-byte character.
std::string_view GbkPrefix(std::string_view text, size_t maxBytes);

// Whether pos starts a character (or is the end of the text) when the text is
// read from its start in GBK steps.
bool IsCharBoundary(std::string_view text, size_t pos);

// First position that starts a character (the text read in GBK steps from its
// start) where code occurs, byte for byte; npos when none.
size_t FindAtCharStart(std::string_view text, std::string_view code);

} // namespace tarvolan
