// The headless scenario player: plays a JSON list of steps against a
// running client session and checks expectations against its transcript.
// The step format is described in docs/scenarios.md.
//
// The steps are played from one list with one position, so that a prompt
// held open (an answer with "hold") can play the steps that follow it from
// inside the prompt, until a "release" step answers it. Steps are split into
// families: ScenarioPlayer.cpp (the loop, the host side and the tree),
// WindowSteps.cpp (windows, controls, typing, the conversation, pictures) and
// HoldSteps.cpp (answers, holds and releases).
#pragma once

#include <functional>
#include <memory>

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace tarvolan { class CWindowTimers; struct THold; }

class QTextEdit;
class QTreeWidget;
class QWidget;

namespace host {

class CClientSession;

// A scenario file: a plain list of steps, or an object with "steps" and,
// optionally, "env" (LANG, LC_ALL, TZ as texts) and "world" (a world file,
// relative to the scenario's folder).
struct TScenario {
    QJsonObject env;
    QString world;
    QJsonArray steps;
};

class CScenarioPlayer {
public:
    enum EResult { Passed = 0, Failed = 1, Malformed = 2 };

    explicit CScenarioPlayer(CClientSession& session) : m_session(session) {}

    // Reads a scenario file. *error names the file and the position of a
    // syntax error, or the key that does not fit.
    static bool Load(const QString& path, TScenario& scenario, QString* error);
    static bool Load(const QString& path, QJsonArray& steps, QString* error);
    // Sets the scenario's environment for this process (the time zone at
    // once; the locale is read by the application made after it).
    static void ApplyEnvironment(const QJsonObject& env);

    // Plays the steps in order and stops at the first that fails. *message
    // then reads "step <index> (<op>): <reason>".
    EResult Play(const QJsonArray& steps, QString* message);

    // Lets the client settle: posted events are processed and everything
    // the simulated stack has queued is delivered.
    void Settle();

private:
    struct TStepError {
        EResult result = Passed;
        QString reason;
    };
    using Op = TStepError (CScenarioPlayer::*)(const QJsonObject& step);

    static const char* OpOf(const QJsonObject& step, QString* why);
    TStepError PlayStep(const char* op, const QJsonObject& step);
    // Plays steps from the current position until done() holds, the steps
    // run out or one fails.
    void PlaySteps(const std::function<bool()>& done);
    void PlayOne(qsizetype index);
    void Fail(EResult result, qsizetype index, const QString& op, const QString& reason);

    // ---- the host side and the tree (ScenarioPlayer.cpp) ------------------------
    TStepError Send(const QJsonObject& step);
    TStepError Ims(const QJsonObject& step);
    TStepError Network(const QJsonObject& step);
    TStepError Click(const QJsonObject& step);
    TStepError RightClick(const QJsonObject& step);
    TStepError DoubleClick(const QJsonObject& step);
    TStepError Menu(const QJsonObject& step);
    TStepError Command(const QJsonObject& step);
    TStepError Timer(const QJsonObject& step);
    TStepError CheckTimer(const QJsonObject& step);
    TStepError Wait(const QJsonObject& step);
    TStepError Snapshot(const QJsonObject& step);
    TStepError Expect(const QJsonObject& step);
    TStepError Mark(const QJsonObject& step);
    TStepError ClientKit(const QJsonObject& step);
    TStepError Comment(const QJsonObject& step);
    TStepError Uninit(const QJsonObject& step);
    // Queues the choice of the step's "menu" (a command id or an entry's
    // text) for the next popup menu; *taken (when asked) turns true when a
    // menu takes it.
    TStepError QueueMenuChoice(const QJsonObject& step, std::shared_ptr<bool>* taken = nullptr);
    // After a click that should have opened a menu: whether one took the
    // choice (no choice queued: nothing to check).
    TStepError MenuChoiceTaken(const std::shared_ptr<bool>& taken);

    // ---- windows and controls (WindowSteps.cpp) ---------------------------------
    TStepError Press(const QJsonObject& step);
    TStepError Controls(const QJsonObject& step);
    TStepError Conversation(const QJsonObject& step);
    TStepError Input(const QJsonObject& step);
    TStepError Key(const QJsonObject& step);
    TStepError Pick(const QJsonObject& step);
    TStepError Hover(const QJsonObject& step);
    TStepError Screenshot(const QJsonObject& step);
    TStepError Close(const QJsonObject& step);
    TStepError Exists(const QJsonObject& step);
    // A click on a control (on one of its lines with "line").
    TStepError ClickControl(const QJsonObject& step, const char* op, int click);

    // ---- answers and held prompts (HoldSteps.cpp) -------------------------------
    TStepError Answer(const QJsonObject& step);
    TStepError Release(const QJsonObject& step);
    // Plays on while the held prompt is open.
    void OnHold(tarvolan::THold& hold);

    TStepError ClickWith(const QJsonObject& step, const char* op, int click);
    // The window a step names with "window": "main" (default: the group
    // window), "client" (the main window), a caption or {"chat": group}.
    QWidget* WindowOf(const QJsonObject& step, QString* why) const;
    // The conversation window of a group named by name or URI.
    QWidget* ChatWindowOf(const QString& group, QString* why) const;
    // The control "control" of the step's window; null with the reason.
    QWidget* ControlOf(const QJsonObject& step, QString* why) const;
    // The step's tree ("tree", the group tree id1000 unless given) in window; null with the reason.
    static QTreeWidget* TreeIn(QWidget* window, const QJsonObject& step, QString* why);
    // The conversation's output (or "editor": "input") of the group's window.
    QTextEdit* ConversationEditor(const QJsonObject& step, QString* why) const;
    // The timers of the step's window; null with the reason when it has none.
    tarvolan::CWindowTimers* TimersOf(const QJsonObject& step, QString* why) const;
    // Records that a person could not do what the step asks (a disabled
    // control, a timer that is not running): the step passes and a scenario
    // can expect the refusal, which names the thing refused as what: id.
    void Refuse(const QJsonObject& step, const char* what, int id, const QString& reason);

    CClientSession& m_session;
    int m_mark = 0;
    QJsonArray m_steps;
    qsizetype m_next = 0;        // the step played next
    qsizetype m_current = -1;    // the step being played
    EResult m_result = Passed;
    QString m_message;
    // A menu choice that fitted no entry of the menu shown, found while a
    // step was played; that step then ends the run with it.
    QString m_menuProblem;
};

} // namespace host
