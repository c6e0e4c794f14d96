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

#include <ostream>
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

const QColor kGround(0, 48, 0);
const QColor kText(128, 255, 128);
const QColor kBoxBack(64, 64, 64);

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

std::string repeat(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

class FrmVampTest : public ::testing::Test {
  protected:
    FrmVampTest() : state(world.folder.path(), world.services()) {
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

    static void type(FrmVampBase& d, const std::string& handle, const std::string& name,
                     const std::string& password, bool autologin) {
        d.chkAutoLog()->setChecked(autologin);
        d.txtHANDLE()->setText(QString::fromStdString(handle));
        d.txtNAME()->setText(QString::fromStdString(name));
        d.txtPASSWORD()->setText(QString::fromStdString(password));
    }

    std::vector<ShownBox>& shown() { return world.prompts.shown; }

    TestWorld world;
    ProgramState state;
    std::vector<int> help_topics;
    ui::HelpHook help = [this](int topic) { help_topics.push_back(topic); };
};

void expect_controls(FrmVampBase& d, const char* caption) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8(caption));
    EXPECT_EQ(d.size(), QSize(309, 101));
    EXPECT_TRUE(d.isModal());
    EXPECT_EQ(d.palette().color(QPalette::Window), kGround);

    const char* const labels[4] = {"Handle:", "Vampire Name:", "Password:", ""};
    for (int i = 0; i < 4; ++i) {
        auto* label = d.findChild<QLabel*>(QStringLiteral("label(%1)").arg(i));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->text(), QLatin1String(labels[i]));
        EXPECT_EQ(label->geometry(), twips_rect(60, 60 + 360 * i, 1275, 315));
        EXPECT_TRUE(label->autoFillBackground());
        EXPECT_EQ(label->palette().color(QPalette::Window), kGround);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), kText);
    }
    EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("label(1)"))->geometry(), QRect(4, 28, 85, 21));

    const std::pair<const char*, int> boxes[3] = {
        {"txtHANDLE", 60}, {"txtNAME", 420}, {"txtPASSWORD", 780}};
    for (const auto& [name, top] : boxes) {
        auto* edit = d.findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_NE(edit, nullptr) << name;
        EXPECT_EQ(edit->geometry(), twips_rect(1380, top, 3195, 315)) << name;
        EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), kBoxBack) << name;
        EXPECT_EQ(edit->palette().color(QPalette::Disabled, QPalette::Base), kBoxBack) << name;
        EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), kText) << name;
    }
    EXPECT_EQ(d.txtHANDLE()->objectName(), QStringLiteral("txtHANDLE"));
    EXPECT_EQ(d.txtPASSWORD()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(d.txtNAME()->echoMode(), QLineEdit::Normal);

    QCheckBox* check = d.findChild<QCheckBox*>(QStringLiteral("chkAutoLog"));
    ASSERT_EQ(check, d.chkAutoLog());
    EXPECT_EQ(check->text(), QStringLiteral("Auto-Login"));
    EXPECT_EQ(check->geometry(), twips_rect(120, 1200, 1155, 195));
    EXPECT_EQ(check->palette().color(QPalette::Window), kGround);
    EXPECT_EQ(check->palette().color(QPalette::WindowText), kText);
    // The check box stands in front of its backdrop.
    EXPECT_GT(d.children().indexOf(check),
              d.children().indexOf(d.findChild<QLabel*>(QStringLiteral("label(3)"))));

    const char* const captions[3] = {"&OK", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        auto* b = d.findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        ASSERT_EQ(b, d.cmdCOMMAND(i));
        EXPECT_EQ(b->text(), QLatin1String(captions[i]));
        EXPECT_EQ(b->geometry(), twips_rect(1380 + 1080 * i, 1140, 1035, 315));
        EXPECT_EQ(b->isDefault(), i == 0);
    }
}

// The controls that take the focus by Tab, in their order, starting at `first`.
QList<QWidget*> tab_chain(QWidget* first) {
    QList<QWidget*> order{first};
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) != 0) order.append(w);
    return order;
}

