#include "ui/ClientWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QSettings>
#include <QStatusBar>

#include <iterator>

#include "res/ModuleResources.h"

namespace host {

namespace {

struct TMenuEntry {
    const char* key;    // action name or command id as text
    const char* label;  // translated in the context "host::CClientWindow"
};

// What other users do, then what the server does on its own.
const TMenuEntry kNetworkEntries[] = {
    {"invite", QT_TRANSLATE_NOOP("host::CClientWindow", "Another user &invites me")},
    {"xmlinvite", QT_TRANSLATE_NOOP("host::CClientWindow", "Another user invites me (&XML)")},
    {"join", QT_TRANSLATE_NOOP("host::CClientWindow", "Someone asks to &join my group")},
    {"message", QT_TRANSLATE_NOOP("host::CClientWindow", "Someone writes in a &group")},
    {"presence", QT_TRANSLATE_NOOP("host::CClientWindow", "A member's &presence changes")},
    {"memberjoin", QT_TRANSLATE_NOOP("host::CClientWindow", "A &member joins a group")},
    {"memberleave", QT_TRANSLATE_NOOP("host::CClientWindow", "A member &leaves a group")},
    {"deletegroup", QT_TRANSLATE_NOOP("host::CClientWindow", "The owner &deletes a group")},
    {"removeme", QT_TRANSLATE_NOOP("host::CClientWindow", "The owner &removes me")},
    {"offer", QT_TRANSLATE_NOOP("host::CClientWindow", "The owner &offers me a group")},
    {"withdraw", QT_TRANSLATE_NOOP("host::CClientWindow", "The owner &withdraws the offer")},
    {"signin", QT_TRANSLATE_NOOP("host::CClientWindow", "&Sign in again")},
};
constexpr int kUserEntries = 7;  // the first seven are other users' doing

QString Translated(const char* text) { return QCoreApplication::translate("host::CClientWindow", text); }

} // namespace

CClientWindow::CClientWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("clientWindow"));
    // The desktop adds the application's name: "Groups — Velora".
    setWindowTitle(tr("Groups"));
    m_groupHost = new QWidget(this);
    m_groupHost->setObjectName(QStringLiteral("groupHost"));
    m_groupHost->setMinimumSize(220, 260);
    m_groupHost->installEventFilter(this);
    setCentralWidget(m_groupHost);

    m_logDock = new QDockWidget(tr("Log"), this);
    m_logDock->setObjectName(QStringLiteral("logDock"));
    m_logDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                           QDockWidget::DockWidgetClosable);
    m_log = new QPlainTextEdit(m_logDock);
    m_log->setObjectName(QStringLiteral("logPane"));
    m_log->setReadOnly(true);
    m_log->setAccessibleName(m_logDock->windowTitle());
    m_log->setMaximumBlockCount(5000);
    m_logDock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, m_logDock);
    m_logDock->hide();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("serverStatus"));
    statusBar()->addWidget(m_status, 1);
    SetServerStatus({});

    BuildMenus();
    resize(420, 720);
}

void CClientWindow::BuildMenus()
{
    BuildGroupsMenu();
    BuildNetworkMenu();
    BuildViewMenu();
}

void CClientWindow::BuildGroupsMenu()
{
    struct TCommand {
        int id;
        const char* label;
    };
    static const TCommand kCommands[] = {
        {tarvolan::IDM_GROUP_CHAT, QT_TRANSLATE_NOOP("host::CClientWindow", "&Conversation of the selected group")},
        {tarvolan::IDM_SEARCH_GROUPS, QT_TRANSLATE_NOOP("host::CClientWindow", "&Search groups...")},
        {tarvolan::IDM_BLACKLIST, QT_TRANSLATE_NOOP("host::CClientWindow", "&Blacklist of the selected group...")},
        {tarvolan::IDM_TRANSFER_GROUP, QT_TRANSLATE_NOOP("host::CClientWindow", "&Transfer the group to the selected member...")},
    };
    QMenu* groups = menuBar()->addMenu(tr("&Groups"));
    groups->setObjectName(QStringLiteral("groupsMenu"));
    for (const TCommand& command : kCommands) {
        const int id = command.id;
        QAction* action = groups->addAction(Translated(command.label), this, [this, id] {
            if (onGroupCommand) onGroupCommand(id);
        });
        action->setObjectName(QStringLiteral("command%1").arg(id));
    }
    QAction* history = groups->addAction(tr("&History of the selected group..."), this, [this] {
        if (onOpenHistory) onOpenHistory();
    });
    history->setObjectName(QStringLiteral("openHistory"));
}

