#include "main/ui/frm_vamp.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <string>

#include "common/codepage.h"
#include "main/program_state.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

const QColor kDisabledText(128, 128, 128);

// The client area, in twips.
constexpr int32_t kClientWidth = 4635;
constexpr int32_t kClientHeight = 1515;

// A length byte holds at most this many characters.
constexpr size_t kMaxTextLength = 255;

std::string text_of(const QLineEdit* box) {
    return box->text().toStdString();
}

void colour_ground(QWidget* widget) {
    set_palette_colors(widget, {{QPalette::Window, kGround}, {QPalette::WindowText, kListText}});
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

void colour_text_box(QLineEdit* box) {
    set_palette_colors(box, {{QPalette::Base, kListBack},
                             {QPalette::Text, kListText},
                             {QPalette::Text, kDisabledText, QPalette::Disabled}});
}

}  // namespace

namespace {

// Masks a password with a star for each character, whatever the style would draw.
class StarPasswordStyle final : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

}  // namespace

FrmVampBase::FrmVampBase(ProgramState& state, QWidget* owner, HelpHook help)
    : QDialog(owner), state_(state), help_(std::move(help)) {
    setup_fixed_dialog(this, kClientWidth, kClientHeight, true);
    // Small enough for the captions to fit the old controls' sizes.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    const char* const captions[4] = {"Handle:", "Vampire Name:", "Password:", ""};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QLatin1String(captions[i]), this);
        label->setObjectName(QStringLiteral("label(%1)").arg(i));
        label->setGeometry(twips_rect(60, 60 + 360 * i, 1275, 315));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label_[static_cast<size_t>(i)] = label;
    }

    auto text_box = [this](const char* name, int32_t top) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setGeometry(twips_rect(1380, top, 3195, 315));
        return box;
    };
    txtHANDLE_ = text_box("txtHANDLE", 60);
    txtNAME_ = text_box("txtNAME", 420);
    txtPASSWORD_ = text_box("txtPASSWORD", 780);
    txtPASSWORD_->setEchoMode(QLineEdit::Password);
    auto* stars = new StarPasswordStyle;
    stars->setParent(txtPASSWORD_);
    txtPASSWORD_->setStyle(stars);
    txtNAME_->setEnabled(false);
    txtPASSWORD_->setEnabled(false);

    // Made after label(3), so it stands in front of its backdrop.
    chkAutoLog_ = new QCheckBox(QStringLiteral("Auto-Login"), this);
    chkAutoLog_->setObjectName(QStringLiteral("chkAutoLog"));
    chkAutoLog_->setGeometry(twips_rect(120, 1200, 1155, 195));
    QFont smaller = chkAutoLog_->font();
    smaller.setPixelSize(10);
    chkAutoLog_->setFont(smaller);
    // Also when the load ticks it, as the old check box raised its click then.
    connect(chkAutoLog_, &QCheckBox::stateChanged, this, [this] { chkAutoLog_Click(); });

    const char* const buttons[3] = {"&OK", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QLatin1String(buttons[i]), this);
        b->setObjectName(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        b->setGeometry(twips_rect(1380 + 1080 * i, 1140, 1035, 315));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }
    cmdCOMMAND_[0]->setDefault(true);
}

void FrmVampBase::INIT_FORM(const char* caption) {
    colour_ground(this);
    for (QLabel* label : label_)
        colour_ground(label);
    colour_ground(chkAutoLog_);
    for (QLineEdit* box : {txtHANDLE_, txtNAME_, txtPASSWORD_})
        colour_text_box(box);
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2:") + QLatin1String(caption));
}

void FrmVampBase::chkAutoLog_Click() {
    const bool on = chkAutoLog_->checkState() != Qt::Unchecked;
    txtNAME_->setEnabled(on);
    txtPASSWORD_->setEnabled(on);
}

MsgResult FrmVampBase::tell(std::string_view text, std::string_view title, MsgButtons buttons) {
    Prompts* prompts = state_.services.prompts;
    if (prompts == nullptr) return MsgResult::OK;
    return prompts->message_box(text, buttons, MsgIcon::Information, title);
}

bool FrmVampBase::texts_fit() {
    // A length byte cannot hold 256 or more: such a text would be stored with a wrong length,
    // so it is refused rather than cut.
    const std::pair<QLineEdit*, const char*> texts[3] = {
        {txtHANDLE_, "The handle"}, {txtNAME_, "The vampire name"}, {txtPASSWORD_, "The password"}};
    bool fit = true;
    for (const auto& [box, what] : texts) {
        if (char_count(text_of(box)) <= kMaxTextLength) continue;
        tell(std::string(what) +
                 " is too long: it can hold at most 255 characters. Please shorten it and try "
                 "again.",
             "Too long...");
        fit = false;
    }
    return fit;
}

