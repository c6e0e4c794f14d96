#include "tools/ui/frm_skills.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>

#include "main/ui/vb_widgets.h"
#include "support/qt/qt_support.h"
#include "tool_windows.h"

namespace zeko::testing {
namespace {

class FrmSkillsTest : public ::testing::Test {
  protected:
    void open() {
        f.show();
        pump();
    }
    QListWidget* list() { return child<QListWidget>(f, "lstSKILLS"); }
    QStringList text_lines() {
        return child<QPlainTextEdit>(f, "txtSKILLS")->toPlainText().split('\n');
    }

    QWidget owner;
    ui::FrmSkills f{&owner};
};

TEST_F(FrmSkillsTest, OpensSortedOnBattleCloak) {
    open();
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Skill Information..."));
    EXPECT_TRUE(f.isModal());
    EXPECT_EQ(f.parentWidget(), &owner);
    EXPECT_EQ(list()->geometry(), ui::twips_rect(75, 60, 1755, 3795));
    EXPECT_EQ(child<QPushButton>(f, "cmdCOMMAND")->text(), QStringLiteral("&DONE"));
    const QStringList shown = entries(list());
    ASSERT_EQ(shown.size(), 26);
    EXPECT_EQ(shown.first(), QStringLiteral("  Battle Cloak"));
    EXPECT_EQ(shown.mid(11, 4),
              (QStringList{"  Second Sight", "  Shadows 1", "  Shadows 2", "  Shadows 3"}));
    EXPECT_EQ(shown.last(), QStringLiteral("  Thievery 3"));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(text_lines().first(), QStringLiteral("Battle Cloak"));
}

TEST_F(FrmSkillsTest, ClickingShowsTheSkillAndReopeningRebuildsTheList) {
    open();
    click_entry(list(), "  Perception");
    const QStringList lines = text_lines();
    EXPECT_EQ(lines.mid(0, 7), (QStringList{"Perception", "", "Allurists Guild (All)", "",
                                            "Price: 7500 Coin.", "", "Skill Description: "}));
    EXPECT_EQ(lines.mid(8, 3), (QStringList{"", "Quest 'n' stuff: ",
                                            "Your quest is to hunt down a Vampire Hunter (green "
                                            "human) and kill it within 10 days of starting the "
                                            "quest. Happy Hunting!"}));
    EXPECT_TRUE(f.grab().save(QStringLiteral(ZEKO_BUILD_DIR "/frm_skills.png")));
    click(child<QPushButton>(f, "cmdCOMMAND"));
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    open();
    EXPECT_EQ(list()->count(), 26);
    EXPECT_EQ(text_lines().first(), QStringLiteral("Battle Cloak"));
}

}  // namespace
}  // namespace zeko::testing
