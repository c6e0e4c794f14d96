#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "map/vamp_db.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace zeko {

class ProgramState;

namespace ui {

// The character list `lstVAMP` and, in `fraVAMP_BUTTONS` (this widget), the automatic-login
// box and the New, Edit and Delete buttons. The list is a sibling of this panel, placed on its
// own. Choosing an entry makes its character the current one.
class CharacterPanel final : public QWidget {
    Q_OBJECT
  public:
    // What the main window does for the panel.
    struct Steps {
        std::function<void()> login_current;
        std::function<void()> apply_settings;
        std::function<void()> build_map;
        std::function<void()> focus_browser;
        std::function<void(int16_t index)> vamp_button;
    };

    CharacterPanel(ProgramState& state, Steps steps, QWidget* parent);
    ~CharacterPanel() override;

    QListWidget* lstVAMP() const { return lstVAMP_; }
    // lstVAMP as the core fills it.
    CharacterList& vamp_list();

    // The colours as the window is loaded.
    void INIT_FORM();
    void set_autologin_checked(bool checked);
    // Selects the first entry and runs the list's click; false for an empty list.
    bool select_first_entry();
    int list_count() const;

  private:
    class VampListAdapter;

    void lstVAMP_Click();
    void chkAUTOLOGIN_Click();
    void cmdVAMP_Click(int index);

    ProgramState& state_;
    Steps steps_;
    QListWidget* lstVAMP_ = nullptr;
    QCheckBox* chkAUTOLOGIN_ = nullptr;
    std::array<QPushButton*, 3> cmdVAMP_{};
    std::unique_ptr<VampListAdapter> vamp_list_;
};

}  // namespace ui
}  // namespace zeko
