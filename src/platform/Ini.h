// Reading ini files and facts about the system.
#pragma once

#include "common/GbkString.h"

// The integer value of key in [section] of the ini file at path, read as a
// private-profile integer read does: leading blanks skipped, an optional
// sign, then decimal digits up to the first other character ("12abc" is 12,
// "abc" is 0); def when the file, the section or the key is missing. Section
// and key names are compared without regard to ASCII case.
int GetPrivateProfileInt(const char* section, const char* key, int def, const char* path);