void CClientWindow::AddNetworkEntries(QMenu* menu, int first, int count)
{
    for (int i = first; i < first + count; ++i) {
        const QString action = QLatin1String(kNetworkEntries[i].key);
        menu->addAction(Translated(kNetworkEntries[i].label), this, [this, action] {
            if (onNetworkAction) onNetworkAction(action);
        });
    }
}

void CClientWindow::BuildNetworkMenu()
{
    QMenu* network = menuBar()->addMenu(tr("&Network"));
    network->setObjectName(QStringLiteral("networkMenu"));
    constexpr int total = static_cast<int>(std::size(kNetworkEntries));
    AddNetworkEntries(network->addMenu(tr("Other &users")), 0, kUserEntries);
    AddNetworkEntries(network->addMenu(tr("The &server")), kUserEntries, total - kUserEntries);

    QMenu* tests = network->addMenu(tr("&Test switches"));
    QAction* answering = tests->addAction(tr("The server &answers requests"));
    answering->setCheckable(true);
    answering->setChecked(true);
    connect(answering, &QAction::toggled, this, [this](bool on) {
        if (onStackEnabled) onStackEnabled(on);
    });
    QMenu* fail = tests->addMenu(tr("&Fail the next request"));
    for (int result : {408, 403, 404, 409, 500}) {
        fail->addAction(QString::number(result), this, [this, result] {
            if (onFailNext) onFailNext(result);
        });
    }
}

void CClientWindow::BuildViewMenu()
{
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    view->addAction(tr("&Show the group window"), this, [this] {
        if (onShowGroupWindow) onShowGroupWindow(5);
    });
    view->addAction(tr("&Hide the group window"), this, [this] {
        if (onShowGroupWindow) onShowGroupWindow(0);
    });
    view->addSeparator();
    QAction* log = m_logDock->toggleViewAction();
    log->setText(tr("&Log"));
    log->setObjectName(QStringLiteral("showLog"));
    view->addAction(log);
}

void CClientWindow::AppendLog(const QString& line)
{
    m_log->appendPlainText(line);
}

void CClientWindow::SetServerStatus(const TServerStatus& status)
{
    QStringList parts;
    parts << (status.answering ? tr("Server answers requests") : tr("Server does not answer"));
    if (status.armedFailure) parts << tr("the next request fails with %1").arg(status.armedFailure);
    if (status.waiting) parts << tr("%n answer(s) on the way", nullptr, status.waiting);
    m_status->setText(parts.join(QStringLiteral(" · ")));
}

QString CClientWindow::ServerStatusText() const { return m_status->text(); }

bool CClientWindow::IsLogShown() const { return !m_logDock->isHidden(); }

void CClientWindow::RememberState()
{
    m_remember = true;
    QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    m_logDock->setVisible(settings.value(QStringLiteral("window/logShown"), false).toBool());
}

void CClientWindow::SaveState() const
{
    if (!m_remember) return;
    QSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/state"), saveState());
    settings.setValue(QStringLiteral("window/logShown"), IsLogShown());
}

void CClientWindow::closeEvent(QCloseEvent* event)
{
    SaveState();
    QMainWindow::closeEvent(event);
    if (event->isAccepted() && onClosed) onClosed();
}

bool CClientWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_groupHost && event->type() == QEvent::Resize && onGroupHostResized)
        onGroupHostResized(static_cast<QResizeEvent*>(event)->size());
    return QMainWindow::eventFilter(watched, event);
}

} // namespace host
