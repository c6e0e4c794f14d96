#pragma once

#include <QPixmap>

namespace zeko::artwork {

// The program's own pictures, drawn at first use and kept for the run.

// Tile pictures 1..27 at 80 x 80 pixels (the side of a zoom-3 tile); the minimap scales them
// to smaller tiles.
QPixmap tile_picture(int index);
// Toolbar pictures 1..16: 1-8 the normal look of buttons 0-7, 9-16 their pressed look.
QPixmap toolbar_picture(int index);
// The three nearest-place choice pictures: 0-2 normal, 3-5 selected.
QPixmap distance_picture(int index);
// Pictures of the command buttons 0-8.
QPixmap command_picture(int index);
// The program's banner.
QPixmap logo(int width = 216, int height = 60);

}  // namespace zeko::artwork
