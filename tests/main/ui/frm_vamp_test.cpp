#include "main/ui/frm_vamp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "common/errors.h"
#include "main/program_state.h"
#include "main/ui/vb_widgets.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"

namespace zeko::testing {
namespace {

using ui::FrmVampBase;
using ui::FrmVampEdit;
using ui::FrmVampNew;
using ui::twips_rect;

ShownBox box(std::string text, std::string title, MsgButtons buttons = MsgButtons::OK) {
    return {std::move(text), buttons, MsgIcon::Information, std::move(title)};
}

const ShownBox kHandleRequired = box("Please enter a handle and try again.", "Handle required...");
const ShownBox kUsernameRequired =
    box("You have selected the 'autologin' option. Please enter your vampire's name as it "
        "appears in the game.",
        "Username required...");
const ShownBox kPasswordRequired =
    box("You have selected the 'autologin' option. Please enter your vampire's password "
        "exactly as it is in the game.",
        "Password required...");
const ShownBox kHandleUsed = box(
    "The handle you have selected is already in use, please try another.", "Sorry mr. Smith...");
const ShownBox kPonders =
    box("There was an error creating the vampire record. Please try again or cancel.",
        "*ponders the redundancies...*", MsgButtons::OKCancel);

ShownBox too_long(const std::string& what) {
    return box(what +
                   " is too long: it can hold at most 255 characters. Please shorten it and "
                   "try again.",
               "Too long...");
}

// The controls that take the focus by Tab, in their order, starting at the focused one.
QString tab_chain(QWidget* dialog) {
    QWidget* first = dialog->focusWidget();
    QStringList order{first->objectName()};
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) != 0) order.append(w->objectName());
    return order.join(' ');
}

class FrmVampTest : public ::testing::Test {
  protected:
    FrmVampTest() : state(world.folder.path(), world.services()) {
        world.wire(state.db);
        // As after the start: the offer of an empty database has been made.
        state.db.CREATE_OFFERED = true;
        state.db.LOAD_DB();
    }

    // A stored character; it becomes the current one.
    int16_t add(const std::string& handle, const std::string& name, const std::string& password,
                VbBool autologin) {
        VAMP v;
        v.set_handle(handle);
        v.set_name(name);
        v.set_password(password);
        v.AUTOLOGIN = autologin;
        const int16_t index = state.db.CREATE_DB(v);
        EXPECT_NE(index, 0);
        state.db.CUR_VAMP = index;
        return index;
    }

    // Fills the dialog in and presses OK.
    static void enter(FrmVampBase& d, const std::string& handle, const std::string& name,
                      const std::string& password, bool autologin) {
        d.show();
        d.chkAutoLog()->setChecked(autologin);
        d.txtHANDLE()->setText(QString::fromStdString(handle));
        d.txtNAME()->setText(QString::fromStdString(name));
        d.txtPASSWORD()->setText(QString::fromStdString(password));
        d.cmdCOMMAND(0)->click();
    }

    std::vector<ShownBox>& shown() { return world.prompts.shown; }

    TestWorld world;
    ProgramState state;
    std::vector<int> help_topics;
    ui::HelpHook help = [this](int topic, QWidget*) { help_topics.push_back(topic); };
};

// What both dialogs share; each is shown and its picture saved for a person to look at.
void expect_controls(FrmVampBase& d, const char* caption, const char* picture) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8(caption));
    EXPECT_EQ(d.size(), QSize(309, 101));
    EXPECT_TRUE(d.isModal());
    QStringList texts;
    for (int i = 0; i < 4; ++i)
        texts.append(d.findChild<QLabel*>(QStringLiteral("label(%1)").arg(i))->text());
    texts << d.chkAutoLog()->text() << d.cmdCOMMAND(0)->text() << d.cmdCOMMAND(1)->text()
          << d.cmdCOMMAND(2)->text();
    EXPECT_EQ(texts, (QStringList{"Handle:", "Vampire Name:", "Password:", "", "Auto-Login", "&OK",
                                  "&Cancel", "&Help"}));
    EXPECT_EQ(d.txtPASSWORD()->geometry(), twips_rect(1380, 780, 3195, 315));
    // Each character of the password shows as a star.
    d.txtPASSWORD()->setText(QStringLiteral("pw1"));
    EXPECT_EQ(d.txtPASSWORD()->displayText(), QStringLiteral("***"));
    EXPECT_TRUE(d.cmdCOMMAND(0)->isDefault());
    // The check box stands in front of its backdrop.
    EXPECT_GT(d.children().indexOf(d.chkAutoLog()),
              d.children().indexOf(d.findChild<QLabel*>(QStringLiteral("label(3)"))));
    d.show();
    EXPECT_TRUE(d.grab().save(QStringLiteral(ZEKO_BUILD_DIR) + QLatin1String(picture)));
    d.close();
}

