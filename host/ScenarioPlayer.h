// The headless scenario player: plays a JSON list of steps against a
// running client session and checks expectations against its transcript.
// The step format is described in the README ("Scenarios").
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace tarvolan { class CWindowTimers; }

class QWidget;

namespace host {

class CClientSession;

class CScenarioPlayer {
public:
    enum EResult { Passed = 0, Failed = 1, Malformed = 2 };

    explicit CScenarioPlayer(CClientSession& session) : m_session(session) {}

    // Reads a scenario file: a JSON list of step objects. *error names the
    // file and the position of a syntax error.
    static bool Load(const QString& path, QJsonArray& steps, QString* error);

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

    TStepError Send(const QJsonObject& step);
    TStepError Ims(const QJsonObject& step);
    TStepError Network(const QJsonObject& step);
    TStepError Click(const QJsonObject& step);
    TStepError RightClick(const QJsonObject& step);
    TStepError DoubleClick(const QJsonObject& step);
    TStepError Menu(const QJsonObject& step);
    TStepError Command(const QJsonObject& step);
    TStepError Press(const QJsonObject& step);
    TStepError Answer(const QJsonObject& step);
    TStepError Timer(const QJsonObject& step);
    TStepError CheckTimer(const QJsonObject& step);
    TStepError Wait(const QJsonObject& step);
    TStepError Snapshot(const QJsonObject& step);
    TStepError Expect(const QJsonObject& step);
    TStepError Mark(const QJsonObject& step);
    TStepError ClientKit(const QJsonObject& step);
    TStepError Screenshot(const QJsonObject& step);
    TStepError Comment(const QJsonObject& step);

    TStepError ClickWith(const QJsonObject& step, const char* op, int click);
    // The window a step names with "window": "main" (default: the group
    // window), "client" (the main window) or a caption.
    QWidget* WindowOf(const QJsonObject& step, QString* why) const;
    // The timers of the step's window; null with the reason when it has none.
    tarvolan::CWindowTimers* TimersOf(const QJsonObject& step, QString* why) const;

    CClientSession& m_session;
    int m_mark = 0;
};

} // namespace host
