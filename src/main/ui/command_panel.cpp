#include "main/ui/command_panel.h"
#include "widgets/traps.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "main/program_state.h"
#include "widgets/artwork.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

const QColor kButtonFace(20, 84, 20);

const char* const kCommandTips[10] = {
    "Zoom In: Zooms in closer to the minimap",
    "Zoom Out: Zooms out to show more of the minimap",
    "Set Destination: Sets a destination for your vampire which you will be guided to on the "
    "minimap.",
    "Safe Refresh: Clicking safe refresh will safely refresh the page without reusing the last "
    "item or action used.",
    "Help: want to know more about the program? this is the button for you!",
    "Make a donation: This button will allow you to make a donation to the author of this map. "
    "If you would rather support the game itself, use \"Buy a skill / power!!!\" in the Skills "
    "menu.",
    "Message Morvanek: This requires yahoo messenger, and clicking this button will open a "
    "message window to me, the author of this program.",
    "Email Morvanek: Pressing this button will create an email to be sent to me. This is a good "
    "way to send bug reports. Clicking this button may instead bring you to a login page for "
    "your mail account, if you are not currently logged into it.",
    "Morvanek Poetry: Clicking this button will bring you to my poetry page. Click, read, and "
    "enjoy.",
    "GO: this button is directly related to the two boxes beside it. Selecting a street location "
    "in them will do nothing until you press the go button.",
};

// Selects an entry without raising the box's click, when the box shows another.
void show_index(QComboBox* box, int index, int& shown) {
    if (index == shown) return;
    const QSignalBlocker block(box);
    box->setCurrentIndex(index);
    shown = index;
}

}  // namespace

CommandPanel::CommandPanel(ProgramState& state, Command command, QWidget* parent)
    : QWidget(parent), state_(state), command_(std::move(command)) {
    style_panel(this, "fraBUTTONS", kGround);
    cboX_ = new QComboBox(this);
    cboX_->setObjectName(QStringLiteral("cboX"));
    cboX_->setGeometry(twips_rect(0, 0, 1155, 315));
    cboY_ = new QComboBox(this);
    cboY_->setObjectName(QStringLiteral("cboY"));
    cboY_->setGeometry(twips_rect(1230, 0, 1155, 315));
    for (int i = 0; i < 10; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(indexed("cmdCOMMAND", i));
        if (i == 9) {
            b->setText(QStringLiteral("GO"));
            b->setGeometry(twips_rect(2460, 0, 1155, 315));
        } else {
            // Three to a row, left to right.
            b->setGeometry(twips_rect(1230 * (i % 3), 360 + 420 * (i / 3), 1155, 375));
            const QPixmap picture = artwork::command_picture(i);
            b->setIcon(QIcon(picture));
            b->setIconSize(picture.size().boundedTo(b->size() - QSize(4, 2)));
        }
        // The pictures are drawn for a dark button face.
        set_palette_colors(b, {{QPalette::Button, kButtonFace}, {QPalette::ButtonText, kListText}});
        b->setToolTip(QString::fromUtf8(kCommandTips[i]));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }
}

void CommandPanel::INIT_FORM() {
    set_list_colours(cboX_);
    set_list_colours(cboY_);
    cboX_->clear();
    cboY_->clear();
    trap("INIT_FORM", [&] {
        for (int i = 0; i <= 100; ++i) {
            cboX_->addItem(utf8(state_.map.STREET_NAME_X(i)));
            cboY_->addItem(utf8(state_.map.STREET_NAME_Y(i)));
        }
    });
}

void CommandPanel::show_model(const MinimapModel& model, MinimapModel& shown) {
    show_index(cboX_, model.cboX_index, shown.cboX_index);
    show_index(cboY_, model.cboY_index, shown.cboY_index);
}

void CommandPanel::cmdCOMMAND_Click(int index) {
    command_(static_cast<int16_t>(index),
             StreetChoice{cboX_->currentIndex(), cboY_->currentIndex()});
}

}  // namespace zeko::ui
