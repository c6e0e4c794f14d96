#include "map/city_map.h"

#include <array>
#include <bitset>
#include <system_error>
#include <utility>

#include "common/codepage.h"
#include "common/errors.h"
#include "common/files.h"

namespace zeko {

namespace {

constexpr std::array<std::string_view, 101> kXStreets = {
    "WCL",      "Aardvark", "Alder",    "Buzzard",    "Beech",     "Cormorant", "Cedar",
    "Duck",     "Dogwood",  "Eagle",    "Elm",        "Ferret",    "Fir",       "Gibbon",
    "Gum",      "Haddock",  "Holly",    "Iguana",     "Ivy",       "Jackal",    "Juniper",
    "Kraken",   "Knotweed", "Lion",     "Larch",      "Mongoose",  "Maple",     "Nightingale",
    "Nettle",   "Octopus",  "Olive",    "Pilchard",   "Pine",      "Quail",     "Quince",
    "Raven",    "Ragweed",  "Squid",    "Sycamore",   "Tapir",     "Teasel",    "Unicorn",
    "Umbrella", "Vulture",  "Vervain",  "Walrus",     "Willow",    "Yak",       "Yew",
    "Zebra",    "Zelkova",  "Amethyst", "Anguish",    "Beryl",     "Bleak",     "Cobalt",
    "Chagrin",  "Diamond",  "Despair",  "Emerald",    "Ennui",     "Flint",     "Fear",
    "Gypsum",   "Gloom",    "Hessite",  "Horror",     "Ivory",     "Ire",       "Jet",
    "Jaded",    "Kyanite",  "Killjoy",  "Lead",       "Lonely",    "Malachite", "Malaise",
    "Nickel",   "Nervous",  "Obsidian", "Oppression", "Pyrites",   "Pessimism", "Quartz",
    "Qualms",   "Ruby",     "Regret",   "Steel",      "Sorrow",    "Turquoise", "Torment",
    "Uranium",  "Unctuous", "Vauxite",  "Vexation",   "Wulfenite", "Woe",       "Yuksporite",
    "Yearning", "Zinc",     "Zestless",
};

// Codes 102 to 119, then 150 to 174.
constexpr std::array<std::string_view, 18> kGuildNames = {
    "Peace Keepers: 1", "Peace Keepers: 2", "Peace Keepers: 3", "Allurists: 1", "Allurists: 2",
    "Allurists: 3",     "Empaths: 1",       "Empaths: 2",       "Empaths: 3",   "Immolators: 1",
    "Immolators: 2",    "Immolators: 3",    "Thieves: 1",       "Thieves: 2",   "Thieves: 3",
    "Travellers: 1",    "Travellers: 2",    "Travellers: 3",
};
constexpr std::array<std::string_view, 25> kShopNames = {
    "Discount Magic",    "Dark Desire",       "Interesting Times",
    "The Magic Box",     "Silver Apothecary", "Sparks",
    "White Light",       "Discount Scrolls",  "Herman's Scrolls",
    "Paper and Scrolls", "Scrollmania",       "Scrolls 'n' Stuff",
    "Scrolls R Us",      "Scrollworks",       "Ye Olde Scrolls",
    "Discount Potions",  "McPotions",         "Potable Potions",
    "Potion Disillery",  "Potionworks",       "The Potion Shoppe",
    "Ace Pawn",          "Checkers Pawn",     "Reversi Pawn",
    "Spinners Pawn",
};

std::string ordinal(int n) {
    const int last = n % 10;
    const int last_two = n % 100;
    const char* suffix = "th";
    if (last_two < 11 || last_two > 13) {
        if (last == 1) suffix = "st";
        if (last == 2) suffix = "nd";
        if (last == 3) suffix = "rd";
    }
    return std::to_string(n) + suffix;
}

// The street names are plain ASCII, and no other letter of the code page upper-cases to an
// ASCII one, so an ASCII comparison matches exactly what upper-casing both sides would.
bool same_ascii_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char ca = a[i];
        char cb = b[i];
        if (ca >= 'a' && ca <= 'z') ca = static_cast<char>(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z') cb = static_cast<char>(cb - 'a' + 'A');
        if (ca != cb) return false;
    }
    return true;
}

// Both key texts repeat every 90 bytes (10 x 9), so one 90-byte table serves the whole file.
constexpr size_t kKeyCycle = 90;
constexpr std::array<uint8_t, kKeyCycle> kMapKey = [] {
    std::array<uint8_t, kKeyCycle> key{};
    for (size_t p = 0; p < kKeyCycle; ++p) {
        const auto a = static_cast<uint8_t>(MAP_KEY_1[p % MAP_KEY_1.size()]);
        const auto b = static_cast<uint8_t>(MAP_KEY_2[p % MAP_KEY_2.size()]);
        key[p] = static_cast<uint8_t>((a + b) & 0xFF);
    }
    return key;
}();

// A fixed-width numeric field: blanks around an optional sign and at least one digit.
int map_number(std::string_view field) {
    size_t begin = 0;
    size_t end = field.size();
    while (begin < end && field[begin] == ' ')
        ++begin;
    while (end > begin && field[end - 1] == ' ')
        --end;
    bool negative = false;
    if (begin < end && (field[begin] == '+' || field[begin] == '-')) {
        negative = field[begin] == '-';
        ++begin;
    }
    if (begin == end) raise(Err::TypeMismatch);
    int value = 0;
    for (size_t i = begin; i < end; ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') raise(Err::TypeMismatch);
        value = value * 10 + (c - '0');  // at most four digits
    }
    return negative ? -value : value;
}

struct MapRecord {
    int x;
    int y;
    int code;
    std::string_view name;
};

// Checks the whole record before anything is written, so a refused record leaves no trace.
MapRecord read_record(std::string_view record) {
    if (record.size() < 10) raise(Err::TypeMismatch);
    MapRecord r{map_number(record.substr(0, 3)), map_number(record.substr(3, 3)),
                map_number(record.substr(6, 4)), record.substr(10)};
    if (r.x < 0 || r.x > 200 || r.y < 0 || r.y > 200) raise(Err::SubscriptOutOfRange);
    if (r.code < 0 || r.code > 300) raise(Err::SubscriptOutOfRange);
    return r;
}

void check_grid(int x, int y) {
    if (x < 0 || x > 200 || y < 0 || y > 200) raise(Err::SubscriptOutOfRange);
}

}  // namespace

