#include "startup/ui/frm_map_update.h"

#include <QEvent>
#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

#include "common/errors.h"
#include "common/hosts.h"
#include "common/prompts.h"
#include "main/program_state.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

constexpr std::string_view kProgramTitle = "Z.E.K.O.\xC2\xB2";

}  // namespace

QString FrmMapUpdate::built_in_guild_page() {
    return QStringLiteral("http://") + QString::fromLatin1(hosts::kGuild) + utf8(kGuildPagePath);
}

FrmMapUpdate::FrmMapUpdate(ProgramState& state, const BrowserFactory& make_browser,
                           std::function<void()> redraw_map, QString guild_page, QWidget* parent)
    : QDialog(parent),
      state_(state),
      redraw_map_(std::move(redraw_map)),
      guild_page_(std::move(guild_page)),
      run_(state.guilds.GUILDS) {
    setObjectName(QStringLiteral("frmMAP_UPDATE"));
    setWindowTitle(utf8(kMapUpdateTitle));
    setFixedSize(px(4635), px(6000));
    set_palette_colors(this, {{QPalette::Window, rgb_color(0x404040)}});
    setAutoFillBackground(true);

    txtSTATUS_ = new QPlainTextEdit(this);
    txtSTATUS_->setObjectName(QStringLiteral("txtSTATUS"));
    txtSTATUS_->setGeometry(twips_rect(60, 60, 4515, 5295));
    txtSTATUS_->setReadOnly(true);
    txtSTATUS_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtSTATUS_->setTextInteractionFlags(Qt::NoTextInteraction);
    set_palette_colors(txtSTATUS_, {{QPalette::Base, QColor(0, 0, 0)},
                                    {QPalette::Text, QColor(0xC0, 0xFF, 0xC0)}});
    QFont terminal(QStringLiteral("Terminal"));
    terminal.setStyleHint(QFont::TypeWriter);
    terminal.setPointSize(9);
    txtSTATUS_->setFont(terminal);
    txtSTATUS_->installEventFilter(this);

    struct Button {
        int index;
        const char* caption;
        int left;
        int top;
    };
    for (const Button& b : {Button{0, "Update Guilds", 60, 5400}, Button{2, "Done", 2340, 5400},
                            Button{1, "Update Shops", 60, 5700}, Button{3, "Cancel", 2340, 5700}}) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QStringLiteral("cmdCOMMAND(%1)").arg(b.index));
        button->setGeometry(twips_rect(b.left, b.top, 2235, 255));
        button->setAutoDefault(false);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i = b.index] { cmdCOMMAND_Click(i); });
        buttons_[static_cast<size_t>(b.index)] = button;
    }
    buttons_[2]->setDefault(true);

    wb_ = make_browser(this);
    wb_->setObjectName(QStringLiteral("wb"));
    wb_->setSilent(true);
    wb_->widget()->setParent(this);
    wb_->widget()->setGeometry(twips_rect(5000, 2400, 915, 975));
    connect(wb_.get(), &WebBrowser::NavigateComplete2, this, &FrmMapUpdate::wb_NavigateComplete2);

    txt_ = new QLineEdit(QStringLiteral("Text1"), this);
    txt_->setObjectName(QStringLiteral("txt"));
    txt_->setGeometry(twips_rect(4920, 2580, 675, 495));

    status_change_.setObjectName(QStringLiteral("STATUS_CHANGE"));
    connect(&status_change_, &QTimer::timeout, this, &FrmMapUpdate::STATUS_STEP);
    verify_.setObjectName(QStringLiteral("tmrVERIFY"));
    verify_.setSingleShot(true);
    connect(&verify_, &QTimer::timeout, this, &FrmMapUpdate::tmrVERIFY_Timer);
    second_.setObjectName(QStringLiteral("tmrSECOND"));
    connect(&second_, &QTimer::timeout, this, &FrmMapUpdate::tmrSECOND_Timer);
    retry_.setObjectName(QStringLiteral("tmrReTry"));
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &FrmMapUpdate::tmrReTry_Timer);
}

FrmMapUpdate::~FrmMapUpdate() {
    // The view belongs to the browser.
    if (wb_ && wb_->widget()->parent() == this) wb_->widget()->setParent(nullptr);
}

void FrmMapUpdate::INIT_GUILDS() {
    AUTO_GUILDS = true;
    Form_Load();
    exec();
}

void FrmMapUpdate::open_guilds() {
    AUTO_GUILDS = true;
    Form_Load();
    open();
}

