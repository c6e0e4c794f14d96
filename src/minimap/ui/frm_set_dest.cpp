#include "minimap/ui/frm_set_dest.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <string>
#include <string_view>

#include "common/errors.h"
#include "common/prompts.h"
#include "main/program_state.h"
#include "map/nav.h"
#include "widgets/distance_panel.h"
#include "widgets/program_windows.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

// The client area's height, and what the window's border adds to the client width.
constexpr int32_t kClientHeight = 4455;
constexpr int32_t kBorderWidth = 120;
// The window's outer widths: the map alone, with the location frames, with the panel too.
constexpr int32_t kMapWidth = 4170;
constexpr int32_t kLocationsWidth = 7710;
constexpr int32_t kFullWidth = 11340;

// The two toggles' captions, each word written downwards.
const QString kMoreCaption = QStringLiteral("&M\nO\nR\nE");
const QString kLessCaption = QStringLiteral("&L\nE\nS\nS");

const QColor kWhite(255, 255, 255);

void set_box_colours(QWidget* w, const QColor& back) {
    set_palette_colors(w, {{QPalette::Base, back},
                           {QPalette::Button, back},
                           {QPalette::Window, back},
                           {QPalette::Text, kListText},
                           {QPalette::ButtonText, kListText},
                           {QPalette::WindowText, kListText}});
}

// Where each place list stands, the GO button beside it and its back colour.
struct PlaceListLook {
    PlaceList list;
    bool in_frame1;
    int32_t top;
    int go_button;
    QColor back;
};

constexpr PlaceListLook kPlaceLooks[] = {
    {PlaceList::Bank, true, 180, 5, QColor(0, 0, 192)},
    {PlaceList::Pub, true, 540, 6, QColor(192, 64, 0)},
    {PlaceList::Transit, true, 900, 7, QColor(192, 0, 0)},
    {PlaceList::User, true, 1260, 8, QColor(0, 192, 192)},
    {PlaceList::Hall, true, 1620, 9, QColor(192, 0, 192)},
    {PlaceList::PkGuild, true, 1980, 12, QColor(0, 192, 0)},
    {PlaceList::Guild, false, 720, 10, QColor(0, 192, 0)},
    {PlaceList::Shop, false, 1680, 11, QColor(128, 128, 255)},
};

const QColor kRowColours[5] = {QColor(0, 0, 192), QColor(255, 128, 0), QColor(255, 0, 0),
                               QColor(0, 192, 192), QColor(0, 128, 128)};

bool live(const VampDb& db, int16_t index) {
    return index >= db.VAMPS.lbound() && index <= db.VAMPS.ubound() &&
           db.VAMPS(index).DELETED == kFalse;
}

// The street box item of a coordinate: the street west (north) of it, within the list.
int street_item(int16_t coordinate) {
    int item = coordinate + 1;
    item = item >= 0 ? item / 2 : (item - 1) / 2;
    return item < 0 ? 0 : item > 100 ? 100 : item;
}

}  // namespace

FrmSetDest::FrmSetDest(ProgramState& state, Minimap& minimap, ProgramWindows& windows, Hooks hooks,
                       QWidget* owner)
    : QDialog(owner),
      state_(state),
      minimap_(minimap),
      windows_(windows),
      hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("frmSET_DEST"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);

    build_map();
    build_locations();
    build_info();
    set_width(kMapWidth);
}

QPushButton* FrmSetDest::command(int index, const char* caption, QWidget* parent, int32_t left,
                                 int32_t top, int32_t width, int32_t height) {
    auto* b = new QPushButton(QLatin1String(caption), parent);
    b->setObjectName(indexed("cmdCOMMAND", index));
    b->setGeometry(twips_rect(left, top, width, height));
    connect(b, &QPushButton::clicked, this, [this, index] { cmdCOMMAND_Click(index); });
    cmdCOMMAND_[static_cast<size_t>(index)] = b;
    return b;
}