TEST_F(FrmVampTest, BothDialogsHaveTheirControlsCaptionsAndColours) {
    FrmVampNew created(state);
    expect_controls(created, "Z.E.K.O.\xC2\xB2: Create Vampire...");
    EXPECT_EQ(created.parentWidget(), nullptr);
    EXPECT_FALSE(created.txtNAME()->isEnabled());
    EXPECT_FALSE(created.txtPASSWORD()->isEnabled());
    EXPECT_FALSE(created.chkAutoLog()->isChecked());
    EXPECT_TRUE(created.txtHANDLE()->text().isEmpty());
    created.show();
    EXPECT_TRUE(created.grab().save(QStringLiteral(ZEKO_BUILD_DIR "/frm_vamp_new.png")));
    created.close();

    add("Alpha", "Vlad", "pw", kFalse);
    QWidget owner;
    FrmVampEdit edited(state, &owner);
    expect_controls(edited, "Z.E.K.O.\xC2\xB2: Edit Vampire...");
    EXPECT_EQ(edited.parentWidget(), &owner);
    edited.show();
    EXPECT_TRUE(edited.grab().save(QStringLiteral(ZEKO_BUILD_DIR "/frm_vamp_edit.png")));
    edited.close();
}

TEST_F(FrmVampTest, TabOrderRunsForwardInTheNewDialogAndBackwardInTheEditDialog) {
    FrmVampNew created(state);
    EXPECT_EQ(created.focusWidget(), created.txtHANDLE());
    EXPECT_EQ(tab_chain(created.txtHANDLE()),
              (QList<QWidget*>{created.txtHANDLE(), created.txtNAME(), created.txtPASSWORD(),
                               created.chkAutoLog(), created.cmdCOMMAND(0), created.cmdCOMMAND(1),
                               created.cmdCOMMAND(2)}));

    add("Alpha", "Vlad", "pw", kTrue);
    FrmVampEdit edited(state);
    EXPECT_EQ(edited.focusWidget(), edited.cmdCOMMAND(2));
    EXPECT_EQ(tab_chain(edited.cmdCOMMAND(2)),
              (QList<QWidget*>{edited.cmdCOMMAND(2), edited.cmdCOMMAND(1), edited.cmdCOMMAND(0),
                               edited.chkAutoLog(), edited.txtPASSWORD(), edited.txtNAME(),
                               edited.txtHANDLE()}));
}

TEST_F(FrmVampTest, TheLoginBoxEnablesTheNameAndPasswordAndKeepsTheirTexts) {
    FrmVampNew d(state);
    d.chkAutoLog()->click();
    EXPECT_TRUE(d.chkAutoLog()->isChecked());
    EXPECT_TRUE(d.txtNAME()->isEnabled());
    EXPECT_TRUE(d.txtPASSWORD()->isEnabled());
    d.txtNAME()->setText("Vlad");
    d.txtPASSWORD()->setText("pw");
    d.chkAutoLog()->click();
    EXPECT_FALSE(d.txtNAME()->isEnabled());
    EXPECT_FALSE(d.txtPASSWORD()->isEnabled());
    EXPECT_EQ(d.txtNAME()->text(), "Vlad");
    EXPECT_EQ(d.txtPASSWORD()->text(), "pw");
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
        d.show();
        type(d, has_handle ? "H" + tag : "", has_name ? "N" + tag : "",
             has_password ? "P" + tag : "", ticked);
        shown().clear();
        const int16_t before = state.db.CUR_VAMP;
        d.cmdCOMMAND_Click(0);

        std::vector<ShownBox> expected;
        if (!has_handle) expected.push_back(kHandleRequired);
        if (ticked && !has_name) expected.push_back(kUsernameRequired);
        if (ticked && has_name && !has_password) expected.push_back(kPasswordRequired);
        EXPECT_EQ(shown(), expected);
        if (!expected.empty()) {
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(state.db.CUR_VAMP, before);
            EXPECT_EQ(state.db.VAMP_COUNT, made);
            d.close();
            continue;
        }
        ++made;
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Accepted);
        ASSERT_EQ(state.db.VAMP_COUNT, made);
        EXPECT_EQ(d.NEW_INDEX, made);
        EXPECT_EQ(state.db.CUR_VAMP, made);
        // Read back from the file, as the creation reloads it.
        const VAMP& v = state.db.VAMPS(made);
        EXPECT_EQ(v.handle(), "H" + tag);
        EXPECT_EQ(v.name(), has_name ? "N" + tag : "");
        EXPECT_EQ(v.NAME_LEN, has_name ? 1 + tag.size() : 0u);
        EXPECT_EQ(v.password(), has_password ? "P" + tag : "");
        EXPECT_EQ(v.PASSWORD_LEN, has_password ? 1 + tag.size() : 0u);
        EXPECT_EQ(v.AUTOLOGIN, ticked ? kTrue : kFalse);
        EXPECT_EQ(v.DELETED, kFalse);
        EXPECT_EQ(v.POS_X, 100);
        EXPECT_EQ(v.POS_Y, 100);
        EXPECT_EQ(v.DEST_X, 0);
        EXPECT_EQ(v.DEST_Y, 0);
        EXPECT_EQ(v.RESERVED, 0);
    }
    // Handle present in 8 combinations; of the 4 ticked ones only the complete one is made.
    EXPECT_EQ(made, 5);
    EXPECT_TRUE(help_topics.empty());
}

