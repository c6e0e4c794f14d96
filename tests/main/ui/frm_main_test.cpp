#include "main/ui/frm_main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <iostream>

#include "common/errors.h"
#include "main/tracking.h"
#include "main/ui/frm_layout.h"
#include "main/ui/vb_widgets.h"
#include "main/ui/version_text.h"
#include "ui_world.h"

namespace zeko::testing {
namespace {

using ui::FrmMain;
using ui::LabelBox;
using ui::LineShape;
using ui::PictureBox;
using ui::px;
using ui::VbFrame;

QString idx(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

QColor role(QWidget* w, QPalette::ColorRole r) {
    return w->palette().color(r);
}

// The neighbourhood table of a game page with the crossing in cell `cell`.
QString neighbourhood(const QString& crossing, int cell = 4) {
    QString html = QStringLiteral("<P>You are here.</P><TABLE>");
    for (int r = 0; r < 3; ++r) {
        html += QStringLiteral("<TR>");
        for (int c = 0; c < 3; ++c) {
            const int k = 3 * r + c;
            html += k == cell
                        ? QStringLiteral("<TD><SPAN CLASS=INTERSECT>%1</SPAN></TD>").arg(crossing)
                        : QStringLiteral("<TD>block %1</TD>").arg(k);
        }
        html += QStringLiteral("</TR>");
    }
    return html + QStringLiteral("</TABLE>");
}

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
    LabelBox* tile(int n) { return w.find<LabelBox>(idx("TILE", n)); }
    PictureBox* picture(int n) { return w.find<PictureBox>(idx("imgTILE", n)); }

    UiWorld w;
};

TEST_F(FrmMainTest, ControlsCarryTheirNamesPlacesAndColours) {
    FrmMain& m = w.main();
    EXPECT_EQ(m.windowTitle(), QString::fromUtf8("Zekorama\xC2\xB2 Version ") +
                                   QLatin1String(ZEKO_VERSION) + QStringLiteral("..."));
    EXPECT_EQ(ui::version_text("01.2.30"), "1.2.30");
    EXPECT_EQ(ui::version_text("4"), "4.0.0");

    for (int n = 0; n <= 120; ++n) {
        ASSERT_NE(tile(n), nullptr) << n;
        ASSERT_NE(picture(n), nullptr) << n;
        EXPECT_EQ(tile(n)->parentWidget()->objectName(), QStringLiteral("fraMAP"));
    }
    for (const char* name :
         {"fraMAP",       "fraINFO",    "fraBANK",         "fraPUB",       "fraTRANSIT", "fraDEST",
          "fraDESTTRANS", "fraBUTTONS", "fraVAMP_BUTTONS", "fraTOOLBAR",   "div1a",      "div1",
          "lineTOP",      "lineBOTTOM", "lstVAMP",         "chkAUTOLOGIN", "cboX",       "cboY",
          "wb",           "wb2",        "BANK1",           "PUB1",         "TRANS1",     "DEST1"})
        EXPECT_NE(w.find<QWidget>(QLatin1String(name)), nullptr) << name;
    for (int i = 0; i < 10; ++i) {
        EXPECT_NE(w.find<QPushButton>(idx("cmdCOMMAND", i)), nullptr);
        EXPECT_NE(w.find<QLabel>(idx("lbl", i)), nullptr);
    }
    for (int i = 0; i < 5; ++i)
        for (const char* name : {"lblX", "lblY", "lblAP"})
            EXPECT_NE(w.find<QLabel>(idx(name, i)), nullptr);
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(w.find<PictureBox>(idx("tbBUTTON", i)), nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(w.find<PictureBox>(idx("imgRES", i))->isHidden());
    ASSERT_NE(w.find<QTimer>(QStringLiteral("tmrRIP")), nullptr);
    ASSERT_NE(w.find<QTimer>(QStringLiteral("tmrPIC")), nullptr);
    EXPECT_FALSE(w.find<QTimer>(QStringLiteral("tmrPIC"))->isActive());

    // Design places in twips at 15 per pixel, inside their frames.
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraMAP"))->geometry(), QRect(0, 0, 240, 243));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("cboX"))->geometry(), QRect(0, 0, 77, 21));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("cboY"))->geometry(), QRect(82, 0, 77, 21));
    EXPECT_EQ(w.find<QPushButton>(idx("cmdCOMMAND", 9))->geometry(), QRect(164, 0, 77, 21));
    EXPECT_EQ(w.find<QPushButton>(idx("cmdCOMMAND", 9))->text(), QStringLiteral("GO"));
    EXPECT_EQ(w.find<QPushButton>(idx("cmdCOMMAND", 4))->geometry(), QRect(82, 52, 77, 25));
    EXPECT_EQ(w.find<QPushButton>(idx("cmdCOMMAND", 8))->geometry(), QRect(164, 80, 77, 25));
    EXPECT_EQ(w.find<QPushButton>(idx("cmdCOMMAND", 0))->toolTip(),
              QStringLiteral("Zoom In: Zooms in closer to the minimap"));
    EXPECT_TRUE(w.find<QPushButton>(idx("cmdCOMMAND", 5))
                    ->toolTip()
                    .startsWith(QStringLiteral("Make a donation: This button will allow you to "
                                               "make a donation to the author of this map. ")));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("chkAUTOLOGIN"))->geometry(), QRect(4, 1, 233, 13));
    EXPECT_EQ(w.find<QPushButton>(idx("cmdVAMP", 1))->geometry(), QRect(84, 15, 77, 17));
    EXPECT_EQ(w.find<QPushButton>(idx("cmdVAMP", 2))->text(), QStringLiteral("Delete Vamp"));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraDESTTRANS"))->geometry(), QRect(0, 96, 196, 25));
    EXPECT_EQ(w.find<QLabel>(idx("lblX", 0))->geometry(), QRect(8, 9, 77, 15));
    EXPECT_EQ(w.find<QLabel>(idx("lblY", 2))->geometry(), QRect(96, 9, 37, 15));
    EXPECT_EQ(w.find<QLabel>(idx("lblAP", 4))->geometry(), QRect(152, 9, 21, 15));
    EXPECT_EQ(w.find<QLabel>(idx("lbl", 8))->text(), QStringLiteral("&"));
    EXPECT_EQ(w.find<QLabel>(idx("lbl", 9))->text(), QStringLiteral("AP"));
    EXPECT_EQ(w.find<QLabel>(idx("lblX", 3))->font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(w.find<PictureBox>(idx("imgDIST", 0))->geometry(), QRect(200, 8, 40, 33));
    EXPECT_EQ(w.find<PictureBox>(idx("imgDIST", 2))->geometry(), QRect(200, 80, 40, 33));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraTOOLBAR"))->pos(), QPoint(240, 0));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraTOOLBAR"))->height(), 35);
    EXPECT_EQ(w.find<PictureBox>(idx("tbBUTTON", 0))->geometry(), QRect(12, 0, 32, 32));
    EXPECT_EQ(w.find<PictureBox>(idx("tbBUTTON", 7))->geometry(), QRect(244, 0, 32, 32));
    EXPECT_EQ(w.find<PictureBox>(idx("tbBUTTON", 6))->toolTip(),
              QStringLiteral("Snap Shot (HTML & CSS Dump)"));
    auto* divider = w.find<LineShape>(QStringLiteral("div1a"));
    EXPECT_EQ(divider->p1(), QPoint(145, 4));
    EXPECT_EQ(divider->p2(), QPoint(145, 28));
    EXPECT_EQ(divider->color(), QColor(255, 255, 255));

    // The game browser fills the window right of the column and below the toolbar.
    QWidget* client = m.centralWidget();
    QWidget* browser = w.find<QWidget>(QStringLiteral("wb"));
    EXPECT_EQ(browser->geometry(), QRect(240, 35, client->width() - 240, client->height() - 35));
    EXPECT_TRUE(w.find<QWidget>(QStringLiteral("wb2"))->isHidden());

    // Colours.
    EXPECT_EQ(role(client, QPalette::Window), QColor(0, 48, 0));
    for (const char* name : {"lstVAMP", "cboX", "cboY"}) {
        QWidget* list = w.find<QWidget>(QLatin1String(name));
        EXPECT_EQ(role(list, QPalette::Base), QColor(64, 64, 64)) << name;
        EXPECT_EQ(role(list, QPalette::Text), QColor(128, 255, 128)) << name;
    }
    EXPECT_EQ(role(w.find<QWidget>(QStringLiteral("chkAUTOLOGIN")), QPalette::Window),
              QColor(0, 48, 0));
    const std::pair<const char*, QColor> rows[] = {{"fraBANK", QColor(0, 0, 192)},
                                                   {"fraPUB", QColor(255, 128, 0)},
                                                   {"fraTRANSIT", QColor(255, 0, 0)},
                                                   {"fraDEST", QColor(0, 192, 192)},
                                                   {"fraDESTTRANS", QColor(0, 128, 128)}};
    for (const auto& [name, colour] : rows) {
        EXPECT_EQ(w.find<VbFrame>(QLatin1String(name))->back_color(), colour) << name;
        EXPECT_EQ(w.find<VbFrame>(QLatin1String(name))->caption_color(), QColor(255, 255, 255));
    }
    EXPECT_EQ(role(w.find<QLabel>(idx("lblAP", 1)), QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(tile(0)->fore_color(), QColor(255, 255, 255));

    auto* cboX = w.find<QComboBox>(QStringLiteral("cboX"));
    auto* cboY = w.find<QComboBox>(QStringLiteral("cboY"));
    ASSERT_EQ(cboX->count(), 101);
    ASSERT_EQ(cboY->count(), 101);
    EXPECT_EQ(cboX->itemText(0), QStringLiteral("WCL"));
    EXPECT_EQ(cboX->itemText(1), QStringLiteral("Aardvark"));
    EXPECT_EQ(cboY->itemText(0), QStringLiteral("NCL"));
    EXPECT_EQ(cboY->itemText(100), QStringLiteral("100th"));
}

TEST_F(FrmMainTest, MenusHaveTheirCaptionsShortcutsAndHiddenItems) {
    struct Item {
        const char* name;
        const char* caption;  // UTF-8
        const char* keys;
        bool checkable;
        bool visible;
    };
    const Item items[] = {
        {"mnuFile", "&File", "", false, true},
        {"mnuFileData(0)", "Screen Shot &Config", "", false, true},
        {"mnuFileData(1)", "&Screen Shot", "Ctrl+P", false, true},
        {"mnuFileData(2)", "", "", false, true},
        {"mnuFileData(3)", "&HTML && CSS Dump", "Ctrl+S", false, true},
        {"mnuFileData(4)", "HTML &Dump", "", false, true},
        {"mnuFileData(5)", "", "", false, true},
        {"mnuFileData(6)", "E&xit", "Ctrl+X", false, true},
        {"mnuVamp", "&Vampire", "", false, true},
        {"mnuVampData(0)", "&Create Vampire", "Ctrl+N", false, true},
        {"mnuVampData(1)", "&Edit Vampire", "", false, true},
        {"mnuVampData(2)", "Delete Vampire", "", false, true},
        {"mnuOptions", "&Options", "", false, true},
        {"mnuOptZoom", "Zoom", "", false, true},
        {"mnuZoomData(0)", "3x3", "F3", true, true},
        {"mnuZoomData(1)", "5x5", "F5", true, true},
        {"mnuZoomData(2)", "7x7", "F7", true, true},
        {"mnuZoomData(3)", "9x9", "F9", true, true},
        {"mnuZoomData(4)", "11x11", "F11", true, true},
        {"mnuOptNav", "Navigation Lines", "", false, true},
        {"mnuNavData(0)", "Bank Line", "", true, true},
        {"mnuNavData(1)", "PubLine", "", true, true},
        {"mnuNavData(2)", "Transit Line", "", true, true},
        {"mnuNavData(3)", "Destination Line", "", true, true},
        {"mnuOptData(0)", "&Auto-Nav", "", false, true},
        {"mnuAutoNavData(0)", "Standard", "", true, true},
        {"mnuAutoNavData(1)", "Precognition", "", true, true},
        {"mnuOptData(1)", "&Form Layout", "", false, true},
        {"mnuOptData(2)", "Graphical Map?", "", true, true},
        {"mnuOptData(3)", "ToolBar?", "", true, true},
        {"mnuTools", "&Tools", "", false, true},
        {"mnuToolsData(0)", "Shopping List Generator", "", false, true},
        {"mnuToolsData(1)", "Skill Information", "", false, true},
        {"mnuToolsData(2)", "", "", false, true},
        {"mnuToolsData(3)", "Emoticon Tutorial", "", false, true},
        {"mnuToolsData(4)", "", "", false, false},
        {"mnuToolsData(5)", "Browser Navigation", "", false, false},
        {"mnuWBdata(0)", "Back", "Ctrl+Z", false, true},
        {"mnuWBdata(1)", "Forward", "Ctrl+Y", false, true},
        {"mnuWBdata(2)", "Refresh", "Ctrl+R", false, true},
        {"mnuSkills", "&Skills", "", false, true},
        {"mnuSkillsData(0)", "Buying a skill (How to / how much)", "", false, true},
        {"mnuSkillsData(1)", "Buy a skill / power!!!", "", false, true},
        {"mnuLinks", "&Links", "", false, true},
        {"mnuLinksData(0)", "&Official Z.E.K.O.\xC2\xB2 Home Page", "", false, true},
        {"mnuLinksData(1)", "", "", false, false},
        {"mnuLinksData(2)", "", "", false, false},
        {"mnuHelp", "&Help", "", false, true},
        {"mnuHelpData(0)", "&About", "F2", false, true},
        {"mnuHelpData(1)", "", "", false, true},
        {"mnuHelpData(2)", "&Contents", "F1", false, true},
        {"mnuHelpData(3)", "What's New!", "", false, true},
        {"mnuHelpData(4)", "", "", false, true},
        {"mnuHelpData(5)", "How To Play", "", false, true},
        {"mnuHelpData(6)", "FAQ", "", false, true},
    };
    for (const Item& it : items) {
        auto* action = w.find<QAction>(QLatin1String(it.name));
        ASSERT_NE(action, nullptr) << it.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(it.caption)) << it.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(QLatin1String(it.keys))) << it.name;
        EXPECT_EQ(action->isCheckable(), it.checkable) << it.name;
        EXPECT_EQ(action->isVisible(), it.visible) << it.name;
    }
    for (const char* separator : {"mnuFileData(2)", "mnuFileData(5)", "mnuToolsData(2)",
                                  "mnuToolsData(4)", "mnuHelpData(1)", "mnuHelpData(4)"})
        EXPECT_TRUE(w.find<QAction>(QLatin1String(separator))->isSeparator()) << separator;
    for (const char* parent :
         {"mnuFile", "mnuOptZoom", "mnuOptNav", "mnuOptData(0)", "mnuToolsData(5)", "mnuHelp"})
        EXPECT_NE(w.find<QMenu>(QLatin1String(parent)), nullptr) << parent;

    // The default settings tick every Auto-Nav, line and option item, and the zoom of 3.
    for (const char* ticked : {"mnuAutoNavData(0)", "mnuAutoNavData(1)", "mnuNavData(0)",
                               "mnuNavData(3)", "mnuOptData(2)", "mnuOptData(3)", "mnuZoomData(0)"})
        EXPECT_TRUE(w.find<QAction>(QLatin1String(ticked))->isChecked()) << ticked;
    EXPECT_FALSE(w.find<QAction>(QStringLiteral("mnuZoomData(1)"))->isChecked());
}