void FrmSetDest::build_map() {
    QFont tile_font(QStringLiteral("Arial"));
    tile_font.setPointSize(8);
    tile_font.setBold(true);
    for (int n = 0; n < 9; ++n) {
        auto* tile = new LabelBox(this);
        tile->setObjectName(indexed("TILE", n));
        tile->setGeometry(twips_rect(60 + 1200 * (n % 3), 60 + 1200 * (n / 3), 1200, 1200));
        tile->setFont(tile_font);
        tile->setCursor(Qt::PointingHandCursor);
        connect(tile, &LabelBox::clicked, this, [this, n] { TILE_Click(n); });
        TILE_[static_cast<size_t>(n)] = tile;
    }
    cboX_ = new QComboBox(this);
    cboX_->setObjectName(QStringLiteral("cboX"));
    cboX_->setGeometry(twips_rect(60, 3720, 1155, 315));
    cboY_ = new QComboBox(this);
    cboY_->setObjectName(QStringLiteral("cboY"));
    cboY_->setGeometry(twips_rect(1290, 3720, 1155, 315));
    command(0, "GO", this, 2520, 3720, 1155, 315);
    command(1, "O&K", this, 60, 4080, 1155, 315)->setDefault(true);
    command(2, "&Cancel", this, 1320, 4080, 1155, 315);
    command(3, "&Help", this, 2520, 4080, 1155, 315);
    command(4, "", this, 3720, 60, 315, 4335);
}

void FrmSetDest::build_locations() {
    Frame1_ = new VbFrame(this);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    Frame1_->setTitle(QStringLiteral("Fixed Locations"));
    Frame1_->setGeometry(twips_rect(4080, 0, 3135, 2355));
    Frame2_ = new VbFrame(this);
    Frame2_->setObjectName(QStringLiteral("Frame2"));
    Frame2_->setTitle(QStringLiteral("Variable Locations"));
    Frame2_->setGeometry(twips_rect(4080, 2340, 3135, 2055));

    for (const PlaceListLook& look : kPlaceLooks) {
        QWidget* frame = look.in_frame1 ? Frame1_ : Frame2_;
        auto* box = new QComboBox(frame);
        box->setObjectName(QLatin1String(place_list_kind(look.list).control));
        box->setGeometry(twips_rect(60, look.top, 2475, 315));
        set_box_colours(box, look.back);
        places_[static_cast<size_t>(look.list)] = box;
        command(look.go_button, "GO", frame, 2580, look.top, 495, 315);
    }

    const char* const var_captions[4] = {"Update Guilds", "Skill Information", "Update Shops",
                                         "Shopping List"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QLatin1String(var_captions[i]), Frame2_);
        b->setObjectName(indexed("cmdVARCommand", i));
        b->setGeometry(twips_rect(i % 2 == 0 ? 60 : 1590, i < 2 ? 180 : 1080, 1485, 255));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdVARCommand_Click(i); });
        cmdVARCommand_[static_cast<size_t>(i)] = b;
    }
    auto label = [&](const QString& name, const QString& text, int32_t left, int32_t top,
                     int32_t width) {
        auto* l = new QLabel(text, Frame2_);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        l->setGeometry(twips_rect(left, top, width, 255));
        set_palette_colors(l, {{QPalette::WindowText, kWhite}});
    };
    label(indexed("lbl", 0), QStringLiteral("Guilds move in:"), 60, 480, 1395);
    label(QStringLiteral("lblTIME_GUILD"), {}, 1500, 480, 1575);
    label(indexed("lbl", 1), QStringLiteral("Shops move in:"), 60, 1380, 1395);
    label(QStringLiteral("lblTIME_SHOP"), {}, 1500, 1380, 1575);

    command(13, "", this, 7260, 60, 315, 4335);
}

