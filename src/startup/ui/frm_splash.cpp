#include "startup/ui/frm_splash.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QScreen>

#include "common/hosts.h"
#include "common/prompts.h"
#include "help/about_text.h"
#include "main/program.h"
#include "main/program_state.h"
#include "platform/download.h"
#include "platform/events.h"
#include "startup/map_update.h"
#include "widgets/maker_contacts.h"
#include "widgets/splash_art.h"
#include "widgets/vb_widgets.h"
#include "widgets/version_text.h"

namespace zeko::ui {

namespace {

constexpr std::string_view kChecking = "Checking map for updates...";
constexpr std::string_view kStarting = "Starting Z.E.K.O.\xC2\xB2...";
constexpr std::string_view kUpdating = "New map version found! Updating map...";
constexpr std::string_view kUpdated = "Update complete... Starting Z.E.K.O.\xC2\xB2";

// Shows the text at the label's size even where the font falls back to a wider face: the
// font shrinks until the text fits (the labels do not wrap).
void set_fitting_text(QLabel* label, double points, const QString& text) {
    QFont font = label->font();
    font.setPointSizeF(points);
    while (font.pointSizeF() > 6 && QFontMetricsF(font).horizontalAdvance(text) > label->width())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
    label->setText(text);
}

QLabel* make_label(QWidget* parent, const char* name, const QString& caption, QRect at,
                   Qt::Alignment align, double points, bool bold, bool italic, QColor color) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(at);
    label->setAlignment(align | Qt::AlignTop);
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    set_fitting_text(label, points, caption);
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    set_palette_colors(label, {{QPalette::WindowText, color}});
    return label;
}

}  // namespace

FrmSplash::Sites FrmSplash::built_in_sites() {
    return {QString::fromLatin1(hosts::kUpdate), QString::fromStdString(help::about_artist_url())};
}

FrmSplash::FrmSplash(ProgramState& state, StartHooks& hooks, FileDownloader& downloader,
                     const BrowserFactory& make_browser, Sites sites,
                     std::function<void()> end_program, std::chrono::milliseconds version_page_wait,
                     QWidget* parent)
    // A plain borderless window, so the start's own dialogs can come up over it.
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      hooks_(hooks),
      downloader_(downloader),
      sites_(std::move(sites)),
      end_program_(std::move(end_program)),
      version_page_wait_(version_page_wait) {
    setObjectName(QStringLiteral("frmSPLASH"));
    setFixedSize(px(6000), px(4500));
    const QColor green(0, 255, 0);
    label1_ =
        make_label(this, "Label1", QStringLiteral("Version:"), twips_rect(3900, 60, 1095, 435),
                   Qt::AlignRight, 11.25, true, false, green);
    ver_ = make_label(this, "lblVER", {}, twips_rect(5040, 60, 915, 435), Qt::AlignLeft, 11.25,
                      true, false, green);
    status_ = make_label(this, "lblSTATUS", {}, twips_rect(0, 3840, 6015, 375), Qt::AlignHCenter,
                         12, false, false, green);
    link_ = make_label(this, "lblLINK", QStringLiteral("Logo by Tesk  "),
                       twips_rect(4260, 4080, 1635, 375), Qt::AlignRight, 14.25, false, true,
                       QColor(128, 255, 128));
    link_->setCursor(Qt::PointingHandCursor);
    link_->installEventFilter(this);

    update_ = make_browser(this);
    update_->setObjectName(QStringLiteral("wbUPDATE"));
    tesk_ = make_browser(this);
    tesk_->setObjectName(QStringLiteral("wbTESK"));
    // Both lie below the visible area.
    for (WebBrowser* browser : {update_.get(), tesk_.get()}) {
        browser->setSilent(true);
        QWidget* view = browser->widget();
        view->setParent(this);
        view->setGeometry(0, px(4500) + 10, 8, 8);
    }

    init_timer_.setObjectName(QStringLiteral("tmrINIT"));
    init_timer_.setInterval(500);
    connect(&init_timer_, &QTimer::timeout, this, &FrmSplash::tmrINIT_Timer);
    delay_timer_.setObjectName(QStringLiteral("tmrDELAY"));
    delay_timer_.setInterval(3000);
    connect(&delay_timer_, &QTimer::timeout, this, &FrmSplash::tmrDELAY_Timer);
}

FrmSplash::~FrmSplash() {
    // The views belong to the browsers, not to this window.
    for (WebBrowser* browser : {update_.get(), tesk_.get()}) {
        if (browser && browser->widget()->parent() == this) browser->widget()->setParent(nullptr);
    }
}