TEST_F(FrmMainTest, FirstPageIsPaintedThenTheWelcomePageFollows) {
    FakeBrowser& wb = w.wb();
    EXPECT_TRUE(wb.silent);
    ASSERT_EQ(wb.navigations.size(), 1u);
    EXPECT_EQ(wb.navigations[0].url, QStringLiteral("about:blank"));
    EXPECT_FALSE(w.main().FIRST_PAGE_DONE);

    wb.calls.clear();
    wb.completeNavigation();
    EXPECT_TRUE(w.main().FIRST_PAGE_DONE);
    const QString welcome = QString::fromStdString(GAME_URL() + "?action=welcome");
    EXPECT_EQ(wb.calls.mid(0, 4), (QStringList{QStringLiteral("setBodyBgColor 3000"),
                                               QStringLiteral("setBodyTextColor 80ff80"),
                                               QStringLiteral("writeBodyInnerHtml Loading..."),
                                               QStringLiteral("Navigate2 ") + welcome}));
    ASSERT_EQ(wb.navigations.size(), 2u);
    EXPECT_TRUE(welcome.startsWith(QStringLiteral("http://")));
    EXPECT_TRUE(welcome.endsWith(QStringLiteral("/blood.pl?action=welcome")));

    // Later pages are not touched again, only their ground colour.
    wb.calls.clear();
    wb.completeNavigation();
    EXPECT_EQ(wb.navigations.size(), 2u);
    EXPECT_FALSE(wb.calls.contains(QStringLiteral("writeBodyInnerHtml Loading...")));
    EXPECT_TRUE(wb.calls.contains(QStringLiteral("setBodyBgColor 3000")));
    EXPECT_TRUE(w.wb2().navigations.empty());
}

