#include "common/TextFunctions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace tarvolan;

namespace {

TEST(GetURIFieldTest, FullAddressGivesEveryPart)
{
    const CString uri("sip:alice@hostA/desk");
    EXPECT_EQ(GetURIField(uri, URI_ADDRESS), "alice@hostA");
    EXPECT_EQ(GetURIField(uri, URI_USER), "alice");
    EXPECT_EQ(GetURIField(uri, URI_HOST), "hostA");
    EXPECT_EQ(GetURIField(uri, URI_RESOURCE), "desk");
    EXPECT_EQ(GetURIField(uri, URI_SCHEME), "sip");
    EXPECT_EQ(GetURIField(uri, URI_SCHEME_USER), "sip:alice");
    EXPECT_EQ(GetURIField(uri, 6), uri);
    EXPECT_EQ(GetURIField(uri, -1), uri);
}

TEST(GetURIFieldTest, BareUserHasNoSchemeHostOrResource)
{
    const CString uri("bob");
    EXPECT_EQ(GetURIField(uri, URI_ADDRESS), "bob");
    EXPECT_EQ(GetURIField(uri, URI_USER), "bob");
    EXPECT_EQ(GetURIField(uri, URI_HOST), "");
    EXPECT_EQ(GetURIField(uri, URI_RESOURCE), "");
    EXPECT_EQ(GetURIField(uri, URI_SCHEME), "");
    EXPECT_EQ(GetURIField(uri, URI_SCHEME_USER), "sip:bob");
}

TEST(GetURIFieldTest, TelAndColonInsideUserAndEmpty)
{
    EXPECT_EQ(GetURIField("tel:123", URI_ADDRESS), "123");
    EXPECT_EQ(GetURIField("tel:123", URI_USER), "123");
    EXPECT_EQ(GetURIField("tel:123", URI_SCHEME), "tel");
    EXPECT_EQ(GetURIField("tel:123", URI_SCHEME_USER), "tel:123");
    // Only the first colon separates the scheme.
    EXPECT_EQ(GetURIField("sip:a:b@h", URI_SCHEME), "sip");
    EXPECT_EQ(GetURIField("sip:a:b@h", URI_USER), "a:b");
    // The resource is looked for behind the scheme only; the host ends at it.
    EXPECT_EQ(GetURIField("x/y:u@h/r", URI_SCHEME), "x/y");
    EXPECT_EQ(GetURIField("sip:u@h/r/s", URI_RESOURCE), "r/s");
    EXPECT_EQ(GetURIField("sip:u@h/r/s", URI_HOST), "h");
    for (int part = 0; part <= 4; ++part) EXPECT_EQ(GetURIField("", part), "");
    EXPECT_EQ(GetURIField("", URI_SCHEME_USER), "sip:");
}

// Every double-byte character whose trail byte is '@' (0x40), one per lead
// byte, placed at the start, middle and end of the user part, the host part
// and the resource, with and without a scheme, port and parameters.
TEST(GetURIFieldTest, TrailByteAtSignNeverSeparates)
{
    const auto with = [](const std::string& c, const char* pattern) {
        std::string part(pattern);
        for (size_t at; (at = part.find('#')) != std::string::npos;) part.replace(at, 1, c);
        return part;
    };
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        const std::string c{static_cast<char>(lead), '@'};
        for (const char* scheme : {"", "sip", "tel"}) {
            for (const char* user : {"#", "#x", "x#", "##", "#;tag=1"}) {
                for (const char* host : {"", "#", "h#.cn", "h:5060;transport=udp#"}) {
                    for (const char* resource : {"", "#", "r#/s"}) {
                        const std::string u = with(c, user), h = with(c, host), r = with(c, resource);
                        // Without a scheme a port's colon would be taken for one.
                        if (!*scheme && h.find(':') != std::string::npos) continue;
                        const std::string address = h.empty() ? u : u + "@" + h;
                        const std::string uri =
                            (*scheme ? std::string(scheme) + ":" : "") + address + (r.empty() ? "" : "/" + r);
                        SCOPED_TRACE(uri);
                        EXPECT_EQ(GetURIField(uri, URI_USER), u);
                        EXPECT_EQ(GetURIField(uri, URI_HOST), h);
                        EXPECT_EQ(GetURIField(uri, URI_ADDRESS), address);
                        EXPECT_EQ(GetURIField(uri, URI_RESOURCE), r);
                        EXPECT_EQ(GetURIField(uri, URI_SCHEME), scheme);
                        EXPECT_EQ(GetURIField(uri, URI_SCHEME_USER), (*scheme ? scheme : "sip") + (":" + u));
                        if (::testing::Test::HasFailure()) return;
                    }
                }
            }
        }
    }
    // The case as it was seen: "丂x@host".
    EXPECT_EQ(GetURIField("\x81@x@host", URI_USER), "\x81@x");
    // A lone lead byte at the end of a part is a byte of its own.
    EXPECT_EQ(GetURIField("sip:a\x81", URI_USER), "a\x81");
}

