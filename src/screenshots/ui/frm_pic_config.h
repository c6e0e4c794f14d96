#pragma once

#include <QDialog>

#include <array>

#include "map/settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zeko {

class ProgramState;

namespace ui {

class ProgramWindows;
class VbFrame;

// `frmPICConfig`: the file-name formats of the three kinds of screen shot, edited on a working
// copy with a sample name per kind; OK stores them in the settings file.
class FrmPICConfig : public QDialog {
    Q_OBJECT
  public:
    // Loads at once (a box may ask about defaults then); `owner` is the main window.
    FrmPICConfig(ProgramState& state, ProgramWindows& windows, QWidget* owner);

    // Shows the window modally over its owner.
    void show_modal();

    void txtHEADER_Change(int index);
    void cboDATE_Click(int index);
    void cmdCOMMAND_Click(int index);

    VbFrame* fra() const { return fra_; }
    QLabel* lbl(int index) const { return lbl_.at(static_cast<size_t>(index)); }
    QLineEdit* txtHEADER(int index) const { return txtHEADER_.at(static_cast<size_t>(index)); }
    QComboBox* cboDATE(int index) const { return cboDATE_.at(static_cast<size_t>(index)); }
    QLabel* lblSAMPLE(int index) const { return lblSAMPLE_.at(static_cast<size_t>(index)); }
    QPushButton* cmdCOMMAND(int index) const { return cmdCOMMAND_.at(static_cast<size_t>(index)); }

    std::array<PIC_CONFIG, 3> WORK_PIC;

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Load();
    void Form_Activate();
    void SHOW_SETTINGS();
    void LOAD_DEFAULTS();
    void show_sample(int index);
    // A box for the first header that cannot be part of a file name; true when all can.
    bool headers_usable();

    ProgramState& state_;
    ProgramWindows& windows_;
    VbFrame* fra_ = nullptr;
    std::array<QLabel*, 3> lbl_{};
    std::array<QLineEdit*, 3> txtHEADER_{};
    std::array<QComboBox*, 3> cboDATE_{};
    std::array<QLabel*, 3> lblSAMPLE_{};
    std::array<QPushButton*, 4> cmdCOMMAND_{};
};

}  // namespace ui
}  // namespace zeko
