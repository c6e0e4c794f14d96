#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <optional>

#include "common/hosts.h"
#include "main/ui/frm_layout.h"
#include "main/ui/frm_vamp.h"
#include "main/ui/main_menus.h"
#include "main/ui/page_tracking.h"
#include "support/failing_files.h"
#include "ui_world.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

using ui::MainCommands;

class MainWorkersTest : public ::testing::Test {
  protected:
    MainWorkersTest() : commands(*w.state, *w.ui, w.windows) {
        commands.set_open_url([this](const QString& url) { opened.append(url); });
        w.ui->set_workers(commands);
        w.add_vamp("Alpha", 101, 101);
        w.add_vamp("Beta", 50, 60);
        w.start();
        saved();
    }
    // The windows go before the workers they call.
    ~MainWorkersTest() override { w.ui.reset(); }

    QAction* action(const char* name, int i) { return w.find<QAction>(name, i); }
    QComboBox* cbo(const char* name) { return w.find<QComboBox>(name); }
    void trigger(const char* name, std::initializer_list<int> items) {
        for (int i : items)
            action(name, i)->trigger();
    }
    void click(const char* name, int i) { QTest::mouseClick(w.find(name, i), Qt::LeftButton); }
    void open_autonav() {
        QMetaObject::invokeMethod(w.find<QMenu>("mnuOptData", 0), "aboutToShow");
    }
    // The ticks of a menu's first `n` items, as "0" and "1".
    QString ticks(const char* menu, int n) {
        QString marks;
        for (int i = 0; i < n; ++i)
            marks += action(menu, i)->isChecked() ? '1' : '0';
        return marks;
    }
    // Runs `step` on the modal window that `open` brings up, then closes whatever is still open.
    template <class Dialog>
    bool when_modal(const std::function<void()>& open, const std::function<void(Dialog*)>& step) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* modal = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            seen = modal != nullptr && modal->parentWidget() == &w.main();
            if (modal) step(modal);
            if (QWidget* left = QApplication::activeModalWidget()) left->close();
        });
        open();
        return seen;
    }
    // The boxes shown since the last call.
    std::vector<ShownBox> boxes() { return std::exchange(w.world.prompts.shown, {}); }

    // The settings saved since the last call, if any.
    std::optional<SETTINGS_REC> saved() {
        if (!std::filesystem::exists(w.settings_file())) return std::nullopt;
        const SETTINGS_REC disk = w.settings_on_disk();
        std::filesystem::remove(w.settings_file());
        return disk;
    }

    UiWorld w;
    MainCommands commands;
    QStringList opened;
};

TEST_F(MainWorkersTest, ZoomItemsAndButtonsStopAtTheirEndsAndOnlyZoomInWrites) {
    trigger("mnuZoomData", {1});  // F5
    EXPECT_EQ(saved().value().ZOOM, 5);
    // Laid out and drawn again: the centre tile of 5x5 shows where the character stands.
    EXPECT_TRUE(w.find("TILE", 12)->toolTip().endsWith("(X:  101  Y:  101)"));
    EXPECT_EQ(ticks("mnuZoomData", 5), "01000");
    // Zoom In from 5 reaches 3, and at 3 stays there, yet writes the file.
    for (int round = 0; round < 2; ++round) {
        click("cmdCOMMAND", 0);
        EXPECT_EQ(ticks("mnuZoomData", 5), "10000");
        EXPECT_EQ(saved().value().ZOOM, 3);
    }
    // Zoom Out steps in memory only; at 11 it stays there. The next save of any kind, as
    // opening the Auto-Nav submenu, takes it. An index the menu does not have changes nothing.
    trigger("mnuZoomData", {3});
    EXPECT_EQ(saved().value().ZOOM, 9);
    click("cmdCOMMAND", 1);
    EXPECT_EQ(ticks("mnuZoomData", 5), "00001");
    click("cmdCOMMAND", 1);
    commands.MENU_ZOOM(5);
    commands.MENU_ZOOM(-1);
    EXPECT_EQ(w.state->ZOOM, 11);
    EXPECT_FALSE(saved());
    open_autonav();
    EXPECT_EQ(saved().value().ZOOM, 11);
}

