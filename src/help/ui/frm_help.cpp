#include "help/ui/frm_help.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QTimer>

#include <cmath>

#include "help/help_layout.h"
#include "platform/browser.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

constexpr int32_t kClientWidth = 9255;
constexpr int32_t kClientHeight = 6930;

// The page colours, as &HBBGGRR numbers.
constexpr BgrColor kPageBack = 0x404040;
constexpr BgrColor kPageText = 0x80FF80;
constexpr BgrColor kLink = 0x80BF80;
constexpr BgrColor kVisitedLink = 0x80DF80;
constexpr BgrColor kActiveLink = 0x809F80;

int to_px(float twips) {
    return px(static_cast<int32_t>(std::lround(twips)));
}

QRect rect_px(const help::TwipsRect& r) {
    return QRect(to_px(r.left), to_px(r.top), std::max(0, to_px(r.width)),
                 std::max(0, to_px(r.height)));
}

}  // namespace

FrmHelp::FrmHelp(const BrowserFactory& make_browser, AboutOpener show_about)
    : QDialog(nullptr), show_about_(std::move(show_about)) {
    setObjectName(QStringLiteral("frmHELP"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(true);
    keep_open_on_escape(this);
    set_palette_colors(this, {{QPalette::Window, kGround}});
    setAutoFillBackground(true);

    lstTOPICS_ = new QListWidget(this);
    lstTOPICS_->setObjectName(QStringLiteral("lstTOPICS"));
    lstTOPICS_->setGeometry(twips_rect(60, 60, 2475, kClientHeight - 585));
    set_palette_colors(lstTOPICS_, {{QPalette::Base, kListBack}, {QPalette::Text, kListText}});
    QFont list_font(QStringLiteral("Comic Sans MS"));
    list_font.setPointSizeF(9.75);
    lstTOPICS_->setFont(list_font);
    connect(lstTOPICS_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) lstTOPICS_Click();
    });

    wb_ = make_browser(this);
    QWidget* view = wb_->widget();
    if (view->parentWidget() != this) view->setParent(this);
    view->setObjectName(QStringLiteral("wbHELP"));
    view->setGeometry(twips_rect(2580, 60, kClientWidth - 2640, kClientHeight - 585));
    connect(wb_.get(), &WebBrowser::BeforeNavigate2, this,
            [this](NavigationRequest& request) { wbHELP_BeforeNavigate2(request); });
    connect(wb_.get(), &WebBrowser::DocumentComplete, this,
            [this](const QString&) { wbHELP_DocumentComplete(); });

    const char* const captions[3] = {"&About", "&Done", "&Help"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QLatin1String(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }
    setTabOrder(lstTOPICS_, cmdCOMMAND_[0]);
    setTabOrder(cmdCOMMAND_[0], cmdCOMMAND_[1]);
    setTabOrder(cmdCOMMAND_[1], cmdCOMMAND_[2]);

    tmrHELP_ = new QTimer(this);
    tmrHELP_->setObjectName(QStringLiteral("tmrHELP"));
    connect(tmrHELP_, &QTimer::timeout, this, &FrmHelp::tmrHELP_Timer);

    resize(px(kClientWidth), px(kClientHeight));
    Form_Resize();
}

FrmHelp::~FrmHelp() {
    // The browser's events must not reach a half-destroyed window.
    if (wb_) wb_->disconnect(this);
}

void FrmHelp::INIT_HELP(int16_t topic, QWidget* caller) {
    HELP_TOPIC = topic;
    if (help::help_owner(topic).empty()) return;
    // Help is modal: while it is up, nothing else can ask for it again.
    if (loaded_) return;
    setParent(caller, windowFlags());
    Form_Load(caller);
    run_modal();
    // The window lives on after its owner; it must not go down with it.
    if (!loaded_) setParent(nullptr, windowFlags());
}

void FrmHelp::run_modal() {
    exec();
}

void FrmHelp::Form_Load(QWidget* owner) {
    loaded_ = true;
    // Each opening is a new window: it starts at its own size, whatever the last one was.
    resize(px(kClientWidth), px(kClientHeight));
    TOPIC_COUNT = help::kTopicCount;
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2:") + QStringLiteral(" Help..."));
    FILL_TOPICS();
    if (owner) {
        const QPoint centre = owner->window()->frameGeometry().center();
        move(centre - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    wb_->Navigate2(QStringLiteral("about:blank"));
}

void FrmHelp::FILL_TOPICS() {
    if (PAGES_BUILT == kFalse) {
        tables = help::BUILD_HELP_PAGES();
        PAGES_BUILT = kTrue;
    }
    const QSignalBlocker block(lstTOPICS_);
    lstTOPICS_->clear();
    for (int i = 0; i < TOPIC_COUNT; ++i)
        lstTOPICS_->addItem(QString::fromStdString(tables.HELP_TITLES[static_cast<size_t>(i)]));
    lstTOPICS_->setCurrentRow(-1);
}

void FrmHelp::set_list_index(int index) {
    if (index < -1 || index >= lstTOPICS_->count()) return;
    {
        const QSignalBlocker block(lstTOPICS_);
        lstTOPICS_->setCurrentRow(index);
    }
    if (index >= 0) lstTOPICS_Click();
}

int FrmHelp::list_index() const {
    return lstTOPICS_->currentRow();
}

void FrmHelp::wbHELP_DocumentComplete() {
    // A document that completes after the window closed belongs to no opening; taking it as
    // ready would show the next opening's topic before its own blank page replaces it.
    if (!loaded_) return;
    DOC_READY = kTrue;
    SET_HELP_COLOURS();
    if (FIRST_SHOWN == kFalse) {
        FIRST_SHOWN = kTrue;
        set_list_index(HELP_TOPIC);
    }
}

void FrmHelp::SET_HELP_COLOURS() {
    wb_->setBodyBgColor(kPageBack);
    wb_->setBodyTextColor(kPageText);
    wb_->setLinkColors(kLink, kVisitedLink, kActiveLink);
}

void FrmHelp::lstTOPICS_Click() {
    if (DOC_READY == kTrue) {
        SHOW_TOPIC(list_index());
        return;
    }
    if (BLANK_RELOADED == kFalse) {
        wb_->Navigate2(QStringLiteral("about:blank"));
        BLANK_RELOADED = kTrue;
    }
    tmrHELP_->start(50);
}

void FrmHelp::tmrHELP_Timer() {
    if (DOC_READY != kTrue) return;
    tmrHELP_->stop();
    SHOW_TOPIC(list_index());
}

void FrmHelp::SHOW_TOPIC(int topic) {
    if (topic < 0 || topic >= help::kTopicCount) return;
    wb_->writeBodyInnerHtml(QString());
    QCoreApplication::processEvents();
    wb_->writeBodyInnerHtml(QString::fromStdString(tables.HELP_PAGES[static_cast<size_t>(topic)]));
}

void FrmHelp::wbHELP_BeforeNavigate2(NavigationRequest& request) {
    if (DOC_READY != kTrue) return;
    const std::optional<int> topic = help::topic_link(request.url.toStdString());
    if (!topic) return;
    request.cancel = true;
    // The program's own pages link only to real topics; anything else stays where it is.
    if (*topic >= 0 && *topic < lstTOPICS_->count()) set_list_index(*topic);
}

void FrmHelp::cmdCOMMAND_Click(int index) {
    switch (index) {
        case 0:
            if (show_about_) show_about_(this);
            break;
        case 1:
            close();
            break;
        case 2:
            set_list_index(11);
            break;
        default:
            break;
    }
}

void FrmHelp::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void FrmHelp::Form_Unload() {
    DOC_READY = kFalse;
    FIRST_SHOWN = kFalse;
    tmrHELP_->stop();
    loaded_ = false;
}

void FrmHelp::Form_Resize() {
    if (in_resize_ || (windowState() & Qt::WindowMinimized)) return;
    const QScopedValueRollback<bool> guard(in_resize_, true);
    const QSize frame = frameGeometry().size() - size();
    const help::OuterSize outer{twips(frameGeometry().width()), twips(frameGeometry().height())};
    const help::OuterSize wanted = help::help_min_size(outer);
    if (wanted.width != outer.width || wanted.height != outer.height) {
        resize(px(wanted.width) - frame.width(), px(wanted.height) - frame.height());
    }
    const help::HelpLayout l =
        help::help_layout(static_cast<float>(twips(frameGeometry().width())),
                          static_cast<float>(twips(width())), static_cast<float>(twips(height())));
    lstTOPICS_->setGeometry(rect_px(l.list));
    wb_->widget()->setGeometry(rect_px(l.browser));
    for (size_t i = 0; i < cmdCOMMAND_.size(); ++i)
        cmdCOMMAND_[i]->setGeometry(rect_px(l.buttons[i]));
}

void FrmHelp::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void FrmHelp::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

}  // namespace zeko::ui
