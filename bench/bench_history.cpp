// Message history through the module: a page of the history viewer arriving
// and shown with the next page asked for, deep in the history against the
// first page; and recent messages loaded into a conversation window that
// already shows 2,000 lines against an empty one. Each figure is a ratio
// against its baseline measured in the same run, in CPU time of the thread.
#include <ctime>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "clientkit/ClientKit.h"
#include "conversation/TarvolanChatDialog.h"
#include "conversation/TarvolanHistoryDialog.h"
#include "module/TarvolanModule.h"
#include "window/TarvolanDialog.h"

using namespace tarvolan;

namespace {

constexpr const char* kGroup = "sip:history@groups.example.com";
constexpr int kPage = 20;

using bench::CSilentHost;

template <size_t N> void Put(char (&field)[N], const std::string& text)
{
    CString(text).CopyTo(field, N);
}

// CPU time of this thread in microseconds: the machine is shared with builds.
double ThreadMicros()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// The entries of a history answer with ids first, first+1, ...
class CHistoryAnswer {
public:
    CHistoryAnswer(int first, int count)
    {
        m_texts.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            THistoryEntry entry{};
            Put(entry.senderText, std::to_string(first + i));
            Put(entry.senderURI, "sip:user" + std::to_string(i % 7) + "@ims.example.com");
            Put(entry.time, "Thu, 05 Nov 2009 10:00:01 GMT");
            m_texts.push_back("<property size=\"200\" color=\"0x00102030\" ></property>message " + std::to_string(first + i) +
                              " of the history with a few words :)");
            m_entries.push_back(entry);
        }
        for (size_t i = 0; i < m_entries.size(); ++i) m_entries[i].text = m_texts[i].c_str();
    }
    Word* Record(int type)
    {
        Word words[5] = {200, type, reinterpret_cast<Word>(kGroup), static_cast<Word>(m_entries.size()),
                         reinterpret_cast<Word>(m_entries.data())};
        std::copy(std::begin(words), std::end(words), m_words);
        return m_words;
    }

private:
    std::vector<std::string> m_texts;
    std::vector<THistoryEntry> m_entries;
    Word m_words[5] = {};
};

// The module with one group whose conversation window is open.
class CClient {
public:
    CClient()
    {
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
        m_module->Init();
        TGroupInfoList* list = new TGroupInfoList{};
        list->count = 1;
        Put(list->groups[0].groupURI, kGroup);
        Put(list->groups[0].groupname, "history");
        list->groups[0].groupType = 2;
        m_module->OnMessage(0, H_GroupInfoList, list);
        delete list;
        TGroupDescription info{};
        Word group[8] = {reinterpret_cast<Word>("history"), reinterpret_cast<Word>(kGroup), 2,
                         reinterpret_cast<Word>(&info), 0, 0, 0, 0};
        m_module->OnMessage(0, H_OnePublicGroup, group);
        m_pGroup = CTarvolanModule::Instance()->MainWindow()->Data().TreeModel().FindGroup(kGroup);
        m_pGroup->m_bRecentLoaded = true;
        m_pChat = CTarvolanModule::Instance()->MainWindow()->ChatWindows().Open(*m_pGroup);
    }
    ~CClient() { CTarvolanModule::DestroyInstance(); }

    void Send(int code, void* record) { m_module->OnMessage(0, code, record); }
    CTarvolan& Group() { return *m_pGroup; }
    CTarvolanChatDialog& Chat() { return *m_pChat; }

private:
    QWidget m_parent;
    CSilentHost m_host;
    CModuleBase* m_module = nullptr;
    CTarvolan* m_pGroup = nullptr;
    CTarvolanChatDialog* m_pChat = nullptr;
};

// One step of paging at the viewer's current page: the page arrives (1032,
// stored, listed, buttons set) and "下一页" asks for the next one. Untimed,
// the viewer goes back to the same page for the next step.
double PageStep(CClient& client, CTarvolanHistoryDialog& viewer, CHistoryAnswer& page)
{
    const double start = ThreadMicros();
    client.Send(H_HistoryList, page.Record(2));
    viewer.OnNextPage();
    const double spent = ThreadMicros() - start;
    viewer.OnTimer(CTarvolanHistoryDialog::kTimerRequest);
    viewer.OnPreviousPage();
    return spent;
}

// The time of a page step on page 1 and on page 50, 200 steps each.
void BM_HistoryPaging(benchmark::State& state)
{
    constexpr int kDeep = 50, kSteps = 200;
    std::vector<std::unique_ptr<CHistoryAnswer>> pages;
    for (int p = 0; p < kDeep; ++p) pages.push_back(std::make_unique<CHistoryAnswer>(1000000 - (p + 1) * kPage, kPage));
    double first = 0, deep = 0;
    for (auto _ : state) {
        CClient client;
        CTarvolanHistoryDialog viewer(CTarvolanModule::Instance()->MainWindow()->Link(), &client.Chat());
        viewer.SetGroup(&client.Group());
        viewer.InitialiseOnce();
        for (int i = 0; i < kSteps; ++i) first += PageStep(client, viewer, *pages[0]);
        for (int p = 0; p + 1 < kDeep; ++p) {  // to page 50
            client.Send(H_HistoryList, pages[static_cast<size_t>(p)]->Record(2));
            viewer.OnNextPage();
        }
        if (viewer.PageNumber() != kDeep) state.SkipWithError("not on page 50");
        for (int i = 0; i < kSteps; ++i) deep += PageStep(client, viewer, *pages[kDeep - 1]);
    }
    const double runs = static_cast<double>(state.iterations()) * kSteps;
    state.counters["page1_us"] = first / runs;
    state.counters["page50_us"] = deep / runs;
    state.counters["page50_over_page1"] = deep / first;
}
BENCHMARK(BM_HistoryPaging)->Unit(benchmark::kMillisecond)->Iterations(3);

// Ten recent messages (1032 type 1) into the open conversation window, empty
// or showing 2,000 lines (1,000 received messages, about 39,000 characters:
// below the view's limit, so that no trimming of the oldest lines, which
// any append may cause, is counted here).
void BM_RecentMessages(benchmark::State& state)
{
    constexpr int kLoads = 20;
    CHistoryAnswer recent(1, 10);
    double empty = 0, full = 0;
    for (auto _ : state) {
        for (int filled = 0; filled < 2; ++filled) {
            for (int i = 0; i < kLoads; ++i) {
                CClient client;
                for (int m = 0; filled && m < 1000; ++m)
                    client.Chat().ShowIncomingMessage("sip:ann@ims.example.com", "<property ></property>a message");
                QApplication::processEvents();  // the window at rest, as a person sees it
                const double start = ThreadMicros();
                client.Send(H_HistoryList, recent.Record(1));
                (filled ? full : empty) += ThreadMicros() - start;
            }
        }
    }
    const double runs = static_cast<double>(state.iterations()) * kLoads;
    state.counters["empty_us"] = empty / runs;
    state.counters["lines2000_us"] = full / runs;
    state.counters["lines2000_over_empty"] = full / empty;
}
BENCHMARK(BM_RecentMessages)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    bench::RunSignedIn(argc, argv, "sip:me@ims.example.com");
    benchmark::Shutdown();
    return 0;
}
