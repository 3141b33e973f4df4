// The client with the real module: loading, the transcript, the scenario
// player's handling of good and bad steps. The module is one object per
// process, so every test shares one session.
#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "SharedSession.h"
#include "platform/Window.h"
#include "player/JsonPattern.h"
#include "player/ScenarioPlayer.h"
#include "ui/ClientSession.h"
#include "ui/ClientWindow.h"

using namespace host;
using namespace tarvolan;

namespace {

CClientSession& Session()
{
    return SharedSession();
}

CScenarioPlayer::EResult Play(const char* json, QString* message = nullptr)
{
    QString ignored;
    CScenarioPlayer player(Session());
    return player.Play(QJsonDocument::fromJson(json).array(), message ? message : &ignored);
}

bool Has(const QJsonObject& pattern)
{
    for (const auto& e : Session().Transcript().Entries())
        if (JsonMatches(pattern, e)) return true;
    return false;
}

} // namespace

TEST(ClientSession, StartsTheModuleAndRecordsItsCalls)
{
    ASSERT_TRUE(Session().Bridge().Module());
    EXPECT_EQ(Session().Bridge().Module()->GetModuleType(), kModuleType);
    ASSERT_TRUE(Session().GroupTree());
    EXPECT_TRUE(Has({{"type", "send"}, {"code", H_ShowWindow}, {"record", QJsonObject{{"iShow", 5}}}}));
    EXPECT_TRUE(Has({{"type", "call"}, {"iface", 2}, {"code", M_SkinRequest}}));
    // The skin request reached the group window: main.skn -> main.qss.
    EXPECT_TRUE(Has({{"type", "skin"}, {"file", "main.skn"}, {"window", true}, {"sheet", "main.qss"}}));
    EXPECT_FALSE(Session().GroupWindow()->styleSheet().isEmpty());
    EXPECT_EQ(Session().GroupWindow()->property("skinElement").toString(), "window_frm");
}

TEST(ClientSession, IgnoredMessageIsSentAndUnanswered)
{
    ASSERT_EQ(Play(R"([{"send": 1042, "record": null}, {"expect": {"type": "send", "code": 1042, "calls": 0}}])"),
              CScenarioPlayer::Passed);
}

TEST(ClientSession, SignInFillsTheTree)
{
    ASSERT_EQ(Play(R"([{"network": "signin"}, {"snapshot": "x"}])"), CScenarioPlayer::Passed);
    QTreeWidget* tree = Session().GroupTree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->childCount(), 2);  // the groups I own
    QString message;
    EXPECT_EQ(Play(R"([{"click": ["群组管理", "我加入的群组", "读书会"]},
                       {"expect": {"type": "call", "code": 1, "record": {"pGroupURI": "sip:bookclub@group.velora.example"}}}])",
                   &message),
              CScenarioPlayer::Passed)
        << message.toStdString();
}

// The Groups menu's blacklist entry gives the group window command 13062
// for the group selected in its tree.
TEST(ClientSession, GroupMenuOpensTheBlacklistOfTheSelectedGroup)
{
    ASSERT_EQ(Play(R"([{"network": "signin"}, {"click": ["群组管理", "我创建的群组", "产品研发部"]}])"),
              CScenarioPlayer::Passed);
    QAction* entry = Session().Window().findChild<QAction*>(QStringLiteral("command13062"));
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    QWidget* window = FindWindowByCaption(Utf8ToGbk("黑白名单维护"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Has({{"type", "call"}, {"code", M_RequestBlacklist},
                     {"record", QJsonObject{{"pGroupURI", "sip:rd-team@group.velora.example"}}}}));
    window->close();
}

TEST(ClientSession, FailuresNameTheStep)
{
    QString message;
    EXPECT_EQ(Play(R"([{"comment": "x"}, {"expect": {"type": "nothing-like-this"}}])", &message), CScenarioPlayer::Failed);
    EXPECT_TRUE(message.startsWith("step 1 (expect):")) << message.toStdString();
    EXPECT_EQ(Play(R"([{"expect": {"type": "send"}, "count": 0}])", &message), CScenarioPlayer::Failed);
    EXPECT_EQ(Play(R"([{"click": ["群组管理", "没有这个"]}])", &message), CScenarioPlayer::Malformed);
    EXPECT_TRUE(message.contains("没有这个"));
    EXPECT_EQ(Play(R"([{"timer": 1001, "window": "no such caption"}])", &message), CScenarioPlayer::Malformed);
}

TEST(ClientSession, MalformedStepsAreRefused)
{
    QString message;
    EXPECT_EQ(Play(R"([{"send": 1020, "wait": 1}])", &message), CScenarioPlayer::Malformed);
    EXPECT_TRUE(message.startsWith("step 0:")) << message.toStdString();
    EXPECT_EQ(Play(R"([{"send": 1020, "record": {"pGroupUri": "x"}}])", &message), CScenarioPlayer::Malformed);
    EXPECT_TRUE(message.contains("pGroupUri"));
    EXPECT_EQ(Play(R"([{"answer": "maybe"}])", &message), CScenarioPlayer::Malformed);
    EXPECT_EQ(Play(R"([{"ims": "fail", "code": 2}])", &message), CScenarioPlayer::Malformed);
    EXPECT_EQ(Play(R"([{"snapshot": "x", "colour": 1}])", &message), CScenarioPlayer::Malformed);
    EXPECT_EQ(Play(R"([3])", &message), CScenarioPlayer::Malformed);
    EXPECT_EQ(Play(R"([{"network": "dance"}])", &message), CScenarioPlayer::Malformed);
    // Keys that belong to the step's operation are not a second operation.
    EXPECT_EQ(Play(R"([{"rightclick": ["群组管理"], "menu": 0, "comment": "x"}])", &message), CScenarioPlayer::Passed)
        << message.toStdString();
}

TEST(ClientSession, ScenarioFileErrorsNameThePosition)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.json");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[\n  {\"send\": 1020}\n  {\"send\": 1021}\n]\n");
    file.close();
    QJsonArray steps;
    QString error;
    EXPECT_FALSE(CScenarioPlayer::Load(path, steps, &error));
    EXPECT_TRUE(error.startsWith(path + ":3:")) << error.toStdString();
    EXPECT_FALSE(CScenarioPlayer::Load(dir.filePath("missing.json"), steps, &error));
}