void FrmSetDest::build_info() {
    lstVAMP_ = new QListWidget(this);
    lstVAMP_->setObjectName(QStringLiteral("lstVAMP"));
    lstVAMP_->setGeometry(twips_rect(7620, 60, 3600, 2115));
    lstVAMP_->setSortingEnabled(true);
    set_box_colours(lstVAMP_, kListBack);
    connect(lstVAMP_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lstVAMP_->selectedItems().isEmpty()) lstVAMP_Click();
    });

    fraINFO_ = make_panel(this, "fraINFO", kGround);
    fraINFO_->setGeometry(twips_rect(7620, 2220, 3600, 1815));
    // lbl(0) and lbl(1) stand in Frame2; the rows' fixed labels follow them.
    const PanelRows rows = add_panel_rows(fraINFO_, 2, 135, 195);
    rowFrames_ = rows.frames;
    lblX_ = rows.lblX;
    lblY_ = rows.lblY;
    lblAP_ = rows.lblAP;
    for (size_t i = 0; i < rows.frames.size(); ++i) {
        rows.frames[i]->set_back_color(kRowColours[i]);
        rows.frames[i]->set_caption_color(kWhite);
        for (QLabel* l :
             {rows.lblX[i], rows.lblY[i], rows.lblAP[i], rows.fixed[2 * i], rows.fixed[2 * i + 1]})
            set_palette_colors(l, {{QPalette::WindowText, kWhite}});
    }
    const DistancePictures pictures =
        add_distance_pictures(fraINFO_, [this](int i) { imgDIST_Click(i); });
    imgRES_ = pictures.imgRES;
    imgDIST_ = pictures.imgDIST;

    command(14, "GET DESTINATION", this, 7620, 4080, 1755, 315)
        ->setToolTip(QStringLiteral("This will retrieve the selected vampire's current location "
                                    "and alter ter Set Destination minimap."));
    command(15, "SET DESTINATION", this, 9420, 4080, 1755, 315)
        ->setToolTip(QStringLiteral("This will set the selected vampire's current destiantion "
                                    "to the one displayed on the minimap."));
}

// --- opening and closing ---

void FrmSetDest::show_modal() {
    // Asked again while it is open (after a tool button left it non-modal): the edit goes on.
    if (!isVisible()) Form_Load();
    reshow(true);
    raise();
    activateWindow();
}

void FrmSetDest::reshow(bool modal) {
    hide();
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    show();
}

bool FrmSetDest::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        // Coming back from another program is no new activation: what the user was choosing
        // in the lists stays chosen.
        if (!from_outside_) Form_Activate();
        from_outside_ = false;
    } else if (event->type() == QEvent::WindowDeactivate) {
        QTimer::singleShot(0, this, [this] {
            // A message or input box is no window the planner comes back from either.
            const QWidget* now = QApplication::activeWindow();
            from_outside_ =
                isVisible() && (now == nullptr || qobject_cast<const QMessageBox*>(now) ||
                                qobject_cast<const QInputDialog*>(now));
        });
    }
    return QDialog::event(event);
}

void FrmSetDest::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void FrmSetDest::closeEvent(QCloseEvent* event) {
    // The close box neither restores nor writes: the edited destination stays in memory.
    event->accept();
    hide();
    closed();
}

void FrmSetDest::reject() {
    cmdCOMMAND_Click(2);
}

void FrmSetDest::closed() {
    if (QWidget* owner = parentWidget()) owner->activateWindow();
    if (hooks_.main_redraw) hooks_.main_redraw();
}

void FrmSetDest::Form_Load() {
    attempt([&] { FILL_VAMP_LIST(); });
    const VAMP* me = current_record();
    SAVED_DEST = me ? SavedDest{state_.db.CUR_VAMP, me->handle_field(), me->DEST_X, me->DEST_Y}
                    : SavedDest{};
    BUILD_DEST_MAP();
    {
        const QSignalBlocker bx(cboX_);
        const QSignalBlocker by(cboY_);
        cboX_->clear();
        cboY_->clear();
        attempt([&] {
            for (int i = 0; i <= 100; ++i) {
                cboX_->addItem(utf8(state_.map.STREET_NAME_X(i)));
                cboY_->addItem(utf8(state_.map.STREET_NAME_Y(i)));
            }
        });
        cboX_->setCurrentIndex(street_item(SAVED_DEST.x));
        cboY_->setCurrentIndex(street_item(SAVED_DEST.y));
    }
    LOCATIONS_SHOWN = false;
    INFO_SHOWN = false;
    cmdCOMMAND_[4]->setText(kMoreCaption);
    cmdCOMMAND_[13]->setText(kMoreCaption);
    set_width(kMapWidth);
    imgDIST_Click(0);
    INIT_FORM_STYLE();
    BUILD_DEST_MAP();
}

