// The scenario player's newer steps: holds and releases, bad names and bad
// input, scenario files with an environment, and the readers and the
// keyboard that the window steps use.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "SharedSession.h"
#include "player/ControlSnapshot.h"
#include "player/JsonPattern.h"
#include "player/Keyboard.h"
#include "player/ScenarioPlayer.h"
#include "scripted/ScriptedUiDriver.h"

using namespace host;

namespace {

CScenarioPlayer::EResult Play(const char* json, QString* message)
{
    CScenarioPlayer player(SharedSession());
    return player.Play(QJsonDocument::fromJson(json).array(), message);
}

int Count(const QJsonObject& pattern)
{
    int n = 0;
    for (const auto& e : SharedSession().Transcript().Entries())
        if (JsonMatches(pattern, e)) ++n;
    return n;
}

QString WriteFile(QTemporaryDir& dir, const char* name, const char* text)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

QWidget* Named(QWidget* widget, int id)
{
    widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

// ---- holds ---------------------------------------------------------------------------

TEST(ScenarioHolds, LaterStepsRunWhileTheQuestionIsOpen)
{
    QString message;
    ASSERT_EQ(Play(R"([{"network": "signin"}, {"mark": "m"},
        {"answer": "yes", "hold": true},
        {"network": "invite", "group": "Chess Club", "from": "sip:bob@velora.example"},
        {"expect": {"type": "hold", "kind": "message", "step": 2}, "from": "mark", "count": 1},
        {"expect": {"type": "call", "code": 16}, "from": "mark", "count": 0},
        {"release": "no"},
        {"expect": {"type": "call", "code": 16, "record": {"iAnswer": 2}}, "from": "mark", "count": 1}])",
                   &message),
              CScenarioPlayer::Passed)
        << message.toStdString();
}

TEST(ScenarioHolds, AHoldNeverReleasedIsBadInputNamingItsStep)
{
    QString message;
    EXPECT_EQ(Play(R"([{"network": "signin"}, {"answer": "yes", "hold": true},
        {"network": "invite", "group": "Board Room", "from": "sip:laura@velora.example"},
        {"comment": "the end, with the question open"}])",
                   &message),
              CScenarioPlayer::Malformed);
    EXPECT_TRUE(message.startsWith("step 1 (answer):")) << message.toStdString();
    EXPECT_TRUE(message.contains("never released")) << message.toStdString();
    EXPECT_TRUE(SharedSession().Driver()->OpenHolds().empty());
}

TEST(ScenarioHolds, AFailureInsideAHoldEndsTheRun)
{
    QString message;
    EXPECT_EQ(Play(R"([{"network": "signin"}, {"answer": "yes", "hold": true},
        {"network": "invite", "group": "旅行攻略", "from": "sip:carol@velora.example"},
        {"expect": {"type": "nothing-like-this"}},
        {"release": true}])",
                   &message),
              CScenarioPlayer::Failed);
    EXPECT_TRUE(message.startsWith("step 3 (expect):")) << message.toStdString();
    EXPECT_TRUE(SharedSession().Driver()->OpenHolds().empty());
}

TEST(ScenarioHolds, ReleasesThatFitNothing)
{
    QString message;
    EXPECT_EQ(Play(R"([{"release": true}])", &message), CScenarioPlayer::Failed);
    EXPECT_TRUE(message.contains("no held prompt")) << message.toStdString();
    EXPECT_EQ(Play(R"([{"release": "maybe"}])", &message), CScenarioPlayer::Malformed);
    EXPECT_EQ(Play(R"([{"answer": "file", "name": "x", "hold": true}])", &message), CScenarioPlayer::Malformed);
    EXPECT_EQ(Play(R"([{"answer": "yes", "hold": 1}])", &message), CScenarioPlayer::Malformed);
    EXPECT_EQ(Play(R"([{"network": "signin"}, {"answer": "yes", "hold": true},
        {"network": "invite", "group": "摄影爱好者", "from": "sip:lina@velora.example"},
        {"release": "dialog", "values": {"1045": "x"}},
        {"release": true}])",
                   &message),
              CScenarioPlayer::Malformed);
    EXPECT_TRUE(message.startsWith("step 3 (release):")) << message.toStdString();
}

// ---- bad names and bad input ---------------------------------------------------------