TEST_F(FrmVampTest, NewDialogTakesBlanksAsTextAndCancelAndHelp) {
    FrmVampNew d(state, nullptr, help);
    d.show();
    type(d, " ", " ", " ", true);
    d.cmdCOMMAND_Click(2);
    EXPECT_EQ(help_topics, std::vector<int>{39});
    EXPECT_TRUE(d.isVisible());
    d.cmdCOMMAND_Click(0);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(state.db.VAMP_COUNT, 1);
    EXPECT_EQ(state.db.VAMPS(1).NAME_LEN, 1);

    FrmVampNew other(state);
    other.show();
    type(other, "Second", "", "", false);
    other.cmdCOMMAND_Click(1);
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_EQ(state.db.VAMP_COUNT, 1);
    EXPECT_EQ(state.db.CUR_VAMP, 1);
}

TEST_F(FrmVampTest, EnterPressesOkAndEscapeCancels) {
    FrmVampNew d(state);
    d.show();
    type(d, "Keyed", "", "", false);
    QTest::keyClick(d.txtHANDLE(), Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(state.db.VAMP_COUNT, 1);

    FrmVampEdit e(state);
    e.show();
    e.txtHANDLE()->setText("Changed");
    QTest::keyClick(e.txtHANDLE(), Qt::Key_Escape);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(e.result(), QDialog::Rejected);
    EXPECT_EQ(state.db.current().handle(), "Keyed");
}

TEST_F(FrmVampTest, DuplicatesShowTheDatabaseBoxThenTheDialogsOwn) {
    add("Count", "Vlad", "pw", kFalse);
    const int16_t current = state.db.CUR_VAMP;
    FrmVampNew d(state);
    d.show();
    type(d, "Count", "Someone", "x", false);
    d.cmdCOMMAND_Click(0);  // the scripted answer is OK: try again
    EXPECT_EQ(shown(), (std::vector<ShownBox>{kHandleUsed, kPonders}));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.NEW_INDEX, 0);
    EXPECT_EQ(d.txtHANDLE()->text(), "Count");
    EXPECT_EQ(d.txtNAME()->text(), "Someone");
    EXPECT_EQ(d.txtPASSWORD()->text(), "x");
    EXPECT_EQ(state.db.CUR_VAMP, current);

    // The same name with the login asked for; Cancel on the dialog's box closes it.
    shown().clear();
    type(d, "Another", "Vlad", "x", true);
    world.prompts.answer(MsgResult::OK);
    world.prompts.answer(MsgResult::Cancel);
    d.cmdCOMMAND_Click(0);
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
    again.show();
    type(again, "Another", "Vlad", "x", false);
    again.cmdCOMMAND_Click(0);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(state.db.VAMP_COUNT, 2);
    EXPECT_EQ(state.db.CUR_VAMP, 2);
}

TEST_F(FrmVampTest, EditDialogLoadsTheCurrentCharacterByItsLoginFlag) {
    const VbBool flags[3] = {kTrue, kFalse, 1};
    for (VbBool flag : flags) {
        SCOPED_TRACE(flag);
        add("Handle" + std::to_string(flag), "Name", "Secret", flag);
        FrmVampEdit d(state);
        EXPECT_EQ(d.chkAutoLog()->isChecked(), flag == kTrue);
        EXPECT_EQ(d.txtNAME()->isEnabled(), flag == kTrue);
        EXPECT_EQ(d.txtPASSWORD()->isEnabled(), flag == kTrue);
        EXPECT_EQ(d.txtHANDLE()->text().toStdString(), "Handle" + std::to_string(flag));
        EXPECT_EQ(d.txtNAME()->text(), "Name");
        EXPECT_EQ(d.txtPASSWORD()->text(), "Secret");
    }
    // A handle longer than its field shows what the field holds.
    add(repeat("abcdefghij", 6), "n", "p", kFalse);
    FrmVampEdit cut(state);
    EXPECT_EQ(cut.txtHANDLE()->text().toStdString(), repeat("abcdefghij", 6).substr(0, 49));

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
    add("Beta", "Igor", "pw2", 1);
    VAMP& beta = state.db.VAMPS(2);
    beta.DELETED = kTrue;
    beta.POS_X = 42;
    const std::string file_before = read_bytes(state.db.file_path());

    FrmVampEdit cancelled(state, nullptr, help);
    cancelled.show();
    type(cancelled, "Changed", "X", "Y", true);
    cancelled.cmdCOMMAND_Click(2);
    EXPECT_EQ(help_topics, std::vector<int>{40});
    cancelled.cmdCOMMAND_Click(1);
    EXPECT_FALSE(cancelled.isVisible());
    EXPECT_EQ(beta.handle(), "Beta");
    EXPECT_EQ(beta.DELETED, kTrue);

    // Another record's handle is taken without a check; other fields stay.
    FrmVampEdit d(state);
    d.show();
    type(d, "Alpha", "Dracula", "", true);
    d.cmdCOMMAND_Click(0);
    EXPECT_TRUE(shown().empty());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(beta.handle(), "Alpha");
    EXPECT_EQ(beta.name(), "Dracula");
    EXPECT_EQ(beta.PASSWORD_LEN, 0);
    EXPECT_EQ(beta.AUTOLOGIN, kTrue);
    EXPECT_EQ(beta.DELETED, kFalse);
    EXPECT_EQ(beta.POS_X, 42);
    EXPECT_EQ(state.db.VAMPS(1).handle(), "Alpha");
    EXPECT_EQ(read_bytes(state.db.file_path()), file_before);

    // A record whose flag was neither value is stored unticked.
    FrmVampEdit unticked(state);
    type(unticked, "Beta", "Igor", "pw2", false);
    unticked.cmdCOMMAND_Click(0);
    EXPECT_EQ(beta.AUTOLOGIN, kFalse);
}

