#include "main/ui/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <string>

#include "main/layout.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/browser_toolbar.h"
#include "main/ui/character_panel.h"
#include "main/ui/command_panel.h"
#include "main/ui/info_panel.h"
#include "main/ui/main_workers.h"
#include "main/ui/menu_bar.h"
#include "main/ui/minimap_panel.h"
#include "main/ui/page_tracking.h"
#include "main/ui/window_placement.h"
#include "platform/browser.h"
#include "widgets/program_windows.h"
#include "widgets/traps.h"
#include "widgets/vb_widgets.h"
#include "widgets/version_text.h"
#include "widgets/window_activation.h"

namespace zeko::ui {

namespace {

constexpr BgrColor kPageGround = 0x3000;
constexpr BgrColor kPageText = 0x80FF80;

// The window's design size in twips.
constexpr int32_t kDesignWidth = 12000;
constexpr int32_t kDesignHeight = 9000;

// Design sizes of the left column's panels (the list stretches).
constexpr int32_t kColumnWidth = 3600;
constexpr int32_t kMapHeight = 3645;
constexpr int32_t kButtonsHeight = 1620;
constexpr int32_t kVampButtonsHeight = 510;
constexpr int32_t kInfoHeight = 1815;
constexpr int32_t kToolbarHeight = 525;

}  // namespace

FrmMain::FrmMain(ProgramState& state, MainWorkers& workers, ProgramWindows& windows,
                 const BrowserFactory& make_browser, QWidget* parent)
    : QMainWindow(parent), state_(state), workers_(&workers), windows_(windows) {
    setObjectName(QStringLiteral("frmMAIN"));
    minimap_ = std::make_unique<Minimap>(state_, model_);
    placement_ = std::make_unique<WindowPlacement>(*this, state_.settings);
    activation_ = new WindowActivation(*this);

    client_ = make_panel(this, "frmMAIN_client", kGround);
    setCentralWidget(client_);

    menus_ = new MenuBar(*this, main_menu_table(),
                         [this](const QString& array, int index) { menu_Click(array, index); });
    const auto build_map = [this] { BUILD_MAP(); };
    fraMAP_ = new MinimapPanel(state_, build_map, client_);
    fraMAP_->setGeometry(twips_rect(0, 0, kColumnWidth, kMapHeight));
    fraBUTTONS_ = new CommandPanel(
        state_,
        [this](int16_t index, StreetChoice streets) {
            trap("cmdCOMMAND_Click", [&] { workers_->BUTTON_COMMAND(index, streets); });
        },
        client_);
    fraBUTTONS_->setGeometry(twips_rect(0, 3660, kColumnWidth, kButtonsHeight));
    fraVAMP_BUTTONS_ = new CharacterPanel(
        state_,
        CharacterPanel::Steps{
            .login_current =
                [this] {
                    quietly([this] { trap("LOGIN_CURRENT", [&] { workers_->LOGIN_CURRENT(); }); });
                },
            .apply_settings = [this] { APPLY_SETTINGS(); },
            .build_map = build_map,
            .focus_browser = [this] { wb_->setFocus(); },
            .vamp_button =
                [this](int16_t index) {
                    trap("cmdVAMP_Click", [&] { workers_->BUTTON_VAMP(index); });
                },
        },
        client_);
    fraVAMP_BUTTONS_->setGeometry(twips_rect(0, 6000, kColumnWidth, kVampButtonsHeight));
    fraINFO_ = new InfoPanel(state_, build_map, client_);
    fraINFO_->setGeometry(twips_rect(0, 6480, kColumnWidth, kInfoHeight));
    fraTOOLBAR_ = new BrowserToolbar(
        [this](int index) {
            quietly([&] {
                trap("tbBUTTON_Click", [&] { workers_->MENU_FILE(static_cast<int16_t>(index)); });
            });
        },
        client_);
    fraTOOLBAR_->setGeometry(twips_rect(kColumnWidth, 0, 8295, kToolbarHeight));

    wb_ = make_browser(client_);
    wb2_ = make_browser(client_);
    for (auto [browser, name] : {std::pair{wb_.get(), "wb"}, std::pair{wb2_.get(), "wb2"}}) {
        QWidget* w = browser->widget();
        if (w->parentWidget() != client_) w->setParent(client_);
        w->setObjectName(QLatin1String(name));
    }
    wb2_->widget()->hide();
    wb_->widget()->setGeometry(twips_rect(kColumnWidth, kToolbarHeight, 8295, 8295));
    fraTOOLBAR_->set_browser(*wb_);
    connect(wb_.get(), &WebBrowser::DocumentComplete, this,
            [this](const QString&) { wb_DocumentComplete(); });
    tracking_ = new PageTracking(
        state_, *wb_, build_map, [this] { return menu_item("mnuAutoNavData", 1)->isChecked(); },
        this);

    tmrPIC_ = new QTimer(this);
    tmrPIC_->setObjectName(QStringLiteral("tmrPIC"));
    connect(tmrPIC_, &QTimer::timeout, this, [this] { tmrPIC_Timer(); });

    // Every control starts as the model's defaults say.
    fraMAP_->show_model(model_, shown_, true);

    resize(px(kDesignWidth), px(kDesignHeight));
    fit_browser();
    Form_Load();
}

FrmMain::~FrmMain() {
    exiting_ = true;
    // The controls outlive this object's members while the base class deletes them; none of
    // their signals may reach the handlers any more.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    delete tracking_;
    // The panels go before the browsers and the minimap their handlers reach.
    for (QWidget* panel : std::initializer_list<QWidget*>{fraMAP_, fraBUTTONS_, fraVAMP_BUTTONS_,
                                                          fraINFO_, fraTOOLBAR_})
        delete panel;
    // The browsers go first, while the widgets they live in still exist.
    wb2_.reset();
    wb_.reset();
}

CharacterList& FrmMain::vamp_list() {
    return fraVAMP_BUTTONS_->vamp_list();
}

QListWidget* FrmMain::lstVAMP() const {
    return fraVAMP_BUTTONS_->lstVAMP();
}

QAction* FrmMain::menu_item(const char* array, int index) const {
    return menus_->item(QLatin1String(array), index);
}

void FrmMain::prepare_exit() {
    exiting_ = true;
    tracking_->stop();
    tmrPIC_->stop();
}

void FrmMain::quietly(const std::function<void()>& step) {
    const QScopedValueRollback<bool> quiet(NO_EXIT_PROMPT, true);
    step();
}

// --- load ---

void FrmMain::Form_Load() {
    wb_->setSilent(true);
    INIT_FORM();
    ZOOM_MAP();
    FIRST_PAGE_DONE = false;
    wb_->Navigate2(QStringLiteral("about:blank"));
    state_.NAV_CHOICE = 0;
    SHOW_DIST_MODE();
}

void FrmMain::INIT_FORM() {
    setWindowTitle(QString::fromUtf8("Zekorama\xC2\xB2 Version ") + utf8(version_text()) +
                   QStringLiteral("..."));
    fraVAMP_BUTTONS_->INIT_FORM();
    fraINFO_->INIT_FORM();
    fraMAP_->INIT_FORM();
    fraBUTTONS_->INIT_FORM();
}

// --- minimap ---

void FrmMain::ZOOM_MAP() {
    trap("ZOOM_MAP", [&] { minimap_->ZOOM_MAP(); });
    show_minimap();
}

void FrmMain::BUILD_MAP() {
    minimap_->BUILD_MAP();
    show_minimap();
}

void FrmMain::DRAW_LINES() {
    minimap_->DRAW_LINES();
    show_minimap();
}

void FrmMain::show_minimap() {
    if (model_.revision == shown_.revision) return;
    fraMAP_->show_model(model_, shown_);
    fraINFO_->show_model(model_, shown_);
    fraBUTTONS_->show_model(model_, shown_);
    if (model_.zoom_checked != shown_.zoom_checked) {
        for (size_t i = 0; i < model_.zoom_checked.size(); ++i)
            MenuBar::set_ticked(menu_item("mnuZoomData", static_cast<int>(i)),
                                model_.zoom_checked[i]);
        shown_.zoom_checked = model_.zoom_checked;
    }
    shown_.revision = model_.revision;
}

void FrmMain::SHOW_DIST_MODE() {
    fraINFO_->SHOW_DIST_MODE();
}

// --- settings and layout ---

void FrmMain::APPLY_SETTINGS() {
    SettingsStore& store = state_.settings;
    SETTINGS_REC& s = store.SETTINGS;
    store.APPLYING_SETTINGS = true;
    trap("APPLY_SETTINGS", [&] {
        state_.ZOOM = s.ZOOM;
        ZOOM_MAP();
    });
    fraVAMP_BUTTONS_->set_autologin_checked(s.AUTOLOGIN_ENABLED == kTrue);
    MenuBar::set_ticked(menu_item("mnuAutoNavData", 0), s.AUTONAV_STANDARD != 0);
    MenuBar::set_ticked(menu_item("mnuAutoNavData", 1), s.AUTONAV_PRECOG != 0);
    const VbBool lines[4] = {s.NAVLINE_BANK, s.NAVLINE_PUB, s.NAVLINE_TRANSIT, s.NAVLINE_DEST};
    for (size_t i = 0; i < 4; ++i) {
        MenuBar::set_ticked(menu_item("mnuNavData", static_cast<int>(i)), lines[i] != 0);
        model_.navline_checked[i] = lines[i] != 0;
    }
    MenuBar::set_ticked(menu_item("mnuOptData", 2), s.TILE_IMAGES != 0);
    placement_->apply();
    APPLY_TOOLBAR();
    store.APPLYING_SETTINGS = false;
}

void FrmMain::APPLY_TOOLBAR() {
    const SETTINGS_REC& s = state_.settings.SETTINGS;
    MenuBar::set_ticked(menu_item("mnuOptData", 3), s.TOOLBAR != 0);
    QWidget* browser = wb_->widget();
    if (s.TOOLBAR == kTrue) {
        browser->move(browser->x(), fraTOOLBAR_->height());
        fraTOOLBAR_->show();
    } else {
        browser->move(browser->x(), 0);
        fraTOOLBAR_->hide();
    }
    // The browser ends at the bottom of the window whether or not the toolbar is above it.
    browser->resize(browser->width(), std::max(0, client_->height() - browser->y()));
    fraTOOLBAR_->resize(browser->width(), fraTOOLBAR_->height());
}

void FrmMain::APPLY_LAYOUT() {
    const SETTINGS_REC& s = state_.settings.SETTINGS;
    const double inner = static_cast<double>(twips(client_->height()));
    PanelPlacement p;
    try {
        p = APPLY_LAYOUT_placement(s, inner);
    } catch (const std::exception&) {
        // A window too tall for the list's 16-bit height: the panels go to their places
        // without the stretch.
        p = APPLY_LAYOUT_placement(s, std::min(inner, static_cast<double>(kLayoutBaseHeight)));
    }
    fraMAP_->setGeometry(twips_rect(p.map_left, p.map_top, kColumnWidth, kMapHeight));
    fraBUTTONS_->setGeometry(
        twips_rect(p.buttons_left, p.buttons_top, kColumnWidth, kButtonsHeight));
    fraVAMP_BUTTONS_->setGeometry(
        twips_rect(p.vamp_buttons_left, p.vamp_buttons_top, kColumnWidth, kVampButtonsHeight));
    fraINFO_->setGeometry(twips_rect(p.info_left, p.info_top, kColumnWidth, kInfoHeight));
    QListWidget* list = lstVAMP();
    const int32_t list_height = p.list_height_set ? p.list_height : twips(list->height());
    list->setGeometry(twips_rect(p.list_left, p.list_top, kColumnWidth, list_height));
}

// --- window placement ---

void FrmMain::fit_browser() {
    QWidget* browser = wb_->widget();
    const int w = std::max(0, client_->width() - browser->x());
    browser->setGeometry(browser->x(), browser->y(), w,
                         std::max(0, client_->height() - browser->y()));
    fraTOOLBAR_->fit_width(w);
}

void FrmMain::Form_Resize() {
    if (exiting_ || !placement_->Form_Resize()) return;
    fit_browser();
    trap("Form_Resize", [&] { APPLY_LAYOUT(); });
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void FrmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!exiting_) placement_->window_moved();
}

void FrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

bool FrmMain::event(QEvent* event) {
    // Events come before the constructor has made everything.
    if (activation_ != nullptr && activation_->is_activation(event) && !exiting_) Form_Activate();
    return QMainWindow::event(event);
}

void FrmMain::Form_Activate() {
    RESET_TOOLBAR();
    trap("Form_Activate", [&] { APPLY_LAYOUT(); });
    BUILD_MAP();
    windows_.UNLOAD_SPLASH();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (exiting_ || NO_EXIT_PROMPT) {
        prepare_exit();
        event->accept();
        return;
    }
    MsgResult answer = MsgResult::No;
    trap("Form_Unload", [&] { answer = QUIT_PROMPT(state_); });
    if (answer != MsgResult::Yes) {
        event->ignore();
        return;
    }
    prepare_exit();
    if (exit_program_) exit_program_();
    event->accept();
}

// --- list ---

int FrmMain::list_count() const {
    return fraVAMP_BUTTONS_->list_count();
}

bool FrmMain::select_first_entry() {
    return fraVAMP_BUTTONS_->select_first_entry();
}

// --- toolbar ---

void FrmMain::RESET_TOOLBAR() {
    fraTOOLBAR_->RESET_TOOLBAR();
}

// --- menus ---

void FrmMain::menu_Click(const QString& array, int index) {
    const auto n = static_cast<int16_t>(index);
    const std::string name = array.toStdString();
    const auto run = [&](void (*worker)(MainWorkers&, int16_t)) {
        trap(name.c_str(), [&] { worker(*workers_, n); });
    };
    if (name == "mnuFileData") {
        // The File menu's commands hold the close question back while they run.
        quietly([&] { run([](MainWorkers& w, int16_t i) { w.MENU_FILE(i); }); });
    } else if (name == "mnuVampData") {
        lstVAMP()->setFocus();
        run([](MainWorkers& w, int16_t i) { w.MENU_VAMP(i); });
    } else if (name == "mnuNavData") {
        run([](MainWorkers& w, int16_t i) { w.MENU_NAVLINES(i); });
    } else if (name == "mnuZoomData") {
        run([](MainWorkers& w, int16_t i) { w.MENU_ZOOM(i); });
    } else if (name == "mnuAutoNavData") {
        run([](MainWorkers& w, int16_t i) { w.MENU_AUTONAV(i); });
    } else if (name == "mnuToolsData") {
        run([](MainWorkers& w, int16_t i) { w.MENU_TOOLS(i); });
    } else if (name == "mnuSkillsData") {
        run([](MainWorkers& w, int16_t i) { w.MENU_SKILLS(i); });
    } else if (name == "mnuLinksData") {
        run([](MainWorkers& w, int16_t i) { w.MENU_LINKS(i); });
    } else if (name == "mnuHelpData") {
        run([](MainWorkers& w, int16_t i) { w.MENU_HELP(i); });
    } else if (name == "mnuOptData") {
        mnuOptData_Click(index);
    } else if (name == "mnuWBdata") {
        mnuWBdata_Click(index);
    }
}

