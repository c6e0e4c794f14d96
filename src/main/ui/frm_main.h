#pragma once

#include <QFont>
#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "common/services.h"
#include "map/vamp_db.h"
#include "minimap/minimap.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;

namespace zeko {

class ProgramState;
class WebBrowser;

namespace ui {

class LabelBox;
class LineShape;
class PageTracking;
class MainWorkers;
class PictureBox;
class ProgramWindows;
class VbFrame;

// The program's main window `frmMAIN`: the game browser, the minimap with its panel, the
// character list, the buttons, the toolbar and the menus. It owns the controls and forwards
// their events to the core; what it shows of the minimap is what the core computed into the
// minimap model.
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

    ProgramState& state() { return state_; }
    MinimapModel& model() { return model_; }
    Minimap& minimap() { return *minimap_; }
    // Following the character: the page-read timer and the browser's navigation events.
    PageTracking& tracking() { return *tracking_; }
    WebBrowser& wb() { return *wb_; }
    WebBrowser& wb2() { return *wb2_; }
    // lstVAMP as the core fills it.
    CharacterList& vamp_list();
    QListWidget* lstVAMP() const { return lstVAMP_; }
    QComboBox* cboX() const { return cboX_; }
    QComboBox* cboY() const { return cboY_; }
    QTimer* tmrPIC() const { return tmrPIC_; }

    // The minimap routines, each followed by showing what it changed.
    void ZOOM_MAP();
    void BUILD_MAP();
    void DRAW_LINES();
    // Brings the controls up to date with the minimap model; touches only what changed.
    void show_minimap();

    void APPLY_SETTINGS();
    void APPLY_TOOLBAR();
    // Raises when the layout cannot be computed (as its callers expect).
    void APPLY_LAYOUT();

    void SHOW_DIST_MODE();
    void RESET_TOOLBAR();

    // The snap-shot timer's interval as the program sets it: 0 stops the timer.
    void set_pic_interval(int ms);

    // Selects list entry 0 and runs the list's click; false for an empty list.
    bool select_first_entry();
    int list_count() const;

    // Event handlers, public so the other windows (and tests) can drive them.
    void Form_Activate();
    void Form_Resize();
    void lstVAMP_Click();
    void chkAUTOLOGIN_Click();
    void TILE_Click(int index);
    void imgDIST_Click(int index);
    void tbBUTTON_MouseDown(int index);
    void tbBUTTON_MouseUp(int index);
    void tbBUTTON_Click(int index);
    void cmdCOMMAND_Click(int index);
    void cmdVAMP_Click(int index);
    void mnuFileData_Click(int index);
    void mnuVampData_Click(int index);
    void mnuNavData_Click(int index);
    void mnuOptData_Click(int index);
    void mnuZoomData_Click(int index);
    void mnuAutoNavData_Click(int index);
    void mnuToolsData_Click(int index);
    void mnuWBdata_Click(int index);
    void mnuSkillsData_Click(int index);
    void mnuLinksData_Click(int index);
    void mnuHelpData_Click(int index);
    void wb_DocumentComplete();
    void tmrPIC_Timer();

    bool FIRST_PAGE_DONE = false;
    bool NO_EXIT_PROMPT = false;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    class VampListAdapter;

    void Form_Load();
    void INIT_FORM();
    void build_menus();
    void build_map_frame(QWidget* client);
    void build_buttons(QWidget* client);
    void build_vamp_panel(QWidget* client);
    void build_info(QWidget* client);
    void build_toolbar(QWidget* client);
    void dispatch(void (MainWorkers::*worker)(int16_t), int index);

    void show_tile(size_t n, bool force);
    void show_tile_image(size_t n, bool force);
    void show_row(size_t n);
    void show_line(LineShape* line, const NavLineState& now, NavLineState& shown);
    QPixmap tile_pixmap(int picture, QSize size);
    const QFont& tile_font_for(const TileFont& font);

    // Where the settings say, in the window's normal state.
    void place_window();
    void store_placement();
    void fit_browser();
    int client_width() const;
    int client_height() const;

    ProgramState& state_;
    MainWorkers* workers_;
    ProgramWindows& windows_;
    std::function<void()> exit_program_;
    bool exiting_ = false;
    bool in_resize_ = false;

    MinimapModel model_;
    MinimapModel shown_;
    std::unique_ptr<Minimap> minimap_;
    PageTracking* tracking_ = nullptr;
    std::unique_ptr<VampListAdapter> vamp_list_;

    std::unique_ptr<WebBrowser> wb_;
    std::unique_ptr<WebBrowser> wb2_;

    QWidget* client_ = nullptr;
    QWidget* fraMAP_ = nullptr;
    QWidget* fraBUTTONS_ = nullptr;
    QWidget* fraVAMP_BUTTONS_ = nullptr;
    QWidget* fraINFO_ = nullptr;
    QWidget* fraTOOLBAR_ = nullptr;
    QListWidget* lstVAMP_ = nullptr;
    QCheckBox* chkAUTOLOGIN_ = nullptr;
    QComboBox* cboX_ = nullptr;
    QComboBox* cboY_ = nullptr;
    std::array<LabelBox*, 121> TILE_{};
    std::array<PictureBox*, 121> imgTILE_{};
    LineShape* BANK1_ = nullptr;
    LineShape* PUB1_ = nullptr;
    LineShape* TRANS1_ = nullptr;
    LineShape* DEST1_ = nullptr;
    std::array<VbFrame*, 5> rowFrames_{};
    std::array<QLabel*, 5> lblX_{};
    std::array<QLabel*, 5> lblY_{};
    std::array<QLabel*, 5> lblAP_{};
    std::array<QLabel*, 10> lbl_{};
    std::array<PictureBox*, 6> imgRES_{};
    std::array<PictureBox*, 3> imgDIST_{};
    std::array<QPushButton*, 10> cmdCOMMAND_{};
    std::array<QPushButton*, 3> cmdVAMP_{};
    std::array<PictureBox*, 8> tbBUTTON_{};
    LineShape* lineTOP_ = nullptr;
    LineShape* lineBOTTOM_ = nullptr;
    QTimer* tmrPIC_ = nullptr;

    std::vector<QAction*> mnuFileData_, mnuVampData_, mnuZoomData_, mnuNavData_, mnuOptData_,
        mnuAutoNavData_, mnuToolsData_, mnuWBdata_, mnuSkillsData_, mnuLinksData_, mnuHelpData_;

    // Tile pictures scaled to a tile size, by (picture, width, height).
    std::map<std::tuple<int, int, int>, QPixmap> scaled_pictures_;
    std::vector<std::pair<TileFont, QFont>> tile_fonts_;
};

}  // namespace ui
}  // namespace zeko