TEST(ScenarioSteps, NamesThatDoNotExistAreBadInput)
{
    const char* steps[] = {
        R"([{"controls": "x", "window": "no such caption"}])",
        R"([{"controls": "x", "window": {"chat": "no such group"}}])",
        R"([{"controls": "x", "window": {"chat": 3}}])",
        R"([{"conversation": "no such group"}])",
        R"([{"input": "x", "window": "main", "control": 99999}])",
        R"([{"input": "x", "window": "main"}])",
        R"([{"key": "Return", "window": "main", "control": 99999}])",
        R"([{"hover": ["no such item"]}])",
        R"([{"hover": 99999}])",
        R"([{"pick": 1, "window": "main"}])",
        R"([{"screenshot": "x.png", "window": "no such caption"}])",
        R"([{"screenshot": "x.png", "window": {"chat": "no such group"}}])",
        R"([{"click": 99999, "window": "main"}])",
        R"([{"press": 99999, "window": "main"}])",
        R"([{"press": 1, "window": "no such caption"}])",
        R"([{"click": 1000, "window": "main", "line": "no such line"}])",
        R"([{"close": "no such caption"}])",
        R"([{"close": "main"}])",
        R"([{"network": "signin"}, {"rightclick": ["群组管理", "我创建的群组", "产品研发部"], "menu": "没有这一项"}])",
        R"([{"network": "signin"}, {"menu": 99999}, {"rightclick": ["群组管理", "我创建的群组", "产品研发部"]}])",
        R"([{"expect": {"text": {"$regex": "(unclosed"}}}])",
    };
    for (const char* json : steps) {
        QString message;
        EXPECT_EQ(Play(json, &message), CScenarioPlayer::Malformed) << json;
        EXPECT_TRUE(message.startsWith("step 0 (") || message.startsWith("step 1 (") || message.startsWith("step 2 ("))
            << message.toStdString();
    }
}

TEST(ScenarioSteps, MalformedValues)
{
    const char* steps[] = {
        R"([{"send": 1041, "bytes": "0g"}])",
        R"([{"send": 1041, "bytes": "123"}])",
        R"([{"send": 1041, "bytes": "00", "record": null}])",
        R"([{"key": "NoSuchKey", "window": "main"}])",
        R"([{"key": 13, "window": "main"}])",
        R"([{"uninit": false}])",
        R"([{"conversation": "读书会", "editor": "history"}])",
        R"([{"screenshot": ""}])",
        R"([{"screenshot": 3}])",
        R"([{"answer": "font", "values": {"weight": 700}}])",
        R"([{"answer": "font", "values": {"color": "red"}}])",
        R"([{"answer": "font", "values": {"size": 0}}])",
        R"([{"answer": "font", "button": "yes"}])",
        R"([{"clientkit": {"bannedWords": [1]}}])",
        R"([{"clientkit": {"versionType": "3"}}])",
        R"([{"exists": 3}])",
        R"([{"exists": "main", "expect": 1}])",
        R"([{"wait": -1}])",
        R"([{"timer": 1001, "force": 1}])",
        R"([{"rightclick": ["群组管理"], "menu": {}}])",
        R"([{"expect": {}, "count": "1"}])",
    };
    for (const char* json : steps) {
        QString message;
        EXPECT_EQ(Play(json, &message), CScenarioPlayer::Malformed) << json << " " << message.toStdString();
    }
}

// A window that is not there is an answer, not bad input; only an
// expectation that it is there fails.
TEST(ScenarioSteps, ExistsRecordsAndChecks)
{
    QString message;
    EXPECT_EQ(Play(R"([{"mark": "m"}, {"exists": "no such caption"}, {"exists": "no such caption", "expect": false},
        {"exists": "main", "expect": true},
        {"expect": {"type": "exists", "window": "no such caption", "exists": false}, "from": "mark", "count": 2}])",
                   &message),
              CScenarioPlayer::Passed)
        << message.toStdString();
    EXPECT_EQ(Play(R"([{"exists": "no such caption", "expect": true}])", &message), CScenarioPlayer::Failed);
    EXPECT_TRUE(message.startsWith("step 0 (exists):")) << message.toStdString();
}

// A picture of the window a step names, at that window's size; a file that
// cannot be written fails the step.
TEST(ScenarioSteps, ScreenshotOfANamedWindow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("group-window.png");
    const QByteArray steps = R"([{"mark": "m"}, {"screenshot": ")" + path.toUtf8() + R"(", "window": "main"},
        {"expect": {"type": "screenshot", "window": "main"}, "from": "mark", "count": 1}])";
    QString message;
    ASSERT_EQ(Play(steps.constData(), &message), CScenarioPlayer::Passed) << message.toStdString();
    const QImage picture(path);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), SharedSession().GroupWindow()->size());

    EXPECT_EQ(Play(R"([{"screenshot": "/no/such/folder/x.png", "window": "client"}])", &message),
              CScenarioPlayer::Failed);
    EXPECT_TRUE(message.contains("cannot be written")) << message.toStdString();
}

