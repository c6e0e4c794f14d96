#include "support/world.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>

namespace zeko::testing {

NAV_POINT found(int16_t x, int16_t y, int16_t dist, int16_t code) {
    return NAV_POINT{x, y, dist, code, kTrue};
}

ShownBox error_box(int number, const std::string& procedure) {
    return ShownBox{"An error occused in '" + procedure +
                        "', please report the error number and where it occured.",
                    MsgButtons::OK, MsgIcon::Information, "Error #" + std::to_string(number)};
}

std::string vamp_bytes(const VAMP& record) {
    const auto bytes = encode_vamp(record);
    return std::string(bytes.begin(), bytes.end());
}

std::string vamp_file(const std::vector<VAMP>& records) {
    std::string file;
    for (const VAMP& v : records)
        file += vamp_bytes(v);
    return file;
}

namespace {

// `raw.size()` bytes of `bytes` from `at`; what the bytes lack stays 0.
template <size_t N>
std::array<uint8_t, N> record_at(const std::string& bytes, size_t at) {
    std::array<uint8_t, N> raw{};
    for (size_t i = 0; i < N && at + i < bytes.size(); ++i)
        raw[i] = static_cast<uint8_t>(bytes[at + i]);
    return raw;
}

}  // namespace

SETTINGS_REC settings_on_disk(const std::filesystem::path& file) {
    const std::string bytes = read_bytes(file);
    EXPECT_EQ(bytes.size(), static_cast<size_t>(kSettingsBytes));
    return decode_settings(record_at<kSettingsBytes>(bytes, 0));
}

VAMP vamp_on_disk(const std::filesystem::path& file, int n) {
    const std::string bytes = read_bytes(file);
    const size_t at = static_cast<size_t>(n - 1) * kVampRecordBytes;
    EXPECT_GE(bytes.size(), at + kVampRecordBytes);
    return decode_vamp(record_at<kVampRecordBytes>(bytes, at));
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
    place(102, 100, 101, "Blood Bank");
    place(104, 100, 101);
    place(100, 106, 101);
    place(98, 100, 1, "The Crow");
    place(96, 96, 2, "The Lamb");
    place(94, 100, 3, "The Bell");
    place(100, 98, 92, "Calliope");
    place(100, 104, 93, "Clio");
    place(106, 106, 94, "Erato");
}

MinimapWorld::MinimapWorld(int vamps) : CityWorld(vamps) {
    model.navline_checked.fill(true);
}

void MinimapWorld::zoom_to(int16_t zoom, bool pictures) {
    state.settings.SETTINGS.ZOOM = zoom;
    state.settings.SETTINGS.TILE_IMAGES = to_vb(pictures);
    mm.ZOOM_MAP();
}

void DbWorld::start_with(const std::vector<VAMP>& records) {
    write_bytes(dat(), vamp_file(records));
    db.LOAD_DB();
}

}  // namespace zeko::testing
