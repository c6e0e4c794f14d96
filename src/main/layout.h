#pragma once

#include <array>
#include <cstdint>

namespace zeko {

struct SETTINGS_REC;

// Preview positions of the layout chooser: 8 rows of six (top, left) pairs in the order
// minimap, command buttons, character list, character buttons, information panel, small
// browser.
using LayoutRow = std::array<int16_t, 12>;
using LayoutTable = std::array<LayoutRow, 8>;

inline constexpr std::array<const char*, 4> kLayoutNames = {"Layout 1 (Default)", "Layout 2",
                                                            "Layout 3", "Layout 4"};

// Where the preview frame stands in the chooser window, in twips.
inline constexpr int16_t kPreviewFrameTop = 30;
inline constexpr int16_t kPreviewFrameLeft = 30;

// Builds the table from the preview frame's position.
LayoutTable build_layout_table(int16_t frame_top = kPreviewFrameTop,
                               int16_t frame_left = kPreviewFrameLeft);

// The main window's panel positions (LAYOUT_POS) for a row of the table. Raises subscript out
// of range for a layout outside 0..7, overflow when the 16-bit arithmetic overflows.
std::array<int16_t, 12> layout_positions(const LayoutTable& table, int layout,
                                         int16_t frame_top = kPreviewFrameTop);

// Where APPLY_LAYOUT puts the left column's panels, in twips.
struct PanelPlacement {
    int32_t map_top = 0, map_left = 0;
    int32_t buttons_top = 0, buttons_left = 0;
    int32_t list_top = 0, list_left = 0;
    int32_t list_height = 705;
    bool list_height_set = false;
    int32_t vamp_buttons_top = 0, vamp_buttons_left = 0;
    int32_t info_top = 0, info_left = 0;
    bool operator==(const PanelPlacement&) const = default;
};

inline constexpr int32_t kLayoutBaseHeight = 8310;
inline constexpr int32_t kListHeight = 705;

// The panels for the stored layout and a client area of the given height (twips): the list
// takes any height above the base, and the panels below it move down with it. Raises
// overflow when the list height leaves 16 bits.
PanelPlacement APPLY_LAYOUT_placement(const SETTINGS_REC& settings, double client_height_twips);

}  // namespace zeko
