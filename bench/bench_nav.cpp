// The nearest-place scans against a bare loop that reads the same 10,201 blocks.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "bench_support.h"
#include "common/prompts.h"
#include "common/services.h"
#include "map/city_map.h"
#include "map/nav.h"
#include "map/vamp_db.h"
#include "minimap/planner_search.h"

namespace {

using namespace zeko;

// Nothing is shown while benchmarking.
class SilentPrompts final : public Prompts {
  public:
    MsgResult message_box(std::string_view, MsgButtons, MsgIcon, std::string_view) override {
        return MsgResult::OK;
    }
    std::string input_box(std::string_view, std::string_view, std::string_view) override {
        return {};
    }
};

// Places from the sample city's text list ("x y code name", '#' comments), or, without it,
// about 300 places of the scanned kinds scattered over the blocks.
void fill_city(CityMap& map) {
    map.MAP_LOADED = true;
    std::ifstream in(ZEKO_SAMPLE_CITY);
    std::string line;
    int placed = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int x = 0, y = 0, code = 0;
        if (!(fields >> x >> y >> code)) continue;
        map.SET_MAP_CODE(x, y, static_cast<int16_t>(code));
        ++placed;
    }
    if (placed > 0) return;
    std::mt19937 rng(20061206);
    std::uniform_int_distribution<int> block(0, 100);
    for (int i = 0; i < 300; ++i) {
        const int16_t code = i < 9     ? static_cast<int16_t>(92 + i)
                             : i < 200 ? static_cast<int16_t>(101)
                                       : static_cast<int16_t>(1 + i % 91);
        map.SET_MAP_CODE(2 * block(rng), 2 * block(rng), code);
    }
}

struct World {
    World()
        : map(std::filesystem::temp_directory_path()),
          db(std::filesystem::temp_directory_path(), services) {
        fill_city(map);
        db.VAMPS.redim(1, 1);
        db.VAMPS(1).POS_X = 73;
        db.VAMPS(1).POS_Y = 121;
        db.VAMPS(1).DEST_X = 160;
        db.VAMPS(1).DEST_Y = 30;
        db.CUR_VAMP = 1;
    }
    Services services;
    SilentPrompts prompts;
    CityMap map;
    VampDb db;
    NavModel nav{map, db};
    PlannerSearch planner{map, db, prompts};
};

World& world() {
    static World w;
    return w;
}

void BM_BareBlockSum(benchmark::State& state) {
    const std::vector<int16_t>& grid = world().map.MAP_GRID;
    for (auto _ : state) {
        int32_t sum = 0;
        for (int x = 0; x <= 200; x += 2)
            for (int y = 0; y <= 200; y += 2)
                sum += grid[static_cast<size_t>(x + 201 * y)];
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BareBlockSum);

void BM_NavUpdate(benchmark::State& state) {
    NavModel& nav = world().nav;
    for (auto _ : state) {
        nav.NAV_UPDATE();
        benchmark::DoNotOptimize(nav.NAV_TARGET);
    }
}
BENCHMARK(BM_NavUpdate);

void BM_FindNearest(benchmark::State& state) {
    PlannerSearch& planner = world().planner;
    for (auto _ : state) {
        planner.RESET_NEAREST();
        planner.FIND_NEAREST();
        benchmark::DoNotOptimize(planner.NEAREST_BANK);
    }
}
BENCHMARK(BM_FindNearest);

}  // namespace

int main(int argc, char** argv) {
    return zeko::bench::run_with_ratios(
        argc, argv,
        {{"BM_NavUpdate", "BM_BareBlockSum", 4.0}, {"BM_FindNearest", "BM_BareBlockSum", 4.0}});
}
