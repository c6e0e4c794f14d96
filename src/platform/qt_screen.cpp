#include "platform/qt_screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace zeko {

int32_t QtScreen::width_twips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() * kTwipsPerPixel : 0;
}

int32_t QtScreen::height_twips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() * kTwipsPerPixel : 0;
}

}  // namespace zeko
