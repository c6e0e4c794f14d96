#include "minimap/dest_lists.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/world.h"

namespace zeko::testing {
namespace {

std::vector<std::string> texts(const PlaceLists& lists, PlaceList list) {
    std::vector<std::string> out;
    for (const PlaceEntry& e : lists.entries(list))
        out.push_back(e.text);
    return out;
}

TEST(PlaceLists, EachCodeGoesToItsListAndStreetsAndGapsToNone) {
    struct Case {
        int16_t code;
        std::optional<PlaceList> list;
    };
    const Case cases[] = {
        {-1, std::nullopt},      {0, std::nullopt},         {1, PlaceList::Pub},
        {91, PlaceList::Pub},    {92, PlaceList::Transit},  {100, PlaceList::Transit},
        {101, PlaceList::Bank},  {102, PlaceList::PkGuild}, {104, PlaceList::PkGuild},
        {105, PlaceList::Guild}, {119, PlaceList::Guild},   {120, std::nullopt},
        {149, std::nullopt},     {150, PlaceList::Shop},    {175, PlaceList::Shop},
        {176, std::nullopt},     {197, std::nullopt},       {198, PlaceList::Hall},
        {199, PlaceList::Hall},  {200, PlaceList::User},    {300, PlaceList::User},
        {999, PlaceList::User},
    };
    for (const Case& c : cases)
        EXPECT_EQ(place_list_of(c.code), c.list) << c.code;
}

TEST(PlaceLists, SortedListsAreAlphabeticalBanksKeepScanOrderAndDuplicatesLeadToTheLastBlock) {
    CityWorld city;
    city.place(10, 20, 3, "the Crow");
    city.place(4, 6, 1, "Anchor");
    city.place(8, 2, 2, "Bell");
    city.place(40, 40, 3);  // the same pub code again, scanned last
    city.place(50, 2, 101);
    city.place(2, 50, 101);
    city.place(160, 2, 151);
    city.place(150, 2, 150);
    city.place(6, 6, 231, "Grey House");
    city.place(8, 8, 301);

    PlaceLists lists;
    lists.FILL_LOCATION_LISTS(city.state.map);
    EXPECT_EQ(
        texts(lists, PlaceList::Pub),
        (std::vector<std::string>{" [Select a Pub]", "Anchor", "Bell", "the Crow", "the Crow"}));
    EXPECT_EQ(lists.entries(PlaceList::Pub)[3].item_data, 3);
    EXPECT_EQ(lists.cell_of(PlaceList::Pub, 3), (Cell{40, 40}));
    EXPECT_EQ(lists.cell_of(PlaceList::Pub, 1), (Cell{4, 6}));

    EXPECT_EQ(
        lists.entries(PlaceList::Bank),
        (std::vector<PlaceEntry>{
            {" [Select bank location]", 0}, {"Aardvark and 25th", 1}, {"Mongoose and 1st", 2}}));
    EXPECT_EQ(lists.cell_of(PlaceList::Bank, 2), (Cell{50, 2}));
    EXPECT_EQ(texts(lists, PlaceList::Shop),
              (std::vector<std::string>{" [Select a Shop]", city.state.map.PLACE_NAME(150),
                                        city.state.map.PLACE_NAME(151)}));
    EXPECT_EQ(texts(lists, PlaceList::User),
              (std::vector<std::string>{" [Select user building]", "Grey House"}));
    EXPECT_EQ(lists.cell_of(PlaceList::User, 231), (Cell{6, 6}));
    EXPECT_EQ(texts(lists, PlaceList::Hall), (std::vector<std::string>{" [Select a hall]"}));
    EXPECT_EQ(lists.cell_of(PlaceList::Pub, 0), std::nullopt);
    EXPECT_EQ(lists.cell_of(PlaceList::User, 301), std::nullopt);

    // A refill starts over.
    city.place(40, 40, 0);
    lists.FILL_LOCATION_LISTS(city.state.map);
    EXPECT_EQ(texts(lists, PlaceList::Pub).size(), 4u);
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
    EXPECT_EQ(lists.entries(PlaceList::Bank).back().item_data, 200);
    EXPECT_EQ(lists.cell_of(PlaceList::Bank, 200), (Cell{2, 198}));
    EXPECT_EQ(lists.cell_of(PlaceList::Bank, 201), std::nullopt);
    EXPECT_EQ(texts(lists, PlaceList::User),
              (std::vector<std::string>{" [Select user building]", "Last Room"}));
}

}  // namespace
}  // namespace zeko::testing