TEST(ScenarioSteps, RawBytesAreSentAndRecordedAsHex)
{
    QString message;
    ASSERT_EQ(Play(R"([{"send": 30123, "bytes": "0A0b 0c"}])", &message), CScenarioPlayer::Passed)
        << message.toStdString();
    EXPECT_EQ(Count({{"type", "send"}, {"code", 30123}, {"bytes", "0a 0b 0c"}, {"calls", 0}}), 1);
}

// ---- scenario files ------------------------------------------------------------------

// "answers" changes only the answers it names, and they stay for the steps after it.
TEST(ScenarioSteps, AnswersOfOtherUsersSetOneByOne)
{
    CImsNetwork& network = SharedSession().Network();
    const TPeerAnswers before = network.PeerAnswers();
    QString message;
    ASSERT_EQ(Play(R"([{"ims": "answers", "join": 2}, {"ims": "answers", "transfer": 3}])", &message),
              CScenarioPlayer::Passed)
        << message.toStdString();
    const TPeerAnswers after = network.PeerAnswers();
    network.SetPeerAnswers(before);
    EXPECT_EQ(after.invite, before.invite);
    EXPECT_EQ(after.join, 2);
    EXPECT_EQ(after.transfer, 3);
}

TEST(ScenarioFile, ObjectWithEnvironmentAndWorld)
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "s.json", R"({"env": {"TZ": "CST-8", "LANG": "C"}, "world": "w/x.json",
                                                     "steps": [{"comment": "x"}]})");
    TScenario scenario;
    QString error;
    ASSERT_TRUE(CScenarioPlayer::Load(path, scenario, &error)) << error.toStdString();
    EXPECT_EQ(scenario.steps.size(), 1);
    EXPECT_EQ(scenario.env.value("TZ").toString(), "CST-8");
    EXPECT_EQ(scenario.world, dir.filePath("w/x.json"));
}

TEST(ScenarioFile, BadEnvironmentsNameTheKey)
{
    QTemporaryDir dir;
    const std::pair<const char*, const char*> cases[] = {
        {R"({"env": {"TZ": 8}, "steps": []})", "\"TZ\" must be a text"},
        {R"({"env": {"HOME": "/"}, "steps": []})", "HOME"},
        {R"({"env": "TZ=UTC", "steps": []})", "\"env\""},
        {R"({"env": {}})", "\"steps\""},
        {R"({"steps": [], "extra": 1})", "extra"},
        {R"({"world": 3, "steps": []})", "\"world\""},
        {R"({"steps": 3})", "\"steps\" must be a list"},
    };
    for (const auto& [text, part] : cases) {
        const QString path = WriteFile(dir, "bad.json", text);
        TScenario scenario;
        QString error;
        EXPECT_FALSE(CScenarioPlayer::Load(path, scenario, &error)) << text;
        EXPECT_TRUE(error.startsWith(path) && error.contains(QLatin1String(part))) << error.toStdString();
    }
}

TEST(ScenarioFile, EnvironmentIsSet)
{
    const QByteArray before = qgetenv("TZ");
    CScenarioPlayer::ApplyEnvironment({{"TZ", "CST-8"}});
    EXPECT_EQ(qgetenv("TZ"), "CST-8");
    std::time_t noon = 12 * 3600;
    std::tm local{};
    localtime_r(&noon, &local);
    EXPECT_EQ(local.tm_hour, 20);
    if (before.isNull()) qunsetenv("TZ");
    else qputenv("TZ", before);
    tzset();
}

// ---- reading windows and conversations -------------------------------------------------

