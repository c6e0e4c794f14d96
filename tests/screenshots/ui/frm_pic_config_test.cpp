#include "screenshots/ui/frm_pic_config.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "main/program_state.h"
#include "screenshots/shot_names.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"
#include "support/world.h"
#include "tools/ui/tool_windows.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

using ui::FrmPICConfig;
using ui::twips_rect;

const ShownBox kInteresting{
    "It appears that image settings have not previously been configured; Z.E.K.O.\xC2\xB2 will "
    "load defaults.",
    MsgButtons::OK, MsgIcon::Information, "Interesting..."};
const ShownBox kAskReset{"Are you sure you want to restore the default screen shot settings?",
                         MsgButtons::YesNo, MsgIcon::None, "Just thought I'd ask..."};

// The box for a header that cannot be part of a file name, pressing OK.
ShownBox refused_box(const std::string& kind, const std::string& character) {
    return {"The " + kind + " header contains the character " + character +
                ", which cannot be part of a file name: screen shots are always written into the "
                "program's folder. Please remove it and try again.",
            MsgButtons::OK, MsgIcon::Exclamation, "Not a file name..."};
}

const QString kDefaultSamples[3] = {"ZEKO2_SNAPSHOT - 26.12.05 - 0000.BMP",
                                    "ZEKO2_HTML&CSS_DUMP - 26.12.05 - 0000.HTML",
                                    "ZEKO2_HTML_DUMP - 26.12.05 - 0000.HTML"};

class FrmPICConfigTest : public ::testing::Test {
  protected:
    FrmPICConfigTest() : state(world.folder.path(), world.services()) {
        world.clock.time = {2026, 12, 5, 10, 0, 0, 0};
        state.settings.SETTINGS.PIC = default_pic_configs();
    }
    std::vector<QString> samples(const FrmPICConfig& d) {
        return {d.lblSAMPLE(0)->text(), d.lblSAMPLE(1)->text(), d.lblSAMPLE(2)->text()};
    }
    std::filesystem::path settings_file() { return world.folder / "SETTINGS.DAT"; }

    TestWorld world;
    ProgramState state;
    RecordingWindows windows;
};

TEST_F(FrmPICConfigTest, ControlsTextsAndRows) {
    FrmPICConfig d(state, windows, nullptr);
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Snap Shot Configuration..."));
    EXPECT_EQ(d.fra()->title(), "Filename Formats (header - date - snapshot number)");
    const std::pair<QWidget*, QString> texts[] = {{d.lbl(0), "Snap Shot:"},
                                                  {d.lbl(1), "HTML & CSS Dump:"},
                                                  {d.lbl(2), "HTML Dump:"},
                                                  {d.txtHEADER(1), "ZEKO2_HTML&CSS_DUMP"},
                                                  {d.lblSAMPLE(0), kDefaultSamples[0]},
                                                  {d.cmdCOMMAND(0), "&OK"},
                                                  {d.cmdCOMMAND(1), "&Cancel"},
                                                  {d.cmdCOMMAND(2), "&Help"},
                                                  {d.cmdCOMMAND(3), "&Reset Defaults"}};
    for (const auto& [widget, text] : texts)
        EXPECT_EQ(widget->property("text").toString(), text) << text.toStdString();
    EXPECT_EQ(d.cmdCOMMAND(3)->geometry(), twips_rect(4028, 2880, 1275, 375));
    EXPECT_EQ(d.cboDATE(2)->itemText(2), "YYYY-MM-DD");
    EXPECT_EQ(d.cboDATE(2)->currentIndex(), 7);
    EXPECT_TRUE(world.prompts.shown.empty());
    d.cmdCOMMAND_Click(2);
    EXPECT_EQ(windows.help, (std::vector<std::pair<int16_t, QWidget*>>{{26, &d}}));
}