void FrmSetDest::Form_Activate() {
    FILL_LOCATION_LISTS();
    BUILD_DEST_MAP();
}

void FrmSetDest::INIT_FORM_STYLE() {
    for (LabelBox* tile : TILE_)
        tile->set_fore_color(kWhite);
    set_box_colours(cboX_, kListBack);
    set_box_colours(cboY_, kListBack);
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2:") + QStringLiteral(" Set Destination..."));
    set_palette_colors(this, {{QPalette::Window, kGround}});
    FILL_LOCATION_LISTS();
}

void FrmSetDest::set_width(int32_t outer) {
    WIDTH = outer;
    setFixedSize(px(outer - kBorderWidth), px(kClientHeight));
}

// --- lists ---

void FrmSetDest::FILL_LOCATION_LISTS() {
    // A map that cannot be read leaves the lists with their placeholders.
    attempt([&] { LISTS.FILL_LOCATION_LISTS(state_.map); });
    for (int i = 0; i < kPlaceListCount; ++i) {
        QComboBox* box = places_[static_cast<size_t>(i)];
        const QSignalBlocker block(box);
        box->clear();
        for (const PlaceEntry& e : LISTS.entries(static_cast<PlaceList>(i)))
            box->addItem(utf8(e.text), static_cast<int>(e.item_data));
        box->setCurrentIndex(0);
    }
}

void FrmSetDest::FILL_VAMP_LIST() {
    const QSignalBlocker block(lstVAMP_);
    lstVAMP_->clear();
    if (hooks_.main_list == nullptr) return;
    for (int i = 0; i < hooks_.main_list->count(); ++i) {
        const QListWidgetItem* from = hooks_.main_list->item(i);
        auto* item = new QListWidgetItem(from->text());
        item->setData(Qt::UserRole, from->data(Qt::UserRole));
        lstVAMP_->addItem(item);
    }
    lstVAMP_->clearSelection();
    lstVAMP_->setCurrentItem(nullptr);
}

void FrmSetDest::lstVAMP_Click() {
    const QList<QListWidgetItem*> chosen = lstVAMP_->selectedItems();
    if (chosen.isEmpty()) return;
    state_.db.SEL_VAMP = static_cast<int16_t>(chosen.first()->data(Qt::UserRole).toInt());
    SHOW_NEAREST();
}

// --- map and panel ---

VAMP* FrmSetDest::current_record() {
    VampDb& db = state_.db;
    return live(db, db.CUR_VAMP) ? &db.VAMPS(db.CUR_VAMP) : nullptr;
}

VAMP* FrmSetDest::selected_record() {
    VampDb& db = state_.db;
    if (live(db, db.SEL_VAMP)) return &db.VAMPS(db.SEL_VAMP);
    // Nobody chosen yet, or the chosen character is gone: the current one stands in.
    VAMP* me = current_record();
    if (me != nullptr) db.SEL_VAMP = db.CUR_VAMP;
    return me;
}

VAMP* FrmSetDest::saved_record() {
    VampDb& db = state_.db;
    const auto is_saved = [&](int16_t i) {
        return live(db, i) && db.VAMPS(i).handle_field() == SAVED_DEST.handle;
    };
    if (SAVED_DEST.vamp == 0) return nullptr;
    if (is_saved(SAVED_DEST.vamp)) return &db.VAMPS(SAVED_DEST.vamp);
    // Deleting a character while the planner is open reloads the others at new places.
    for (int i = db.VAMPS.lbound(); i <= db.VAMPS.ubound(); ++i) {
        if (is_saved(static_cast<int16_t>(i))) return &db.VAMPS(i);
    }
    return nullptr;
}

