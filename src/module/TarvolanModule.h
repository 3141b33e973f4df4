// CTarvolanModule: the module object that LoadTarvolanModule hands the host.
// It creates the main window hidden on Init, routes every host message to it
// and destroys it on UnInit, after which it ignores everything.
#pragma once

#include "module/TarvolanAbi.h"

namespace tarvolan {

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
    static void FailNextWindowCreationForTest() { s_failNextCreate = true; }

private:
    static bool s_failNextCreate;
};

// One way to reach the host from anywhere in the module: null-safe.
int SendToHost(int code, void* record);
void LogToHost(const char* text, int level);
void SendSkinRequest(Word windowHandle, const char* skinFile, const char* element);

} // namespace tarvolan
