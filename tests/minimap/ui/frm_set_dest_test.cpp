#include "minimap/ui/frm_set_dest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

#include "support/qt/qt_support.h"
#include "support/world.h"
#include "widgets/program_windows.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

using ui::FrmSetDest;

// Records the windows the planner asks for, as "NAME argument owner".
class FakeWindows final : public ui::NoWindows {
  public:
    void INIT_HELP(int16_t topic, QWidget* owner) override {
        calls << QStringLiteral("INIT_HELP %1 %2").arg(topic).arg(owner->objectName());
    }
    void INIT_GUILDS(QWidget* owner) override {
        calls << "INIT_GUILDS " + owner->objectName();
        if (during_guilds) during_guilds();
    }

    QStringList calls;
    std::function<void()> during_guilds;
};

// Alpha (2) heads for (7, 9), Bravo (3) stands at (20, 20), Charlie (1) heads for (40, 60).
class FrmSetDestTest : public ::testing::Test {
  protected:
    FrmSetDestTest() {
        city.state.map.INIT_NAMES();  // the built-in names first, so ours stay
        city.three_of_each();
        city.place(20, 20, 105, "Wandering Guild");
        city.place(30, 30, 198, "Great Hall");
        const char* handles[3] = {"Charlie", "Alpha", "Bravo"};
        for (int n = 1; n <= 3; ++n) {
            city.vamp(n).set_handle(handles[n - 1]);
            city.stand(n == 3 ? 20 : 100, n == 3 ? 20 : 100, n);
        }
        city.head_for(40, 60, 1);
        city.head_for(7, 9, 2);
        // The main window's list, sorted, each entry carrying its record index.
        for (int n : {2, 3, 1}) {
            auto* item = new QListWidgetItem(QString::fromStdString(city.vamp(n).handle()));
            item->setData(Qt::UserRole, n);
            main_list.addItem(item);
        }
        f = std::make_unique<FrmSetDest>(
            city.state, mm, windows,
            FrmSetDest::Hooks{&main_list, [this](int16_t i) { tools.push_back(i); },
                              [this] { ++redraws; }},
            &owner);
    }