TEST_F(FrmMainTest, TilesAtTheCityEdgesInColour) {
    w.world.random.values = {0.5f};
    view(3, false);
    stand(0, 0);
    // (-1, -1): the city limit over the crossing green.
    EXPECT_TRUE(tile(0)->opaque());
    EXPECT_EQ(tile(0)->back_color(), QColor(0, 0, 128));
    EXPECT_EQ(tile(0)->shown_text(), QStringLiteral("City Limit"));
    EXPECT_EQ(tile(0)->toolTip(), QStringLiteral("City Limit (X: -1  Y: -1)"));
    // (0, 0): a plain block.
    EXPECT_EQ(tile(4)->back_color(), QColor(0, 0, 0));
    EXPECT_EQ(tile(4)->shown_text(), QString());
    EXPECT_EQ(tile(4)->toolTip(), QStringLiteral(" (X:  0  Y:  0)"));
    // (1, 1): the first crossing, its "&&" shown as one ampersand.
    EXPECT_EQ(tile(8)->back_color(), QColor(0, 128, 0));
    EXPECT_EQ(tile(8)->caption(), QStringLiteral("Aardvark && 1st"));
    EXPECT_EQ(tile(8)->shown_text(), QStringLiteral("Aardvark & 1st"));
    EXPECT_EQ(tile(8)->toolTip(), QStringLiteral("Aardvark and 1st (X:  1  Y:  1)"));
    // (1, 0): a street piece.
    EXPECT_EQ(tile(5)->back_color(), QColor(128, 128, 128));
    for (int n = 0; n < 9; ++n) {
        EXPECT_TRUE(tile(n)->isVisible()) << n;
        EXPECT_TRUE(tile(n)->border()) << n;
        EXPECT_TRUE(picture(n)->isHidden()) << n;
        EXPECT_EQ(tile(n)->geometry(), QRect(80 * (n % 3), 80 * (n / 3), 80, 80)) << n;
        EXPECT_EQ(tile(n)->font().pointSize(), 9);
        EXPECT_TRUE(tile(n)->font().bold());
    }
    EXPECT_TRUE(tile(9)->isHidden());

    // Zoom 5 reaches beyond the limit: "The Wastes" on a random brown.
    view(5, false);
    stand(0, 0);
    EXPECT_EQ(tile(0)->shown_text(), QStringLiteral("The Wastes"));
    EXPECT_EQ(tile(0)->toolTip(), QStringLiteral("The Wastes"));
    EXPECT_EQ(tile(0)->back_color(), QColor(96, 48, 16));
    EXPECT_EQ(tile(24)->geometry(), QRect(192, 192, 48, 48));
    EXPECT_EQ(tile(24)->font().pointSize(), 7);

    // The south-east corner and a hall.
    view(3, false);
    stand(199, 199);
    EXPECT_EQ(tile(8)->back_color(), QColor(0, 0, 128));
    EXPECT_EQ(tile(8)->toolTip(), QStringLiteral("City Limit (X:  200  Y:  200)"));
    stand(2, 2);
    EXPECT_EQ(tile(4)->back_color(), QColor(81, 0, 127));
    EXPECT_EQ(tile(4)->shown_text(), QStringLiteral("Great Hall"));
}

