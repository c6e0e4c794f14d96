#include "main/ui/frm_layout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/errors.h"
#include "ui_world.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

class FrmLayoutTest : public ::testing::Test {
  protected:
    FrmLayoutTest() {
        w.add_vamp("Alpha", 101, 101);
        w.start();
    }

    ui::FrmLayout& f() { return w.ui->frmLAYOUT(); }
    QListWidget* list() { return f().findChild<QListWidget*>(QStringLiteral("lstSETUP")); }
    void press(int i) {
        QTest::mouseClick(f().findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(%1)").arg(i)),
                          Qt::LeftButton);
    }
    void open() {
        f().show();
        pump();
    }
    // Where a preview stands, as "top,left" in twips of the table.
    QString preview(const char* name) {
        const QPoint p = f().findChild<ui::PictureBox*>(QLatin1String(name))->pos();
        return QStringLiteral("%1,%2").arg(p.y() * 15).arg(p.x() * 15);
    }
    // Every preview the list moves, in the order of the table's pairs.
    QStringList previews() {
        QStringList at;
        for (const char* name : {"imgMINIMAP", "imgBUTTONS", "imgVAMP_LIST", "imgVAMP_BUTTONS",
                                 "imgNAV_INFO", "imgMINIWB"})
            at << preview(name);
        return at;
    }

    UiWorld w;
};

TEST_F(FrmLayoutTest, OpeningShowsTheStoredLayoutTheListMovesThePreviewsAndCancelKeepsIt) {
    QStringList texts{f().windowTitle()};
    for (int i = 0; i < 4; ++i)
        texts << list()->item(i)->text();
    for (int i = 0; i < 3; ++i)
        texts << f().findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(%1)").arg(i))->text();
    EXPECT_EQ(texts, (QStringList{QString::fromUtf8("Z.E.K.O.\xC2\xB2: Program Layout..."),
                                  "Layout 1 (Default)", "Layout 2", "Layout 3", "Layout 4", "&OK",
                                  "&Cancel", "&Help"}));
    EXPECT_EQ(f().parentWidget(), &w.main());
    w.settings().LAYOUT = 2;
    open();
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_EQ(previews(),
              (QStringList{"645,45", "1545,45", "1965,45", "2145,45", "180,45", "180,945"}));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(1)).center());
    EXPECT_EQ(previews(),
              (QStringList{"600,45", "180,45", "1500,45", "1680,45", "1815,45", "180,945"}));
    // Cancel leaves the layout, its positions and the main window as they were.
    const std::array<int16_t, 12> before = w.settings().LAYOUT_POS;
    const int map_top = w.find(QStringLiteral("fraMAP"))->y();
    press(1);
    EXPECT_FALSE(f().isVisible());
    EXPECT_EQ(w.settings().LAYOUT, 2);
    EXPECT_EQ(w.settings().LAYOUT_POS, before);
    EXPECT_EQ(w.find(QStringLiteral("fraMAP"))->y(), map_top);
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

// OK on a chosen layout is followed from the menu in the workers' test.
TEST_F(FrmLayoutTest, HelpAsksForItsTopic) {
    w.windows.calls.clear();
    open();
    press(2);
    EXPECT_EQ(w.windows.calls, QStringList{QStringLiteral("INIT_HELP 24 frmLAYOUT")});
    EXPECT_TRUE(f().isVisible());
    f().close();
}

TEST_F(FrmLayoutTest, ForceLayoutWorksUnseenAndRefusesUnknownLayouts) {
    f().FORCE_LAYOUT(7);
    EXPECT_EQ(w.settings().LAYOUT_POS[0], 3540);
    EXPECT_EQ(w.settings().LAYOUT, 0);  // forcing does not choose
    EXPECT_FALSE(f().isVisible());
    EXPECT_THROW(f().FORCE_LAYOUT(-1), RuntimeError);
    EXPECT_THROW(f().FORCE_LAYOUT(8), RuntimeError);
    // A stored layout the list does not offer selects nothing; OK then changes nothing.
    w.settings().LAYOUT = 5;
    list()->clearSelection();
    open();
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    press(0);
    EXPECT_EQ(w.settings().LAYOUT, 5);
    EXPECT_FALSE(f().isVisible());
}

}  // namespace
}  // namespace zeko::testing
