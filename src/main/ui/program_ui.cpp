#include "main/ui/program_ui.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QWidget>

#include "main/program_state.h"
#include "main/ui/code_commands.h"
#include "main/ui/frm_layout.h"
#include "main/ui/frm_vamp.h"
#include "main/ui/main_menus.h"
#include "widgets/program_windows.h"

namespace zeko::ui {

ProgramUi::ProgramUi(ProgramState& state, FrmMain::BrowserFactory make_browser,
                     std::function<void()> quit)
    : ProgramUi(state, *new NoWindows, std::move(make_browser), std::move(quit)) {
    own_windows_.reset(windows_);
}

ProgramUi::ProgramUi(ProgramState& state, ProgramWindows& windows,
                     FrmMain::BrowserFactory make_browser, std::function<void()> quit)
    : state_(state),
      windows_(&windows),
      make_browser_(std::move(make_browser)),
      quit_(quit ? std::move(quit) : std::function<void()>([] { QCoreApplication::quit(); })),
      own_workers_(std::make_unique<MainCommands>(state, *this, windows)),
      workers_(own_workers_.get()),
      new_vamp_(std::make_unique<NewVampDialog>(state, [this](int topic, QWidget* owner) {
          windows_->INIT_HELP(static_cast<int16_t>(topic), owner);
      })) {
    // The database offers the real dialog unless the caller has its own.
    if (state_.db.new_vamp_dialog == nullptr) state_.db.new_vamp_dialog = new_vamp_.get();
}

ProgramUi::~ProgramUi() {
    // The core must not reach into a list that is gone.
    if (main_ && state_.db.vamp_list == &main_->vamp_list()) state_.db.vamp_list = nullptr;
    if (state_.db.new_vamp_dialog == new_vamp_.get()) state_.db.new_vamp_dialog = nullptr;
    if (main_) main_->prepare_exit();
    delete layout_.data();
    commands_.reset();
    main_.reset();
}

void ProgramUi::set_workers(MainWorkers& workers) {
    workers_ = &workers;
    if (main_) main_->set_workers(workers);
}

FrmMain& ProgramUi::frmMAIN() {
    if (!main_) {
        main_ = std::make_unique<FrmMain>(state_, *workers_, *windows_, make_browser_);
        main_->set_exit_program([this] { EXIT_PROGRAM(); });
        state_.db.vamp_list = &main_->vamp_list();
        commands_ = std::make_unique<CodeCommands>(
            state_, main_->wb(), main_->wb2(), [this] { main_->BUILD_MAP(); }, GAME_URL(state_));
    }
    return *main_;
}

CodeCommands& ProgramUi::codeCOMMANDS() {
    frmMAIN();
    return *commands_;
}

FrmLayout& ProgramUi::frmLAYOUT() {
    if (!layout_) layout_ = new FrmLayout(state_, frmMAIN(), *windows_);
    return *layout_;
}

void ProgramUi::load_main_window() {
    frmMAIN();
}

void ProgramUi::APPLY_SETTINGS() {
    frmMAIN().APPLY_SETTINGS();
}

void ProgramUi::FORCE_LAYOUT(int16_t layout) {
    frmLAYOUT().FORCE_LAYOUT(layout);
}

bool ProgramUi::select_first_entry() {
    return frmMAIN().select_first_entry();
}

int ProgramUi::list_count() {
    return frmMAIN().list_count();
}

void ProgramUi::show_main_window() {
    FrmMain& main = frmMAIN();
    if (main.windowState() & Qt::WindowMaximized)
        main.showMaximized();
    else
        main.show();
}

void ProgramUi::EXIT_PROGRAM() {
    if (main_) main_->prepare_exit();
    // A window may take others with it as it closes.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        if (w && w->isVisible()) w->close();
    quit_();
}

}  // namespace zeko::ui