TEST_F(FrmMainTest, TilesAtTheCityEdgesInPictures) {
    view(3, true);
    stand(0, 0);
    EXPECT_FALSE(tile(0)->opaque());
    EXPECT_EQ(tile(0)->shown_text(), QStringLiteral("City Limit"));
    EXPECT_EQ(tile(0)->toolTip(), QStringLiteral("City Limit..."));
    EXPECT_TRUE(picture(0)->isVisible());
    EXPECT_EQ(picture(0)->picture(), 19);
    EXPECT_EQ(picture(1)->picture(), 20);
    EXPECT_EQ(picture(3)->picture(), 26);
    EXPECT_EQ(picture(4)->picture(), 8);
    EXPECT_EQ(picture(8)->picture(), 1);
    EXPECT_EQ(tile(8)->shown_text(), QStringLiteral("Aardvark & 1st"));
    EXPECT_EQ(picture(4)->geometry(), tile(4)->geometry());
    EXPECT_EQ(picture(4)->pixmap().size(), QSize(80, 80));
    EXPECT_TRUE(picture(4)->border());
    // The pictures lie behind the labels.
    const QObjectList& children = w.find<QWidget>(QStringLiteral("fraMAP"))->children();
    EXPECT_LT(children.indexOf(picture(120)), children.indexOf(tile(0)));

    stand(199, 199);
    EXPECT_EQ(picture(8)->picture(), 23);
    EXPECT_EQ(picture(2)->picture(), 22);
    EXPECT_EQ(picture(6)->picture(), 24);

    // The guild keeps its name; a shop shows none but names itself in the tooltip.
    stand(198, 2);
    EXPECT_EQ(picture(4)->picture(), 18);
    EXPECT_FALSE(tile(4)->shown_text().isEmpty());
    stand(4, 198);
    EXPECT_EQ(picture(4)->picture(), 8);
    EXPECT_EQ(tile(4)->shown_text(), QString());
    EXPECT_TRUE(tile(4)->toolTip().endsWith(QStringLiteral(" (X:  4  Y:  198)")));
    EXPECT_GT(tile(4)->toolTip().size(), QStringLiteral(" (X:  4  Y:  198)").size());

    // Outside the city at zoom 5; no borders at zoom 9; always colour at zoom 11.
    view(5, true);
    stand(0, 0);
    EXPECT_EQ(picture(0)->picture(), 27);
    EXPECT_EQ(tile(0)->shown_text(), QStringLiteral("The Wastes"));
    EXPECT_EQ(tile(0)->toolTip(), QStringLiteral("City Limit..."));
    EXPECT_EQ(picture(0)->pixmap().size(), QSize(48, 48));
    view(9, true);
    EXPECT_FALSE(picture(40)->border());
    EXPECT_FALSE(tile(40)->border());
    EXPECT_TRUE(picture(80)->isVisible());
    view(11, true);
    for (int n = 0; n <= 120; ++n) {
        ASSERT_TRUE(picture(n)->isHidden()) << n;
        ASSERT_TRUE(tile(n)->opaque()) << n;
        ASSERT_TRUE(tile(n)->isVisible()) << n;
    }
    // Tiles that touch in twips touch on the screen.
    EXPECT_EQ(tile(1)->x(), tile(0)->x() + tile(0)->width());
    EXPECT_EQ(tile(120)->geometry().bottomRight(), QPoint(px(3597) - 1, px(3597) - 1));
}

