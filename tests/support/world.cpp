#include "support/world.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <tuple>

namespace zeko::testing {

ShownBox error_box(int number, const std::string& procedure) {
    return ShownBox{"An error occused in '" + procedure +
                        "', please report the error number and where it occured.",
                    MsgButtons::OK, MsgIcon::Information, "Error #" + std::to_string(number)};
}

std::string vamp_file(const std::vector<VAMP>& records) {
    std::string file;
    for (const VAMP& v : records) {
        const auto bytes = encode_vamp(v);
        file.append(bytes.begin(), bytes.end());
    }
    return file;
}

namespace {

// `N` bytes of `bytes` from `at`, expected to be there; what the bytes lack stays 0.
template <size_t N>
std::array<uint8_t, N> record_at(const std::filesystem::path& file, size_t at) {
    const std::string bytes = read_bytes(file);
    EXPECT_GE(bytes.size(), at + N) << file;
    std::array<uint8_t, N> raw{};
    for (size_t i = 0; i < N && at + i < bytes.size(); ++i)
        raw[i] = static_cast<uint8_t>(bytes[at + i]);
    return raw;
}

}  // namespace

SETTINGS_REC settings_on_disk(const std::filesystem::path& file) {
    EXPECT_EQ(std::filesystem::file_size(file), static_cast<uintmax_t>(kSettingsBytes));
    return decode_settings(record_at<kSettingsBytes>(file, 0));
}

VAMP vamp_on_disk(const std::filesystem::path& file, int n) {
    return decode_vamp(
        record_at<kVampRecordBytes>(file, static_cast<size_t>(n - 1) * kVampRecordBytes));
}

CityWorld::CityWorld(int vamps) {
    world.wire(state.db);
    state.map.MAP_LOADED = true;
    if (vamps > 0) {
        state.db.VAMPS.redim(1, vamps);
        state.db.VAMP_COUNT = static_cast<int16_t>(vamps);
        state.db.CUR_VAMP = 1;
    }
}

void CityWorld::place(int x, int y, int16_t code, const std::string& name) {
    state.map.SET_MAP_CODE(x, y, code);
    if (!name.empty()) state.map.PLACE_NAMES(code) = name;
}

void CityWorld::stand(int16_t x, int16_t y, int n) {
    vamp(n).POS_X = x;
    vamp(n).POS_Y = y;
}

void CityWorld::head_for(int16_t x, int16_t y, int n) {
    vamp(n).DEST_X = x;
    vamp(n).DEST_Y = y;
}

void CityWorld::three_of_each() {
    const std::tuple<int, int, int16_t, const char*> places[] = {
        {102, 100, 101, "Blood Bank"}, {104, 100, 101, ""},     {100, 106, 101, ""},
        {98, 100, 1, "The Crow"},      {96, 96, 2, "The Lamb"}, {94, 100, 3, "The Bell"},
        {100, 98, 92, "Calliope"},     {100, 104, 93, "Clio"},  {106, 106, 94, "Erato"},
    };
    for (const auto& [x, y, code, name] : places)
        place(x, y, code, name);
}

void MinimapWorld::zoom_to(int16_t zoom, bool pictures) {
    state.settings.SETTINGS.ZOOM = zoom;
    state.settings.SETTINGS.TILE_IMAGES = to_vb(pictures);
    mm.ZOOM_MAP();
}

}  // namespace zeko::testing
