#include "protocol/HostLink.h"

namespace tarvolan {

namespace {

class CNoHostLink final : public CHostLink {
public:
    int Send(int, void*) override { return 0; }
    void Log(const char*, int) override {}
    void RequestSkin(Word, const char*, const char*) override {}
    CModuleBase* Module() override { return nullptr; }
};

} // namespace

CHostLink& NoHostLink()
{
    static CNoHostLink link;
    return link;
}

void SendSubscribe(CHostLink& link, const char* groupURI)
{
    Word record[3] = {1, reinterpret_cast<Word>(groupURI), 3};
    link.Send(M_Subscribe, record);
}

} // namespace tarvolan
