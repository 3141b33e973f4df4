// One run of the reference client: the IMS network, the module behind the
// host bridge, the main window, skins, message windows and the transcript.
// The GUI and the headless scenario player both run on it. The session knows
// the network only as a CImsNetwork.
#pragma once

#include <map>
#include <memory>

#include <QPointer>
#include <QString>
#include <QTemporaryDir>

#include "bridge/HostBridge.h"
#include "bridge/ImsNetwork.h"
#include "bridge/Transcript.h"

class QTreeWidget;
class QWidget;
namespace tarvolan { class CScriptedUiDriver; }

namespace host {

class CClientWindow;
class CLogTail;
class CMessageWindow;
class CSkins;

struct TClientOptions {
    QString clientFolder;  // empty: DefaultClientFolder()
    QString libraryPath;   // empty: DefaultLibraryPath()
    int imsDelay = 300;    // milliseconds before the network answers
    bool scripted = false; // prompts are answered by a CScriptedUiDriver
    // Run in a private copy of the client folder (links to its entries), so
    // that the client log of this run is its own and the folder stays clean.
    // A folder the user cannot write (an installed one) is always copied.
    bool privateFolder = false;
};

class CClientSession {
public:
    CClientSession();
    ~CClientSession();

    // Takes the network, which fills ClientKit; loads and starts the module
    // and shows its window in the main window. False with *error otherwise.
    bool Start(const TClientOptions& options, std::unique_ptr<CImsNetwork> network, QString* error);
    // UnInit: the module closes for good.
    void Stop();
    // The client in its window: signs in when asked, runs until the main
    // window closes, which ends the program whatever other windows are
    // open: the module is stopped (its windows close with it) and the event
    // loop ends. Returns the loop's status.
    int RunUntilClosed(bool signIn);

    CHostBridge& Bridge() { return m_bridge; }
    CImsNetwork& Network() { return *m_network; }
    CTranscript& Transcript() { return m_transcript; }
    CClientWindow& Window() { return *m_window; }
    CScriptedUiDriver* Driver() { return m_driver.get(); }
    QString LibraryPath() const { return m_libraryPath; }

    // The module's group window inside the main window, and its tree.
    QWidget* GroupWindow() const;
    QTreeWidget* GroupTree() const;
    // The conversation window of a group, by name or URI; an open one before
    // one that waits for its deletion; null when there is none.
    QWidget* ChatWindow(const QString& group) const;
    // The Groups menu's history: opens the conversation of the group
    // selected in the tree and, from it, the history viewer.
    void OpenHistoryOfSelectedGroup();

    // Moves the lines WriteLog appended since the last call into the
    // transcript and the log pane.
    void PollLog();

private:
    void OnCall(const THostCall& call);
    void OpenMessageWindow(const QJsonObject& record);
    void PlaceGroupWindow();
    // A temporary folder whose entries link to those of folder; empty when it cannot be made.
    QString MakePrivateFolder(const QString& folder);

    CHostBridge m_bridge;
    CTranscript m_transcript;
    std::unique_ptr<CImsNetwork> m_network;
    std::unique_ptr<CClientWindow> m_window;
    std::unique_ptr<CSkins> m_skins;
    std::unique_ptr<CScriptedUiDriver> m_driver;
    std::unique_ptr<CLogTail> m_log;
    std::map<QString, QPointer<CMessageWindow>> m_messageWindows;
    std::unique_ptr<QTemporaryDir> m_privateFolder;
    QString m_libraryPath;
    bool m_started = false;
};

} // namespace host