TEST_F(FrmMainTest, PanelRowsAndStreetBoxesShowTheNearestPlaces) {
    stand(96, 100);
    CityMap& map = w.state->map;
    auto frame = [&](const char* name) {
        return w.find<VbFrame>(QLatin1String(name))->title().toStdString();
    };
    auto label = [&](const char* name, int i) { return w.find<QLabel>(idx(name, i))->text(); };
    EXPECT_EQ(frame("fraBANK"), "Moon Bank");
    EXPECT_EQ(label("lblX", 0), QString::fromStdString(map.COORD_NAME_X(102)));
    EXPECT_EQ(label("lblY", 0), QString::fromStdString(map.COORD_NAME_Y(100)));
    EXPECT_EQ(label("lblAP", 0), QStringLiteral("6"));
    EXPECT_EQ(frame("fraPUB"), "The Test Pub");
    EXPECT_EQ(label("lblAP", 1), QStringLiteral("6"));
    EXPECT_EQ(frame("fraTRANSIT"), "Calliope Station");
    EXPECT_EQ(label("lblAP", 2), QStringLiteral("10"));
    // No destination set: (0, 0), a plain block.
    EXPECT_EQ(frame("fraDEST"), "Destination");
    EXPECT_EQ(label("lblX", 3), QStringLiteral("WCL"));
    EXPECT_EQ(frame("fraDESTTRANS"), "Calliope Station to Calliope Station");
    for (size_t i = 0; i < 5; ++i) {
        const PanelRow& row = w.main().model().rows[i];
        EXPECT_EQ(label("lblX", static_cast<int>(i)).toStdString(), row.x);
        EXPECT_EQ(label("lblY", static_cast<int>(i)).toStdString(), row.y);
        EXPECT_EQ(label("lblAP", static_cast<int>(i)).toStdString(), row.ap);
    }
    EXPECT_EQ(w.find<QComboBox>(QStringLiteral("cboX"))->currentIndex(), 48);
    EXPECT_EQ(w.find<QComboBox>(QStringLiteral("cboY"))->currentIndex(), 50);
    stand(199, 0);
    EXPECT_EQ(w.find<QComboBox>(QStringLiteral("cboX"))->currentIndex(), 100);
    EXPECT_EQ(w.find<QComboBox>(QStringLiteral("cboY"))->currentIndex(), 0);
}

TEST_F(FrmMainTest, LinesEndWhereTheirZoomPutsThem) {
    w.me().DEST_X = 141;
    w.me().DEST_Y = 101;
    auto* bank = w.find<LineShape>(QStringLiteral("BANK1"));
    auto* pub = w.find<LineShape>(QStringLiteral("PUB1"));
    auto* transit = w.find<LineShape>(QStringLiteral("TRANS1"));
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
        EXPECT_TRUE(bank->geometry().contains(bank->p1()));
        EXPECT_TRUE(bank->geometry().contains(bank->p2()));
        EXPECT_EQ(dest->p2(), QPoint(240, 120)) << zoom;
        for (LineShape* line : {bank, pub, transit, dest}) {
            EXPECT_TRUE(line->isVisible());
            EXPECT_TRUE(line->testAttribute(Qt::WA_TransparentForMouseEvents));
        }
    }
    EXPECT_EQ(pub->p2(), QPoint(px(170), px(3430)));
    EXPECT_EQ(transit->p2(), QPoint(px(3430), px(3430)));
    EXPECT_EQ(bank->line_width(), 7);
    EXPECT_EQ(pub->color(), QColor(255, 192, 128));
    EXPECT_EQ(transit->line_width(), 3);
    EXPECT_EQ(dest->color(), QColor(0, 255, 255));

    // Stacked over the tiles, bank lowest and destination on top.
    const QObjectList& children = w.find<QWidget>(QStringLiteral("fraMAP"))->children();
    EXPECT_LT(children.indexOf(tile(120)), children.indexOf(bank));
    EXPECT_LT(children.indexOf(bank), children.indexOf(pub));
    EXPECT_LT(children.indexOf(pub), children.indexOf(transit));
    EXPECT_LT(children.indexOf(transit), children.indexOf(dest));

    // Seen over both tile styles: a point on the bank line is blue.
    for (bool pictures : {false, true}) {
        view(3, pictures);
        stand(101, 101);
        const QImage shot = w.find<QWidget>(QStringLiteral("fraMAP"))->grab().toImage();
        EXPECT_EQ(shot.pixelColor(140, 100), QColor(0, 0, 255)) << pictures;
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
                      w.find<QWidget>(QStringLiteral("fraMAP"))->mapTo(&m, QPoint(170, 70)));
    EXPECT_EQ(w.me().POS_X, 102);
    EXPECT_EQ(w.me().POS_Y, 100);
}

TEST_F(FrmMainTest, ResizeKeepsTheSmallestSizeAndSavesThePlacement) {
    FrmMain& m = w.main();
    ASSERT_TRUE(m.isVisible());
    std::filesystem::remove(w.settings_file());
    m.resize(500, 400);
    pump();
    EXPECT_EQ(m.size(), QSize(800, 600));
    ASSERT_TRUE(std::filesystem::exists(w.settings_file()));
    EXPECT_EQ(w.settings_on_disk().WIN_WIDTH, 12000);
    EXPECT_EQ(w.settings_on_disk().WIN_HEIGHT, 9000);

    m.resize(900, 700);
    pump();
    SETTINGS_REC disk = w.settings_on_disk();
    EXPECT_EQ(disk.WIN_WIDTH, 13500);
    EXPECT_EQ(disk.WIN_HEIGHT, 10500);
    EXPECT_EQ(disk.WIN_LEFT, m.x() * 15);
    EXPECT_EQ(disk.WIN_TOP, m.y() * 15);
    EXPECT_EQ(disk.WIN_STATE, 0);
    QWidget* client = m.centralWidget();
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("wb"))->geometry(),
              QRect(240, 35, client->width() - 240, client->height() - 35));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraTOOLBAR"))->width(), client->width() - 240);
    EXPECT_EQ(w.find<LineShape>(QStringLiteral("lineTOP"))->p2(), QPoint(client->width() - 241, 0));

    // Maximised: only the state is saved.
    m.showMaximized();
    pump();
    disk = w.settings_on_disk();
    EXPECT_EQ(disk.WIN_STATE, 2);
    EXPECT_EQ(disk.WIN_WIDTH, 13500);
    EXPECT_EQ(disk.WIN_HEIGHT, 10500);

    // Restored: back at the placement saved before.
    m.showNormal();
    pump();
    EXPECT_EQ(m.size(), QSize(900, 700));
    disk = w.settings_on_disk();
    EXPECT_EQ(disk.WIN_STATE, 0);
    EXPECT_EQ(disk.WIN_WIDTH, 13500);

    // Minimised: nothing is saved.
    std::filesystem::remove(w.settings_file());
    m.showMinimized();
    pump();
    EXPECT_FALSE(std::filesystem::exists(w.settings_file()));
    m.showNormal();
    pump();

    // A move is kept in memory, so applying the settings leaves the window where it is.
    m.move(40, 50);
    pump();
    EXPECT_EQ(w.settings().WIN_LEFT, 600);
    EXPECT_EQ(w.settings().WIN_TOP, 750);
    m.APPLY_SETTINGS();
    EXPECT_EQ(m.pos(), QPoint(40, 50));

    // While the settings are applied the stored placement wins.
    w.settings().WIN_WIDTH = 12750;
    w.settings().WIN_HEIGHT = 9750;
    m.APPLY_SETTINGS();
    pump();
    EXPECT_EQ(m.size(), QSize(850, 650));
}

