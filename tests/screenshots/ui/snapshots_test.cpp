#include "screenshots/ui/snapshots.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>

#include <vector>

#include "main/program_state.h"
#include "screenshots/shot_names.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

QImage rgb(const QImage& image, const QRect& rect) {
    return image.copy(rect).convertToFormat(QImage::Format_RGB32);
}

TEST(Snapshots, APictureOfTheWindowWithTheListsTextHiddenInANewBitmapFile) {
    TestWorld world;
    world.clock.time = {2026, 12, 5, 10, 0, 0, 0};
    ProgramState state(world.folder.path(), world.services());
    state.settings.SETTINGS.PIC = default_pic_configs();

    QWidget window;
    window.resize(240, 160);
    ui::set_palette_colors(&window, {{QPalette::Window, ui::kGround}});
    window.setAutoFillBackground(true);
    auto* list = new QListWidget(&window);
    list->setGeometry(10, 10, 150, 120);
    list->setFrameShape(QFrame::NoFrame);
    ui::set_palette_colors(list,
                           {{QPalette::Base, ui::kListBack}, {QPalette::Text, ui::kListText}});
    list->addItems({"Handle One", "Handle Two", "Handle Three"});
    list->setCurrentRow(1);
    window.show();
    pump();
    const QPalette shown = list->palette();

    std::vector<bool> hides;
    ui::Snapshots shots(state, &window, [&](bool hidden) {
        hides.push_back(hidden);
        ui::set_list_text_hidden(list, hidden);
    });
    const ShotResult first = shots.SNAPSHOT_BMP();
    ASSERT_EQ(first.outcome, ShotOutcome::Written) << first.reason;
    EXPECT_EQ(hides, (std::vector<bool>{true, false}));
    EXPECT_EQ(list->palette(), shown);

    const QImage saved(QString::fromStdString(first.path.string()), "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), window.size());
    const QImage now = window.grab().toImage();
    // Around the list the file holds the window as it is drawn; on the list, the list as it
    // would be drawn without its entries' texts.
    for (const QRect& outside : {QRect(0, 0, 240, 10), QRect(160, 0, 80, 160)})
        EXPECT_EQ(rgb(saved, outside), rgb(now, outside));
    const QRect on_list = list->geometry();
    const QImage with_text = rgb(now, on_list);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setText(QString());
    const QImage without_text = rgb(window.grab().toImage(), on_list);
    EXPECT_NE(with_text, without_text);
    EXPECT_EQ(rgb(saved, on_list), without_text);

    EXPECT_TRUE(world.prompts.shown.empty());
}

}  // namespace
}  // namespace zeko::testing
