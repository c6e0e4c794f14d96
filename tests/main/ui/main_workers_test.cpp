#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/hosts.h"
#include "main/ui/code_commands.h"
#include "main/ui/frm_layout.h"
#include "main/ui/frm_vamp.h"
#include "main/ui/main_buttons.h"
#include "main/ui/main_menus.h"
#include "main/ui/vb_widgets.h"
#include "main/ui/version_text.h"
#include "ui_world.h"

namespace zeko::testing {
namespace {

using ui::MainCommands;

QString idx(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Counts the completed writes of one file of a folder: an open, at least one change, a close.
class WriteCounter {
  public:
    WriteCounter(const std::filesystem::path& folder, std::string name) : name_(std::move(name)) {
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ >= 0) inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE);
    }
    ~WriteCounter() {
        if (fd_ >= 0) close(fd_);
    }
    WriteCounter(const WriteCounter&) = delete;
    WriteCounter& operator=(const WriteCounter&) = delete;

    bool ok() const { return fd_ >= 0; }

    // Writes completed since the last call.
    int take() {
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if (e->len > 0 && name_ == e->name) {
                    if (e->mask & IN_OPEN) changed_ = false;
                    if (e->mask & IN_MODIFY) changed_ = true;
                    if (e->mask & IN_CLOSE_WRITE) {
                        if (changed_) ++writes_;
                        changed_ = false;
                    }
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        const int writes = writes_;
        writes_ = 0;
        return writes;
    }

  private:
    int fd_ = -1;
    std::string name_;
    bool changed_ = false;
    int writes_ = 0;
};

// The real workers, with the windows that do not exist yet and the system's link handler
// recorded instead.
class TestCommands final : public MainCommands {
  public:
    using MainCommands::MainCommands;

    void INIT_HELP(int16_t topic) override { note(QStringLiteral("INIT_HELP %1").arg(topic)); }
    void show_frmPICConfig() override { note(QStringLiteral("frmPICConfig")); }
    void show_frmSET_DEST() override { note(QStringLiteral("frmSET_DEST")); }
    void show_frmSHOPPING() override { note(QStringLiteral("frmSHOPPING")); }
    void show_frmSKILLS() override { note(QStringLiteral("frmSKILLS")); }
    void show_frmEMOTICON() override { note(QStringLiteral("frmEMOTICON")); }
    void show_frmABOUT() override { note(QStringLiteral("frmABOUT")); }
    void SNAPSHOT_HTML(const std::string& body) override {
        note(QStringLiteral("SNAPSHOT_HTML ") + q(body));
    }
    void SNAPSHOT_HTML_CSS(const std::string& body) override {
        note(QStringLiteral("SNAPSHOT_HTML_CSS ") + q(body));
    }

    QStringList calls;

  private:
    void note(const QString& call) { calls.append(call); }
};

class MainWorkersTest : public ::testing::Test {
  protected:
    MainWorkersTest() : commands(*w.state, *w.ui) {
        commands.set_open_url([this](const QString& url) { opened.append(url); });
        w.ui->set_workers(commands);
        w.add_vamp("Alpha", 101, 101);
        w.add_vamp("Beta", 50, 60);
        w.start();
        writes.take();
    }
    ~MainWorkersTest() override {
        // The windows go before the workers they call.
        w.ui.reset();
    }

    QAction* action(const char* name, int i) { return w.find<QAction>(idx(name, i)); }
    void click(const char* name, int i) { QTest::mouseClick(button(name, i), Qt::LeftButton); }
    QPushButton* button(const char* name, int i) { return w.find<QPushButton>(idx(name, i)); }
    std::array<bool, 5> zoom_ticks() {
        std::array<bool, 5> ticks{};
        for (int i = 0; i < 5; ++i)
            ticks[static_cast<size_t>(i)] = action("mnuZoomData", i)->isChecked();
        return ticks;
    }
    // Runs `step` once the next modal window is up, then closes whatever is still open.
    void when_modal(std::function<void(QWidget*)> step) {
        QTimer::singleShot(0, [this, step] {
            QWidget* modal = QApplication::activeModalWidget();
            modal_seen = modal != nullptr;
            if (modal) step(modal);
            if (QWidget* left = QApplication::activeModalWidget()) left->close();
        });
    }

