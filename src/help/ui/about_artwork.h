#pragma once

#include <QPixmap>

namespace zeko::ui {

// The about box's close button: its normal and its pressed look, 78 x 32 pixels.
QPixmap about_button(bool pressed);

}  // namespace zeko::ui
