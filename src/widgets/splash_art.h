#pragma once

#include <QPixmap>

namespace zeko::artwork {

// The start-up window's picture, 400 x 300 pixels: the program's name over a night city
// under a blood moon, with room for the version at the top right and the status below.
QPixmap splash_logo();

}  // namespace zeko::artwork
