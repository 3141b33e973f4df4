#include "ClientWindow.h"

#include <QDockWidget>
#include <QEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QResizeEvent>

namespace host {

namespace {

struct TNetworkEntry {
    const char* action;
    const char* label;
};

const TNetworkEntry kNetworkEntries[] = {
    {"invite", "Another user &invites me"},
    {"xmlinvite", "Another user invites me (&XML)"},
    {"join", "Someone asks to &join my group"},
    {"message", "Someone writes in a &group"},
    {"presence", "A member's &presence changes"},
    {"memberjoin", "A member joins a group"},
    {"memberleave", "A member &leaves a group"},
    {"deletegroup", "The owner &deletes a group"},
    {"removeme", "The owner &removes me"},
    {"offer", "The owner &offers me a group"},
    {"withdraw", "The owner &withdraws the offer"},
    {"signin", "&Sign in again"},
};

// Commands of the module's group window that a host offers in its own menu.
constexpr int kSearchGroupsCommand = 13066;

} // namespace

CClientWindow::CClientWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("clientWindow"));
    setWindowTitle(QStringLiteral("Velora — 群组"));
    m_groupHost = new QWidget(this);
    m_groupHost->setObjectName(QStringLiteral("groupHost"));
    m_groupHost->setMinimumSize(220, 260);
    m_groupHost->installEventFilter(this);
    setCentralWidget(m_groupHost);

    auto* dock = new QDockWidget(QStringLiteral("Log"), this);
    dock->setObjectName(QStringLiteral("logDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_log = new QPlainTextEdit(dock);
    m_log->setObjectName(QStringLiteral("logPane"));
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(5000);
    dock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    BuildMenus();
    resize(420, 720);
    resizeDocks({dock}, {150}, Qt::Vertical);
}

void CClientWindow::BuildMenus()
{
    QMenu* network = menuBar()->addMenu(QStringLiteral("&Network"));
    for (const auto& entry : kNetworkEntries) {
        const QString action = QLatin1String(entry.action);
        network->addAction(QString::fromUtf8(entry.label), this, [this, action] {
            if (onNetworkAction) onNetworkAction(action);
        });
    }
    network->addSeparator();
    QAction* answering = network->addAction(QStringLiteral("The stack &answers requests"));
    answering->setCheckable(true);
    answering->setChecked(true);
    connect(answering, &QAction::toggled, this, [this](bool on) {
        if (onStackEnabled) onStackEnabled(on);
    });
    QMenu* fail = network->addMenu(QStringLiteral("&Fail the next answer"));
    for (int result : {408, 403, 404, 409, 500}) {
        fail->addAction(QString::number(result), this, [this, result] {
            if (onFailNext) onFailNext(result);
        });
    }

    BuildGroupMenu();

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(QStringLiteral("&Show the group window"), this, [this] {
        if (onShowGroupWindow) onShowGroupWindow(5);
    });
    view->addAction(QStringLiteral("&Hide the group window"), this, [this] {
        if (onShowGroupWindow) onShowGroupWindow(0);
    });
}

void CClientWindow::BuildGroupMenu()
{
    QMenu* groups = menuBar()->addMenu(QStringLiteral("群组(&G)"));
    groups->setObjectName(QStringLiteral("groupMenu"));
    groups->addAction(QStringLiteral("搜索群组..."), this, [this] {
        if (onGroupCommand) onGroupCommand(kSearchGroupsCommand);
    });
}

void CClientWindow::AppendLog(const QString& line)
{
    m_log->appendPlainText(line);
}

bool CClientWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_groupHost && event->type() == QEvent::Resize && onGroupHostResized)
        onGroupHostResized(static_cast<QResizeEvent*>(event)->size());
    return QMainWindow::eventFilter(watched, event);
}

} // namespace host
