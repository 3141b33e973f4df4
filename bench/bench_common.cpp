// Costs of the text functions behind every shown message: the emoticon display
// search over texts of growing size at one density of codes, and the tag
// reader on property elements next to a plain strlen pass over the same bytes.
#include "common/Emoticons.h"
#include "common/MessageMarkup.h"
#include "common/TagReader.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

using namespace tarvolan;

namespace {

// A message text of the given size: words, Chinese characters and one
// emoticon code (or a near miss) about every 50 bytes.
std::string MessageText(size_t size)
{
    static const char* const kPieces[] = {
        "Hello there, ", "\xC4\xE3\xBA\xC3\xA3\xAC", "see you (tv) ", "a:b;c(d) ",
        ":-) ", "\xD4\xD9\xBC\xFB ", "^o) ok ", "(so)", "time: 10:30 ", ":'( ", "(x) ",
    };
    std::string text;
    size_t i = 0;
    while (text.size() < size) {
        text += kPieces[i % (sizeof(kPieces) / sizeof(kPieces[0]))];
        ++i;
    }
    text.resize(size);
    return text;
}

void BM_DisplaySearch(benchmark::State& state)
{
    const std::string text = MessageText(static_cast<size_t>(state.range(0)));
    size_t codes = 0;
    for (auto _ : state) {
        codes = 0;
        TEmoticonMatch match;
        size_t from = 0;
        while (FindDisplayEmoticon(text, from, match)) {
            from = match.pos + match.length;
            ++codes;
        }
        benchmark::DoNotOptimize(codes);
    }
    state.counters["codes"] = static_cast<double>(codes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_DisplaySearch)->Arg(2048)->Arg(20480);

void BM_SplitEmoticonRuns(benchmark::State& state)
{
    const std::string text = MessageText(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<TEmoticonRun> runs = SplitEmoticonRuns(text);
        benchmark::DoNotOptimize(runs.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_SplitEmoticonRuns)->Arg(2048)->Arg(20480);

void BM_ForEachEmoticonRun(benchmark::State& state)
{
    const std::string text = MessageText(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        size_t pictures = 0;
        ForEachEmoticonRun(text, [&pictures](const TEmoticonRun& run) { pictures += run.picture >= 0; });
        benchmark::DoNotOptimize(pictures);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ForEachEmoticonRun)->Arg(2048)->Arg(20480);

// A text made of nothing but codes.
void BM_DisplaySearchAllCodes(benchmark::State& state)
{
    std::string text;
    for (int i = 0; text.size() < 20480; ++i) text += EmoticonCode(i % kEmoticonCount);
    for (auto _ : state) {
        TEmoticonMatch match;
        size_t from = 0;
        while (FindDisplayEmoticon(text, from, match)) from = match.pos + match.length;
        benchmark::DoNotOptimize(from);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DisplaySearchAllCodes);

std::vector<std::string> PropertyElements()
{
    std::vector<std::string> elements;
    const char* const faces[] = {"Arial", "Times New Roman", "\xCB\xCE\xCC\xE5", "Courier New"};
    for (int i = 0; i < 64; ++i) {
        TCharFormat f;
        f.dwEffects = static_cast<uint32_t>(i % 16);
        f.yHeight = 180 + 20 * (i % 8);
        f.crTextColor = static_cast<COLORREF>(i * 0x030507);
        std::strcpy(f.szFaceName, faces[i % 4]);
        elements.push_back(BuildPropertyElement(i % 8 == 0 ? nullptr : &f).str());
    }
    return elements;
}

int64_t TotalBytes(const std::vector<std::string>& elements)
{
    int64_t total = 0;
    for (const std::string& e : elements) total += static_cast<int64_t>(e.size());
    return total;
}

void BM_StrlenBaseline(benchmark::State& state)
{
    const std::vector<std::string> elements = PropertyElements();
    for (auto _ : state) {
        for (const std::string& e : elements) {
            const char* p = e.c_str();
            benchmark::DoNotOptimize(p);
            benchmark::DoNotOptimize(std::strlen(p));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * TotalBytes(elements));
}
BENCHMARK(BM_StrlenBaseline);

void BM_TagReaderProperty(benchmark::State& state)
{
    const std::vector<std::string> elements = PropertyElements();
    static const char* const kNames[] = {"strikeout", "underline", "bold", "italic", "face", "size", "color"};
    CTagReader reader;
    CString value;
    for (auto _ : state) {
        for (const std::string& e : elements) {
            reader.Load(e);
            if (!reader.FindElement("property")) continue;
            for (const char* name : kNames) benchmark::DoNotOptimize(reader.GetAttribute(name, value));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * TotalBytes(elements));
}
BENCHMARK(BM_TagReaderProperty);

void BM_ReadMessageMarkup(benchmark::State& state)
{
    std::vector<std::string> messages = PropertyElements();
    for (std::string& m : messages) m += "Hello \xC4\xE3\xBA\xC3 :)";
    std::vector<CString> texts(messages.begin(), messages.end());
    for (auto _ : state) {
        for (const CString& m : texts) {
            TMessageMarkup markup = ReadMessageMarkup(m);
            benchmark::DoNotOptimize(markup.format.yHeight);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * TotalBytes(messages));
}
BENCHMARK(BM_ReadMessageMarkup);

} // namespace

BENCHMARK_MAIN();