QString FrmSplash::version_page() const {
    return QString::fromStdString(update_url(sites_.update_host.toStdString(), kMapVersionPath));
}

void FrmSplash::Form_Load() {
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, artwork::splash_logo());
    setPalette(palette);
    setAutoFillBackground(true);
    set_fitting_text(ver_, 11.25, ver_->text() + QString::fromStdString(version_text()));
    state_.settings.LOAD_SETTINGS();
    set_fitting_text(status_, 12, utf8(kChecking));
    init_timer_.start();
    delay_timer_.start();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    do_events();
    version_asked_.start();
    update_->Navigate2(version_page());
}

void FrmSplash::unload() {
    init_timer_.stop();
    delay_timer_.stop();
    update_->Stop();
    close();
}

void FrmSplash::tmrINIT_Timer() {
    if (!INIT_TICKED) {
        INIT_TICKED = true;
        update_->Navigate(version_page());
        return;
    }
    if (update_->ReadyState() == 4) {
        init_timer_.stop();
        CHECK_MAP_VERSION();
    } else if (version_asked_.hasExpired(version_page_wait_.count())) {
        // Given up on: the start goes on with the installed map, as after a page without a
        // number.
        init_timer_.stop();
        update_->Stop();
        checking_ = true;
        set_fitting_text(status_, 12, utf8(kStarting));
        end_check();
    } else {
        do_events();
    }
}

void FrmSplash::tmrDELAY_Timer() {
    DELAY_DONE = true;
    if (CHECK_DONE) hand_over();
}

void FrmSplash::Form_Click() {
    if (CHECK_DONE) hand_over();
}

void FrmSplash::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton &&
        !link_->geometry().contains(event->position().toPoint()))
        Form_Click();
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblLINK_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmSplash::lblLINK_Click() {
    tesk_->Navigate2(sites_.artist_page, QStringLiteral("_blank"), {}, {});
}

void FrmSplash::CHECK_MAP_VERSION() {
    if (checking_) return;
    checking_ = true;
    QPointer<FrmSplash> self(this);
    update_->readBodyInnerHtml([self](std::optional<QString> body) {
        if (self) self->check_version(body.value_or(QString()));
    });
}

void FrmSplash::check_version(const QString& body) {
    const int16_t remote = remote_map_version(body.toStdString());
    auto& settings = state_.settings;
    if (settings.SETTINGS.MAP_VERSION >= remote) {
        set_fitting_text(status_, 12, utf8(kStarting));
    } else {
        set_fitting_text(status_, 12, utf8(kUpdating));
        do_events();
        const bool installed = DOWNLOAD_MAP();
        if (ended_) return;
        if (installed) {
            set_fitting_text(status_, 12, utf8(kUpdated));
            settings.SETTINGS.MAP_VERSION = remote;
            settings.SAVE_SETTINGS();
        } else {
            // The old map and its number stay, so the next start tries again.
            set_fitting_text(status_, 12, utf8(kStarting));
        }
    }
    end_check();
}

void FrmSplash::end_check() {
    do_events();
    CHECK_DONE = true;
    if (DELAY_DONE) hand_over();
}

bool FrmSplash::DOWNLOAD_MAP() {
    const auto folder = state_.folder();
    const QString url =
        QString::fromStdString(update_url(sites_.update_host.toStdString(), kCurrentMapPath));
    if (!DOWNLOAD_FILE(url, folder / kNewMapFile)) {
        state_.services.prompts->message_box(
            "An unexpected error has occured, please try again. If this reoccurs, please delete "
            "your settings.dat file or contact Morvanek as " +
                std::string(kMakerMessengerId) + " on yahoo messenger.",
            MsgButtons::OK, MsgIcon::Information, "...");
        ended_ = true;
        init_timer_.stop();
        delay_timer_.stop();
        hide();
        if (end_program_) {
            end_program_();
        } else {
            QCoreApplication::exit(1);
        }
        return false;
    }
    return install_new_map(folder);
}

bool FrmSplash::DOWNLOAD_FILE(const QString& url, const std::filesystem::path& path) {
    return downloader_.DOWNLOAD_FILE(url, path);
}

void FrmSplash::hand_over() {
    if (HANDED_OVER || ended_) return;
    HANDED_OVER = true;
    INIT_PROGRAM(state_, hooks_);
    emit handed_over();
}

}  // namespace zeko::ui
