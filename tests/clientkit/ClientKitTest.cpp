// libClientKit.so: defaults, roster look-ups, the client log, named message
// boxes, banned words and the parked request lists.
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "scripted/ScriptedUiDriver.h"

using namespace tarvolan;

namespace {

class ClientKit : public ::testing::Test {
protected:
    void SetUp() override { clientkit::Reset(); }
    void TearDown() override
    {
        clientkit::Reset();
        SetUiDriver(nullptr);
    }
};

TEST_F(ClientKit, ResetRestoresTheLoadTimeDefaults)
{
    clientkit::SetMsgTitle("Other");
    clientkit::SetIdentity({"me", "req", "sip:me@x.com", "x.com", {"a.com", "b.com"}});
    clientkit::SetStatus(STATUS_BUSY, "busy text");
    clientkit::Reset();
    EXPECT_STREQ(GetMsgTitle(), "Velora");
    EXPECT_STREQ(GetMyInfo()->szURI, "");
    EXPECT_EQ(GetMyInfo()->nDomainCount, 0);
    EXPECT_EQ(GetStatus(), STATUS_OFFLINE);
    EXPECT_STREQ(GetStatusText(), "");
    EXPECT_EQ(GetAppLogined(), 0);
    EXPECT_EQ(GetAppResetLF(), 0);
    EXPECT_EQ(GetUserData()->m_bShowEmoticon, 1);
    const std::string path = GetAppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '/');
    EXPECT_STREQ(GetAppCharFormat()->szFaceName, "\xCB\xCE\xCC\xE5");
}

TEST_F(ClientKit, IdentityIsCutToItsFieldsAndDomainsToSixteen)
{
    clientkit::TIdentity identity;
    identity.displayName = CString(std::string(100, 'n'));
    identity.uri = "sip:me@x.com";
    for (int i = 0; i < 20; ++i) identity.domains.push_back(CString("d") + CString(std::to_string(i)));
    clientkit::SetIdentity(identity);
    EXPECT_EQ(std::strlen(GetMyInfo()->szDisplayName), 64u);
    EXPECT_EQ(GetMyInfo()->nDomainCount, 16);
    EXPECT_STREQ(GetMyInfo()->szDomainList[15], "d15");
    EXPECT_EQ(IsMySelf("sip:me@x.com"), 1);
    EXPECT_EQ(IsMySelf("ME@X.COM"), 1);
    EXPECT_EQ(IsMySelf("me"), 1);
    EXPECT_EQ(IsMySelf("sip:you@x.com"), 0);
    EXPECT_EQ(IsMySelf(nullptr), 0);
}

TEST_F(ClientKit, AppPathUsesForwardSlashesAndEndsWithOne)
{
    clientkit::SetAppPath("C:\\Velora\\client");
    EXPECT_STREQ(GetAppPath(), "C:/Velora/client/");
    clientkit::SetAppPath("/opt/velora/");
    EXPECT_STREQ(GetAppPath(), "/opt/velora/");
    EXPECT_EQ(clientkit::LogFilePath(), "/opt/velora/Velora.log");
}

TEST_F(ClientKit, RosterNamesAccountsAndNumbers)
{
    clientkit::SetRoster({{"sip:alice@x.com", "Alice", "13800000000"}, {"sip:bob@x.com", "", ""}});
    EXPECT_EQ(GetUserNameByPhone("sip:alice@x.com", 0, 1), "Alice");
    EXPECT_EQ(GetUserNameByPhone("alice@x.com", 0, 1), "Alice");
    EXPECT_EQ(GetUserNameByPhone("alice", 0, 1), "Alice");
    EXPECT_EQ(GetUserNameByPhone("13800000000", 0, 1), "Alice");
    // Not in the roster, or without a name: the user part of the text.
    EXPECT_EQ(GetUserNameByPhone("sip:carol@y.com", 0, 1), "carol");
    EXPECT_EQ(GetUserNameByPhone("sip:bob@x.com", 0, 1), "bob");
    EXPECT_EQ(GetUserNameByPhone("dave", 0, 1), "dave");
    EXPECT_EQ(GetUserNameByPhone(nullptr, 0, 1), "");

    tagRosterInfo* alice = FindRosterInfoByURI("SIP:Alice@x.com");
    ASSERT_NE(alice, nullptr);
    EXPECT_EQ(alice->nIndex, 0);
    EXPECT_EQ(FindRosterInfoByURI("sip:carol@y.com"), nullptr);
    EXPECT_EQ(FindRosterInfoByURI(nullptr), nullptr);
    EXPECT_EQ(IsInMyRLSList("sip:bob@x.com"), 1);
    EXPECT_EQ(RosterIndexValid(1), 1);
    EXPECT_EQ(RosterIndexValid(2), 0);
    EXPECT_EQ(RosterIndexValid(-1), 0);
}

