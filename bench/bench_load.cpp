// The sign-in load of the group window at the protocol maxima and the work
// that follows it, through the module's host interface:
//   - Load/groups/members: one 1004 listing the groups, then one 1005 per
//     group with its members and 100 blacklist entries, ending with the tree
//     built and laid out;
//   - QtTree/groups: the baseline, the same tree built with Qt's tree widget
//     alone (the items the module shows, in its order, with their texts, the
//     shared 17-pixel images, bold blue roots and groups, all expanded, in a
//     window of the same size), from UTF-16 texts that it copies;
//   - OneMoreGroup: one more 1005 for a full group once everything is loaded
//     (every member's name changes, so every item is touched);
//   - Presence/groups: 6,000 presence changes on a tree of 20 or 200 groups of
//     300 members (the member lookup and item refresh of the presence path).
// The window is shown, as it is in the client. Load and QtTree also measure
// the resident memory that one load adds (median of three, heap trimmed
// before). The program ends with the ratios between these figures, measured
// in the same run (real time, which includes waiting for the log file, and
// CPU time, which on a shared machine is the steadier of the two).
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
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "clientkit/ClientKit.h"
#include "controls/TreeCtrlEx.h"
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

int CountItems(QTreeWidget& tree)
{
    int count = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) ++count;
    return count;
}

// Times fixture.Load(input) on fresh fixtures and measures the resident
// memory it adds; the counters give the items loaded.
template <class TFixture, class TInput> void TimeLoad(benchmark::State& state, const TInput& input)
{
    state.counters["resident_kB"] = ResidentAddedKb<TFixture>(input);
    int items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<TFixture>();
        state.ResumeTiming();
        fixture->Load(input);
        state.PauseTiming();
        items = CountItems(fixture->Tree());
        fixture.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = items;
}

// The client, with its group tree at hand. The loads stay out of line so
// that a profiler can single them out (valgrind --toggle-collect=*::Load*).
class CLoadedClient : public CClient {
public:
    [[gnu::noinline]] void Load(const TWorld& world) { CClient::Load(world); }
    QTreeWidget& Tree() { return *CTarvolanModule::Instance()->MainWindow()->Tree(); }
};

void BM_Load(benchmark::State& state)
{
    const TWorld& world = World(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                state.range(2) < 0 ? kMaxBlacklist : static_cast<int>(state.range(2)));
    TimeLoad<CLoadedClient>(state, world);
}

// ---- the baseline: Qt's tree widget alone -------------------------------------------

// The texts of the tree that the module shows after signing in to a world, in
// UTF-16: the roots, then every group it lists (all of mine are joined ones)
// with its members.
struct TTreeTexts {
    struct TGroup {
        std::u16string name;
        std::vector<std::u16string> members;
    };
    std::u16string top, owned, joined;
    std::vector<TGroup> groups;
};

std::u16string Utf16(const CString& gbk)
{
    return ToQt(gbk).toStdU16String();
}

const TTreeTexts& TreeTexts(int groupCount)
{
    static std::map<int, TTreeTexts> cache;
    auto [it, fresh] = cache.try_emplace(groupCount);
    TTreeTexts& texts = it->second;
    if (!fresh) return texts;
    const CResourceSwitch resources(TarvolanResources());
    texts.top = Utf16(LoadResString(IDS_ROOT_GROUPS));
    texts.owned = Utf16(LoadResString(IDS_ROOT_OWNED));
    texts.joined = Utf16(LoadResString(IDS_ROOT_JOINED));
    const TWorld& world = World(groupCount, kMaxMembers);
    const int listed = std::min(groupCount, kMaxGroups - 1);  // the contact-list placeholder takes one entry
    for (int g = 0; g < listed; ++g) {
        const TOneGroupRecord& record = world.groups[static_cast<size_t>(g)];
        TTreeTexts::TGroup& group = texts.groups.emplace_back();
        group.name = Utf16(record.name.c_str());
        for (const TMemberEntry& member : record.members)
            group.members.push_back(Utf16(CString::FromField(member.DisplayName)));
    }
    return texts;
}

const std::vector<QIcon>& TreeImages()
{
    static std::vector<QIcon> images;
    if (images.empty()) {
        const CResourceSwitch resources(TarvolanResources());
        for (const QPixmap& pixmap : LoadImageList(IDB_TREE_IMAGES, kTreeImageSize)) images.emplace_back(pixmap);
    }
    return images;
}