void FrmSetDest::BUILD_DEST_MAP() {
    // The minimap draws into these tiles only while asked to: it belongs to the main window,
    // which may go before or after this window.
    minimap_.set_planner_tiles(&tiles_);
    if (current_record() != nullptr) attempt([&] { minimap_.BUILD_DEST_MAP(); });
    minimap_.set_planner_tiles(nullptr);
    show_tiles();
}

void FrmSetDest::show_tiles() {
    for (size_t n = 0; n < TILE_.size(); ++n) {
        const TileLabel& t = tiles_[n];
        LabelBox* w = TILE_[n];
        w->set_opaque(t.back_style != 0);
        w->set_back_color(rgb_color(t.back_color));
        w->set_fore_color(rgb_color(t.fore_color));
        w->set_caption(utf8(t.caption));
        w->set_border(t.border);
        w->setToolTip(utf8(t.tooltip));
    }
}

void FrmSetDest::SHOW_NEAREST() {
    attempt([&] {
        for (size_t k = 0; k < 5; ++k) {
            rowFrames_[k]->setTitle({});
            lblX_[k]->clear();
            lblY_[k]->clear();
            lblAP_[k]->clear();
        }
        if (selected_record() == nullptr) return;
        PlannerSearch& search = state_.planner;
        CityMap& map = state_.map;
        search.RESET_NEAREST();
        search.FIND_NEAREST();
        auto row = [&](size_t k, const std::string& caption, int16_t x, int16_t y, int16_t ap) {
            rowFrames_[k]->setTitle(utf8(caption));
            lblX_[k]->setText(utf8(map.COORD_NAME_X(x)));
            lblY_[k]->setText(utf8(map.COORD_NAME_Y(y)));
            lblAP_[k]->setText(QString::number(ap));
        };
        const NAV_POINT b = search.GET_NEAREST_BANK(NEAREST_RANK);
        row(0, map.PLACE_NAME(b.CODE), b.X, b.Y, b.DIST);
        const NAV_POINT p = search.GET_NEAREST_PUB(NEAREST_RANK);
        row(1, map.PLACE_NAME(p.CODE), p.X, p.Y, p.DIST);
        const NAV_POINT t = search.GET_NEAREST_TRANSIT(NEAREST_RANK);
        row(2, map.PLACE_NAME(t.CODE), t.X, t.Y, t.DIST);

        const VAMP* me = current_record();
        if (me == nullptr) return;
        const NAV_DEST d = search.FIND_DEST(me->DEST_X, me->DEST_Y);
        row(3, map.PLACE_NAME(d.CODE), d.X, d.Y, d.DIST);
        row(4, map.PLACE_NAME(t.CODE) + " to " + map.PLACE_NAME(d.VIA_CODE), d.X, d.Y, d.VIA_DIST);
    });
}

void FrmSetDest::TILE_Click(int index) {
    VAMP* me = current_record();
    if (me == nullptr || index < 0 || index > 8) return;
    attempt([&] {
        const Cell to = TILE_TO_COORD(index, 3, Cell{me->DEST_X, me->DEST_Y});
        me->DEST_X = to.x;
        me->DEST_Y = to.y;
    });
    BUILD_DEST_MAP();
    SHOW_NEAREST();
}

void FrmSetDest::imgDIST_Click(int index) {
    if (index < 0 || index > 2) return;
    NEAREST_RANK = static_cast<int16_t>(index + 1);
    for (size_t i = 0; i < imgDIST_.size(); ++i)
        imgDIST_[i]->set_picture(imgRES_[i]->pixmap(), static_cast<int>(i));
    const auto chosen = static_cast<size_t>(index);
    imgDIST_[chosen]->set_picture(imgRES_[chosen + 3]->pixmap(), index + 3);
    SHOW_NEAREST();
}

