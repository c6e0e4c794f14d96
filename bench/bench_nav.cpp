// The nearest-place scans against a bare loop that reads the same 10,201 blocks.

#include <cstdint>

#include "bench_support.h"
#include "map/nav.h"
#include "minimap/planner_search.h"

namespace {

using namespace zeko;

struct World : bench::BenchState {
    World() : BenchState(73, 121) { bench::fill_city(state.map); }
};

World& world() {
    static World w;
    return w;
}

void BM_BareBlockSum(benchmark::State& state) {
    bench::sum_blocks(state, world().state.map.MAP_GRID);
}
BENCHMARK(BM_BareBlockSum);

void BM_NavUpdate(benchmark::State& state) {
    NavModel& nav = world().state.nav;
    for (auto _ : state) {
        nav.NAV_UPDATE();
        benchmark::DoNotOptimize(nav.NAV_TARGET);
    }
}
BENCHMARK(BM_NavUpdate);

void BM_FindNearest(benchmark::State& state) {
    PlannerSearch& planner = world().state.planner;
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
