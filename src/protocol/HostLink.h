// CHostLink: what the module's windows need of the host. The module object
// implements it over the host interfaces and hands it to the main window,
// which passes it on to every window it creates; no window reaches the host
// through a global.
#pragma once

#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CHostLink {
public:
    virtual ~CHostLink() = default;
    // A request to the host (slot 5 with sender type 11); the host's answer.
    virtual int Send(int code, void* record) = 0;
    // A log line for the host (code 20003).
    virtual void Log(const char* text, int level) = 0;
    // A skin request for a window (secondary interface, code 10001).
    virtual void RequestSkin(Word windowHandle, const char* skinFile, const char* element) = 0;
    // The module object the host loaded; the client library files the
    // module's named message boxes under it. Null when there is none.
    virtual CModuleBase* Module() = 0;
};

// A link to no host: requests answer 0, lines and skins go nowhere.
CHostLink& NoHostLink();

// Subscribes to a group (code 20016: 1, the URI, 3); the host answers with
// its members' presence and its recent messages.
void SendSubscribe(CHostLink& link, const char* groupURI);

} // namespace tarvolan
