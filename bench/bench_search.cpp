// A page of search results (1022) shown in the group information window
// while the tree holds 20 or 200 groups. Half of the page are groups I am
// in: each row asks whether its group is mine, which is an index lookup, so
// the page should cost about the same however many groups the tree holds.
// The program ends with the ratio, measured in the same run.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "clientkit/ClientKit.h"
#include "dialogs/TarvolanInfoDialog.h"
#include "window/TarvolanDialog.h"
#include "module/TarvolanModule.h"
#include "BenchSupport.h"

using namespace tarvolan;
using namespace bench;

namespace {

constexpr const char* kMe = "sip:me@ims.example.com";
constexpr const char* kOwner = "sip:owner@ims.example.com";

class CQuietHost : public CHostInterface {
public:
    int OnMessage(int, int, void*) override { return 0; }
};

std::string GroupAt(int g) { return "sip:club" + std::to_string(g) + "@groups.example.com"; }

// The module with a tree of groupCount joined groups (one 1004) and an
// open information window.
class CSearchClient {
public:
    explicit CSearchClient(int groupCount)
    {
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
        m_module->Init();
        auto list = std::make_unique<TGroupInfoList>();
        *list = TGroupInfoList{};
        for (int g = 0; g < groupCount && g < kMaxGroups; ++g) {
            TGroupInfoSlot& slot = list->groups[list->count++];
            CString(GroupAt(g)).CopyTo(slot.groupURI, sizeof(slot.groupURI));
            CString("Club " + std::to_string(g)).CopyTo(slot.groupname, sizeof(slot.groupname));
            slot.groupType = GROUP_PUBLIC;
            CString(kOwner).CopyTo(slot.groupOwner, sizeof(slot.groupOwner));
        }
        m_module->OnMessage(0, H_GroupInfoList, list.get());
        auto* info = new CTarvolanInfoDialog(CTarvolanModule::Instance()->Link(), CTarvolanModule::Instance()->MainWindow()->Data());
        CTarvolanModule::Instance()->MainWindow()->Windows().Open<CGroupInfoWindow>(info, info);
        info->Create();
        info->show();
        QApplication::processEvents();
    }
    ~CSearchClient() { CTarvolanModule::DestroyInstance(); }

    void Send(int code, void* record) { m_module->OnMessage(0, code, record); }

private:
    QWidget m_parent;
    CQuietHost m_host;
    CModuleBase* m_module = nullptr;
};

// 20 results: even ones are groups of the tree (joined), odd ones are not.
std::vector<TSearchResultEntry> MakePage()
{
    std::vector<TSearchResultEntry> page(kMaxSearchResults);
    for (int i = 0; i < kMaxSearchResults; ++i) {
        TSearchResultEntry& e = page[static_cast<size_t>(i)];
        e = TSearchResultEntry{};
        const std::string uri = i % 2 == 0 ? GroupAt(i) : "sip:other" + std::to_string(i) + "@groups.example.com";
        CString(uri).CopyTo(e.GroupURI, sizeof(e.GroupURI));
        CString("Club " + std::to_string(i)).CopyTo(e.GroupName, sizeof(e.GroupName));
        CString(kOwner).CopyTo(e.OwnerURI, sizeof(e.OwnerURI));
        CString("subject").CopyTo(e.GSubject, sizeof(e.GSubject));
    }
    return page;
}

void BM_SearchPage(benchmark::State& state)
{
    CSearchClient client(static_cast<int>(state.range(0)));
    std::vector<TSearchResultEntry> page = MakePage();
    Word record[3] = {kMaxSearchResults, reinterpret_cast<Word>("club"), reinterpret_cast<Word>(page.data())};
    for (auto _ : state) {
        client.Send(H_SearchResult, record);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kMaxSearchResults);
}

BENCHMARK(BM_SearchPage)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond)->Iterations(300)->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    CRatioReporter reporter;
    RunSignedIn(argc, argv, kMe, &reporter);
    const auto small = reporter.Time("BM_SearchPage/20");
    const auto large = reporter.Time("BM_SearchPage/200");
    if (small.second > 0 && large.second > 0) {
        std::printf("\nRatio (same run)                                             real      cpu\n");
        PrintRatio("page of 20 results, tree of 200 / of 20 groups", large, small, "<= 1.5");
        std::printf("  %-56s %8.1f %8.1f us\n", "one page with 200 groups", large.first, large.second);
    }
    benchmark::Shutdown();
    return 0;
}