TEST_F(FrmPICConfigTest, EachKeystrokeAndDateChoiceRedoesOnlyItsRowsSample) {
    state.settings.SETTINGS.PIC[1].DATE_FORMAT = 12;  // not in the list: the default pattern
    const auto stored = state.settings.SETTINGS.PIC;
    FrmPICConfig d(state, windows, nullptr);
    EXPECT_EQ(d.cboDATE(1)->currentIndex(), 7);
    d.txtHEADER(1)->selectAll();
    QTest::keyClick(d.txtHEADER(1), Qt::Key_Backspace);
    EXPECT_EQ(d.lblSAMPLE(1)->text(), " - 26.12.05 - 0000.HTML");
    QTest::keyClicks(d.txtHEADER(1), "P");
    d.cboDATE(0)->setCurrentIndex(2);
    EXPECT_EQ(samples(d), (std::vector<QString>{"ZEKO2_SNAPSHOT - 2026-12-05 - 0000.BMP",
                                                "P - 26.12.05 - 0000.HTML", kDefaultSamples[2]}));
    // A header longer than the record holds is not taken.
    QTest::keyClicks(d.txtHEADER(2), QString(60, 'x'));
    EXPECT_EQ(d.WORK_PIC[2].HEADER_LEN, 50);
    EXPECT_TRUE(state.settings.SETTINGS.PIC == stored);
    EXPECT_FALSE(std::filesystem::exists(settings_file()));
}

TEST_F(FrmPICConfigTest, ResetDefaultsAsksAndOnlyOkKeepsTheResult) {
    state.settings.SETTINGS.PIC[0].set_header("Mine");
    state.settings.SAVE_SETTINGS();
    const std::string before = read_bytes(settings_file());
    {
        FrmPICConfig d(state, windows, nullptr);
        world.prompts.answer(MsgResult::No);
        d.cmdCOMMAND_Click(3);
        EXPECT_EQ(d.txtHEADER(0)->text(), "Mine");
        world.prompts.answer(MsgResult::Yes);
        d.cmdCOMMAND_Click(3);
        EXPECT_EQ(d.lblSAMPLE(0)->text(), kDefaultSamples[0]);
        d.cmdCOMMAND_Click(1);
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }
    EXPECT_EQ(world.prompts.shown, (std::vector<ShownBox>{kAskReset, kAskReset}));
    EXPECT_EQ(read_bytes(settings_file()), before);
    EXPECT_EQ(state.settings.SETTINGS.PIC[0].header(), "Mine");
}

TEST_F(FrmPICConfigTest, NeverConfiguredShowsDefaultsAndAHeaderLeavingTheFolderIsRefused) {
    state.settings.SETTINGS.PIC = {};
    FrmPICConfig d(state, windows, nullptr);
    EXPECT_EQ(samples(d),
              std::vector<QString>(std::begin(kDefaultSamples), std::end(kDefaultSamples)));
    d.txtHEADER(2)->setText("../shots");
    d.cmdCOMMAND_Click(0);
    EXPECT_EQ(world.prompts.shown,
              (std::vector<ShownBox>{kInteresting, refused_box("HTML Dump", "\"/\"")}));
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_FALSE(std::filesystem::exists(settings_file()));
    d.txtHEADER(2)->setText("shots");
    d.cmdCOMMAND_Click(0);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    auto stored = default_pic_configs();
    stored[2].set_header("shots");
    EXPECT_EQ(settings_on_disk(settings_file()).PIC, stored);
}

TEST_F(FrmPICConfigTest, AStoredHeaderWithALineBreakIsRefusedAsASeparatorIs) {
    state.settings.SETTINGS.PIC[1].set_header("two\nlines");
    FrmPICConfig d(state, windows, nullptr);
    d.cmdCOMMAND_Click(0);
    EXPECT_EQ(world.prompts.shown,
              std::vector<ShownBox>{refused_box("HTML & CSS Dump", "LF (character code 10)")});
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_FALSE(std::filesystem::exists(settings_file()));
}

}  // namespace
}  // namespace zeko::testing