TEST_F(FrmVampTest, BothDialogsHaveTheirControlsAndTabOrder) {
    FrmVampNew created(state);
    expect_controls(created, "Z.E.K.O.\xC2\xB2: Create Vampire...", "/frm_vamp_new.png");
    EXPECT_EQ(created.parentWidget(), nullptr);
    EXPECT_FALSE(created.txtNAME()->isEnabled());
    // Forward in the new dialog, backward in the edit dialog.
    EXPECT_EQ(tab_chain(&created),
              "txtHANDLE txtNAME txtPASSWORD chkAutoLog cmdCOMMAND(0) "
              "cmdCOMMAND(1) cmdCOMMAND(2)");

    add("Alpha", "Vlad", "pw", kFalse);
    QWidget owner;
    FrmVampEdit edited(state, &owner);
    expect_controls(edited, "Z.E.K.O.\xC2\xB2: Edit Vampire...", "/frm_vamp_edit.png");
    EXPECT_EQ(edited.parentWidget(), &owner);
    EXPECT_EQ(tab_chain(&edited),
              "cmdCOMMAND(2) cmdCOMMAND(1) cmdCOMMAND(0) chkAutoLog "
              "txtPASSWORD txtNAME txtHANDLE");
}

TEST_F(FrmVampTest, NewDialogChecksEveryCombinationOfEmptyTexts) {
    int made = 0;
    for (int combo = 0; combo < 16; ++combo) {
        const bool has_handle = (combo & 1) != 0;
        const bool has_name = (combo & 2) != 0;
        const bool has_password = (combo & 4) != 0;
        const bool ticked = (combo & 8) != 0;
        SCOPED_TRACE(combo);
        // Every character distinct, so no duplicate check refuses one.
        const std::string tag = std::to_string(combo);
        FrmVampNew d(state, nullptr, help);
        shown().clear();
        enter(d, has_handle ? "H" + tag : "", has_name ? "N" + tag : "",
              has_password ? "P" + tag : "", ticked);

        std::vector<ShownBox> expected;
        if (!has_handle) expected.push_back(kHandleRequired);
        if (ticked && !has_name) expected.push_back(kUsernameRequired);
        if (ticked && has_name && !has_password) expected.push_back(kPasswordRequired);
        EXPECT_EQ(shown(), expected);
        EXPECT_EQ(d.isVisible(), !expected.empty());
        if (expected.empty()) ++made;
        ASSERT_EQ(state.db.VAMP_COUNT, made);
        EXPECT_EQ(state.db.CUR_VAMP, made);
        if (!expected.empty()) continue;
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.NEW_INDEX, made);
        // Read back from the file, as the creation reloads it.
        const VAMP& v = state.db.VAMPS(made);
        EXPECT_EQ((std::vector<std::string>{v.handle(), v.name(), v.password()}),
                  (std::vector<std::string>{"H" + tag, has_name ? "N" + tag : "",
                                            has_password ? "P" + tag : ""}));
        EXPECT_EQ((std::vector<int>{v.AUTOLOGIN, v.DELETED, v.POS_X, v.POS_Y, v.DEST_X, v.DEST_Y}),
                  (std::vector<int>{ticked ? kTrue : kFalse, kFalse, 100, 100, 0, 0}));
    }
    // Handle present in 8 combinations; of the 4 ticked ones only the complete one is made.
    EXPECT_EQ(made, 5);
    EXPECT_TRUE(help_topics.empty());
}

