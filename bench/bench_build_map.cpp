// The minimap redraw at its largest views against a bare loop over the 10,201 blocks that
// every redraw's nearest-place scan reads.

#include <cstdint>

#include "bench_support.h"
#include "main/program_state.h"
#include "minimap/minimap.h"

namespace {

using namespace zeko;

struct World : bench::BenchState {
    World() : BenchState(100, 100) {
        bench::fill_city(state.map);
        model.navline_checked.fill(true);
    }
    void zoom_to(int16_t zoom, bool pictures) {
        state.settings.SETTINGS.ZOOM = zoom;
        state.settings.SETTINGS.TILE_IMAGES = to_vb(pictures);
        minimap.ZOOM_MAP();
    }
    MinimapModel model;
    PlannerTiles planner;
    Minimap minimap{state, model, &planner};
};

World& world() {
    static World w;
    return w;
}

void BM_BareBlockSum(benchmark::State& state) {
    bench::sum_blocks(state, world().state.map.MAP_GRID);
}
BENCHMARK(BM_BareBlockSum);

// The whole redraw: 121 colour tiles, the scan, the panel and the lines.
void BM_BuildMap11Colour(benchmark::State& state) {
    World& w = world();
    w.zoom_to(11, false);
    for (auto _ : state) {
        w.minimap.BUILD_MAP();
        benchmark::DoNotOptimize(w.model.revision);
    }
}
BENCHMARK(BM_BuildMap11Colour);

// Picture tiles stop at zoom 9: 81 of them, with the scan, the panel and the lines.
void BM_BuildMap9Pictures(benchmark::State& state) {
    World& w = world();
    w.zoom_to(9, true);
    for (auto _ : state) {
        w.minimap.BUILD_MAP();
        benchmark::DoNotOptimize(w.model.revision);
    }
}
BENCHMARK(BM_BuildMap9Pictures);

// The tile part alone for 121 tiles in each style.
template <bool kPictures>
void BM_Tiles121(benchmark::State& state) {
    World& w = world();
    w.zoom_to(11, false);
    for (auto _ : state) {
        int16_t n = 0;
        for (int16_t dy = -5; dy <= 5; ++dy) {
            for (int16_t dx = -5; dx <= 5; ++dx) {
                const auto x = static_cast<int16_t>(100 + dx);
                const auto y = static_cast<int16_t>(100 + dy);
                if (kPictures)
                    w.minimap.DRAW_TILE_IMAGE(x, y, n);
                else
                    w.minimap.DRAW_TILE(x, y, n, false);
                ++n;
            }
        }
        benchmark::DoNotOptimize(w.model.TILE[60]);
    }
}
BENCHMARK(BM_Tiles121<false>)->Name("BM_Tiles121Colour");
BENCHMARK(BM_Tiles121<true>)->Name("BM_Tiles121Pictures");

}  // namespace

int main(int argc, char** argv) {
    return zeko::bench::run_with_ratios(argc, argv,
                                        {{"BM_BuildMap11Colour", "BM_BareBlockSum", 0},
                                         {"BM_BuildMap9Pictures", "BM_BareBlockSum", 0},
                                         {"BM_Tiles121Colour", "BM_BareBlockSum", 0},
                                         {"BM_Tiles121Pictures", "BM_BareBlockSum", 0}});
}