TEST_F(MainWorkersTest, OptionsAndAutoNavToggleTheirTicksAndSave) {
    // "Graphical Map?" saves and applies twice in a row.
    FailingFiles files;
    w.state->use_files(files);
    for (VbBool expected : {kFalse, kTrue}) {
        trigger("mnuOptData", {2});
        EXPECT_EQ(saved().value().TILE_IMAGES, expected);
        EXPECT_EQ(action("mnuOptData", 2)->isChecked(), expected == kTrue);
    }
    EXPECT_EQ(files.writes("SETTINGS.DAT"), 4);
    w.state->use_files(posix_files());
    // The navigation lines: tick, line and setting.
    const char* const lines[4] = {"BANK1", "PUB1", "TRANS1", "DEST1"};
    for (int i = 0; i < 4; ++i) {
        for (bool on : {false, true}) {
            trigger("mnuNavData", {i});
            EXPECT_EQ(ticks("mnuNavData", 4), on ? "1111" : QString("1111").replace(i, 1, '0'));
            EXPECT_EQ(w.find(QLatin1String(lines[i]))->isVisible(), on) << i;
            EXPECT_EQ(saved(), w.settings());
        }
    }
    commands.MENU_NAVLINES(7);  // any other index still saves and redraws
    EXPECT_TRUE(saved());

    // Opening the Auto-Nav submenu saves and draws the minimap again.
    const uint64_t revision = w.main().model().revision;
    open_autonav();
    EXPECT_EQ(saved(), w.settings());
    EXPECT_GT(w.main().model().revision, revision);
    QTimer* rip = w.main().tracking().tmrRIP();
    EXPECT_FALSE(rip->isActive());
    // Each item toggles; even switching off reads the page once.
    for (const auto& [item, expected] : {std::pair{0, "01"}, {0, "11"}, {1, "10"}, {1, "11"}}) {
        w.main().tracking().set_rip_interval(0);
        trigger("mnuAutoNavData", {item});
        EXPECT_EQ(ticks("mnuAutoNavData", 2), expected);
        EXPECT_EQ(rip->interval(), 150);
        EXPECT_TRUE(rip->isActive());
        EXPECT_EQ(saved(), w.settings());
    }
    w.main().tracking().set_rip_interval(0);
    commands.MENU_AUTONAV(2);
    EXPECT_FALSE(rip->isActive());
    EXPECT_TRUE(saved());
}

TEST_F(MainWorkersTest, PrecognitionsOwnTickSwitchesPredictionAndThePostLog) {
    NavigationRequest post;
    post.post_data = QByteArrayLiteral("action=move&x=12&y=34");
    post.countdown_ap = FormFieldRead{FormFieldRead::Status::Value, QStringLiteral("5")};
    const std::filesystem::path log = w.world.folder / "POSTDATA.txt";
    // Whether a move post is predicted; it is logged exactly when it is.
    const auto predicted = [&] {
        std::filesystem::remove(log);
        w.me().POS_X = 101;
        w.wb().fireBeforeNavigate2(post);
        const bool moved = w.me().POS_X == 12;
        EXPECT_EQ(std::filesystem::exists(log), moved);
        return moved;
    };
    EXPECT_TRUE(predicted());
    // Unticked while "Standard" stays ticked; the setting alone, without the tick, changes
    // nothing.
    trigger("mnuAutoNavData", {1});
    EXPECT_EQ(ticks("mnuAutoNavData", 2), "10");
    EXPECT_FALSE(predicted());
    w.settings().AUTONAV_PRECOG = kTrue;
    EXPECT_FALSE(predicted());
}

