// What the module benchmarks share: a host that answers nothing, and the
// client around the module (its folder for log and ini, the signed-in user).
#pragma once

#include <QTemporaryDir>

#include "clientkit/ClientKit.h"
#include "protocol/TarvolanAbi.h"

namespace bench {

class CSilentHost : public tarvolan::CHostInterface {
public:
    int OnMessage(int, int, void*) override { return 0; }
};

// The client folder (a fresh temporary folder, for log and ini) and the
// signed-in user named "me" with that URI.
class CBenchClientData {
public:
    explicit CBenchClientData(const char* myURI)
    {
        tarvolan::clientkit::Reset();
        tarvolan::clientkit::SetAppPath(m_folder.path().toLocal8Bit().constData());
        tarvolan::clientkit::TIdentity me;
        me.uri = myURI;
        me.displayName = "me";
        tarvolan::clientkit::SetIdentity(me);
    }

private:
    QTemporaryDir m_folder;
};

} // namespace bench
