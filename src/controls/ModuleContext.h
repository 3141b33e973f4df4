// CModuleContext: what the module's windows need of the module around them:
// the link to the host (requests, log lines, skins, the module object), the
// UI driver that asks the person, and the module's own resources. The module
// object owns it and hands it to the main window, which passes it on to the
// windows it creates, as it passes the host link.
#pragma once

#include "protocol/HostLink.h"

namespace tarvolan {

class CResourceBundle;
class CUiDriver;

class CModuleContext {
public:
    CModuleContext(CHostLink& link, CResourceBundle* resources) : m_link(link), m_pResources(resources) {}
    CModuleContext(const CModuleContext&) = delete;
    CModuleContext& operator=(const CModuleContext&) = delete;

    CHostLink& Link() const { return m_link; }
    // The module's string table, menus and bitmaps, made current by every
    // entry point of the module.
    CResourceBundle* Resources() const { return m_pResources; }

    // The driver that shows this module's prompts: the one given here, else
    // the one the host installed for the process (the host's loading call
    // has no room for one, so a host installs it beside the module).
    CUiDriver& Driver() const;
    // Gives this context a driver of its own (not owned); null goes back to
    // the host's.
    void SetDriver(CUiDriver* driver) { m_pDriver = driver; }

private:
    CHostLink& m_link;
    CResourceBundle* m_pResources;
    CUiDriver* m_pDriver = nullptr;
};

} // namespace tarvolan