void FrmMain::mnuOptData_Click(int index) {
    if (index == 3) {
        TOGGLE_BOOL(state_.settings.SETTINGS.TOOLBAR);
        APPLY_TOOLBAR();
    } else {
        trap("mnuOptData", [&] { workers_->MENU_OPTIONS(static_cast<int16_t>(index)); });
    }
    BUILD_MAP();
}

void FrmMain::mnuWBdata_Click(int index) {
    switch (index) {
        case 0:
            wb_->GoBack();
            break;
        case 1:
            wb_->GoForward();
            break;
        case 2:
            wb_->Refresh2();
            break;
        default:
            break;
    }
}

// --- browser and timers ---

void FrmMain::set_pic_interval(int ms) {
    if (ms <= 0) {
        tmrPIC_->stop();
        return;
    }
    tmrPIC_->setInterval(ms);
    tmrPIC_->start();
}

void FrmMain::wb_DocumentComplete() {
    if (!FIRST_PAGE_DONE) {
        wb_->setBodyBgColor(kPageGround);
        wb_->setBodyTextColor(kPageText);
        wb_->writeBodyInnerHtml(QStringLiteral("Loading..."));
        wb_->Navigate2(utf8(GAME_URL(state_) + "?action=welcome"));
        FIRST_PAGE_DONE = true;
    }
    wb_->setBodyBgColor(kPageGround);
}

void FrmMain::tmrPIC_Timer() {
    set_pic_interval(0);
    windows_.SNAPSHOT_BMP();
}

}  // namespace zeko::ui