void FrmSetDest::location_go(PlaceList list) {
    QComboBox* box = places_[static_cast<size_t>(list)];
    VAMP* me = current_record();
    if (box->currentIndex() <= 0 || me == nullptr) return;
    const std::optional<Cell> cell =
        LISTS.cell_of(list, static_cast<int16_t>(box->currentData().toInt()));
    if (!cell) return;
    me->DEST_X = cell->x;
    me->DEST_Y = cell->y;
    BUILD_DEST_MAP();
}

// --- buttons ---

void FrmSetDest::cmdCOMMAND_Click(int index) {
    VAMP* me = current_record();
    switch (index) {
        case 0:
            if (me == nullptr) return;
            me->DEST_X = static_cast<int16_t>(2 * cboX_->currentIndex());
            me->DEST_Y = static_cast<int16_t>(2 * cboY_->currentIndex());
            BUILD_DEST_MAP();
            break;
        case 1:
            state_.db.SAVE_DB();
            close();
            break;
        case 2:
            if (VAMP* saved = saved_record()) {
                saved->DEST_X = SAVED_DEST.x;
                saved->DEST_Y = SAVED_DEST.y;
            }
            close();
            break;
        case 3:
            windows_.INIT_HELP(9, this);
            break;
        case 4:
            if (LOCATIONS_SHOWN) {
                cmdCOMMAND_[4]->setText(kMoreCaption);
                set_width(kMapWidth);
                LOCATIONS_SHOWN = false;
            } else {
                cmdCOMMAND_[4]->setText(kLessCaption);
                set_width(INFO_SHOWN ? kFullWidth : kLocationsWidth);
                LOCATIONS_SHOWN = true;
            }
            break;
        case 5:
            location_go(PlaceList::Bank);
            break;
        case 6:
            location_go(PlaceList::Pub);
            break;
        case 7:
            location_go(PlaceList::Transit);
            break;
        case 8:
            location_go(PlaceList::User);
            break;
        case 9:
            location_go(PlaceList::Hall);
            break;
        case 10:
            location_go(PlaceList::Guild);
            break;
        case 11:
            location_go(PlaceList::Shop);
            break;
        case 12:
            location_go(PlaceList::PkGuild);
            break;
        case 13:
            if (INFO_SHOWN) {
                cmdCOMMAND_[13]->setText(kMoreCaption);
                set_width(kLocationsWidth);
                INFO_SHOWN = false;
            } else {
                cmdCOMMAND_[13]->setText(kLessCaption);
                set_width(kFullWidth);
                INFO_SHOWN = true;
            }
            break;
        case 14:
            if (VAMP* from = selected_record(); me != nullptr && from != nullptr) {
                me->DEST_X = from->DEST_X;
                me->DEST_Y = from->DEST_Y;
                BUILD_DEST_MAP();
            }
            break;
        case 15:
            if (VAMP* to = selected_record(); me != nullptr && to != nullptr) {
                to->DEST_X = me->DEST_X;
                to->DEST_Y = me->DEST_Y;
            }
            break;
        default:
            break;
    }
}

void FrmSetDest::cmdVARCommand_Click(int index) {
    switch (index) {
        case 0:
            reshow(false);
            attempt([&] { windows_.INIT_GUILDS(this); });
            FILL_LOCATION_LISTS();
            reshow(true);
            break;
        case 1:
        case 3:
            reshow(false);
            if (hooks_.menu_tools) attempt([&] { hooks_.menu_tools(index == 1 ? 1 : 0); });
            break;
        case 2:
            if (Prompts* prompts = state_.services.prompts) {
                prompts->message_box(
                    "Shops have not yet been implemented... Maybe next version... Maybe not...",
                    MsgButtons::OK, MsgIcon::Information, "... um... no...");
            }
            break;
        default:
            break;
    }
}

}  // namespace zeko::ui
