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

#include "main/ui/program_windows.h"
#include "main/ui/vb_widgets.h"
#include "support/qt/qt_support.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

using ui::FrmSetDest;
using ui::LabelBox;
using ui::PictureBox;
using ui::twips_rect;

// Records the windows the planner asks for, as "NAME argument".
class FakeWindows final : public ui::ProgramWindows {
  public:
    void INIT_HELP(int16_t topic, QWidget* owner) override {
        calls << QStringLiteral("INIT_HELP %1").arg(topic);
        owners.push_back(owner);
    }
    void INIT_GUILDS(QWidget* owner) override {
        calls << QStringLiteral("INIT_GUILDS");
        owners.push_back(owner);
        if (during_guilds) during_guilds();
    }
    // clang-format off
    void show_frmABOUT() override {} void show_frmSET_DEST() override {}
    void show_frmPICConfig() override {} void show_frmSHOPPING() override {}
    void show_frmSKILLS() override {} void show_frmEMOTICON() override {}
    void SNAPSHOT_BMP() override {} void UNLOAD_SPLASH() override {}
    void SNAPSHOT_HTML(const std::string&) override {}
    void SNAPSHOT_HTML_CSS(const std::string&) override {}
    // clang-format on

    QStringList calls;
    std::vector<QWidget*> owners;
    std::function<void()> during_guilds;
};

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
            city.stand(100, 100, n);
        }
        city.stand(20, 20, 3);
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
    QString text(const QString& name) { return find<QLabel>(name)->text(); }
    QString tile(int n) { return find<LabelBox>(QStringLiteral("TILE(%1)").arg(n))->caption(); }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    void open() {
        f->show_modal();
        pump();
    }
    // One row of the panel as "caption|X|Y|AP".
    QString row(int k) {
        const char* frames[5] = {"fraBANK", "fraPUB", "fraTRANSIT", "fraDEST", "fraDESTTRANS"};
        QStringList parts{find<ui::VbFrame>(QLatin1String(frames[k]))->title()};
        for (const char* l : {"lblX(%1)", "lblY(%1)", "lblAP(%1)"})
            parts << text(QString::fromLatin1(l).arg(k));
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

TEST_F(FrmSetDestTest, ControlsCaptionsAndTips) {
    open();
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Set Destination..."));
    EXPECT_TRUE(f->isModal());
    EXPECT_EQ(f->parentWidget(), &owner);
    struct Place {
        const char* name;
        QRect twips;
        const char* caption;  // of a button or label
    };
    const Place places[] = {
        {"TILE(5)", twips_rect(2460, 1260, 1200, 1200), nullptr},
        {"cmdCOMMAND(1)", twips_rect(60, 4080, 1155, 315), "O&K"},
        {"cmdCOMMAND(4)", twips_rect(3720, 60, 315, 4335), "&M\nO\nR\nE"},
        {"cmdCOMMAND(12)", twips_rect(2580, 1980, 495, 315), "GO"},
        {"cmdVARCommand(2)", twips_rect(60, 1080, 1485, 255), "Update Shops"},
        {"cmdCOMMAND(15)", twips_rect(9420, 4080, 1755, 315), "SET DESTINATION"},
    };
    for (const Place& p : places) {
        QWidget* w = find(QLatin1String(p.name));
        EXPECT_EQ(w->geometry(), p.twips) << p.name;
        const QVariant caption = w->property("text");
        if (p.caption) {
            EXPECT_EQ(caption.toString(), QString::fromUtf8(p.caption)) << p.name;
        }
    }
    EXPECT_TRUE(button(1)->isDefault());
    EXPECT_EQ(button(14)->toolTip(),
              QStringLiteral("This will retrieve the selected vampire's current location and "
                             "alter ter Set Destination minimap."));
    EXPECT_EQ(button(15)->toolTip(),
              QStringLiteral("This will set the selected vampire's current destiantion to the "
                             "one displayed on the minimap."));
    click(button(4));
    click(button(13));
    EXPECT_TRUE(f->grab().save(QStringLiteral(ZEKO_BUILD_DIR "/frm_set_dest.png")));
}

TEST_F(FrmSetDestTest, TheTwoTogglesWidenAndNarrowTheWindow) {
    open();
    // Each click: the button, the outer width after it, and the toggles' words (L LESS, M MORE).
    const std::tuple<int, int32_t, const char*> steps[] = {
        {4, 7710, "LM"}, {13, 11340, "LL"}, {4, 4170, "ML"}, {4, 11340, "LL"}, {13, 7710, "LM"}};
    auto word = [](char c) { return QLatin1String(c == 'L' ? "&L\nE\nS\nS" : "&M\nO\nR\nE"); };
    EXPECT_EQ(f->outer_width(), 4170);
    for (const auto& [index, width, words] : steps) {
        click(button(index));
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
        {"cboHALL", 9, "Great Hall", {30, 30}},
    };
    for (const auto& [name, go, item, to] : picks) {
        box(name)->setCurrentIndex(box(name)->findText(QLatin1String(item)));
        click(button(go));
        EXPECT_EQ(dest(2), to) << item;
    }
    EXPECT_EQ(tile(4), QStringLiteral("Great Hall"));
    box("cboPUB")->setCurrentIndex(0);  // the placeholder leads nowhere
    click(button(6));
    EXPECT_EQ(dest(2), (Cell{30, 30}));

    click(find(QStringLiteral("TILE(8)")));
    EXPECT_EQ(dest(2), (Cell{31, 31}));
    EXPECT_EQ(tile(4), QStringLiteral("Holly && 16th"));
    city.head_for(0, 0, 2);
    click(find(QStringLiteral("TILE(0)")));  // kept inside the city
    EXPECT_EQ(dest(2), (Cell{0, 0}));

    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(dest(2), (Cell{7, 9}));
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(std::filesystem::exists(city.world.folder / "VAMP.dat"));
}

TEST_F(FrmSetDestTest, ThePanelMeasuresFromTheChosenCharacterAtTheChosenRank) {
    open();
    EXPECT_EQ(city.state.db.SEL_VAMP, 1);  // nobody chosen yet: the current character
    EXPECT_EQ(row(0), QStringLiteral("Blood Bank|Amethyst|50th|2"));
    EXPECT_EQ(row(3), QStringLiteral("|Juniper|30th|60"));
    click(find(QStringLiteral("imgDIST(1)")));
    EXPECT_EQ(f->NEAREST_RANK, 2);
    EXPECT_EQ(find<PictureBox>(QStringLiteral("imgDIST(1)"))->picture(), 4);
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
}

TEST_F(FrmSetDestTest, ListsRefillWhenThePlannerComesBackFromAnotherWindowOnly) {
    open();
    QApplication::setActiveWindow(f.get());
    box("cboHALL")->setCurrentIndex(1);
    box("cboPUB")->showPopup();  // a list's drop-down is no other window
    pump();
    box("cboPUB")->hidePopup();
    QApplication::setActiveWindow(nullptr);  // another program
    pump();
    QApplication::setActiveWindow(f.get());
    pump();
    EXPECT_EQ(box("cboHALL")->currentIndex(), 1);
    QWidget other;  // a window of ours, as help is
    other.show();
    QApplication::setActiveWindow(&other);
    pump();
    QApplication::setActiveWindow(f.get());
    pump();
    EXPECT_EQ(box("cboHALL")->currentIndex(), 0);
}

TEST_F(FrmSetDestTest, CopyingBetweenCharactersOkWritesAndTheCloseBoxKeeps) {
    open();
    choose_vamp(QStringLiteral("Alpha"));
    click(button(14));  // GET DESTINATION
    EXPECT_EQ(dest(1), (Cell{7, 9}));
    EXPECT_EQ(tile(4), QStringLiteral("Beech && 5th"));
    click(find(QStringLiteral("TILE(1)")));
    click(button(15));  // SET DESTINATION
    click(button(2));
    EXPECT_EQ(dest(1), (Cell{40, 60}));
    EXPECT_EQ(dest(2), (Cell{7, 8}));

    open();
    click(find(QStringLiteral("TILE(3)")));
    f->close();  // the close box neither restores nor writes
    EXPECT_EQ(dest(1), (Cell{39, 60}));
    EXPECT_EQ(redraws, 2);

    open();
    click(find(QStringLiteral("TILE(5)")));
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
    click(find(QStringLiteral("cmdVARCommand(0)")));
    EXPECT_TRUE(f->isModal());
    box("cboGUILD")->setCurrentIndex(1);
    click(button(10));
    EXPECT_EQ(dest(1), (Cell{60, 62}));

    click(find(QStringLiteral("cmdVARCommand(1)")));
    EXPECT_FALSE(f->isModal());
    click(find(QStringLiteral("cmdVARCommand(3)")));
    EXPECT_EQ(tools, (std::vector<int16_t>{1, 0}));
    click(find(QStringLiteral("cmdVARCommand(2)")));
    EXPECT_EQ(city.world.prompts.shown,
              (std::vector<ShownBox>{{"Shops have not yet been implemented... Maybe next "
                                      "version... Maybe not...",
                                      MsgButtons::OK, MsgIcon::Information, "... um... no..."}}));
    click(button(3));
    EXPECT_EQ(windows.calls, (QStringList{"INIT_GUILDS", "INIT_HELP 9"}));
    EXPECT_EQ(windows.owners, (std::vector<QWidget*>{f.get(), f.get()}));
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(redraws, 0);

    f->show_modal();  // "Set Destination" again while it is open: the edit goes on
    EXPECT_TRUE(f->isModal());
    click(button(2));
    EXPECT_EQ(dest(1), (Cell{40, 60}));
}

TEST_F(FrmSetDestTest, WithoutACurrentOrChosenCharacterNothingFails) {
    city.state.db.SEL_VAMP = 9;  // gone since it was chosen: the current one stands in
    open();
    EXPECT_EQ(city.state.db.SEL_VAMP, 1);
    EXPECT_EQ(row(0), QStringLiteral("Blood Bank|Amethyst|50th|2"));
    f->close();

    city.state.db.CUR_VAMP = 0;
    city.state.db.SEL_VAMP = 0;
    open();
    for (int i : {0, 1, 5, 14, 15})
        click(button(i));
    click(find(QStringLiteral("TILE(2)")));
    click(find(QStringLiteral("imgDIST(2)")));
    choose_vamp(QStringLiteral("Charlie"));
    EXPECT_EQ(row(3), QStringLiteral("|||"));
    click(button(2));
    EXPECT_EQ(dest(1), (Cell{40, 60}));
    EXPECT_TRUE(city.world.prompts.shown.empty());
}

}  // namespace
}  // namespace zeko::testing
