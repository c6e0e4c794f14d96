#pragma once

#include <QtGlobal>

class QWidget;

namespace zeko {

class SettingsStore;

namespace ui {

// Where the main window stands and how big it is, kept in the settings: the state (0 normal,
// 1 kept as it is, 2 maximised) and the normal placement in twips. The window may not become
// smaller than its design size.
class WindowPlacement {
  public:
    WindowPlacement(QWidget& window, SettingsStore& store) : window_(window), store_(store) {}

    // The placement part of applying the settings.
    void apply();
    // After a resize or a change of state: keeps the rules and saves the settings. True when
    // the window's contents are to be laid out again.
    bool Form_Resize();
    // After a move: the position is kept in memory, for the next save.
    void window_moved();

  private:
    // Where the settings say, in the window's normal state.
    void place_window();
    void store_placement();

    QWidget& window_;
    SettingsStore& store_;
    bool in_resize_ = false;
};

}  // namespace ui
}  // namespace zeko
