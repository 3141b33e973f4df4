#include "common/TimeText.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace tarvolan {

namespace {

// English names regardless of the process locale (strftime would follow it).
constexpr const char* kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Broken-down local time of t; false when the C library cannot represent it.
bool ToLocal(std::time_t t, std::tm& out)
{
    return localtime_r(&t, &out) != nullptr;
}

CString FormatDateTime(const std::tm& lt)
{
    CString s;
    s.Format("%d-%02d-%02d %02d:%02d:%02d", lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday,
             lt.tm_hour, lt.tm_min, lt.tm_sec);
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal digits from the start of field; stops at the first non-digit.
int ReadDecimal(std::string_view field)
{
    int value = 0;
    for (char c : field) {
        if (!IsDigit(c)) break;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The date with its day in two characters, as the fixed layout has it: a
// one-digit day may come padded with a blank ("Thu,  5 Nov") or unpadded
// ("Thu, 5 Nov"); either is read as "05". Anything else is left as it is.
std::string WithTwoDigitDay(std::string_view text)
{
    std::string fixed(text);
    if (fixed.size() < 7) return fixed;
    if (fixed[5] == ' ' && IsDigit(fixed[6])) fixed[5] = '0';
    else if (IsDigit(fixed[5]) && fixed[6] == ' ') fixed.insert(5, 1, '0');
    return fixed;
}

// 1..12 for "Jan".."Dec" in any letter case, 0 for anything else.
int MonthFromName(std::string_view name)
{
    for (int i = 0; i < 12; ++i) {
        if (CString(name).EqualsNoCase(kMonths[i])) return i + 1;
    }
    return 0;
}

// Days since 1970-01-01 of a proleptic Gregorian date; month 1..12, the day
// may run past the month (it simply counts on).
long long DaysFromCivil(long long year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

int GetTimeZoneBias(std::time_t t)
{
    std::tm lt{};
    if (!ToLocal(t, lt)) return 0;
    return -static_cast<int>(lt.tm_gmtoff / 60);
}

CString FormatZoneSuffix(int bias)
{
    // The sign is taken from the bias itself, so that a zone less than an
    // hour west of Greenwich reads "-00:30" and not "+00:30".
    const int minutes = std::abs(bias);
    CString s;
    s.Format(" GMT%c%02d:%02d", bias > 0 ? '-' : '+', minutes / 60, minutes % 60);
    return s;
}

CString FormatLocalTime(std::time_t t)
{
    std::tm lt{};
    if (!ToLocal(t, lt)) return CString();
    return FormatDateTime(lt);
}

CString FormatInternetTime(std::time_t t)
{
    std::tm lt{};
    if (!ToLocal(t, lt)) return CString();
    CString s;
    s.Format("%s, %02d %s %d %02d:%02d:%02d", kWeekdays[lt.tm_wday % 7], lt.tm_mday,
             kMonths[lt.tm_mon % 12], lt.tm_year + 1900, lt.tm_hour, lt.tm_min, lt.tm_sec);
    s += FormatZoneSuffix(-static_cast<int>(lt.tm_gmtoff / 60));
    return s;
}

CString GetLocalTimeString()
{
    return FormatLocalTime(std::time(nullptr));
}

CString GetInternetTimeString()
{
    return FormatInternetTime(std::time(nullptr));
}

CString InternetTimeToLocalString(const CString& text)
{
    // "Thu, 05 Nov 2009 10:00:01 GMT": the second ends at byte 24. A shorter
    // text or an unknown month cannot name an instant; it is shown as it came
    // rather than as an invented date.
    constexpr size_t kMinLength = 25;
    const std::string fixed = WithTwoDigitDay(text.view());
    const std::string_view s = fixed;
    if (s.size() < kMinLength) return text;
    const int month = MonthFromName(s.substr(8, 3));
    if (month == 0) return text;

    const int day = ReadDecimal(s.substr(5, 2));
    const int year = ReadDecimal(s.substr(12, 4));
    const int hour = ReadDecimal(s.substr(17, 2));
    const int minute = ReadDecimal(s.substr(20, 2));
    const int second = ReadDecimal(s.substr(23, 2));

    // The fields name a GMT instant; it is shown with the zone's offset at
    // that instant.
    const long long utc = DaysFromCivil(year, month, day) * 86400LL + hour * 3600LL +
                          minute * 60LL + second;
    std::tm lt{};
    if (!ToLocal(static_cast<std::time_t>(utc), lt)) return text;
    return FormatDateTime(lt);
}

} // namespace tarvolan