TEST_F(FrmVampTest, NewDialogTakesBlanksAsTextAndHasKeysCancelAndHelp) {
    // The login box enables the name and password and keeps their texts.
    FrmVampNew d(state, nullptr, help);
    d.chkAutoLog()->click();
    EXPECT_TRUE(d.txtPASSWORD()->isEnabled());
    d.txtNAME()->setText("Vlad");
    d.chkAutoLog()->click();
    EXPECT_FALSE(d.txtNAME()->isEnabled());
    EXPECT_EQ(d.txtNAME()->text(), "Vlad");
    d.cmdCOMMAND(2)->click();
    EXPECT_EQ(help_topics, std::vector<int>{39});
    enter(d, " ", " ", " ", true);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(state.db.VAMPS(1).NAME_LEN, 1);

    // Cancel and Escape change nothing; Enter presses OK.
    FrmVampNew other(state);
    other.show();
    other.cmdCOMMAND(1)->click();
    FrmVampEdit e(state);
    e.show();
    e.txtHANDLE()->setText("Changed");
    QTest::keyClick(e.txtHANDLE(), Qt::Key_Escape);
    EXPECT_TRUE(other.result() == QDialog::Rejected && e.result() == QDialog::Rejected);
    EXPECT_EQ(state.db.current().handle(), " ");
    FrmVampNew keyed(state);
    keyed.show();
    keyed.txtHANDLE()->setText("Keyed");
    QTest::keyClick(keyed.txtHANDLE(), Qt::Key_Return);
    EXPECT_FALSE(keyed.isVisible());
    EXPECT_EQ(state.db.VAMP_COUNT, 2);
}

TEST_F(FrmVampTest, DuplicatesShowTheDatabaseBoxThenTheDialogsOwn) {
    add("Count", "Vlad", "pw", kFalse);
    FrmVampNew d(state);
    enter(d, "Count", "Someone", "x", false);  // the scripted answer is OK: try again
    EXPECT_EQ(shown(), (std::vector<ShownBox>{kHandleUsed, kPonders}));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.NEW_INDEX, 0);
    EXPECT_EQ(d.txtNAME()->text(), "Someone");
    EXPECT_EQ(state.db.CUR_VAMP, 1);

    // The same name with the login asked for; Cancel on the dialog's box closes it.
    shown().clear();
    world.prompts.answer(MsgResult::OK);
    world.prompts.answer(MsgResult::Cancel);
    enter(d, "Another", "Vlad", "x", true);
    const std::string handle_field = "Count" + std::string(44, ' ');
    EXPECT_EQ(shown(),
              (std::vector<ShownBox>{
                  box("The vampire you are entering is already listed in the database. Their "
                      "handle is " +
                          handle_field + ". To alter this record, please select Edit Vampire.",
                      "They cloned me! Wait, am I me, or is he me?"),
                  kPonders}));
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(state.db.VAMP_COUNT, 1);

    // Without the login the same name is accepted.
    shown().clear();
    FrmVampNew again(state);
    enter(again, "Another", "Vlad", "x", false);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(state.db.VAMP_COUNT, 2);
    EXPECT_EQ(state.db.CUR_VAMP, 2);
}

