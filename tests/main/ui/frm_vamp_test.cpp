#include "main/ui/frm_vamp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/errors.h"
#include "main/program_state.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"

namespace zeko::testing {
namespace {

using ui::FrmVampBase;
using ui::FrmVampEdit;
using ui::FrmVampNew;
using Boxes = std::vector<ShownBox>;

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
const ShownBox kPonders =
    box("There was an error creating the vampire record. Please try again or cancel.",
        "*ponders the redundancies...*", MsgButtons::OKCancel);

ShownBox too_long(const std::string& what) {
    return box(what +
                   " is too long: it can hold at most 255 characters. Please shorten it and "
                   "try again.",
               "Too long...");
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
    void add(const std::string& handle, const std::string& name, VbBool autologin = kFalse) {
        VAMP v;
        v.set_handle(handle);
        v.set_name(name);
        v.set_password("pw");
        v.AUTOLOGIN = autologin;
        state.db.CUR_VAMP = state.db.CREATE_DB(v);
        EXPECT_NE(state.db.CUR_VAMP, 0);
    }

    // Fills the dialog in and presses OK; the boxes shown meanwhile.
    Boxes enter(FrmVampBase& d, const std::string& handle, const std::string& name,
                const std::string& password, bool autologin) {
        world.prompts.shown.clear();
        d.show();
        d.chkAutoLog()->setChecked(autologin);
        d.txtHANDLE()->setText(QString::fromStdString(handle));
        d.txtNAME()->setText(QString::fromStdString(name));
        d.txtPASSWORD()->setText(QString::fromStdString(password));
        d.cmdCOMMAND(0)->click();
        return world.prompts.shown;
    }

    TestWorld world;
    ProgramState state;
    std::vector<int> help_topics;
    ui::HelpHook help = [this](int topic, QWidget*) { help_topics.push_back(topic); };
};

// The texts of the controls in Tab order, starting at the focused one, and the caption.
QString controls(FrmVampBase& d) {
    QStringList seen{d.windowTitle()};
    QWidget* first = d.focusWidget();
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) == 0) continue;
        const auto* button = qobject_cast<QAbstractButton*>(w);
        seen.append(w->objectName() + (button ? '=' + button->text() : QString()));
    } while ((w = w->nextInFocusChain()) != first);
    for (int i = 0; i < 3; ++i)
        seen.append(d.findChild<QLabel*>(QStringLiteral("label(%1)").arg(i))->text());
    return seen.join(' ');
}

TEST_F(FrmVampTest, BothDialogsHaveTheirControlsAndTabOrder) {
    // Forward in the new dialog, backward in the edit dialog.
    FrmVampNew created(state);
    EXPECT_EQ(controls(created),
              QString::fromUtf8("Z.E.K.O.\xC2\xB2: Create Vampire... txtHANDLE txtNAME txtPASSWORD "
                                "chkAutoLog=Auto-Login cmdCOMMAND(0)=&OK cmdCOMMAND(1)=&Cancel "
                                "cmdCOMMAND(2)=&Help Handle: Vampire Name: Password:"));
    EXPECT_EQ(created.parentWidget(), nullptr);
    EXPECT_FALSE(created.txtNAME()->isEnabled());
    add("Alpha", "Vlad");
    QWidget owner;
    FrmVampEdit edited(state, &owner);
    EXPECT_EQ(controls(edited),
              QString::fromUtf8("Z.E.K.O.\xC2\xB2: Edit Vampire... cmdCOMMAND(2)=&Help "
                                "cmdCOMMAND(1)=&Cancel cmdCOMMAND(0)=&OK chkAutoLog=Auto-Login "
                                "txtPASSWORD txtNAME txtHANDLE Handle: Vampire Name: Password:"));
    EXPECT_EQ(edited.parentWidget(), &owner);
    EXPECT_TRUE(edited.isModal());
    // Each character of the password shows as a star.
    edited.txtPASSWORD()->setText(QStringLiteral("pw1"));
    EXPECT_EQ(edited.txtPASSWORD()->displayText(), QStringLiteral("***"));
}

TEST_F(FrmVampTest, NewDialogAsksForTheTextsItNeeds) {
    // The name and password only with the login asked for; a made character starts at the
    // city's centre, read back from the file as the creation reloads it.
    struct Case {
        const char *handle, *name, *password;
        bool ticked;
        Boxes boxes;
    };
    const Case cases[] = {{"", "", "", false, {kHandleRequired}},
                          {"", "", "", true, {kHandleRequired, kUsernameRequired}},
                          {"", "N", "", true, {kHandleRequired, kPasswordRequired}},
                          {"H1", "", "", true, {kUsernameRequired}},
                          {"H2", "", "P", false, {}},
                          {"H3", "N3", "P3", true, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handle);
        FrmVampNew d(state);
        EXPECT_EQ(enter(d, c.handle, c.name, c.password, c.ticked), c.boxes);
        EXPECT_EQ(d.isVisible(), !c.boxes.empty());
        if (!c.boxes.empty()) continue;
        EXPECT_EQ(d.NEW_INDEX, state.db.VAMP_COUNT);
        EXPECT_EQ(state.db.CUR_VAMP, state.db.VAMP_COUNT);
        const VAMP& v = state.db.current();
        EXPECT_EQ((std::vector<std::string>{v.handle(), v.name(), v.password()}),
                  (std::vector<std::string>{c.handle, c.name, c.password}));
        EXPECT_EQ((std::vector<int>{v.AUTOLOGIN, v.DELETED, v.POS_X, v.POS_Y, v.DEST_X, v.DEST_Y}),
                  (std::vector<int>{c.ticked ? kTrue : kFalse, kFalse, 100, 100, 0, 0}));
    }
    EXPECT_EQ(state.db.VAMP_COUNT, 2);
}

