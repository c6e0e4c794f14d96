#include "main/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/errors.h"
#include "map/settings.h"
#include "support/fakes.h"

namespace zeko {
namespace {

using testing::error_of;

TEST(LayoutTable, RowsAsTheChooserShowsThem) {
    // (top, left) of minimap, buttons, list, character buttons, information, small browser.
    const LayoutTable expected = {{
        {180, 45, 1080, 45, 1500, 45, 1680, 45, 1815, 45, 180, 945},
        {600, 45, 180, 45, 1500, 45, 1680, 45, 1815, 45, 180, 945},
        {645, 45, 1545, 45, 1965, 45, 2145, 45, 180, 45, 180, 945},
        {1065, 45, 645, 45, 1965, 45, 2145, 45, 180, 45, 180, 945},
        {180, 2115, 1080, 2115, 1500, 2115, 1680, 2115, 1815, 2115, 180, 45},
        {600, 2115, 180, 2115, 1500, 2115, 1680, 2115, 1815, 2115, 180, 45},
        {645, 2115, 1545, 2115, 1965, 2115, 2145, 2115, 180, 2115, 180, 45},
        {1065, 2115, 645, 2115, 1965, 2115, 2145, 2115, 180, 2115, 180, 45},
    }};
    const LayoutTable table = build_layout_table();
    for (size_t row = 0; row < 8; ++row)
        EXPECT_EQ(table[row], expected[row]) << "row " << row;

    EXPECT_STREQ(kLayoutNames[0], "Layout 1 (Default)");
    EXPECT_STREQ(kLayoutNames[1], "Layout 2");
    EXPECT_STREQ(kLayoutNames[2], "Layout 3");
    EXPECT_STREQ(kLayoutNames[3], "Layout 4");

    // The table follows the preview frame.
    EXPECT_EQ(build_layout_table(130, 10)[2][0], 745);
    EXPECT_EQ(build_layout_table(130, 10)[6][1], 2095);
}

TEST(LayoutTable, PanelTopsInTheMainWindow) {
    const LayoutTable table = build_layout_table();
    // fraMAP, fraBUTTONS, lstVAMP, fraVAMP_BUTTONS, fraINFO for layouts 0..3.
    const int tops[4][5] = {{0, 3640, 5272, 5980, 6500},
                            {1680, 40, 5272, 5980, 6500},
                            {1860, 5500, 7132, 7840, -40},
                            {3540, 1900, 7132, 7840, -40}};
    for (int layout = 0; layout < 8; ++layout) {
        const auto pos = layout_positions(table, layout);
        for (int panel = 0; panel < 5; ++panel) {
            EXPECT_EQ(pos[static_cast<size_t>(2 * panel)], tops[layout % 4][panel])
                << "layout " << layout << " panel " << panel;
            EXPECT_EQ(pos[static_cast<size_t>(2 * panel + 1)], 0);
        }
        // The unread sixth pair.
        EXPECT_EQ(pos[10], -540);
        EXPECT_EQ(pos[11], layout < 4 ? 3780 : 180);
    }
    const auto p0 = layout_positions(table, 0);
    const auto p4 = layout_positions(table, 4);
    EXPECT_TRUE(std::equal(p0.begin(), p0.begin() + 10, p4.begin()));

    EXPECT_EQ(error_of([&] { layout_positions(table, 8); }), 9);
    EXPECT_EQ(error_of([&] { layout_positions(table, -1); }), 9);
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

TEST(LayoutPlacement, TheListTakesTheExtraHeight) {
    const SETTINGS_REC s0 = stored_layout(0);
    for (double h : {0.0, 5000.0, 8309.5, 8310.0, 8310.5}) {
        const PanelPlacement p = APPLY_LAYOUT_placement(s0, h);
        EXPECT_TRUE(p.list_height_set);
        EXPECT_EQ(p.list_height, 705) << h;
        EXPECT_EQ(p.vamp_buttons_top, 5980) << h;
    }
    EXPECT_EQ(APPLY_LAYOUT_placement(s0, 8311.5).list_height, 707);  // half to even

    PanelPlacement p = APPLY_LAYOUT_placement(s0, 9000);
    EXPECT_EQ(p.map_top, 0);
    EXPECT_EQ(p.buttons_top, 3640);
    EXPECT_EQ(p.list_top, 5272);
    EXPECT_EQ(p.list_left, 11);
    EXPECT_EQ(p.list_height, 1395);
    EXPECT_EQ(p.vamp_buttons_top, 5980 + 690);
    EXPECT_EQ(p.info_top, 6500 + 690);
    EXPECT_EQ(p.info_left, 13);

    // Layouts 2 and 3: the information panel is on top and stays there.
    p = APPLY_LAYOUT_placement(stored_layout(2), 9000);
    EXPECT_EQ(p.list_height, 1395);
    EXPECT_EQ(p.list_top, 7132);
    EXPECT_EQ(p.vamp_buttons_top, 7840 + 690);
    EXPECT_EQ(p.info_top, -40);
    EXPECT_EQ(APPLY_LAYOUT_placement(stored_layout(3), 9000).info_top, -40);
    EXPECT_EQ(APPLY_LAYOUT_placement(stored_layout(1), 9000).info_top, 6500 + 690);

    // Layouts 4..7 place the panels without stretching anything.
    for (int layout = 4; layout < 8; ++layout) {
        const SETTINGS_REC s = stored_layout(layout);
        p = APPLY_LAYOUT_placement(s, 9000);
        EXPECT_FALSE(p.list_height_set);
        EXPECT_EQ(p.vamp_buttons_top, s.LAYOUT_POS[6]);
        EXPECT_EQ(p.info_top, s.LAYOUT_POS[8]);
        EXPECT_EQ(error_of([&] { APPLY_LAYOUT_placement(s, 60000); }), 0);
    }
}

TEST(LayoutPlacement, TallWindowsOverflowTheListHeight) {
    EXPECT_EQ(APPLY_LAYOUT_placement(stored_layout(0), 40372).list_height, 32767);
    EXPECT_EQ(error_of([] { APPLY_LAYOUT_placement(stored_layout(0), 40373); }), 6);
    EXPECT_EQ(error_of([] { APPLY_LAYOUT_placement(stored_layout(3), 40373); }), 6);
}

}  // namespace
}  // namespace zeko
