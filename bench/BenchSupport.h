// Shared by the window benchmarks: each figure's time kept for the ratios a
// program prints at its end, and the signed-in user in a client folder of
// its own.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "clientkit/ClientKit.h"

namespace bench_support {

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

// ClientKit reset, with the folder as the client folder (log and ini) and
// the signed-in user.
inline void SetUpClient(const QTemporaryDir& folder, const char* uri, const char* displayName)
{
    tarvolan::clientkit::Reset();
    tarvolan::clientkit::SetAppPath(folder.path().toLocal8Bit().constData());
    tarvolan::clientkit::TIdentity me;
    me.uri = uri;
    me.displayName = displayName;
    tarvolan::clientkit::SetIdentity(me);
}

} // namespace bench_support
