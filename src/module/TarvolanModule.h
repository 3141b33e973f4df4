// CTarvolanModule: the module object that LoadTarvolanModule hands the host.
// It creates the main window hidden on Init, routes every host message to it
// and destroys it on UnInit, after which it ignores everything. Its
// translations are installed from Init to UnInit (ModuleLanguage.h). It owns the
// module context (host link, UI driver, resources) that the main window and
// the windows it creates are given.
#pragma once

#include "controls/ModuleContext.h"
#include "module/ModuleLanguage.h"
#include "protocol/HostLink.h"
#include "protocol/TarvolanAbi.h"
#include "res/ModuleResources.h"

namespace tarvolan {

class CTarvolanDialog;

class CTarvolanModule : public CModuleBase {
public:
    using CModuleBase::CModuleBase;
    ~CTarvolanModule() override;

    int GetModuleType() override { return kModuleType; }
    void Init() override;
    void UnInit() override;
    void Reserved() override {}
    int CloseMessageBoxes() override;
    int OnMessage(int senderType, int code, void* record) override;
    int TestFlag(int) override { return 1; }

    // The singleton; null before the first LoadTarvolanModule.
    static CTarvolanModule* Instance();
    // Deletes the singleton and its window, as unloading the library does.
    static void DestroyInstance();

    // Makes the next window creation fail (start-up failure tests).
    void FailNextWindowCreationForTest() { m_bFailNextCreate = true; }

    // The link to the host that the module's windows use.
    CHostLink& Link() { return m_link; }
    // What the module's windows are given: the link, the driver, the resources.
    CModuleContext& Context() { return m_context; }
    // The main window; null while none exists.
    CTarvolanDialog* MainWindow() const { return m_pMainWindow; }

private:
    class CModuleLink final : public CHostLink {
    public:
        explicit CModuleLink(CTarvolanModule& module) : m_module(module) {}
        int Send(int code, void* record) override { return m_module.SendToHost(code, record); }
        void Log(const char* text, int level) override { m_module.LogToHost(text, level); }
        void RequestSkin(Word windowHandle, const char* skinFile, const char* element) override
        {
            m_module.SendSkinRequest(windowHandle, skinFile, element);
        }
        CModuleBase* Module() override { return &m_module; }

    private:
        CTarvolanModule& m_module;
    };

    void DestroyMainWindow();

    CModuleLink m_link{*this};
    CModuleContext m_context{m_link, TarvolanResources()};
    CTarvolanDialog* m_pMainWindow = nullptr;
    bool m_bFailNextCreate = false;
    CModuleTranslator m_translator;
};

} // namespace tarvolan
