#include "tools/shopping.h"

#include <limits>

#include "common/errors.h"

namespace zeko::tools {

namespace {

constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();

bool fits32(int64_t value) {
    return value >= kMin32 && value <= kMax32;
}

int32_t clamp32(int64_t value) {
    if (value > kMax32) return std::numeric_limits<int32_t>::max();
    if (value < kMin32) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

ITEM item(const char* name, int32_t price, int32_t pawn, const char* description) {
    return ITEM{name, description, price, 0, pawn};
}

SHOP shop(const char* name, int16_t percent, void (*kind)(SHOP&)) {
    SHOP s;
    s.Name = name;
    s.PricePercent = percent;
    kind(s);
    return s;
}

// Sets every flag: the items in [first, last] and the extra ones are sold, the rest not.
void sells(SHOP& shop, int first, int last, std::initializer_list<int> extra = {}) {
    for (int i = 0; i < kItemCount; ++i)
        shop.Sells[static_cast<size_t>(i)] = to_vb(i >= first && i <= last);
    for (int i : extra)
        shop.Sells[static_cast<size_t>(i)] = kTrue;
}

void add_line(Bill& bill, const ITEM& item, int index) {
    bill.lines.push_back({item.Name + " (" + std::to_string(item.Qty) + ")", index});
}

// Adds one line's amount to the bill; false once either leaves the 32-bit range.
bool add_amount(Bill& bill, int64_t each, int32_t qty) {
    const int64_t line = each * qty;
    if (!fits32(line) || !fits32(bill.total + line)) {
        bill.overflow = true;
        return false;
    }
    bill.total = static_cast<int32_t>(bill.total + line);
    return true;
}

}  // namespace

ItemTable LOAD_ITEMS() {
    return ItemTable{{
        item("Diamond Ring", 100000, 50000,
             "A single flawless diamond, set among a circle of smaller diamonds that catch the "
             "light from every side, on a plain band of polished gold. A gift no one forgets. "
             "(Gift Item)"),
        item("Perfect Black Orchid", 1000, 500,
             "A deep black orchid, flawless, with beautiful soft purple stamen. (Gift Item)"),
        item("Perfect Red Rose", 500, 250,
             "A beautiful long-stemmed red rose, fresh and undamaged. (Gift Item)"),
        item("Perfect Dandelion", 50, 25,
             "A dandelion in good condition, bright clean yellows and whites. (Gift Item)"),
        item("Vial of Holy Water", 2000, 1000,
             "The weapon of choice against strong vampires: the older and mightier the target, "
             "the deeper it burns. Against weaker vampires it does little damage."),
        item("Garlic Spray", 1000, 500,
             "The opposite of holy water: it hurts weaker vampires badly and barely troubles "
             "strong ones. Vampires with high shadows abilities can throw two at once."),
        item("Scroll of Teleporation", 5000, 2500,
             "Carries you by the shortest line between two places of the city. Expensive, but "
             "on a quest it saves both time and coin."),
        item("Scroll of Displacement", 1000, 500,
             "Moves the user, or another vampire of your choice, to a random place on the map."),
        item("Scroll of Succour", 750, 375,
             "Carries the user straight to a companion or sire, for much less than a scroll of "
             "teleportation would cost."),
        item("Scroll of Turning", 500, 250,
             "Clears the vampires out of an adjacent square and deals each of them 10 damage, "
             "unless they are neutral or of another colour."),
        item("NecroBlood", 25, 0,
             "The necromancer restores the blood you lost in battle at 25 coins a pint, and "
             "only after you have been attacked."),
    }};
}

void SET_SCROLL_SHOP(SHOP& shop) {
    sells(shop, 6, 9);
    shop.IsPawn = kFalse;
}

void SET_POTION_SHOP(SHOP& shop) {
    sells(shop, 4, 5, {10});
    shop.IsPawn = kFalse;
}

void SET_MAGIC_SHOP(SHOP& shop) {
    sells(shop, 0, 9);
    shop.IsPawn = kFalse;
}

void SET_APOTHECARY_SHOP(SHOP& shop) {
    sells(shop, 0, 5, {10});
    shop.IsPawn = kFalse;
}

void SET_PAWN_SHOP(SHOP& shop) {
    sells(shop, 0, 9);
    shop.IsPawn = kTrue;
}

ShopTable LOAD_SHOPS() {
    ShopTable shops{{
        shop("Discount Scrolls", DISCOUNT_RATE, SET_SCROLL_SHOP),
        shop("Herman's Scrolls", STANDARD_RATE, SET_SCROLL_SHOP),
        shop("Paper and Scrolls", STANDARD_RATE, SET_SCROLL_SHOP),
        shop("Scrollmania", STANDARD_RATE, SET_SCROLL_SHOP),
        shop("Scrolls 'n' Stuff", STANDARD_RATE, SET_SCROLL_SHOP),
        shop("Scrolls R Us", STANDARD_RATE, SET_SCROLL_SHOP),
        shop("Scrollworks", STANDARD_RATE, SET_SCROLL_SHOP),
        shop("Ye Olde Scrolls ", STANDARD_RATE, SET_SCROLL_SHOP),
        shop("Discount Potions", DISCOUNT_RATE, SET_POTION_SHOP),
        shop("McPotions", STANDARD_RATE, SET_POTION_SHOP),
        shop("Potable Potoins", STANDARD_RATE, SET_POTION_SHOP),
        shop("Potion Distillery", STANDARD_RATE, SET_POTION_SHOP),
        shop("Potionworks", STANDARD_RATE, SET_POTION_SHOP),
        shop("The Potion Shoppe", STANDARD_RATE, SET_POTION_SHOP),
        shop("Discount Magic", DISCOUNT_RATE, SET_MAGIC_SHOP),
        shop("Dark Desire", STANDARD_RATE, SET_MAGIC_SHOP),
        shop("Interesting Times", STANDARD_RATE, SET_MAGIC_SHOP),
        shop("Magic Box", STANDARD_RATE, SET_MAGIC_SHOP),
        shop("Silver Apothecary", STANDARD_RATE, SET_MAGIC_SHOP),
        shop("Sparks", STANDARD_RATE, SET_MAGIC_SHOP),
        shop("White Light", STANDARD_RATE, SET_MAGIC_SHOP),
        shop("Ace Pawn", STANDARD_RATE, SET_PAWN_SHOP),
        shop("Checkers Pawn", STANDARD_RATE, SET_PAWN_SHOP),
        shop("Reversi Pawn", STANDARD_RATE, SET_PAWN_SHOP),
        shop("Spinners Pawn", STANDARD_RATE, SET_PAWN_SHOP),
    }};
    SET_APOTHECARY_SHOP(shops[18]);
    return shops;
}

int32_t unit_price(int32_t price, int16_t shop_percent, int16_t charisma_percent,
                   bool charisma_deduction) {
    // Each step is its own double, as the game works it: 50 at 70 % and 90 % lands just
    // below 31.5 this way.
    double each = static_cast<double>(price) / 100.0;
    each = each * shop_percent;
    each = each / 100.0;
    each = each * charisma_percent;
    const int32_t rounded = CLng(each);
    return charisma_deduction ? rounded - 1 : rounded;
}

Bill UPDATE_BILL(ItemTable& items, const SHOP& shop, int16_t shop_percent, int16_t charisma_percent,
                 bool charisma_deduction) {
    Bill bill;
    for (int i = 0; i < kItemCount; ++i) {
        if (shop.Sells[static_cast<size_t>(i)] != kTrue) continue;
        ITEM& it = items[static_cast<size_t>(i)];
        if (it.Qty > 0) {
            add_line(bill, it, i);
            const int32_t each =
                unit_price(it.Price, shop_percent, charisma_percent, charisma_deduction);
            if (!add_amount(bill, each, it.Qty)) return bill;
        } else if (it.Qty < 0) {
            it.Qty = 0;
        }
    }
    return bill;
}

Bill UPDATE_PAWN_BILL(ItemTable& items) {
    Bill bill;
    for (int i = 0; i < kItemCount; ++i) {
        ITEM& it = items[static_cast<size_t>(i)];
        if (it.Qty > 0) {
            add_line(bill, it, i);
            if (!add_amount(bill, it.PawnPrice, it.Qty)) return bill;
        } else if (it.Qty < 0) {
            it.Qty = 0;
        }
    }
    return bill;
}

std::string bill_caption(int32_t total) {
    const int64_t value = total;
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int pos = static_cast<int>(digits.size()) - 3; pos > 0; pos -= 3)
        digits.insert(static_cast<size_t>(pos), ",");
    return (value < 0 ? "-" : "") + digits + " Coins";
}

std::optional<int32_t> read_count(std::string_view answer) {
    try {
        return CLng(Val(answer));
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

int32_t add_quantity(int32_t qty, int32_t n) {
    return clamp32(int64_t{qty} + n);
}

int32_t remove_quantity(int32_t qty, int32_t n) {
    const int64_t left = int64_t{qty} - n;
    return left < 1 ? 0 : clamp32(left);
}

}  // namespace zeko::tools