// A shown window of the client's size with a tree widget placed and set up
// as the group window's tree.
class CQtTree {
public:
    CQtTree() : m_tree(new QTreeWidget(&m_parent))
    {
        m_parent.resize(260, 700);
        m_tree->setGeometry(0, 28, 252, 668);
        m_tree->setHeaderHidden(true);
        m_tree->setUniformRowHeights(true);
        m_tree->setIconSize(QSize(kTreeImageSize, kTreeImageSize));
        m_parent.show();
        QApplication::processEvents();
    }

    // Builds the tree as the groups arrive, one group at a time into the
    // shown tree, each group filled and expanded: of the ways tried, the
    // cheapest in time and memory (building it detached and expanding it all
    // at once took 1.8 times the time and 1.3 times the memory).
    [[gnu::noinline]] void Load(const TTreeTexts& texts)
    {
        const std::vector<QIcon>& images = TreeImages();
        QFont bold = m_tree->font();
        bold.setBold(true);
        const QBrush blue(Qt::blue);
        auto make = [&](const std::u16string& text, int image, bool strong) {
            auto* item = new QTreeWidgetItem(QStringList{QString::fromStdU16String(text)});
            item->setIcon(0, images[static_cast<size_t>(image)]);
            if (strong) {
                item->setFont(0, bold);
                item->setForeground(0, blue);
            }
            return item;
        };
        QTreeWidgetItem* top = make(texts.top, IMG_EXPANDED, true);
        QTreeWidgetItem* joined = make(texts.joined, IMG_EXPANDED, true);
        top->addChildren({make(texts.owned, IMG_EXPANDED, true), joined});
        m_tree->addTopLevelItem(top);
        m_tree->expandAll();
        for (const TTreeTexts::TGroup& group : texts.groups) {
            QTreeWidgetItem* groupItem = make(group.name, IMG_EXPANDED, true);
            joined->addChild(groupItem);
            QList<QTreeWidgetItem*> members;
            members.reserve(static_cast<qsizetype>(group.members.size()));
            for (const std::u16string& member : group.members) members.append(make(member, IMG_MEMBER, false));
            groupItem->addChildren(members);
            groupItem->setExpanded(true);
        }
        QApplication::processEvents();  // layout and paint of the finished tree
    }
    QTreeWidget& Tree() { return *m_tree; }

private:
    QWidget m_parent;
    QTreeWidget* m_tree;
};

void BM_QtTree(benchmark::State& state)
{
    TimeLoad<CQtTree>(state, TreeTexts(static_cast<int>(state.range(0))));
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
    CTarvolanDialog& dialog = *CTarvolanModule::Instance()->MainWindow();
    size_t applied = 0;
    for (auto _ : state) {
        for (const TChange& c : changes)
            applied += dialog.Membership().ApplyPresence(c.group, c.member, PresenceCodeFromText(c.text), c.text);
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
BENCHMARK(BM_QtTree)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_QtTree)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_OneMoreGroup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Presence)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The sign-in against the baseline at one size: time, and resident memory added.
void PrintAgainstQt(const CRatioReporter& reporter, const std::string& load, int groups, const char* timeGoal,
                    const char* memoryGoal)
{
    const std::string qt = "BM_QtTree/" + std::to_string(groups);
    const TTime module = reporter.Time(load), bare = reporter.Time(qt);
    const double moduleKb = reporter.Counter(load, "resident_kB"), bareKb = reporter.Counter(qt, "resident_kB");
    const double moduleItems = reporter.Counter(load, "items"), bareItems = reporter.Counter(qt, "items");
    if (module.second <= 0 || bare.second <= 0 || bareKb <= 0) return;
    const std::string what = "sign-in / Qt tree alone, " + std::to_string(groups) + " groups: time";
    PrintRatio(what.c_str(), module, bare, timeGoal);
    std::printf("  %-56s %8.1f %8.1f ms\n", "  time of the Qt tree alone", bare.first, bare.second);
    std::printf("  %-56s %17.3f   (goal %s)\n", "  resident memory added", moduleKb / bareKb, memoryGoal);
    std::printf("  %-56s %8.1f %8.1f MB\n", "  module / Qt tree alone", moduleKb / 1024.0, bareKb / 1024.0);
    if (moduleItems != bareItems)
        std::printf("  !! the trees differ: %.0f items against %.0f\n", moduleItems, bareItems);
}

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
    PrintAgainstQt(reporter, "BM_Load/200/300/-1", 200, "<= 1.25", "<= 2");
    PrintAgainstQt(reporter, "BM_Load/20/300/-1", 20, "", "");
    benchmark::Shutdown();
    return 0;
}
