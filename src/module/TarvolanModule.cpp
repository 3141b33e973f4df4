#include "module/TarvolanModule.h"

#include <new>

#include <QCoreApplication>

#include "clientkit/ClientKit.h"
#include "window/TarvolanDialog.h"
#include "platform/Resources.h"
#include "platform/UiDriver.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

CTarvolanModule* g_pModule = nullptr;

// Deletes the module object when the library is unloaded or the process
// ends. A host closes the windows first with UnInit; windows still there at
// that point are left to the system, still reachable, because by then Qt may
// have destroyed its own globals, which closing a window uses.
struct CUnloadGuard {
    ~CUnloadGuard()
    {
        if (!g_pModule || !g_pModule->MainWindow()) CTarvolanModule::DestroyInstance();
    }
} g_unloadGuard;

// Reads the show command of 20027: an int at the start of the record.
int ReadShowCommand(const void* record)
{
    int32_t value = 0;
    __builtin_memcpy(&value, record, sizeof(value));
    return value;
}

} // namespace

void CTarvolanModule::DestroyMainWindow()
{
    CTarvolanDialog* dialog = m_pMainWindow;
    m_pMainWindow = nullptr;
    dialog->CleanUpShutDown();
    dialog->hide();
    delete dialog;
}

CTarvolanModule::~CTarvolanModule()
{
    if (g_pModule == this) g_pModule = nullptr;
}

CTarvolanModule* CTarvolanModule::Instance() { return g_pModule; }

void CTarvolanModule::DestroyInstance()
{
    CTarvolanModule* module = g_pModule;
    if (!module) return;
    // Windows can only go while the application object exists; at process
    // exit without UnInit they are left to the operating system.
    if (module->m_pMainWindow && QCoreApplication::instance()) module->UnInit();
    module->m_pMainWindow = nullptr;
    g_pModule = nullptr;
    delete module;
}

void CTarvolanModule::Init()
{
    CResourceSwitch resources(m_context.Resources());
    if (m_pMainWindow) {
        m_pMainWindow->PrepareStartUp();
        return;
    }
    // Before the first window, whose texts it translates.
    m_translator.Install();
    m_pMainWindow = new CTarvolanDialog(m_context);
    const bool created = !m_bFailNextCreate && m_pMainWindow->CreateWindow(m_pParentWnd);
    m_bFailNextCreate = false;
    if (!created) {
        m_context.Driver().MessageBox(
            m_pParentWnd,
            FromQt(QCoreApplication::translate("CTarvolanModule", "系统资源不足,请关闭并重新启动客户端。")),
            GetMsgTitle(), MB_ICONINFORMATION);
        LogToHost("CTarvolanDialog Create Failed!", 1);
        return;
    }
    m_pMainWindow->hide();
    m_pMainWindow->PrepareStartUp();
}

void CTarvolanModule::UnInit()
{
    {
        CResourceSwitch resources(m_context.Resources());
        if (m_pMainWindow) {
            try {
                DestroyMainWindow();
            } catch (...) {
                m_pMainWindow = nullptr;
                LogToHost("CTarvolanModule::UnInit()--destroy g_pTarvolanDialog Exception.", 1);
            }
        }
    }
    m_translator.Remove();
    m_bClosing = 1;
}

int CTarvolanModule::CloseMessageBoxes()
{
    CResourceSwitch resources(m_context.Resources());
    CloseMsgBox(this);
    return 1;
}

int CTarvolanModule::OnMessage(int, int code, void* record)
{
    if (m_bClosing) return 0;
    CResourceSwitch resources(m_context.Resources());
    if (code == H_ShowWindow) {
        if (record && m_pMainWindow) {
            m_pMainWindow->setVisible(ReadShowCommand(record) != SW_HIDE);
            m_pMainWindow->ReportSelection();
        }
        return 0;
    }
    if (m_pMainWindow) return static_cast<int>(m_pMainWindow->Dispatch(code, record));
    return 0;
}

} // namespace tarvolan

extern "C" tarvolan::CModuleBase* LoadTarvolanModule(tarvolan::CHostInterface* host,
                                                     tarvolan::CHostInterface* host2, QWidget* parent)
{
    using tarvolan::g_pModule;
    if (!g_pModule) g_pModule = new (std::nothrow) tarvolan::CTarvolanModule(host, host2, parent);
    return g_pModule;
}
