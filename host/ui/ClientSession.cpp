#include "ui/ClientSession.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>

#include "bridge/ClientSetup.h"
#include "bridge/LogTail.h"
#include "bridge/RecordCodec.h"
#include "clientkit/ClientKit.h"
#include "scripted/ScriptedUiDriver.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"
#include "ui/ClientWindow.h"
#include "ui/MessageWindow.h"
#include "ui/Skins.h"

using namespace tarvolan;

namespace host {

CClientSession::CClientSession() = default;

CClientSession::~CClientSession()
{
    Stop();
    if (m_network) m_network->SetStateListener(nullptr);
    if (m_driver) SetUiDriver(nullptr);
}

bool CClientSession::Start(const TClientOptions& options, std::unique_ptr<CImsNetwork> network, QString* error)
{
    m_network = std::move(network);
    QString folder = options.clientFolder.isEmpty() ? DefaultClientFolder() : options.clientFolder;
    const QFileInfo folderInfo(folder);
    if (options.privateFolder || (folderInfo.isDir() && !folderInfo.isWritable())) {
        const QString copy = MakePrivateFolder(folder);
        if (copy.isEmpty()) {
            if (error) *error = QStringLiteral("%1: no private copy of the client folder can be made").arg(folder);
            return false;
        }
        folder = copy;
    }
    m_network->FillClientKit(folder);
    m_log = std::make_unique<CLogTail>(QString::fromLocal8Bit(clientkit::LogFilePath().c_str()));

    m_network->SetDelay(options.imsDelay);
    m_network->SetDeliver([this](int code, const QJsonValue& record) { m_bridge.Send(code, record, QStringLiteral("ims")); });
    m_skins = std::make_unique<CSkins>(folder);

    if (options.scripted) {
        m_driver = std::make_unique<CScriptedUiDriver>();
        m_driver->SetDefaultPick(-1);  // no picker popup waits for a person
        m_driver->onPrompt = [this](const TPrompt& p) {
            PollLog();
            m_transcript.Add({{"type", "prompt"}, {"kind", GbkText(p.kind)}, {"text", GbkText(p.text)},
                              {"caption", GbkText(p.caption)}, {"flags", static_cast<int>(p.flags)},
                              {"answer", p.answer}});
        };
        SetUiDriver(m_driver.get());
    }

    // Log lines written before a call or a message come first in the transcript.
    m_bridge.AddCallListener([this](const THostCall&) { PollLog(); });
    m_bridge.AddMessageListener([this](const THostMessage&, bool) { PollLog(); });
    m_transcript.Attach(m_bridge);
    m_bridge.AddCallListener([this](const THostCall& call) { OnCall(call); });

    m_window = std::make_unique<CClientWindow>();
    m_window->onGroupHostResized = [this](const QSize&) { PlaceGroupWindow(); };
    m_window->onNetworkAction = [this](const QString& action) {
        QString why;
        if (!m_network->Push(action, {}, &why)) m_window->AppendLog(QStringLiteral("[network] ") + why);
    };
    m_window->onStackEnabled = [this](bool on) { m_network->SetEnabled(on); };
    m_window->onFailNext = [this](int result) { m_network->FailNextAny(result); };
    m_window->onShowGroupWindow = [this](int show) { m_bridge.Send(H_ShowWindow, QJsonObject{{"iShow", show}}, "client"); };
    m_window->onGroupCommand = [this](int id) {
        if (QWidget* window = GroupWindow()) SendCommand(window, id);
    };
    m_window->onOpenHistory = [this] { OpenHistoryOfSelectedGroup(); };
    m_network->SetStateListener([this] {
        if (m_window) m_window->SetServerStatus({m_network->IsEnabled(), m_network->ArmedFailure(), m_network->Pending()});
    });
    if (!options.scripted) m_window->RememberState();

    m_libraryPath = options.libraryPath.isEmpty() ? DefaultLibraryPath() : options.libraryPath;
    if (!m_bridge.Load(m_libraryPath, m_window->GroupHost(), error, m_network->OffersSecondaryHost())) return false;
    m_bridge.Module()->Init();
    m_started = true;
    m_window->show();
    m_bridge.Send(H_ShowWindow, QJsonObject{{"iShow", SW_SHOW}}, QStringLiteral("client"));
    PlaceGroupWindow();
    return true;
}

QString CClientSession::MakePrivateFolder(const QString& folder)
{
    m_privateFolder = std::make_unique<QTemporaryDir>();
    if (!m_privateFolder->isValid()) return QString();
    const QDir source(folder);
    for (const QFileInfo& entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (entry.fileName() == QLatin1String("Velora.log")) continue;
        QFile::link(entry.absoluteFilePath(), m_privateFolder->filePath(entry.fileName()));
    }
    return m_privateFolder->path() + QLatin1Char('/');
}

void CClientSession::Stop()
{
    if (!m_started) return;
    m_started = false;
    m_bridge.Module()->UnInit();
    PollLog();
}

int CClientSession::RunUntilClosed(bool signIn)
{
    m_window->onClosed = [this] {
        Stop();
        QCoreApplication::quit();
    };
    if (signIn) m_network->Push(QStringLiteral("signin"), {}, nullptr);
    const int status = QCoreApplication::exec();
    Stop();
    return status;
}

void CClientSession::PlaceGroupWindow()
{
    if (!m_started) return;
    const QSize size = m_window->GroupHost()->size();
    m_bridge.Send(H_PlaceWindow, QJsonObject{{"x", 0}, {"y", 0}, {"width", size.width()}, {"height", size.height()}},
                  QStringLiteral("client"));
}

QWidget* CClientSession::GroupWindow() const
{
    if (!m_window) return nullptr;
    for (QObject* child : m_window->GroupHost()->children())
        if (auto* dialog = qobject_cast<CDialog*>(child)) return dialog;
    return nullptr;
}

QTreeWidget* CClientSession::GroupTree() const
{
    QWidget* window = GroupWindow();
    return window ? window->findChild<QTreeWidget*>(QStringLiteral("id1000")) : nullptr;
}

QWidget* CClientSession::ChatWindow(const QString& group) const
{
    constexpr int kChatGroupName = 1224;
    // A URI names the group by the name the network gives it.
    const QString name = m_network ? m_network->GroupName(group) : group;
    QWidget* found = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->inherits("tarvolan::CTarvolanChatDialog") ||
            ToQt(GetControlText(FindControl(window, kChatGroupName))) != name)
            continue;
        if (!found || (window->isVisible() && !found->isVisible())) found = window;
    }
    return found;
}

