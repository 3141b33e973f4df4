// The group-settings record (code 2) that creating and editing a group send,
// and the name comparison that keeps a user from owning two groups of one
// name. No Qt here.
#pragma once

#include <cstdint>

#include "common/GbkString.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// What the create and edit dialog hands back.
struct TGroupSettingsValues {
    CString name;
    CString displayName;
    CString subject;
    CString bulletin;
    int32_t duration = 0;
    int32_t visibilityIndex = 0;  // zero-based: the record carries it plus 1
    int32_t needPermit = 0;
    int32_t maxMembers = 0;
};

// Longest texts of the record, in bytes.
inline constexpr size_t kSettingsURILimit = 256;
inline constexpr size_t kSettingsNameLimit = 64;
inline constexpr size_t kSettingsDisplayNameLimit = 64;
inline constexpr size_t kSettingsTextLimit = 200;  // subject and bulletin

// The text as a field holds it: at most limit bytes, cut before a
// double-byte character that would not fit whole.
CString FieldCut(const CString& text, size_t limit);

// The zero-filled record: URI (empty for a create), the texts cut to their
// limits, the visibility index plus 1.
tarvolan::TGroupSettings MakeGroupSettings(const CString& uri, const TGroupSettingsValues& values);

// Whether two group names are the same without regard to the case of ASCII
// letters; the bytes of double-byte characters are compared as they are.
bool SameGroupName(const CString& a, const CString& b);

} // namespace tarvolan
