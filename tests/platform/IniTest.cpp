// Private-profile integers.
#include <climits>
#include <fstream>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Ini.h"

using namespace tarvolan;

namespace {

class Ini : public ::testing::Test {
protected:
    std::string Write(const std::string& text)
    {
        const std::string path = m_dir.filePath("Velora.ini").toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    int Read(const std::string& text, const char* key = "test", int def = -99)
    {
        return GetPrivateProfileInt("Test", key, def, Write(text).c_str());
    }
    QTemporaryDir m_dir;
};

TEST_F(Ini, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(GetPrivateProfileInt("Test", "test", 5, m_dir.filePath("none.ini").toStdString().c_str()), 5);
    EXPECT_EQ(Read("[Other]\ntest=1\n"), -99);
    EXPECT_EQ(Read("[Test]\nother=1\n"), -99);
    EXPECT_EQ(Read("test=1\n[Test]\n"), -99);  // before any section
    EXPECT_EQ(GetPrivateProfileInt(nullptr, "test", 3, Write("[Test]\ntest=1").c_str()), 3);
}

TEST_F(Ini, ReadsLeadingDigitsWithSignAndBlanks)
{
    EXPECT_EQ(Read("[Test]\ntest=1\n"), 1);
    EXPECT_EQ(Read("[Test]\ntest=12abc\n"), 12);
    EXPECT_EQ(Read("[Test]\ntest=abc\n"), 0);
    EXPECT_EQ(Read("[Test]\ntest=-3\n"), -3);
    EXPECT_EQ(Read("[Test]\ntest=+7\n"), 7);
    EXPECT_EQ(Read("[Test]\r\n  test  =   42  \r\n"), 42);
    EXPECT_EQ(Read("[Test]\ntest=\n"), -99);
    EXPECT_EQ(Read("[Test]\ntest=   \n"), -99);
    EXPECT_EQ(Read("[Test]\ntest=\"8\"\n"), 8);
    EXPECT_EQ(Read("[Test]\ntest=99999999999\n"), INT_MAX);
    EXPECT_EQ(Read("[Test]\ntest=-99999999999\n"), INT_MIN);
    EXPECT_EQ(Read("[Test]\ntest=0x10\n"), 0);
}

TEST_F(Ini, NamesIgnoreCaseAndTheFirstSectionAndKeyCount)
{
    EXPECT_EQ(Read("[ test ]\nTEST=4\n"), 4);
    EXPECT_EQ(Read("\xEF\xBB\xBF[Test]\ntest=6\n"), 6);
    EXPECT_EQ(Read("[Test]\n; test=1\ntest=2\ntest=3\n"), 2);
    EXPECT_EQ(Read("[Test]\nx=1\n[Test]\ntest=9\n"), -99);
    EXPECT_EQ(Read("[Test]\ntest=5\n[Test]\ntest=9\n"), 5);
}

} // namespace
