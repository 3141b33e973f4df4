// The reference client's main window: the group window of the module sits
// in a central container (the module's parent window), a log pane below it
// shows the module's log lines, the "Network" menu makes the simulated
// users act, and the "群组" menu gives the group window the commands a host
// offers outside the window's own menu.
#pragma once

#include <functional>

#include <QMainWindow>

class QPlainTextEdit;

namespace host {

class CClientWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CClientWindow(QWidget* parent = nullptr);

    // The module's parent window.
    QWidget* GroupHost() const { return m_groupHost; }
    void AppendLog(const QString& line);

    // Called with the container's size whenever it changes.
    std::function<void(const QSize&)> onGroupHostResized;
    // A "Network" menu entry was chosen: the action's name (CSimulatedIms::Push).
    std::function<void(const QString&)> onNetworkAction;
    // Stack switches of the "Network" menu.
    std::function<void(bool)> onStackEnabled;
    std::function<void(int)> onFailNext;  // result code for the next answer
    // "View" menu: show (5) or hide (0) the group window.
    std::function<void(int)> onShowGroupWindow;
    // "群组" menu: a command for the module's group window (as a host's own
    // menu sends it).
    std::function<void(int)> onGroupCommand;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildGroupMenu();

    QWidget* m_groupHost = nullptr;
    QPlainTextEdit* m_log = nullptr;
};

} // namespace host
