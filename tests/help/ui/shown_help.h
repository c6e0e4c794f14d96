#pragma once

#include "help/ui/frm_help.h"

namespace zeko::testing {

// The help window shown instead of run modally, so a test can drive it.
class ShownHelp : public ui::FrmHelp {
  public:
    using FrmHelp::Form_Resize;
    using FrmHelp::FrmHelp;

  protected:
    void run_modal() override { show(); }
};

}  // namespace zeko::testing