TEST_F(MainWorkersTest, DeleteAsksWithTheHandleAsTypedAndCompactsOnYes) {
    const auto size = [&] { return std::filesystem::file_size(w.vamp_file()); };
    const std::vector<ShownBox> question{
        {"Are you sure you want to delete the vampire 'Alpha' from your list?", MsgButtons::YesNo,
         MsgIcon::Question, "Just making sure..."}};
    boxes();
    w.world.prompts.answer(MsgResult::No);
    click("cmdVAMP", 2);
    EXPECT_EQ(boxes(), question);
    EXPECT_EQ(size(), 2u * kVampRecordBytes);
    // The menu item asks the same.
    w.world.prompts.answer(MsgResult::Yes);
    trigger("mnuVampData", {2});
    EXPECT_EQ(boxes(), question);
    EXPECT_EQ(size(), 1u * kVampRecordBytes);
    ASSERT_EQ(w.main().lstVAMP()->count(), 1);
    EXPECT_EQ(w.main().lstVAMP()->item(0)->text().trimmed(), QStringLiteral("Beta"));
    // Deleting the last one empties the file; with no character left Delete, Edit and GO do
    // nothing.
    w.world.prompts.answer(MsgResult::Yes);
    click("cmdVAMP", 2);
    EXPECT_EQ(size(), 0u);
    boxes();
    for (const auto& [name, i] : {std::pair{"cmdVAMP", 2}, {"cmdVAMP", 1}, {"cmdCOMMAND", 9}})
        click(name, i);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWorkersTest, GoLandsSouthEastOfTheChosenCrossingAndExitAsksOnce) {
    // The city limit's street lies beyond the last block: the redraw keeps the character in.
    for (const auto& [col, row, x, y] : {std::array{0, 0, 0, 0}, {5, 100, 10, 199}}) {
        cbo("cboX")->setCurrentIndex(col);
        cbo("cboY")->setCurrentIndex(row);
        click("cmdCOMMAND", 9);
        EXPECT_EQ((std::array<int, 4>{w.me().POS_X, w.me().POS_Y, cbo("cboX")->currentIndex(),
                                      cbo("cboY")->currentIndex()}),
                  (std::array<int, 4>{x, y, col, row}));
    }
    EXPECT_EQ(w.state->db.VAMPS(2).POS_X, 50);  // only the current character moves

    // E&xit asks once: No keeps the program running, Yes ends it without asking again as the
    // window closes.
    boxes();
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        w.world.prompts.answer(answer);
        trigger("mnuFileData", {6});
        pump();
        EXPECT_EQ(boxes().size(), 1u);
        EXPECT_EQ(w.quits, answer == MsgResult::Yes ? 1 : 0);
        EXPECT_EQ(w.main().isVisible(), answer == MsgResult::No);
    }
}

TEST_F(MainWorkersTest, PagesOpenInNewWindowsAndLinksGoToTheSystem) {
    const QString game = QStringLiteral("http://") + QLatin1String(hosts::kGame) + "/";
    const QString maker = QStringLiteral("http://") + QLatin1String(hosts::kMaker);
    w.wb(1).navigations.clear();
    const size_t wb_before = w.wb().navigations.size();
    trigger("mnuHelpData", {5, 6});
    trigger("mnuSkillsData", {0, 1});
    trigger("mnuLinksData", {0});
    commands.MENU_LINKS(1);
    commands.MENU_LINKS(2);
    // Then the messenger and the mail program, not a browser.
    for (int i : {5, 8, 6, 7})
        click("cmdCOMMAND", i);
    QStringList urls;
    for (const FakeBrowser::Navigation& n : w.wb(1).navigations) {
        EXPECT_EQ(n, (FakeBrowser::Navigation{n.url, "_blank", {}, {}}));
        urls.append(n.url);
    }
    EXPECT_EQ(urls, (QStringList{game + "bloodhowto.html", game + "faq.pl", game + "faq.pl?id=13",
                                 game + "blooddonate.pl", maker + "/ZEKO2/",
                                 maker + "/ZEKO2/donate.php", maker + "/poetry/"}));
    EXPECT_EQ(opened,
              (QStringList{QString::fromUtf8("ymsgr:sendIM?morvanek&m=Z.E.K.O.\xC2\xB2 v1.2.3"),
                           QString::fromUtf8("mailto:morvanek@example.org?subject="
                                             "Z.E.K.O.\xC2\xB2 v1.2.3")}));
    EXPECT_EQ(w.wb().navigations.size(), wb_before);
    // Safe Refresh: the base page alone, in the game browser.
    click("cmdCOMMAND", 3);
    EXPECT_EQ(w.wb().navigations.back(),
              (FakeBrowser::Navigation{QString::fromStdString(GAME_URL()), {}, {}, {}}));
}

