#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_layer.h"
#include "common/vb_array.h"

namespace zeko {

// The map file's two scrambling keys, as 8-bit text.
inline constexpr std::string_view MAP_KEY_1 = "Brambleton";
inline constexpr std::string_view MAP_KEY_2 = "Q.U.O.R.\xB2";

// The largest map file the loader accepts: positions in it are 16-bit counts.
inline constexpr int64_t kMaxMapFileBytes = 32767;

uint8_t BYTE_ADD(uint8_t a, uint8_t b);
uint8_t BYTE_SUB(uint8_t a, uint8_t b);

// Removes the scrambling in place: byte p (from 0) loses MAP_KEY_1[p % 10] + MAP_KEY_2[p % 9].
void unscramble_map(std::string& bytes);
// The inverse step, used to make map files.
void scramble_map(std::string& bytes);

// A copy of text in which each "&&" becomes "and", scanning left to right.
std::string AMP_TO_AND(std::string_view text);

// The city as the program knows it: the 201 x 201 grid of place codes, the street names of
// both axes and the place names by code, with the loader of the scrambled map file.
class CityMap {
  public:
    static constexpr int kSide = 201;

    // The map file is looked for in this folder.
    explicit CityMap(std::filesystem::path folder, FileLayer& files = posix_files());
    void use_files(FileLayer& files) { files_ = &files; }

    // The code at (x, y), loading the map first when it is not loaded yet; -1 off the grid.
    // A failing load raises its RuntimeError here.
    int16_t GET_MAP_CODE(int x, int y) {
        if (!MAP_LOADED) LOAD_MAP();
        if (x < 0 || x > 200 || y < 0 || y > 200) return -1;
        return MAP_GRID[static_cast<size_t>(x + kSide * y)];
    }

    std::string STREET_NAME_X(int i);
    std::string STREET_NAME_Y(int j);
    // X street x / 2, rounded down (the street name of the block (x, y)); x in 0..201.
    std::string COORD_NAME_X(int x);
    std::string COORD_NAME_Y(int y);
    // "Aardvark && 1st" for the block (2, 2).
    std::string LOCATION_NAME(int x, int y);
    std::string PLACE_NAME(int code);

    // Grid coordinate of a street's blocks (2 * index), matched in any letter case; 0 when the
    // name is not in the table. These read the built-in street lists, so they neither need nor
    // build X_STREETS / Y_STREETS.
    int16_t STREET_INDEX_X(std::string_view name) const;
    int16_t STREET_INDEX_Y(std::string_view name) const;

    void SET_MAP_CODE(int x, int y, int16_t code);
    void CLEAR_MAP_CODE(int x, int y);

    void INIT_NAMES();

    // Reads MAP.DAT from the folder into the grid and the names. Raises RuntimeError when the
    // file is too large or a record breaks a limit; what earlier records wrote stays.
    void LOAD_MAP();
    // What one load read: how many records it applied, and the unscrambled text after the
    // last closing mark, which a load never applies.
    struct MapRead {
        int records = 0;
        std::string unread;
    };
    // Loads the bytes of a map file as LOAD_MAP loads the file, failing the same way.
    MapRead load_map_bytes(std::string bytes);
    // Applies one unscrambled record (8-bit text, without its closing mark).
    void PARSE_MAP_RECORD(std::string_view record);

    // Stored code at (x, y) without loading; x and y must lie in 0..200.
    int16_t cell(int x, int y) const { return MAP_GRID[static_cast<size_t>(x + kSide * y)]; }

    std::vector<int16_t> MAP_GRID;
    VbArray<std::string> X_STREETS{0, 100};
    VbArray<std::string> Y_STREETS{0, 100};
    VbArray<std::string> PLACE_NAMES{0, 300};
    bool MAP_LOADED = false;
    bool NAMES_BUILT = false;

  private:
    void ensure_names() {
        if (!NAMES_BUILT) INIT_NAMES();
    }

    std::filesystem::path folder_;
    FileLayer* files_;
};

}  // namespace zeko
