#include "tools/ui/frm_skills.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>

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

TEST_F(FrmSkillsTest, OpensSortedOnBattleCloakShowsAClickedSkillAndRebuildsOnReopening) {
    for (int round = 0; round < 2; ++round) {
        open();
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Skill Information..."));
        EXPECT_EQ(f.parentWidget(), &owner);
        EXPECT_EQ(child<QPushButton>(f, "cmdCOMMAND")->text(), QStringLiteral("&DONE"));
        const QStringList shown = entries(list());
        ASSERT_EQ(shown.size(), 26);
        EXPECT_EQ(shown.mid(11, 4),
                  (QStringList{"  Second Sight", "  Shadows 1", "  Shadows 2", "  Shadows 3"}));
        EXPECT_EQ(list()->currentRow(), 0);
        EXPECT_EQ(text_lines().first(), QStringLiteral("Battle Cloak"));
        click_entry(list(), "  Perception");
        EXPECT_EQ(
            text_lines().mid(0, 10),
            (QStringList{"Perception", "", "Allurists Guild (All)", "", "Price: 7500 Coin.", "",
                         "Skill Description: ", text_lines()[7], "", "Quest 'n' stuff: "}));
        click(child<QPushButton>(f, "cmdCOMMAND"));
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.result(), QDialog::Accepted);
    }
}

}  // namespace
}  // namespace zeko::testing
