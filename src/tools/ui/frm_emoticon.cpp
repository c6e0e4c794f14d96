#include "tools/ui/frm_emoticon.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

#include "platform/browser.h"
#include "widgets/program_windows.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

constexpr int32_t kClientWidth = 11895;
constexpr int32_t kClientHeight = 6195;
constexpr int16_t kHelpTopic = 36;
constexpr BgrColor kChartBack = 0x404040;
constexpr BgrColor kChartText = 0x80FF80;

const char kIntro[] =
    "Above is an emoticon chart. On it you will see every emoticon currently available in yahoo "
    "messenger (7.0 emoticon set). There are 88 listed, and I hope you are able to learn them "
    "all from this chart and test area.";

}  // namespace

const QString FrmEmoticon::kTestPage = QStringLiteral(
    "about:<html><body scroll='yes' leftmargin='6px' rightmargin='0' topmargin='0' "
    "bottommargin='0'></body></html>");

FrmEmoticon::FrmEmoticon(ProgramWindows& windows, const BrowserFactory& make_browser,
                         std::string image_base)
    : QDialog(nullptr), windows_(windows), text_(std::move(image_base)) {
    setObjectName(QStringLiteral("frmEMOTICON"));
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2: Emoticon Tutorial"));
    setup_fixed_dialog(this, kClientWidth, kClientHeight, true);
    keep_open_on_escape(this);

    wbLIST_ = make_browser(this);
    wbLIST_->setObjectName(QStringLiteral("wbLIST"));
    wbLIST_->widget()->setParent(this);
    wbLIST_->widget()->setObjectName(QStringLiteral("wbLIST"));
    wbLIST_->widget()->setGeometry(twips_rect(60, 60, 11805, 4215));
    connect(wbLIST_.get(), &WebBrowser::DocumentComplete, this,
            [this] { wbLIST_DocumentComplete(); });

    Label1_ = new QLabel(QLatin1String(kIntro), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setGeometry(twips_rect(60, 4320, 11775, 615));
    Label1_->setWordWrap(true);
    Label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont comic(QStringLiteral("Comic Sans MS"));
    comic.setPointSizeF(9);
    Label1_->setFont(comic);

    txtMSG_ = new QLineEdit(this);
    txtMSG_->setObjectName(QStringLiteral("txtMSG"));
    txtMSG_->setGeometry(twips_rect(60, 4980, 5235, 1155));
    connect(txtMSG_, &QLineEdit::returnPressed, this, [this] { SEND_MESSAGE(); });

    const char* const captions[4] = {"&Sent Test IM", "&Clear Test IM", "&Help", "&Done"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QLatin1String(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        b->setGeometry(twips_rect(5340, 4980 + 300 * i, 1215, 255));
        // Enter in the message box sends the message; it must not press a button too.
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }

    wbTEST_ = make_browser(this);
    wbTEST_->setObjectName(QStringLiteral("wbTEST"));
    wbTEST_->widget()->setParent(this);
    wbTEST_->widget()->setObjectName(QStringLiteral("wbTEST"));
    wbTEST_->widget()->setGeometry(twips_rect(6600, 4980, 5235, 1155));
}

FrmEmoticon::~FrmEmoticon() {
    // The browser widgets are children of this window; the browsers go first, while their
    // widgets still exist.
    wbLIST_.reset();
    wbTEST_.reset();
}

void FrmEmoticon::show_modal() {
    exec();
}

void FrmEmoticon::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) Form_Load();
}

void FrmEmoticon::closeEvent(QCloseEvent* event) {
    chart_ = false;
    text_.clear_match();
    QDialog::closeEvent(event);
}

void FrmEmoticon::Form_Load() {
    chart_ = false;
    test_html_.clear();
    txtMSG_->clear();
    wbLIST_->Navigate2(QStringLiteral("about:blank"));
    wbTEST_->Navigate2(kTestPage);
    SET_COLOURS();
}

void FrmEmoticon::SET_COLOURS() {
    set_palette_colors(this, {{QPalette::Window, kGround}});
    setAutoFillBackground(true);
    set_palette_colors(Label1_, {{QPalette::WindowText, kListText}});
}

void FrmEmoticon::wbLIST_DocumentComplete() {
    if (chart_ || !isVisible()) return;
    wbLIST_->writeBodyInnerHtml(QString::fromStdString(text_.BUILD_CHART()));
    wbLIST_->setBodyBgColor(kChartBack);
    wbLIST_->setBodyTextColor(kChartText);
    chart_ = true;
}

void FrmEmoticon::SEND_MESSAGE() {
    const QString typed = txtMSG_->text();
    if (typed.isEmpty()) return;
    const std::string converted = text_.EMOTICON_PARSE(typed.toStdString());
    // The page is written whole from what this window holds, so a send never waits on
    // reading the page back.
    test_html_.prepend(
        QString::fromStdString(tools::EmoticonText::wrap_message(counter_, converted)));
    wbTEST_->writeBodyInnerHtml(test_html_);
    txtMSG_->clear();
    // Anchor names only need to differ from their neighbours: past the 16-bit range they
    // start again at 0.
    counter_ = counter_ == std::numeric_limits<int16_t>::max() ? int16_t{0}
                                                               : static_cast<int16_t>(counter_ + 1);
}

void FrmEmoticon::cmdCOMMAND_Click(int index) {
    switch (index) {
        case 0:
            SEND_MESSAGE();
            break;
        case 1:
            txtMSG_->clear();
            test_html_.clear();
            wbTEST_->writeBodyInnerHtml(QString());
            break;
        case 2:
            windows_.INIT_HELP(kHelpTopic, this);
            break;
        case 3:
            close();
            break;
        default:
            break;
    }
}

}  // namespace zeko::ui
