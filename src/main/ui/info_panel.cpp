#include "main/ui/info_panel.h"

#include <QLabel>

#include "main/program_state.h"
#include "widgets/distance_panel.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {
const QColor kWhite(255, 255, 255);
}

InfoPanel::InfoPanel(ProgramState& state, std::function<void()> build_map, QWidget* parent)
    : QWidget(parent), state_(state), build_map_(std::move(build_map)) {
    style_panel(this, "fraINFO", kGround);
    const PanelRows rows = add_panel_rows(this, 0, 120, 255);
    rowFrames_ = rows.frames;
    lblX_ = rows.lblX;
    lblY_ = rows.lblY;
    lblAP_ = rows.lblAP;
    lbl_ = rows.fixed;
    const DistancePictures pictures =
        add_distance_pictures(this, [this](int i) { imgDIST_Click(i); });
    imgRES_ = pictures.imgRES;
    imgDIST_ = pictures.imgDIST;
}

void InfoPanel::INIT_FORM() {
    const QColor row_colours[5] = {QColor(0, 0, 192), QColor(255, 128, 0), QColor(255, 0, 0),
                                   QColor(0, 192, 192), QColor(0, 128, 128)};
    for (size_t i = 0; i < rowFrames_.size(); ++i) {
        rowFrames_[i]->set_back_color(row_colours[i]);
        rowFrames_[i]->set_caption_color(kWhite);
    }
    for (size_t i = 0; i < 5; ++i)
        for (QLabel* l : {lblX_[i], lblY_[i], lblAP_[i]})
            set_palette_colors(l, {{QPalette::WindowText, kWhite}});
    for (QLabel* l : lbl_)
        set_palette_colors(l, {{QPalette::WindowText, kWhite}});
}

void InfoPanel::show_model(const MinimapModel& model, MinimapModel& shown) {
    for (size_t n = 0; n < model.rows.size(); ++n) {
        const PanelRow& r = model.rows[n];
        PanelRow& s = shown.rows[n];
        if (r == s) continue;
        if (r.caption != s.caption) rowFrames_[n]->setTitle(utf8(r.caption));
        if (r.x != s.x) lblX_[n]->setText(utf8(r.x));
        if (r.y != s.y) lblY_[n]->setText(utf8(r.y));
        if (r.ap != s.ap) lblAP_[n]->setText(utf8(r.ap));
        s = r;
    }
}

void InfoPanel::imgDIST_Click(int index) {
    state_.NAV_CHOICE = static_cast<int16_t>(index);
    SHOW_DIST_MODE();
}

void InfoPanel::SHOW_DIST_MODE() {
    for (size_t i = 0; i < imgDIST_.size(); ++i)
        imgDIST_[i]->set_picture(imgRES_[i]->pixmap(), static_cast<int>(i));
    const int choice = state_.NAV_CHOICE;
    if (choice >= 0 && choice <= 2) {
        const auto c = static_cast<size_t>(choice);
        imgDIST_[c]->set_picture(imgRES_[c + 3]->pixmap(), choice + 3);
    }
    build_map_();
}

}  // namespace zeko::ui
