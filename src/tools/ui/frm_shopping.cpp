#include "tools/ui/frm_shopping.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include "common/prompts.h"
#include "widgets/program_windows.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

constexpr int32_t kClientWidth = 6555;
constexpr int32_t kClientHeight = 4710;
const QColor kLabelText(0, 192, 0);
constexpr int16_t kHelpTopic = 34;

QLabel* label(QWidget* parent, const char* name, const QRect& rect) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(rect);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QListWidget* list(QWidget* parent, const char* name, const QRect& rect) {
    auto* l = new QListWidget(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(rect);
    return l;
}

QComboBox* drop_down(QWidget* parent, const char* name, const QRect& rect) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(rect);
    c->setEditable(false);
    return c;
}

}  // namespace

FrmShopping::FrmShopping(Prompts& prompts, ProgramWindows& windows)
    : QDialog(nullptr), prompts_(prompts), windows_(windows) {
    setObjectName(QStringLiteral("frmSHOPPING"));
    setWindowTitle(QStringLiteral("Z.E.K.O.: Shopping List Generator..."));
    setup_fixed_dialog(this, kClientWidth, kClientHeight, false, true);
    keep_open_on_escape(this);

    lstBUY_ = list(this, "lstBUY", twips_rect(60, 60, 2595, 2340));
    const char* const captions[8] = {"&Add Item",  "&Remove Item", "Add &X", "Remo&ve X",
                                     "Remove All", "&Clear List",  "&Help",  "&Done"};
    for (int i = 0; i < 8; ++i) {
        auto* b = new QPushButton(QLatin1String(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        b->setGeometry(twips_rect(2700, 60 + 300 * i, 1155, 255));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }
    lstITEMS_ = list(this, "lstITEMS", twips_rect(3900, 60, 2595, 2340));
    Label1_ = label(this, "Label1", twips_rect(60, 2460, 2595, 255));
    Label1_->setText(QStringLiteral("Total Grocery Shopping Bill:"));
    lblCOST_ = label(this, "lblCOST", twips_rect(2700, 2460, 3795, 255));
    cboSHOP_ = drop_down(this, "cboSHOP", twips_rect(60, 2760, 3195, 315));
    cboCHARISMA_ = drop_down(this, "cboCHARISMA", twips_rect(3300, 2760, 3195, 315));
    lblDESCRIPTION_ = label(this, "lblDESCRIPTION", twips_rect(60, 3120, 6435, 1515));
    QFont comic(QStringLiteral("Comic Sans MS"));
    comic.setPointSizeF(9.75);
    lblDESCRIPTION_->setFont(comic);

    connect(cboSHOP_, &QComboBox::currentIndexChanged, this, [this] { cboSHOP_Click(); });
    connect(cboCHARISMA_, &QComboBox::currentIndexChanged, this, [this] { cboCHARISMA_Click(); });
    connect(lstITEMS_, &QListWidget::itemSelectionChanged, this, [this] {
        if (selected_row(lstITEMS_) >= 0) lstITEMS_Click();
    });
    connect(lstITEMS_, &QListWidget::itemDoubleClicked, this, [this] { lstITEMS_DblClick(); });
    connect(lstBUY_, &QListWidget::itemDoubleClicked, this, [this] { lstBUY_DblClick(); });
}

void FrmShopping::show_window() {
    show();
    raise();
    activateWindow();
}

void FrmShopping::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window coming back from the task bar is not opened anew.
    if (!event->spontaneous()) Form_Load();
}

bool FrmShopping::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && isVisible()) recompute();
    return QDialog::event(event);
}

void FrmShopping::Form_Load() {
    if (!itemsLoaded_) LOAD_ITEMS();
    shops_ = tools::LOAD_SHOPS();
    {
        const QSignalBlocker block_shop(cboSHOP_);
        const QSignalBlocker block_charisma(cboCHARISMA_);
        cboSHOP_->clear();
        for (int i = 0; i < tools::kShopCount; ++i)
            cboSHOP_->addItem(utf8(shops_[static_cast<size_t>(i)].Name), i);
        cboCHARISMA_->clear();
        for (const tools::CharismaLevel& level : tools::kCharismaLevels)
            cboCHARISMA_->addItem(QLatin1String(level.text), level.percent);
        cboSHOP_->setCurrentIndex(0);
        cboCHARISMA_->setCurrentIndex(0);
    }
    lblDESCRIPTION_->clear();
    cboSHOP_Click();
    cboCHARISMA_Click();
    SET_SHOP_COLOURS();
}

void FrmShopping::LOAD_ITEMS() {
    items_ = tools::LOAD_ITEMS();
    itemsLoaded_ = true;
}

void FrmShopping::SET_SHOP_COLOURS() {
    set_palette_colors(this, {{QPalette::Window, kGround}});
    setAutoFillBackground(true);
    for (QWidget* w : {static_cast<QWidget*>(lstBUY_), static_cast<QWidget*>(lstITEMS_),
                       static_cast<QWidget*>(cboSHOP_), static_cast<QWidget*>(cboCHARISMA_)}) {
        set_palette_colors(w, {{QPalette::Base, kListBack},
                               {QPalette::Text, kListText},
                               {QPalette::Button, kListBack},
                               {QPalette::ButtonText, kListText}});
    }
    for (QLabel* l : {Label1_, lblCOST_, lblDESCRIPTION_})
        set_palette_colors(l, {{QPalette::WindowText, kLabelText}});
}

