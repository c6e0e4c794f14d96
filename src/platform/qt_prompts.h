#pragma once

#include <QPointer>
#include <QWidget>

#include "common/prompts.h"

namespace zeko {

// The program's message and input boxes, as modal Qt dialogs over the parent window (or
// over no window while there is none).
class QtPrompts final : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    void setParentWidget(QWidget* parent) { parent_ = parent; }
    QWidget* parentWidget() const { return parent_.data(); }

    MsgResult message_box(std::string_view text, MsgButtons buttons, MsgIcon icon,
                          std::string_view title) override;
    std::string input_box(std::string_view prompt, std::string_view title,
                          std::string_view default_text) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace zeko
