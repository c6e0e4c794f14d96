#include "main/ui/frm_layout.h"
#include "widgets/traps.h"

#include <QEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "main/program_state.h"
#include "main/ui/frm_main.h"
#include "widgets/artwork.h"
#include "widgets/program_windows.h"
#include "widgets/vb_widgets.h"
#include "widgets/window_activation.h"

namespace zeko::ui {

namespace {

const QColor kButtonFace(192, 192, 192);

// The window's client area, in twips.
constexpr int32_t kClientWidth = 6330;
constexpr int32_t kClientHeight = 2325;

// Preview sizes in twips: the panels of the main window's left column and the browser.
constexpr int32_t kPanelWidth = 900;
constexpr int32_t kMiniMapHeight = 900;
constexpr int32_t kButtonsHeight = 420;
constexpr int32_t kListHeight = 180;
constexpr int32_t kVampButtonsHeight = 135;
constexpr int32_t kInfoHeight = 465;
constexpr int32_t kBrowserWidth = 2070;
constexpr int32_t kBrowserHeight = 2085;

QPixmap canvas(QSize size, const QColor& fill) {
    QPixmap pixmap(size);
    pixmap.fill(fill);
    return pixmap;
}

void bevel(QPainter& p, const QRect& r, const QColor& face) {
    p.fillRect(r, face);
    p.setPen(face.lighter(150));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(face.darker(160));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

// The main window's outline: title bar, menu bar and the dark green ground.
QPixmap form_picture(QSize size) {
    QPixmap pixmap = canvas(size, kGround);
    QPainter p(&pixmap);
    p.fillRect(QRect(0, 0, size.width(), 6), QColor(0, 0, 128));
    p.fillRect(QRect(size.width() - 14, 1, 4, 4), kButtonFace);
    p.fillRect(QRect(size.width() - 8, 1, 4, 4), kButtonFace);
    p.fillRect(QRect(0, 6, size.width(), 4), kButtonFace);
    p.setPen(QColor(96, 96, 96));
    for (int x = 3; x < 60; x += 10)
        p.drawLine(x, 8, x + 6, 8);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    return pixmap;
}

QPixmap minimap_picture(QSize size) {
    QPixmap pixmap = canvas(size, kGround);
    QPainter p(&pixmap);
    const QColor cells[5][5] = {
        {Qt::black, QColor(128, 128, 128), QColor(255, 128, 0), QColor(128, 128, 128), Qt::black},
        {QColor(128, 128, 128), QColor(0, 128, 0), QColor(128, 128, 128), QColor(0, 128, 0),
         QColor(128, 128, 128)},
        {QColor(0, 0, 191), QColor(128, 128, 128), Qt::black, QColor(128, 128, 128),
         QColor(255, 0, 0)},
        {QColor(128, 128, 128), QColor(0, 128, 0), QColor(128, 128, 128), QColor(0, 128, 0),
         QColor(128, 128, 128)},
        {Qt::black, QColor(128, 128, 128), QColor(128, 0, 0), QColor(128, 128, 128), Qt::black},
    };
    const int w = size.width() / 5;
    const int h = size.height() / 5;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            p.fillRect(QRect(c * w, r * h, w, h), cells[r][c]);
    p.setRenderHint(QPainter::Antialiasing);
    const QPoint centre(size.width() / 2, size.height() / 2);
    p.setPen(QPen(QColor(0, 0, 255), 3));
    p.drawLine(centre, QPoint(w / 2, centre.y()));
    p.setPen(QPen(QColor(255, 192, 128), 2));
    p.drawLine(centre, QPoint(2 * w + w / 2, h / 2));
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.drawLine(centre, QPoint(size.width() - w / 2, centre.y()));
    return pixmap;
}

QPixmap buttons_picture(QSize size) {
    QPixmap pixmap = canvas(size, kGround);
    QPainter p(&pixmap);
    const int w = (size.width() - 4) / 3;
    p.fillRect(QRect(0, 0, w, 5), kListBack);
    p.fillRect(QRect(w + 2, 0, w, 5), kListBack);
    bevel(p, QRect(2 * w + 4, 0, w, 5), kButtonFace);
    const int h = (size.height() - 7) / 3;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            bevel(p, QRect(c * (w + 2), 7 + r * h, w, h - 1), kButtonFace);
    return pixmap;
}

QPixmap list_picture(QSize size) {
    QPixmap pixmap = canvas(size, kListBack);
    QPainter p(&pixmap);
    p.setPen(kListText);
    for (int y = 2; y < size.height() - 1; y += 3)
        p.drawLine(3, y, 3 + size.width() / 3, y);
    p.setPen(Qt::black);
    p.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    return pixmap;
}

QPixmap vamp_buttons_picture(QSize size) {
    QPixmap pixmap = canvas(size, kGround);
    QPainter p(&pixmap);
    const int w = (size.width() - 4) / 3;
    for (int c = 0; c < 3; ++c)
        bevel(p, QRect(c * (w + 2), 2, w, size.height() - 2), kButtonFace);
    p.fillRect(QRect(1, 0, 2, 1), Qt::white);
    return pixmap;
}

QPixmap info_picture(QSize size) {
    QPixmap pixmap = canvas(size, kGround);
    QPainter p(&pixmap);
    const QColor rows[5] = {QColor(0, 0, 192), QColor(255, 128, 0), QColor(255, 0, 0),
                            QColor(0, 192, 192), QColor(0, 128, 128)};
    const int h = size.height() / 5;
    const int w = size.width() * 5 / 6;
    for (int i = 0; i < 5; ++i) {
        const QRect r(0, i * h, w - 1, h - 1);
        p.fillRect(r, rows[i]);
        p.setPen(Qt::white);
        p.drawLine(r.left() + 3, r.center().y(), r.left() + w / 3, r.center().y());
        p.drawLine(r.left() + w / 2, r.center().y(), r.right() - 4, r.center().y());
    }
    for (int i = 0; i < 3; ++i)
        bevel(
            p,
            QRect(w + 1, 2 + i * (size.height() / 3), size.width() - w - 2, size.height() / 3 - 3),
            i == 0 ? QColor(128, 255, 128) : kButtonFace);
    return pixmap;
}

QPixmap browser_picture(QSize size) {
    QPixmap pixmap = canvas(size, kGround);
    QPainter p(&pixmap);
    p.fillRect(QRect(0, 0, size.width(), 8), kGround.lighter(150));
    for (int i = 0; i < 4; ++i)
        bevel(p, QRect(3 + i * 9, 1, 7, 6), kButtonFace);
    const QRect page(0, 9, size.width(), size.height() - 9);
    p.fillRect(page, QColor(0, 48, 0));
    p.setPen(QColor(128, 255, 128));
    for (int y = page.top() + 6; y < page.top() + 40; y += 5)
        p.drawLine(8, y, size.width() - 20 - (y % 3) * 10, y);
    const QRect table(size.width() / 2 - 24, page.top() + 48, 48, 48);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const QRect cell(table.left() + c * 16, table.top() + r * 16, 15, 15);
            p.fillRect(cell, (r == 1 && c == 1) ? QColor(0, 128, 0) : QColor(64, 64, 64));
        }
    for (int y = table.bottom() + 8; y < size.height() - 6; y += 5)
        p.drawLine(8, y, size.width() - 30, y);
    return pixmap;
}

PictureBox* picture(QWidget* parent, const char* name, QSize size, const QPixmap& pixmap) {
    auto* box = new PictureBox(parent);
    box->setObjectName(QLatin1String(name));
    box->resize(size);
    box->set_picture(pixmap);
    return box;
}

QSize twips_size(int32_t width, int32_t height) {
    return QSize(px(width), px(height));
}

}  // namespace

FrmLayout::FrmLayout(ProgramState& state, FrmMain& main, ProgramWindows& windows)
    : QDialog(&main), state_(state), main_(main), windows_(windows) {
    setObjectName(QStringLiteral("frmLAYOUT"));
    setup_fixed_dialog(this, kClientWidth, kClientHeight, true);
    activation_ = new WindowActivation(*this);

    const QRect form = twips_rect(kPreviewFrameLeft, kPreviewFrameTop, 3000, 2250);
    imgFORM_ = picture(this, "imgFORM", form.size(), form_picture(form.size()));
    imgFORM_->move(form.topLeft());
    // The browser lies under the panels where they meet.
    const QSize browser = twips_size(kBrowserWidth, kBrowserHeight);
    imgMINIWB_ = picture(this, "imgMINIWB", browser, browser_picture(browser));
    const QSize map = twips_size(kPanelWidth, kMiniMapHeight);
    imgMINIMAP_ = picture(this, "imgMINIMAP", map, minimap_picture(map));
    const QSize buttons = twips_size(kPanelWidth, kButtonsHeight);
    imgBUTTONS_ = picture(this, "imgBUTTONS", buttons, buttons_picture(buttons));
    const QSize list = twips_size(kPanelWidth, kListHeight);
    imgVAMP_LIST_ = picture(this, "imgVAMP_LIST", list, list_picture(list));
    const QSize vamp_buttons = twips_size(kPanelWidth, kVampButtonsHeight);
    imgVAMP_BUTTONS_ =
        picture(this, "imgVAMP_BUTTONS", vamp_buttons, vamp_buttons_picture(vamp_buttons));
    const QSize info = twips_size(kPanelWidth, kInfoHeight);
    imgNAV_INFO_ = picture(this, "imgNAV_INFO", info, info_picture(info));

    const QRect splash = twips_rect(3060, 0, 3240, 900);
    imgSPLASH_ =
        picture(this, "imgSPLASH", splash.size(), artwork::logo(splash.width(), splash.height()));
    imgSPLASH_->move(splash.topLeft());

    lstSETUP_ = new QListWidget(this);
    lstSETUP_->setObjectName(QStringLiteral("lstSETUP"));
    lstSETUP_->setGeometry(twips_rect(3090, 990, 3195, 885));
    for (const char* name : kLayoutNames)
        lstSETUP_->addItem(QLatin1String(name));
    connect(lstSETUP_, &QListWidget::itemSelectionChanged, this, [this] {
        if (selected_row() >= 0) lstSETUP_Click();
    });

    const char* const captions[3] = {"&OK", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QLatin1String(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdCOMMAND(%1)").arg(i));
        b->setGeometry(twips_rect(3090 + 1080 * i, 1920, 1035, 375));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }

    // Load.
    Form_Activate();
}

void FrmLayout::Form_Activate() {
    SET_COLOURS();
    INIT_LAYOUTS();
    select_stored_layout();
}

bool FrmLayout::event(QEvent* event) {
    // Events come before the constructor has made everything.
    if (activation_ != nullptr && activation_->is_activation(event)) Form_Activate();
    return QDialog::event(event);
}

void FrmLayout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void FrmLayout::SET_COLOURS() {
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2:") + QStringLiteral(" Program Layout..."));
    set_palette_colors(this, {{QPalette::Window, kGround}});
    setAutoFillBackground(true);
    set_palette_colors(lstSETUP_, {{QPalette::Base, kListBack}, {QPalette::Text, kListText}});
}

void FrmLayout::INIT_LAYOUTS() {
    if (LAYOUTS_BUILT) return;
    {
        const QSignalBlocker block(lstSETUP_);
        lstSETUP_->clear();
    }
    table_ = build_layout_table(kPreviewFrameTop, kPreviewFrameLeft);
    for (const char* name : kLayoutNames)
        lstSETUP_->addItem(QLatin1String(name));
    LAYOUTS_BUILT = true;
}

void FrmLayout::select_stored_layout() {
    const int layout = state_.settings.SETTINGS.LAYOUT;
    // Only the four listed layouts can be selected; another stored value selects nothing.
    if (layout < 0 || layout >= lstSETUP_->count()) return;
    if (selected_row() == layout)
        lstSETUP_Click();
    else
        lstSETUP_->setCurrentRow(layout);
}

int FrmLayout::selected_row() const {
    const QList<QListWidgetItem*> selected = lstSETUP_->selectedItems();
    return selected.isEmpty() ? -1 : lstSETUP_->row(selected.first());
}

void FrmLayout::lstSETUP_Click() {
    const int row = selected_row();
    if (row < 0 || row >= static_cast<int>(table_.size())) return;
    const LayoutRow& r = table_[static_cast<size_t>(row)];
    auto place = [&](PictureBox* box, size_t pair) {
        box->move(px(r[2 * pair + 1]), px(r[2 * pair]));
    };
    place(imgMINIWB_, 5);
    place(imgMINIMAP_, 0);
    place(imgBUTTONS_, 1);
    place(imgVAMP_LIST_, 2);
    place(imgVAMP_BUTTONS_, 3);
    place(imgNAV_INFO_, 4);
}

void FrmLayout::FORCE_LAYOUT(int16_t layout) {
    INIT_LAYOUTS();
    state_.settings.SETTINGS.LAYOUT_POS = layout_positions(table_, layout, kPreviewFrameTop);
    main_.APPLY_LAYOUT();
}

void FrmLayout::show_modal() {
    exec();
}

void FrmLayout::cmdCOMMAND_Click(int index) {
    switch (index) {
        case 0: {
            const int row = selected_row();
            // With nothing selected there is no layout to take: OK only closes.
            if (row >= 0 && row < lstSETUP_->count()) {
                state_.settings.SETTINGS.LAYOUT = static_cast<int16_t>(row);
                FORCE_LAYOUT(static_cast<int16_t>(row));
            }
            accept();
            break;
        }
        case 1:
            reject();
            break;
        case 2:
            trap("INIT_HELP", [&] { windows_.INIT_HELP(24, this); });
            break;
        default:
            break;
    }
}

}  // namespace zeko::ui