// A double-byte character whose trail byte is '@' (0x81 0x40) is no "@":
// the account still gains the domain.
TEST(CompleteAccountURITest, TrailByteAtSignIsNoAtSign)
{
    EXPECT_EQ(CompleteAccountURI("\x81\x40", "ims.test"), "sip:\x81\x40@ims.test");
    EXPECT_EQ(CompleteAccountURI("sip:bob@far.test", "ims.test"), "sip:bob@far.test");
}

TEST(XmlTextTest, EscapeAndUnescape)
{
    EXPECT_EQ(XmlEscape("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&apos;f");
    const CString plain("Tom & Jerry <\"x\"> 'y' \xC4\xE3\xBA\xC3");
    EXPECT_EQ(XmlUnescape(XmlEscape(plain)), plain);
    // "&amp;" is replaced first, so the "&lt;" it leaves is replaced too.
    EXPECT_EQ(XmlUnescape("&amp;lt;"), "<");
    EXPECT_EQ(XmlUnescape("&quot;&apos;&gt;"), "\"'>");
    EXPECT_EQ(XmlUnescape("&unknown; &"), "&unknown; &");
}

// Sets the three locale variables for one test and restores them after it.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            const char* v = std::getenv(kVars[i]);
            if (v) m_Saved[i] = v;
        }
    }
    void TearDown() override
    {
        for (int i = 0; i < 3; ++i) {
            if (m_Saved[i]) setenv(kVars[i], m_Saved[i]->c_str(), 1);
            else unsetenv(kVars[i]);
        }
    }
    static void Set(const char* all, const char* messages, const char* lang)
    {
        const char* values[3] = {all, messages, lang};
        for (int i = 0; i < 3; ++i) {
            if (values[i]) setenv(kVars[i], values[i], 1);
            else unsetenv(kVars[i]);
        }
    }
    static constexpr const char* kVars[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> m_Saved[3];
};

TEST_F(LanguageTest, FirstSetVariableDecides)
{
    Set(nullptr, nullptr, "zh_CN.GBK");
    EXPECT_TRUE(IsChineseSystemLanguage());
    Set("", "zh_TW.UTF-8", "en_US.UTF-8");
    EXPECT_TRUE(IsChineseSystemLanguage());
    Set("en_GB.UTF-8", "zh_CN", "zh_CN");
    EXPECT_FALSE(IsChineseSystemLanguage());
    Set("zh", nullptr, nullptr);
    EXPECT_TRUE(IsChineseSystemLanguage());
    Set(nullptr, nullptr, "zhx_XX");
    EXPECT_FALSE(IsChineseSystemLanguage());
    Set(nullptr, nullptr, "C");
    EXPECT_FALSE(IsChineseSystemLanguage());
    Set(nullptr, nullptr, nullptr);
    EXPECT_FALSE(IsChineseSystemLanguage());
}

TEST(GbkStepTest, CharacterBoundaries)
{
    // "\xC4\xE3" is one double-byte character; a lone lead byte at the end
    // counts as one byte.
    const std::string_view text("a\xC4\xE3:\xC4", 5);
    EXPECT_EQ(GbkCharLength(text, 1), 2u);
    EXPECT_EQ(GbkCharLength(text, 4), 1u);
    EXPECT_TRUE(IsCharBoundary(text, 3));
    EXPECT_FALSE(IsCharBoundary(text, 2));
    EXPECT_TRUE(IsCharBoundary(text, 5));
    EXPECT_FALSE(IsCharBoundary(text, 6));
    EXPECT_EQ(GbkPrefix(text, 2), "a");
    EXPECT_EQ(GbkPrefix(text, 3), "a\xC4\xE3");
    EXPECT_EQ(GbkPrefix(text, 10), text);
}

} // namespace