    UiWorld w;
    WriteCounter writes{w.world.folder.path(), "SETTINGS.DAT"};
    TestCommands commands;
    QStringList opened;
    bool modal_seen = false;
};

TEST_F(MainWorkersTest, ZoomButtonsStopAtTheirEndsAndOnlyZoomInWrites) {
    ASSERT_TRUE(writes.ok());
    action("mnuZoomData", 0)->trigger();
    EXPECT_EQ(writes.take(), 1);
    ASSERT_EQ(w.state->ZOOM, 3);

    // At 3 Zoom In stays at 3, yet writes the file.
    click("cmdCOMMAND", 0);
    EXPECT_EQ(w.state->ZOOM, 3);
    EXPECT_EQ(w.settings().ZOOM, 3);
    EXPECT_EQ(writes.take(), 1);
    EXPECT_EQ(w.settings_on_disk().ZOOM, 3);

    // Zoom Out reaches 11 in memory only; at 11 it stays there.
    action("mnuZoomData", 3)->trigger();
    EXPECT_EQ(writes.take(), 1);
    click("cmdCOMMAND", 1);
    EXPECT_EQ(w.state->ZOOM, 11);
    EXPECT_EQ(w.settings().ZOOM, 11);
    EXPECT_EQ(zoom_ticks(), (std::array<bool, 5>{false, false, false, false, true}));
    click("cmdCOMMAND", 1);
    EXPECT_EQ(w.state->ZOOM, 11);
    EXPECT_EQ(writes.take(), 0);
    EXPECT_EQ(w.settings_on_disk().ZOOM, 9);

    // The next save of any kind takes it: opening the Auto-Nav submenu.
    QMetaObject::invokeMethod(w.find<QMenu>(QStringLiteral("mnuOptData(0)")), "aboutToShow");
    EXPECT_EQ(writes.take(), 1);
    EXPECT_EQ(w.settings_on_disk().ZOOM, 11);
}

TEST_F(MainWorkersTest, ZoomItemsSetZoomAndTickAndTheButtonsStepFromThere) {
    action("mnuZoomData", 1)->trigger();  // F5
    EXPECT_EQ(w.state->ZOOM, 5);
    EXPECT_EQ(w.settings_on_disk().ZOOM, 5);
    EXPECT_EQ(writes.take(), 1);
    EXPECT_EQ(zoom_ticks(), (std::array<bool, 5>{false, true, false, false, false}));
    EXPECT_EQ(w.find<ui::LabelBox>(idx("TILE", 24))->isVisible(), true);
    EXPECT_EQ(w.find<ui::LabelBox>(idx("TILE", 25))->isVisible(), false);

    click("cmdCOMMAND", 0);
    EXPECT_EQ(w.state->ZOOM, 3);
    EXPECT_EQ(zoom_ticks(), (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_EQ(w.find<ui::LabelBox>(idx("TILE", 9))->isVisible(), false);

    action("mnuZoomData", 1)->trigger();
    click("cmdCOMMAND", 1);
    EXPECT_EQ(w.state->ZOOM, 7);
    EXPECT_EQ(zoom_ticks(), (std::array<bool, 5>{false, false, true, false, false}));
    EXPECT_EQ(w.find<ui::LabelBox>(idx("TILE", 48))->isVisible(), true);

    // An index the menu does not have changes nothing.
    writes.take();
    commands.MENU_ZOOM(5);
    commands.MENU_ZOOM(-1);
    EXPECT_EQ(w.state->ZOOM, 7);
    EXPECT_EQ(writes.take(), 0);
}

TEST_F(MainWorkersTest, GraphicalMapWritesTwiceAndEndsToggled) {
    const VbBool before = w.settings().TILE_IMAGES;
    action("mnuOptData", 2)->trigger();
    EXPECT_EQ(writes.take(), 2);
    EXPECT_NE(w.settings().TILE_IMAGES, before);
    EXPECT_EQ(w.settings_on_disk().TILE_IMAGES, w.settings().TILE_IMAGES);
    EXPECT_EQ(action("mnuOptData", 2)->isChecked(), w.settings().TILE_IMAGES != 0);

    action("mnuOptData", 2)->trigger();
    EXPECT_EQ(writes.take(), 2);
    EXPECT_EQ(w.settings().TILE_IMAGES, before == kTrue ? kTrue : kFalse);
    EXPECT_EQ(action("mnuOptData", 2)->isChecked(), w.settings().TILE_IMAGES != 0);
}

TEST_F(MainWorkersTest, AutoNavParentSavesOnOpeningAndItemsToggleAndStartThePoll) {
    const SETTINGS_REC before = w.settings();
    const uint64_t revision = w.main().model().revision;
    QMetaObject::invokeMethod(w.find<QMenu>(QStringLiteral("mnuOptData(0)")), "aboutToShow");
    EXPECT_EQ(writes.take(), 1);
    EXPECT_EQ(w.settings(), before);
    EXPECT_GT(w.main().model().revision, revision);  // and the minimap is drawn again
    EXPECT_FALSE(w.main().tmrRIP()->isActive());

    for (int item = 0; item < 2; ++item) {
        VbBool& flag = item == 0 ? w.settings().AUTONAV_STANDARD : w.settings().AUTONAV_PRECOG;
        for (int round = 0; round < 2; ++round) {
            w.main().set_rip_interval(0);
            const VbBool was = flag;
            action("mnuAutoNavData", item)->trigger();
            EXPECT_EQ(flag, was == kTrue ? kFalse : kTrue);
            EXPECT_EQ(action("mnuAutoNavData", item)->isChecked(), flag != 0);
            // Switching off still reads the page once.
            EXPECT_TRUE(w.main().tmrRIP()->isActive());
            EXPECT_EQ(w.main().tmrRIP()->interval(), 150);
            EXPECT_EQ(writes.take(), 1);
            EXPECT_EQ(w.settings_on_disk(), w.settings());
        }
    }
    w.main().set_rip_interval(0);
    commands.MENU_AUTONAV(2);
    EXPECT_FALSE(w.main().tmrRIP()->isActive());
    EXPECT_EQ(writes.take(), 1);
}

TEST_F(MainWorkersTest, NavigationLinesToggleTheirCheckAndLine) {
    const std::array<const char*, 4> lines = {"BANK1", "PUB1", "TRANS1", "DEST1"};
    const std::array<VbBool SETTINGS_REC::*, 4> fields = {
        &SETTINGS_REC::NAVLINE_BANK, &SETTINGS_REC::NAVLINE_PUB, &SETTINGS_REC::NAVLINE_TRANSIT,
        &SETTINGS_REC::NAVLINE_DEST};
    for (int i = 0; i < 3; ++i) {
        VbBool& flag = w.settings().*fields[static_cast<size_t>(i)];
        auto* line = w.find<ui::LineShape>(QLatin1String(lines[static_cast<size_t>(i)]));
        for (int round = 0; round < 2; ++round) {
            const VbBool was = flag;
            action("mnuNavData", i)->trigger();
            EXPECT_EQ(flag, was == kTrue ? kFalse : kTrue) << i;
            EXPECT_EQ(action("mnuNavData", i)->isChecked(), flag != 0) << i;
            EXPECT_EQ(line->isVisible(), flag != 0) << i;
            EXPECT_EQ(writes.take(), 1);
            EXPECT_EQ(w.settings_on_disk().*fields[static_cast<size_t>(i)], flag);
        }
    }
    const VbBool dest = w.settings().NAVLINE_DEST;
    action("mnuNavData", 3)->trigger();
    EXPECT_NE(w.settings().NAVLINE_DEST, dest);
    EXPECT_EQ(action("mnuNavData", 3)->isChecked(), w.settings().NAVLINE_DEST != 0);
    // Any other index still saves and redraws.
    commands.MENU_NAVLINES(7);
    EXPECT_EQ(writes.take(), 2);
}

TEST_F(MainWorkersTest, DeleteAsksWithTheHandleAsTypedAndCompactsOnYes) {
    const auto size = [&] { return std::filesystem::file_size(w.vamp_file()); };
    ASSERT_EQ(size(), 2u * kVampRecordBytes);
    ASSERT_EQ(w.state->db.CUR_VAMP, 1);
    const ShownBox question{"Are you sure you want to delete the vampire 'Alpha' from your list?",
                            MsgButtons::YesNo, MsgIcon::Question, "Just making sure..."};

    w.world.prompts.shown.clear();
    const std::string before = read_bytes(w.vamp_file());
    w.world.prompts.answer(MsgResult::No);
    click("cmdVAMP", 2);
    EXPECT_EQ(w.world.prompts.shown, std::vector<ShownBox>{question});
    EXPECT_EQ(read_bytes(w.vamp_file()), before);
    EXPECT_EQ(w.me().DELETED, kFalse);

    // The menu item asks the same.
    w.world.prompts.shown.clear();
    w.world.prompts.answer(MsgResult::Yes);
    action("mnuVampData", 2)->trigger();
    EXPECT_EQ(w.world.prompts.shown, std::vector<ShownBox>{question});
    EXPECT_EQ(size(), 1u * kVampRecordBytes);
    ASSERT_EQ(w.state->db.VAMP_COUNT, 1);
    EXPECT_EQ(w.state->db.VAMPS(1).handle(), "Beta");
    ASSERT_EQ(w.main().lstVAMP()->count(), 1);
    EXPECT_EQ(w.main().lstVAMP()->item(0)->text().trimmed(), QStringLiteral("Beta"));

    // Deleting the last one empties the file; the list keeps its stale entry, and with no
    // character left Delete, Edit and GO do nothing.
    w.world.prompts.shown.clear();
    w.world.prompts.answer(MsgResult::Yes);
    click("cmdVAMP", 2);
    EXPECT_EQ(size(), 0u);
    EXPECT_EQ(w.state->db.VAMP_COUNT, 0);
    const auto shown = w.world.prompts.shown.size();
    click("cmdVAMP", 2);
    click("cmdVAMP", 1);
    click("cmdCOMMAND", 9);
    EXPECT_EQ(w.world.prompts.shown.size(), shown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(size(), 0u);
}

TEST_F(MainWorkersTest, GoLandsSouthEastOfTheChosenCrossing) {
    QComboBox* x = w.main().cboX();
    QComboBox* y = w.main().cboY();
    x->setCurrentIndex(0);
    y->setCurrentIndex(0);
    click("cmdCOMMAND", 9);
    EXPECT_EQ(w.me().POS_X, 0);
    EXPECT_EQ(w.me().POS_Y, 0);
    EXPECT_EQ(x->currentIndex(), 0);
    EXPECT_EQ(y->currentIndex(), 0);

    x->setCurrentIndex(5);
    y->setCurrentIndex(100);
    click("cmdCOMMAND", 9);
    EXPECT_EQ(w.me().POS_X, 10);
    // The city limit's street lies beyond the last block: the redraw keeps the character in.
    EXPECT_EQ(w.me().POS_Y, 199);
    EXPECT_EQ(x->currentIndex(), 5);
    EXPECT_EQ(y->currentIndex(), 100);
    // Only the other character is untouched.
    EXPECT_EQ(w.state->db.VAMPS(2).POS_X, 50);
}

TEST_F(MainWorkersTest, ExitAsksOnceAndYesEndsTheProgram) {
    const ShownBox question{std::string(kQuitQuestion), MsgButtons::YesNo, MsgIcon::Question,
                            "Just thought I'd ask..."};
    w.world.prompts.shown.clear();
    w.world.prompts.answer(MsgResult::No);
    action("mnuFileData", 6)->trigger();
    pump();
    EXPECT_EQ(w.world.prompts.shown, std::vector<ShownBox>{question});
    EXPECT_EQ(w.quits, 0);
    EXPECT_TRUE(w.main().isVisible());
    EXPECT_FALSE(w.main().NO_EXIT_PROMPT);

    w.world.prompts.shown.clear();
    w.world.prompts.answer(MsgResult::Yes);
    action("mnuFileData", 6)->trigger();
    pump();
    EXPECT_EQ(w.world.prompts.shown, std::vector<ShownBox>{question});
    EXPECT_EQ(w.quits, 1);
    EXPECT_FALSE(w.main().isVisible());
}

TEST_F(MainWorkersTest, PagesOpenInNewWindowsAndLinksGoToTheSystem) {
    const QString game = QStringLiteral("http://") + QLatin1String(hosts::kGame) + "/";
    const QString maker = QStringLiteral("http://") + QLatin1String(hosts::kMaker);
    w.wb2().navigations.clear();
    const size_t wb_before = w.wb().navigations.size();

    action("mnuHelpData", 5)->trigger();
    action("mnuHelpData", 6)->trigger();
    action("mnuSkillsData", 0)->trigger();
    action("mnuSkillsData", 1)->trigger();
    action("mnuLinksData", 0)->trigger();
    commands.MENU_LINKS(1);
    commands.MENU_LINKS(2);
    click("cmdCOMMAND", 5);
    click("cmdCOMMAND", 8);
    using Nav = FakeBrowser::Navigation;
    const auto blank = [](const QString& url) {
        return Nav{url, QStringLiteral("_blank"), {}, QString(), false};
    };
    EXPECT_EQ(w.wb2().navigations,
              (std::vector<Nav>{blank(game + "bloodhowto.html"), blank(game + "faq.pl"),
                                blank(game + "faq.pl?id=13"), blank(game + "blooddonate.pl"),
                                blank(maker + "/ZEKO2/"), blank(maker + "/ZEKO2/donate.php"),
                                blank(maker + "/poetry/")}));
    EXPECT_EQ(w.wb().navigations.size(), wb_before);

    // The messenger and the mail program, not a browser.
    click("cmdCOMMAND", 6);
    click("cmdCOMMAND", 7);
    ASSERT_EQ(ui::version_text(), "1.2.3");
    EXPECT_EQ(opened,
              (QStringList{QString::fromUtf8("ymsgr:sendIM?morvanek&m=Z.E.K.O.\xC2\xB2 v1.2.3"),
                           QString::fromUtf8("mailto:morvanek@example.org?subject="
                                             "Z.E.K.O.\xC2\xB2 v1.2.3")}));
    EXPECT_EQ(w.wb2().navigations.size(), 7u);

    // Safe Refresh: the base page alone, in the game browser.
    click("cmdCOMMAND", 3);
    ASSERT_EQ(w.wb().navigations.size(), wb_before + 1);
    EXPECT_EQ(w.wb().navigations.back(), (Nav{q(GAME_URL()), QString(), {}, QString(), false}));

    EXPECT_EQ(ui::game_page("http://h:1/x/blood.pl", "faq.pl"), "http://h:1/x/faq.pl");
}

TEST_F(MainWorkersTest, HelpWindowsSnapShotsAndDumpsReachTheirHooks) {
    w.wb().body_outer_html = QStringLiteral("<BODY>page</BODY>");
    action("mnuHelpData", 0)->trigger();
    action("mnuHelpData", 2)->trigger();
    action("mnuHelpData", 3)->trigger();
    click("cmdCOMMAND", 4);
    click("cmdCOMMAND", 2);
    action("mnuToolsData", 0)->trigger();
    action("mnuToolsData", 1)->trigger();
    action("mnuToolsData", 3)->trigger();
    action("mnuFileData", 0)->trigger();
    action("mnuFileData", 3)->trigger();
    action("mnuFileData", 4)->trigger();
    EXPECT_EQ(commands.calls, (QStringList{"frmABOUT", "INIT_HELP 2", "INIT_HELP 4", "INIT_HELP 2",
                                           "frmSET_DEST", "frmSHOPPING", "frmSKILLS", "frmEMOTICON",
                                           "frmPICConfig", "SNAPSHOT_HTML_CSS <BODY>page</BODY>",
                                           "SNAPSHOT_HTML <BODY>page</BODY>"}));

    // Without a document there is nothing to dump.
    commands.calls.clear();
    w.wb().body_html.reset();
    w.wb().body_outer_html.reset();
    action("mnuFileData", 3)->trigger();
    action("mnuFileData", 4)->trigger();
    EXPECT_TRUE(commands.calls.isEmpty());

    // The bitmap waits for the snap-shot timer.
    EXPECT_FALSE(w.main().tmrPIC()->isActive());
    action("mnuFileData", 1)->trigger();
    EXPECT_TRUE(w.main().tmrPIC()->isActive());
    EXPECT_EQ(w.main().tmrPIC()->interval(), 500);
    w.main().set_pic_interval(0);
}

TEST_F(MainWorkersTest, CharacterDialogsAndLayoutChooserAreModalOverTheMainWindow) {
    QString handle;
    when_modal([&](QWidget* modal) {
        auto* edit = qobject_cast<ui::FrmVampEdit*>(modal);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->parentWidget(), &w.main());
        handle = edit->txtHANDLE()->text();
        edit->cmdCOMMAND(2)->click();
        edit->cmdCOMMAND(1)->click();
    });
    click("cmdVAMP", 1);
    EXPECT_TRUE(modal_seen);
    EXPECT_EQ(handle, QStringLiteral("Alpha"));
    EXPECT_EQ(commands.calls, QStringList{"INIT_HELP 40"});

    modal_seen = false;
    when_modal([&](QWidget* modal) {
        auto* create = qobject_cast<ui::FrmVampNew*>(modal);
        ASSERT_NE(create, nullptr);
        EXPECT_EQ(create->parentWidget(), &w.main());
        create->txtHANDLE()->setText(QStringLiteral("Gamma"));
        create->cmdCOMMAND(0)->click();
    });
    action("mnuVampData", 0)->trigger();
    EXPECT_TRUE(modal_seen);
    EXPECT_EQ(w.state->db.VAMP_COUNT, 3);
    EXPECT_EQ(w.state->db.CUR_VAMP, 3);
    EXPECT_EQ(w.me().handle(), "Gamma");

    // The layout chooser: the choice is saved and applied once it closes.
    modal_seen = false;
    writes.take();
    when_modal([&](QWidget* modal) {
        auto* layout = qobject_cast<ui::FrmLayout*>(modal);
        ASSERT_NE(layout, nullptr);
        EXPECT_EQ(layout->parentWidget(), &w.main());
        auto* list = layout->findChild<QListWidget*>(QStringLiteral("lstSETUP"));
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(2);
        layout->cmdCOMMAND_Click(0);
    });
    action("mnuOptData", 1)->trigger();
    EXPECT_TRUE(modal_seen);
    EXPECT_EQ(writes.take(), 1);
    EXPECT_EQ(w.settings_on_disk().LAYOUT, 2);
    EXPECT_EQ(w.find<QWidget>(QStringLiteral("fraINFO"))->y(), ui::px(-40));
}

TEST(MainWorkersWiring, TheProgramRunsTheRealWorkersDialogAndLogin) {
    TestWorld world;
    write_bytes(world.folder / "MAP.DAT", scrambled_map(test_city()));
    Services services = world.services();
    services.vamp_list = nullptr;
    services.new_vamp_dialog = nullptr;
    ProgramState state(world.folder.path(), services);
    std::vector<QPointer<FakeBrowser>> browsers;
    {
        ui::ProgramUi program(state, [&](QWidget*) -> std::unique_ptr<WebBrowser> {
            auto browser = std::make_unique<FakeBrowser>();
            browsers.emplace_back(browser.get());
            return browser;
        });
        EXPECT_NE(dynamic_cast<MainCommands*>(&program.workers()), nullptr);
        EXPECT_NE(dynamic_cast<ui::NewVampDialog*>(state.services.new_vamp_dialog), nullptr);

        VAMP v;
        v.set_handle("Runner");
        v.set_name("Vlad");
        v.set_password("pw");
        state.db.CREATE_OFFERED = true;
        ASSERT_EQ(state.db.CREATE_DB(v), 1);
        state.db.CUR_VAMP = 1;
        program.frmMAIN();
        program.workers().LOGIN_CURRENT();
        ASSERT_EQ(browsers.size(), 2u);
        EXPECT_EQ(browsers[0]->navigations.back().url, q(GAME_URL() + "?action=welcome"));
        ASSERT_EQ(browsers[0]->site_cookies.size(), 1u);
        EXPECT_EQ(browsers[0]->site_cookies[0].first, QStringLiteral("ip=Vlad#pw"));
        EXPECT_TRUE(program.codeCOMMANDS().PINGED_THIS_RUN);
    }
    EXPECT_EQ(state.services.new_vamp_dialog, nullptr);
}

}  // namespace
}  // namespace zeko::testing
