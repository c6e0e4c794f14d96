#include "main/ui/window_placement.h"
#include "widgets/traps.h"

#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>

#include "common/conversions.h"
#include "map/settings.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

// A window in any of these states keeps no placement of its own.
constexpr Qt::WindowStates kSizingStates =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// The smallest the window may become, in twips.
constexpr int32_t kMinWidth = 12000;
constexpr int32_t kMinHeight = 9000;

// A value in pixels into a twips field of the settings; a value beyond 16 bits cannot be
// stored, and the field keeps what it had.
void store_twips(int16_t& field, int pixels) {
    trap("store_twips", [&] { field = CInt(static_cast<double>(twips(pixels))); });
}

}  // namespace

void WindowPlacement::place_window() {
    const SETTINGS_REC& s = store_.SETTINGS;
    window_.move(px(s.WIN_LEFT), px(s.WIN_TOP));
    window_.resize(px(s.WIN_WIDTH), px(s.WIN_HEIGHT));
}

void WindowPlacement::store_placement() {
    SETTINGS_REC& s = store_.SETTINGS;
    store_twips(s.WIN_TOP, window_.y());
    store_twips(s.WIN_LEFT, window_.x());
    store_twips(s.WIN_HEIGHT, window_.height());
    store_twips(s.WIN_WIDTH, window_.width());
}

void WindowPlacement::apply() {
    if (store_.SETTINGS.WIN_STATE == 2) {
        window_.setWindowState((window_.windowState() & ~kSizingStates) | Qt::WindowMaximized);
    } else {
        window_.setWindowState(window_.windowState() & ~kSizingStates);
        place_window();
    }
}

bool WindowPlacement::Form_Resize() {
    if (in_resize_) return false;
    const QScopedValueRollback<bool> guard(in_resize_, true);
    SETTINGS_REC& s = store_.SETTINGS;

    if (store_.APPLYING_SETTINGS) {
        if (s.WIN_STATE != 2) {
            window_.setWindowState(window_.windowState() & ~kSizingStates);
            place_window();
            return false;
        }
        if (!(window_.windowState() & Qt::WindowMaximized))
            window_.setWindowState((window_.windowState() & ~kSizingStates) | Qt::WindowMaximized);
    }

    const Qt::WindowStates state = window_.windowState();
    if (state & Qt::WindowMinimized) return false;
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        s.WIN_STATE = 2;
        store_.SAVE_SETTINGS();
    } else {
        const int w = window_.width();
        const int h = window_.height();
        if (w < px(kMinWidth) || h < px(kMinHeight))
            window_.resize(std::max(w, px(kMinWidth)), std::max(h, px(kMinHeight)));
        if (s.WIN_STATE == 2) {
            s.WIN_STATE = 0;
            place_window();
        } else if (s.WIN_STATE != 1) {
            store_placement();
            s.WIN_STATE = 0;
        }
        store_.SAVE_SETTINGS();
    }
    return true;
}

void WindowPlacement::window_moved() {
    // Moving the window is no resize, but the next placement applied must not put the window
    // back where it stood before the move.
    if (in_resize_ || store_.APPLYING_SETTINGS || !window_.isVisible()) return;
    if (window_.windowState() & kSizingStates) return;
    if (store_.SETTINGS.WIN_STATE != 0) return;
    SETTINGS_REC& s = store_.SETTINGS;
    store_twips(s.WIN_TOP, window_.y());
    store_twips(s.WIN_LEFT, window_.x());
}

}  // namespace zeko::ui
