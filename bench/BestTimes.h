#pragma once

// A console reporter that also keeps the best real and CPU time of every benchmark, so that a
// run can end with ratios of its own figures. Real time includes waiting for the disk; CPU time
// is steadier on a busy machine and leaves out the time a sync waits.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace mdb::bench {

class BestTimes : public benchmark::ConsoleReporter {
public:
    BestTimes() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string name = run.benchmark_name();
            keepBest(real_, name, run.GetAdjustedRealTime() * toMs);
            keepBest(cpu_, name, run.GetAdjustedCPUTime() * toMs);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Best time in milliseconds, -1 when the benchmark did not run (filtered out or failed).
    double real(const std::string& name) const { return find(real_, name); }
    double cpu(const std::string& name) const { return find(cpu_, name); }

    // Prints one ratio line, real and CPU; `limit` <= 0 for a ratio without a target, which
    // is then judged on `byCpu` time. Returns false when a target is missed.
    static bool printRatio(const char* label, double real, double cpu, double limit,
                           bool byCpu = false) {
        if (real < 0 || cpu < 0) return true;
        const double judged = byCpu ? cpu : real;
        const bool ok = limit <= 0 || judged <= limit;
        char target[48] = "-";
        if (limit > 0) {
            std::snprintf(target, sizeof target, "<= %.1f %s %s", limit, byCpu ? "cpu" : "real",
                          ok ? "met" : "MISSED");
        }
        std::printf("%-52s %7.2f %7.2f  %s\n", label, real, cpu, target);
        return ok;
    }
    static void printRatioHeading() {
        std::printf("\n%-52s %7s %7s  %s\n", "ratio of best times", "real", "cpu", "target");
    }

private:
    using Times = std::map<std::string, double>;

    static void keepBest(Times& times, const std::string& name, double ms) {
        auto [it, added] = times.try_emplace(name, ms);
        if (!added && ms < it->second) it->second = ms;
    }
    static double find(const Times& times, const std::string& name) {
        // benchmark_name() carries the suffixes the options add (e.g. "/real_time")
        for (const auto& [key, ms] : times) {
            if (key == name || key.rfind(name + "/", 0) == 0) return ms;
        }
        return -1;
    }

    Times real_;
    Times cpu_;
};

}  // namespace mdb::bench
