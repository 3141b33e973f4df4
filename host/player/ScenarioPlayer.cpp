#include "player/ScenarioPlayer.h"

#include <cctype>
#include <ctime>
#include <map>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>

#include "bridge/JsonFile.h"
#include "bridge/Transcript.h"
#include "clientkit/ClientKit.h"
#include "scripted/ScriptedUiDriver.h"
#include "platform/ScreenReading.h"
#include "platform/Window.h"
#include "player/JsonPattern.h"
#include "player/TreeAccess.h"
#include "ui/ClientSession.h"
#include "ui/ClientWindow.h"

using namespace tarvolan;

namespace host {

namespace {

constexpr int kSettleRounds = 50;
constexpr int kLongestWait = 600000;  // ten minutes

struct TOpInfo {
    const char* name;
    std::vector<const char*> keys;  // allowed besides the op's own key, "comment" and "settle"
};

// In the order in which a step's op is recognised; "comment" alone is a no-op.
const std::vector<TOpInfo>& Ops()
{
    static const std::vector<TOpInfo> ops = {
        {"send", {"record", "bytes"}},
        {"ims", {"code", "result", "ms", "invite", "join", "transfer"}},
        {"network", {"group", "from", "user", "text", "presence", "code"}},
        {"click", {"window", "tree", "line"}},
        {"rightclick", {"window", "tree", "line", "menu"}},
        {"doubleclick", {"window", "tree", "line"}},
        {"menu", {}},
        {"command", {"window", "lParam"}},
        {"press", {"window"}},
        {"answer", {"values", "button", "value", "name", "hold"}},
        {"release", {"prompt", "values", "button"}},
        {"timer", {"window", "force"}},
        {"checktimer", {"window"}},
        {"wait", {}},
        {"snapshot", {"window", "tree"}},
        {"exists", {"expect"}},  // before "expect", which it takes as a key
        {"expect", {"count", "from"}},
        {"mark", {}},
        {"clientkit", {}},
        {"screenshot", {"window"}},
        {"controls", {"window"}},
        {"conversation", {"label", "editor"}},
        {"input", {"window", "control"}},
        {"key", {"window", "control"}},
        {"pick", {"window"}},
        {"hover", {"window", "tree"}},
        {"uninit", {}},
        {"close", {}},
        {"comment", {}},
    };
    return ops;
}

// Hex digits, spaces allowed between them; false for anything else.
bool ParseHex(const QJsonValue& value, QByteArray& bytes)
{
    if (!value.isString()) return false;
    QByteArray digits = value.toString().toLatin1();
    digits.replace(' ', QByteArray());
    if (digits.size() % 2 != 0) return false;
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    bytes = QByteArray::fromHex(digits);
    return true;
}

// An entry's text as a person reads it: without its mnemonic ("(&L)" or
// "&"), the dots of "..." and a shortcut after a tab.
QString EntryLabel(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0);
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
    text.remove(mnemonic);
    text.remove(QLatin1Char('&'));
    while (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text.trimmed();
}

// A menu entry chosen by its command id or its text.
bool EntryFits(const QAction* entry, const QJsonValue& choice)
{
    if (choice.isDouble()) return entry->data().toInt() == choice.toInt();
    return EntryLabel(entry->text()) == EntryLabel(choice.toString());
}

// The visible command entries of a menu and its submenus, in order.
std::vector<QAction*> MenuEntries(const QMenu* menu)
{
    std::vector<QAction*> entries;
    if (!menu) return entries;
    for (QAction* action : menu->actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        if (action->menu()) {
            const std::vector<QAction*> inner = MenuEntries(action->menu());
            entries.insert(entries.end(), inner.begin(), inner.end());
        } else {
            entries.push_back(action);
        }
    }
    return entries;
}

} // namespace

bool CScenarioPlayer::Load(const QString& path, TScenario& scenario, QString* error)
{
    QJsonDocument doc;
    if (!ReadJsonFile(path, doc, error)) return false;
    auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    };
    scenario = TScenario();
    if (doc.isArray()) {
        scenario.steps = doc.array();
        return true;
    }
    if (!doc.isObject()) return fail(QStringLiteral("a scenario must be a JSON list of steps or an object with \"steps\""));
    const QJsonObject root = doc.object();
    QString why;
    if (!OnlyKeys(root, {"env", "world", "steps"}, QStringLiteral("scenario"), &why)) return fail(why);
    if (!root.value("steps").isArray()) return fail(QStringLiteral("\"steps\" must be a list of steps"));
    scenario.steps = root.value("steps").toArray();
    const QJsonValue world = root.value("world");
    if (!world.isUndefined() && (!world.isString() || world.toString().isEmpty()))
        return fail(QStringLiteral("\"world\" must be the name of a world file"));
    if (world.isString()) scenario.world = QFileInfo(path).absoluteDir().filePath(world.toString());
    const QJsonValue env = root.value("env");
    if (env.isUndefined()) return true;
    if (!env.isObject()) return fail(QStringLiteral("\"env\" must be an object of texts"));
    scenario.env = env.toObject();
    if (!OnlyKeys(scenario.env, {"LANG", "LC_ALL", "TZ"}, QStringLiteral("env"), &why)) return fail(why);
    for (auto it = scenario.env.begin(); it != scenario.env.end(); ++it)
        if (!it.value().isString()) return fail(QStringLiteral("env: \"%1\" must be a text").arg(it.key()));
    return true;
}

