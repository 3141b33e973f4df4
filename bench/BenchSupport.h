// Shared by the module benchmarks: each figure's time kept for the ratios a
// program prints at its end, a host that answers nothing, and the client
// around the module (its folder for log and ini, the signed-in user).
#pragma once

#include <cstdio>
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

// Keeps each run's time (the median of repetitions) so that the ratios can
// be printed at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
    // The time of the run whose name starts with prefix and a '/' or ends
    // there; zeros when it did not run.
    TTime Time(const std::string& prefix) const
    {
        for (const auto& [name, time] : times)
            if (name.compare(0, prefix.size(), prefix) == 0 && (name.size() == prefix.size() || name[prefix.size()] == '/'))
                return time;
        return {0, 0};
    }
    std::map<std::string, TTime> times;
};

inline void PrintRatio(const char* what, TTime a, TTime b, const char* goal)
{
    std::printf("  %-56s %8.3f %8.3f   (goal %s)\n", what, a.first / b.first, a.second / b.second, goal);
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
