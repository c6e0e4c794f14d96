#pragma once

#include <array>
#include <cstdint>

// Where the help window's controls go for a window size, in twips.
namespace zeko::help {

inline constexpr int32_t kHelpMinWidth = 6000;
inline constexpr int32_t kHelpMinHeight = 3000;

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const TwipsRect&) const = default;
};

struct HelpLayout {
    TwipsRect list;
    TwipsRect browser;
    std::array<TwipsRect, 3> buttons;
};

// The outer size the window must grow to, given its outer size.
struct OuterSize {
    int32_t width;
    int32_t height;
};
OuterSize help_min_size(OuterSize outer);

// The controls for an outer width and a client (scale) size. The buttons centre near a sixth,
// a half and five sixths of the outer width, shifted left by half the first button's left and
// by all of it.
HelpLayout help_layout(float outer_width, float scale_width, float scale_height);

}  // namespace zeko::help
