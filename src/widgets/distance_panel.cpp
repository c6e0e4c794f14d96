#include "widgets/distance_panel.h"

#include <QFont>
#include <QLabel>

#include "widgets/artwork.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

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

}  // namespace zeko::ui