TEST_F(FrmMainTest, LayoutsPlaceThePanelsAndTheListTakesTheExtraHeight) {
    FrmMain& m = w.main();
    struct Tops {
        int map, buttons, list, vamp_buttons, info;
    };
    const Tops tops[4] = {{0, 3640, 5272, 5980, 6500},
                          {1680, 40, 5272, 5980, 6500},
                          {1860, 5500, 7132, 7840, -40},
                          {3540, 1900, 7132, 7840, -40}};
    for (int16_t layout = 0; layout < 4; ++layout) {
        w.settings().LAYOUT = layout;
        w.ui->FORCE_LAYOUT(layout);
        const int extra = std::max(0, m.centralWidget()->height() * 15 - 8310);
        const Tops& t = tops[layout];
        const int info = layout < 2 ? t.info + extra : t.info;
        EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraMAP"))->y(), px(t.map)) << layout;
        EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraBUTTONS"))->y(), px(t.buttons)) << layout;
        EXPECT_EQ(w.find<QWidget>(QStringLiteral("lstVAMP"))->y(), px(t.list)) << layout;
        EXPECT_EQ(w.find<QWidget>(QStringLiteral("lstVAMP"))->height(),
                  px(t.list + 705 + extra) - px(t.list))
            << layout;
        EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraVAMP_BUTTONS"))->y(),
                  px(t.vamp_buttons + extra))
            << layout;
        EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraINFO"))->y(), px(info)) << layout;
        for (const char* name : {"fraMAP", "fraBUTTONS", "lstVAMP", "fraVAMP_BUTTONS", "fraINFO"})
            EXPECT_EQ(w.find<QWidget>(QLatin1String(name))->x(), 0);
    }
    // The list stretches with the window; the panels below it follow.
    w.settings().LAYOUT = 0;
    w.ui->FORCE_LAYOUT(0);
    m.resize(800, 700);
    pump();
    const int extra = m.centralWidget()->height() * 15 - 8310;
    ASSERT_GT(extra, 0);
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("lstVAMP"))->height(),
              px(5272 + 705 + extra) - px(5272));
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraINFO"))->y(), px(6500 + extra));

    // Layout 4 places like layout 0 but does not stretch; 8 is no layout at all.
    const std::array<int16_t, 12> zero = w.settings().LAYOUT_POS;
    w.ui->FORCE_LAYOUT(4);
    EXPECT_EQ(w.settings().LAYOUT_POS[0], zero[0]);
    EXPECT_EQ(w.settings().LAYOUT_POS[8], zero[8]);
    w.settings().LAYOUT = 4;
    m.APPLY_LAYOUT();
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraINFO"))->y(), px(6500));
    EXPECT_THROW(w.ui->FORCE_LAYOUT(8), RuntimeError);
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
    EXPECT_TRUE(w.workers.calls.filter(QStringLiteral("LOGIN_CURRENT")).isEmpty());

    std::filesystem::remove(w.settings_file());
    std::filesystem::remove(w.vamp_file());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(std::filesystem::exists(w.settings_file()));
    EXPECT_TRUE(std::filesystem::exists(w.vamp_file()));
    EXPECT_EQ(w.state->db.CUR_VAMP, 2);
    // Beta logs in automatically, with the close question held back meanwhile.
    ASSERT_EQ(w.workers.calls.filter(QStringLiteral("LOGIN_CURRENT")).size(), 1);
    EXPECT_TRUE(w.workers.quiet.back());
    EXPECT_FALSE(w.main().NO_EXIT_PROMPT);
    auto* centre = w.find<LabelBox>(QStringLiteral("TILE(4)"));
    EXPECT_TRUE(centre->toolTip().endsWith(QStringLiteral("(X:  50  Y:  50)")));

    // The entry's item data names the record, whatever its place in the list.
    list->item(0)->setData(Qt::UserRole, 2);
    list->setCurrentRow(0);
    EXPECT_EQ(w.state->db.CUR_VAMP, 2);

    // Without the window's auto-login box nobody logs in.
    w.workers.calls.clear();
    QTest::mouseClick(w.find<QCheckBox>(QStringLiteral("chkAUTOLOGIN")), Qt::LeftButton, {},
                      QPoint(5, 6));
    EXPECT_EQ(w.settings().AUTOLOGIN_ENABLED, kFalse);
    EXPECT_FALSE(w.find<QCheckBox>(QStringLiteral("chkAUTOLOGIN"))->isChecked());
    EXPECT_EQ(w.settings_on_disk().AUTOLOGIN_ENABLED, kFalse);
    EXPECT_GT(w.wb().focus_calls, 0);
    list->setCurrentRow(1);
    EXPECT_TRUE(w.workers.calls.filter(QStringLiteral("LOGIN_CURRENT")).isEmpty());
}

