#include "common/TimeText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace tarvolan;

namespace {

// 2009-11-05 10:00:01 UTC.
constexpr std::time_t kNov5 = 1257415201;

// Runs each test in a given zone and restores the process zone after it.
class TimeTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ")) m_Saved = tz;
    }
    void TearDown() override
    {
        if (m_Saved) setenv("TZ", m_Saved->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    static void Zone(const char* tz)
    {
        setenv("TZ", tz, 1);
        tzset();
    }
    std::optional<std::string> m_Saved;
};

TEST_F(TimeTextTest, BiasAndSuffixOfZones)
{
    Zone("CST-8");
    EXPECT_EQ(GetTimeZoneBias(kNov5), -480);
    EXPECT_EQ(FormatInternetTime(kNov5), "Thu, 05 Nov 2009 18:00:01 GMT+08:00");
    Zone("IST-5:30");
    EXPECT_EQ(GetTimeZoneBias(kNov5), -330);
    EXPECT_EQ(FormatInternetTime(kNov5), "Thu, 05 Nov 2009 15:30:01 GMT+05:30");
    Zone("EST5");
    EXPECT_EQ(GetTimeZoneBias(kNov5), 300);
    EXPECT_EQ(FormatInternetTime(kNov5), "Thu, 05 Nov 2009 05:00:01 GMT-05:00");
    EXPECT_EQ(FormatZoneSuffix(0), " GMT+00:00");
    EXPECT_EQ(FormatZoneSuffix(30), " GMT-00:30");
    EXPECT_EQ(FormatZoneSuffix(-345), " GMT+05:45");
}

TEST_F(TimeTextTest, LocalTimeForms)
{
    Zone("CST-8");
    EXPECT_EQ(FormatLocalTime(kNov5), "2009-11-05 18:00:01");
    Zone("UTC0");
    EXPECT_EQ(FormatLocalTime(0), "1970-01-01 00:00:00");
    // The current time has the same shapes.
    EXPECT_EQ(GetLocalTimeString().GetLength(), 19);
    EXPECT_EQ(GetInternetTimeString().Right(10), " GMT+00:00");
}

TEST_F(TimeTextTest, InternetDateToLocal)
{
    Zone("CST-8");
    EXPECT_EQ(InternetTimeToLocalString("Thu, 05 Nov 2009 10:00:01 GMT"), "2009-11-05 18:00:01");
    // The day carries over, the month name is read in any case.
    EXPECT_EQ(InternetTimeToLocalString("Thu, 31 DEC 2009 20:30:00 GMT"), "2010-01-01 04:30:00");
    Zone("EST5");
    EXPECT_EQ(InternetTimeToLocalString("Sun, 01 Mar 2009 02:00:00 GMT"), "2009-02-28 21:00:00");
    Zone("IST-5:30");
    EXPECT_EQ(InternetTimeToLocalString("Thu, 05 Nov 2009 10:00:01 GMT"), "2009-11-05 15:30:01");
}

TEST_F(TimeTextTest, InternetDateDayOfOneOrTwoDigits)
{
    // Every day of October, written as "05", " 5" and "5" (or "15"), with the
    // zone suffix of a date this module writes and without one.
    Zone("CST-8");
    for (int day = 1; day <= 31; ++day) {
        CString expected;
        expected.Format("2009-10-%02d 18:00:01", day);
        CString zeroPadded, blankPadded, unpadded;
        zeroPadded.Format("Sat, %02d Oct 2009 10:00:01 GMT", day);
        blankPadded.Format("Sat, %2d Oct 2009 10:00:01 GMT", day);
        unpadded.Format("Sat, %d Oct 2009 10:00:01 GMT+08:00", day);
        for (const CString& text : {zeroPadded, blankPadded, unpadded}) {
            EXPECT_EQ(InternetTimeToLocalString(text), expected) << text.c_str();
        }
    }
    // The case as it was seen, and the day carrying into the next month.
    EXPECT_EQ(InternetTimeToLocalString("Thu,  5 Nov 2009 10:00:01 GMT"), "2009-11-05 18:00:01");
    EXPECT_EQ(InternetTimeToLocalString("Sat, 31 Oct 2009 20:00:00 GMT"), "2009-11-01 04:00:00");
    // A one-digit day ends the shortest readable text a byte earlier.
    EXPECT_EQ(InternetTimeToLocalString("Thu, 5 Nov 2009 10:00:01"), "2009-11-05 18:00:01");
}

TEST_F(TimeTextTest, InternetDateUsesTheOffsetOfThatDate)
{
    // Central Europe: +1 in winter, +2 in summer, whatever the current date.
    Zone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(InternetTimeToLocalString("Wed, 01 Jul 2009 10:00:00 GMT"), "2009-07-01 12:00:00");
    EXPECT_EQ(InternetTimeToLocalString("Sun, 01 Feb 2009 10:00:00 GMT"), "2009-02-01 11:00:00");
}

TEST_F(TimeTextTest, ShortOrMalformedDatesComeBackUnchanged)
{
    Zone("CST-8");
    for (const char* text : {"", "Thu", "Thu, 05 Nov 2009 10:00:0", "Thu, 05 Xyz 2009 10:00:01 GMT",
                             "Thu, 5 Nov 2009 10:00:0", "Thu,  5 Nov 2009 10:00:0", "Thu, 5 Xyz 2009 10:00:01"}) {
        EXPECT_EQ(InternetTimeToLocalString(text), text) << text;
    }
    // Exactly 25 bytes is enough; digits stop at the first non-digit.
    EXPECT_EQ(InternetTimeToLocalString("Thu, 05 Nov 2009 10:00:01"), "2009-11-05 18:00:01");
    EXPECT_EQ(InternetTimeToLocalString("Thu, 05 Nov 2009 1x:0y:zz GMT"), "2009-11-05 09:00:00");
    // Bytes past the end of a counted text are never read.
    const CString counted(std::string("Thu, 05 Nov 2009 10:00:0", 24));
    EXPECT_EQ(InternetTimeToLocalString(counted), counted);
}

} // namespace