void CClientSession::OpenHistoryOfSelectedGroup()
{
    constexpr int kHistoryButton = 1814;
    QTreeWidget* tree = GroupTree();
    QWidget* window = GroupWindow();
    const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
    if (!item || !window) return;
    SendCommand(window, IDM_GROUP_CHAT);
    QWidget* chat = ChatWindow(item->text(0));
    auto* history = chat ? qobject_cast<QAbstractButton*>(FindControl(chat, kHistoryButton)) : nullptr;
    if (history) history->click();  // the viewer runs modally over the conversation
}

void CClientSession::PollLog()
{
    if (!m_log) return;
    for (const TLogLine& line : m_log->Poll()) {
        m_transcript.Add({{"type", "log"}, {"via", "clientkit"}, {"text", line.text}, {"level", line.level}});
        if (m_window) m_window->AppendLog(line.text);
    }
}

void CClientSession::OnCall(const THostCall& call)
{
    if (call.slot == 6) {
        if (call.record.isObject()) OpenMessageWindow(call.record.toObject());
        return;
    }
    if (call.slot != 5) return;
    const QJsonObject record = call.record.toObject();
    switch (call.code) {
    case M_SkinRequest: {
        QJsonObject entry = m_skins->Apply(record);
        entry["type"] = QStringLiteral("skin");
        entry["file"] = record.value("pSkinFile");
        entry["element"] = record.value("pElement");
        m_transcript.Add(entry);
        break;
    }
    case M_Log:
        m_transcript.Add({{"type", "log"}, {"via", "host"}, {"text", record.value("pText")},
                          {"level", record.value("iLevel")}});
        if (m_window) m_window->AppendLog(record.value("pText").toString());
        break;
    default:
        m_network->HandleRequest(call.code, call.record);
        break;
    }
}

void CClientSession::OpenMessageWindow(const QJsonObject& record)
{
    const QString uri = record.value("memberURI").toString();
    const int mode = record.value("mode").toInt();
    QPointer<CMessageWindow>& window = m_messageWindows[uri];
    if (!window) window = new CMessageWindow(uri, record.value("displayName").toString(), mode, m_window.get());
    window->SetMode(mode);
    BringToFront(window);
}

} // namespace host