TEST_F(FrmMainTest, ClosingAsksOnceAndNoKeepsEverythingRunning) {
    FrmMain& m = w.main();
    std::filesystem::remove(w.settings_file());
    std::filesystem::remove(w.vamp_file());
    w.world.prompts.answer(MsgResult::No);
    EXPECT_FALSE(m.close());
    EXPECT_TRUE(m.isVisible());
    ASSERT_EQ(w.world.prompts.shown.size(), 1u);
    EXPECT_EQ(w.world.prompts.shown[0],
              (ShownBox{"Are you sure you want to quit..?", MsgButtons::YesNo, MsgIcon::Question,
                        "Just thought I'd ask..."}));
    EXPECT_TRUE(std::filesystem::exists(w.settings_file()));
    EXPECT_TRUE(std::filesystem::exists(w.vamp_file()));
    EXPECT_EQ(w.quits, 0);

    w.world.prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(m.close());
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(w.world.prompts.shown.size(), 2u);
    EXPECT_EQ(w.quits, 1);
    EXPECT_FALSE(m.tmrRIP()->isActive());
}

TEST_F(FrmMainTest, TrackingFollowsPagesAndPosts) {
    FakeBrowser& wb = w.wb();
    QTimer* rip = w.main().tmrRIP();
    EXPECT_FALSE(rip->isActive());
    wb.completeNavigation();  // the blank page
    EXPECT_EQ(rip->interval(), 150);
    EXPECT_TRUE(rip->isActive());

    // "Standard": the crossing in the centre cell puts the character on it.
    wb.completeNavigation();  // the welcome page
    wb.body_html = neighbourhood(QStringLiteral("Aardvark and 1st"));
    w.main().tmrRIP_Timer();
    EXPECT_EQ(w.me().POS_X, 1);
    EXPECT_EQ(w.me().POS_Y, 1);
    EXPECT_FALSE(rip->isActive());
    EXPECT_TRUE(w.find<LabelBox>(QStringLiteral("TILE(4)"))
                    ->toolTip()
                    .endsWith(QStringLiteral("(X:  1  Y:  1)")));

    // A page without the table is read again 150 ms later.
    wb.body_html = QStringLiteral("<P>No map here</P>");
    wb.completeNavigation();
    w.main().tmrRIP_Timer();
    EXPECT_TRUE(rip->isActive());
    EXPECT_EQ(rip->interval(), 150);

    // An answer about a page that a newer one has replaced is dropped.
    wb.defer_reads = true;
    w.main().tmrRIP_Timer();
    EXPECT_FALSE(rip->isActive());
    wb.body_html = neighbourhood(QStringLiteral("Bison and 2nd"));
    wb.completeNavigation();
    wb.answerReads();
    EXPECT_EQ(w.me().POS_X, 1);
    EXPECT_TRUE(rip->isActive());
    wb.defer_reads = false;

    // "Precognition": a move post with action points left predicts the position and skips
    // the read of the page that follows.
    NavigationRequest post;
    post.url = QString::fromStdString(GAME_URL());
    post.post_data = QByteArrayLiteral("action=move&x=12&y=34");
    post.countdown_ap = FormFieldRead{FormFieldRead::Status::Value, QStringLiteral("5")};
    wb.fireBeforeNavigate2(post);
    EXPECT_EQ(w.me().POS_X, 12);
    EXPECT_EQ(w.me().POS_Y, 34);
    EXPECT_TRUE(w.main().tracker().POSITION_PREDICTED);
    EXPECT_EQ(read_bytes(w.world.folder / "POSTDATA.txt"), "\"action=move&x=12&y=34\r\n\"\r\n");
    EXPECT_TRUE(w.find<LabelBox>(QStringLiteral("TILE(4)"))
                    ->toolTip()
                    .endsWith(QStringLiteral("(X:  12  Y:  34)")));
    wb.completeNavigation();
    EXPECT_FALSE(rip->isActive());

    // The check mark, not the setting, switches "Precognition".
    w.settings().AUTONAV_PRECOG = kFalse;
    w.main().APPLY_SETTINGS();
    post.post_data = QByteArrayLiteral("action=move&x=20&y=20");
    wb.fireBeforeNavigate2(post);
    EXPECT_EQ(w.me().POS_X, 12);
    EXPECT_FALSE(w.main().tracker().POSITION_PREDICTED);
}

