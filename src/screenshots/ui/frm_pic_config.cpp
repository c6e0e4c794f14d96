#include "screenshots/ui/frm_pic_config.h"

#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <string>

#include "common/prompts.h"
#include "main/program.h"
#include "main/program_state.h"
#include "screenshots/shot_names.h"
#include "widgets/program_windows.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

// The client area, in twips.
constexpr int32_t kClientWidth = 5370;
constexpr int32_t kClientHeight = 3330;
constexpr int32_t kRowStep = 840;
constexpr int kHelpTopic = 26;

const char* const kRowLabels[3] = {"Snap Shot:", "HTML && CSS Dump:", "HTML Dump:"};

void colour_box(QWidget* box) {
    set_palette_colors(box, {{QPalette::Base, kListBack},
                             {QPalette::Button, kListBack},
                             {QPalette::Window, kListBack},
                             {QPalette::Text, kListText},
                             {QPalette::ButtonText, kListText},
                             {QPalette::WindowText, kListText}});
}

}  // namespace

FrmPICConfig::FrmPICConfig(ProgramState& state, ProgramWindows& windows, QWidget* owner)
    : QDialog(owner), state_(state), windows_(windows) {
    setObjectName(QStringLiteral("frmPICConfig"));
    setup_fixed_dialog(this, kClientWidth, kClientHeight, true);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    set_palette_colors(this, {{QPalette::Window, kGround}, {QPalette::WindowText, kListText}});
    setAutoFillBackground(true);

    fra_ = new VbFrame(this);
    fra_->setObjectName(QStringLiteral("fra"));
    fra_->setTitle(QStringLiteral("Filename Formats (header - date - snapshot number)"));
    fra_->setGeometry(twips_rect(68, 0, 5235, 2775));
    fra_->set_back_color(kGround);
    fra_->set_caption_color(kListText);

    for (int i = 0; i < 3; ++i) {
        const size_t k = static_cast<size_t>(i);
        const int32_t top = 240 + kRowStep * i;

        auto* label = new QLabel(label_text(QLatin1String(kRowLabels[i])), fra_);
        label->setObjectName(QStringLiteral("lbl(%1)").arg(i));
        label->setGeometry(twips_rect(120, top, 1515, 315));
        set_palette_colors(label, {{QPalette::WindowText, kListText}});
        // The row labels must fit beside the header boxes.
        QFont narrow = label->font();
        narrow.setPixelSize(10);
        label->setFont(narrow);
        lbl_[k] = label;

        auto* header = new QLineEdit(fra_);
        header->setObjectName(QStringLiteral("txtHEADER(%1)").arg(i));
        header->setGeometry(twips_rect(1680, top, 1935, 315));
        // The settings record holds 50 characters.
        header->setMaxLength(kPicHeaderWidth);
        colour_box(header);
        connect(header, &QLineEdit::textChanged, this, [this, i] { txtHEADER_Change(i); });
        txtHEADER_[k] = header;

        auto* dates = new QComboBox(fra_);
        dates->setObjectName(QStringLiteral("cboDATE(%1)").arg(i));
        dates->setGeometry(twips_rect(3660, top, 1455, 315));
        for (std::string_view pattern : DATE_FORMATS)
            dates->addItem(
                QString::fromLatin1(pattern.data(), static_cast<qsizetype>(pattern.size())));
        colour_box(dates);
        connect(dates, &QComboBox::currentIndexChanged, this, [this, i] { cboDATE_Click(i); });
        cboDATE_[k] = dates;

        auto* sample = new QLabel(fra_);
        sample->setObjectName(QStringLiteral("lblSAMPLE(%1)").arg(i));
        sample->setGeometry(twips_rect(120, 660 + kRowStep * i, 4995, 315));
        sample->setTextFormat(Qt::PlainText);
        set_palette_colors(sample, {{QPalette::WindowText, kListText}});
        lblSAMPLE_[k] = sample;
    }

    const char* const captions[4] = {"&OK", "&Cancel", "&Help", "&Reset Defaults"};
    const int32_t lefts[4] = {68, 1388, 2700, 4028};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QLatin1String(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        b->setGeometry(twips_rect(lefts[i], 2880, 1275, 375));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }

    Form_Load();
    Form_Activate();
}

