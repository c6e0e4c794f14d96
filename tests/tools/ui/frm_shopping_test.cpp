#include "tools/ui/frm_shopping.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "support/fakes.h"
#include "support/qt/qt_support.h"
#include "tool_windows.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

class FrmShoppingTest : public ::testing::Test {
  protected:
    FrmShoppingTest() {
        f.show_window();
        pump();
    }
    QListWidget* buy() { return child<QListWidget>(f, "lstBUY"); }
    QListWidget* items() { return child<QListWidget>(f, "lstITEMS"); }
    QComboBox* shop() { return child<QComboBox>(f, "cboSHOP"); }
    QComboBox* charisma() { return child<QComboBox>(f, "cboCHARISMA"); }
    QPushButton* button(int i) {
        return child<QPushButton>(f, QStringLiteral("cmdCOMMAND(%1)").arg(i));
    }
    QString bill() { return child<QLabel>(f, "lblCOST")->text(); }
    void choose(const char* shop_name, int level = 0) {
        shop()->setCurrentIndex(shop()->findText(QLatin1String(shop_name)));
        charisma()->setCurrentIndex(level);
    }
    // Picks an item of the shop and adds n of it through Add X.
    void add(const char* item, const std::string& n) {
        click_entry(items(), QLatin1String(item));
        prompts.type(n);
        click(button(2));
    }
    void remove(const char* line, const std::string& n) {
        click_entry(buy(), QLatin1String(line));
        prompts.type(n);
        click(button(3));
    }

    ScriptedPrompts prompts;
    RecordingWindows windows;
    ui::FrmShopping f{prompts, windows};
};

TEST_F(FrmShoppingTest, ControlsAndCaptions) {
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Z.E.K.O.: Shopping List Generator..."));
    EXPECT_FALSE(f.isModal());
    EXPECT_EQ(f.size(), QSize(437, 314));
    EXPECT_EQ(button(3)->text(), QStringLiteral("Remo&ve X"));
    EXPECT_EQ(child<QLabel>(f, "Label1")->text(), QStringLiteral("Total Grocery Shopping Bill:"));
    EXPECT_EQ(shop()->itemText(7), QStringLiteral("Ye Olde Scrolls "));
    EXPECT_EQ(charisma()->itemText(3), QStringLiteral("Charisma 3"));
    EXPECT_EQ(entries(items()), (QStringList{"Scroll of Teleporation", "Scroll of Displacement",
                                             "Scroll of Succour", "Scroll of Turning"}));
    EXPECT_EQ(bill(), QStringLiteral("0 Coins"));
    click(button(6));
    EXPECT_EQ(windows.help, (std::vector<std::pair<int16_t, QWidget*>>{{34, &f}}));
}

TEST_F(FrmShoppingTest, BillFollowsShopAndCharisma) {
    choose("Discount Magic", 2);
    add("Diamond Ring", "3");
    EXPECT_EQ(prompts.input_prompts, std::vector<std::string>{"How many would you like to add?"});
    EXPECT_EQ(bill(), QStringLiteral("195,300 Coins"));
    EXPECT_TRUE(child<QLabel>(f, "lblDESCRIPTION")->text().endsWith("(Gift Item)"));
    choose("McPotions");
    click_entry(items(), "Garlic Spray", true);
    click_entry(items(), "Garlic Spray", true);
    choose("Scrollworks");
    EXPECT_EQ(entries(buy()), QStringList{});
    EXPECT_EQ(bill(), QStringLiteral("0 Coins"));
    click_entry(items(), "Scroll of Teleporation", true);
    choose("Potionworks");
    click_entry(items(), "NecroBlood", true);
    choose("Ace Pawn", 3);
    EXPECT_EQ(entries(buy()), (QStringList{"Diamond Ring (3)", "Garlic Spray (2)",
                                           "Scroll of Teleporation (1)", "NecroBlood (1)"}));
    EXPECT_EQ(bill(), QStringLiteral("153,500 Coins"));
}

TEST_F(FrmShoppingTest, TooLargeABillEmptiesTheListAndCountsOutsideTheRangeAreRefused) {
    choose("Dark Desire");
    add("Diamond Ring", "21474");
    add("Diamond Ring", "99999999999");
    add("Diamond Ring", "-2147483649");
    EXPECT_EQ(bill(), QStringLiteral("2,147,400,000 Coins"));
    EXPECT_TRUE(prompts.shown.empty());
    add("Diamond Ring", "1");
    const ShownBox box{
        "Your shopping list is too large. Try to keep your shopping bill under 2,147,483,648 "
        "coin.",
        MsgButtons::OK, MsgIcon::None, "Um... maybe next time..?"};
    EXPECT_EQ(prompts.shown, std::vector<ShownBox>{box});
    EXPECT_EQ(entries(buy()), QStringList{});
    // NecroBlood fetches nothing at a pawn shop, so only its quantity can grow without end.
    choose("Potionworks");
    add("NecroBlood", "1");
    choose("Spinners Pawn");
    remove("NecroBlood (1)", "-2147483648");
    remove("NecroBlood (2147483647)", "-5");
    EXPECT_EQ(f.items()[10].Qty, 2147483647);
    EXPECT_EQ(bill(), QStringLiteral("0 Coins"));
}

TEST_F(FrmShoppingTest, RemovingFromTheList) {
    choose("White Light");
    add("Vial of Holy Water", "10");
    add("Perfect Red Rose", "11");
    remove("Perfect Red Rose (11)", "10");
    remove("Vial of Holy Water (10)", "10");
    EXPECT_EQ(prompts.input_prompts.back(), "How many would you like to remove?");
    add("Garlic Spray", "");  // cancelled: nothing added
    add("Garlic Spray", "2");
    click_entry(buy(), "Garlic Spray (2)");
    click(button(1));
    EXPECT_EQ(buy()->currentRow(), 1);
    click_entry(buy(), "Garlic Spray (1)", true);  // a double-click removes one too
    EXPECT_EQ(entries(buy()), QStringList{"Perfect Red Rose (1)"});
    click(button(1));  // nothing selected: nothing happens
    EXPECT_EQ(entries(buy()), QStringList{"Perfect Red Rose (1)"});
    click_entry(buy(), "Perfect Red Rose (1)");
    click(button(4));
    EXPECT_EQ(entries(buy()), QStringList{});
}

TEST_F(FrmShoppingTest, ReopeningKeepsTheQuantitiesAndClearListEmptiesThem) {
    choose("Interesting Times", 3);
    add("Scroll of Turning", "2");
    click(button(7));
    EXPECT_FALSE(f.isVisible());
    f.show_window();
    pump();
    EXPECT_EQ(charisma()->currentIndex(), 0);
    EXPECT_EQ(entries(buy()), QStringList{"Scroll of Turning (2)"});
    EXPECT_EQ(bill(), QStringLiteral("700 Coins"));
    click(button(5));
    EXPECT_EQ(entries(buy()), QStringList{});
    EXPECT_EQ(f.items()[3].Qty, 0);
}

}  // namespace
}  // namespace zeko::testing
