#include <gtest/gtest.h>

#include <limits>

#include "tools/shopping.h"

namespace zeko::tools {
namespace {

struct PriceCase {
    int item;
    int16_t shop_percent;
    int charisma;  // level 0..3
    int32_t expected;
};

TEST(UnitPrice, WorkedInTheGamesOrderAndRoundedHalfToEven) {
    const ItemTable items = LOAD_ITEMS();
    const PriceCase cases[] = {
        {2, 70, 1, 340},     // 339.5
        {8, 100, 1, 728},    // 727.5
        {8, 100, 2, 698},    // 697.5
        {10, 70, 0, 18},     // 17.5
        {10, 100, 3, 21},    // 22.5 -> 22, less 1
        {3, 70, 3, 30},      // just below 31.5 -> 31, less 1
        {0, 100, 3, 89999},  // 90000 less 1
    };
    for (const PriceCase& c : cases) {
        const auto& level = kCharismaLevels[static_cast<size_t>(c.charisma)];
        EXPECT_EQ(unit_price(items[static_cast<size_t>(c.item)].Price, c.shop_percent,
                             level.percent, c.charisma == kCharismaDeductionLevel),
                  c.expected)
            << items[static_cast<size_t>(c.item)].Name << " at " << c.shop_percent << " % with "
            << level.text;
    }
}

struct BillCase {
    const char* what;
    int shop;
    int charisma;
    std::vector<std::pair<int, int32_t>> quantities;
    int32_t total;
    bool overflow;
};

TEST(Bill, TotalsAndTheThirtyTwoBitLimits) {
    const BillCase cases[] = {
        {"three rings at Discount Magic, Charisma 2", 14, 2, {{0, 3}}, 195300, false},
        {"21474 rings", 15, 0, {{0, 21474}}, 2147400000, false},
        {"21475 rings", 15, 0, {{0, 21475}}, 0, true},
        {"pawn: 42949 rings", 21, 0, {{0, 42949}}, 2147450000, false},
        {"pawn: 42950 rings", 21, 0, {{0, 42950}}, 0, true},
        {"pawn: scrolls and NecroBlood", 21, 3, {{6, 2}, {10, 1}}, 5000, false},
        {"garlic not sold at a scroll shop", 6, 0, {{5, 2}}, 0, false},
        // Only shop 18 is the apothecary: NecroBlood but no scrolls; magic on either side.
        {"Magic Box: scrolls, no NecroBlood", 17, 0, {{6, 1}, {10, 4}}, 5000, false},
        {"Silver Apothecary: NecroBlood, no scrolls", 18, 0, {{6, 1}, {10, 4}}, 100, false},
        {"Sparks: scrolls, no NecroBlood", 19, 0, {{6, 1}, {10, 4}}, 5000, false},
        {"total overflows over two lines", 15, 0, {{0, 20000}, {4, 100000}}, 0, true},
    };
    const ShopTable shops = LOAD_SHOPS();
    EXPECT_EQ(shops[18].Name, "Silver Apothecary");
    for (const BillCase& c : cases) {
        ItemTable items = LOAD_ITEMS();
        for (auto [i, q] : c.quantities)
            items[static_cast<size_t>(i)].Qty = q;
        const SHOP& shop = shops[static_cast<size_t>(c.shop)];
        const Bill bill =
            shop.IsPawn == kTrue
                ? UPDATE_PAWN_BILL(items)
                : UPDATE_BILL(items, shop, shop.PricePercent,
                              kCharismaLevels[static_cast<size_t>(c.charisma)].percent,
                              c.charisma == kCharismaDeductionLevel);
        EXPECT_EQ(bill.overflow, c.overflow) << c.what;
        if (!c.overflow) {
            EXPECT_EQ(bill.total, c.total) << c.what;
        }
    }
}

TEST(Bill, NegativeQuantitiesOfSoldItemsGoBackToZero) {
    ItemTable items = LOAD_ITEMS();
    items[5].Qty = -4;   // sold at a magic shop
    items[10].Qty = -2;  // not sold there
    UPDATE_BILL(items, LOAD_SHOPS()[14], 70, 100, false);
    EXPECT_EQ(items[5].Qty, 0);
    EXPECT_EQ(items[10].Qty, -2);
    EXPECT_EQ(bill_caption(1234567), "1,234,567 Coins");
}

TEST(Count, ReadsTheNumberTheAnswerBeginsWith) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"", 0},
        {"  7 apples", 7},
        {"abc", 0},
        {"2.5", 2},
        {"3.5", 4},
        {"1e3", 1000},
        {"&H10", 16},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"2147483648", std::nullopt},
        {"1e400", std::nullopt},
    };
    for (auto [answer, expected] : cases)
        EXPECT_EQ(read_count(answer), expected) << '"' << answer << '"';
}

TEST(Count, QuantitiesStayInsideTheThirtyTwoBitRange) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(add_quantity(kMax, 1), kMax);
    EXPECT_EQ(remove_quantity(11, 10), 1);
    EXPECT_EQ(remove_quantity(kMax, std::numeric_limits<int32_t>::min()), kMax);
}

}  // namespace
}  // namespace zeko::tools
