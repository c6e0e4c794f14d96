#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

#include "main/layout.h"

class QListWidget;
class QPushButton;

namespace zeko {

class ProgramState;

namespace ui {

class FrmMain;
class ProgramWindows;
class PictureBox;
class WindowActivation;

// `frmLAYOUT`: the layout chooser. A small preview of the main window shows where each
// panel of the left column goes; FORCE_LAYOUT turns a layout into the main window's panel
// positions and applies them, with or without the window being shown.
class FrmLayout : public QDialog {
    Q_OBJECT
  public:
    FrmLayout(ProgramState& state, FrmMain& main, ProgramWindows& windows);

    // Raises subscript out of range for a layout outside 0..7.
    void FORCE_LAYOUT(int16_t layout);
    // Shows the window modally over the main window.
    void show_modal();

    const LayoutTable& LAYOUT_TABLE() const { return table_; }
    bool LAYOUTS_BUILT = false;

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Activate();
    void lstSETUP_Click();
    void cmdCOMMAND_Click(int index);
    // The selected entry, -1 for none.
    int selected_row() const;
    void SET_COLOURS();
    void INIT_LAYOUTS();
    void select_stored_layout();

    ProgramState& state_;
    FrmMain& main_;
    ProgramWindows& windows_;
    WindowActivation* activation_ = nullptr;
    LayoutTable table_{};

    PictureBox* imgFORM_ = nullptr;
    PictureBox* imgMINIMAP_ = nullptr;
    PictureBox* imgBUTTONS_ = nullptr;
    PictureBox* imgVAMP_LIST_ = nullptr;
    PictureBox* imgVAMP_BUTTONS_ = nullptr;
    PictureBox* imgNAV_INFO_ = nullptr;
    PictureBox* imgMINIWB_ = nullptr;
    PictureBox* imgSPLASH_ = nullptr;
    QListWidget* lstSETUP_ = nullptr;
    std::array<QPushButton*, 3> cmdCOMMAND_{};
};

}  // namespace ui
}  // namespace zeko
