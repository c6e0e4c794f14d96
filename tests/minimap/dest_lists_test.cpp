#include "minimap/dest_lists.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "support/world.h"

namespace zeko::testing {
namespace {

using Texts = std::vector<std::string>;

Texts texts(const PlaceLists& lists, PlaceList list) {
    Texts out;
    for (const PlaceEntry& e : lists.entries(list))
        out.push_back(e.text);
    return out;
}

TEST(PlaceLists, EachCodeGoesToItsListAndStreetsAndGapsToNone) {
    using enum PlaceList;
    const std::pair<int16_t, std::optional<PlaceList>> cases[] = {
        {-1, {}},    {0, {}},        {1, Pub},       {91, Pub},    {92, Transit}, {100, Transit},
        {101, Bank}, {102, PkGuild}, {104, PkGuild}, {105, Guild}, {119, Guild},  {120, {}},
        {149, {}},   {150, Shop},    {175, Shop},    {176, {}},    {197, {}},     {198, Hall},
        {199, Hall}, {200, User},    {300, User},    {999, User}};
    for (const auto& [code, list] : cases)
        EXPECT_EQ(place_list_of(code), list) << code;
}

TEST(PlaceLists, SortedListsAreAlphabeticalBanksKeepScanOrderAndDuplicatesLeadToTheLastBlock) {
    CityWorld city;
    city.state.map.INIT_NAMES();
    // The same pub again at (40, 40), scanned last.
    const std::tuple<int, int, int16_t, const char*> places[] = {
        {10, 20, 3, "the Crow"},    {4, 6, 1, "Anchor"},
        {8, 2, 2, "Bell"},          {40, 40, 3, ""},
        {50, 2, 101, ""},           {2, 50, 101, ""},
        {160, 2, 151, "Zinc Shop"}, {150, 2, 150, "Apple Shop"},
        {6, 6, 231, "Grey House"},  {12, 2, 4, "Zinc Pub"}};
    for (const auto& [x, y, code, name] : places)
        city.place(x, y, code, name);
    PlaceLists lists;
    lists.FILL_LOCATION_LISTS(city.state.map);
    EXPECT_EQ(texts(lists, PlaceList::Pub),
              (Texts{" [Select a Pub]", "Anchor", "Bell", "the Crow", "the Crow", "Zinc Pub"}));
    EXPECT_EQ(lists.cell_of(PlaceList::Pub, lists.entries(PlaceList::Pub)[3].item_data),
              (Cell{40, 40}));
    EXPECT_EQ(
        lists.entries(PlaceList::Bank),
        (std::vector<PlaceEntry>{
            {" [Select bank location]", 0}, {"Aardvark and 25th", 1}, {"Mongoose and 1st", 2}}));
    EXPECT_EQ(lists.cell_of(PlaceList::Bank, 2), (Cell{50, 2}));
    EXPECT_EQ(texts(lists, PlaceList::Shop),
              (Texts{" [Select a Shop]", "Apple Shop", "Zinc Shop"}));
    EXPECT_EQ(texts(lists, PlaceList::User), (Texts{" [Select user building]", "Grey House"}));
    EXPECT_EQ(lists.cell_of(PlaceList::User, 231), (Cell{6, 6}));
    EXPECT_EQ(texts(lists, PlaceList::Hall), (Texts{" [Select a hall]"}));
    EXPECT_EQ(lists.cell_of(PlaceList::Pub, 0), std::nullopt);

    city.place(40, 40, 0);  // a refill starts over
    lists.FILL_LOCATION_LISTS(city.state.map);
    EXPECT_EQ(texts(lists, PlaceList::Pub).size(), 5u);
}

TEST(PlaceLists, PlacesBeyondTheTablesAreLeftOut) {
    CityWorld city;
    for (int i = 0; i < 205; ++i)
        city.place(2 * (i / 100), 2 * (i % 100), 101);
    city.place(198, 198, 300, "Last Room");
    city.place(198, 200, 301);
    PlaceLists lists;
    lists.FILL_LOCATION_LISTS(city.state.map);
    EXPECT_EQ(lists.entries(PlaceList::Bank).size(), 201u);
    EXPECT_EQ(lists.cell_of(PlaceList::Bank, 200), (Cell{2, 198}));
    EXPECT_EQ(lists.cell_of(PlaceList::Bank, 201), std::nullopt);
    EXPECT_EQ(texts(lists, PlaceList::User), (Texts{" [Select user building]", "Last Room"}));
    EXPECT_EQ(lists.cell_of(PlaceList::User, 301), std::nullopt);
}

}  // namespace
}  // namespace zeko::testing
