// Loading the largest map the program accepts, against the bare unscrambling of the same bytes.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench_support.h"
#include "map/city_map.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMapBytes = static_cast<size_t>(zeko::kMaxMapFileBytes);

std::string padded(int value, int width) {
    std::string digits = std::to_string(value);
    return std::string(static_cast<size_t>(width) - digits.size(), '0') + digits;
}

// Records over the whole city with names of typical length, the last one stretched so the
// text is exactly as long as a map may be.
std::string full_map_text() {
    const std::string mark = "/\\/";
    std::string text;
    int n = 0;
    for (;;) {
        const int x = (n * 14) % 202 / 2 * 2;
        const int y = (n * 6) % 202 / 2 * 2;
        const int code = n % 3 == 0 ? 101 : 1 + n % 300;
        std::string record = padded(x, 3) + padded(y, 3) + padded(code, 4) + "The Sleepy Lantern " +
                             std::to_string(n) + mark;
        if (text.size() + record.size() + 16 > kMapBytes) break;
        text += record;
        ++n;
    }
    const size_t rest = kMapBytes - text.size() - 10 - mark.size();
    text += "1001000231" + std::string(rest, 'z') + mark;
    return text;
}

class MapFolder {
  public:
    MapFolder() {
        plain_ = full_map_text();
        scrambled_ = plain_;
        zeko::scramble_map(scrambled_);
        std::ofstream out(folder_.path() / "MAP.DAT", std::ios::binary);
        out.write(scrambled_.data(), static_cast<std::streamsize>(scrambled_.size()));
        if (!out) throw std::runtime_error("cannot write the map");
    }
    const fs::path& path() const { return folder_.path(); }
    const std::string& scrambled() const { return scrambled_; }

  private:
    zeko::bench::TempFolder folder_;
    std::string plain_;
    std::string scrambled_;
};

const MapFolder& map_folder() {
    static const MapFolder folder;
    return folder;
}

void BM_UnscrambleBaseline(benchmark::State& state) {
    const std::string& source = map_folder().scrambled();
    for (auto _ : state) {
        std::string bytes = source;
        size_t j = 0;
        size_t m = 0;
        for (char& c : bytes) {
            const auto key = static_cast<uint8_t>(static_cast<uint8_t>(zeko::MAP_KEY_1[j]) +
                                                  static_cast<uint8_t>(zeko::MAP_KEY_2[m]));
            c = static_cast<char>(static_cast<uint8_t>(c) - key);
            if (++j == zeko::MAP_KEY_1.size()) j = 0;
            if (++m == zeko::MAP_KEY_2.size()) m = 0;
        }
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(source.size()));
}
BENCHMARK(BM_UnscrambleBaseline);

void BM_LoadMap(benchmark::State& state) {
    const fs::path& folder = map_folder().path();
    for (auto _ : state) {
        zeko::CityMap map(folder);
        map.LOAD_MAP();
        benchmark::DoNotOptimize(map.MAP_GRID.data());
        if (!map.MAP_LOADED || map.cell(100, 100) != 231) state.SkipWithError("map not loaded");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kMapBytes));
}
BENCHMARK(BM_LoadMap);

}  // namespace

int main(int argc, char** argv) {
    return zeko::bench::run_with_ratios(argc, argv,
                                        {{"BM_LoadMap", "BM_UnscrambleBaseline", 10.0}});
}
