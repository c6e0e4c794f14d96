// The minimap redraw at its largest views against a bare loop over the 10,201 blocks that
// every redraw's nearest-place scan reads.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "bench_support.h"
#include "common/prompts.h"
#include "common/services.h"
#include "main/program_state.h"
#include "minimap/minimap.h"

namespace {

using namespace zeko;

class SilentPrompts final : public Prompts {
  public:
    MsgResult message_box(std::string_view, MsgButtons, MsgIcon, std::string_view) override {
        return MsgResult::OK;
    }
    std::string input_box(std::string_view, std::string_view, std::string_view) override {
        return {};
    }
};

// Places and names from the sample city's text list ("x y code name", '#' comments), or,
// without it, about 300 named places scattered over the blocks.
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
        std::string name;
        std::getline(fields >> std::ws, name);
        map.SET_MAP_CODE(x, y, static_cast<int16_t>(code));
        if (code >= 0 && code <= 300) map.PLACE_NAMES(code) = name;
        ++placed;
    }
    if (placed > 0) return;
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

struct World {
    World() {
        services.prompts = &prompts;
        services.random = &random;
        state = std::make_unique<ProgramState>(std::filesystem::temp_directory_path(), services);
        fill_city(state->map);
        state->db.VAMPS.redim(1, 1);
        state->db.VAMPS(1).POS_X = 100;
        state->db.VAMPS(1).POS_Y = 100;
        state->db.VAMPS(1).DEST_X = 160;
        state->db.VAMPS(1).DEST_Y = 30;
        state->db.CUR_VAMP = 1;
        model.navline_checked.fill(true);
        minimap = std::make_unique<Minimap>(*state, model, &planner);
    }
    void zoom_to(int16_t zoom, bool pictures) {
        state->settings.SETTINGS.ZOOM = zoom;
        state->settings.SETTINGS.TILE_IMAGES = to_vb(pictures);
        minimap->ZOOM_MAP();
    }
    SilentPrompts prompts;
    LcgRandom random;
    Services services;
    std::unique_ptr<ProgramState> state;
    MinimapModel model;
    PlannerTiles planner;
    std::unique_ptr<Minimap> minimap;
};

World& world() {
    static World w;
    return w;
}

void BM_BareBlockSum(benchmark::State& state) {
    const std::vector<int16_t>& grid = world().state->map.MAP_GRID;
    for (auto _ : state) {
        int32_t sum = 0;
        for (int x = 0; x <= 200; x += 2)
            for (int y = 0; y <= 200; y += 2)
                sum += grid[static_cast<size_t>(x + 201 * y)];
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BareBlockSum);

// The whole redraw: 121 colour tiles, the scan, the panel and the lines.
void BM_BuildMap11Colour(benchmark::State& state) {
    World& w = world();
    w.zoom_to(11, false);
    for (auto _ : state) {
        w.minimap->BUILD_MAP();
        benchmark::DoNotOptimize(w.model.revision);
    }
}
BENCHMARK(BM_BuildMap11Colour);

// Picture tiles stop at zoom 9: 81 of them, with the scan, the panel and the lines.
void BM_BuildMap9Pictures(benchmark::State& state) {
    World& w = world();
    w.zoom_to(9, true);
    for (auto _ : state) {
        w.minimap->BUILD_MAP();
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
                    w.minimap->DRAW_TILE_IMAGE(x, y, n);
                else
                    w.minimap->DRAW_TILE(x, y, n, false);
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
