#include "main/ui/info_panel.h"

#include <QLabel>

#include "main/program_state.h"
#include "main/ui/artwork.h"
#include "main/ui/vb_widgets.h"

namespace zeko::ui {

namespace {
const QColor kWhite(255, 255, 255);
}

DistancePictures add_distance_pictures(QWidget* parent, const std::function<void(int)>& clicked) {
    DistancePictures made;
    for (int i = 0; i < 6; ++i) {
        auto* store = new PictureBox(parent);
        store->setObjectName(indexed("imgRES", i));
        store->set_picture(artwork::distance_picture(i), i);
        store->setGeometry(twips_rect(3000, 120, 600, 495));
        store->hide();
        made.imgRES[static_cast<size_t>(i)] = store;
    }
    for (int i = 0; i < 3; ++i) {
        auto* choice = new PictureBox(parent);
        choice->setObjectName(indexed("imgDIST", i));
        choice->setGeometry(twips_rect(3000, 120 + 540 * i, 600, 495));
        choice->setCursor(Qt::PointingHandCursor);
        QObject::connect(choice, &PictureBox::clicked, choice, [clicked, i] { clicked(i); });
        made.imgDIST[static_cast<size_t>(i)] = choice;
    }
    return made;
}

PanelRows add_panel_rows(QWidget* parent, int first_fixed, int32_t amp_width, int32_t ap_width) {
    const char* const frames[5] = {"fraBANK", "fraPUB", "fraTRANSIT", "fraDEST", "fraDESTTRANS"};
    QFont row_font(QStringLiteral("Courier New"));
    row_font.setPointSize(8);
    row_font.setBold(true);
    QFont caption_font = parent->font();
    caption_font.setPointSize(7);
    auto label = [&](QWidget* frame, const QString& name, const QString& text, int32_t left,
                     int32_t width) {
        auto* l = new QLabel(text, frame);
        l->setObjectName(name);
        l->setFont(row_font);
        l->setGeometry(twips_rect(left, 135, width, 225));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    PanelRows rows;
    for (int i = 0; i < 5; ++i) {
        const auto n = static_cast<size_t>(i);
        auto* frame = new VbFrame(parent);
        frame->setObjectName(QLatin1String(frames[i]));
        frame->setFont(caption_font);
        frame->setGeometry(twips_rect(0, 360 * i, 2940, 375));
        rows.frames[n] = frame;
        const int fixed = first_fixed + 2 * i;
        rows.lblX[n] = label(frame, indexed("lblX", i), {}, 120, 1155);
        rows.fixed[2 * n] =
            label(frame, indexed("lbl", fixed), QStringLiteral("&"), 1320, amp_width);
        rows.lblY[n] = label(frame, indexed("lblY", i), {}, 1440, 555);
        rows.lblAP[n] = label(frame, indexed("lblAP", i), {}, 2280, 315);
        rows.lblAP[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        rows.fixed[2 * n + 1] =
            label(frame, indexed("lbl", fixed + 1), QStringLiteral("AP"), 2640, ap_width);
    }
    return rows;
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
