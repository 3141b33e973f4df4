// Shared by the module benchmarks: each figure's time kept for the ratios a
// program prints at its end, a host that answers nothing, and the client
// around the module (its folder for log and ini, the signed-in user).
#pragma once

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "clientkit/ClientKit.h"
#include "protocol/TarvolanAbi.h"

namespace bench {

// Real and CPU time of one figure.
using TTime = std::pair<double, double>;

// Keeps each run's time and counters (the median of repetitions) so that
// the ratios can be printed at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
                for (const auto& [counter, value] : run.counters)
                    counters[run.benchmark_name()][counter] = value.value;
            }
    }
    // The time of the run whose name starts with prefix and a '/' or ends
    // there; zeros when it did not run.
    TTime Time(const std::string& prefix) const { return Find(times, prefix, TTime{0, 0}); }
    // A counter of that run; 0 when it did not run or has no such counter.
    double Counter(const std::string& prefix, const std::string& counter) const
    {
        const std::map<std::string, double> none;
        const auto& values = Find(counters, prefix, none);
        const auto it = values.find(counter);
        return it == values.end() ? 0 : it->second;
    }
    std::map<std::string, TTime> times;
    std::map<std::string, std::map<std::string, double>> counters;

private:
    template <class T> static const T& Find(const std::map<std::string, T>& runs, const std::string& prefix, const T& none)
    {
        for (const auto& [name, value] : runs)
            if (name.compare(0, prefix.size(), prefix) == 0 && (name.size() == prefix.size() || name[prefix.size()] == '/'))
                return value;
        return none;
    }
};

inline void PrintRatio(const char* what, TTime a, TTime b, const char* goal)
{
    std::printf("  %-56s %8.3f %8.3f   (goal %s)\n", what, a.first / b.first, a.second / b.second, goal);
}

// Resident memory of this process in kilobytes.
inline long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// The resident memory that fixture.Load(input) adds, in kilobytes, the median
// of three fresh fixtures. The heap gives its free pages back first, so that
// memory freed earlier does not hide the growth.
template <class TFixture, class TInput> double ResidentAddedKb(const TInput& input)
{
    std::vector<long> added;
    for (int i = 0; i < 3; ++i) {
        TFixture fixture;
        malloc_trim(0);
        const long before = ResidentKb();
        fixture.Load(input);
        added.push_back(ResidentKb() - before);
    }
    std::sort(added.begin(), added.end());
    return static_cast<double>(added[1]);
}

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

// Runs the program's benchmarks under the offscreen platform, with the
// client signed in as myURI; reporter, when given, keeps their times.
inline void RunSignedIn(int& argc, char** argv, const char* myURI, benchmark::BenchmarkReporter* reporter = nullptr)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const CBenchClientData client(myURI);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(reporter);
}

} // namespace bench
