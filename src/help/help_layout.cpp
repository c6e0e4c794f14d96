#include "help/help_layout.h"

#include <algorithm>
#include <cmath>

namespace zeko::help {

OuterSize help_min_size(OuterSize outer) {
    return {std::max(outer.width, kHelpMinWidth), std::max(outer.height, kHelpMinHeight)};
}

HelpLayout help_layout(float outer_width, float scale_width, float scale_height) {
    HelpLayout l;
    l.list = {60, 60, 2475, scale_height - 585};
    l.browser = {2580, 60, scale_width - 2640, scale_height - 585};
    const float top = scale_height - 450;
    const float w0 = scale_width * 0.32f;
    const float half_w0 = std::floor(w0 / 2);
    const float l0 = std::floor(outer_width / 6) - half_w0;
    l.buttons[0] = {l0, top, w0, 375};
    l.buttons[1] = {std::floor(outer_width / 6 * 3) - half_w0 - l0 / 2, top, w0, 375};
    l.buttons[2] = {std::floor(outer_width / 6 * 5) - half_w0 - l0, top, w0, 375};
    return l;
}

}  // namespace zeko::help
