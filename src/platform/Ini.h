// Reading ini files and facts about the system.
#pragma once

#include "common/GbkString.h"
#include "platform/Export.h"

namespace tarvolan {

// The integer value of key in [section] of the ini file at path, read as a
// private-profile integer read does: leading blanks skipped, an optional
// sign, then decimal digits up to the first other character ("12abc" is 12,
// "abc" is 0, beyond the int range it stops at INT_MAX or INT_MIN); def when
// the file, the section or the key is missing or the value is empty or blank.
// Section and key names are compared without regard to ASCII case; the first
// section of that name is the one read, and in it the first such key. Lines
// starting with ';' are comments; a value in matching quotes is read without
// them.
TARVOLAN_EXPORT int GetPrivateProfileInt(const char* section, const char* key, int def, const char* path);

} // namespace tarvolan
