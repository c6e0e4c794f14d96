#include "help/ui/frm_about.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "help/about_text.h"
#include "help/ui/about_artwork.h"
#include "platform/browser.h"
#include "widgets/splash_art.h"
#include "widgets/vb_widgets.h"
#include "widgets/version_text.h"

namespace zeko::ui {

namespace {

constexpr int32_t kClientWidth = 6000;
constexpr int32_t kClientHeight = 4500;

// Colours as 0xRRGGBB.
constexpr uint32_t kFront = 0xC0FFC0;
constexpr uint32_t kShadow = 0x004000;
constexpr uint32_t kBlack = 0x000000;

}  // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

FrmAbout::FrmAbout(BrowserFactory make_browser, QWidget* owner)
    : QDialog(owner), make_browser_(std::move(make_browser)) {
    setObjectName(QStringLiteral("frmABOUT"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(false);
    setFixedSize(px(kClientWidth), px(kClientHeight));

    QFont info_font(QStringLiteral("Comic Sans MS"));
    info_font.setPointSize(9);
    QFont version_font(QStringLiteral("Comic Sans MS"));
    version_font.setPointSize(18);
    version_font.setBold(true);
    // The window's own font: the small dialog face.
    QFont window_font = font();
    window_font.setPointSize(8);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;

    // Shadows first, so the light copies lie on top.
    lblAPP_INF2_ =
        label("lblAPP_INF2", rgb_color(kBlack), 90, 90, 5895, 4395, info_font, left, false);
    lblAPP_INF1_ =
        label("lblAPP_INF1", rgb_color(kShadow), 75, 75, 5895, 4395, info_font, left, false);
    lblAPP_INF_ =
        label("lblAPP_INF", rgb_color(kFront), 60, 60, 5895, 4395, info_font, left, false);
    lblVER1_ =
        label("lblVER1", rgb_color(kBlack), 4635, 3915, 1275, 495, version_font, right, false);
    lblVER_ = label("lblVER", rgb_color(kFront), 4620, 3900, 1275, 495, version_font, right, false);
    lblTesk1_ = label("lblTesk1", rgb_color(kBlack), 75, 3975, 2295, 495, window_font, left, false);
    lblTesk_ = label("lblTesk", rgb_color(kFront), 60, 3960, 2295, 495, window_font, left, true);
    lblTOGGLE1_ =
        label("lblTOGGLE1", rgb_color(kBlack), 3675, 3975, 1215, 495, window_font, left, false);
    lblTOGGLE_ =
        label("lblTOGGLE", rgb_color(kFront), 3660, 3960, 1335, 495, window_font, left, true);
    connect(static_cast<ClickLabel*>(lblTesk_), &ClickLabel::clicked, this,
            &FrmAbout::lblTesk_Click);
    connect(static_cast<ClickLabel*>(lblTOGGLE_), &ClickLabel::clicked, this,
            &FrmAbout::lblTOGGLE_Click);

    for (int i = 0; i < 2; ++i) {
        auto* res = new PictureBox(this);
        res->setObjectName(QStringLiteral("imgRES(%1)").arg(i));
        res->setGeometry(twips_rect(0, 0, 1170, 480));
        res->set_picture(about_button(i == 1), i);
        res->hide();
        imgRES_[static_cast<size_t>(i)] = res;
    }
    cmdCOMMAND_ = new PictureBox(this);
    cmdCOMMAND_->setObjectName(QStringLiteral("cmdCOMMAND"));
    cmdCOMMAND_->setGeometry(twips_rect(2415, 3960, 1170, 480));
    connect(cmdCOMMAND_, &PictureBox::pressed, this, &FrmAbout::cmdCOMMAND_MouseDown);
    connect(cmdCOMMAND_, &PictureBox::released, this, &FrmAbout::cmdCOMMAND_MouseUp);
    connect(cmdCOMMAND_, &PictureBox::clicked, this, &FrmAbout::cmdCOMMAND_Click);

    tmrTEXT_ = new QTimer(this);
    tmrTEXT_->setObjectName(QStringLiteral("tmrTEXT"));
    connect(tmrTEXT_, &QTimer::timeout, this, &FrmAbout::tmrTEXT_Timer);

    // Load.
    INIT_ABOUT();
}

FrmAbout::~FrmAbout() = default;

FrmAbout* FrmAbout::show_over(const BrowserFactory& make_browser, QWidget* owner) {
    auto* box = new FrmAbout(make_browser, owner);
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        box->move(area.center() - QPoint(box->width() / 2, box->height() / 2));
    }
    box->show();
    box->activateWindow();
    return box;
}

QLabel* FrmAbout::label(const char* name, const QColor& color, int32_t left, int32_t top,
                        int32_t width, int32_t height, const QFont& font, Qt::Alignment align,
                        bool clickable) {
    QLabel* l = clickable ? new ClickLabel(this) : new QLabel(this);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(twips_rect(left, top, width, height));
    l->setFont(font);
    l->setAlignment(align);
    l->setWordWrap(true);
    l->setAttribute(Qt::WA_TranslucentBackground);
    set_palette_colors(l, {{QPalette::WindowText, color}});
    if (clickable) l->setCursor(Qt::PointingHandCursor);
    return l;
}

void FrmAbout::INIT_ABOUT() {
    set_palette_colors(this, {{QPalette::Window, kGround}});
    setAutoFillBackground(true);
    // The same picture the start-up window shows.
    picture_ = artwork::splash_logo();
    cmdCOMMAND_->set_picture(imgRES_[0]->pixmap(), 0);
    const QString info = utf8(help::about_info_text());
    for (QLabel* l : {lblAPP_INF_, lblAPP_INF1_, lblAPP_INF2_})
        l->setText(info);
    const QString artist = utf8(help::about_artist_text());
    lblTesk_->setText(artist);
    lblTesk1_->setText(artist);
    const QString version = utf8(version_text());
    lblVER_->setText(version);
    lblVER1_->setText(version);
    const QString toggle = utf8(help::about_toggle_text());
    lblTOGGLE_->setText(toggle);
    lblTOGGLE1_->setText(toggle);
}

std::array<QWidget*, 10> FrmAbout::text_controls() const {
    return {lblVER_,  lblVER1_,  lblAPP_INF_, lblAPP_INF1_, lblAPP_INF2_,
            lblTesk_, lblTesk1_, lblTOGGLE_,  lblTOGGLE1_,  cmdCOMMAND_};
}

void FrmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

bool FrmAbout::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) Form_LostFocus();
    return QDialog::event(event);
}

