#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/conversions.h"

// The shopping list: what the game's items cost at each shop, and what a pawn shop pays.
namespace zeko::tools {

inline constexpr int kItemCount = 11;
inline constexpr int kShopCount = 25;

struct ITEM {
    std::string Name;
    std::string Description;
    int32_t Price = 0;
    int32_t Qty = 0;
    int32_t PawnPrice = 0;
};

struct SHOP {
    std::string Name;
    std::array<VbBool, kItemCount> Sells{};
    int16_t PricePercent = 0;
    VbBool IsPawn = kFalse;
};

using ItemTable = std::array<ITEM, kItemCount>;
using ShopTable = std::array<SHOP, kShopCount>;

inline constexpr int16_t DISCOUNT_RATE = 70;
inline constexpr int16_t STANDARD_RATE = 100;

// Every item with nothing on the list.
ItemTable LOAD_ITEMS();
ShopTable LOAD_SHOPS();

void SET_SCROLL_SHOP(SHOP& shop);
void SET_POTION_SHOP(SHOP& shop);
void SET_MAGIC_SHOP(SHOP& shop);
void SET_APOTHECARY_SHOP(SHOP& shop);
void SET_PAWN_SHOP(SHOP& shop);

struct CharismaLevel {
    const char* text;
    int16_t percent;
};
inline constexpr std::array<CharismaLevel, 4> kCharismaLevels{{
    {"Not Charismatic...", 100},
    {"Charisma 1", 97},
    {"Charisma 2", 93},
    {"Charisma 3", 90},
}};
// The level whose keepers also take one coin off each item.
inline constexpr int kCharismaDeductionLevel = 3;

// One item at a shop: the list price scaled by the shop's and the charisma percent in the
// game's own order, rounded half to even, less one coin at the highest charisma level.
int32_t unit_price(int32_t price, int16_t shop_percent, int16_t charisma_percent,
                   bool charisma_deduction);

struct BillLine {
    std::string text;  // "Garlic Spray (3)"
    int item = 0;
};

struct Bill {
    std::vector<BillLine> lines;
    int32_t total = 0;
    // A line or the running total left the signed 32-bit range; `lines` and `total` are what
    // was reached before.
    bool overflow = false;
};

// The regular bill over the items the shop sells. A negative quantity of such an item is set
// back to 0.
Bill UPDATE_BILL(ItemTable& items, const SHOP& shop, int16_t shop_percent, int16_t charisma_percent,
                 bool charisma_deduction);
// What a pawn shop pays for everything listed.
Bill UPDATE_PAWN_BILL(ItemTable& items);

// "###,###,##0 Coins".
std::string bill_caption(int32_t total);

// The count typed into the input box: the number the answer begins with, rounded half to
// even. Nothing when it lies outside the signed 32-bit range (the answer is refused).
std::optional<int32_t> read_count(std::string_view answer);

// A quantity moved by n, held inside the signed 32-bit range rather than wrapping.
int32_t add_quantity(int32_t qty, int32_t n);
// Remove X: below 1 the item leaves the list.
int32_t remove_quantity(int32_t qty, int32_t n);

// The texts of the box shown when the bill grows too large.
inline constexpr std::string_view kOverflowText =
    "Your shopping list is too large. Try to keep your shopping bill under 2,147,483,648 coin.";
inline constexpr std::string_view kOverflowTitle = "Um... maybe next time..?";

}  // namespace zeko::tools
