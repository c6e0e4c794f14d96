#pragma once

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>

#include "common/services.h"
#include "map/vamp_db.h"
#include "minimap/minimap.h"

class QAction;
class QListWidget;
class QTimer;

namespace zeko {

class ProgramState;
class WebBrowser;

namespace ui {

class BrowserToolbar;
class CharacterPanel;
class CommandPanel;
class InfoPanel;
class MainWorkers;
class MenuBar;
class MinimapPanel;
class PageTracking;
class ProgramWindows;
class WindowActivation;
class WindowPlacement;

// The program's main window `frmMAIN`: the game browser beside a column of panels (the
// minimap, the command buttons, the character list and its buttons, the information panel),
// the browser's toolbar and the menus. Each panel owns its controls and their handlers; the
// window puts them together, places them and carries the menus' clicks to the workers.
class FrmMain : public QMainWindow {
    Q_OBJECT
  public:
    // Makes a browser whose widget is a child of `parent`.
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;

    FrmMain(ProgramState& state, MainWorkers& workers, ProgramWindows& windows,
            const BrowserFactory& make_browser, QWidget* parent = nullptr);
    ~FrmMain() override;

    void set_workers(MainWorkers& workers) { workers_ = &workers; }
    // Called after the quit question was answered Yes: ends the program.
    void set_exit_program(std::function<void()> exit_program) {
        exit_program_ = std::move(exit_program);
    }
    // From now on the window closes without asking, and its timers are stopped.
    void prepare_exit();

    MinimapModel& model() { return model_; }
    Minimap& minimap() { return *minimap_; }
    // Following the character: the page-read timer and the browser's navigation events.
    PageTracking& tracking() { return *tracking_; }
    WebBrowser& wb() { return *wb_; }
    WebBrowser& wb2() { return *wb2_; }
    // lstVAMP as the core fills it.
    CharacterList& vamp_list();
    QListWidget* lstVAMP() const;

    // The minimap routines, each followed by showing what it changed.
    void ZOOM_MAP();
    void BUILD_MAP();
    void DRAW_LINES();

    void APPLY_SETTINGS();
    void APPLY_TOOLBAR();
    // Raises when the layout cannot be computed (as its callers expect).
    void APPLY_LAYOUT();

    // The snap-shot timer's interval as the program sets it: 0 stops the timer.
    void set_pic_interval(int ms);

    // Selects list entry 0 and runs the list's click; false for an empty list.
    bool select_first_entry();
    int list_count() const;

    bool FIRST_PAGE_DONE = false;
    bool NO_EXIT_PROMPT = false;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void INIT_FORM();
    void SHOW_DIST_MODE();
    void RESET_TOOLBAR();
    void Form_Activate();
    void Form_Resize();
    void wb_DocumentComplete();
    void tmrPIC_Timer();
    void menu_Click(const QString& array, int index);
    void mnuOptData_Click(int index);
    void mnuWBdata_Click(int index);
    // Runs a worker with the close question held back meanwhile.
    void quietly(const std::function<void()>& step);
    QAction* menu_item(const char* array, int index) const;

    // Brings the controls up to date with the minimap model; touches only what changed.
    void show_minimap();
    void fit_browser();

    ProgramState& state_;
    MainWorkers* workers_;
    ProgramWindows& windows_;
    std::function<void()> exit_program_;
    bool exiting_ = false;

    MinimapModel model_;
    MinimapModel shown_;
    std::unique_ptr<Minimap> minimap_;
    std::unique_ptr<WindowPlacement> placement_;
    std::unique_ptr<WebBrowser> wb_;
    std::unique_ptr<WebBrowser> wb2_;

    QWidget* client_ = nullptr;
    MenuBar* menus_ = nullptr;
    MinimapPanel* fraMAP_ = nullptr;
    CommandPanel* fraBUTTONS_ = nullptr;
    CharacterPanel* fraVAMP_BUTTONS_ = nullptr;
    InfoPanel* fraINFO_ = nullptr;
    BrowserToolbar* fraTOOLBAR_ = nullptr;
    PageTracking* tracking_ = nullptr;
    QTimer* tmrPIC_ = nullptr;
    WindowActivation* activation_ = nullptr;
};

}  // namespace ui
}  // namespace zeko
