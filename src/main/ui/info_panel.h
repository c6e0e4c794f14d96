#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "minimap/minimap.h"

class QLabel;

namespace zeko {

class ProgramState;

namespace ui {

class PictureBox;
class VbFrame;

// `fraINFO`: the nearest bank, pub and station, the destination and its station, one row
// each with the place's streets and the action points to it; beside them the three pictures
// that choose what the distances count.
class InfoPanel final : public QWidget {
    Q_OBJECT
  public:
    // `build_map` redraws the minimap once the choice has changed.
    InfoPanel(ProgramState& state, std::function<void()> build_map, QWidget* parent);

    // Brings the rows up to date with `model`; `shown` is what they show now.
    void show_model(const MinimapModel& model, MinimapModel& shown);
    // The rows' colours as the window is loaded.
    void INIT_FORM();
    // Shows the chosen picture pressed, the others raised, and redraws.
    void SHOW_DIST_MODE();

  private:
    void imgDIST_Click(int index);

    ProgramState& state_;
    std::function<void()> build_map_;
    std::array<VbFrame*, 5> rowFrames_{};
    std::array<QLabel*, 5> lblX_{};
    std::array<QLabel*, 5> lblY_{};
    std::array<QLabel*, 5> lblAP_{};
    std::array<QLabel*, 10> lbl_{};
    std::array<PictureBox*, 6> imgRES_{};
    std::array<PictureBox*, 3> imgDIST_{};
};

}  // namespace ui
}  // namespace zeko
