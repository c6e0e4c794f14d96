#include "help/ui/frm_donate.h"

#include <QPushButton>

#include "help/donate_page.h"
#include "platform/browser.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

constexpr int32_t kClientWidth = 6300;
constexpr int32_t kClientHeight = 4245;

}  // namespace

FrmDonate::FrmDonate(const BrowserFactory& make_browser, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmDONATE"));
    setup_fixed_dialog(this, kClientWidth, kClientHeight, false);
    keep_open_on_escape(this);

    Frame1_ = make_panel(this, "Frame1", kGround);
    Frame1_->setGeometry(0, 0, width(), height());

    wb_ = make_browser(this);
    QWidget* view = wb_->widget();
    if (view->parentWidget() != this) view->setParent(this);
    view->setObjectName(QStringLiteral("wb"));
    view->setGeometry(twips_rect(0, 0, 6615, 4515));
    connect(wb_.get(), &WebBrowser::DocumentComplete, this,
            [this](const QString&) { wb_DocumentComplete(); });
    connect(wb_.get(), &WebBrowser::BeforeNavigate2, this,
            [this](NavigationRequest& request) { wb_BeforeNavigate2(request); });

    cmdCOMMAND_ = new QPushButton(QStringLiteral("&Done"), this);
    cmdCOMMAND_->setObjectName(QStringLiteral("cmdCOMMAND"));
    cmdCOMMAND_->setGeometry(twips_rect(4980, 3600, 1215, 495));
    cmdCOMMAND_->setAutoDefault(false);
    cmdCOMMAND_->raise();
    connect(cmdCOMMAND_, &QPushButton::clicked, this, &FrmDonate::cmdCOMMAND_Click);

    Form_Load();
}

FrmDonate::~FrmDonate() {
    if (wb_) wb_->disconnect(this);
}

void FrmDonate::Form_Load() {
    PAGE_BUILT = kFalse;
    wb_->Navigate2(QStringLiteral("about:blank"));
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2:") + QStringLiteral(" Make a donation..."));
}

void FrmDonate::wb_DocumentComplete() {
    wb_->setBodyBgColor(0x3000);
    wb_->setBodyTextColor(0x80FF80);
    wb_->writeBodyInnerHtml(QString::fromStdString(help::donation_page()));
    PAGE_BUILT = kTrue;
}

void FrmDonate::wb_BeforeNavigate2(NavigationRequest& request) {
    if (PAGE_BUILT != kTrue) return;
    request.cancel = true;
    wb_->Navigate2(request.url, QStringLiteral("_blank"), request.post_data, request.headers);
}

void FrmDonate::cmdCOMMAND_Click() {
    close();
}

}  // namespace zeko::ui