TEST_F(MainWorkersTest, HelpWindowsSnapShotsAndDumpsReachTheirHooks) {
    // The items that open a window are followed to it in the program's own test.
    w.wb().body_outer_html = QStringLiteral("<BODY>page</BODY>");
    trigger("mnuHelpData", {3});
    click("cmdCOMMAND", 4);
    trigger("mnuFileData", {3, 4});
    // Without a document there is nothing to dump.
    w.wb().body_outer_html.reset();
    w.wb().body_html.reset();
    trigger("mnuFileData", {3, 4});
    EXPECT_EQ(w.windows.calls, (QStringList{"INIT_HELP 4 frmMAIN", "INIT_HELP 2 frmMAIN",
                                            "CSS <BODY>page</BODY>", "HTML <BODY>page</BODY>"}));
    // The bitmap waits for the snap-shot timer.
    auto* timer = w.find<QTimer>(QStringLiteral("tmrPIC"));
    EXPECT_FALSE(timer->isActive());
    trigger("mnuFileData", {1});
    EXPECT_TRUE(timer->isActive() && timer->interval() == 500);
    w.main().set_pic_interval(0);
}

TEST_F(MainWorkersTest, CharacterDialogsAndLayoutChooserAreModalOverTheMainWindow) {
    QString handle;
    EXPECT_TRUE(when_modal<ui::FrmVampEdit>([&] { click("cmdVAMP", 1); },
                                            [&](ui::FrmVampEdit* edit) {
                                                handle = edit->txtHANDLE()->text();
                                                edit->cmdCOMMAND(2)->click();
                                            }));
    EXPECT_EQ(handle, QStringLiteral("Alpha"));
    EXPECT_EQ(w.windows.calls, QStringList{"INIT_HELP 40 frmVAMP_EDIT"});
    EXPECT_TRUE(when_modal<ui::FrmVampNew>([&] { trigger("mnuVampData", {0}); },
                                           [](ui::FrmVampNew* create) {
                                               create->txtHANDLE()->setText("Gamma");
                                               create->cmdCOMMAND(0)->click();
                                           }));
    EXPECT_EQ(w.me().handle(), "Gamma");
    // The layout chooser: the choice is saved and applied once it closes.
    saved();
    EXPECT_TRUE(when_modal<ui::FrmLayout>(
        [&] { trigger("mnuOptData", {1}); },
        [](ui::FrmLayout* layout) {
            layout->findChild<QListWidget*>()->setCurrentRow(2);
            layout->findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(0)"))->click();
        }));
    EXPECT_EQ(saved().value().LAYOUT, 2);
    EXPECT_EQ(w.find(QStringLiteral("fraINFO"))->y(), ui::px(-40));
}

TEST(MainWorkersWiring, TheProgramRunsTheRealWorkersAndDialogAndLeavesNoDialogBehind) {
    TestWorld world;
    ProgramState state(world.folder.path(), world.services());
    {
        RecordingWindows windows;
        ui::ProgramUi program(state, windows, [](QWidget*) -> std::unique_ptr<WebBrowser> {
            return std::make_unique<FakeBrowser>();
        });
        EXPECT_NE(dynamic_cast<MainCommands*>(&program.workers()), nullptr);
        EXPECT_NE(dynamic_cast<ui::NewVampDialog*>(state.db.new_vamp_dialog), nullptr);
    }
    EXPECT_EQ(state.db.new_vamp_dialog, nullptr);
}

}  // namespace
}  // namespace zeko::testing
