// tarvolan-client: the reference client of the group module.
//
//   tarvolan-client [--world WORLD.json] [--client-folder DIR] [--delay MS] [--lang LOCALE]
//   tarvolan-client --headless --scenario FILE.json [--transcript OUT.jsonl]
//                   [--world WORLD.json] [--screenshot OUT.png]
//
// A scenario's "env" is set before the application starts, and its "world"
// is used when --world is not given. --lang (zh_CN, en_US ...) overrides the
// environment's language for the client, Qt's texts and the module alike.
//
// The client runs over the simulated IMS stack (sim/); the session and the
// windows know it only as a CImsNetwork.
//
// Exit status: 0 done, 1 a failed expectation, 2 bad input (arguments, world
// or scenario file) or a module that cannot be loaded.
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QCommandLineParser>

#include "bridge/ClientSetup.h"
#include "player/ScenarioPlayer.h"
#include "sim/SimulatedIms.h"
#include "ui/ClientSession.h"
#include "ui/ClientWindow.h"
#include "ui/Language.h"

using namespace host;

namespace {

int Fail(const QString& message, int status)
{
    std::fprintf(stderr, "tarvolan-client: %s\n", message.toLocal8Bit().constData());
    return status;
}

// Headless runs leave out the offscreen platform's notes about window
// features it does not have.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg || message.startsWith(QLatin1String("This plugin does not support")) ||
        message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

bool IsHeadless(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--headless") == 0) return true;
    return false;
}

// The last value of an option, read before the application exists: the
// scenario's environment and the language have to be set before it reads
// the locale.
QString ArgumentValue(int argc, char** argv, const char* option)
{
    const QByteArray name(option);
    const QByteArray prefix = name + '=';
    QString value;
    for (int i = 1; i < argc; ++i) {
        if (name == argv[i] && i + 1 < argc) value = QString::fromLocal8Bit(argv[++i]);
        else if (qstrncmp(argv[i], prefix.constData(), prefix.size()) == 0) value = QString::fromLocal8Bit(argv[i] + prefix.size());
    }
    return value;
}

int RunHeadless(CClientSession& session, const QCommandLineParser& args, const TScenario& scenario)
{
    const QString scenarioPath = args.value("scenario");
    QString error;
    CScenarioPlayer player(session);
    const CScenarioPlayer::EResult result = player.Play(scenario.steps, &error);
    if (args.isSet("screenshot") && !session.Window().grab().save(args.value("screenshot")))
        std::fprintf(stderr, "tarvolan-client: %s cannot be written\n", args.value("screenshot").toLocal8Bit().constData());
    session.Stop();
    player.Settle();
    QString writeError;
    if (args.isSet("transcript") && !session.Transcript().WriteTo(args.value("transcript"), &writeError))
        Fail(writeError, 2);
    if (result != CScenarioPlayer::Passed) return Fail(QStringLiteral("%1: %2").arg(scenarioPath, error), result);
    return writeError.isEmpty() ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    const bool headless = IsHeadless(argc, argv);
    TScenario scenario;
    const QString scenarioPath = headless ? ArgumentValue(argc, argv, "--scenario") : QString();
    if (!scenarioPath.isEmpty()) {
        QString error;
        if (!CScenarioPlayer::Load(scenarioPath, scenario, &error)) return Fail(error, 2);
        CScenarioPlayer::ApplyEnvironment(scenario.env);
    }
    const QString requestedLocale = ArgumentValue(argc, argv, "--lang");
    if (!requestedLocale.isEmpty()) ClaimProcessLocale(requestedLocale);
    if (headless && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (headless) qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    NameApplication();
    if (!InstallTranslations(app, ClientLocaleName(requestedLocale)))
        Fail(QStringLiteral("Qt's Chinese translations are missing (package qt6-translations-l10n)"), 0);

    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral("Reference client of the Tarvolan group module"));
    args.addHelpOption();
    args.addOptions({
        {"headless", "Play a scenario without a display and exit."},
        {"scenario", "Scenario to play (headless).", "FILE.json"},
        {"transcript", "Write the transcript as JSON lines (headless).", "OUT.jsonl"},
        {"screenshot", "Write a picture of the client window after the scenario (headless).", "OUT.png"},
        {"world", "World of the simulated network instead of the demo world.", "WORLD.json"},
        {"client-folder", "Client folder (skins, emoticons, Velora.ini).", "DIR"},
        {"delay", "Milliseconds before the simulated stack answers (GUI 300, headless 0).", "MS"},
        {"no-signin", "GUI: do not sign in at start."},
        {"lang", "Language of the client and the module (zh_CN, en_US ...).", "LOCALE"},
    });
    if (!args.parse(QApplication::arguments())) return Fail(args.errorText(), 2);
    if (args.isSet("help")) args.showHelp(0);
    if (headless && !args.isSet("scenario")) return Fail(QStringLiteral("--headless needs --scenario FILE.json"), 2);

    TClientOptions options;
    options.clientFolder = args.value("client-folder");
    options.scripted = headless;
    options.privateFolder = headless;
    options.imsDelay = headless ? 0 : 300;
    if (args.isSet("delay")) {
        bool ok = false;
        options.imsDelay = args.value("delay").toInt(&ok);
        if (!ok || options.imsDelay < 0) return Fail(QStringLiteral("--delay takes milliseconds"), 2);
    }

    QString error;
    const QString worldFile = args.isSet("world") ? args.value("world") : scenario.world;
    std::unique_ptr<CSimulatedIms> network = CSimulatedIms::FromWorldFile(worldFile, &error);
    if (!network) return Fail(error, 2);

    CClientSession session;
    if (!session.Start(options, std::move(network), &error)) return Fail(error, 2);
    if (headless) return RunHeadless(session, args, scenario);

    return session.RunUntilClosed(!args.isSet("no-signin"));
}
