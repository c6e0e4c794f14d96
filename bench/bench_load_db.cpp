// LOAD_DB of a database of 1,000 characters, against a bare read of the same file.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "bench_support.h"
#include "common/files.h"
#include "map/vamp_db.h"

namespace {

namespace fs = std::filesystem;
using namespace zeko;

class QuietList final : public CharacterList {
  public:
    void clear() override {}
    void add_item(std::string_view text, int32_t item_data) override {
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(item_data);
    }
};

// A folder holding VAMP.dat with `count` characters.
void write_characters(const fs::path& folder, int count) {
    std::ofstream out(folder / "VAMP.dat", std::ios::binary);
    for (int i = 1; i <= count; ++i) {
        VAMP v;
        v.set_handle("Vampire number " + std::to_string(i));
        v.set_name("Name" + std::to_string(i));
        v.set_password("password");
        v.POS_X = static_cast<int16_t>(i % 200);
        auto bytes = encode_vamp(v);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    constexpr int kCharacters = 1000;
    bench::TempFolder folder;
    write_characters(folder.path(), kCharacters);
    QuietList list;
    bench::SilentPrompts prompts;
    Services services;
    services.prompts = &prompts;

    benchmark::RegisterBenchmark("BM_ReadFile", [&](benchmark::State& state) {
        const fs::path path = folder.path() / "VAMP.dat";
        for (auto _ : state) {
            std::string bytes = read_or_create(path);
            benchmark::DoNotOptimize(bytes.data());
        }
    });
    benchmark::RegisterBenchmark("BM_LoadDb", [&](benchmark::State& state) {
        VampDb db(folder.path(), services);
        db.vamp_list = &list;
        for (auto _ : state) {
            db.LOAD_DB();
            benchmark::DoNotOptimize(db.VAMP_COUNT);
        }
        if (db.VAMP_COUNT != kCharacters || prompts.boxes != 0)
            state.SkipWithError("LOAD_DB did not load the file");
    });

    return zeko::bench::run_with_ratios(argc, argv, {{"BM_LoadDb", "BM_ReadFile", 0}});
}