TEST_F(FrmVampTest, TextsTooLongForTheirLengthByteAreRefused) {
    const std::string max = repeat("x", 255);
    const std::string over = repeat("x", 256);
    // Characters are counted, not bytes: 255 two-byte letters fit.
    const std::string max_wide = repeat("\xC3\xA9", 255);
    const std::string over_wide = repeat("\xC3\xA9", 256);

    FrmVampNew d(state);
    d.show();
    type(d, over, "", "", false);
    d.cmdCOMMAND_Click(0);
    EXPECT_EQ(shown(), std::vector<ShownBox>{too_long("The handle")});
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(state.db.VAMP_COUNT, 0);
    EXPECT_EQ(d.txtHANDLE()->text().size(), 256);

    // A disabled box counts too, and a missing text and a long one are both told.
    shown().clear();
    type(d, "", over_wide, over, false);
    d.cmdCOMMAND_Click(0);
    EXPECT_EQ(shown(), (std::vector<ShownBox>{kHandleRequired, too_long("The vampire name"),
                                              too_long("The password")}));
    EXPECT_EQ(state.db.VAMP_COUNT, 0);

    shown().clear();
    type(d, max, max_wide, max, true);
    d.cmdCOMMAND_Click(0);
    EXPECT_TRUE(shown().empty());
    ASSERT_EQ(state.db.VAMP_COUNT, 1);
    EXPECT_EQ(state.db.VAMPS(1).HANDLE_LEN, 255);
    EXPECT_EQ(state.db.VAMPS(1).NAME_LEN, 255);
    EXPECT_EQ(state.db.VAMPS(1).name(), repeat("\xC3\xA9", 50));

    FrmVampEdit e(state);
    e.show();
    type(e, "Short", "Name", over, true);
    e.cmdCOMMAND_Click(0);
    EXPECT_EQ(shown(), std::vector<ShownBox>{too_long("The password")});
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(state.db.VAMPS(1).HANDLE_LEN, 255);
    EXPECT_EQ(e.txtPASSWORD()->text().size(), 256);
}

TEST_F(FrmVampTest, EmptyDatabaseOffersTheRealDialogWithoutAnOwner) {
    write_bytes(state.db.file_path(), "");
    ui::NewVampDialog offer(state, help);
    state.services.new_vamp_dialog = &offer;
    state.db.CREATE_OFFERED = false;

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<FrmVampNew*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        seen = true;
        EXPECT_EQ(d->parentWidget(), nullptr);
        type(*d, "Firstborn", "Vlad", "pw", true);
        d->cmdCOMMAND(0)->click();
    });
    // Guards against a dialog left open by a failure above.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    guard.start(30000);
    state.db.LOAD_DB();
    EXPECT_TRUE(seen);
    ASSERT_EQ(state.db.VAMP_COUNT, 1);
    EXPECT_EQ(state.db.CUR_VAMP, 1);
    EXPECT_EQ(state.db.VAMPS(1).handle(), "Firstborn");
    ASSERT_FALSE(world.list.items.empty());
    EXPECT_EQ(world.list.items.back().second, 1);
    state.services.new_vamp_dialog = nullptr;
}

}  // namespace
}  // namespace zeko::testing
