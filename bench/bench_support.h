#pragma once

// Every benchmark program compares what it measures with a bare loop over the same data,
// measured in the same run, and prints the ratio: absolute times vary between machines, the
// ratio much less.

#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/prompts.h"
#include "common/services.h"
#include "main/program_state.h"
#include "map/city_map.h"

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

// Nothing is shown while benchmarking; the boxes that would have been are counted.
class SilentPrompts final : public Prompts {
  public:
    MsgResult message_box(std::string_view, MsgButtons, MsgIcon, std::string_view) override {
        ++boxes;
        return MsgResult::OK;
    }
    std::string input_box(std::string_view, std::string_view, std::string_view) override {
        return {};
    }
    int boxes = 0;
};

// A fresh temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder() {
        std::string templ = (std::filesystem::temp_directory_path() / "zeko-bench-XXXXXX").string();
        if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
        path_ = templ;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// One line of the sample city's text list: "x y code name", '#' starting a comment line.
struct SamplePlace {
    int x = 0;
    int y = 0;
    int code = 0;
    std::string name;
};

inline std::vector<SamplePlace> sample_places() {
    std::vector<SamplePlace> places;
    std::ifstream in(ZEKO_SAMPLE_CITY);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        SamplePlace place;
        if (!(fields >> place.x >> place.y >> place.code)) continue;
        std::getline(fields >> std::ws, place.name);
        places.push_back(std::move(place));
    }
    return places;
}

// The sample city's places and names on the grid, or, without the list, about 300 named places
// scattered over the blocks. The map then counts as loaded.
inline void fill_city(CityMap& map) {
    map.MAP_LOADED = true;
    const std::vector<SamplePlace> places = sample_places();
    for (const SamplePlace& p : places) {
        map.SET_MAP_CODE(p.x, p.y, static_cast<int16_t>(p.code));
        if (p.code >= 0 && p.code <= 300) map.PLACE_NAMES(p.code) = p.name;
    }
    if (!places.empty()) return;
    std::mt19937 rng(20061206);
    std::uniform_int_distribution<int> block(0, 100);
    for (int i = 0; i < 300; ++i) {
        const int16_t code = i < 9     ? static_cast<int16_t>(92 + i)
                             : i < 100 ? static_cast<int16_t>(101)
                             : i < 200 ? static_cast<int16_t>(1 + i % 91)
                                       : static_cast<int16_t>(200 + i % 100);
        map.SET_MAP_CODE(2 * block(rng), 2 * block(rng), code);
        map.PLACE_NAMES(code) = "Place number " + std::to_string(code);
    }
}

// The sample city as a scrambled map file.
inline std::string sample_map_file() {
    std::string plain;
    for (const SamplePlace& p : sample_places()) {
        char head[16];
        std::snprintf(head, sizeof head, "%03d%03d%04d", p.x, p.y, p.code);
        plain += head + p.name + "/\\/";
    }
    scramble_map(plain);
    return plain;
}

// The baseline of the scans: a bare loop over the 10,201 blocks of the grid.
inline void sum_blocks(benchmark::State& state, const std::vector<int16_t>& grid) {
    for (auto _ : state) {
        int32_t sum = 0;
        for (int x = 0; x <= 200; x += 2)
            for (int y = 0; y <= 200; y += 2)
                sum += grid[static_cast<size_t>(x + 201 * y)];
        benchmark::DoNotOptimize(sum);
    }
}

// A program state on a temporary folder and quiet services, with an empty city that counts as
// loaded and one character, the current one, at (x, y) heading for (160, 30).
struct BenchState {
    BenchState(int16_t x, int16_t y) {
        state.map.MAP_LOADED = true;
        state.db.VAMPS.redim(1, 1);
        state.db.VAMP_COUNT = 1;
        state.db.CUR_VAMP = 1;
        VAMP& me = state.db.VAMPS(1);
        me.POS_X = x;
        me.POS_Y = y;
        me.DEST_X = 160;
        me.DEST_Y = 30;
    }

    TempFolder folder;
    SilentPrompts prompts;
    LcgRandom random;
    ProgramState state{folder.path(), Services{&prompts, nullptr, &random}};
};

}  // namespace zeko::bench
