#include "main/layout.h"

#include <cmath>

#include "common/conversions.h"
#include "common/errors.h"
#include "map/settings.h"

namespace zeko {

namespace {

enum Panel { kMinimap, kButtons, kList, kVampButtons, kInfo, kPanels };

constexpr std::array<int16_t, kPanels> kPreviewHeight = {900, 420, 180, 135, 465};
constexpr int16_t kPreviewPanelWidth = 900;
constexpr int16_t kPreviewBrowserWidth = 2070;

// The stacking order of the panels of rows 0..3 (rows 4..7 repeat them).
constexpr std::array<std::array<Panel, kPanels>, 4> kOrder = {{
    {kMinimap, kButtons, kList, kVampButtons, kInfo},
    {kButtons, kMinimap, kList, kVampButtons, kInfo},
    {kInfo, kMinimap, kButtons, kList, kVampButtons},
    {kInfo, kButtons, kMinimap, kList, kVampButtons},
}};

}  // namespace

LayoutTable build_layout_table(int16_t frame_top, int16_t frame_left) {
    const int16_t t0 = add16(frame_top, 150);
    const int16_t l0 = add16(frame_left, 15);
    LayoutTable table{};
    for (int row = 0; row < 8; ++row) {
        const auto& order = kOrder[static_cast<size_t>(row % 4)];
        const bool browser_first = row >= 4;
        const int16_t panel_left = browser_first ? add16(l0, kPreviewBrowserWidth) : l0;
        LayoutRow& r = table[static_cast<size_t>(row)];
        int16_t top = t0;
        for (Panel p : order) {
            r[static_cast<size_t>(2 * p)] = top;
            r[static_cast<size_t>(2 * p + 1)] = panel_left;
            top = add16(top, kPreviewHeight[static_cast<size_t>(p)]);
        }
        r[10] = t0;
        r[11] = browser_first ? l0 : add16(l0, kPreviewPanelWidth);
    }
    return table;
}

std::array<int16_t, 12> layout_positions(const LayoutTable& table, int layout, int16_t frame_top) {
    if (layout < 0 || layout > 7) raise(Err::SubscriptOutOfRange);
    const LayoutRow& R = table[static_cast<size_t>(layout)];
    const int16_t base = add16(frame_top, 150);
    std::array<int16_t, 12> pos{};
    pos[0] = mul16(sub16(R[0], base), 4);
    pos[1] = 0;
    pos[2] = mul16(add16(sub16(R[2], base), 10), 4);
    pos[3] = 0;
    pos[4] = mul16(sub16(sub16(R[4], base), 2), 4);
    pos[5] = 0;
    pos[6] = mul16(sub16(sub16(R[6], base), 5), 4);
    pos[7] = 0;
    pos[8] = mul16(sub16(sub16(R[8], base), 10), 4);
    pos[9] = 0;
    pos[10] = sub16(R[10], mul16(4, base));
    pos[11] = mul16(R[11], 4);
    return pos;
}

PanelPlacement APPLY_LAYOUT_placement(const SETTINGS_REC& s, double client_height) {
    double base = client_height < kLayoutBaseHeight ? std::nearbyint(client_height)
                                                    : static_cast<double>(kLayoutBaseHeight);
    int32_t extra = CLng(client_height - base);

    const auto& P = s.LAYOUT_POS;
    PanelPlacement out;
    out.map_top = P[0];
    out.map_left = P[1];
    out.buttons_top = P[2];
    out.buttons_left = P[3];
    out.vamp_buttons_top = P[6];
    out.vamp_buttons_left = P[7];
    out.info_top = P[8];
    out.info_left = P[9];
    out.list_top = P[4];
    out.list_left = P[5];
    switch (s.LAYOUT) {
        case 0:
        case 1:
            out.list_height = add16(kListHeight, extra);
            out.list_height_set = true;
            out.vamp_buttons_top += extra;
            out.info_top += extra;
            break;
        case 2:
        case 3:
            out.list_height = add16(kListHeight, extra);
            out.list_height_set = true;
            out.vamp_buttons_top += extra;
            break;
        default:
            break;
    }
    return out;
}

}  // namespace zeko
