#include "main/ui/frm_main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "main/ui/frm_layout.h"
#include "main/ui/page_tracking.h"
#include "ui_world.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

using ui::FrmMain;
using ui::PictureBox;
using ui::px;

class FrmMainTest : public ::testing::Test {
  protected:
    FrmMainTest() {
        w.add_vamp("Alpha", 101, 101);
        w.start();
    }

    // Zoom and tile style as the settings give them, standing at (x, y).
    void view(int zoom, bool pictures, int x, int y) {
        w.settings().ZOOM = static_cast<int16_t>(zoom);
        w.settings().TILE_IMAGES = pictures ? kTrue : kFalse;
        w.main().APPLY_SETTINGS();
        w.me().POS_X = static_cast<int16_t>(x);
        w.me().POS_Y = static_cast<int16_t>(y);
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
    std::pair<int, int> me() { return {w.me().POS_X, w.me().POS_Y}; }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void click(const char* name, int index) { click(w.find(name, index)); }

    UiWorld w;
};

TEST_F(FrmMainTest, TitleMenusAndButtonPlaces) {
    EXPECT_EQ(w.main().windowTitle(), QString::fromUtf8("Zekorama\xC2\xB2 Version ") +
                                          QLatin1String(ZEKO_VERSION) + QStringLiteral("..."));
    // The command buttons count down the columns; the browser fills the rest of the window.
    QWidget* client = w.main().centralWidget();
    EXPECT_EQ(w.find("cmdCOMMAND", 1)->geometry(), QRect(82, 24, 77, 25));
    EXPECT_EQ(w.find("cmdCOMMAND", 5)->geometry(), QRect(164, 52, 77, 25));
    EXPECT_EQ(at("wb")->geometry(), QRect(240, 35, client->width() - 240, client->height() - 35));
    EXPECT_TRUE(at("wb2")->isHidden());
    // The menus in order, and a sample of items: caption, keys, hidden or not; separators count.
    QStringList shown;
    for (QAction* a : w.main().menuBar()->actions())
        shown << a->text();
    for (const char* name : {"mnuFileData(3)", "mnuZoomData(1)", "mnuOptData(0)", "mnuToolsData(5)",
                             "mnuLinksData(0)", "mnuHelpData(2)"}) {
        QAction* a = action(name);
        shown << a->text() + '|' + a->shortcut().toString() + (a->isVisible() ? "" : "|hidden");
    }
    EXPECT_EQ(shown,
              (QStringList{
                  "&File", "&Vampire", "&Options", "&Tools", "&Skills", "&Links", "&Help",
                  "&HTML && CSS Dump|Ctrl+S", "5x5|F5", "&Auto-Nav|", "Browser Navigation||hidden",
                  QString::fromUtf8("&Official Z.E.K.O.\xC2\xB2 Home Page|"), "&Contents|F1"}));
}

TEST_F(FrmMainTest, FirstPageIsPaintedThenTheWelcomePageFollows) {
    FakeBrowser& wb = w.wb();
    EXPECT_TRUE(wb.silent);
    const QString welcome = QString::fromStdString(GAME_URL() + "?action=welcome");
    // Later pages are not touched again, only their ground colour.
    for (const QStringList& calls : {QStringList{"setBodyBgColor 3000", "setBodyTextColor 80ff80",
                                                 "writeBodyInnerHtml Loading...",
                                                 "Navigate2 " + welcome, "setBodyBgColor 3000"},
                                     QStringList{"setBodyBgColor 3000"}}) {
        wb.calls.clear();
        wb.completeNavigation();
        EXPECT_EQ(wb.calls, calls);
    }
    EXPECT_TRUE(w.wb(1).navigations.empty());
}

TEST_F(FrmMainTest, TilesShowTheCityAndWhatLiesBeyond) {
    // "&&" shown as one ampersand; pictures with a guild that keeps its name and a shop named
    // in the tooltip only; colour at 11 whatever the style.
    struct Case {
        int zoom;
        bool pictures;
        int x, y, tile;
        const char* look;
    };
    const Case cases[] = {
        {3, false, 0, 0, 8, "#008000|Aardvark & 1st|Aardvark and 1st (X:  1  Y:  1)"},
        {3, true, 0, 0, 8, "1|Aardvark & 1st| (X:  1  Y:  1)"},
        {3, true, 198, 2, 4, "18|Allurists: 1|Allurists: 1 (X:  198  Y:  2)"},
        {3, true, 4, 198, 4, "8||Discount Magic (X:  4  Y:  198)"},
        {11, true, 0, 0, 60, "#000000|| (X:  0  Y:  0)"},
    };
    for (const Case& c : cases) {
        view(c.zoom, c.pictures, c.x, c.y);
        EXPECT_EQ(look(c.tile), QString::fromUtf8(c.look)) << c.zoom << " " << c.x << " " << c.y;
    }
}

TEST_F(FrmMainTest, PanelsShowTheNearestPlacesAndLinesFollowTheirTargets) {
    view(3, true, 96, 100);
    QStringList shown;
    for (const char* name : {"fraBANK", "fraPUB", "fraTRANSIT", "fraDEST", "fraDESTTRANS"})
        shown.append(w.find<ui::VbFrame>(QLatin1String(name))->title());
    for (int i = 0; i < 4; ++i)
        shown.append(w.find<QLabel>("lblAP", i)->text());
    shown << w.find<QLabel>("lblX", 3)->text();
    // No destination set: (0, 0), a plain block.
    EXPECT_EQ(shown,
              (QStringList{"Moon Bank", "The Test Pub", "Calliope Station", "Destination",
                           "Calliope Station to Calliope Station", "6", "6", "10", "100", "WCL"}));

    // Lines are drawn over the tiles; one whose menu item is unticked stays hidden but
    // follows its target.
    w.me().DEST_X = 141;
    w.me().DEST_Y = 101;
    auto* dest = w.find<ui::LineShape>(QStringLiteral("DEST1"));
    view(3, true, 101, 101);
    EXPECT_EQ(at("fraMAP")->grab().toImage().pixelColor(140, 100), QColor(0, 0, 255));
    EXPECT_EQ(dest->p2(), QPoint(240, 120));
    w.settings().NAVLINE_DEST = kFalse;
    w.me().DEST_X = 61;
    view(3, true, 101, 101);
    EXPECT_FALSE(dest->isVisible());
    EXPECT_EQ(dest->p2(), QPoint(0, 120));
}

TEST_F(FrmMainTest, TileClicksMoveToTheirCell) {
    // (zoom, standing x, y, tile) -> (x, y); tiles count along the rows.
    const std::array<int, 6> cases[] = {{3, 50, 60, 1, 50, 59},
                                        {3, 50, 60, 3, 49, 60},
                                        {5, 50, 60, 0, 48, 58},
                                        {11, 50, 60, 120, 55, 65}};
    for (const auto& [zoom, x, y, n, to_x, to_y] : cases) {
        view(zoom, zoom != 11, x, y);
        click(n % 2 == 0 && zoom != 11 ? static_cast<QWidget*>(picture(n)) : tile(n));
        EXPECT_EQ(me(), std::make_pair(to_x, to_y)) << zoom << " " << n;
        EXPECT_TRUE(
            look(zoom * zoom / 2).endsWith(QStringLiteral("(X:  %1  Y:  %2)").arg(to_x).arg(to_y)));
    }
    // Without a current character the click's error is trapped and reported.
    w.state->db.CUR_VAMP = 0;
    ExpectTrapped trapped;
    click(tile(4));
    EXPECT_EQ(trapped.count(), 1);
    w.state->db.CUR_VAMP = 1;
    // A click on a line reaches the tile below it (the north-east one).
    view(3, true, 101, 101);
    FrmMain& m = w.main();
    QTest::mouseClick(m.windowHandle(), Qt::LeftButton, {},
                      at("fraMAP")->mapTo(&m, QPoint(170, 70)));
    EXPECT_EQ(me(), std::make_pair(102, 100));
}

TEST_F(FrmMainTest, ResizeKeepsTheSmallestSizeAndSavesThePlacement) {
    FrmMain& m = w.main();
    const auto placement = [&] {
        const SETTINGS_REC disk = w.settings_on_disk();
        return std::array<int, 5>{disk.WIN_LEFT, disk.WIN_TOP, disk.WIN_WIDTH, disk.WIN_HEIGHT,
                                  disk.WIN_STATE};
    };
    // Each side too small grows to the smallest size on its own.
    const std::array<int, 4> sizes[] = {
        {500, 400, 800, 600}, {900, 400, 900, 600}, {500, 700, 800, 700}, {900, 700, 900, 700}};
    for (const auto& [width, height, to_width, to_height] : sizes) {
        m.resize(width, height);
        pump();
        EXPECT_EQ(m.size(), QSize(to_width, to_height));
        EXPECT_EQ(placement(),
                  (std::array<int, 5>{m.x() * 15, m.y() * 15, to_width * 15, to_height * 15, 0}));
    }
    const std::array<int, 5> normal = placement();
    // Maximised: only the state is saved. Restored: back at the placement saved before.
    m.showMaximized();
    pump();
    EXPECT_EQ(placement(), (std::array<int, 5>{normal[0], normal[1], 13500, 10500, 2}));
    m.showNormal();
    pump();
    EXPECT_EQ(placement(), normal);
    // Minimised: nothing is saved. State 1 keeps the stored placement.
    std::filesystem::remove(w.settings_file());
    m.showMinimized();
    pump();
    EXPECT_FALSE(std::filesystem::exists(w.settings_file()));
    m.showNormal();
    pump();
    w.settings().WIN_STATE = 1;
    m.resize(1000, 750);
    pump();
    EXPECT_EQ(placement(), (std::array<int, 5>{normal[0], normal[1], 13500, 10500, 1}));
}

TEST_F(FrmMainTest, LayoutsPlaceThePanelsAndTheListTakesTheExtraHeight) {
    FrmMain& m = w.main();
    m.resize(800, 700);
    pump();
    const int extra = m.centralWidget()->height() * 15 - 8310;
    ASSERT_GT(extra, 0);
    // The panels' tops and the list's bottom; the information panel on top stays there.
    const auto placed = [&] {
        return std::array<int, 5>{at("fraMAP")->y(), at("lstVAMP")->y(), at("fraVAMP_BUTTONS")->y(),
                                  at("fraINFO")->y(), at("lstVAMP")->geometry().bottom()};
    };
    w.settings().LAYOUT = 2;
    w.ui->FORCE_LAYOUT(2);
    EXPECT_EQ(placed(), (std::array<int, 5>{px(1860), px(7132), px(7840 + extra), px(-40),
                                            px(7132 + 705 + extra) - 1}));
}

TEST(FrmMainList, EntriesAreSortedAndGoByTheirRecord) {
    UiWorld w;
    w.add_vamp("BRAVO", 10, 10);
    w.add_vamp("ALPHA", 20, 20, true);
    w.start();
    QListWidget* list = w.main().lstVAMP();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text().trimmed(), QStringLiteral("ALPHA"));
    // The start makes the first entry's character current, and logs it in.
    EXPECT_EQ(w.me().handle(), "ALPHA");
    EXPECT_EQ(w.workers.calls, QStringList{"LOGIN_CURRENT"});

