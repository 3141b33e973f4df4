// The sign-in load of the group window at the protocol maxima and the work
// that follows it, through the module's host interface:
//   - Load/groups/members: one 1004 listing the groups, then one 1005 per
//     group with its members and 100 blacklist entries, ending with the tree
//     built and laid out;
//   - OneMoreGroup: one more 1005 for a full group once everything is loaded
//     (every member's name changes, so every item is touched);
//   - Presence/groups: 6,000 presence changes on a tree of 20 or 200 groups of
//     300 members (the member lookup and item refresh of the presence path).
// The window is shown, as it is in the client. The program ends with the
// ratios between these figures, measured in the same run (real time, which
// includes waiting for the log file, and CPU time, which on a shared machine
// is the steadier of the two).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <tuple>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "clientkit/ClientKit.h"
#include "groups/Presence.h"
#include "window/TarvolanDialog.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"
#include "BenchSupport.h"
#include "BenchWorld.h"

using namespace tarvolan;
using namespace bench;

namespace {

void BM_Load(benchmark::State& state)
{
    const TWorld& world = World(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                state.range(2) < 0 ? kMaxBlacklist : static_cast<int>(state.range(2)));
    size_t members = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto client = std::make_unique<CClient>();
        state.ResumeTiming();
        client->Load(world);
        state.PauseTiming();
        members = g_pTarvolanDialog->Data().TreeModel().MemberTotal();
        client.reset();
        state.ResumeTiming();
    }
    state.counters["members"] = static_cast<double>(members);
}

// Argument: 1 to repaint the window after the message, 0 for the handler alone.
void BM_OneMoreGroup(benchmark::State& state)
{
    const TWorld& world = World(kMaxGroups, kMaxMembers);
    CClient client;
    client.Load(world);
    TOneGroupRecord versions[2] = {MakeGroup(7, kMaxMembers, "a"), MakeGroup(7, kMaxMembers, "b")};
    int turn = 0;
    for (auto _ : state) {
        client.Send(H_OnePublicGroup, versions[turn].Words());
        turn ^= 1;
        if (state.range(0)) QApplication::processEvents();
    }
}

void BM_Presence(benchmark::State& state)
{
    const int groupCount = static_cast<int>(state.range(0));
    const TWorld& world = World(groupCount, kMaxMembers);
    CClient client;
    client.Load(world);
    const int listed = std::min(groupCount, kMaxGroups - 1);  // the placeholder takes one list entry

    struct TChange {
        CString group, member, text;
    };
    static const char* const kTexts[] = {"online", "busy", "away", "offline", "in a meeting", "talking"};
    std::vector<TChange> changes;
    uint32_t seed = 12345;
    for (int i = 0; i < 6000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int g = static_cast<int>((seed >> 8) % static_cast<uint32_t>(listed));
        const int m = static_cast<int>((seed >> 4) % kMaxMembers);
        changes.push_back({GroupURI(g).c_str(), MemberURI(g, m).c_str(), kTexts[i % 6]});
    }
    CTarvolanDialog& dialog = *g_pTarvolanDialog;
    size_t applied = 0;
    for (auto _ : state) {
        for (const TChange& c : changes)
            applied += dialog.ApplyMemberPresence(c.group, c.member, PresenceCodeFromText(c.text), c.text);
        QApplication::processEvents();
    }
    if (applied != changes.size() * state.iterations()) state.SkipWithError("a member was not found");
    state.SetItemsProcessed(static_cast<int64_t>(changes.size() * state.iterations()));
    state.counters["members"] = static_cast<double>(dialog.Data().TreeModel().MemberTotal());
}

// The machine is shared: every figure is the median of three repetitions.
// Arguments: groups, members per group, blacklist entries per group (-1: 100).
BENCHMARK(BM_Load)->Args({200, 300, -1})->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Load)->Args({20, 300, -1})->Args({200, 30, -1})->Args({20, 300, 0})->Args({200, 30, 0})
    ->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_OneMoreGroup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Presence)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    CRatioReporter reporter;
    RunSignedIn(argc, argv, kMe, &reporter);

    const TTime full = reporter.Time("BM_Load/200/300/-1");
    const TTime tenth = reporter.Time("BM_Load/20/300/-1");
    const TTime small = reporter.Time("BM_Load/200/30/-1");
    const TTime tenthBare = reporter.Time("BM_Load/20/300/0");
    const TTime smallBare = reporter.Time("BM_Load/200/30/0");
    const TTime one = reporter.Time("BM_OneMoreGroup/0");
    const TTime onePainted = reporter.Time("BM_OneMoreGroup/1");
    const TTime p6k = reporter.Time("BM_Presence/20");
    const TTime p60k = reporter.Time("BM_Presence/200");
    if (full.second > 0 && tenth.second > 0 && small.second > 0 && tenthBare.second > 0 && smallBare.second > 0 &&
        one.second > 0 && onePainted.second > 0 && p6k.second > 0 && p60k.second > 0) {
        std::printf("\nRatios (same run)                                            real      cpu\n");
        std::printf("  %-56s %8.1f %8.1f ms\n", "sign-in load, 200 groups x 300 members + 100 blacklist", full.first,
                    full.second);
        PrintRatio("load(200 groups) / load(20 groups), 300 members each", full, tenth, "<= 12");
        PrintRatio("load(200 x 30 members) / load(20 x 300 members)", small, tenth, "<= 1.5");
        PrintRatio("  the same without blacklists", smallBare, tenthBare, "");
        PrintRatio("one more 1005 (full group) / whole load", one, full, "<= 0.01");
        PrintRatio("  the same with the window repainted after it", onePainted, full, "");
        PrintRatio("presence change cost at 60,000 / at 6,000 members", p60k, p6k, "<= 1.5");
        std::printf("  %-56s %8.2f %8.2f us\n", "one presence change at 60,000 members", p60k.first * 1000.0 / 6000.0,
                    p60k.second * 1000.0 / 6000.0);
    }
    benchmark::Shutdown();
    return 0;
}
