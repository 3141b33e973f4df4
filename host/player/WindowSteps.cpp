// Steps on windows as a person meets them: finding a window (by caption, the
// group window, the client window, a group's conversation window), reading
// its controls and the conversation, pressing, typing, keys, picking an
// emoticon, resting the pointer for a tooltip and taking a picture of a window.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>

#include "platform/Window.h"
#include "player/ControlSnapshot.h"
#include "player/Keyboard.h"
#include "player/ScenarioPlayer.h"
#include "player/TreeAccess.h"
#include "scripted/ScriptedUiDriver.h"
#include "ui/ClientSession.h"
#include "ui/ClientWindow.h"

using namespace tarvolan;

namespace host {

namespace {

// The conversation window's controls: the group name, the output and the
// input editors, and the emoticon picker.
constexpr int kChatOutput = 1522;
constexpr int kChatInput = 1521;
constexpr int kChatPicker = 1085;

// How a step's "window" reads in transcript entries and messages.
QString WindowName(const QJsonObject& step)
{
    const QJsonValue window = step.value("window");
    if (window.isObject()) return QStringLiteral("chat:") + window.toObject().value("chat").toString();
    return window.toString(QStringLiteral("main"));
}

bool IsReadOnly(const QWidget* control)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->isReadOnly();
    if (auto* edit = qobject_cast<const QTextEdit*>(control)) return edit->isReadOnly();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(control)) return edit->isReadOnly();
    return true;  // nothing to type into
}

} // namespace

// ---- finding windows and controls --------------------------------------------------

QWidget* CScenarioPlayer::WindowOf(const QJsonObject& step, QString* why) const
{
    const QJsonValue value = step.value("window");
    if (value.isObject()) {
        const QJsonObject chat = value.toObject();
        if (chat.size() != 1 || !chat.value("chat").isString()) {
            *why = QStringLiteral("\"window\" is main, client, a caption or {\"chat\": group}");
            return nullptr;
        }
        return ChatWindowOf(chat.value("chat").toString(), why);
    }
    const QString name = value.toString(QStringLiteral("main"));
    QWidget* window = nullptr;
    if (name == QLatin1String("main")) window = m_session.GroupWindow();
    else if (name == QLatin1String("client")) window = &m_session.Window();
    else window = FindWindowByCaption(FromQt(name));
    if (!window) *why = QStringLiteral("no window \"%1\"").arg(name);
    return window;
}

QWidget* CScenarioPlayer::ChatWindowOf(const QString& group, QString* why) const
{
    QWidget* found = m_session.ChatWindow(group);
    if (!found) *why = QStringLiteral("no conversation window of the group \"%1\"").arg(group);
    return found;
}

QWidget* CScenarioPlayer::ControlOf(const QJsonObject& step, QString* why) const
{
    QWidget* window = WindowOf(step, why);
    if (!window) return nullptr;
    if (!step.value("control").isDouble()) {
        *why = QStringLiteral("\"control\" takes a control id");
        return nullptr;
    }
    const int id = step.value("control").toInt();
    QWidget* control = FindOwnControl(window, id);
    if (!control) *why = QStringLiteral("no control %1 in the window \"%2\"").arg(id).arg(WindowName(step));
    return control;
}

QTreeWidget* CScenarioPlayer::TreeIn(QWidget* window, const QJsonObject& step, QString* why)
{
    const QString treeName = step.value("tree").toString(QStringLiteral("id1000"));
    auto* tree = window->findChild<QTreeWidget*>(treeName);
    if (!tree) *why = QStringLiteral("no tree \"%1\" in the window").arg(treeName);
    return tree;
}

QTextEdit* CScenarioPlayer::ConversationEditor(const QJsonObject& step, QString* why) const
{
    const QString editor = step.value("editor").toString(QStringLiteral("output"));
    if (editor != QLatin1String("output") && editor != QLatin1String("input")) {
        *why = QStringLiteral("\"editor\" is output or input");
        return nullptr;
    }
    QWidget* window = ChatWindowOf(step.value("conversation").toString(), why);
    if (!window) return nullptr;
    auto* edit = qobject_cast<QTextEdit*>(FindControl(window, editor == QLatin1String("input") ? kChatInput : kChatOutput));
    if (!edit) *why = QStringLiteral("the conversation window has no %1 editor").arg(editor);
    return edit;
}

void CScenarioPlayer::Refuse(const QJsonObject& step, const char* what, int id, const QString& reason)
{
    QString why;
    const char* op = OpOf(step, &why);
    m_session.Transcript().Add({{"type", "refusal"}, {"index", static_cast<int>(m_current)},
                                {"op", op ? QLatin1String(op) : QLatin1String("")}, {"window", WindowName(step)},
                                {QLatin1String(what), id}, {"reason", reason}});
}

