#include "main/ui/frm_layout.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/errors.h"
#include "main/ui/vb_widgets.h"
#include "ui_world.h"

namespace zeko::testing {
namespace {

using ui::FrmLayout;
using ui::PictureBox;
using ui::px;

class FrmLayoutTest : public ::testing::Test {
  protected:
    FrmLayoutTest() {
        w.add_vamp("Alpha", 101, 101);
        w.start();
    }

    FrmLayout& chooser() { return w.ui->frmLAYOUT(); }
    template <class T>
    T* find(const char* name) {
        return chooser().findChild<T*>(QLatin1String(name));
    }
    QListWidget* list() { return find<QListWidget>("lstSETUP"); }
    // Where a preview stands, as (top, left) in twips of the table.
    QPoint at(int16_t top, int16_t left) { return QPoint(px(left), px(top)); }
    int panel_top(const char* name) { return w.find<QWidget>(QLatin1String(name))->y(); }

    UiWorld w;
};

TEST_F(FrmLayoutTest, WindowHasItsControlsCaptionAndColours) {
    FrmLayout& f = chooser();
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Program Layout..."));
    EXPECT_EQ(f.size(), QSize(422, 155));
    EXPECT_EQ(f.palette().color(QPalette::Window), QColor(0, 48, 0));
    EXPECT_EQ(list()->palette().color(QPalette::Base), QColor(64, 64, 64));
    EXPECT_EQ(list()->palette().color(QPalette::Text), QColor(128, 255, 128));
    EXPECT_EQ(list()->geometry(), QRect(206, 66, 213, 59));
    ASSERT_EQ(list()->count(), 4);
    EXPECT_EQ(list()->item(0)->text(), QStringLiteral("Layout 1 (Default)"));
    EXPECT_EQ(list()->item(3)->text(), QStringLiteral("Layout 4"));
    EXPECT_EQ(find<PictureBox>("imgFORM")->geometry(), QRect(2, 2, 200, 150));
    EXPECT_EQ(find<PictureBox>("imgSPLASH")->geometry(), QRect(204, 0, 216, 60));
    EXPECT_FALSE(find<PictureBox>("imgSPLASH")->pixmap().isNull());
    const std::pair<const char*, QSize> previews[] = {
        {"imgMINIMAP", QSize(60, 60)},   {"imgBUTTONS", QSize(60, 28)},
        {"imgVAMP_LIST", QSize(60, 12)}, {"imgVAMP_BUTTONS", QSize(60, 9)},
        {"imgNAV_INFO", QSize(60, 31)},  {"imgMINIWB", QSize(138, 139)}};
    for (const auto& [name, size] : previews) {
        ASSERT_NE(find<PictureBox>(name), nullptr) << name;
        EXPECT_EQ(find<PictureBox>(name)->size(), size) << name;
        EXPECT_FALSE(find<PictureBox>(name)->pixmap().isNull()) << name;
    }
    const char* const captions[3] = {"&OK", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        auto* b = f.findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QLatin1String(captions[i]));
        EXPECT_EQ(b->geometry(), QRect(206 + 72 * i, 128, 69, 25));
    }
    EXPECT_EQ(f.parentWidget(), &w.main());
    EXPECT_TRUE(f.LAYOUTS_BUILT);
    EXPECT_EQ(f.LAYOUT_TABLE()[2][8], 180);

    f.show();
    pump();
    EXPECT_TRUE(f.grab().save(QStringLiteral(ZEKO_BUILD_DIR "/frm_layout.png")));
    f.close();
}

TEST_F(FrmLayoutTest, OpeningShowsTheStoredLayoutAndTheListMovesThePreviews) {
    w.settings().LAYOUT = 2;
    FrmLayout& f = chooser();
    f.show();
    pump();
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_EQ(find<PictureBox>("imgNAV_INFO")->pos(), at(180, 45));
    EXPECT_EQ(find<PictureBox>("imgMINIMAP")->pos(), at(645, 45));
    EXPECT_EQ(find<PictureBox>("imgVAMP_BUTTONS")->pos(), at(2145, 45));
    EXPECT_EQ(find<PictureBox>("imgMINIWB")->pos(), at(180, 945));

    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(1)).center());
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(find<PictureBox>("imgBUTTONS")->pos(), at(180, 45));
    EXPECT_EQ(find<PictureBox>("imgMINIMAP")->pos(), at(600, 45));
    EXPECT_EQ(find<PictureBox>("imgVAMP_LIST")->pos(), at(1500, 45));
    EXPECT_EQ(find<PictureBox>("imgNAV_INFO")->pos(), at(1815, 45));

    // Cancel leaves the layout, its positions and the main window as they were.
    const std::array<int16_t, 12> before = w.settings().LAYOUT_POS;
    const int map_top = panel_top("fraMAP");
    f.cmdCOMMAND_Click(1);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(w.settings().LAYOUT, 2);
    EXPECT_EQ(w.settings().LAYOUT_POS, before);
    EXPECT_EQ(panel_top("fraMAP"), map_top);

    // Opening again shows the stored layout once more.
    f.show();
    pump();
    EXPECT_EQ(list()->currentRow(), 2);
    f.close();
}

TEST_F(FrmLayoutTest, OkTakesTheChosenLayoutAndHelpAsksForItsTopic) {
    FrmLayout& f = chooser();
    f.show();
    pump();
    EXPECT_EQ(list()->currentRow(), 0);
    list()->setCurrentRow(2);
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(0)")), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(w.settings().LAYOUT, 2);
    EXPECT_EQ(w.settings().LAYOUT_POS[8], -40);
    EXPECT_EQ(w.settings().LAYOUT_POS[4], 7132);
    EXPECT_EQ(panel_top("fraINFO"), px(-40));
    EXPECT_EQ(panel_top("lstVAMP"), px(7132));
    EXPECT_EQ(panel_top("fraMAP"), px(1860));

    w.workers.calls.clear();
    f.show();
    pump();
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(2)")), Qt::LeftButton);
    EXPECT_EQ(w.workers.calls, QStringList{QStringLiteral("INIT_HELP 24")});
    EXPECT_TRUE(f.isVisible());
    f.close();
}

TEST_F(FrmLayoutTest, ForceLayoutWorksUnseenAndRefusesUnknownLayouts) {
    FrmLayout& f = chooser();
    EXPECT_FALSE(f.isVisible());
    f.FORCE_LAYOUT(7);
    EXPECT_EQ(w.settings().LAYOUT_POS[0], 3540);
    EXPECT_EQ(w.settings().LAYOUT_POS[2], 1900);
    EXPECT_EQ(w.settings().LAYOUT, 0);  // forcing does not choose
    EXPECT_THROW(f.FORCE_LAYOUT(-1), RuntimeError);
    EXPECT_THROW(f.FORCE_LAYOUT(8), RuntimeError);

    // A stored layout the list does not offer selects nothing; OK then changes nothing.
    w.settings().LAYOUT = 5;
    list()->clearSelection();
    f.show();
    pump();
    EXPECT_EQ(f.selected_row(), -1);
    f.cmdCOMMAND_Click(0);
    EXPECT_EQ(w.settings().LAYOUT, 5);
    EXPECT_FALSE(f.isVisible());
}

}  // namespace
}  // namespace zeko::testing