void FrmMapUpdate::Form_Load() {
    setWindowTitle(utf8(kMapUpdateTitle));
    run_.load();
    if (AUTO_GUILDS) cmdCOMMAND_Click(0);
}

void FrmMapUpdate::cmdCOMMAND_Click(int index) {
    if (index == 3) {
        reject();
        return;
    }
    if (run_.BUSY) return;
    if (index == 0) {
        ++generation_;
        run_.start_run();
        show_log();
        status_change_.start(100);
        wb_->Navigate2(guild_page_);
    } else if (index == 1) {
        state_.services.prompts->message_box(
            "Shop Locations have not been fully implemented in Z.E.K.O.\xC2\xB2 as of yet...",
            MsgButtons::OK, MsgIcon::Information, "Maybe next version...");
    } else if (index == 2) {
        // A page that names no guild at all (maintenance, a changed layout) says nothing about
        // where they stand: the guilds stay where they are.
        const auto& found = run_.GUILD_FOUND();
        if (std::find(found.begin(), found.end(), true) != found.end()) {
            try {
                state_.guilds.PLACE_GUILDS();
            } catch (const RuntimeError& e) {
                show_error(e);
                return;
            }
            if (redraw_map_) redraw_map_();
        }
        accept();
    }
}

void FrmMapUpdate::done(int result) {
    ++generation_;
    status_change_.stop();
    verify_.stop();
    second_.stop();
    retry_.stop();
    wb_->Stop();
    QDialog::done(result);
}

void FrmMapUpdate::read_body(std::function<void(std::optional<QString>)> then) {
    QPointer<FrmMapUpdate> self(this);
    const int generation = generation_;
    wb_->readBodyInnerHtml([self, generation, then = std::move(then)](std::optional<QString> body) {
        if (self && self->generation_ == generation) then(std::move(body));
    });
}

void FrmMapUpdate::wb_NavigateComplete2(const QString& url) {
    if (url != guild_page_) return;
    read_body([this](std::optional<QString> body) {
        if (!body) {
            retry_.start(100);
            return;
        }
        if (!parse_move_time(*body)) return;
        run_.VERIFY_PAGE();
        show_log();
        verify_.start(10000);
    });
}

void FrmMapUpdate::tmrReTry_Timer() {
    read_body([this](std::optional<QString> body) {
        if (!body) {
            retry_.start(100);
            return;
        }
        run_.VERIFY_PAGE();
        show_log();
        verify_.start(10000);
        parse_move_time(*body);
    });
}

void FrmMapUpdate::tmrVERIFY_Timer() {
    verify_.stop();
    read_body([this](std::optional<QString> body) {
        run_.set_verified();
        if (body) parse_move_time(*body);
    });
}

bool FrmMapUpdate::parse_move_time(const QString& body) {
    try {
        run_.read_page(crlf_line_breaks(body.toStdString()), state_.services.clock->now());
    } catch (const RuntimeError& e) {
        show_error(e);
        return false;
    }
    second_.start(1000);
    return true;
}

void FrmMapUpdate::tmrSECOND_Timer() {
    setWindowTitle(
        QString::fromStdString(countdown_title(run_.MOVE, state_.services.clock->now())));
}

void FrmMapUpdate::STATUS_STEP() {
    GuildUpdate::Tick tick;
    try {
        tick = run_.STATUS_STEP(*state_.services.random);
    } catch (const RuntimeError& e) {
        show_error(e);
        return;
    }
    show_status(tick.shown);
    if (!tick.finished) return;
    status_change_.stop();
    if (AUTO_GUILDS) cmdCOMMAND_Click(2);
}

void FrmMapUpdate::show_status(const std::string& text) {
    shown_ = text;
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtSTATUS_->setPlainText(shown);
}

void FrmMapUpdate::show_error(const RuntimeError& error) {
    state_.services.prompts->message_box(
        std::to_string(error.number()) + std::string(error.description()), MsgButtons::OK,
        MsgIcon::None, kProgramTitle);
}

bool FrmMapUpdate::eventFilter(QObject* watched, QEvent* event) {
    const bool button = std::find(buttons_.begin(), buttons_.end(), watched) != buttons_.end();
    if ((button && event->type() == QEvent::MouseButtonRelease) ||
        (watched == txtSTATUS_ && event->type() == QEvent::FocusIn)) {
        txt_->setFocus();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zeko::ui