// ---- reading ------------------------------------------------------------------------

CScenarioPlayer::TStepError CScenarioPlayer::Controls(const QJsonObject& step)
{
    QString why;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    QJsonObject entry = SnapshotWindow(window);
    entry["type"] = QStringLiteral("controls");
    entry["label"] = step.value("controls").toVariant().toString();
    entry["window"] = WindowName(step);
    m_session.Transcript().Add(entry);
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Conversation(const QJsonObject& step)
{
    if (!step.value("conversation").isString())
        return {Malformed, QStringLiteral("\"conversation\" takes a group name or URI")};
    QString why;
    QTextEdit* editor = ConversationEditor(step, &why);
    if (!editor) return {Malformed, why};
    QJsonObject entry = SnapshotConversation(editor);
    entry["type"] = QStringLiteral("conversation");
    entry["label"] = step.value("label").toVariant().toString();
    entry["group"] = step.value("conversation");
    entry["editor"] = step.value("editor").toString(QStringLiteral("output"));
    m_session.Transcript().Add(entry);
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Hover(const QJsonObject& step)
{
    const QJsonValue target = step.value("hover");
    QString why, tip;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    if (target.isDouble()) {
        QWidget* control = FindOwnControl(window, target.toInt());
        if (!control) return {Malformed, QStringLiteral("no control %1 in the window").arg(target.toInt())};
        tip = HoverWidget(control);
    } else if (target.isArray() && !target.toArray().isEmpty()) {
        QTreeWidget* tree = TreeIn(window, step, &why);
        if (!tree) return {Malformed, why};
        QTreeWidgetItem* item = FindTreeItem(tree, target.toArray(), &why);
        if (!item) return {Malformed, why};
        if (!HoverTreeItem(tree, item, &tip, &why)) return {Failed, why};
    } else {
        return {Malformed, QStringLiteral("\"hover\" takes a tree item's path of texts or a control id")};
    }
    m_session.Transcript().Add({{"type", "tooltip"}, {"window", WindowName(step)}, {"target", target}, {"text", tip}});
    return {};
}

// A picture of the client window, or of the window that "window" names, as
// the window draws itself (no frame); a held dialog can be taken while open.
CScenarioPlayer::TStepError CScenarioPlayer::Screenshot(const QJsonObject& step)
{
    const QString path = step.value("screenshot").toString();
    if (path.isEmpty()) return {Malformed, QStringLiteral("\"screenshot\" takes a file name")};
    QWidget* window = &m_session.Window();
    if (step.contains("window")) {
        QString why;
        window = WindowOf(step, &why);
        if (!window) return {Malformed, why};
    }
    const QPixmap picture = window->grab();
    if (picture.isNull() || !picture.save(path)) return {Failed, QStringLiteral("%1 cannot be written").arg(path)};
    m_session.Transcript().Add({{"type", "screenshot"},
                                {"window", step.contains("window") ? WindowName(step) : QStringLiteral("client")},
                                {"file", path}, {"width", picture.width()}, {"height", picture.height()}});
    return {};
}

// ---- acting -------------------------------------------------------------------------

CScenarioPlayer::TStepError CScenarioPlayer::ClickControl(const QJsonObject& step, const char* op, int click)
{
    QString why;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    const int id = step.value(QLatin1String(op)).toInt();
    QWidget* control = FindOwnControl(window, id);
    if (!control) return {Malformed, QStringLiteral("no control %1 in the window \"%2\"").arg(id).arg(WindowName(step))};
    QModelIndex line;
    if (step.contains("line")) {
        auto* view = qobject_cast<QAbstractItemView*>(control);
        if (!view) return {Malformed, QStringLiteral("control %1 has no lines").arg(id)};
        line = FindLine(view, step.value("line"), &why);
        if (!line.isValid()) return {Malformed, why};
    }
    if (!control->isEnabled()) {
        Refuse(step, "control", id, QStringLiteral("disabled"));
        return {};
    }
    std::shared_ptr<bool> taken;
    if (TStepError error = QueueMenuChoice(step, &taken); error.result != Passed) return error;
    if (!line.isValid()) ClickWidget(control, static_cast<EClick>(click));
    else if (!ClickLine(qobject_cast<QAbstractItemView*>(control), line, static_cast<EClick>(click), &why))
        return {Failed, why};
    return MenuChoiceTaken(taken);
}

// The close box of a window: the window's own close handling runs.
CScenarioPlayer::TStepError CScenarioPlayer::Close(const QJsonObject& step)
{
    const QJsonObject named{{"window", step.value("close")}};
    QString why;
    QWidget* window = WindowOf(named, &why);
    if (!window) return {Malformed, why};
    if (!window->isWindow())
        return {Malformed, QStringLiteral("\"%1\" is inside another window and has no close box").arg(WindowName(named))};
    window->close();
    return {};
}

// Whether a person sees the window: one that is hidden, or gone, is not there.
CScenarioPlayer::TStepError CScenarioPlayer::Exists(const QJsonObject& step)
{
    const QJsonValue value = step.value("exists");
    const bool named = (value.isString() && !value.toString().isEmpty()) ||
                       (value.isObject() && value.toObject().size() == 1 && value.toObject().value("chat").isString());
    if (!named) return {Malformed, QStringLiteral("\"exists\" takes main, client, a caption or {\"chat\": group}")};
    if (step.contains("expect") && !step.value("expect").isBool())
        return {Malformed, QStringLiteral("\"expect\" is true or false")};
    const QJsonObject window{{"window", value}};
    QString why;
    QWidget* found = WindowOf(window, &why);
    const bool exists = found && found->isVisible();
    m_session.Transcript().Add({{"type", "exists"}, {"window", WindowName(window)}, {"exists", exists}});
    if (step.contains("expect") && step.value("expect").toBool() != exists)
        return {Failed, QStringLiteral("the window \"%1\" is %2").arg(WindowName(window), exists ? "there" : "not there")};
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Press(const QJsonObject& step)
{
    if (!step.value("press").isDouble()) return {Malformed, QStringLiteral("\"press\" takes a button id")};
    const int id = step.value("press").toInt();
    QString why;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    auto* button = qobject_cast<QAbstractButton*>(FindOwnControl(window, id));
    if (!button) return {Malformed, QStringLiteral("no button %1 in the window \"%2\"").arg(id).arg(WindowName(step))};
    if (!button->isEnabled()) {
        Refuse(step, "control", id, QStringLiteral("disabled"));
        return {};
    }
    if (auto* dialog = qobject_cast<CDialog*>(window)) dialog->PressButton(id);
    else button->click();
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Input(const QJsonObject& step)
{
    if (!step.value("input").isString()) return {Malformed, QStringLiteral("\"input\" takes the text to type")};
    QString why;
    QWidget* control = ControlOf(step, &why);
    if (!control) return {Malformed, why};
    if (IsReadOnly(control)) return {Malformed, QStringLiteral("control %1 takes no typing").arg(ControlId(control))};
    if (!control->isEnabled()) {
        Refuse(step, "control", ControlId(control), QStringLiteral("disabled"));
        return {};
    }
    TypeText(control, step.value("input").toString());
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Key(const QJsonObject& step)
{
    if (!step.value("key").isString()) return {Malformed, QStringLiteral("\"key\" takes a key such as \"Return\" or \"Alt+S\"")};
    QString why;
    QWidget* control = nullptr;
    if (step.contains("control")) {
        control = ControlOf(step, &why);
    } else if (QWidget* window = WindowOf(step, &why)) {
        control = window->focusWidget() ? window->focusWidget() : window;
    }
    if (!control) return {Malformed, why};
    if (!control->isEnabled()) {
        Refuse(step, "control", ControlId(control), QStringLiteral("disabled"));
        return {};
    }
    if (!PressKeys(control, step.value("key").toString(), &why)) return {Malformed, why};
    return {};
}

CScenarioPlayer::TStepError CScenarioPlayer::Pick(const QJsonObject& step)
{
    if (!step.value("pick").isDouble()) return {Malformed, QStringLiteral("\"pick\" takes an emoticon index")};
    CScriptedUiDriver* driver = m_session.Driver();
    if (!driver) return {Malformed, QStringLiteral("picks need the headless player")};
    QString why;
    QWidget* window = WindowOf(step, &why);
    if (!window) return {Malformed, why};
    auto* picker = qobject_cast<QAbstractButton*>(FindOwnControl(window, kChatPicker));
    if (!picker) return {Malformed, QStringLiteral("no emoticon picker (%1) in the window").arg(kChatPicker)};
    if (!picker->isEnabled()) {
        Refuse(step, "control", kChatPicker, QStringLiteral("disabled"));
        return {};
    }
    // The picker's popup asks the driver, which picks this index.
    driver->PushPick(step.value("pick").toInt());
    picker->click();
    return {};
}

} // namespace host