TEST_F(FrmVampTest, EditDialogLoadsTheCurrentCharacterByItsLoginFlag) {
    // Only -1 ticks the box; any other value leaves it as the dialog starts.
    for (VbBool flag : {kTrue, kFalse, VbBool{1}, VbBool{-2}, VbBool{5}}) {
        SCOPED_TRACE(flag);
        add("Handle" + std::to_string(flag), "Name", "Secret", flag);
        FrmVampEdit d(state);
        EXPECT_EQ(d.chkAutoLog()->isChecked(), flag == kTrue);
        EXPECT_EQ(d.txtNAME()->isEnabled(), flag == kTrue);
        EXPECT_EQ(d.txtHANDLE()->text().toStdString(), "Handle" + std::to_string(flag));
        EXPECT_EQ(d.txtNAME()->text(), "Name");
        EXPECT_EQ(d.txtPASSWORD()->text(), "Secret");
    }
    // A handle longer than its field shows what the field holds.
    add(std::string(60, 'h'), "n", "p", kFalse);
    EXPECT_EQ(FrmVampEdit(state).txtHANDLE()->text().toStdString(), std::string(49, 'h'));

    state.db.CUR_VAMP = 0;
    try {
        FrmVampEdit none(state);
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST_F(FrmVampTest, EditDialogChangesTheRecordInMemoryOnly) {
    add("Alpha", "Vlad", "pw", kFalse);
    add("Beta", "Igor", "pw2", kTrue);
    VAMP& beta = state.db.VAMPS(2);
    beta.DELETED = kTrue;
    beta.POS_X = 42;
    const std::string file_before = read_bytes(state.db.file_path());
    FrmVampEdit cancelled(state, nullptr, help);
    cancelled.show();
    cancelled.txtHANDLE()->setText("Changed");
    cancelled.cmdCOMMAND(2)->click();
    EXPECT_EQ(help_topics, std::vector<int>{40});
    cancelled.cmdCOMMAND(1)->click();
    EXPECT_EQ(beta.handle(), "Beta");

    // Another record's handle is taken without a check; other fields stay.
    FrmVampEdit d(state);
    enter(d, "Alpha", "Dracula", "", true);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ((std::vector<std::string>{beta.handle(), beta.name(), beta.password()}),
              (std::vector<std::string>{"Alpha", "Dracula", ""}));
    EXPECT_EQ((std::vector<int>{beta.AUTOLOGIN, beta.DELETED, beta.POS_X}),
              (std::vector<int>{kTrue, kFalse, 42}));
    EXPECT_EQ(state.db.VAMPS(1).handle(), "Alpha");
    EXPECT_EQ(read_bytes(state.db.file_path()), file_before);
}

TEST_F(FrmVampTest, TextsTooLongForTheirLengthByteAreRefused) {
    const std::string max(255, 'x');
    const std::string over(256, 'x');
    // Characters are counted, not bytes: 255 two-byte letters fit.
    const auto wide = [](int n) { return QString(n, QChar(0xE9)).toStdString(); };

    FrmVampNew d(state);
    enter(d, over, "", "", false);
    EXPECT_EQ(shown(), std::vector<ShownBox>{too_long("The handle")});
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.txtHANDLE()->text().size(), 256);

    // A disabled box counts too, and a missing text and a long one are both told.
    shown().clear();
    enter(d, "", wide(256), over, false);
    EXPECT_EQ(shown(), (std::vector<ShownBox>{kHandleRequired, too_long("The vampire name"),
                                              too_long("The password")}));
    EXPECT_EQ(state.db.VAMP_COUNT, 0);

    shown().clear();
    enter(d, max, wide(255), max, true);
    EXPECT_TRUE(shown().empty());
    ASSERT_EQ(state.db.VAMP_COUNT, 1);
    EXPECT_EQ(state.db.VAMPS(1).HANDLE_LEN, 255);
    EXPECT_EQ(state.db.VAMPS(1).NAME_LEN, 255);
    EXPECT_EQ(state.db.VAMPS(1).name(), wide(50));

    FrmVampEdit e(state);
    enter(e, "Short", "Name", over, true);
    EXPECT_EQ(shown(), std::vector<ShownBox>{too_long("The password")});
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(state.db.VAMPS(1).HANDLE_LEN, 255);
}

TEST_F(FrmVampTest, EmptyDatabaseOffersTheRealDialogWithoutAnOwner) {
    write_bytes(state.db.file_path(), "");
    ui::NewVampDialog offer(state, help);
    state.db.new_vamp_dialog = &offer;
    state.db.CREATE_OFFERED = false;

    // Answered once it is up; whatever is left open then is closed.
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<FrmVampNew*>(QApplication::activeModalWidget());
        seen = d != nullptr && d->parentWidget() == nullptr;
        if (d) d->txtHANDLE()->setText("Firstborn");
        if (d) d->cmdCOMMAND(0)->click();
        if (QWidget* left = QApplication::activeModalWidget()) left->close();
    });
    state.db.LOAD_DB();
    EXPECT_TRUE(seen);
    ASSERT_EQ(state.db.VAMP_COUNT, 1);
    EXPECT_EQ(state.db.CUR_VAMP, 1);
    EXPECT_EQ(state.db.VAMPS(1).handle(), "Firstborn");
    ASSERT_FALSE(world.list.items.empty());
    EXPECT_EQ(world.list.items.back().second, 1);
    state.db.new_vamp_dialog = nullptr;
}

}  // namespace
}  // namespace zeko::testing
