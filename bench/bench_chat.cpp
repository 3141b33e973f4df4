// The conversation window under load: appending many received messages,
// one long message full of emoticon codes, the rebuild of a full output and
// the animation of many pictures. Figures are compared with a baseline
// measured in the same run: the first 100 messages, the same text without
// codes, 10 pictures.
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include "clientkit/ClientKit.h"
#include "common/Emoticons.h"
#include "conversation/ChatWindows.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/GroupTreeModel.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"

using namespace tarvolan;

namespace {

using Clock = std::chrono::steady_clock;

// The client folder with the emoticon pictures: the repository's assets.
std::string AssetsFolder()
{
    const std::string source = __FILE__;
    return source.substr(0, source.rfind('/')) + "/../assets";
}

// One group with an open conversation window, in the module's resources.
class CChatFixture {
public:
    CChatFixture() : m_switch(TarvolanResources())
    {
        clientkit::Reset();
        clientkit::SetAppPath(AssetsFolder().c_str());
        TGroupListEntry entry;
        entry.uri = "sip:bench@x.com";
        entry.name = "bench";
        entry.kind = 2;
        m_pGroup = m_model.CreateOrUpdateGroup(entry);
        m_pChat = m_chats.Open(*m_pGroup);
        m_pChat->resize(580, 460);
    }

    CTarvolanChatDialog* Chat() const { return m_pChat; }

private:
    CResourceSwitch m_switch;
    CGroupTreeModel m_model;
    CChatWindows m_chats{tarvolan::NoHostLink()};  // goes before the groups
    CTarvolan* m_pGroup = nullptr;
    CTarvolanChatDialog* m_pChat = nullptr;
};

// A received message of 200 bytes with three emoticon codes.
std::string ReceivedMessage(int n)
{
    std::string text = "<property size=\"200\" color=\"0x00102030\" ></property>";
    const size_t start = text.size();
    for (int code = 0; code < 3; ++code) {
        text += "message " + std::to_string(n) + " part " + std::to_string(code) + " with some words ";
        text += EmoticonCode((n + code * 7) % kEmoticonCount);
    }
    while (text.size() - start < 200) text += 'x';
    return text;
}

// 20,480 bytes: 500 emoticon codes between words, or the same text with
// every code replaced by as many letters.
std::string LongMessage(bool withCodes)
{
    std::string text;
    int codes = 0;
    while (text.size() < 20480 - 8) {
        text += "word ";
        if (codes < 500 && text.size() % 40 < 5) {
            const std::string code = EmoticonCode(codes % kEmoticonCount);
            text += withCodes ? code : std::string(code.size(), 'q');
            ++codes;
        }
    }
    text.resize(20480, 'z');
    return text;
}

double Since(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// 2,000 received messages into one window; counters give the time of the
// first and of the last 100 and their ratio.
void BM_Append2000Received(benchmark::State& state)
{
    std::vector<std::string> messages;
    for (int i = 0; i < 2000; ++i) messages.push_back(ReceivedMessage(i));
    double first = 0, last = 0;
    for (auto _ : state) {
        CChatFixture fixture;
        for (int i = 0; i < 2000; ++i) {
            const auto start = Clock::now();
            fixture.Chat()->ShowIncomingMessage("sip:ann@x.com", messages[static_cast<size_t>(i)].c_str());
            const double spent = Since(start);
            if (i < 100) first += spent;
            if (i >= 1900) last += spent;
        }
        benchmark::DoNotOptimize(fixture.Chat()->Output()->document()->characterCount());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["first100_us"] = first / runs;
    state.counters["last100_us"] = last / runs;
    state.counters["last_over_first"] = last / first;
}
BENCHMARK(BM_Append2000Received)->Unit(benchmark::kMillisecond)->Iterations(2);

// 100 received messages appended behind `prefill` messages.
void BM_Append100After(benchmark::State& state)
{
    const int prefill = static_cast<int>(state.range(0));
    std::vector<std::string> messages;
    for (int i = 0; i < prefill + 100; ++i) messages.push_back(ReceivedMessage(i));
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<CChatFixture>();
        for (int i = 0; i < prefill; ++i)
            fixture->Chat()->ShowIncomingMessage("sip:ann@x.com", messages[static_cast<size_t>(i)].c_str());
        state.ResumeTiming();
        for (int i = prefill; i < prefill + 100; ++i)
            fixture->Chat()->ShowIncomingMessage("sip:ann@x.com", messages[static_cast<size_t>(i)].c_str());
        state.PauseTiming();
        fixture.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Append100After)->Arg(0)->Arg(1900)->Unit(benchmark::kMillisecond)->Iterations(3);

// One 20,480-byte message, with 500 codes (arg 1) or none (arg 0).
void BM_ShowLongMessage(benchmark::State& state)
{
    const std::string text = LongMessage(state.range(0) != 0);
    CChatFixture fixture;
    CRichMsgEdit* output = fixture.Chat()->Output();
    for (auto _ : state) {
        state.PauseTiming();
        output->clear();
        state.ResumeTiming();
        fixture.Chat()->ShowMessageBody(text.c_str());
    }
    state.counters["pictures"] = output->PictureCount();
}
BENCHMARK(BM_ShowLongMessage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The rebuild of a full output (the text it keeps, with its pictures), which
// follows every trim of the oldest text: about once per 10,000 characters shown.
void BM_CompactFullOutput(benchmark::State& state)
{
    CChatFixture fixture;
    fixture.Chat()->show();
    for (int i = 0; i < 300; ++i)
        fixture.Chat()->ShowIncomingMessage("sip:ann@x.com", ReceivedMessage(i).c_str());
    QApplication::processEvents();
    CRichMsgEdit* output = fixture.Chat()->Output();
    for (auto _ : state) output->CompactDocument();
    state.counters["characters"] = output->document()->characterCount();
    state.counters["pictures"] = output->PictureCount();
}
BENCHMARK(BM_CompactFullOutput)->Unit(benchmark::kMillisecond);

// One animation tick with n pictures shown: every animation moves one frame
// on and the output repaints.
void BM_AnimationTick(benchmark::State& state)
{
    const int pictures = static_cast<int>(state.range(0));
    CChatFixture fixture;
    fixture.Chat()->show();
    std::string text;
    for (int i = 0; i < pictures; ++i) text += EmoticonCode(i % kEmoticonCount);
    fixture.Chat()->ShowMessageBody(text.c_str());
    CRichMsgEdit* output = fixture.Chat()->Output();
    output->verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    for (auto _ : state) {
        output->AdvancePictures();
        output->viewport()->repaint();
    }
    state.counters["pictures"] = output->PictureCount();
}
BENCHMARK(BM_AnimationTick)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