TEST_F(ClientKit, WriteLogAppendsTimeStampedLines)
{
    QTemporaryDir dir;
    clientkit::SetAppPath(dir.path().toStdString().c_str());
    WriteLog("first line", 0);
    WriteLog("second", 1);
    WriteLog(nullptr, 2);
    const std::string members(300 * 1024, 'm');  // a sign-in's member list is written whole
    WriteLog(members.c_str(), 0);
    std::ifstream log(dir.filePath("Velora.log").toStdString());
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].substr(20), "[0] " + members);
    const std::regex stamp(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} )");
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} \[0\] first line)")))
        << lines[0];
    EXPECT_TRUE(std::regex_search(lines[1], stamp));
    EXPECT_EQ(lines[1].substr(20), "[1] second");
    EXPECT_EQ(lines[2].substr(20), "[2] ");
}

TEST_F(ClientKit, NamedBoxesCloseByNameOrByModule)
{
    CScriptedUiDriver driver;
    SetUiDriver(&driver);
    auto* module = reinterpret_cast<tarvolan::CModuleBase*>(0x1000);
    auto* otherModule = reinterpret_cast<tarvolan::CModuleBase*>(0x2000);

    EXPECT_EQ(OpenMsgBox("plain", nullptr, "t", "c", 0x24), IDYES);

    // While "outer" (module) is open, "inner" (other module) opens; closing
    // the module's boxes reaches only "outer".
    driver.onNamedBoxOpen = [&](const CString& name) {
        if (name == "outer") OpenMsgBox("inner", nullptr, "t", "c", 0x24, otherModule);
        if (name == "inner") CloseMsgBox(module);
    };
    EXPECT_EQ(OpenMsgBox("outer", nullptr, "t", "c", 0x24, module), 0);
    ASSERT_EQ(driver.Prompts().size(), 3u);
    EXPECT_EQ(driver.Prompts()[1].text, "t");
    EXPECT_EQ(driver.Prompts()[1].answer, IDYES);  // inner
    EXPECT_EQ(driver.Prompts()[2].answer, 0);      // outer

    driver.onNamedBoxOpen = [&](const CString& name) { CloseMsgBox(name.c_str()); };
    EXPECT_EQ(OpenMsgBox("transferReq", nullptr, "t", "c", 0x24, module), 0);
    CloseMsgBox(static_cast<tarvolan::CModuleBase*>(nullptr));  // closes nothing
    EXPECT_EQ(driver.m_closeLog, (std::vector<CString>{"outer", "transferReq"}));
}

TEST_F(ClientKit, BannedWordsMatchWholeCharacters)
{
    const CString word = Utf8ToGbk("坏");
    clientkit::SetBannedWords({"", "bad", word});
    CString found;
    EXPECT_EQ(bHaveFilterWords("a bad day", &found), 1);
    EXPECT_EQ(found, "bad");
    EXPECT_EQ(bHaveFilterWords(Utf8ToGbk("很坏").c_str(), &found), 1);
    EXPECT_EQ(found, word);
    EXPECT_EQ(bHaveFilterWords("fine", &found), 0);
    EXPECT_EQ(bHaveFilterWords(nullptr, nullptr), 0);
    EXPECT_EQ(bHaveFilterWords("bad", nullptr), 1);

    // A word whose bytes appear only across two characters does not match.
    const CString two = Utf8ToGbk("群组");  // C8 BA D7 E9
    clientkit::SetBannedWords({CString("\xBA\xD7")});
    EXPECT_EQ(bHaveFilterWords(two.c_str(), nullptr), 0);
}

template <typename T>
T Record(const char* name, const char* uri)
{
    T entry;
    std::memset(&entry, 'x', sizeof(entry));  // no terminators anywhere
    CString(name).CopyTo(reinterpret_cast<char*>(&entry), 65);
    CString(uri).CopyTo(reinterpret_cast<char*>(&entry) + 387, 257);
    return entry;
}