uint8_t BYTE_ADD(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>((a + b) & 0xFF);
}

uint8_t BYTE_SUB(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>((a - b) & 0xFF);
}

void unscramble_map(std::string& bytes) {
    size_t k = 0;
    for (char& c : bytes) {
        c = static_cast<char>(BYTE_SUB(static_cast<uint8_t>(c), kMapKey[k]));
        if (++k == kKeyCycle) k = 0;
    }
}

void scramble_map(std::string& bytes) {
    size_t k = 0;
    for (char& c : bytes) {
        c = static_cast<char>(BYTE_ADD(static_cast<uint8_t>(c), kMapKey[k]));
        if (++k == kKeyCycle) k = 0;
    }
}

std::string AMP_TO_AND(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') {
            out += "and";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

CityMap::CityMap(std::filesystem::path folder, FileLayer& files)
    : MAP_GRID(static_cast<size_t>(kSide) * kSide, 0), folder_(std::move(folder)), files_(&files) {}

std::string CityMap::STREET_NAME_X(int i) {
    ensure_names();
    return X_STREETS(i);
}

std::string CityMap::STREET_NAME_Y(int j) {
    ensure_names();
    return Y_STREETS(j);
}

std::string CityMap::COORD_NAME_X(int x) {
    ensure_names();
    if (x < 0 || x > 201) raise(Err::SubscriptOutOfRange);
    return X_STREETS(x / 2);
}

std::string CityMap::COORD_NAME_Y(int y) {
    ensure_names();
    if (y < 0 || y > 201) raise(Err::SubscriptOutOfRange);
    return Y_STREETS(y / 2);
}

std::string CityMap::LOCATION_NAME(int x, int y) {
    std::string name = COORD_NAME_X(x);
    name += " && ";
    name += COORD_NAME_Y(y);
    return name;
}

std::string CityMap::PLACE_NAME(int code) {
    ensure_names();
    if (code == -1) return "The Wastes";
    if (code < 0 || code > 300) return {};  // no table entry (codes 301 to 999 included)
    return PLACE_NAMES(code);
}

// Looked up in the built-in tables rather than X_STREETS / Y_STREETS: the answers are the
// same once the tables are built, and a lookup before that still finds the street.
int16_t CityMap::STREET_INDEX_X(std::string_view name) const {
    for (size_t i = 0; i < kXStreets.size(); ++i) {
        if (same_ascii_ignoring_case(kXStreets[i], name)) return static_cast<int16_t>(2 * i);
    }
    return 0;
}

int16_t CityMap::STREET_INDEX_Y(std::string_view name) const {
    if (same_ascii_ignoring_case("NCL", name)) return 0;
    for (int j = 1; j <= 100; ++j) {
        if (same_ascii_ignoring_case(ordinal(j), name)) return static_cast<int16_t>(2 * j);
    }
    return 0;
}

void CityMap::SET_MAP_CODE(int x, int y, int16_t code) {
    check_grid(x, y);
    MAP_GRID[static_cast<size_t>(x + kSide * y)] = code;
}

void CityMap::CLEAR_MAP_CODE(int x, int y) {
    SET_MAP_CODE(x, y, 0);
}

void CityMap::INIT_NAMES() {
    for (int i = 0; i <= 100; ++i)
        X_STREETS(i) = kXStreets[static_cast<size_t>(i)];
    Y_STREETS(0) = "NCL";
    for (int j = 1; j <= 100; ++j)
        Y_STREETS(j) = ordinal(j);
    for (int code = 102; code <= 119; ++code)
        PLACE_NAMES(code) = kGuildNames[static_cast<size_t>(code - 102)];
    for (int code = 150; code <= 174; ++code)
        PLACE_NAMES(code) = kShopNames[static_cast<size_t>(code - 150)];
    NAMES_BUILT = true;
}

void CityMap::PARSE_MAP_RECORD(std::string_view record) {
    const MapRecord r = read_record(record);
    MAP_GRID[static_cast<size_t>(r.x + kSide * r.y)] = static_cast<int16_t>(r.code);
    PLACE_NAMES(r.code) = from_cp1252(r.name);
}

void CityMap::LOAD_MAP() {
    const std::filesystem::path path = resolve_in_folder(folder_, "MAP.DAT");
    // Refuse an oversized file before reading it into memory.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > static_cast<uintmax_t>(kMaxMapFileBytes)) raise(Err::Overflow);
    load_map_bytes(read_or_create(*files_, path));
}

CityMap::MapRead CityMap::load_map_bytes(std::string text) {
    if (text.size() > static_cast<size_t>(kMaxMapFileBytes)) raise(Err::Overflow);
    unscramble_map(text);

    // Only the last name given to a code survives, so each code's name is decoded once, when
    // the load ends (or fails: what came before a refused record still stands).
    std::array<std::string_view, 301> last_name{};
    std::bitset<301> named;
    auto apply_names = [&] {
        for (size_t code = 0; code < last_name.size(); ++code) {
            if (named[code]) PLACE_NAMES(static_cast<int>(code)) = from_cp1252(last_name[code]);
        }
    };

    const std::string_view view(text);
    constexpr std::string_view kMark = "/\\/";
    int records = 0;
    size_t pos = 0;
    try {
        for (;;) {
            const size_t mark = view.find(kMark, pos);
            if (mark == std::string_view::npos) break;
            const MapRecord r = read_record(view.substr(pos, mark - pos));
            MAP_GRID[static_cast<size_t>(r.x + kSide * r.y)] = static_cast<int16_t>(r.code);
            last_name[static_cast<size_t>(r.code)] = r.name;
            named.set(static_cast<size_t>(r.code));
            ++records;
            pos = mark + kMark.size();
        }
    } catch (...) {
        apply_names();
        throw;
    }
    apply_names();
    MAP_LOADED = true;
    return {records, std::string(view.substr(pos))};
}

}  // namespace zeko
