#include "main/layout.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/errors.h"
#include "map/settings.h"
#include "support/fakes.h"

namespace zeko::testing {
namespace {

TEST(LayoutTable, PanelTopsInTheMainWindow) {
    // (top, left) of minimap, buttons, list, character buttons, information, small browser;
    // the table follows the preview frame.
    const LayoutTable table = build_layout_table();
    EXPECT_EQ(table[7],
              (LayoutRow{1065, 2115, 645, 2115, 1965, 2115, 2145, 2115, 180, 2115, 180, 45}));
    EXPECT_EQ(build_layout_table(130, 10)[6][1], 2095);
    // fraMAP, fraBUTTONS, lstVAMP, fraVAMP_BUTTONS, fraINFO for layouts 0..3, then the unread
    // sixth pair; layouts 4..7 give the same tops.
    const int tops[4][5] = {{0, 3640, 5272, 5980, 6500},
                            {1680, 40, 5272, 5980, 6500},
                            {1860, 5500, 7132, 7840, -40},
                            {3540, 1900, 7132, 7840, -40}};
    for (int layout = 0; layout < 8; ++layout) {
        const auto pos = layout_positions(table, layout);
        std::array<int16_t, 12> expected{};
        for (int panel = 0; panel < 5; ++panel)
            expected[static_cast<size_t>(2 * panel)] =
                static_cast<int16_t>(tops[layout % 4][panel]);
        expected[10] = -540;
        expected[11] = layout < 4 ? 3780 : 180;
        EXPECT_EQ(pos, expected) << "layout " << layout;
    }
    EXPECT_EQ(error_of([&] { layout_positions(table, 8); }), 9);
    // The arithmetic is 16-bit.
    EXPECT_EQ(error_of([&] { layout_positions(table, 0, -10000); }), 6);
}

SETTINGS_REC stored_layout(int layout) {
    SETTINGS_REC s;
    s.LAYOUT = static_cast<int16_t>(layout);
    s.LAYOUT_POS = layout_positions(build_layout_table(), layout);
    s.LAYOUT_POS[5] = 11;  // every left comes from its own field
    s.LAYOUT_POS[9] = 13;
    return s;
}

TEST(LayoutPlacement, TheListTakesTheExtraHeightUpTo16Bits) {
    // Layouts 0..3 stretch the list and move what is below it (not the information panel on
    // top in 2 and 3); layouts 4..7 place the panels without stretching anything.
    const std::pair<int, PanelPlacement> at_9000[] = {
        {0, {0, 0, 3640, 0, 5272, 11, 1395, true, 6670, 0, 7190, 13}},
        {1, {1680, 0, 40, 0, 5272, 11, 1395, true, 6670, 0, 7190, 13}},
        {3, {3540, 0, 1900, 0, 7132, 11, 1395, true, 8530, 0, -40, 13}},
        {4, {0, 0, 3640, 0, 5272, 11, 705, false, 5980, 0, 6500, 13}},
        {6, {1860, 0, 5500, 0, 7132, 11, 705, false, 7840, 0, -40, 13}},
    };
    for (const auto& [layout, placement] : at_9000)
        EXPECT_EQ(APPLY_LAYOUT_placement(stored_layout(layout), 9000), placement) << layout;

    const SETTINGS_REC s0 = stored_layout(0);
    EXPECT_EQ(APPLY_LAYOUT_placement(s0, 0).list_height, 705);
    EXPECT_EQ(APPLY_LAYOUT_placement(s0, 8311.5).list_height, 707);  // half to even
    EXPECT_EQ(APPLY_LAYOUT_placement(s0, 40372).list_height, 32767);
    EXPECT_EQ(error_of([&] { APPLY_LAYOUT_placement(s0, 40373); }), 6);
    EXPECT_EQ(error_of([] { APPLY_LAYOUT_placement(stored_layout(3), 40373); }), 6);
    EXPECT_EQ(error_of([] { APPLY_LAYOUT_placement(stored_layout(7), 60000); }), 0);
}

}  // namespace
}  // namespace zeko::testing
