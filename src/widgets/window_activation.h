#pragma once

#include <QObject>

class QEvent;
class QWidget;

namespace zeko::ui {

// Tells a window's activations, the focus moving to it from another of the program's windows,
// from the whole program getting the focus back from another application while the window
// was its active one, which is no activation.
class WindowActivation final : public QObject {
    Q_OBJECT
  public:
    explicit WindowActivation(QWidget& window);

    // Given each event of the window: true for an activation.
    bool is_activation(const QEvent* event);

  private:
    QWidget& window_;
    // The program lost the focus while this window was its active one.
    bool left_program_ = false;
};

}  // namespace zeko::ui