void FrmAbout::cmdCOMMAND_MouseDown() {
    cmdCOMMAND_->set_picture(imgRES_[1]->pixmap(), 1);
}

void FrmAbout::cmdCOMMAND_MouseUp() {
    cmdCOMMAND_->set_picture(imgRES_[0]->pixmap(), 0);
}

void FrmAbout::cmdCOMMAND_Click() {
    close();
}

void FrmAbout::Form_LostFocus() {
    close();
}

void FrmAbout::lblTesk_Click() {
    if (!wb_) {
        wb_ = make_browser_(this);
        QWidget* view = wb_->widget();
        if (view->parentWidget() != this) view->setParent(this);
        view->setObjectName(QStringLiteral("wbTESK"));
        view->setGeometry(twips_rect(780, 5000, 255, 195));
    }
    wb_->Navigate2(utf8(help::about_artist_url()), QStringLiteral("_blank"), {}, {});
}

void FrmAbout::lblTOGGLE_Click() {
    for (QWidget* w : text_controls())
        w->setVisible(false);
    tmrTEXT_->start(5000);
}

void FrmAbout::tmrTEXT_Timer() {
    for (QWidget* w : text_controls())
        w->setVisible(true);
    tmrTEXT_->stop();
}

}  // namespace zeko::ui