bool CScenarioPlayer::Load(const QString& path, QJsonArray& steps, QString* error)
{
    TScenario scenario;
    if (!Load(path, scenario, error)) return false;
    steps = scenario.steps;
    return true;
}

void CScenarioPlayer::ApplyEnvironment(const QJsonObject& env)
{
    for (auto it = env.begin(); it != env.end(); ++it)
        qputenv(it.key().toLatin1().constData(), it.value().toString().toLocal8Bit());
    tzset();
}

const char* CScenarioPlayer::OpOf(const QJsonObject& step, QString* why)
{
    // The first operation key names the step; "comment" only when it is alone.
    const TOpInfo* op = nullptr;
    for (const auto& info : Ops())
        if (!op && step.contains(QLatin1String(info.name))) op = &info;
    if (!op) {
        QStringList names;
        for (const auto& info : Ops()) names << QLatin1String(info.name);
        *why = QStringLiteral("no operation (one of: %1)").arg(names.join(QStringLiteral(", ")));
        return nullptr;
    }
    for (auto it = step.begin(); it != step.end(); ++it) {
        bool known = it.key() == QLatin1String(op->name) || it.key() == QLatin1String("comment") ||
                     it.key() == QLatin1String("settle");
        for (const char* key : op->keys) known = known || it.key() == QLatin1String(key);
        if (known) continue;
        bool isOp = false;
        for (const auto& info : Ops()) isOp = isOp || it.key() == QLatin1String(info.name);
        *why = isOp ? QStringLiteral("a step has one operation, this one has \"%1\" and \"%2\"").arg(op->name, it.key())
                    : QStringLiteral("unknown key \"%1\" for \"%2\"").arg(it.key(), op->name);
        return nullptr;
    }
    return op->name;
}

CScenarioPlayer::EResult CScenarioPlayer::Play(const QJsonArray& steps, QString* message)
{
    m_steps = steps;
    m_next = 0;
    m_result = Passed;
    m_message.clear();
    if (CScriptedUiDriver* driver = m_session.Driver()) driver->onHold = [this](THold& hold) { OnHold(hold); };
    // What a screen reader is told goes into the transcript.
    const tarvolan::TAnnouncementObserver before =
        tarvolan::SetAnnouncementObserver([this](QWidget* window, const QString& text) {
            const QString name = window->accessibleName().isEmpty() ? window->windowTitle() : window->accessibleName();
            m_session.Transcript().Add({{"type", "announcement"}, {"window", name}, {"text", text}});
        });
    Settle();
    PlaySteps([] { return false; });
    tarvolan::SetAnnouncementObserver(before);
    if (CScriptedUiDriver* driver = m_session.Driver()) {
        driver->onHold = nullptr;
        driver->ClearMenuChoices();  // they would answer to this player
    }
    if (message) *message = m_message;
    return m_result;
}

void CScenarioPlayer::PlaySteps(const std::function<bool()>& done)
{
    while (m_result == Passed && !done() && m_next < m_steps.size()) PlayOne(m_next++);
}

void CScenarioPlayer::Fail(EResult result, qsizetype index, const QString& op, const QString& reason)
{
    m_result = result;
    m_message = op.isEmpty() ? QStringLiteral("step %1: %2").arg(index).arg(reason)
                             : QStringLiteral("step %1 (%2): %3").arg(index).arg(op, reason);
    if (op.isEmpty()) return;
    m_session.Transcript().Add({{"type", "failure"}, {"index", static_cast<int>(index)}, {"op", op}, {"reason", reason}});
}

