#include "main/ui/browser_toolbar.h"

#include <algorithm>

#include "platform/browser.h"
#include "widgets/artwork.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

const char* const kToolbarTips[8] = {"Back",
                                     "Forward",
                                     "Refresh",
                                     "Stop",
                                     "Screen Shot Configuration",
                                     "Snap Shot (to BMP)",
                                     "Snap Shot (HTML & CSS Dump)",
                                     "Snap Shot (HTML Dump)"};

}  // namespace

BrowserToolbar::BrowserToolbar(std::function<void(int index)> file_command, QWidget* parent)
    : QWidget(parent), file_command_(std::move(file_command)) {
    style_panel(this, "fraTOOLBAR", kGround);
    const int lefts[8] = {180, 660, 1140, 1620, 2220, 2700, 3180, 3660};
    for (int i = 0; i < 8; ++i) {
        auto* b = new PictureBox(this);
        b->setObjectName(indexed("tbBUTTON", i));
        b->setGeometry(twips_rect(lefts[i], 0, 480, 480));
        b->setToolTip(QLatin1String(kToolbarTips[i]));
        connect(b, &PictureBox::pressed, this, [this, i] { tbBUTTON_MouseDown(i); });
        connect(b, &PictureBox::released, this, [this, i] { tbBUTTON_MouseUp(i); });
        connect(b, &PictureBox::clicked, this, [this, i] { tbBUTTON_Click(i); });
        tbBUTTON_[static_cast<size_t>(i)] = b;
    }
    auto line = [&](const char* name, const QColor& colour, QPoint a, QPoint b) {
        auto* l = new LineShape(colour, 1, this);
        l->setObjectName(QLatin1String(name));
        l->set_line(a, b);
        return l;
    };
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    line("div1a", white, QPoint(px(2175), px(60)), QPoint(px(2175), px(420)));
    line("div1", black, QPoint(px(2160), px(60)), QPoint(px(2160), px(420)));
    lineTOP_ = line("lineTOP", white, QPoint(0, 0), QPoint(px(8280), 0));
    lineBOTTOM_ = line("lineBOTTOM", black, QPoint(0, px(465)), QPoint(px(8280), px(465)));
    RESET_TOOLBAR();
}

void BrowserToolbar::fit_width(int w) {
    resize(w, height());
    lineTOP_->set_line(QPoint(0, 0), QPoint(std::max(0, w - 1), 0));
    lineBOTTOM_->set_line(QPoint(0, px(465)), QPoint(std::max(0, w - 1), px(465)));
}

void BrowserToolbar::RESET_TOOLBAR() {
    for (size_t i = 0; i < tbBUTTON_.size(); ++i)
        tbBUTTON_[i]->set_picture(artwork::toolbar_picture(static_cast<int>(i) + 1),
                                  static_cast<int>(i) + 1);
}

void BrowserToolbar::tbBUTTON_MouseDown(int index) {
    tbBUTTON_[static_cast<size_t>(index)]->set_picture(artwork::toolbar_picture(index + 9),
                                                       index + 9);
}

void BrowserToolbar::tbBUTTON_MouseUp(int index) {
    tbBUTTON_[static_cast<size_t>(index)]->set_picture(artwork::toolbar_picture(index + 1),
                                                       index + 1);
}

void BrowserToolbar::tbBUTTON_Click(int index) {
    // The File menu's screen-shot commands: configuration, bitmap, HTML & CSS, HTML.
    const int file_index[4] = {0, 1, 3, 4};
    if (index >= 4 && index <= 7) return file_command_(file_index[index - 4]);
    if (wb_ == nullptr) return;
    switch (index) {
        case 0:
            wb_->GoBack();
            break;
        case 1:
            wb_->GoForward();
            break;
        case 2:
            wb_->Refresh();
            break;
        case 3:
            wb_->Stop();
            break;
        default:
            break;
    }
}

}  // namespace zeko::ui