void FrmVampBase::fill(VAMP& record) const {
    record.set_handle(text_of(txtHANDLE_));
    record.set_name(text_of(txtNAME_));
    record.set_password(text_of(txtPASSWORD_));
    record.DELETED = kFalse;
    record.AUTOLOGIN = chkAutoLog_->checkState() == Qt::Unchecked ? kFalse : kTrue;
}

void FrmVampBase::help(int topic) {
    if (help_) help_(topic, this);
}

FrmVampNew::FrmVampNew(ProgramState& state, QWidget* owner, HelpHook help)
    : FrmVampBase(state, owner, std::move(help)) {
    setObjectName(QStringLiteral("frmVAMP_NEW"));
    QWidget::setTabOrder(txtHANDLE_, txtNAME_);
    QWidget::setTabOrder(txtNAME_, txtPASSWORD_);
    QWidget::setTabOrder(txtPASSWORD_, chkAutoLog_);
    QWidget::setTabOrder(chkAutoLog_, cmdCOMMAND_[0]);
    QWidget::setTabOrder(cmdCOMMAND_[0], cmdCOMMAND_[1]);
    QWidget::setTabOrder(cmdCOMMAND_[1], cmdCOMMAND_[2]);
    txtHANDLE_->setFocus();
    INIT_FORM(" Create Vampire...");
}

bool FrmVampNew::input_complete() {
    bool complete = true;
    if (txtHANDLE_->text().isEmpty()) {
        tell("Please enter a handle and try again.", "Handle required...");
        complete = false;
    }
    if (chkAutoLog_->checkState() == Qt::Checked) {
        if (txtNAME_->text().isEmpty()) {
            tell(
                "You have selected the 'autologin' option. Please enter your vampire's name as "
                "it appears in the game.",
                "Username required...");
            complete = false;
        } else if (txtPASSWORD_->text().isEmpty()) {
            tell(
                "You have selected the 'autologin' option. Please enter your vampire's "
                "password exactly as it is in the game.",
                "Password required...");
            complete = false;
        }
    }
    return complete;
}

void FrmVampNew::cmdCOMMAND_Click(int index) {
    switch (index) {
        case 0: {
            const bool complete = input_complete();
            if (!texts_fit() || !complete) return;
            fill(NEW_VAMP);
            NEW_VAMP.POS_X = 100;
            NEW_VAMP.POS_Y = 100;
            NEW_VAMP.DEST_X = 0;
            NEW_VAMP.DEST_Y = 0;
            NEW_INDEX = state_.db.CREATE_DB(NEW_VAMP);
            if (NEW_INDEX != 0) {
                state_.db.CUR_VAMP = NEW_INDEX;
                accept();
                return;
            }
            if (tell("There was an error creating the vampire record. Please try again or "
                     "cancel.",
                     "*ponders the redundancies...*", MsgButtons::OKCancel) == MsgResult::Cancel)
                reject();
            break;
        }
        case 1:
            reject();
            break;
        case 2:
            help(39);
            break;
        default:
            break;
    }
}

FrmVampEdit::FrmVampEdit(ProgramState& state, QWidget* owner, HelpHook help)
    : FrmVampBase(state, owner, std::move(help)) {
    setObjectName(QStringLiteral("frmVAMP_EDIT"));
    QWidget::setTabOrder(cmdCOMMAND_[2], cmdCOMMAND_[1]);
    QWidget::setTabOrder(cmdCOMMAND_[1], cmdCOMMAND_[0]);
    QWidget::setTabOrder(cmdCOMMAND_[0], chkAutoLog_);
    QWidget::setTabOrder(chkAutoLog_, txtPASSWORD_);
    QWidget::setTabOrder(txtPASSWORD_, txtNAME_);
    QWidget::setTabOrder(txtNAME_, txtHANDLE_);
    cmdCOMMAND_[2]->setFocus();
    INIT_FORM(" Edit Vampire...");

    const VAMP& me = state_.db.current();
    if (me.AUTOLOGIN == kTrue) {
        chkAutoLog_->setChecked(true);
        txtNAME_->setEnabled(true);
        txtPASSWORD_->setEnabled(true);
    } else if (me.AUTOLOGIN == kFalse) {
        chkAutoLog_->setChecked(false);
        txtNAME_->setEnabled(false);
        txtPASSWORD_->setEnabled(false);
    }
    txtHANDLE_->setText(QString::fromStdString(me.handle()));
    txtNAME_->setText(QString::fromStdString(me.name()));
    txtPASSWORD_->setText(QString::fromStdString(me.password()));
}

void FrmVampEdit::cmdCOMMAND_Click(int index) {
    switch (index) {
        case 0:
            if (!texts_fit()) return;
            fill(state_.db.current());
            accept();
            break;
        case 1:
            reject();
            break;
        case 2:
            help(40);
            break;
        default:
            break;
    }
}

void NewVampDialog::show_modal() {
    FrmVampNew dialog(state_, nullptr, help_);
    dialog.exec();
}

}  // namespace zeko::ui
