#include "main/ui/frm_main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <map>

#include "common/errors.h"
#include "main/tracking.h"
#include "main/ui/frm_layout.h"
#include "main/ui/menu_bar.h"
#include "main/ui/page_tracking.h"
#include "main/ui/vb_widgets.h"
#include "main/ui/version_text.h"
#include "ui_world.h"

namespace zeko::testing {
namespace {

using ui::FrmMain;
using ui::LineShape;
using ui::PictureBox;
using ui::px;

class FrmMainTest : public ::testing::Test {
  protected:
    FrmMainTest() {
        w.add_vamp("Alpha", 101, 101);
        w.start();
    }

    // Zoom and tile style as the settings give them, then a redraw.
    void view(int16_t zoom, bool pictures) {
        w.settings().ZOOM = zoom;
        w.settings().TILE_IMAGES = pictures ? kTrue : kFalse;
        w.main().APPLY_SETTINGS();
        w.main().BUILD_MAP();
    }
    void stand(int16_t x, int16_t y) {
        w.me().POS_X = x;
        w.me().POS_Y = y;
        w.main().BUILD_MAP();
    }
    QWidget* at(const char* name) { return w.find(QLatin1String(name)); }
    QAction* action(const char* name) { return w.find<QAction>(QLatin1String(name)); }
    ui::LabelBox* tile(int n) { return w.find<ui::LabelBox>("TILE", n); }
    PictureBox* picture(int n) { return w.find<PictureBox>("imgTILE", n); }
    // A tile as the player sees it: its picture or ground colour, its text and tool tip.
    QString look(int n) {
        const QString ground = picture(n)->isVisible() ? QString::number(picture(n)->picture())
                                                       : tile(n)->back_color().name();
        return ground + '|' + tile(n)->shown_text() + '|' + tile(n)->toolTip();
    }
    QString pictures(std::initializer_list<int> tiles) {
        QStringList numbers;
        for (int n : tiles)
            numbers.append(QString::number(picture(n)->picture()));
        return numbers.join(' ');
    }
    bool centre_at(const char* where) { return tile(4)->toolTip().endsWith(QLatin1String(where)); }