    // A click saves both files, takes the entry's record and redraws.
    std::filesystem::remove(w.settings_file());
    std::filesystem::remove(w.vamp_file());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(w.me().handle(), "BRAVO");
    EXPECT_TRUE(std::filesystem::exists(w.settings_file()));
    EXPECT_TRUE(std::filesystem::exists(w.vamp_file()));
    EXPECT_TRUE(w.find("TILE", 4)->toolTip().endsWith("(X:  10  Y:  10)"));

    // ALPHA logs in with the close question held back meanwhile; without the window's box
    // nobody logs in.
    list->setCurrentRow(0);
    EXPECT_EQ(w.workers.calls.count("LOGIN_CURRENT"), 2);
    EXPECT_TRUE(w.workers.quiet.back());
    EXPECT_FALSE(w.main().NO_EXIT_PROMPT);
    auto* box = w.find<QCheckBox>(QStringLiteral("chkAUTOLOGIN"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(w.settings_on_disk().AUTOLOGIN_ENABLED, kFalse);
    list->setCurrentRow(1);
    list->setCurrentRow(0);
    EXPECT_EQ(w.workers.calls.count("LOGIN_CURRENT"), 2);
}

TEST(FrmMainList, TheStartsSelectionRunsTheClickAlsoWhenItsEntryIsSelectedAlready) {
    UiWorld w;
    w.add_vamp("ALPHA", 20, 20, true);
    w.start();
    ASSERT_EQ(w.main().lstVAMP()->currentRow(), 0);
    // The start's step once more: saved, logged in and applied (a toolbar switched off in
    // memory goes) all the same.
    std::filesystem::remove(w.settings_file());
    std::filesystem::remove(w.vamp_file());
    w.settings().TOOLBAR = kFalse;
    EXPECT_TRUE(w.ui->select_first_entry());
    EXPECT_TRUE(std::filesystem::exists(w.settings_file()) &&
                std::filesystem::exists(w.vamp_file()));
    EXPECT_EQ(w.workers.calls, (QStringList{"LOGIN_CURRENT", "LOGIN_CURRENT"}));
    EXPECT_TRUE(w.find(QStringLiteral("fraTOOLBAR"))->isHidden());
}

TEST(FrmMainSettings, AFlagHoldingOneTicksOnlyTheToolbarItem) {
    UiWorld w;
    w.add_vamp("ALPHA", 20, 20);
    w.add_vamp("BRAVO", 30, 30);
    w.state->db.VAMPS(1).AUTOLOGIN = 1;
    w.state->db.SAVE_DB();
    // The automatic-login box and the toolbar hold 1 in the file.
    w.state->settings.LOAD_SETTINGS();
    w.settings().AUTOLOGIN_ENABLED = w.settings().TOOLBAR = 1;
    w.state->settings.SAVE_SETTINGS();
    w.start();
    auto* box = w.find<QCheckBox>(QStringLiteral("chkAUTOLOGIN"));
    QAction* toolbar = w.find<QAction>(QStringLiteral("mnuOptData(3)"));
    // Unticked box; the toolbar hidden under a ticked item, the browser at the top.
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(toolbar->isChecked());
    EXPECT_TRUE(w.find(QStringLiteral("fraTOOLBAR"))->isHidden());
    EXPECT_EQ(w.find(QStringLiteral("wb"))->y(), 0);
    // Each switches to -1 at its first click; the record's 1 still logs nobody in.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 6));
    toolbar->trigger();
    EXPECT_TRUE(box->isChecked() && toolbar->isChecked());
    EXPECT_EQ(w.settings().AUTOLOGIN_ENABLED, kTrue);
    EXPECT_EQ(w.settings().TOOLBAR, kTrue);
    EXPECT_TRUE(w.find(QStringLiteral("fraTOOLBAR"))->isVisible());
    w.main().lstVAMP()->setCurrentRow(1);
    w.main().lstVAMP()->setCurrentRow(0);
    EXPECT_EQ(w.me().handle(), "ALPHA");
    EXPECT_TRUE(w.workers.calls.isEmpty());
}

TEST_F(FrmMainTest, ClosingAsksOnceAndNoKeepsEverythingRunning) {
    FrmMain& m = w.main();
    const ShownBox question{"Are you sure you want to quit..?", MsgButtons::YesNo,
                            MsgIcon::Question, "Just thought I'd ask..."};
    std::filesystem::remove(w.vamp_file());
    w.world.prompts.answer(MsgResult::No);
    EXPECT_FALSE(m.close());
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(w.world.prompts.shown, std::vector<ShownBox>{question});
    EXPECT_TRUE(std::filesystem::exists(w.vamp_file()));
    EXPECT_EQ(w.quits, 0);
    w.world.prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(m.close());
    EXPECT_EQ(w.world.prompts.shown.size(), 2u);
    EXPECT_EQ(w.quits, 1);
    EXPECT_FALSE(m.tracking().tmrRIP()->isActive());
}

TEST_F(FrmMainTest, WhileTheQuestionIsHeldBackTheWindowClosesWithoutAsking) {
    w.main().NO_EXIT_PROMPT = true;
    EXPECT_TRUE(w.main().close());
    EXPECT_TRUE(w.world.prompts.shown.empty());
}

TEST_F(FrmMainTest, ClicksReachTheirWorkersAndHandlers) {
    RecordingWorkers& rec = w.workers;
    FakeBrowser& wb = w.wb();
    // Each item reaches its worker, leaving the check marks to the program; the File menu
    // holds the close question back while its worker runs. (The program's own workers are
    // reached through every other menu in the workers' tests.)
    const std::pair<const char*, const char*> items[] = {{"mnuFileData(6)", "MENU_FILE 6"},
                                                         {"mnuZoomData(4)", "MENU_ZOOM 4"},
                                                         {"mnuNavData(0)", "MENU_NAVLINES 0"}};
    for (const auto& [name, call] : items) {
        rec.calls.clear();
        const bool ticked = action(name)->isChecked();
        action(name)->trigger();
        EXPECT_EQ(rec.calls, QStringList{call});
        EXPECT_EQ(action(name)->isChecked(), ticked) << name;
        EXPECT_EQ(rec.quiet.back(), rec.calls[0] == "MENU_FILE 6") << name;
    }
    rec.calls.clear();
    click("cmdCOMMAND", 5);
    click("cmdVAMP", 2);
    EXPECT_EQ(rec.calls, (QStringList{"BUTTON_COMMAND 5", "BUTTON_VAMP 2"}));

    // "ToolBar?" is the window's own: the toolbar goes and the browser takes its place, then
    // both come back; the setting changes in memory only.
    rec.calls.clear();
    std::filesystem::remove(w.settings_file());
    const QRect client = w.main().centralWidget()->rect().adjusted(240, 0, 0, 0);
    for (bool shown : {false, true}) {
        action("mnuOptData(3)")->trigger();
        EXPECT_EQ(action("mnuOptData(3)")->isChecked(), shown);
        EXPECT_EQ(at("fraTOOLBAR")->isVisible(), shown);
        EXPECT_EQ(at("wb")->geometry(), client.adjusted(0, shown ? 35 : 0, 0, 0));
        EXPECT_EQ(w.settings().TOOLBAR, shown ? kTrue : kFalse);
    }
    EXPECT_FALSE(std::filesystem::exists(w.settings_file()));
    EXPECT_TRUE(rec.calls.isEmpty());

    // The hidden browser menu and the toolbar's first four drive the game browser; the other
    // four are the File menu's screen-shot commands.
    wb.calls.clear();
    rec.calls.clear();
    for (int i = 0; i < 3; ++i)
        w.find<QAction>("mnuWBdata", i)->trigger();
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7})
        click("tbBUTTON", i);
    EXPECT_EQ(wb.calls, (QStringList{"GoBack", "GoForward", "Refresh2", "GoBack", "GoForward",
                                     "Refresh", "Stop"}));
    EXPECT_EQ(rec.calls, (QStringList{"MENU_FILE 0", "MENU_FILE 1", "MENU_FILE 3", "MENU_FILE 4"}));
    EXPECT_TRUE(rec.quiet.back());