void FrmPICConfig::Form_Load() {
    WORK_PIC = state_.settings.SETTINGS.PIC;
    CHECK_SETTINGS(WORK_PIC, state_.services.prompts);
    SHOW_SETTINGS();
}

void FrmPICConfig::Form_Activate() {
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2: Snap Shot Configuration..."));
}

bool FrmPICConfig::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return QDialog::event(event);
}

void FrmPICConfig::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void FrmPICConfig::show_modal() {
    exec();
}

void FrmPICConfig::SHOW_SETTINGS() {
    for (int i = 0; i < 3; ++i) {
        const size_t k = static_cast<size_t>(i);
        const std::string header = WORK_PIC[k].header();
        const int date = date_pattern_index(WORK_PIC[k].DATE_FORMAT);
        {
            // Each box's own handler runs below even when the value was already there.
            const QSignalBlocker block_header(txtHEADER_[k]);
            const QSignalBlocker block_date(cboDATE_[k]);
            txtHEADER_[k]->setText(utf8(header));
            cboDATE_[k]->setCurrentIndex(date);
        }
        txtHEADER_Change(i);
        cboDATE_Click(i);
    }
}

void FrmPICConfig::txtHEADER_Change(int index) {
    const size_t k = static_cast<size_t>(index);
    WORK_PIC[k].set_header(txtHEADER_[k]->text().toStdString());
    show_sample(index);
}

void FrmPICConfig::cboDATE_Click(int index) {
    const size_t k = static_cast<size_t>(index);
    const int selected = cboDATE_[k]->currentIndex();
    if (selected < 0) return;
    WORK_PIC[k].DATE_FORMAT = static_cast<int16_t>(selected);
    show_sample(index);
}

void FrmPICConfig::show_sample(int index) {
    SystemClock system_clock;
    Clock& clock = state_.services.clock ? *state_.services.clock : system_clock;
    const size_t k = static_cast<size_t>(index);
    lblSAMPLE_[k]->setText(utf8(SHOT_NAME(WORK_PIC[k], index, clock.now(), 0)));
}

void FrmPICConfig::LOAD_DEFAULTS() {
    zeko::LOAD_DEFAULTS(WORK_PIC);
    SHOW_SETTINGS();
}

bool FrmPICConfig::headers_usable() {
    for (int i = 0; i < 3; ++i) {
        const std::string refused =
            refused_header_character(WORK_PIC[static_cast<size_t>(i)].header());
        if (refused.empty()) continue;
        if (Prompts* prompts = state_.services.prompts)
            prompts->message_box(refused_header_text(i, refused, /*typed=*/true), MsgButtons::OK,
                                 MsgIcon::Exclamation, kRefusedHeaderTitle);
        txtHEADER_[static_cast<size_t>(i)]->setFocus();
        return false;
    }
    return true;
}

void FrmPICConfig::cmdCOMMAND_Click(int index) {
    switch (index) {
        case 0:
            if (!headers_usable()) return;
            state_.settings.SETTINGS.PIC = WORK_PIC;
            state_.settings.SAVE_SETTINGS();
            accept();
            break;
        case 1:
            reject();
            break;
        case 2:
            windows_.INIT_HELP(kHelpTopic, this);
            break;
        case 3: {
            Prompts* prompts = state_.services.prompts;
            if (prompts != nullptr &&
                prompts->message_box(
                    "Are you sure you want to restore the default screen shot settings?",
                    MsgButtons::YesNo, MsgIcon::None, "Just thought I'd ask...") == MsgResult::Yes)
                LOAD_DEFAULTS();
            break;
        }
        default:
            break;
    }
}

}  // namespace zeko::ui