    UiWorld w;
};

TEST_F(FrmMainTest, ControlsCarryTheirNamesPlacesAndTexts) {
    FrmMain& m = w.main();
    EXPECT_EQ(m.windowTitle(), QString::fromUtf8("Zekorama\xC2\xB2 Version ") +
                                   QLatin1String(ZEKO_VERSION) + QStringLiteral("..."));
    EXPECT_EQ(ui::version_text("01.2.30"), "1.2.30");
    EXPECT_EQ(ui::version_text("4"), "4.0.0");
    for (int n = 0; n <= 120; ++n)
        ASSERT_TRUE(picture(n) && tile(n)->parentWidget() == at("fraMAP")) << n;

    // A sample of each panel: design places in twips at 15 per pixel, inside their frames.
    QWidget* client = m.centralWidget();
    const std::pair<QWidget*, QRect> places[] = {
        {at("cboY"), QRect(82, 0, 77, 21)},
        {w.find("cmdCOMMAND", 8), QRect(164, 80, 77, 25)},
        {w.find("cmdVAMP", 1), QRect(84, 15, 77, 17)},
        {at("fraDESTTRANS"), QRect(0, 96, 196, 25)},
        {w.find("lblAP", 4), QRect(152, 9, 21, 15)},
        {w.find("tbBUTTON", 7), QRect(244, 0, 32, 32)},
        // The game browser fills the window right of the column and below the toolbar.
        {at("wb"), QRect(240, 35, client->width() - 240, client->height() - 35)}};
    for (const auto& [widget, place] : places)
        EXPECT_EQ(widget->geometry(), place) << widget->objectName().toStdString();
    EXPECT_TRUE(at("wb2")->isHidden());
    EXPECT_EQ(w.find<QPushButton>("cmdCOMMAND", 9)->text(), QStringLiteral("GO"));
    EXPECT_EQ(w.find<QPushButton>("cmdVAMP", 2)->text(), QStringLiteral("Delete Vamp"));
    EXPECT_EQ(client->palette().color(QPalette::Window), QColor(0, 48, 0));

    auto* cboX = w.find<QComboBox>(QStringLiteral("cboX"));
    auto* cboY = w.find<QComboBox>(QStringLiteral("cboY"));
    EXPECT_EQ(cboX->count(), 101);
    ASSERT_EQ(cboY->count(), 101);
    EXPECT_EQ(
        (QStringList{cboX->itemText(0), cboX->itemText(1), cboY->itemText(0), cboY->itemText(100)}),
        (QStringList{"WCL", "Aardvark", "NCL", "100th"}));
}

TEST_F(FrmMainTest, MenuTreeFollowsItsTable) {
    // Each entry lies in its parent menu in the table's order, with its caption, keys and
    // visibility; the arrays count their entries in their names.
    std::map<QString, int> next_index;
    std::map<QWidget*, int> next_place;
    using E = ui::MenuEntry;
    for (const E& e : ui::main_menu_table()) {
        const QString name = e.flags & E::kNamed
                                 ? QString::fromLatin1(e.name)
                                 : QStringLiteral("%1(%2)").arg(e.name).arg(next_index[e.name]++);
        QWidget* parent =
            *e.parent ? static_cast<QWidget*>(w.find<QMenu>(e.parent)) : w.main().menuBar();
        QAction* a = action(name.toLatin1().constData());
        ASSERT_TRUE(a && parent) << name.toStdString();
        EXPECT_EQ(parent->actions().value(next_place[parent]++), a) << name.toStdString();
        const QString caption = QString::fromUtf8(e.caption);
        EXPECT_EQ(a->isSeparator() ? QStringLiteral("-") : a->text(), caption);
        EXPECT_EQ(a->shortcut(), QKeySequence(QLatin1String(e.keys))) << name.toStdString();
        EXPECT_EQ(a->isVisible(), !(e.flags & E::kHidden)) << name.toStdString();
        EXPECT_EQ(a->menu() != nullptr, (e.flags & E::kMenu) != 0) << name.toStdString();
    }
    // The default settings tick every Auto-Nav, line and option item, and the zoom of 3.
    QString ticked;
    for (const char* menu : {"mnuZoomData", "mnuNavData", "mnuAutoNavData", "mnuOptData"})
        for (int i = 0; i < 5; ++i)
            if (QAction* a = w.find<QAction>(menu, i)) ticked += a->isChecked() ? '1' : '0';
    EXPECT_EQ(ticked,
              "10000"
              "1111"
              "11"
              "0011");
}

TEST_F(FrmMainTest, FirstPageIsPaintedThenTheWelcomePageFollows) {
    FakeBrowser& wb = w.wb();
    EXPECT_TRUE(wb.silent);
    ASSERT_EQ(wb.navigations.size(), 1u);
    EXPECT_EQ(wb.navigations[0].url, QStringLiteral("about:blank"));
    wb.calls.clear();
    wb.completeNavigation();
    EXPECT_TRUE(w.main().FIRST_PAGE_DONE);
    const QString welcome = QString::fromStdString(GAME_URL() + "?action=welcome");
    EXPECT_TRUE(welcome.endsWith(QStringLiteral("/blood.pl?action=welcome")));
    EXPECT_EQ(wb.calls.mid(0, 4),
              (QStringList{"setBodyBgColor 3000", "setBodyTextColor 80ff80",
                           "writeBodyInnerHtml Loading...", "Navigate2 " + welcome}));

    // Later pages are not touched again, only their ground colour.
    wb.calls.clear();
    wb.completeNavigation();
    EXPECT_EQ(wb.navigations.size(), 2u);
    EXPECT_EQ(wb.calls.filter("Loading...").size(), 0);
    EXPECT_TRUE(wb.calls.contains(QStringLiteral("setBodyBgColor 3000")));
    EXPECT_TRUE(w.wb2().navigations.empty());
}

TEST_F(FrmMainTest, TilesAtTheCityEdgesInColour) {
    w.world.random.values = {0.5f};
    view(3, false);
    stand(0, 0);
    // The city limit over the crossing green, a plain block, a street piece and the first
    // crossing, its "&&" shown as one ampersand.
    EXPECT_TRUE(tile(0)->opaque());
    EXPECT_EQ(look(0), "#000080|City Limit|City Limit (X: -1  Y: -1)");
    EXPECT_EQ(look(4), "#000000|| (X:  0  Y:  0)");
    EXPECT_TRUE(look(5).startsWith("#808080|"));
    EXPECT_EQ(look(8), "#008000|Aardvark & 1st|Aardvark and 1st (X:  1  Y:  1)");
    EXPECT_EQ(tile(8)->caption(), QStringLiteral("Aardvark && 1st"));
    EXPECT_TRUE(tile(8)->border());
    EXPECT_EQ(tile(8)->geometry(), QRect(160, 160, 80, 80));
    EXPECT_TRUE(tile(9)->isHidden());

    // Zoom 5 reaches beyond the limit: "The Wastes" on a random brown.
    view(5, false);
    stand(0, 0);
    EXPECT_EQ(look(0), "#603010|The Wastes|The Wastes");
    EXPECT_EQ(tile(24)->geometry(), QRect(192, 192, 48, 48));

    // The south-east corner and a hall.
    view(3, false);
    stand(199, 199);
    EXPECT_EQ(look(8), "#000080|City Limit|City Limit (X:  200  Y:  200)");
    stand(2, 2);
    EXPECT_TRUE(look(4).startsWith("#51007f|Great Hall|"));
}

TEST_F(FrmMainTest, TilesAtTheCityEdgesInPictures) {
    view(3, true);
    stand(0, 0);
    EXPECT_FALSE(tile(0)->opaque());
    EXPECT_EQ(look(0), "19|City Limit|City Limit...");
    EXPECT_EQ(pictures({1, 3, 4, 8}), "20 26 8 1");
    EXPECT_EQ(tile(8)->shown_text(), QStringLiteral("Aardvark & 1st"));
    EXPECT_EQ(picture(4)->geometry(), tile(4)->geometry());
    EXPECT_EQ(picture(4)->pixmap().size(), QSize(80, 80));
    // The pictures lie behind the labels.
    const QObjectList& children = at("fraMAP")->children();
    EXPECT_LT(children.indexOf(picture(120)), children.indexOf(tile(0)));
    stand(199, 199);
    EXPECT_EQ(pictures({2, 6, 8}), "22 24 23");

    // The guild keeps its name; a shop shows none but names itself in the tooltip.
    stand(198, 2);
    EXPECT_EQ(picture(4)->picture(), 18);
    EXPECT_FALSE(tile(4)->shown_text().isEmpty());
    stand(4, 198);
    EXPECT_TRUE(look(4).startsWith("8||"));
    EXPECT_TRUE(look(4).endsWith(" (X:  4  Y:  198)"));
    EXPECT_FALSE(tile(4)->toolTip().startsWith(" ("));

    // Outside the city at zoom 5; no borders at zoom 9; always colour at zoom 11.
    view(5, true);
    stand(0, 0);
    EXPECT_EQ(look(0), "27|The Wastes|City Limit...");
    view(9, true);
    EXPECT_TRUE(picture(4)->border() == false && tile(4)->border() == false);
    EXPECT_TRUE(picture(80)->isVisible());
    view(11, true);
    for (int n = 0; n <= 120; ++n)
        ASSERT_TRUE(picture(n)->isHidden() && tile(n)->opaque() && tile(n)->isVisible()) << n;
    // Tiles that touch in twips touch on the screen.
    EXPECT_EQ(tile(1)->x(), tile(0)->x() + tile(0)->width());
    EXPECT_EQ(tile(120)->geometry().bottomRight(), QPoint(px(3597) - 1, px(3597) - 1));
}

TEST_F(FrmMainTest, PanelRowsAndStreetBoxesShowTheNearestPlaces) {
    stand(96, 100);
    QStringList shown;
    for (const char* name : {"fraBANK", "fraPUB", "fraTRANSIT", "fraDEST", "fraDESTTRANS"})
        shown.append(w.find<ui::VbFrame>(QLatin1String(name))->title());
    for (int i = 0; i < 4; ++i)
        shown.append(w.find<QLabel>("lblAP", i)->text());
    // No destination set: (0, 0), a plain block.
    EXPECT_EQ(shown, (QStringList{"Moon Bank", "The Test Pub", "Calliope Station", "Destination",
                                  "Calliope Station to Calliope Station", "6", "6", "10", "100"}));
    EXPECT_EQ(w.find<QLabel>("lblX", 0)->text().toStdString(), w.state->map.COORD_NAME_X(102));
    EXPECT_EQ(w.find<QLabel>("lblY", 0)->text().toStdString(), w.state->map.COORD_NAME_Y(100));
    EXPECT_EQ(w.find<QLabel>("lblX", 3)->text(), QStringLiteral("WCL"));
    auto* cboX = w.find<QComboBox>(QStringLiteral("cboX"));
    auto* cboY = w.find<QComboBox>(QStringLiteral("cboY"));
    EXPECT_EQ(std::make_pair(cboX->currentIndex(), cboY->currentIndex()), std::make_pair(48, 50));
    stand(199, 0);
    EXPECT_EQ(std::make_pair(cboX->currentIndex(), cboY->currentIndex()), std::make_pair(100, 0));
}

TEST_F(FrmMainTest, LinesEndWhereTheirZoomPutsThem) {
    w.me().DEST_X = 141;
    w.me().DEST_Y = 101;
    auto* bank = w.find<LineShape>(QStringLiteral("BANK1"));
    auto* dest = w.find<LineShape>(QStringLiteral("DEST1"));
    // The bank lies one cell east and one north of (101, 101).
    const std::pair<int16_t, QPoint> bank_ends[] = {{3, QPoint(px(3000), px(600))},
                                                    {5, QPoint(px(2520), px(1080))},
                                                    {7, QPoint(px(2314), px(1286))},
                                                    {9, QPoint(px(2200), px(1400))},
                                                    {11, QPoint(px(2126), px(1474))}};
    for (const auto& [zoom, end] : bank_ends) {
        view(zoom, zoom != 11);
        stand(101, 101);
        EXPECT_EQ(bank->p1(), QPoint(120, 120)) << zoom;
        EXPECT_EQ(bank->p2(), end) << zoom;
        EXPECT_TRUE(bank->geometry().contains(bank->p2())) << zoom;
        EXPECT_EQ(dest->p2(), QPoint(240, 120)) << zoom;
    }
    EXPECT_EQ(w.find<LineShape>(QStringLiteral("PUB1"))->p2(), QPoint(px(170), px(3430)));
    EXPECT_EQ(w.find<LineShape>(QStringLiteral("TRANS1"))->p2(), QPoint(px(3430), px(3430)));
    EXPECT_TRUE(dest->isVisible());

    // Drawn over both tile styles: a point on the bank line is blue.
    for (bool pictures : {false, true}) {
        view(3, pictures);
        stand(101, 101);
        EXPECT_EQ(at("fraMAP")->grab().toImage().pixelColor(140, 100), QColor(0, 0, 255));
    }

    // A line whose menu item is unticked stays hidden but follows its target.
    w.settings().NAVLINE_DEST = kFalse;
    w.main().APPLY_SETTINGS();
    w.me().DEST_X = 61;
    w.main().BUILD_MAP();
    EXPECT_FALSE(dest->isVisible());
    EXPECT_EQ(dest->p2(), QPoint(0, 120));
    // A click on a line reaches the tile below it (the north-east one).
    FrmMain& m = w.main();
    QTest::mouseClick(m.windowHandle(), Qt::LeftButton, {},
                      at("fraMAP")->mapTo(&m, QPoint(170, 70)));
    EXPECT_TRUE(w.me().POS_X == 102 && w.me().POS_Y == 100);
}

TEST_F(FrmMainTest, ResizeKeepsTheSmallestSizeAndSavesThePlacement) {
    FrmMain& m = w.main();
    const auto placement = [&] {
        const SETTINGS_REC disk = w.settings_on_disk();
        return std::array<int, 5>{disk.WIN_LEFT, disk.WIN_TOP, disk.WIN_WIDTH, disk.WIN_HEIGHT,
                                  disk.WIN_STATE};
    };
    std::filesystem::remove(w.settings_file());
    m.resize(500, 400);
    pump();
    EXPECT_EQ(m.size(), QSize(800, 600));
    EXPECT_EQ(placement(), (std::array<int, 5>{m.x() * 15, m.y() * 15, 12000, 9000, 0}));
    m.resize(900, 700);
    pump();
    const std::array<int, 5> normal{m.x() * 15, m.y() * 15, 13500, 10500, 0};
    EXPECT_EQ(placement(), normal);

    // Maximised: only the state is saved. Restored: back at the placement saved before.
    m.showMaximized();
    pump();
    EXPECT_EQ(placement(), (std::array<int, 5>{normal[0], normal[1], 13500, 10500, 2}));
    m.showNormal();
    pump();
    EXPECT_EQ(m.size(), QSize(900, 700));
    EXPECT_EQ(placement(), normal);
    // Minimised: nothing is saved.
    std::filesystem::remove(w.settings_file());
    m.showMinimized();
    pump();
    EXPECT_FALSE(std::filesystem::exists(w.settings_file()));
    m.showNormal();
    pump();

    // A move is kept in memory, so applying the settings leaves the window where it is; the
    // stored size wins.
    m.move(40, 50);
    pump();
    EXPECT_TRUE(w.settings().WIN_LEFT == 600 && w.settings().WIN_TOP == 750);
    w.settings().WIN_WIDTH = 12750;
    w.settings().WIN_HEIGHT = 9750;
    m.APPLY_SETTINGS();
    pump();
    EXPECT_EQ(m.pos(), QPoint(40, 50));
    EXPECT_EQ(m.size(), QSize(850, 650));
}

TEST_F(FrmMainTest, LayoutsPlaceThePanelsAndTheListTakesTheExtraHeight) {
    FrmMain& m = w.main();
    const std::array<int, 5> tops[4] = {{0, 3640, 5272, 5980, 6500},
                                        {1680, 40, 5272, 5980, 6500},
                                        {1860, 5500, 7132, 7840, -40},
                                        {3540, 1900, 7132, 7840, -40}};
    // The panels' tops, and the list's bottom.
    const auto placed = [&] {
        return std::array<int, 6>{at("fraMAP")->y(),  at("fraBUTTONS")->y(),
                                  at("lstVAMP")->y(), at("fraVAMP_BUTTONS")->y(),
                                  at("fraINFO")->y(), at("lstVAMP")->geometry().bottom()};
    };
    // The list takes the height beyond the design's; the panels below it follow.
    const auto expected = [&](const std::array<int, 5>& t, bool info_follows) {
        const int extra = std::max(0, m.centralWidget()->height() * 15 - 8310);
        return std::array<int, 6>{px(t[0]),
                                  px(t[1]),
                                  px(t[2]),
                                  px(t[3] + extra),
                                  px(info_follows ? t[4] + extra : t[4]),
                                  px(t[2] + 705 + extra) - 1};
    };
    for (int16_t layout = 0; layout < 4; ++layout) {
        w.settings().LAYOUT = layout;
        w.ui->FORCE_LAYOUT(layout);
        EXPECT_EQ(placed(), expected(tops[layout], layout < 2)) << layout;
    }
    // The list stretches with the window.
    w.settings().LAYOUT = 0;
    w.ui->FORCE_LAYOUT(0);
    m.resize(800, 700);
    pump();
    ASSERT_GT(m.centralWidget()->height() * 15, 8310);
    EXPECT_EQ(placed(), expected(tops[0], true));

    // Layout 4 places like layout 0 but does not stretch; 8 is no layout at all.
    w.ui->FORCE_LAYOUT(4);
    EXPECT_EQ(w.settings().LAYOUT_POS[8], 6500);
    w.settings().LAYOUT = 4;
    m.APPLY_LAYOUT();
    EXPECT_EQ(placed()[4], px(6500));
    EXPECT_THROW(w.ui->FORCE_LAYOUT(8), RuntimeError);
}

TEST(FrmMainList, EntriesAreSortedAndGoByTheirRecord) {
    UiWorld w;
    w.add_vamp("BRAVO", 10, 10);
    w.add_vamp("ALPHA", 20, 20);
    w.start();
    QListWidget* list = w.main().lstVAMP();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text().trimmed(), QStringLiteral("ALPHA"));
    // The start makes the first entry's character current.
    EXPECT_EQ(w.me().handle(), "ALPHA");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(w.me().handle(), "BRAVO");
}

TEST(FrmMainList, ClickSavesBothFilesAndTakesTheCharacterFromItemData) {
    UiWorld w;
    w.add_vamp("Alpha", 10, 10);
    w.add_vamp("Beta", 50, 50, true);
    w.start();
    QListWidget* list = w.main().lstVAMP();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(w.state->db.CUR_VAMP, 1);
    const QString login = QStringLiteral("LOGIN_CURRENT");
    EXPECT_FALSE(w.workers.calls.contains(login));

    std::filesystem::remove(w.settings_file());
    std::filesystem::remove(w.vamp_file());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_TRUE(std::filesystem::exists(w.settings_file()));
    EXPECT_TRUE(std::filesystem::exists(w.vamp_file()));
    EXPECT_EQ(w.state->db.CUR_VAMP, 2);
    // Beta logs in automatically, with the close question held back meanwhile.
    EXPECT_EQ(w.workers.calls.count(login), 1);
    EXPECT_TRUE(w.workers.quiet.back());
    EXPECT_FALSE(w.main().NO_EXIT_PROMPT);
    EXPECT_TRUE(w.find("TILE", 4)->toolTip().endsWith("(X:  50  Y:  50)"));

    // The entry's item data names the record, whatever its place in the list.
    list->item(0)->setData(Qt::UserRole, 2);
    list->setCurrentRow(0);
    EXPECT_EQ(w.state->db.CUR_VAMP, 2);

    // Without the window's auto-login box nobody logs in.
    w.workers.calls.clear();
    auto* box = w.find<QCheckBox>(QStringLiteral("chkAUTOLOGIN"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(w.settings_on_disk().AUTOLOGIN_ENABLED, kFalse);
    EXPECT_TRUE(w.wb().calls.contains(QStringLiteral("setFocus")));
    list->setCurrentRow(1);
    EXPECT_FALSE(w.workers.calls.contains(login));
}

TEST_F(FrmMainTest, ClosingAsksOnceAndNoKeepsEverythingRunning) {
    FrmMain& m = w.main();
    std::filesystem::remove(w.settings_file());
    std::filesystem::remove(w.vamp_file());
    w.world.prompts.answer(MsgResult::No);
    EXPECT_FALSE(m.close());
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(w.world.prompts.shown,
              (std::vector<ShownBox>{{"Are you sure you want to quit..?", MsgButtons::YesNo,
                                      MsgIcon::Question, "Just thought I'd ask..."}}));
    EXPECT_TRUE(std::filesystem::exists(w.settings_file()));
    EXPECT_TRUE(std::filesystem::exists(w.vamp_file()));
    EXPECT_EQ(w.quits, 0);

    w.world.prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(m.close());
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(w.world.prompts.shown.size(), 2u);
    EXPECT_EQ(w.quits, 1);
    EXPECT_FALSE(m.tracking().tmrRIP()->isActive());
}

TEST_F(FrmMainTest, ClicksReachTheirWorkersAndHandlers) {
    RecordingWorkers& rec = w.workers;
    FakeBrowser& wb = w.wb();
    // Each item reaches its worker, leaving the check marks to the program; the File menu
    // holds the close question back while its worker runs.
    const std::pair<const char*, const char*> items[] = {
        {"mnuFileData(6)", "MENU_FILE 6"},   {"mnuNavData(0)", "MENU_NAVLINES 0"},
        {"mnuZoomData(4)", "MENU_ZOOM 4"},   {"mnuAutoNavData(1)", "MENU_AUTONAV 1"},
        {"mnuVampData(2)", "MENU_VAMP 2"},   {"mnuOptData(2)", "MENU_OPTIONS 2"},
        {"mnuToolsData(3)", "MENU_TOOLS 3"}, {"mnuSkillsData(1)", "MENU_SKILLS 1"},
        {"mnuLinksData(0)", "MENU_LINKS 0"}, {"mnuHelpData(2)", "MENU_HELP 2"}};
    for (const auto& [name, call] : items) {
        rec.calls.clear();
        const bool ticked = action(name)->isChecked();
        action(name)->trigger();
        EXPECT_EQ(rec.calls, QStringList{call});
        EXPECT_EQ(action(name)->isChecked(), ticked) << name;
        EXPECT_EQ(rec.quiet.back(), rec.calls[0] == "MENU_FILE 6") << name;
    }
    rec.calls.clear();
    QMetaObject::invokeMethod(w.find<QMenu>(QStringLiteral("mnuOptData(0)")), "aboutToShow");
    QTest::mouseClick(w.find("cmdCOMMAND", 5), Qt::LeftButton);
    QTest::mouseClick(w.find("cmdVAMP", 2), Qt::LeftButton);
    EXPECT_EQ(rec.calls, (QStringList{"MENU_OPTIONS 0", "BUTTON_COMMAND 5", "BUTTON_VAMP 2"}));

    // "ToolBar?" is the window's own: in memory only.
    std::filesystem::remove(w.settings_file());
    action("mnuOptData(3)")->trigger();
    EXPECT_FALSE(action("mnuOptData(3)")->isChecked());
    EXPECT_TRUE(at("fraTOOLBAR")->isHidden());
    EXPECT_EQ(at("wb")->geometry().adjusted(-240, 0, 0, 0), w.main().centralWidget()->rect());
    EXPECT_FALSE(std::filesystem::exists(w.settings_file()));
    action("mnuOptData(3)")->trigger();
    EXPECT_EQ(at("wb")->y(), 35);

    // The hidden browser menu and the toolbar's first four drive the game browser; the other
    // four are the File menu's screen-shot commands, with a pressed look while down.
    wb.calls.clear();
    rec.calls.clear();
    for (int i = 0; i < 3; ++i)
        w.find<QAction>("mnuWBdata", i)->trigger();
    auto* shot = w.find<PictureBox>("tbBUTTON", 4);
    QTest::mousePress(shot, Qt::LeftButton);
    EXPECT_EQ(shot->picture(), 13);
    QTest::mouseRelease(shot, Qt::LeftButton);
    EXPECT_EQ(shot->picture(), 5);
    EXPECT_TRUE(rec.quiet.back());
    for (int i : {0, 1, 2, 3, 5, 6, 7})
        QTest::mouseClick(w.find("tbBUTTON", i), Qt::LeftButton);
    EXPECT_EQ(wb.calls, (QStringList{"GoBack", "GoForward", "Refresh2", "GoBack", "GoForward",
                                     "Refresh", "Stop"}));
    EXPECT_EQ(rec.calls, (QStringList{"MENU_FILE 0", "MENU_FILE 1", "MENU_FILE 3", "MENU_FILE 4"}));

    // The choice pictures; a tile click moves the character to that tile's cell.
    QTest::mouseClick(w.find("imgDIST", 2), Qt::LeftButton);
    EXPECT_EQ(w.state->NAV_CHOICE, 2);
    EXPECT_EQ(w.find<PictureBox>("imgDIST", 2)->picture(), 5);
    view(5, true);
    QTest::mouseClick(tile(0), Qt::LeftButton);
    EXPECT_TRUE(w.me().POS_X == 99 && w.me().POS_Y == 99);

    // The snap-shot timer fires once; the window's first activation closes the splash.
    w.main().set_pic_interval(500);
    w.windows.calls.clear();
    fire(w.find<QTimer>(QStringLiteral("tmrPIC")));
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&w.main(), &activate);
    EXPECT_FALSE(w.find<QTimer>(QStringLiteral("tmrPIC"))->isActive());
    EXPECT_EQ(w.windows.calls, QStringList{"SNAPSHOT_BMP"});
    EXPECT_EQ(w.windows.splash_unloads, 2);
}

TEST(FrmMainStart, FirstRunMakesTheDefaultCharacterAndShowsTheWindow) {
    UiWorld w;
    w.start();
    EXPECT_EQ(w.world.new_vamp.shown, 1);
    QListWidget* list = w.main().lstVAMP();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().trimmed(), QStringLiteral("VirtuaVAMP"));
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_TRUE(w.main().isVisible());
    EXPECT_EQ(w.state->db.vamp_list, &w.main().vamp_list());
}

TEST_F(FrmMainTest, MarksShowOnlyWhenTicked) {
    // Beside "Graphical Map?" lies, unticked, what lies beside "&Form Layout", which never
    // carries a mark.
    auto* options = w.find<QMenu>(QStringLiteral("mnuOptions"));
    options->adjustSize();
    const auto beside = [&](const char* name) {
        const QRect item = options->actionGeometry(action(name));
        return options->grab().toImage().copy(item.x(), item.y(), item.height(), item.height());
    };
    for (VbBool ticked : {kFalse, kTrue}) {
        w.settings().TILE_IMAGES = ticked;
        w.main().APPLY_SETTINGS();
        EXPECT_EQ(beside("mnuOptData(2)") == beside("mnuOptData(1)"), ticked == kFalse);
    }
}

TEST_F(FrmMainTest, ComingBackFromAnotherApplicationIsNoActivation) {
    QApplication::setActiveWindow(&w.main());
    const int unloads = w.windows.splash_unloads;
    leave_and_come_back(&w.main());
    EXPECT_EQ(w.windows.splash_unloads, unloads);
    // From another of the program's windows it is.
    w.ui->frmLAYOUT().show();
    QApplication::setActiveWindow(&w.ui->frmLAYOUT());
    w.ui->frmLAYOUT().close();
    QApplication::setActiveWindow(&w.main());
    EXPECT_EQ(w.windows.splash_unloads, unloads + 1);
}

TEST_F(FrmMainTest, LooksRight) {
    // Pictures of the window in both tile styles for a person to look at.
    w.main().resize(1000, 640);
    for (bool pictures : {true, false}) {
        view(pictures ? 3 : 11, pictures);
        stand(96, 100);
        pump();
        const char* file = pictures ? "/frm_main_pictures.png" : "/frm_main_colours.png";
        EXPECT_TRUE(w.main().grab().save(QStringLiteral(ZEKO_BUILD_DIR) + QLatin1String(file)));
    }
}

}  // namespace
}  // namespace zeko::testing