TEST_F(ClientKit, ParkedRequestsAreKeptByValue)
{
    auto invite = Record<tarvolan::tagGroupInvite>("g1", "sip:g1@x");
    AddInvitedToPubGroupMessageTempToList(invite);
    std::memset(&invite, 0, sizeof(invite));
    ASSERT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
    EXPECT_STREQ(GetInvitedToPubGroupMessageTempList()->front().pGroupName, "g1");
    EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->front().pReturn[128], 'x');
    ClearInvitedToPubGroupMessageTempList();
    EXPECT_TRUE(GetInvitedToPubGroupMessageTempList()->empty());

    AddJoinToPubGroupMessageTempToList(Record<tarvolan::tagGroupJoin>("g2", "sip:p@x"));
    EXPECT_EQ(GetJoinToPubGroupMessageTempList()->size(), 1u);
    ClearJoinToPubGroupMessageTempList();
    EXPECT_TRUE(GetJoinToPubGroupMessageTempList()->empty());

    // A withdrawal removes the offers of that group from that old owner only.
    const auto offer = [](const char* name, const char* group, const char* owner) {
        auto entry = Record<tarvolan::tagGroupTrsReq>(name, group);
        CString(owner).CopyTo(entry.OldOwnerURI, sizeof(entry.OldOwnerURI));
        return entry;
    };
    AddTrsPubGroupReqMessageTempToList(offer("a", "sip:a@x", "sip:ann@x"));
    AddTrsPubGroupReqMessageTempToList(offer("b", "sip:b@x", "sip:ann@x"));
    AddTrsPubGroupReqMessageTempToList(offer("a2", "sip:a@x", "sip:ann@x"));
    AddTrsPubGroupReqMessageTempToList(offer("a3", "sip:a@x", "sip:ben@x"));
    DelTrsPubGroupReqMessageTmpFromList("sip:a@x", "sip:ann@x");
    ASSERT_EQ(GetTrsPubGroupReqMessageTempList()->size(), 2u);
    EXPECT_STREQ(GetTrsPubGroupReqMessageTempList()->front().GroupName, "b");
    EXPECT_STREQ(GetTrsPubGroupReqMessageTempList()->back().GroupName, "a3");
    DelTrsPubGroupReqMessageTmpFromList(nullptr, nullptr);
    EXPECT_EQ(GetTrsPubGroupReqMessageTempList()->size(), 2u);
    ClearTrsPubGroupReqMessageTempList();
    EXPECT_TRUE(GetTrsPubGroupReqMessageTempList()->empty());
}

TEST_F(ClientKit, ParkedRequestsAreBoundedAndParkedOnce)
{
    const auto join = Record<tarvolan::tagGroupJoin>("g", "sip:p@x");
    AddJoinToPubGroupMessageTempToList(join);
    AddJoinToPubGroupMessageTempToList(join);
    auto other = join;
    other.pReturn2[128] = 'y';  // any byte makes another record
    AddJoinToPubGroupMessageTempToList(other);
    EXPECT_EQ(GetJoinToPubGroupMessageTempList()->size(), 2u);

    for (size_t i = 0; i < kParkedRequestsKept + 10; ++i)
        AddInvitedToPubGroupMessageTempToList(
            Record<tarvolan::tagGroupInvite>("g", ("sip:g" + std::to_string(i) + "@x").c_str()));
    ASSERT_EQ(GetInvitedToPubGroupMessageTempList()->size(), kParkedRequestsKept);
    EXPECT_STREQ(GetInvitedToPubGroupMessageTempList()->back().pGroupURI, "sip:g499@x");  // the first ones stay
}

TEST_F(ClientKit, ProfileTextsAreCopied)
{
    tarvolan::TMemberProfile profile{};
    std::string uri = "sip:me@x.com";
    profile.ids[tarvolan::kProfileUriIndex] = uri.c_str();
    profile.iHead = 3;
    clientkit::SetMyProfile(profile);
    uri = "changed";
    EXPECT_STREQ(GetMyInfo()->profile.ids[tarvolan::kProfileUriIndex], "sip:me@x.com");
    EXPECT_EQ(GetMyInfo()->profile.ids[0], nullptr);
    EXPECT_EQ(GetMyInfo()->profile.iHead, 3);
    clientkit::SetMyProfile(GetMyInfo()->profile);  // from itself
    EXPECT_STREQ(GetMyInfo()->profile.ids[tarvolan::kProfileUriIndex], "sip:me@x.com");
}

TEST_F(ClientKit, SettingTheChatFontMarksItChanged)
{
    TCharFormat format;
    format.crTextColor = RGBColor(1, 2, 3);
    TLogFont font;
    font.lfHeight = -20;
    clientkit::SetCharFormat(format, font);
    EXPECT_EQ(GetAppResetLF(), 1);
    EXPECT_EQ(GetAppCharFormat()->crTextColor, RGBColor(1, 2, 3));
    EXPECT_EQ(GetAppLogFont()->lfHeight, -20);
    SetAppResetLF(0);
    EXPECT_EQ(GetAppResetLF(), 0);
}

} // namespace