    // The choice pictures; the snap-shot timer fires once.
    click("imgDIST", 2);
    EXPECT_EQ(w.state->NAV_CHOICE, 2);
    w.main().set_pic_interval(500);
    w.windows.calls.clear();
    fire(w.find<QTimer>(QStringLiteral("tmrPIC")));
    EXPECT_FALSE(w.find<QTimer>(QStringLiteral("tmrPIC"))->isActive());
    EXPECT_EQ(w.windows.calls, QStringList{"SNAPSHOT_BMP"});
}

TEST_F(FrmMainTest, ActivationFromAnotherWindowRedrawsAndComingBackFromElsewhereDoesNot) {
    QApplication::setActiveWindow(&w.main());
    // Moved in memory only: what the tiles show tells whether the window redrew.
    w.me().POS_X = 60;
    const int unloads = w.windows.splash_unloads;
    leave_and_come_back(&w.main());
    EXPECT_FALSE(tile(4)->toolTip().endsWith(QStringLiteral("(X:  60  Y:  101)")));
    EXPECT_EQ(w.windows.splash_unloads, unloads);

    w.ui->frmLAYOUT().show();
    QApplication::setActiveWindow(&w.ui->frmLAYOUT());
    w.ui->frmLAYOUT().close();
    QApplication::setActiveWindow(&w.main());
    EXPECT_TRUE(tile(4)->toolTip().endsWith(QStringLiteral("(X:  60  Y:  101)")));
    EXPECT_EQ(w.windows.splash_unloads, unloads + 1);
}

// A classic menu shows a tick beside a ticked item and nothing beside an unticked one; Qt's
// styles draw an empty box beside any checkable item, so only ticked items may be checkable.
TEST_F(FrmMainTest, OnlyTickedItemsCarryAMark) {
    int ticked = 0, unticked = 0;
    for (const char* name :
         {"mnuZoomData(0)", "mnuZoomData(2)", "mnuNavData(0)", "mnuNavData(3)", "mnuAutoNavData(0)",
          "mnuAutoNavData(1)", "mnuOptData(2)", "mnuOptData(3)"}) {
        const QAction* item = action(name);
        EXPECT_EQ(item->isCheckable(), item->isChecked()) << name;
        ++(item->isChecked() ? ticked : unticked);
    }
    EXPECT_GT(ticked, 0);
    EXPECT_GT(unticked, 0);
}

}  // namespace
}  // namespace zeko::testing
