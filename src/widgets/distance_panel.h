#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QLabel;

namespace zeko::ui {

class PictureBox;
class VbFrame;

// The six distance pictures (kept hidden, to be copied from) and the three that show the chosen
// rank, as the main window's panel and the planner's both have them; a click on choice i calls
// clicked(i).
struct DistancePictures {
    std::array<PictureBox*, 6> imgRES{};
    std::array<PictureBox*, 3> imgDIST{};
};
DistancePictures add_distance_pictures(QWidget* parent, const std::function<void(int)>& clicked);

// The five rows of a distance panel (bank, pub, station, destination, destination by
// transit): a frame each, holding the place's two streets joined by "&" and its distance
// followed by "AP". The fixed labels are lbl(first_fixed) onwards, as each window numbers
// them, with the widths each window gives them.
struct PanelRows {
    std::array<VbFrame*, 5> frames{};
    std::array<QLabel*, 5> lblX{};
    std::array<QLabel*, 5> lblY{};
    std::array<QLabel*, 5> lblAP{};
    std::array<QLabel*, 10> fixed{};  // "&" and "AP" of each row in turn
};
PanelRows add_panel_rows(QWidget* parent, int first_fixed, int32_t amp_width, int32_t ap_width);

}  // namespace zeko::ui
