#include "widgets/window_activation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace zeko::ui {

WindowActivation::WindowActivation(QWidget& window) : QObject(&window), window_(window) {
    // Another window of the program taking the focus ends the absence.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
        if (focus != nullptr && focus != window_.windowHandle()) left_program_ = false;
    });
}

bool WindowActivation::is_activation(const QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowDeactivate:
            // The window taking over is already known here; none means another application.
            left_program_ = QApplication::activeWindow() == nullptr;
            return false;
        case QEvent::WindowActivate: {
            const bool back = left_program_;
            left_program_ = false;
            return !back;
        }
        default:
            return false;
    }
}

}  // namespace zeko::ui