void CScenarioPlayer::PlayOne(qsizetype index)
{
    if (!m_steps[index].isObject()) return Fail(Malformed, index, QString(), QStringLiteral("a step must be an object"));
    const QJsonObject step = m_steps[index].toObject();
    QString why;
    const char* op = OpOf(step, &why);
    if (!op) return Fail(Malformed, index, QString(), why);
    m_session.Transcript().Add({{"type", "step"}, {"index", static_cast<int>(index)}, {"op", op}});
    const qsizetype outer = m_current;
    m_current = index;
    TStepError error = PlayStep(op, step);
    if (error.result == Passed && !m_menuProblem.isEmpty()) error = {Malformed, m_menuProblem};
    m_menuProblem.clear();
    m_current = outer;
    // A release is answered as soon as its step ends: the step that opened
    // the prompt settles after it.
    const bool release = qstrcmp(op, "release") == 0;
    if (!release && step.value("settle").toBool(true)) Settle();
    if (error.result != Passed && m_result == Passed) Fail(error.result, index, QLatin1String(op), error.reason);
}

CScenarioPlayer::TStepError CScenarioPlayer::PlayStep(const char* op, const QJsonObject& step)
{
    static const std::map<QString, Op> ops = {
        {QStringLiteral("send"), &CScenarioPlayer::Send},
        {QStringLiteral("ims"), &CScenarioPlayer::Ims},
        {QStringLiteral("network"), &CScenarioPlayer::Network},
        {QStringLiteral("click"), &CScenarioPlayer::Click},
        {QStringLiteral("rightclick"), &CScenarioPlayer::RightClick},
        {QStringLiteral("doubleclick"), &CScenarioPlayer::DoubleClick},
        {QStringLiteral("menu"), &CScenarioPlayer::Menu},
        {QStringLiteral("command"), &CScenarioPlayer::Command},
        {QStringLiteral("press"), &CScenarioPlayer::Press},
        {QStringLiteral("answer"), &CScenarioPlayer::Answer},
        {QStringLiteral("release"), &CScenarioPlayer::Release},
        {QStringLiteral("timer"), &CScenarioPlayer::Timer},
        {QStringLiteral("checktimer"), &CScenarioPlayer::CheckTimer},
        {QStringLiteral("wait"), &CScenarioPlayer::Wait},
        {QStringLiteral("snapshot"), &CScenarioPlayer::Snapshot},
        {QStringLiteral("expect"), &CScenarioPlayer::Expect},
        {QStringLiteral("mark"), &CScenarioPlayer::Mark},
        {QStringLiteral("clientkit"), &CScenarioPlayer::ClientKit},
        {QStringLiteral("screenshot"), &CScenarioPlayer::Screenshot},
        {QStringLiteral("controls"), &CScenarioPlayer::Controls},
        {QStringLiteral("conversation"), &CScenarioPlayer::Conversation},
        {QStringLiteral("input"), &CScenarioPlayer::Input},
        {QStringLiteral("key"), &CScenarioPlayer::Key},
        {QStringLiteral("pick"), &CScenarioPlayer::Pick},
        {QStringLiteral("hover"), &CScenarioPlayer::Hover},
        {QStringLiteral("uninit"), &CScenarioPlayer::Uninit},
        {QStringLiteral("close"), &CScenarioPlayer::Close},
        {QStringLiteral("exists"), &CScenarioPlayer::Exists},
        {QStringLiteral("comment"), &CScenarioPlayer::Comment},
    };
    return (this->*(ops.at(QLatin1String(op))))(step);
}

void CScenarioPlayer::Settle()
{
    for (int round = 0; round < kSettleRounds; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if (m_session.Network().Pending() == 0) break;
        m_session.Network().Flush();
    }
    m_session.PollLog();
}

// ---- steps ---------------------------------------------------------------------

