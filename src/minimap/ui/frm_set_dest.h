#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "minimap/dest_lists.h"
#include "minimap/minimap.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zeko {

class ProgramState;
struct VAMP;

namespace ui {

class LabelBox;
class PictureBox;
class ProgramWindows;
class VbFrame;

// `frmSET_DEST`: the destination planner. The current character's destination is edited in
// memory and shown in the middle of a 3 x 3 map; it can be taken from the street boxes, a
// tile, the lists of known places or another character. A panel shows a chosen character's
// nearest bank, pub and station and the way to the destination. OK writes the character file,
// Cancel puts the destination back; either way, and by the close box, the main window is
// brought back and redrawn.
class FrmSetDest : public QDialog {
    Q_OBJECT
  public:
    struct Hooks {
        // The main window's character list, whose entries the planner copies.
        const QListWidget* main_list = nullptr;
        // The main window's Tools worker (0 shopping list, 1 skill information).
        std::function<void(int16_t)> menu_tools;
        // Brings the main window back to the front and redraws its minimap.
        std::function<void()> main_redraw;
    };

    // `minimap` is the main window's: it draws this window's tiles too.
    FrmSetDest(ProgramState& state, Minimap& minimap, ProgramWindows& windows, Hooks hooks,
               QWidget* owner);

    // Loads the window afresh and shows it modally over its owner. Returns at once: the
    // planner brings the main window back itself when it closes.
    void show_modal();

    void cmdCOMMAND_Click(int index);
    void cmdVARCommand_Click(int index);
    void TILE_Click(int index);
    void imgDIST_Click(int index);
    void lstVAMP_Click();

    // The window's outer width in twips: 4170, 7710 or 11340.
    int32_t outer_width() const { return WIDTH; }

    // The destination Cancel puts back, and the character it belongs to: the main window may
    // follow another one by then (the planner is not modal after a tool button).
    struct SavedDest {
        int16_t vamp = 0;
        std::string handle;  // the whole field: a reload may have moved the record
        int16_t x = 0;
        int16_t y = 0;
    };
    SavedDest SAVED_DEST;
    int16_t NEAREST_RANK = 1;
    bool LOCATIONS_SHOWN = false;
    bool INFO_SHOWN = false;
    PlaceLists LISTS;

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void build_map();
    void build_locations();
    void build_info();
    QPushButton* command(int index, const char* caption, QWidget* parent, int32_t left, int32_t top,
                         int32_t width, int32_t height);

    void Form_Load();
    void Form_Activate();
    void INIT_FORM_STYLE();
    void FILL_LOCATION_LISTS();
    void FILL_VAMP_LIST();
    void SHOW_NEAREST();

    // BUILD_DEST_MAP, then the tiles shown as drawn. Without a current character nothing is
    // drawn.
    void BUILD_DEST_MAP();
    void show_tiles();
    void set_width(int32_t outer);
    void location_go(PlaceList list);
    // Hides and shows the window again, modal or not.
    void reshow(bool modal);
    // After any way of closing: the main window comes back and redraws.
    void closed();

    // Records that can be used: the current character, the chosen one (the current one when
    // none, or the chosen one is gone). Null when there is none.
    VAMP* current_record();
    VAMP* selected_record();
    // The record SAVED_DEST was taken from, wherever a reload of the characters has put it.
    VAMP* saved_record();

    ProgramState& state_;
    Minimap& minimap_;
    ProgramWindows& windows_;
    Hooks hooks_;
    PlannerTiles tiles_;
    int32_t WIDTH = 0;
    // The program lost the focus to another one while the window was open.
    bool from_outside_ = false;

    std::array<LabelBox*, 9> TILE_{};
    QComboBox* cboX_ = nullptr;
    QComboBox* cboY_ = nullptr;
    std::array<QPushButton*, 16> cmdCOMMAND_{};
    std::array<QPushButton*, 4> cmdVARCommand_{};
    std::array<QComboBox*, kPlaceListCount> places_{};
    VbFrame* Frame1_ = nullptr;
    VbFrame* Frame2_ = nullptr;
    QListWidget* lstVAMP_ = nullptr;
    QWidget* fraINFO_ = nullptr;
    std::array<VbFrame*, 5> rowFrames_{};
    std::array<QLabel*, 5> lblX_{};
    std::array<QLabel*, 5> lblY_{};
    std::array<QLabel*, 5> lblAP_{};
    std::array<PictureBox*, 3> imgDIST_{};
    std::array<PictureBox*, 6> imgRES_{};
};

}  // namespace ui
}  // namespace zeko
