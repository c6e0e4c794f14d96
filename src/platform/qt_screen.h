#pragma once

#include "common/services.h"

namespace zeko {

// The primary screen in twips, at 15 twips per (logical) pixel, i.e. 96 dots per inch.
class QtScreen final : public Screen {
  public:
    static constexpr int32_t kTwipsPerPixel = 15;

    int32_t width_twips() override;
    int32_t height_twips() override;
};

}  // namespace zeko