CScenarioPlayer::TStepError CScenarioPlayer::Send(const QJsonObject& step)
{
    if (!step.value("send").isDouble()) return {Malformed, QStringLiteral("\"send\" takes a message code")};
    const int code = step.value("send").toInt();
    if (step.contains("bytes")) {
        if (step.contains("record")) return {Malformed, QStringLiteral("a message has a \"record\" or \"bytes\", not both")};
        QByteArray bytes;
        if (!ParseHex(step.value("bytes"), bytes))
            return {Malformed, QStringLiteral("\"bytes\" takes the record as hex digits (\"0500 0000\")")};
        m_session.Bridge().SendBytes(code, bytes, QStringLiteral("scenario"));
        return {};
    }
    QString error;
    if (!m_session.Bridge().Send(code, step.value("record"), QStringLiteral("scenario"), &error)) return {Malformed, error};
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Ims(const QJsonObject& step)
{
    CImsNetwork& ims = m_session.Network();
    const QString what = step.value("ims").toString();
    if (what == QLatin1String("on") || what == QLatin1String("off")) {
        ims.SetEnabled(what == QLatin1String("on"));
    } else if (what == QLatin1String("fail")) {
        if (!step.value("code").isDouble() || !step.value("result").isDouble())
            return {Malformed, QStringLiteral("\"fail\" needs \"code\" (a request code) and \"result\"")};
        ims.FailNext(step.value("code").toInt(), step.value("result").toInt());
    } else if (what == QLatin1String("delay")) {
        ims.SetDelay(step.value("ms").toInt());
    } else if (what == QLatin1String("answers")) {
        TPeerAnswers answers = ims.PeerAnswers();
        answers.invite = step.value("invite").toInt(answers.invite);
        answers.join = step.value("join").toInt(answers.join);
        answers.transfer = step.value("transfer").toInt(answers.transfer);
        ims.SetPeerAnswers(answers);
    } else if (what == QLatin1String("flush")) {
        ims.Flush();
    } else {
        return {Malformed, QStringLiteral("\"ims\" is one of on, off, fail, delay, answers, flush")};
    }
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Network(const QJsonObject& step)
{
    QJsonObject params = step;
    params.remove(QStringLiteral("network"));
    params.remove(QStringLiteral("comment"));
    params.remove(QStringLiteral("settle"));
    QString why;
    if (!m_session.Network().Push(step.value("network").toString(), params, &why)) return {Malformed, why};
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::ClickWith(const QJsonObject& step, const char* op, int click)
{
    const QJsonValue target = step.value(QLatin1String(op));
    if (target.isDouble()) return ClickControl(step, op, click);
    if (!target.isArray() || target.toArray().isEmpty())
        return {Malformed, QStringLiteral("\"%1\" takes the item's path of texts or a control id").arg(op)};
    if (step.contains("line")) return {Malformed, QStringLiteral("\"line\" goes with a control id")};
    QString why;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    QTreeWidget* tree = TreeIn(window, step, &why);
    if (!tree) return {Malformed, why};
    QTreeWidgetItem* item = FindTreeItem(tree, target.toArray(), &why);
    if (!item) return {Malformed, why};
    std::shared_ptr<bool> taken;
    if (TStepError error = QueueMenuChoice(step, &taken); error.result != Passed) return error;
    if (!ClickTreeItem(tree, item, static_cast<EClick>(click), &why)) return {Failed, why};
    return MenuChoiceTaken(taken);
}

CScenarioPlayer::TStepError CScenarioPlayer::Click(const QJsonObject& step)
{
    return ClickWith(step, "click", static_cast<int>(EClick::Left));
}

CScenarioPlayer::TStepError CScenarioPlayer::RightClick(const QJsonObject& step)
{
    return ClickWith(step, "rightclick", static_cast<int>(EClick::Right));
}

CScenarioPlayer::TStepError CScenarioPlayer::DoubleClick(const QJsonObject& step)
{
    return ClickWith(step, "doubleclick", static_cast<int>(EClick::Double));
}

CScenarioPlayer::TStepError CScenarioPlayer::Menu(const QJsonObject& step)
{
    return QueueMenuChoice(step);
}

CScenarioPlayer::TStepError CScenarioPlayer::QueueMenuChoice(const QJsonObject& step, std::shared_ptr<bool>* taken)
{
    if (!step.contains("menu")) return {};
    const QJsonValue choice = step.value("menu");
    if (!choice.isDouble() && (!choice.isString() || choice.toString().isEmpty()))
        return {Malformed, QStringLiteral("\"menu\" takes a command id or an entry's text")};
    CScriptedUiDriver* driver = m_session.Driver();
    if (!driver) return {Malformed, QStringLiteral("menu choices need the headless player")};
    auto took = std::make_shared<bool>(false);
    if (taken) *taken = took;
    const qsizetype chooser = m_current;
    driver->PushMenuChooser([this, step, choice, took, chooser](QMenu* menu) -> QAction* {
        *took = true;
        if (choice == QJsonValue(0)) return nullptr;  // the menu closes without a pick
        const std::vector<QAction*> entries = MenuEntries(menu);
        for (QAction* entry : entries) {
            if (!EntryFits(entry, choice)) continue;
            if (!entry->isEnabled()) Refuse(step, "entry", entry->data().toInt(), QStringLiteral("disabled"));
            return entry;
        }
        QStringList there;
        for (const QAction* entry : entries)
            there << QStringLiteral("%1 %2").arg(entry->data().toInt()).arg(EntryLabel(entry->text()));
        m_menuProblem = QStringLiteral("the menu has no entry %1 that step %2 chose (there: %3)")
                            .arg(CompactJson(choice)).arg(chooser).arg(there.join(QStringLiteral(", ")));
        return nullptr;
    });
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::MenuChoiceTaken(const std::shared_ptr<bool>& taken)
{
    if (!taken || *taken) return {};
    if (CScriptedUiDriver* driver = m_session.Driver()) driver->ClearMenuChoices();
    return {Failed, QStringLiteral("no menu opened")};
}

CScenarioPlayer::TStepError CScenarioPlayer::Command(const QJsonObject& step)
{
    if (!step.value("command").isDouble()) return {Malformed, QStringLiteral("\"command\" takes a command id")};
    QString why;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    if (!SendCommand(window, step.value("command").toInt(), step.value("lParam").toInteger()))
        return {Malformed, QStringLiteral("the window takes no commands")};
    return {};
}

CWindowTimers* CScenarioPlayer::TimersOf(const QJsonObject& step, QString* why) const
{
    QWidget* window = WindowOf(step, why);
    if (!window) return nullptr;
    auto* timers = dynamic_cast<CWindowTimers*>(window);
    if (!timers) *why = QStringLiteral("the window has no timers");
    return timers;
}

CScenarioPlayer::TStepError CScenarioPlayer::Timer(const QJsonObject& step)
{
    if (!step.value("timer").isDouble()) return {Malformed, QStringLiteral("\"timer\" takes a timer id")};
    QString why;
    CWindowTimers* timers = TimersOf(step, &why);
    if (!timers) return {Malformed, why};
    if (step.contains("force") && !step.value("force").isBool())
        return {Malformed, QStringLiteral("\"force\" is true or false")};
    const int id = step.value("timer").toInt();
    // A timer that is not running cannot fire by itself; "force" fires it all the same.
    if (!timers->IsTimerRunning(id) && !step.value("force").toBool()) {
        Refuse(step, "timer", id, QStringLiteral("not running"));
        return {};
    }
    timers->OnTimer(id);
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::CheckTimer(const QJsonObject& step)
{
    if (!step.value("checktimer").isDouble()) return {Malformed, QStringLiteral("\"checktimer\" takes a timer id")};
    QString why;
    CWindowTimers* timers = TimersOf(step, &why);
    if (!timers) return {Malformed, why};
    const int id = step.value("checktimer").toInt();
    m_session.Transcript().Add({{"type", "timer"}, {"window", step.value("window").toString(QStringLiteral("main"))},
                                {"id", id}, {"running", timers->IsTimerRunning(id)}, {"period", timers->TimerPeriod(id)}});
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Wait(const QJsonObject& step)
{
    const double ms = step.value("wait").toDouble(-1);
    if (!step.value("wait").isDouble() || ms < 0 || ms > kLongestWait)
        return {Malformed, QStringLiteral("\"wait\" takes milliseconds, 0 to %1").arg(kLongestWait)};
    // Real time with the event loop running: windows paint, movies play,
    // timers fire and tools outside the player can look at the windows.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
    loop.exec();
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Snapshot(const QJsonObject& step)
{
    QString why;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    QTreeWidget* tree = TreeIn(window, step, &why);
    if (!tree) return {Malformed, why};
    m_session.Transcript().Add({{"type", "snapshot"}, {"label", step.value("snapshot").toVariant().toString()},
                                {"tree", SnapshotTree(tree)}});
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Expect(const QJsonObject& step)
{
    const QJsonValue pattern = step.value("expect");
    if (!pattern.isObject()) return {Malformed, QStringLiteral("\"expect\" takes a pattern object")};
    const QString from = step.value("from").toString();
    if (!from.isEmpty() && from != QLatin1String("mark"))
        return {Malformed, QStringLiteral("\"from\" can only be \"mark\"")};
    CJsonPattern compiled;
    QString why;
    if (!compiled.Compile(pattern, &why)) return {Malformed, why};
    if (step.contains("count") && !step.value("count").isDouble())
        return {Malformed, QStringLiteral("\"count\" takes a number")};
    const auto& entries = m_session.Transcript().Entries();
    int matches = 0;
    for (size_t i = from.isEmpty() ? 0 : static_cast<size_t>(m_mark); i < entries.size(); ++i)
        if (entries[i].value("type") != QLatin1String("step") && compiled.Matches(entries[i])) ++matches;
    if (step.contains("count")) {
        const int wanted = step.value("count").toInt();
        if (matches != wanted)
            return {Failed, QStringLiteral("%1 transcript entries match %2, expected %3").arg(matches).arg(CompactJson(pattern)).arg(wanted)};
    } else if (matches == 0) {
        return {Failed, QStringLiteral("no transcript entry matches %1").arg(CompactJson(pattern))};
    }
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Mark(const QJsonObject&)
{
    m_mark = m_session.Transcript().Size();
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::ClientKit(const QJsonObject& step)
{
    const QJsonObject o = step.value("clientkit").toObject();
    QString why;
    if (!step.value("clientkit").isObject() ||
        !OnlyKeys(o, {"signin", "createRight", "edition", "status", "fullRowSelect", "menuType", "versionType",
                      "imsDirectApp", "scene", "bannedWords", "fontChanged"},
                  QStringLiteral("clientkit"), &why))
        return {Malformed, why.isEmpty() ? QStringLiteral("\"clientkit\" takes an object of values") : why};
    for (const char* key : {"createRight", "status", "fullRowSelect", "menuType", "versionType", "imsDirectApp",
                            "scene", "fontChanged"})
        if (o.contains(QLatin1String(key)) && !o.value(QLatin1String(key)).isDouble())
            return {Malformed, QStringLiteral("\"%1\" takes a number").arg(key)};
    if (o.contains("signin")) {
        const QJsonArray s = o.value("signin").toArray();
        if (s.size() != 3) return {Malformed, QStringLiteral("\"signin\" is [logined, logining, logoutStatus]")};
        clientkit::SetSignInState(s[0].toInt(), s[1].toInt(), s[2].toInt());
    }
    if (o.contains("edition")) {
        const QJsonArray e = o.value("edition").toArray();
        if (e.size() != 4) return {Malformed, QStringLiteral("\"edition\" is [menuType, versionType, imsDirectApp, scene]")};
        clientkit::SetEdition(e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt());
    }
    // One edition value at a time; the others stay.
    clientkit::SetEdition(o.value("menuType").toInt(GetMenuType()), o.value("versionType").toInt(GetVersionType()),
                          o.value("imsDirectApp").toInt(GetIMSDirectApp()), o.value("scene").toInt(GetScene()));
    if (o.contains("bannedWords")) {
        std::vector<CString> words;
        for (const QJsonValue& word : o.value("bannedWords").toArray()) {
            if (!word.isString() || word.toString().isEmpty())
                return {Malformed, QStringLiteral("\"bannedWords\" is a list of texts")};
            words.push_back(FromQt(word.toString()));
        }
        clientkit::SetBannedWords(words);
    }
    if (o.contains("fontChanged")) SetAppResetLF(o.value("fontChanged").toInt());
    if (o.contains("createRight")) clientkit::SetCreateRight(o.value("createRight").toInt());
    if (o.contains("fullRowSelect")) clientkit::SetTreeFullRowSelect(o.value("fullRowSelect").toInt());
    if (o.contains("status")) clientkit::SetStatus(static_cast<Status_Type>(o.value("status").toInt()));
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Comment(const QJsonObject&) { return {}; }

CScenarioPlayer::TStepError CScenarioPlayer::Uninit(const QJsonObject& step)
{
    if (step.value("uninit") != QJsonValue(true)) return {Malformed, QStringLiteral("\"uninit\" is true")};
    m_session.Stop();
    return {};
}

} // namespace host
