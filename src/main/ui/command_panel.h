#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "main/ui/main_workers.h"
#include "minimap/minimap.h"

class QComboBox;
class QPushButton;

namespace zeko {

class ProgramState;

namespace ui {

// `fraBUTTONS`: the street boxes, GO beside them and the nine picture buttons below.
class CommandPanel final : public QWidget {
    Q_OBJECT
  public:
    // A button's click, with the street boxes' choices.
    using Command = std::function<void(int16_t index, StreetChoice streets)>;

    CommandPanel(ProgramState& state, Command command, QWidget* parent);

    // The boxes' colours and the street names, as the window is loaded.
    void INIT_FORM();
    // Selects the streets of the current position, without a click of the boxes.
    void show_model(const MinimapModel& model, MinimapModel& shown);

  private:
    void cmdCOMMAND_Click(int index);

    ProgramState& state_;
    Command command_;
    QComboBox* cboX_ = nullptr;
    QComboBox* cboY_ = nullptr;
    std::array<QPushButton*, 10> cmdCOMMAND_{};
};

}  // namespace ui
}  // namespace zeko