    template <class T = QWidget>
    T* find(const QString& name) {
        T* w = f->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QPushButton* button(int i) {
        return find<QPushButton>(QStringLiteral("cmdCOMMAND(%1)").arg(i));
    }
    QComboBox* box(const char* name) { return find<QComboBox>(QLatin1String(name)); }
    QString tile(int n) { return find<ui::LabelBox>(QStringLiteral("TILE(%1)").arg(n))->caption(); }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    void click(const char* name) { click(find(QLatin1String(name))); }
    void open() {
        f->show_modal();
        pump();
    }
    // One row of the panel as "caption|X|Y|AP".
    QString row(int k) {
        const char* frames[5] = {"fraBANK", "fraPUB", "fraTRANSIT", "fraDEST", "fraDESTTRANS"};
        QStringList parts{find<ui::VbFrame>(QLatin1String(frames[k]))->title()};
        for (const char* l : {"lblX(%1)", "lblY(%1)", "lblAP(%1)"})
            parts << find<QLabel>(QString::fromLatin1(l).arg(k))->text();
        return parts.join('|');
    }
    void choose_vamp(const QString& handle) {
        auto* list = find<QListWidget>(QStringLiteral("lstVAMP"));
        QListWidgetItem* item = list->findItems(handle, Qt::MatchExactly).value(0);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }
    Cell dest(int n = 1) { return Cell{city.vamp(n).DEST_X, city.vamp(n).DEST_Y}; }

    CityWorld city{3};
    MinimapModel model;
    Minimap mm{city.state, model};
    QWidget owner;
    QListWidget main_list;
    FakeWindows windows;
    std::vector<int16_t> tools;
    int redraws = 0;
    std::unique_ptr<FrmSetDest> f;
};

TEST_F(FrmSetDestTest, NamesCaptionsTipsAndTheTwoTogglesThatWidenAndNarrowTheWindow) {
    open();
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Set Destination..."));
    EXPECT_TRUE(f->isModal());
    EXPECT_EQ(f->parentWidget(), &owner);
    const std::pair<const char*, const char*> texts[] = {{"cmdCOMMAND(1)", "O&K"},
                                                         {"cmdCOMMAND(12)", "GO"},
                                                         {"cmdVARCommand(2)", "Update Shops"},
                                                         {"cmdCOMMAND(15)", "SET DESTINATION"}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(find(QLatin1String(name))->property("text").toString(), QString::fromUtf8(text));
    EXPECT_EQ(find(QStringLiteral("TILE(5)"))->geometry(), ui::twips_rect(2460, 1260, 1200, 1200));
    EXPECT_TRUE(button(1)->isDefault());
    EXPECT_EQ(button(14)->toolTip(),
              QStringLiteral("This will retrieve the selected vampire's current "
                             "location and alter ter Set Destination minimap."));
    EXPECT_EQ(button(15)->toolTip(),
              QStringLiteral("This will set the selected vampire's current "
                             "destiantion to the one displayed on the minimap."));

    // Each click: the button, the outer width after it, and the toggles' words (L LESS, M MORE).
    const std::tuple<int, int32_t, const char*> steps[] = {{0, 4170, "MM"},   {4, 7710, "LM"},
                                                           {13, 11340, "LL"}, {4, 4170, "ML"},
                                                           {4, 11340, "LL"},  {13, 7710, "LM"}};
    auto word = [](char c) { return QLatin1String(c == 'L' ? "&L\nE\nS\nS" : "&M\nO\nR\nE"); };
    for (const auto& [index, width, words] : steps) {
        if (index) click(button(index));
        EXPECT_EQ(f->outer_width(), width) << index;
        EXPECT_EQ(f->width(), ui::px(width - 120));
        EXPECT_EQ(button(4)->text(), word(words[0]));
        EXPECT_EQ(button(13)->text(), word(words[1]));
    }
}

TEST_F(FrmSetDestTest, StreetBoxesTilesAndListsMoveTheDestinationCancelPutsItBack) {
    city.state.db.CUR_VAMP = 2;  // heading for (7, 9)
    open();
    EXPECT_EQ(box("cboX")->currentIndex(), 4);
    EXPECT_EQ(box("cboY")->currentIndex(), 5);
    click(button(0));
    EXPECT_EQ(dest(2), (Cell{8, 10}));
    const std::tuple<const char*, int, const char*, Cell> picks[] = {
        {"cboPUB", 6, "The Lamb", {96, 96}},
        {"cboTRANSIT", 7, "Erato", {106, 106}},
        {"cboBANK", 5, "Zelkova and 53rd", {100, 106}},
        {"cboGUILD", 10, "Wandering Guild", {20, 20}},
        {"cboHALL", 9, "Great Hall", {30, 30}}};
    for (const auto& [name, go, item, to] : picks) {
        box(name)->setCurrentIndex(box(name)->findText(QLatin1String(item)));
        click(button(go));
        EXPECT_EQ(dest(2), to) << item;
    }
    EXPECT_EQ(tile(4), QStringLiteral("Great Hall"));
    box("cboPUB")->setCurrentIndex(0);  // the placeholder leads nowhere
    click(button(6));
    EXPECT_EQ(dest(2), (Cell{30, 30}));
    click("TILE(8)");
    EXPECT_EQ(dest(2), (Cell{31, 31}));
    EXPECT_EQ(tile(4), QStringLiteral("Holly && 16th"));
    city.head_for(0, 0, 2);
    click("TILE(0)");  // kept inside the city
    EXPECT_EQ(dest(2), (Cell{0, 0}));

    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(dest(2), (Cell{7, 9}));
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(std::filesystem::exists(city.world.folder / "VAMP.dat"));
}

TEST_F(FrmSetDestTest, CancelRestoresTheCharacterItOpenedForWhenTheMainWindowMovesOn) {
    VampDb& db = city.state.db;
    auto edit_alpha_then = [&](const std::function<void()>& meanwhile) {
        db.CUR_VAMP = 2;  // Alpha, heading for (7, 9)
        open();
        click("TILE(8)");
        click("cmdVARCommand(3)");  // the shopping list leaves the planner not modal
        meanwhile();
        click(button(2));
    };
    edit_alpha_then([&] { db.CUR_VAMP = 3; });  // Bravo chosen in the main window
    EXPECT_EQ(dest(2), (Cell{7, 9}));
    EXPECT_EQ(dest(3), (Cell{0, 0}));
    edit_alpha_then([&] {  // Charlie deleted: Alpha and Bravo come back as 1 and 2
        city.vamp(1).DELETED = kTrue;
        db.SAVE_DB();
        db.CLEAN_DB();
    });
    ASSERT_EQ(db.VAMP_COUNT, 2);
    EXPECT_EQ(dest(1), (Cell{7, 9}));
    EXPECT_EQ(dest(2), (Cell{0, 0}));
}

TEST_F(FrmSetDestTest, ThePanelMeasuresFromTheChosenCharacterAtTheChosenRankAndNeverFails) {
    city.state.db.SEL_VAMP = 9;  // gone since it was chosen: the current one stands in
    open();
    EXPECT_EQ(city.state.db.SEL_VAMP, 1);
    EXPECT_EQ(row(0), QStringLiteral("Blood Bank|Amethyst|50th|2"));
    EXPECT_EQ(row(3), QStringLiteral("|Juniper|30th|60"));
    click("imgDIST(1)");
    EXPECT_EQ(f->NEAREST_RANK, 2);
    EXPECT_EQ(find<ui::PictureBox>(QStringLiteral("imgDIST(1)"))->picture(), 4);
    EXPECT_EQ(row(2), QStringLiteral("Clio|Zelkova|52nd|4"));
    const NAV_DEST& route = city.state.planner.DEST_ROUTE;
    EXPECT_EQ(row(4), QStringLiteral("Clio to %1|Juniper|30th|%2")
                          .arg(QString::fromStdString(city.state.map.PLACE_NAME(route.VIA_CODE)))
                          .arg(route.VIA_DIST));
    // Bravo stands at (20, 20): the list goes by item data, not by position.
    choose_vamp(QStringLiteral("Bravo"));
    EXPECT_EQ(city.state.db.SEL_VAMP, 3);
    EXPECT_EQ(row(3), QStringLiteral("|Juniper|30th|40"));
    EXPECT_EQ(row(0).section('|', 3), QStringLiteral("84"));
    f->close();

    // Without a current or chosen character every control does nothing.
    city.state.db.CUR_VAMP = 0;
    city.state.db.SEL_VAMP = 0;
    open();
    for (int i : {0, 1, 5, 14, 15})
        click(button(i));
    click("TILE(2)");
    click("imgDIST(2)");
    choose_vamp(QStringLiteral("Charlie"));
    EXPECT_EQ(row(3), QStringLiteral("|||"));
    click(button(2));
    EXPECT_EQ(dest(1), (Cell{40, 60}));
    EXPECT_TRUE(city.world.prompts.shown.empty());
}

TEST_F(FrmSetDestTest, ListsRefillWhenThePlannerComesBackFromAnotherWindowOnly) {
    open();
    auto activate = [](QWidget* w) {
        QApplication::setActiveWindow(w);
        pump();
    };
    activate(f.get());
    box("cboHALL")->setCurrentIndex(1);
    box("cboPUB")->showPopup();  // a list's drop-down is no other window
    pump();
    box("cboPUB")->hidePopup();
    activate(nullptr);  // another program
    activate(f.get());
    EXPECT_EQ(box("cboHALL")->currentIndex(), 1);
    QWidget other;  // a window of ours, as help is
    other.show();
    activate(&other);
    activate(f.get());
    EXPECT_EQ(box("cboHALL")->currentIndex(), 0);
}

TEST_F(FrmSetDestTest, CopyingBetweenCharactersOkWritesAndTheCloseBoxKeeps) {
    open();
    choose_vamp(QStringLiteral("Alpha"));
    click(button(14));  // GET DESTINATION
    EXPECT_EQ(dest(1), (Cell{7, 9}));
    EXPECT_EQ(tile(4), QStringLiteral("Beech && 5th"));
    click("TILE(1)");
    click(button(15));  // SET DESTINATION
    click(button(2));
    EXPECT_EQ(dest(1), (Cell{40, 60}));
    EXPECT_EQ(dest(2), (Cell{7, 8}));

    open();
    click("TILE(3)");
    f->close();  // the close box neither restores nor writes
    EXPECT_EQ(dest(1), (Cell{39, 60}));
    EXPECT_EQ(redraws, 2);

    open();
    click("TILE(5)");
    box("cboX")->setFocus();
    QTest::keyClick(box("cboX"), Qt::Key_Return);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(redraws, 3);
    EXPECT_EQ(vamp_on_disk(city.world.folder / "VAMP.dat", 1).DEST_X, 40);
    EXPECT_EQ(vamp_on_disk(city.world.folder / "VAMP.dat", 2).DEST_Y, 8);
}

TEST_F(FrmSetDestTest, TheVariableButtonsReachTheirWindowsAndHelpAsksForItsTopic) {
    open();
    windows.during_guilds = [this] {  // the guild moves while the update runs
        EXPECT_FALSE(f->isModal());
        city.place(20, 20, 0);
        city.place(60, 62, 105);
    };
    click("cmdVARCommand(0)");
    EXPECT_TRUE(f->isModal());
    box("cboGUILD")->setCurrentIndex(1);
    click(button(10));
    EXPECT_EQ(dest(1), (Cell{60, 62}));
    click("cmdVARCommand(1)");
    EXPECT_FALSE(f->isModal());
    click("cmdVARCommand(3)");
    EXPECT_EQ(tools, (std::vector<int16_t>{1, 0}));
    click("cmdVARCommand(2)");
    EXPECT_EQ(city.world.prompts.shown,
              (std::vector<ShownBox>{
                  {"Shops have not yet been implemented... Maybe next version... Maybe not...",
                   MsgButtons::OK, MsgIcon::Information, "... um... no..."}}));
    click(button(3));
    EXPECT_EQ(windows.calls, (QStringList{"INIT_GUILDS frmSET_DEST", "INIT_HELP 9 frmSET_DEST"}));
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(redraws, 0);
    f->show_modal();  // "Set Destination" again while it is open: the edit goes on
    EXPECT_TRUE(f->isModal());
    click(button(2));
    EXPECT_EQ(dest(1), (Cell{40, 60}));
}

}  // namespace
}  // namespace zeko::testing