TEST(ClientSession, RelayRecordIsDecoded)
{
    TMessageWindowRecord record{reinterpret_cast<Word>("sip:a@x"), reinterpret_cast<Word>("A"), 1, 0, 0};
    const QJsonObject decoded =
        DecodeRelayRecord(kRelayTarget, kRelayOpenMessageWindow, reinterpret_cast<Word>(&record)).toObject();
    EXPECT_EQ(decoded["memberURI"].toString(), "sip:a@x");
    EXPECT_EQ(decoded["mode"].toInt(), 1);
    EXPECT_TRUE(DecodeRelayRecord(1, 2, reinterpret_cast<Word>(&record)).isNull());
}

TEST(Transcript, SubsetMatching)
{
    const QJsonObject entry{{"a", 1}, {"b", QJsonObject{{"c", "x"}, {"d", 2}}}, {"e", QJsonArray{1, 2, 3}}};
    EXPECT_TRUE(JsonMatches(QJsonObject{{"b", QJsonObject{{"c", "x"}}}}, entry));
    EXPECT_TRUE(JsonMatches(QJsonObject{{"e", QJsonArray{1, 2}}}, entry));
    EXPECT_FALSE(JsonMatches(QJsonObject{{"e", QJsonArray{2}}}, entry));
    EXPECT_FALSE(JsonMatches(QJsonObject{{"a", "1"}}, entry));
    EXPECT_FALSE(JsonMatches(QJsonObject{{"z", QJsonValue::Null}}, entry));
}

// Operators: a regular expression matches the whole text, "contains" a part,
// "exactly" an array of that length; a bad operator matches nothing.
TEST(Transcript, PatternOperators)
{
    const QJsonObject entry = QJsonDocument::fromJson(
        R"({"time": "Fri, 05 Dec 2026 12:00:00 GMT+08:00", "n": 5, "lines": ["a", "b"], "none": []})").object();
    const struct {
        const char* pattern;
        bool matches;
    } cases[] = {
        {R"({"time": {"$regex": ".* GMT\\+08:00"}})", true},
        {R"({"time": {"$regex": "GMT\\+08:00"}})", false},  // the whole text, not a part
        {R"({"time": {"$contains": "12:00:00"}})", true},
        {R"({"n": {"$contains": "5"}})", false},             // texts only
        {R"({"lines": {"$exactly": ["a", "b"]}})", true},
        {R"({"lines": {"$exactly": ["a"]}})", false},
        {R"({"lines": ["a"]})", true},
        {R"({"lines": {"$exactly": ["a", {"$regex": "[b-z]"}]}})", true},
        {R"({"none": {"$exactly": []}})", true},
        {R"({"lines": {"$exactly": []}})", false},
    };
    for (const auto& c : cases) {
        CJsonPattern pattern;
        QString why;
        ASSERT_TRUE(pattern.Compile(QJsonDocument::fromJson(c.pattern).object(), &why)) << c.pattern << why.toStdString();
        EXPECT_EQ(pattern.Matches(entry), c.matches) << c.pattern;
    }
    for (const char* bad : {R"({"a": {"$regex": "("}})", R"({"a": {"$like": "x"}})", R"({"a": {"$exactly": 1}})",
                            R"({"a": [{"$contains": 2}]})", R"({"a": {"$regex": "x", "b": 1}})"}) {
        CJsonPattern pattern;
        QString why;
        EXPECT_FALSE(pattern.Compile(QJsonDocument::fromJson(bad).object(), &why)) << bad;
        EXPECT_FALSE(why.isEmpty());
    }
}
