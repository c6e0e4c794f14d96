#pragma once

// Every benchmark program compares what it measures with a bare loop over the same data,
// measured in the same run, and prints the ratio: absolute times vary between machines, the
// ratio much less.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zeko::bench {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Colours only on a terminal, so logs and pipes stay readable.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                times_[r.benchmark_name()] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // real time of `name` over real time of `baseline`, or a negative number when either is
    // missing (filtered out on the command line).
    double ratio(const std::string& name, const std::string& baseline) const {
        auto a = times_.find(name);
        auto b = times_.find(baseline);
        if (a == times_.end() || b == times_.end() || b->second <= 0) return -1;
        return a->second / b->second;
    }

  private:
    std::map<std::string, double> times_;
};

// Runs the benchmarks, then prints "ratio <name> / <baseline> = <x> (limit <y>)" for each pair.
// A limit of 0 means the figure is only reported.
struct RatioCheck {
    std::string name;
    std::string baseline;
    double limit;
};

inline int run_with_ratios(int argc, char** argv, const std::vector<RatioCheck>& checks) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& c : checks) {
        double r = reporter.ratio(c.name, c.baseline);
        if (r < 0) continue;
        if (c.limit > 0)
            std::printf("ratio %s / %s = %.2f (limit %.1f)%s\n", c.name.c_str(), c.baseline.c_str(),
                        r, c.limit, r <= c.limit ? "" : "  OVER LIMIT");
        else
            std::printf("ratio %s / %s = %.2f\n", c.name.c_str(), c.baseline.c_str(), r);
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace zeko::bench