TEST(ControlSnapshot, ControlsByIdWithTheirState)
{
    QDialog window;
    window.setWindowTitle("caption");
    auto* layout = new QVBoxLayout(&window);
    auto* check = new QCheckBox("c", &window);
    check->setChecked(true);
    auto* list = new QListWidget(&window);
    list->addItems({"one", "two"});
    list->setCurrentRow(1);
    auto* combo = new QComboBox(&window);
    combo->addItems({"a", "b"});
    auto* button = new QPushButton("&Go", &window);
    button->setEnabled(false);
    auto* tree = new QTreeWidget(&window);
    tree->setHeaderLabels({"name", "value"});
    auto* root = new QTreeWidgetItem(tree, QStringList{"r", "1"});
    new QTreeWidgetItem(root, QStringList{"child", "2"});
    auto* hidden = new QLabel("hidden", &window);
    hidden->hide();
    for (QWidget* w : {Named(check, 10), Named(list, 11), Named(combo, 12), Named(button, 13), Named(tree, 14),
                       Named(hidden, 15)})
        layout->addWidget(w);
    QDialog inner(&window);  // a window of its own: its controls are not the outer window's
    Named(new QLineEdit(&inner), 16);

    const QJsonObject snapshot = SnapshotWindow(&window);
    EXPECT_EQ(snapshot.value("shown").toBool(), false);
    EXPECT_EQ(snapshot.value("caption").toString(), "caption");
    const QJsonObject controls = snapshot.value("controls").toObject();
    EXPECT_EQ(controls.size(), 6);
    EXPECT_TRUE(JsonMatches(QJsonObject{{"kind", "check"}, {"checked", true}, {"visible", true}}, controls["10"]));
    EXPECT_TRUE(JsonMatches(QJsonObject{{"kind", "list"}, {"lines", QJsonArray{"one", "two"}}, {"selected", 1}},
                            controls["11"]));
    EXPECT_TRUE(JsonMatches(QJsonObject{{"kind", "combo"}, {"lines", QJsonArray{"a", "b"}}, {"selected", 0}},
                            controls["12"]));
    EXPECT_TRUE(JsonMatches(QJsonObject{{"kind", "button"}, {"text", "&Go"}, {"enabled", false}}, controls["13"]));
    EXPECT_FALSE(controls["13"].toObject().contains("checked"));
    const QJsonObject expectedTree{
        {"kind", "tree"},
        {"columns", QJsonArray{"name", "value"}},
        {"rows", QJsonArray{QJsonObject{{"cells", QJsonArray{"r", "1"}},
                                        {"expanded", false},
                                        {"children", QJsonArray{QJsonObject{{"cells", QJsonArray{"child", "2"}}}}}}}}};
    EXPECT_TRUE(JsonMatches(expectedTree, controls["14"])) << QJsonDocument(controls["14"].toObject()).toJson().toStdString();
    EXPECT_TRUE(JsonMatches(QJsonObject{{"kind", "label"}, {"visible", false}}, controls["15"]));
}

TEST(ControlSnapshot, ConversationWithPicturesAndRuns)
{
    QTextEdit edit;
    QTextCursor cursor(edit.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0x12, 0x34, 0x56));
    cursor.insertText("Hi ", bold);
    QTextImageFormat picture;
    picture.setName("emoticon:5");
    cursor.insertImage(picture);
    cursor.insertText(" there", QTextCharFormat());
    cursor.insertBlock();
    cursor.insertText("line two", QTextCharFormat());
    QTextImageFormat unknown;
    unknown.setName("other:1");
    cursor.insertImage(unknown);

    const QJsonObject snapshot = SnapshotConversation(&edit);
    EXPECT_EQ(snapshot.value("text").toString(), "Hi [emoticon 5] there\nline two[picture]");
    EXPECT_EQ(snapshot.value("pictures").toArray(), (QJsonArray{5, -1}));
    const QJsonArray runs = snapshot.value("runs").toArray();
    ASSERT_EQ(runs.size(), 4);
    EXPECT_TRUE(JsonMatches(QJsonObject{{"text", "Hi "}, {"bold", true}, {"color", "#123456"}}, runs[0]));
    EXPECT_TRUE(JsonMatches(QJsonObject{{"picture", 5}}, runs[1]));
    EXPECT_TRUE(JsonMatches(QJsonObject{{"text", " there\nline two"}, {"bold", false}, {"color", QJsonValue::Null}},
                            runs[2]))
        << QJsonDocument(runs).toJson().toStdString();
    EXPECT_TRUE(JsonMatches(QJsonObject{{"picture", -1}}, runs[3]));
}

// ---- the keyboard ----------------------------------------------------------------------

TEST(Keyboard, TypesTextKeyByKey)
{
    QTextEdit edit;
    edit.show();
    TypeText(&edit, QString::fromUtf8("ab 你\xF0\x9F\x98\x80\nc"));
    EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("ab 你\xF0\x9F\x98\x80\nc"));
    QLineEdit line;
    line.show();
    TypeText(&line, "x:)");
    EXPECT_EQ(line.text(), "x:)");
}

TEST(Keyboard, MnemonicClicksItsButtonAndBadKeysAreRefused)
{
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* button = new QPushButton(QString::fromUtf8("发送(&S)"), &window);
    layout->addWidget(edit);
    layout->addWidget(button);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    QString why;
    ASSERT_TRUE(PressKeys(edit, "Alt+S", &why)) << why.toStdString();
    EXPECT_EQ(clicks, 1);
    button->setEnabled(false);
    ASSERT_TRUE(PressKeys(edit, "Alt+S", &why));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(PressKeys(edit, "Alt+S, Alt+T", &why));
    EXPECT_FALSE(PressKeys(edit, "", &why));
    EXPECT_TRUE(why.contains("key combination")) << why.toStdString();
}

} // namespace
