#include "main/ui/frm_layout.h"

#include <gtest/gtest.h>

#include <QApplication>
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

    FrmLayout& f() { return w.ui->frmLAYOUT(); }
    QListWidget* list() { return f().findChild<QListWidget*>(QStringLiteral("lstSETUP")); }
    QPushButton* button(int i) {
        return f().findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(%1)").arg(i));
    }
    void open() {
        f().show();
        pump();
    }
    // Where the previews stand, as "name top,left" in twips of the table.
    QStringList previews(std::initializer_list<const char*> names) {
        QStringList at;
        for (const char* name : names) {
            const QPoint p = f().findChild<PictureBox*>(QLatin1String(name))->pos();
            at.append(QStringLiteral("%1 %2,%3").arg(name).arg(p.y() * 15).arg(p.x() * 15));
        }
        return at;
    }
    int panel_top(const char* name) { return w.find(QLatin1String(name))->y(); }

    UiWorld w;
};

TEST_F(FrmLayoutTest, WindowHasItsControlsAndCaption) {
    EXPECT_EQ(f().windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Program Layout..."));
    EXPECT_EQ(f().parentWidget(), &w.main());
    ASSERT_EQ(list()->count(), 4);
    EXPECT_EQ(list()->item(0)->text(), QStringLiteral("Layout 1 (Default)"));
    EXPECT_EQ(list()->item(3)->text(), QStringLiteral("Layout 4"));
    EXPECT_EQ(button(2)->text(), QStringLiteral("&Help"));
    EXPECT_EQ(f().LAYOUT_TABLE()[2][8], 180);
    open();
    EXPECT_TRUE(f().grab().save(QStringLiteral(ZEKO_BUILD_DIR "/frm_layout.png")));
    f().close();
}

TEST_F(FrmLayoutTest, OpeningShowsTheStoredLayoutTheListMovesThePreviewsAndCancelKeepsIt) {
    w.settings().LAYOUT = 2;
    open();
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_EQ(previews({"imgNAV_INFO", "imgMINIMAP", "imgVAMP_BUTTONS", "imgMINIWB"}),
              (QStringList{"imgNAV_INFO 180,45", "imgMINIMAP 645,45", "imgVAMP_BUTTONS 2145,45",
                           "imgMINIWB 180,945"}));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(1)).center());
    EXPECT_EQ(previews({"imgBUTTONS", "imgMINIMAP", "imgVAMP_LIST", "imgNAV_INFO"}),
              (QStringList{"imgBUTTONS 180,45", "imgMINIMAP 600,45", "imgVAMP_LIST 1500,45",
                           "imgNAV_INFO 1815,45"}));

    // Cancel leaves the layout, its positions and the main window as they were.
    const std::array<int16_t, 12> before = w.settings().LAYOUT_POS;
    const int map_top = panel_top("fraMAP");
    f().findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(1)"))->click();
    EXPECT_FALSE(f().isVisible());
    EXPECT_EQ(w.settings().LAYOUT, 2);
    EXPECT_EQ(w.settings().LAYOUT_POS, before);
    EXPECT_EQ(panel_top("fraMAP"), map_top);
    open();
    EXPECT_EQ(list()->currentRow(), 2);
    f().close();
}

TEST_F(FrmLayoutTest, ComingBackFromAnotherApplicationKeepsTheSelection) {
    open();
    QApplication::setActiveWindow(&f());
    list()->setCurrentRow(3);
    leave_and_come_back(&f());
    EXPECT_EQ(list()->currentRow(), 3);
    // Coming back from another of the program's windows is an activation.
    QApplication::setActiveWindow(&w.main());
    QApplication::setActiveWindow(&f());
    EXPECT_EQ(list()->currentRow(), 0);
    f().close();
}

TEST_F(FrmLayoutTest, OkTakesTheChosenLayoutAndHelpAsksForItsTopic) {
    open();
    EXPECT_EQ(list()->currentRow(), 0);
    list()->setCurrentRow(2);
    QTest::mouseClick(button(0), Qt::LeftButton);
    EXPECT_FALSE(f().isVisible());
    EXPECT_EQ(w.settings().LAYOUT, 2);
    EXPECT_EQ(w.settings().LAYOUT_POS[4], 7132);
    EXPECT_EQ(panel_top("fraINFO"), px(-40));
    EXPECT_EQ(panel_top("lstVAMP"), px(7132));
    EXPECT_EQ(panel_top("fraMAP"), px(1860));

    w.windows.calls.clear();
    open();
    QTest::mouseClick(button(2), Qt::LeftButton);
    EXPECT_EQ(w.windows.calls, QStringList{QStringLiteral("INIT_HELP 24 frmLAYOUT")});
    EXPECT_TRUE(f().isVisible());
    f().close();
}

TEST_F(FrmLayoutTest, ForceLayoutWorksUnseenAndRefusesUnknownLayouts) {
    EXPECT_FALSE(f().isVisible());
    f().FORCE_LAYOUT(7);
    EXPECT_EQ(w.settings().LAYOUT_POS[0], 3540);
    EXPECT_EQ(w.settings().LAYOUT_POS[2], 1900);
    EXPECT_EQ(w.settings().LAYOUT, 0);  // forcing does not choose
    EXPECT_THROW(f().FORCE_LAYOUT(-1), RuntimeError);
    EXPECT_THROW(f().FORCE_LAYOUT(8), RuntimeError);

    // A stored layout the list does not offer selects nothing; OK then changes nothing.
    w.settings().LAYOUT = 5;
    list()->clearSelection();
    open();
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    f().findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(0)"))->click();
    EXPECT_EQ(w.settings().LAYOUT, 5);
    EXPECT_FALSE(f().isVisible());
}

}  // namespace
}  // namespace zeko::testing
