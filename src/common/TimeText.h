// Time texts of messages: the local sending time, the same instant as an
// Internet date with zone offset, and Internet dates (GMT) turned into local
// time. They read the system clock and the system zone (TZ) and keep no state.
#pragma once

#include "common/GbkString.h"

#include <ctime>

namespace tarvolan {

// Current local time as "2009-11-05 18:00:01".
CString GetLocalTimeString();
// Current time as "Thu, 05 Nov 2009 18:00:01 GMT+08:00".
CString GetInternetTimeString();
// An Internet date in GMT ("Thu, 05 Nov 2009 10:00:01 GMT") as local
// "2009-11-05 18:00:01"; fields are read at fixed positions, behind a day of
// one or two digits (" 5", "5", "05", "15"). A text that ends before the
// seconds or has an unknown month name is returned unchanged.
CString InternetTimeToLocalString(const CString& text);

// Zone bias in minutes at instant t (UTC = local time + bias): -480 for UTC+8.
int GetTimeZoneBias(std::time_t t);
// Instant t in the forms of GetLocalTimeString and GetInternetTimeString.
CString FormatLocalTime(std::time_t t);
CString FormatInternetTime(std::time_t t);
// " GMT+08:00" for bias -480, " GMT-05:00" for bias 300.
CString FormatZoneSuffix(int bias);

} // namespace tarvolan