const tools::SHOP* FrmShopping::selected_shop() const {
    const QVariant data = cboSHOP_->currentData();
    if (!data.isValid()) return nullptr;
    const int index = data.toInt();
    if (index < 0 || index >= tools::kShopCount) return nullptr;
    return &shops_[static_cast<size_t>(index)];
}

void FrmShopping::recompute() {
    const tools::SHOP* shop = selected_shop();
    if (!shop) return;
    const bool deduction = cboCHARISMA_->currentIndex() == tools::kCharismaDeductionLevel;
    const tools::Bill bill =
        shop->IsPawn == kTrue
            ? tools::UPDATE_PAWN_BILL(items_)
            : tools::UPDATE_BILL(items_, *shop, shopPercent_, charismaPercent_, deduction);
    if (bill.overflow) {
        // The list is emptied before the box goes up, so coming back to the window from the
        // box finds nothing too large any more.
        LOAD_ITEMS();
        prompts_.message_box(tools::kOverflowText, MsgButtons::OK, MsgIcon::None,
                             tools::kOverflowTitle);
        recompute();
        return;
    }
    lstBUY_->clear();
    for (const tools::BillLine& line : bill.lines) {
        auto* entry = new QListWidgetItem(utf8(line.text));
        entry->setData(Qt::UserRole, line.item);
        lstBUY_->addItem(entry);
    }
    total_ = bill.total;
    lblCOST_->setText(utf8(tools::bill_caption(total_)));
}

int FrmShopping::selected_row(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

int FrmShopping::selected_item(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) return -1;
    const int index = selected.first()->data(Qt::UserRole).toInt();
    return index >= 0 && index < tools::kItemCount ? index : -1;
}

void FrmShopping::cboSHOP_Click() {
    const tools::SHOP* shop = selected_shop();
    if (!shop) return;
    {
        const QSignalBlocker block(lstITEMS_);
        lstITEMS_->clear();
        for (int i = 0; i < tools::kItemCount; ++i) {
            if (shop->Sells[static_cast<size_t>(i)] != kTrue) continue;
            auto* entry = new QListWidgetItem(utf8(items_[static_cast<size_t>(i)].Name));
            entry->setData(Qt::UserRole, i);
            lstITEMS_->addItem(entry);
        }
    }
    shopPercent_ = shop->PricePercent;
    recompute();
}

void FrmShopping::cboCHARISMA_Click() {
    const QVariant data = cboCHARISMA_->currentData();
    if (!data.isValid()) return;
    charismaPercent_ = static_cast<int16_t>(data.toInt());
    recompute();
}

void FrmShopping::lstITEMS_Click() {
    const int i = selected_item(lstITEMS_);
    if (i < 0) return;
    lblDESCRIPTION_->setText(utf8(items_[static_cast<size_t>(i)].Description));
}

void FrmShopping::lstITEMS_DblClick() {
    const int i = selected_item(lstITEMS_);
    if (i < 0) return;
    lstITEMS_Click();
    items_[static_cast<size_t>(i)].Qty = tools::add_quantity(items_[static_cast<size_t>(i)].Qty, 1);
    recompute();
}

void FrmShopping::lstBUY_DblClick() {
    cmdCOMMAND_Click(1);
}

std::optional<int32_t> FrmShopping::ask_count(std::string_view prompt) {
    return tools::read_count(prompts_.input_box(prompt, "Enter a number", "10"));
}

void FrmShopping::cmdCOMMAND_Click(int index) {
    switch (index) {
        case 0:
        case 2: {
            const int i = selected_item(lstITEMS_);
            if (i < 0) return;
            int32_t n = 1;
            if (index == 2) {
                const auto asked = ask_count("How many would you like to add?");
                // A number beyond the 32-bit range is refused: nothing changes.
                if (!asked) return;
                n = *asked;
            }
            tools::ITEM& it = items_[static_cast<size_t>(i)];
            it.Qty = tools::add_quantity(it.Qty, n);
            recompute();
            break;
        }
        case 1:
        case 3:
        case 4: {
            const int row = selected_row(lstBUY_);
            const int i = selected_item(lstBUY_);
            if (i < 0) return;
            tools::ITEM& it = items_[static_cast<size_t>(i)];
            if (index == 1) {
                it.Qty = tools::add_quantity(it.Qty, -1);
            } else if (index == 3) {
                const auto asked = ask_count("How many would you like to remove?");
                if (!asked) return;
                it.Qty = tools::remove_quantity(it.Qty, *asked);
            } else {
                it.Qty = 0;
            }
            recompute();
            if (index == 1 && row < lstBUY_->count()) lstBUY_->setCurrentRow(row);
            break;
        }
        case 5:
            LOAD_ITEMS();
            recompute();
            break;
        case 6:
            windows_.INIT_HELP(kHelpTopic, this);
            break;
        case 7:
            close();
            break;
        default:
            break;
    }
}

}  // namespace zeko::ui
