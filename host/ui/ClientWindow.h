// The reference client's main window: the group window of the module sits
// in a central container (the module's parent window); a log pane, hidden
// until the View menu shows it, holds the module's log lines; the Groups
// menu sends the module the commands a host offers around it; the Network
// menu makes the simulated users and server act; the status bar tells what
// the simulated server is doing.
#pragma once

#include <functional>

#include <QMainWindow>

class QDockWidget;
class QLabel;
class QMenu;
class QPlainTextEdit;

namespace host {

// What the status bar says about the simulated server.
struct TServerStatus {
    bool answering = true;
    int armedFailure = 0;  // result of the next answer; 0 when none is armed
    int waiting = 0;       // answers and events on their way
};

class CClientWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CClientWindow(QWidget* parent = nullptr);

    // The module's parent window.
    QWidget* GroupHost() const { return m_groupHost; }
    void AppendLog(const QString& line);
    void SetServerStatus(const TServerStatus& status);
    QString ServerStatusText() const;
    bool IsLogShown() const;

    // Restores the geometry and the log pane's state from the user's
    // settings, and saves them when the window closes from then on. Runs that
    // a script drives leave the user's settings alone by not calling it.
    void RememberState();

    // Called with the container's size whenever it changes.
    std::function<void(const QSize&)> onGroupHostResized;
    // A "Network" menu entry was chosen: the action's name (CImsNetwork::Push).
    std::function<void(const QString&)> onNetworkAction;
    // Stack switches of the "Network" menu.
    std::function<void(bool)> onStackEnabled;
    std::function<void(int)> onFailNext;  // result code for the next answer
    // "View" menu: show (5) or hide (0) the group window.
    std::function<void(int)> onShowGroupWindow;
    // "Groups" menu: a command for the module's group window.
    std::function<void(int)> onGroupCommand;
    // "Groups" menu: the history of the selected group.
    std::function<void()> onOpenHistory;
    // The window was closed (its close box, Alt+F4).
    std::function<void()> onClosed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildGroupsMenu();
    void BuildNetworkMenu();
    void BuildViewMenu();
    void AddNetworkEntries(QMenu* menu, int first, int count);
    void SaveState() const;

    QWidget* m_groupHost = nullptr;
    QDockWidget* m_logDock = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QLabel* m_status = nullptr;
    bool m_remember = false;
};

} // namespace host