TEST_F(FrmMainTest, ClicksReachTheirWorkersAndHandlers) {
    RecordingWorkers& rec = w.workers;
    rec.calls.clear();
    w.find<QAction>(QStringLiteral("mnuFileData(6)"))->trigger();
    ASSERT_EQ(rec.calls, QStringList{QStringLiteral("MENU_FILE 6")});
    EXPECT_TRUE(rec.quiet.back());
    EXPECT_FALSE(w.main().NO_EXIT_PROMPT);

    // A click leaves the check marks to the program.
    QAction* bank_line = w.find<QAction>(QStringLiteral("mnuNavData(0)"));
    ASSERT_TRUE(bank_line->isChecked());
    bank_line->trigger();
    EXPECT_TRUE(bank_line->isChecked());
    w.find<QAction>(QStringLiteral("mnuZoomData(4)"))->trigger();
    EXPECT_FALSE(w.find<QAction>(QStringLiteral("mnuZoomData(4)"))->isChecked());
    w.find<QAction>(QStringLiteral("mnuAutoNavData(1)"))->trigger();
    w.find<QAction>(QStringLiteral("mnuVampData(2)"))->trigger();
    w.find<QAction>(QStringLiteral("mnuOptData(2)"))->trigger();
    w.find<QAction>(QStringLiteral("mnuToolsData(3)"))->trigger();
    w.find<QAction>(QStringLiteral("mnuSkillsData(1)"))->trigger();
    w.find<QAction>(QStringLiteral("mnuLinksData(0)"))->trigger();
    w.find<QAction>(QStringLiteral("mnuHelpData(2)"))->trigger();
    QMetaObject::invokeMethod(w.find<QMenu>(QStringLiteral("mnuOptData(0)")), "aboutToShow");
    QTest::mouseClick(w.find<QPushButton>(idx("cmdCOMMAND", 5)), Qt::LeftButton);
    const int focus = w.wb().focus_calls;
    QTest::mouseClick(w.find<QPushButton>(idx("cmdVAMP", 2)), Qt::LeftButton);
    EXPECT_EQ(w.wb().focus_calls, focus + 1);
    EXPECT_EQ(rec.calls,
              (QStringList{QStringLiteral("MENU_FILE 6"), QStringLiteral("MENU_NAVLINES 0"),
                           QStringLiteral("MENU_ZOOM 4"), QStringLiteral("MENU_AUTONAV 1"),
                           QStringLiteral("MENU_VAMP 2"), QStringLiteral("MENU_OPTIONS 2"),
                           QStringLiteral("MENU_TOOLS 3"), QStringLiteral("MENU_SKILLS 1"),
                           QStringLiteral("MENU_LINKS 0"), QStringLiteral("MENU_HELP 2"),
                           QStringLiteral("MENU_OPTIONS 0"), QStringLiteral("BUTTON_COMMAND 5"),
                           QStringLiteral("BUTTON_VAMP 2")}));

    // "ToolBar?" is the window's own: in memory only.
    std::filesystem::remove(w.settings_file());
    w.find<QAction>(QStringLiteral("mnuOptData(3)"))->trigger();
    EXPECT_EQ(w.settings().TOOLBAR, kFalse);
    EXPECT_FALSE(w.find<QAction>(QStringLiteral("mnuOptData(3)"))->isChecked());
    EXPECT_TRUE(w.find<QWidget>(QStringLiteral("fraTOOLBAR"))->isHidden());
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("wb"))->y(), 0);
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("wb"))->height(), w.main().centralWidget()->height());
    EXPECT_FALSE(std::filesystem::exists(w.settings_file()));
    w.find<QAction>(QStringLiteral("mnuOptData(3)"))->trigger();
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("wb"))->y(), 35);
    EXPECT_FALSE(w.find<QWidget>(QStringLiteral("fraTOOLBAR"))->isHidden());

    // The hidden browser menu drives the game browser.
    for (int i = 0; i < 3; ++i)
        w.find<QAction>(idx("mnuWBdata", i))->trigger();
    EXPECT_EQ(w.wb().back_calls, 1);
    EXPECT_EQ(w.wb().forward_calls, 1);
    EXPECT_EQ(w.wb().refresh2_calls, 1);

    // Toolbar: pressed look while down; 4-7 are the File menu's screen-shot commands.
    auto* shot = w.find<PictureBox>(idx("tbBUTTON", 4));
    EXPECT_EQ(shot->picture(), 5);
    QTest::mousePress(shot, Qt::LeftButton);
    EXPECT_EQ(shot->picture(), 13);
    rec.calls.clear();
    QTest::mouseRelease(shot, Qt::LeftButton);
    EXPECT_EQ(shot->picture(), 5);
    EXPECT_EQ(rec.calls, QStringList{QStringLiteral("MENU_FILE 0")});
    EXPECT_TRUE(rec.quiet.back());
    const int file_index[4] = {0, 1, 3, 4};
    for (int i = 4; i < 8; ++i) {
        rec.calls.clear();
        QTest::mouseClick(w.find<PictureBox>(idx("tbBUTTON", i)), Qt::LeftButton);
        EXPECT_EQ(rec.calls, QStringList{QStringLiteral("MENU_FILE %1").arg(file_index[i - 4])});
    }
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(w.find<PictureBox>(idx("tbBUTTON", i)), Qt::LeftButton);
    EXPECT_EQ(w.wb().back_calls, 2);
    EXPECT_EQ(w.wb().forward_calls, 2);
    EXPECT_EQ(w.wb().refresh_calls, 1);
    EXPECT_EQ(w.wb().stop_calls, 1);

    // The three choice pictures.
    QTest::mouseClick(w.find<PictureBox>(idx("imgDIST", 2)), Qt::LeftButton);
    EXPECT_EQ(w.state->NAV_CHOICE, 2);
    EXPECT_EQ(w.find<PictureBox>(idx("imgDIST", 0))->picture(), 0);
    EXPECT_EQ(w.find<PictureBox>(idx("imgDIST", 1))->picture(), 1);
    EXPECT_EQ(w.find<PictureBox>(idx("imgDIST", 2))->picture(), 5);

    // A tile click moves the character to that tile's cell.
    w.settings().ZOOM = 5;
    w.main().APPLY_SETTINGS();
    w.main().BUILD_MAP();
    QTest::mouseClick(w.find<LabelBox>(idx("TILE", 0)), Qt::LeftButton);
    EXPECT_EQ(w.me().POS_X, 99);
    EXPECT_EQ(w.me().POS_Y, 99);

    // The snap-shot timer fires once.
    w.main().set_pic_interval(500);
    EXPECT_TRUE(w.main().tmrPIC()->isActive());
    rec.calls.clear();
    w.main().tmrPIC_Timer();
    EXPECT_FALSE(w.main().tmrPIC()->isActive());
    EXPECT_EQ(rec.calls, QStringList{QStringLiteral("SNAPSHOT_BMP")});

    const int unloads = rec.splash_unloads;
    w.main().Form_Activate();
    EXPECT_EQ(rec.splash_unloads, unloads + 1);
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
    EXPECT_EQ(w.state->services.vamp_list, &w.main().vamp_list());
}

TEST_F(FrmMainTest, LooksRight) {
    // Pictures of the window for a person to look at; the redraw's cost is printed.
    stand(96, 100);
    w.main().resize(1000, 640);
    pump();
    const QString dir = QStringLiteral(ZEKO_BUILD_DIR);
    EXPECT_TRUE(w.main().grab().save(dir + QStringLiteral("/frm_main_pictures.png")));
    view(11, false);
    stand(96, 100);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 20; ++i) {
        w.me().POS_X = static_cast<int16_t>(90 + (i % 2) * 10);
        w.main().BUILD_MAP();
    }
    std::cout << "BUILD_MAP at zoom 11 with its display: " << timer.nsecsElapsed() / 20000
              << " us\n";
    stand(96, 100);
    EXPECT_TRUE(w.main().grab().save(dir + QStringLiteral("/frm_main_colours.png")));
}

}  // namespace
}  // namespace zeko::testing
