// minimal-host: the smallest host of the group module, built against the
// installed package alone (see CMakeLists.txt, or the pkg-config line in
// docs/embedding.md). It loads libTarvolan.so with dlopen, fills ClientKit, starts the
// module, reports two groups (1004) and the details of the one it owns
// (1005), prints every message the module sends back, and stops the module.
//
//   minimal-host [MODULE]        MODULE: default the installed libTarvolan.so.1
//
// Runs without a display under QT_QPA_PLATFORM=offscreen. Exit status 0, or
// 1 when the module cannot be loaded.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include "clientkit/ClientKit.h"
#include "protocol/TarvolanAbi.h"

using namespace tarvolan;

namespace {

const char kMe[] = "sip:ada@velora.example";
const char kTeaGroup[] = "sip:tea@group.velora.example";

// Copies text into a fixed-size record field, always terminated.
template <size_t N> void Put(char (&field)[N], const char* text)
{
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

const char* Text(Word word) { return word ? reinterpret_cast<const char*>(word) : ""; }

// Prints each message the module sends through slot 5. Records are valid
// during the call only: a real host copies what it keeps.
class PrintingHost : public CHostInterface {
public:
    explicit PrintingHost(const char* name) : m_name(name) {}

    int OnMessage(int senderType, int code, void* record) override
    {
        const Word* w = static_cast<const Word*>(record);
        std::printf("%s <- OnMessage(%d, %d)", m_name, senderType, code);
        switch (code) {
        case M_SkinRequest:
            std::printf(" skin request: %s %s", Text(w[1]), Text(w[2]));
            break;
        case M_Subscribe:
            std::printf(" subscribe: %s", Text(w[1]));
            break;
        case M_RequestGroupInfo:
            std::printf(" request group info: %s", Text(w[0]));
            break;
        case M_Log:
            std::printf(" log: %s", Text(w[0]));
            break;
        default:
            break;
        }
        std::printf("\n");
        std::fflush(stdout);
        return 0;
    }

private:
    const char* m_name;
};

// The module's own account of a message in the client log, whose lines read
// "YYYY-MM-DD HH:MM:SS [level] text": the lines that contain the given text,
// without the time.
void PrintLogLines(const char* containing)
{
    std::ifstream log(clientkit::LogFilePath().c_str());
    for (std::string line; std::getline(log, line);) {
        if (line.find(containing) == std::string::npos) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t level = line.find(" [");
        std::printf("client log: %s\n", line.c_str() + (level == std::string::npos ? 0 : level + 1));
    }
}

void FillClientKit(const QString& clientFolder)
{
    using namespace clientkit;
    TIdentity me;
    me.displayName = "Ada";
    me.uri = kMe;
    me.domain = "velora.example";
    SetIdentity(me);
    SetRoster({{"sip:erin@velora.example", "Erin", "13800000001"}});
    // The client folder holds the client log; a real host points it at its
    // own folder (the installed client uses share/tarvolan/).
    SetAppPath(clientFolder.toLocal8Bit().constData());
    SetIMSDomain("velora.example");
    SetUserSettings(1, kMe);
    SetStatus(STATUS_ONLINE);
    SetSignInState(1, 0, 0);
}

// 1004: the user's groups, one owned and one joined.
void SendGroupList(CModuleBase* module)
{
    auto list = std::make_unique<TGroupInfoList>();  // 118 KB, zero-filled
    list->count = 2;
    Put(list->groups[0].groupURI, kTeaGroup);
    Put(list->groups[0].groupname, "Tea Club");
    list->groups[0].groupType = 2;
    Put(list->groups[0].groupOwner, kMe);
    Put(list->groups[1].groupURI, "sip:runners@group.velora.example");
    Put(list->groups[1].groupname, "Morning Runners");
    list->groups[1].groupType = 2;
    Put(list->groups[1].groupOwner, "sip:erin@velora.example");
    module->OnMessage(0, H_GroupInfoList, list.get());
}

// 1005: the owned group's details and members.
void SendGroupDetails(CModuleBase* module)
{
    TGroupDescription info{};
    Put(info.owner, kMe);
    Put(info.creator, kMe);
    Put(info.creationTime, "2026-06-01 10:00:00");
    info.iVisi = 3;
    info.iMaxMember = 100;
    Put(info.subject, "Tea");
    TMemberEntry members[2]{};
    Put(members[0].DisplayName, "Ada");
    Put(members[0].UserURI, kMe);
    Put(members[1].DisplayName, "Erin");
    Put(members[1].UserURI, "sip:erin@velora.example");
    Word record[8] = {reinterpret_cast<Word>("Tea Club"), reinterpret_cast<Word>(kTeaGroup), 1 /* owner */,
                      reinterpret_cast<Word>(&info), 2, reinterpret_cast<Word>(members), 0, 0};
    module->OnMessage(0, H_OnePublicGroup, record);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const char* path = argc > 1 ? argv[1] : TARVOLAN_MODULE;

    // The library stays loaded: the module object lives in it until the process ends.
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "minimal-host: %s\n", dlerror());
        return 1;
    }
    auto load = reinterpret_cast<decltype(&LoadTarvolanModule)>(dlsym(library, "LoadTarvolanModule"));
    std::printf("loaded %s\n", path);

    QTemporaryDir clientFolder;
    FillClientKit(clientFolder.path());

    PrintingHost host("host"), skins("skins");  // the second interface receives the skin requests
    QWidget parent;
    CModuleBase* module = load ? load(&host, &skins, &parent) : nullptr;
    if (!module) {
        std::fprintf(stderr, "minimal-host: %s: no module\n", path);
        return 1;
    }
    std::printf("module type %d\n", module->GetModuleType());
    module->Init();

    std::printf("send 1004 (2 groups)\n");
    SendGroupList(module);
    PrintLogLines("number of group");
    std::printf("send 1005 (Tea Club, 2 members)\n");
    SendGroupDetails(module);

    module->UnInit();  // while the QApplication exists
    std::printf("done\n");
    return 0;
}