TEST_F(FrmVampTest, NewDialogTakesBlanksAsTextAndHasKeysCancelAndHelp) {
    FrmVampNew d(state, nullptr, help);
    d.cmdCOMMAND(2)->click();
    EXPECT_EQ(help_topics, std::vector<int>{39});
    EXPECT_TRUE(enter(d, " ", " ", " ", true).empty());
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
    EXPECT_EQ(state.db.VAMP_COUNT, 2);
}

TEST_F(FrmVampTest, DuplicatesShowTheDatabaseBoxThenTheDialogsOwn) {
    add("Count", "Vlad");
    // OK on the dialog's box tries again with the texts kept; Cancel closes the dialog.
    for (MsgResult answer : {MsgResult::OK, MsgResult::Cancel}) {
        FrmVampNew d(state);
        world.prompts.answer(MsgResult::OK);
        world.prompts.answer(answer);
        const Boxes boxes =
            enter(d, answer == MsgResult::OK ? "Count" : "Other", "Vlad", "x", true);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1], kPonders);
        EXPECT_EQ(d.isVisible(), answer == MsgResult::OK);
        EXPECT_EQ(d.txtNAME()->text(), "Vlad");
        EXPECT_EQ(state.db.VAMP_COUNT, 1);
    }
}

TEST_F(FrmVampTest, EditDialogLoadsTheCurrentCharacterByItsLoginFlag) {
    // Only -1 ticks the box; any other value leaves it as the dialog starts.
    for (VbBool flag : {kTrue, kFalse, VbBool{1}, VbBool{-2}, VbBool{5}}) {
        SCOPED_TRACE(flag);
        add("Handle" + std::to_string(flag), "Name", flag);
        FrmVampEdit d(state);
        EXPECT_EQ(d.chkAutoLog()->isChecked(), flag == kTrue);
        EXPECT_EQ(d.txtNAME()->isEnabled(), flag == kTrue);
        EXPECT_EQ(
            QStringList({d.txtHANDLE()->text(), d.txtNAME()->text(), d.txtPASSWORD()->text()}),
            QStringList({QString::fromStdString("Handle" + std::to_string(flag)), "Name", "pw"}));
    }
    // A handle longer than its field shows what the field holds.
    add(std::string(60, 'h'), "n");
    EXPECT_EQ(FrmVampEdit(state).txtHANDLE()->text().toStdString(), std::string(49, 'h'));
    state.db.CUR_VAMP = 0;
    EXPECT_EQ(error_of([&] { FrmVampEdit none(state); }), 9);
}

TEST_F(FrmVampTest, EditDialogChangesTheRecordInMemoryOnly) {
    add("Alpha", "Vlad");
    add("Beta", "Igor", kTrue);
    VAMP& beta = state.db.VAMPS(2);
    beta.DELETED = kTrue;
    beta.POS_X = 42;
    const std::string file_before = read_bytes(state.db.file_path());
    // Another record's handle is taken without a check; other fields stay.
    FrmVampEdit d(state);
    EXPECT_TRUE(enter(d, "Alpha", "Dracula", "", true).empty());
    EXPECT_EQ((std::vector<std::string>{beta.handle(), beta.name(), beta.password()}),
              (std::vector<std::string>{"Alpha", "Dracula", ""}));
    EXPECT_EQ((std::vector<int>{beta.AUTOLOGIN, beta.DELETED, beta.POS_X}),
              (std::vector<int>{kTrue, kFalse, 42}));
    EXPECT_EQ(read_bytes(state.db.file_path()), file_before);
}

TEST_F(FrmVampTest, TextsTooLongForTheirLengthByteAreRefused) {
    const std::string max(255, 'x'), over(256, 'x');
    // Characters are counted, not bytes: 255 two-byte letters fit.
    const auto wide = [](int n) { return QString(n, QChar(0xE9)).toStdString(); };
    FrmVampNew d(state);
    EXPECT_EQ(enter(d, over, "", "", false), Boxes{too_long("The handle")});
    EXPECT_TRUE(d.isVisible());
    // A disabled box counts too, and a missing text and a long one are both told.
    EXPECT_EQ(enter(d, "", wide(256), over, false),
              (Boxes{kHandleRequired, too_long("The vampire name"), too_long("The password")}));
    EXPECT_EQ(state.db.VAMP_COUNT, 0);
    EXPECT_TRUE(enter(d, max, wide(255), max, true).empty());
    ASSERT_EQ(state.db.VAMP_COUNT, 1);
    EXPECT_EQ(state.db.VAMPS(1).NAME_LEN, 255);
    EXPECT_EQ(state.db.VAMPS(1).name(), wide(50));

    FrmVampEdit e(state);
    EXPECT_EQ(enter(e, "Short", "Name", over, true), Boxes{too_long("The password")});
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
    EXPECT_EQ(state.db.current().handle(), "Firstborn");
    state.db.new_vamp_dialog = nullptr;
}

}  // namespace
}  // namespace zeko::testing
