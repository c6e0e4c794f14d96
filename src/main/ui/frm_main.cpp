#include "main/ui/frm_main.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/conversions.h"
#include "main/layout.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/artwork.h"
#include "main/ui/main_workers.h"
#include "main/ui/page_tracking.h"
#include "main/ui/program_windows.h"
#include "main/ui/vb_widgets.h"
#include "main/ui/version_text.h"
#include "map/nav.h"
#include "platform/browser.h"

namespace zeko::ui {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kButtonFace(20, 84, 20);

constexpr BgrColor kPageGround = 0x3000;
constexpr BgrColor kPageText = 0x80FF80;

// A window in any of these states keeps no placement of its own.
constexpr Qt::WindowStates kSizingStates =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// The window's design size and the smallest it may become, in twips.
constexpr int32_t kDesignWidth = 12000;
constexpr int32_t kDesignHeight = 9000;
constexpr int32_t kMinWidth = 12000;
constexpr int32_t kMinHeight = 9000;

// Design heights of the left column's panels (the list stretches).
constexpr int32_t kColumnWidth = 3600;
constexpr int32_t kMapHeight = 3645;
constexpr int32_t kButtonsHeight = 1620;
constexpr int32_t kVampButtonsHeight = 510;
constexpr int32_t kInfoHeight = 1815;
constexpr int32_t kToolbarHeight = 525;

const char* const kCommandTips[10] = {
    "Zoom In: Zooms in closer to the minimap",
    "Zoom Out: Zooms out to show more of the minimap",
    "Set Destination: Sets a destination for your vampire which you will be guided to on the "
    "minimap.",
    "Safe Refresh: Clicking safe refresh will safely refresh the page without reusing the last "
    "item or action used.",
    "Help: want to know more about the program? this is the button for you!",
    "Make a donation: This button will allow you to make a donation to the author of this map. "
    "If you would rather support the game itself, use \"Buy a skill / power!!!\" in the Skills "
    "menu.",
    "Message Morvanek: This requires yahoo messenger, and clicking this button will open a "
    "message window to me, the author of this program.",
    "Email Morvanek: Pressing this button will create an email to be sent to me. This is a good "
    "way to send bug reports. Clicking this button may instead bring you to a login page for "
    "your mail account, if you are not currently logged into it.",
    "Morvanek Poetry: Clicking this button will bring you to my poetry page. Click, read, and "
    "enjoy.",
    "GO: this button is directly related to the two boxes beside it. Selecting a street location "
    "in them will do nothing until you press the go button.",
};

const char* const kToolbarTips[8] = {"Back",
                                     "Forward",
                                     "Refresh",
                                     "Stop",
                                     "Screen Shot Configuration",
                                     "Snap Shot (to BMP)",
                                     "Snap Shot (HTML & CSS Dump)",
                                     "Snap Shot (HTML Dump)"};

QString indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void set_list_colours(QWidget* w) {
    set_palette_colors(w, {{QPalette::Base, kListBack},
                           {QPalette::Button, kListBack},
                           {QPalette::Window, kListBack},
                           {QPalette::Text, kListText},
                           {QPalette::ButtonText, kListText},
                           {QPalette::WindowText, kListText}});
}

// A value in pixels into a twips field of the settings; a value beyond 16 bits cannot be
// stored, and the field keeps what it had.
void store_twips(int16_t& field, int pixels) {
    attempt([&] { field = CInt(static_cast<double>(twips(pixels))); });
}

// Starts the timer with this interval; 0 (or less) stops it.
void run_every(QTimer* timer, int ms) {
    if (ms <= 0) {
        timer->stop();
        return;
    }
    timer->setInterval(ms);
    timer->start();
}

using BrowserCommand = void (WebBrowser::*)();

// Runs the command at `index` of `commands` on the browser, if there is one there.
void run_browser_command(WebBrowser& wb, std::initializer_list<BrowserCommand> commands,
                         int index) {
    if (index < 0 || static_cast<size_t>(index) >= commands.size()) return;
    const BrowserCommand command = commands.begin()[index];
    attempt([&] { (wb.*command)(); });
}

// Selects an entry without raising the box's click, when the box shows another.
void show_index(QComboBox* box, int index, int& shown) {
    if (index == shown) return;
    const QSignalBlocker block(box);
    box->setCurrentIndex(index);
    shown = index;
}

}  // namespace

// lstVAMP as the character file's loader fills it: each entry carries its record index.
class FrmMain::VampListAdapter final : public CharacterList {
  public:
    explicit VampListAdapter(QListWidget* list) : list_(list) {}
    void clear() override { list_->clear(); }
    void add_item(std::string_view text, int32_t item_data) override {
        auto* item = new QListWidgetItem(utf8(text));
        item->setData(Qt::UserRole, item_data);
        list_->addItem(item);
    }

  private:
    QListWidget* list_;
};

FrmMain::FrmMain(ProgramState& state, MainWorkers& workers, ProgramWindows& windows,
                 const BrowserFactory& make_browser, QWidget* parent)
    : QMainWindow(parent), state_(state), workers_(&workers), windows_(windows) {
    setObjectName(QStringLiteral("frmMAIN"));
    minimap_ = std::make_unique<Minimap>(state_, model_);

    client_ = make_panel(this, "frmMAIN_client", kGround);
    setCentralWidget(client_);

    build_menus();
    build_map_frame(client_);
    build_buttons(client_);
    lstVAMP_ = new QListWidget(client_);
    lstVAMP_->setObjectName(QStringLiteral("lstVAMP"));
    lstVAMP_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstVAMP_->setFrameShape(QFrame::Box);
    lstVAMP_->setGeometry(twips_rect(0, 5280, kColumnWidth, kListHeight));
    vamp_list_ = std::make_unique<VampListAdapter>(lstVAMP_);
    connect(lstVAMP_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lstVAMP_->selectedItems().isEmpty()) lstVAMP_Click();
    });
    build_vamp_panel(client_);
    build_info(client_);
    build_toolbar(client_);

    wb_ = make_browser(client_);
    wb2_ = make_browser(client_);
    for (auto [browser, name] : {std::pair{wb_.get(), "wb"}, std::pair{wb2_.get(), "wb2"}}) {
        QWidget* w = browser->widget();
        if (w->parentWidget() != client_) w->setParent(client_);
        w->setObjectName(QLatin1String(name));
    }
    wb2_->widget()->hide();
    wb_->widget()->setGeometry(twips_rect(kColumnWidth, kToolbarHeight, 8295, 8295));
    connect(wb_.get(), &WebBrowser::DocumentComplete, this,
            [this](const QString&) { wb_DocumentComplete(); });
    tracking_ = new PageTracking(
        state_, *wb_, [this] { BUILD_MAP(); }, [this] { return mnuAutoNavData_[1]->isChecked(); },
        this);
    tmrPIC_ = new QTimer(this);
    tmrPIC_->setObjectName(QStringLiteral("tmrPIC"));
    connect(tmrPIC_, &QTimer::timeout, this, [this] { tmrPIC_Timer(); });

    // Every control starts as the model's defaults say.
    for (size_t n = 0; n < TILE_.size(); ++n) {
        show_tile(n, true);
        show_tile_image(n, true);
    }

    resize(px(kDesignWidth), px(kDesignHeight));
    fit_browser();
    Form_Load();
}

FrmMain::~FrmMain() {
    exiting_ = true;
    // The controls outlive this object's members while the base class deletes them; none of
    // their signals may reach the handlers any more.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    delete tracking_;
    // The browsers go first, while the widgets they live in still exist.
    wb2_.reset();
    wb_.reset();
}

CharacterList& FrmMain::vamp_list() {
    return *vamp_list_;
}

void FrmMain::prepare_exit() {
    exiting_ = true;
    tracking_->stop();
    tmrPIC_->stop();
}

// --- building the controls ---

void FrmMain::build_menus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    auto top = [&](const char* name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };
    auto sub = [](QMenu* parent, const QString& name, const QString& caption) {
        QMenu* menu = parent->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };
    // One item of a menu array; its click reaches `handler` with its index. Check marks are
    // the program's to set: a click does not tick or untick the item by itself.
    using Handler = void (FrmMain::*)(int);
    auto item = [this](QMenu* menu, std::vector<QAction*>& array, const char* name,
                       const QString& caption, Handler handler, const QKeySequence& keys = {},
                       bool checkable = false) {
        const int index = static_cast<int>(array.size());
        QAction* action = nullptr;
        if (caption == QLatin1String("-")) {
            action = menu->addSeparator();
        } else {
            action = menu->addAction(caption);
            action->setShortcut(keys);
            action->setCheckable(checkable);
            connect(action, &QAction::triggered, this, [this, action, handler, index](bool) {
                if (action->isCheckable()) {
                    const QSignalBlocker block(action);
                    action->setChecked(!action->isChecked());
                }
                (this->*handler)(index);
            });
        }
        action->setObjectName(indexed(name, index));
        array.push_back(action);
        return action;
    };
    auto parent_item = [](std::vector<QAction*>& array, QMenu* menu) {
        array.push_back(menu->menuAction());
    };

    QMenu* file = top("mnuFile", QStringLiteral("&File"));
    item(file, mnuFileData_, "mnuFileData", QStringLiteral("Screen Shot &Config"),
         &FrmMain::mnuFileData_Click);
    item(file, mnuFileData_, "mnuFileData", QStringLiteral("&Screen Shot"),
         &FrmMain::mnuFileData_Click, QKeySequence(QStringLiteral("Ctrl+P")));
    item(file, mnuFileData_, "mnuFileData", QStringLiteral("-"), &FrmMain::mnuFileData_Click);
    item(file, mnuFileData_, "mnuFileData", QStringLiteral("&HTML && CSS Dump"),
         &FrmMain::mnuFileData_Click, QKeySequence(QStringLiteral("Ctrl+S")));
    item(file, mnuFileData_, "mnuFileData", QStringLiteral("HTML &Dump"),
         &FrmMain::mnuFileData_Click);
    item(file, mnuFileData_, "mnuFileData", QStringLiteral("-"), &FrmMain::mnuFileData_Click);
    item(file, mnuFileData_, "mnuFileData", QStringLiteral("E&xit"), &FrmMain::mnuFileData_Click,
         QKeySequence(QStringLiteral("Ctrl+X")));

    QMenu* vamp = top("mnuVamp", QStringLiteral("&Vampire"));
    item(vamp, mnuVampData_, "mnuVampData", QStringLiteral("&Create Vampire"),
         &FrmMain::mnuVampData_Click, QKeySequence(QStringLiteral("Ctrl+N")));
    item(vamp, mnuVampData_, "mnuVampData", QStringLiteral("&Edit Vampire"),
         &FrmMain::mnuVampData_Click);
    item(vamp, mnuVampData_, "mnuVampData", QStringLiteral("Delete Vampire"),
         &FrmMain::mnuVampData_Click);

    QMenu* options = top("mnuOptions", QStringLiteral("&Options"));
    QMenu* zoom = sub(options, QStringLiteral("mnuOptZoom"), QStringLiteral("Zoom"));
    const char* const zoom_captions[5] = {"3x3", "5x5", "7x7", "9x9", "11x11"};
    const char* const zoom_keys[5] = {"F3", "F5", "F7", "F9", "F11"};
    for (int i = 0; i < 5; ++i)
        item(zoom, mnuZoomData_, "mnuZoomData", QLatin1String(zoom_captions[i]),
             &FrmMain::mnuZoomData_Click, QKeySequence(QLatin1String(zoom_keys[i])), true);
    QMenu* nav = sub(options, QStringLiteral("mnuOptNav"), QStringLiteral("Navigation Lines"));
    for (const char* caption : {"Bank Line", "PubLine", "Transit Line", "Destination Line"})
        item(nav, mnuNavData_, "mnuNavData", QLatin1String(caption), &FrmMain::mnuNavData_Click, {},
             true);
    QMenu* autonav = sub(options, indexed("mnuOptData", 0), QStringLiteral("&Auto-Nav"));
    parent_item(mnuOptData_, autonav);
    // The submenu's parent item is "clicked" each time the submenu opens.
    connect(autonav, &QMenu::aboutToShow, this, [this] { mnuOptData_Click(0); });
    item(autonav, mnuAutoNavData_, "mnuAutoNavData", QStringLiteral("Standard"),
         &FrmMain::mnuAutoNavData_Click, {}, true);
    item(autonav, mnuAutoNavData_, "mnuAutoNavData", QStringLiteral("Precognition"),
         &FrmMain::mnuAutoNavData_Click, {}, true);
    item(options, mnuOptData_, "mnuOptData", QStringLiteral("&Form Layout"),
         &FrmMain::mnuOptData_Click);
    item(options, mnuOptData_, "mnuOptData", QStringLiteral("Graphical Map?"),
         &FrmMain::mnuOptData_Click, {}, true);
    item(options, mnuOptData_, "mnuOptData", QStringLiteral("ToolBar?"), &FrmMain::mnuOptData_Click,
         {}, true);

    QMenu* tools = top("mnuTools", QStringLiteral("&Tools"));
    item(tools, mnuToolsData_, "mnuToolsData", QStringLiteral("Shopping List Generator"),
         &FrmMain::mnuToolsData_Click);
    item(tools, mnuToolsData_, "mnuToolsData", QStringLiteral("Skill Information"),
         &FrmMain::mnuToolsData_Click);
    item(tools, mnuToolsData_, "mnuToolsData", QStringLiteral("-"), &FrmMain::mnuToolsData_Click);
    item(tools, mnuToolsData_, "mnuToolsData", QStringLiteral("Emoticon Tutorial"),
         &FrmMain::mnuToolsData_Click);
    item(tools, mnuToolsData_, "mnuToolsData", QStringLiteral("-"), &FrmMain::mnuToolsData_Click)
        ->setVisible(false);
    QMenu* browser = sub(tools, indexed("mnuToolsData", 5), QStringLiteral("Browser Navigation"));
    parent_item(mnuToolsData_, browser);
    browser->menuAction()->setVisible(false);
    item(browser, mnuWBdata_, "mnuWBdata", QStringLiteral("Back"), &FrmMain::mnuWBdata_Click,
         QKeySequence(QStringLiteral("Ctrl+Z")));
    item(browser, mnuWBdata_, "mnuWBdata", QStringLiteral("Forward"), &FrmMain::mnuWBdata_Click,
         QKeySequence(QStringLiteral("Ctrl+Y")));
    item(browser, mnuWBdata_, "mnuWBdata", QStringLiteral("Refresh"), &FrmMain::mnuWBdata_Click,
         QKeySequence(QStringLiteral("Ctrl+R")));

    QMenu* skills = top("mnuSkills", QStringLiteral("&Skills"));
    item(skills, mnuSkillsData_, "mnuSkillsData",
         QStringLiteral("Buying a skill (How to / how much)"), &FrmMain::mnuSkillsData_Click);
    item(skills, mnuSkillsData_, "mnuSkillsData", QStringLiteral("Buy a skill / power!!!"),
         &FrmMain::mnuSkillsData_Click);

    QMenu* links = top("mnuLinks", QStringLiteral("&Links"));
    item(links, mnuLinksData_, "mnuLinksData",
         QString::fromUtf8("&Official Z.E.K.O.\xC2\xB2 Home Page"), &FrmMain::mnuLinksData_Click);
    item(links, mnuLinksData_, "mnuLinksData", QString(), &FrmMain::mnuLinksData_Click)
        ->setVisible(false);
    item(links, mnuLinksData_, "mnuLinksData", QString(), &FrmMain::mnuLinksData_Click)
        ->setVisible(false);

    QMenu* help = top("mnuHelp", QStringLiteral("&Help"));
    item(help, mnuHelpData_, "mnuHelpData", QStringLiteral("&About"), &FrmMain::mnuHelpData_Click,
         QKeySequence(QStringLiteral("F2")));
    item(help, mnuHelpData_, "mnuHelpData", QStringLiteral("-"), &FrmMain::mnuHelpData_Click);
    item(help, mnuHelpData_, "mnuHelpData", QStringLiteral("&Contents"),
         &FrmMain::mnuHelpData_Click, QKeySequence(QStringLiteral("F1")));
    item(help, mnuHelpData_, "mnuHelpData", QStringLiteral("What's New!"),
         &FrmMain::mnuHelpData_Click);
    item(help, mnuHelpData_, "mnuHelpData", QStringLiteral("-"), &FrmMain::mnuHelpData_Click);
    item(help, mnuHelpData_, "mnuHelpData", QStringLiteral("How To Play"),
         &FrmMain::mnuHelpData_Click);
    item(help, mnuHelpData_, "mnuHelpData", QStringLiteral("FAQ"), &FrmMain::mnuHelpData_Click);
}

void FrmMain::build_map_frame(QWidget* client) {
    fraMAP_ = make_panel(client, "fraMAP", kGround);
    fraMAP_->setGeometry(twips_rect(0, 0, kColumnWidth, kMapHeight));
    // Pictures lie behind the labels; the lines lie over both, the narrowest on top.
    for (size_t n = 0; n < imgTILE_.size(); ++n) {
        auto* img = new PictureBox(fraMAP_);
        img->setObjectName(indexed("imgTILE", static_cast<int>(n)));
        img->hide();
        connect(img, &PictureBox::clicked, this, [this, n] { TILE_Click(static_cast<int>(n)); });
        imgTILE_[n] = img;
    }
    for (size_t n = 0; n < TILE_.size(); ++n) {
        auto* tile = new LabelBox(fraMAP_);
        tile->setObjectName(indexed("TILE", static_cast<int>(n)));
        tile->hide();
        connect(tile, &LabelBox::clicked, this, [this, n] { TILE_Click(static_cast<int>(n)); });
        TILE_[n] = tile;
    }
    auto line = [&](const char* name, QColor colour, int width) {
        auto* l = new LineShape(colour, width, fraMAP_);
        l->setObjectName(QLatin1String(name));
        l->hide();
        return l;
    };
    BANK1_ = line("BANK1", QColor(0, 0, 255), 7);
    PUB1_ = line("PUB1", QColor(255, 192, 128), 5);
    TRANS1_ = line("TRANS1", QColor(255, 0, 0), 3);
    DEST1_ = line("DEST1", QColor(0, 255, 255), 1);
}

void FrmMain::build_buttons(QWidget* client) {
    fraBUTTONS_ = make_panel(client, "fraBUTTONS", kGround);
    fraBUTTONS_->setGeometry(twips_rect(0, 3660, kColumnWidth, kButtonsHeight));
    cboX_ = new QComboBox(fraBUTTONS_);
    cboX_->setObjectName(QStringLiteral("cboX"));
    cboX_->setGeometry(twips_rect(0, 0, 1155, 315));
    cboY_ = new QComboBox(fraBUTTONS_);
    cboY_->setObjectName(QStringLiteral("cboY"));
    cboY_->setGeometry(twips_rect(1230, 0, 1155, 315));
    for (int i = 0; i < 10; ++i) {
        auto* b = new QPushButton(fraBUTTONS_);
        b->setObjectName(indexed("cmdCOMMAND", i));
        if (i == 9) {
            b->setText(QStringLiteral("GO"));
            b->setGeometry(twips_rect(2460, 0, 1155, 315));
        } else {
            b->setGeometry(twips_rect(1230 * (i % 3), 360 + 420 * (i / 3), 1155, 375));
            const QPixmap picture = artwork::command_picture(i);
            b->setIcon(QIcon(picture));
            b->setIconSize(picture.size().boundedTo(b->size() - QSize(4, 2)));
        }
        // The pictures are drawn for a dark button face.
        set_palette_colors(b, {{QPalette::Button, kButtonFace}, {QPalette::ButtonText, kListText}});
        b->setToolTip(QString::fromUtf8(kCommandTips[i]));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCOMMAND_Click(i); });
        cmdCOMMAND_[static_cast<size_t>(i)] = b;
    }
}

void FrmMain::build_vamp_panel(QWidget* client) {
    fraVAMP_BUTTONS_ = make_panel(client, "fraVAMP_BUTTONS", kGround);
    fraVAMP_BUTTONS_->setGeometry(twips_rect(0, 6000, kColumnWidth, kVampButtonsHeight));
    chkAUTOLOGIN_ = new QCheckBox(QStringLiteral("Auto-Login if available?"), fraVAMP_BUTTONS_);
    chkAUTOLOGIN_->setObjectName(QStringLiteral("chkAUTOLOGIN"));
    chkAUTOLOGIN_->setGeometry(twips_rect(60, 15, 3495, 195));
    connect(chkAUTOLOGIN_, &QCheckBox::clicked, this, [this] { chkAUTOLOGIN_Click(); });
    const char* const captions[3] = {"New Vamp", "Edit Vamp", "Delete Vamp"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QLatin1String(captions[i]), fraVAMP_BUTTONS_);
        b->setObjectName(indexed("cmdVAMP", i));
        b->setGeometry(twips_rect(60 + 1200 * i, 225, 1155, 255));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdVAMP_Click(i); });
        cmdVAMP_[static_cast<size_t>(i)] = b;
    }
}

void FrmMain::build_info(QWidget* client) {
    fraINFO_ = make_panel(client, "fraINFO", kGround);
    fraINFO_->setGeometry(twips_rect(0, 6480, kColumnWidth, kInfoHeight));
    const char* const frames[5] = {"fraBANK", "fraPUB", "fraTRANSIT", "fraDEST", "fraDESTTRANS"};
    QFont row_font(QStringLiteral("Courier New"));
    row_font.setPointSize(8);
    row_font.setBold(true);
    QFont caption_font = font();
    caption_font.setPointSize(7);
    auto label = [&](QWidget* parent, const QString& name, const QString& text, int left,
                     int width) {
        auto* l = new QLabel(text, parent);
        l->setObjectName(name);
        l->setFont(row_font);
        l->setGeometry(twips_rect(left, 135, width, 225));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    for (int i = 0; i < 5; ++i) {
        auto* frame = new VbFrame(fraINFO_);
        frame->setObjectName(QLatin1String(frames[i]));
        frame->setFont(caption_font);
        frame->setGeometry(twips_rect(0, 360 * i, 2940, 375));
        rowFrames_[static_cast<size_t>(i)] = frame;
        lblX_[static_cast<size_t>(i)] = label(frame, indexed("lblX", i), {}, 120, 1155);
        lbl_[static_cast<size_t>(2 * i)] =
            label(frame, indexed("lbl", 2 * i), QStringLiteral("&"), 1320, 120);
        lblY_[static_cast<size_t>(i)] = label(frame, indexed("lblY", i), {}, 1440, 555);
        lblAP_[static_cast<size_t>(i)] = label(frame, indexed("lblAP", i), {}, 2280, 315);
        lbl_[static_cast<size_t>(2 * i + 1)] =
            label(frame, indexed("lbl", 2 * i + 1), QStringLiteral("AP"), 2640, 255);
        lblAP_[static_cast<size_t>(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int i = 0; i < 6; ++i) {
        auto* store = new PictureBox(fraINFO_);
        store->setObjectName(indexed("imgRES", i));
        store->set_picture(artwork::distance_picture(i), i);
        store->setGeometry(twips_rect(3000, 120, 600, 495));
        store->hide();
        imgRES_[static_cast<size_t>(i)] = store;
    }
    for (int i = 0; i < 3; ++i) {
        auto* choice = new PictureBox(fraINFO_);
        choice->setObjectName(indexed("imgDIST", i));
        choice->setGeometry(twips_rect(3000, 120 + 540 * i, 600, 495));
        choice->setCursor(Qt::PointingHandCursor);
        connect(choice, &PictureBox::clicked, this, [this, i] { imgDIST_Click(i); });
        imgDIST_[static_cast<size_t>(i)] = choice;
    }
}

void FrmMain::build_toolbar(QWidget* client) {
    fraTOOLBAR_ = make_panel(client, "fraTOOLBAR", kGround);
    fraTOOLBAR_->setGeometry(twips_rect(kColumnWidth, 0, 8295, kToolbarHeight));
    const int lefts[8] = {180, 660, 1140, 1620, 2220, 2700, 3180, 3660};
    for (int i = 0; i < 8; ++i) {
        auto* b = new PictureBox(fraTOOLBAR_);
        b->setObjectName(indexed("tbBUTTON", i));
        b->setGeometry(twips_rect(lefts[i], 0, 480, 480));
        b->setToolTip(QLatin1String(kToolbarTips[i]));
        connect(b, &PictureBox::pressed, this, [this, i] { tbBUTTON_MouseDown(i); });
        connect(b, &PictureBox::released, this, [this, i] { tbBUTTON_MouseUp(i); });
        connect(b, &PictureBox::clicked, this, [this, i] { tbBUTTON_Click(i); });
        tbBUTTON_[static_cast<size_t>(i)] = b;
    }
    auto line = [&](const char* name, const QColor& colour, QPoint a, QPoint b) {
        auto* l = new LineShape(colour, 1, fraTOOLBAR_);
        l->setObjectName(QLatin1String(name));
        l->set_line(a, b);
        return l;
    };
    line("div1a", kWhite, QPoint(px(2175), px(60)), QPoint(px(2175), px(420)));
    line("div1", QColor(0, 0, 0), QPoint(px(2160), px(60)), QPoint(px(2160), px(420)));
    lineTOP_ = line("lineTOP", kWhite, QPoint(0, 0), QPoint(px(8280), 0));
    lineBOTTOM_ =
        line("lineBOTTOM", QColor(0, 0, 0), QPoint(0, px(465)), QPoint(px(8280), px(465)));
    RESET_TOOLBAR();
}

// --- load ---

void FrmMain::Form_Load() {
    attempt([&] { wb_->setSilent(true); });
    INIT_FORM();
    ZOOM_MAP();
    FIRST_PAGE_DONE = false;
    attempt([&] { wb_->Navigate2(QStringLiteral("about:blank")); });
    state_.NAV_CHOICE = 0;
    SHOW_DIST_MODE();
}

void FrmMain::INIT_FORM() {
    setWindowTitle(QString::fromUtf8("Zekorama\xC2\xB2 Version ") + utf8(version_text()) +
                   QStringLiteral("..."));
    set_list_colours(cboX_);
    set_list_colours(cboY_);
    set_list_colours(lstVAMP_);
    set_palette_colors(chkAUTOLOGIN_, {{QPalette::Window, kGround},
                                       {QPalette::Button, kGround},
                                       {QPalette::WindowText, kWhite},
                                       {QPalette::ButtonText, kWhite}});
    chkAUTOLOGIN_->setAutoFillBackground(true);
    const QColor row_colours[5] = {QColor(0, 0, 192), QColor(255, 128, 0), QColor(255, 0, 0),
                                   QColor(0, 192, 192), QColor(0, 128, 128)};
    for (size_t i = 0; i < rowFrames_.size(); ++i) {
        rowFrames_[i]->set_back_color(row_colours[i]);
        rowFrames_[i]->set_caption_color(kWhite);
    }
    for (size_t i = 0; i < 5; ++i)
        for (QLabel* l : {lblX_[i], lblY_[i], lblAP_[i]})
            set_palette_colors(l, {{QPalette::WindowText, kWhite}});
    for (QLabel* l : lbl_)
        set_palette_colors(l, {{QPalette::WindowText, kWhite}});
    for (LabelBox* tile : TILE_)
        tile->set_fore_color(kWhite);
    cboX_->clear();
    cboY_->clear();
    attempt([&] {
        for (int i = 0; i <= 100; ++i) {
            cboX_->addItem(utf8(state_.map.STREET_NAME_X(i)));
            cboY_->addItem(utf8(state_.map.STREET_NAME_Y(i)));
        }
    });
}

// --- minimap ---

void FrmMain::ZOOM_MAP() {
    attempt([&] { minimap_->ZOOM_MAP(); });
    show_minimap();
}

void FrmMain::BUILD_MAP() {
    minimap_->BUILD_MAP();
    show_minimap();
}

void FrmMain::DRAW_LINES() {
    minimap_->DRAW_LINES();
    show_minimap();
}

QPixmap FrmMain::tile_pixmap(int picture, QSize size) {
    if (picture < 1 || size.isEmpty()) return {};
    const auto key = std::make_tuple(picture, size.width(), size.height());
    auto it = scaled_pictures_.find(key);
    if (it == scaled_pictures_.end()) {
        QPixmap full = artwork::tile_picture(picture);
        QPixmap scaled = full.size() == size
                             ? full
                             : full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        it = scaled_pictures_.emplace(key, scaled).first;
    }
    return it->second;
}

const QFont& FrmMain::tile_font_for(const TileFont& f) {
    for (const auto& [key, qfont] : tile_fonts_)
        if (key == f) return qfont;
    QFont qfont(utf8(f.name));
    qfont.setBold(f.bold);
    qfont.setPointSize(std::max(1, f.points));
    tile_fonts_.emplace_back(f, qfont);
    return tile_fonts_.back().second;
}

void FrmMain::show_tile(size_t n, bool force) {
    const TileLabel& t = model_.TILE[n];
    TileLabel& s = shown_.TILE[n];
    if (!force && t == s) return;
    LabelBox* w = TILE_[n];
    if (force || t.left != s.left || t.top != s.top || t.width != s.width || t.height != s.height)
        w->setGeometry(twips_rect(t.left, t.top, t.width, t.height));
    if (force || t.back_style != s.back_style) w->set_opaque(t.back_style != 0);
    if (force || t.back_color != s.back_color) w->set_back_color(rgb_color(t.back_color));
    if (force || t.caption != s.caption) w->set_caption(utf8(t.caption));
    if (force || t.tooltip != s.tooltip) w->setToolTip(utf8(t.tooltip));
    if (force || t.border != s.border) w->set_border(t.border);
    if ((force || !(t.font == s.font)) && !t.font.name.empty()) w->setFont(tile_font_for(t.font));
    if (force || t.fore_color != s.fore_color) w->set_fore_color(rgb_color(t.fore_color));
    if (force || t.visible != s.visible) w->setVisible(t.visible);
    s = t;
}

void FrmMain::show_tile_image(size_t n, bool force) {
    const TileImage& t = model_.imgTILE[n];
    TileImage& s = shown_.imgTILE[n];
    if (!force && t == s) return;
    PictureBox* w = imgTILE_[n];
    const bool moved =
        t.left != s.left || t.top != s.top || t.width != s.width || t.height != s.height;
    if (force || moved) w->setGeometry(twips_rect(t.left, t.top, t.width, t.height));
    if (force || moved || t.picture != s.picture)
        w->set_picture(tile_pixmap(t.picture, w->size()), t.picture);
    if (force || t.border != s.border) w->set_border(t.border);
    if (force || t.visible != s.visible) w->setVisible(t.visible);
    s = t;
}

void FrmMain::show_row(size_t n) {
    const PanelRow& r = model_.rows[n];
    PanelRow& s = shown_.rows[n];
    if (r == s) return;
    if (r.caption != s.caption) rowFrames_[n]->setTitle(utf8(r.caption));
    if (r.x != s.x) lblX_[n]->setText(utf8(r.x));
    if (r.y != s.y) lblY_[n]->setText(utf8(r.y));
    if (r.ap != s.ap) lblAP_[n]->setText(utf8(r.ap));
    s = r;
}

void FrmMain::show_line(LineShape* line, const NavLineState& now, NavLineState& shown) {
    if (now == shown) return;
    line->set_line(QPoint(px(now.x1), px(now.y1)), QPoint(px(now.x2), px(now.y2)));
    line->setVisible(now.visible);
    shown = now;
}

void FrmMain::show_minimap() {
    if (model_.revision == shown_.revision) return;
    for (size_t n = 0; n < TILE_.size(); ++n) {
        show_tile_image(n, false);
        show_tile(n, false);
    }
    for (size_t n = 0; n < model_.rows.size(); ++n)
        show_row(n);
    show_index(cboX_, model_.cboX_index, shown_.cboX_index);
    show_index(cboY_, model_.cboY_index, shown_.cboY_index);
    show_line(BANK1_, model_.BANK1, shown_.BANK1);
    show_line(PUB1_, model_.PUB1, shown_.PUB1);
    show_line(TRANS1_, model_.TRANS1, shown_.TRANS1);
    show_line(DEST1_, model_.DEST1, shown_.DEST1);
    if (model_.zoom_checked != shown_.zoom_checked) {
        for (size_t i = 0; i < mnuZoomData_.size(); ++i)
            mnuZoomData_[i]->setChecked(model_.zoom_checked[i]);
        shown_.zoom_checked = model_.zoom_checked;
    }
    shown_.revision = model_.revision;
}

// --- settings and layout ---

void FrmMain::APPLY_SETTINGS() {
    SettingsStore& store = state_.settings;
    SETTINGS_REC& s = store.SETTINGS;
    store.APPLYING_SETTINGS = true;
    attempt([&] {
        state_.ZOOM = s.ZOOM;
        ZOOM_MAP();
    });
    attempt([&] { chkAUTOLOGIN_->setChecked(s.AUTOLOGIN_ENABLED == kTrue); });
    attempt([&] {
        mnuAutoNavData_[0]->setChecked(s.AUTONAV_STANDARD != 0);
        mnuAutoNavData_[1]->setChecked(s.AUTONAV_PRECOG != 0);
        const VbBool lines[4] = {s.NAVLINE_BANK, s.NAVLINE_PUB, s.NAVLINE_TRANSIT, s.NAVLINE_DEST};
        for (size_t i = 0; i < 4; ++i) {
            mnuNavData_[i]->setChecked(lines[i] != 0);
            model_.navline_checked[i] = lines[i] != 0;
        }
        mnuOptData_[2]->setChecked(s.TILE_IMAGES != 0);
    });
    attempt([&] {
        if (s.WIN_STATE == 2) {
            setWindowState((windowState() & ~kSizingStates) | Qt::WindowMaximized);
        } else {
            setWindowState(windowState() & ~kSizingStates);
            place_window();
        }
    });
    attempt([&] { APPLY_TOOLBAR(); });
    store.APPLYING_SETTINGS = false;
}

void FrmMain::APPLY_TOOLBAR() {
    const SETTINGS_REC& s = state_.settings.SETTINGS;
    mnuOptData_[3]->setChecked(s.TOOLBAR != 0);
    QWidget* browser = wb_->widget();
    if (s.TOOLBAR == kTrue) {
        browser->move(browser->x(), fraTOOLBAR_->height());
        fraTOOLBAR_->show();
    } else {
        browser->move(browser->x(), 0);
        fraTOOLBAR_->hide();
    }
    // The browser ends at the bottom of the window whether or not the toolbar is above it.
    browser->resize(browser->width(), std::max(0, client_height() - browser->y()));
    fraTOOLBAR_->resize(browser->width(), fraTOOLBAR_->height());
}

void FrmMain::APPLY_LAYOUT() {
    const SETTINGS_REC& s = state_.settings.SETTINGS;
    const double inner = static_cast<double>(twips(client_height()));
    PanelPlacement p;
    try {
        p = APPLY_LAYOUT_placement(s, inner);
    } catch (const std::exception&) {
        // A window too tall for the list's 16-bit height: the panels go to their places
        // without the stretch.
        p = APPLY_LAYOUT_placement(s, std::min(inner, static_cast<double>(kLayoutBaseHeight)));
    }
    fraMAP_->setGeometry(twips_rect(p.map_left, p.map_top, kColumnWidth, kMapHeight));
    fraBUTTONS_->setGeometry(
        twips_rect(p.buttons_left, p.buttons_top, kColumnWidth, kButtonsHeight));
    fraVAMP_BUTTONS_->setGeometry(
        twips_rect(p.vamp_buttons_left, p.vamp_buttons_top, kColumnWidth, kVampButtonsHeight));
    fraINFO_->setGeometry(twips_rect(p.info_left, p.info_top, kColumnWidth, kInfoHeight));
    const int32_t list_height = p.list_height_set ? p.list_height : twips(lstVAMP_->height());
    lstVAMP_->setGeometry(twips_rect(p.list_left, p.list_top, kColumnWidth, list_height));
}

// --- window placement ---

int FrmMain::client_width() const {
    return client_->width();
}

int FrmMain::client_height() const {
    return client_->height();
}

void FrmMain::place_window() {
    const SETTINGS_REC& s = state_.settings.SETTINGS;
    move(px(s.WIN_LEFT), px(s.WIN_TOP));
    resize(px(s.WIN_WIDTH), px(s.WIN_HEIGHT));
}

void FrmMain::store_placement() {
    SETTINGS_REC& s = state_.settings.SETTINGS;
    store_twips(s.WIN_TOP, y());
    store_twips(s.WIN_LEFT, x());
    store_twips(s.WIN_HEIGHT, height());
    store_twips(s.WIN_WIDTH, width());
}

void FrmMain::fit_browser() {
    QWidget* browser = wb_->widget();
    const int w = std::max(0, client_width() - browser->x());
    browser->setGeometry(browser->x(), browser->y(), w,
                         std::max(0, client_height() - browser->y()));
    fraTOOLBAR_->resize(w, fraTOOLBAR_->height());
    lineTOP_->set_line(QPoint(0, 0), QPoint(std::max(0, w - 1), 0));
    lineBOTTOM_->set_line(QPoint(0, px(465)), QPoint(std::max(0, w - 1), px(465)));
}

void FrmMain::Form_Resize() {
    if (in_resize_ || exiting_) return;
    const QScopedValueRollback<bool> guard(in_resize_, true);
    SettingsStore& store = state_.settings;
    SETTINGS_REC& s = store.SETTINGS;

    if (store.APPLYING_SETTINGS) {
        if (s.WIN_STATE != 2) {
            setWindowState(windowState() & ~kSizingStates);
            place_window();
            return;
        }
        if (!(windowState() & Qt::WindowMaximized))
            setWindowState((windowState() & ~kSizingStates) | Qt::WindowMaximized);
    }

    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized) return;
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        s.WIN_STATE = 2;
        store.SAVE_SETTINGS();
    } else {
        if (width() < px(kMinWidth) || height() < px(kMinHeight))
            resize(std::max(width(), px(kMinWidth)), std::max(height(), px(kMinHeight)));
        if (s.WIN_STATE == 2) {
            s.WIN_STATE = 0;
            place_window();
        } else if (s.WIN_STATE != 1) {
            store_placement();
            s.WIN_STATE = 0;
        }
        store.SAVE_SETTINGS();
    }
    fit_browser();
    attempt([&] { APPLY_LAYOUT(); });
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void FrmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Moving the window is no resize, but the next placement applied must not put the window
    // back where it stood before the move: the position is kept in memory, for the next save.
    const SettingsStore& store = state_.settings;
    if (in_resize_ || exiting_ || store.APPLYING_SETTINGS || !isVisible()) return;
    if (windowState() & kSizingStates) return;
    if (store.SETTINGS.WIN_STATE != 0) return;
    SETTINGS_REC& s = state_.settings.SETTINGS;
    store_twips(s.WIN_TOP, y());
    store_twips(s.WIN_LEFT, x());
}

void FrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

bool FrmMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !exiting_) Form_Activate();
    return QMainWindow::event(event);
}

void FrmMain::Form_Activate() {
    RESET_TOOLBAR();
    attempt([&] { APPLY_LAYOUT(); });
    BUILD_MAP();
    attempt([&] { windows_.UNLOAD_SPLASH(); });
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (exiting_ || NO_EXIT_PROMPT) {
        prepare_exit();
        event->accept();
        return;
    }
    MsgResult answer = MsgResult::No;
    attempt([&] { answer = QUIT_PROMPT(state_); });
    if (answer != MsgResult::Yes) {
        event->ignore();
        return;
    }
    prepare_exit();
    if (exit_program_) exit_program_();
    event->accept();
}

// --- list, check box, tiles, choices ---

int FrmMain::list_count() const {
    return lstVAMP_->count();
}

bool FrmMain::select_first_entry() {
    if (lstVAMP_->count() == 0) return false;
    QListWidgetItem* first = lstVAMP_->item(0);
    if (lstVAMP_->currentRow() == 0 && first->isSelected())
        lstVAMP_Click();
    else
        lstVAMP_->setCurrentRow(0);
    return true;
}

void FrmMain::lstVAMP_Click() {
    state_.settings.SAVE_SETTINGS();
    state_.db.SAVE_DB();
    QListWidgetItem* item = lstVAMP_->currentItem();
    if (item != nullptr)
        state_.db.CUR_VAMP = static_cast<int16_t>(item->data(Qt::UserRole).toInt());
    bool login = false;
    if (chkAUTOLOGIN_->isChecked())
        attempt([&] { login = state_.db.current().AUTOLOGIN == kTrue; });
    if (login) {
        const QScopedValueRollback<bool> quiet(NO_EXIT_PROMPT, true);
        attempt([&] { workers_->LOGIN_CURRENT(); });
    }
    APPLY_SETTINGS();
    BUILD_MAP();
}

void FrmMain::chkAUTOLOGIN_Click() {
    SettingsStore& store = state_.settings;
    if (store.APPLYING_SETTINGS) return;
    chkAUTOLOGIN_->setChecked(TOGGLE_CHECK(store.SETTINGS.AUTOLOGIN_ENABLED) == 1);
    store.SAVE_SETTINGS();
    APPLY_SETTINGS();
    attempt([&] { wb_->setFocus(); });
}

void FrmMain::TILE_Click(int index) {
    attempt([&] {
        VAMP& me = state_.db.current();
        const Cell cell = TILE_TO_COORD(index, state_.ZOOM, Cell{me.POS_X, me.POS_Y});
        me.POS_X = cell.x;
        me.POS_Y = cell.y;
    });
    BUILD_MAP();
}

void FrmMain::imgDIST_Click(int index) {
    state_.NAV_CHOICE = static_cast<int16_t>(index);
    SHOW_DIST_MODE();
}

void FrmMain::SHOW_DIST_MODE() {
    for (size_t i = 0; i < imgDIST_.size(); ++i)
        imgDIST_[i]->set_picture(imgRES_[i]->pixmap(), static_cast<int>(i));
    const int choice = state_.NAV_CHOICE;
    if (choice >= 0 && choice <= 2) {
        const auto c = static_cast<size_t>(choice);
        imgDIST_[c]->set_picture(imgRES_[c + 3]->pixmap(), choice + 3);
    }
    BUILD_MAP();
}

// --- toolbar ---

void FrmMain::RESET_TOOLBAR() {
    for (size_t i = 0; i < tbBUTTON_.size(); ++i)
        tbBUTTON_[i]->set_picture(artwork::toolbar_picture(static_cast<int>(i) + 1),
                                  static_cast<int>(i) + 1);
}

void FrmMain::tbBUTTON_MouseDown(int index) {
    tbBUTTON_[static_cast<size_t>(index)]->set_picture(artwork::toolbar_picture(index + 9),
                                                       index + 9);
}

void FrmMain::tbBUTTON_MouseUp(int index) {
    tbBUTTON_[static_cast<size_t>(index)]->set_picture(artwork::toolbar_picture(index + 1),
                                                       index + 1);
}

void FrmMain::tbBUTTON_Click(int index) {
    if (index >= 4 && index <= 7) {
        // The File menu's screen-shot commands: configuration, bitmap, HTML & CSS, HTML.
        const int file_index[4] = {0, 1, 3, 4};
        const QScopedValueRollback<bool> quiet(NO_EXIT_PROMPT, true);
        dispatch(&MainWorkers::MENU_FILE, file_index[index - 4]);
        return;
    }
    run_browser_command(
        *wb_,
        {&WebBrowser::GoBack, &WebBrowser::GoForward, &WebBrowser::Refresh, &WebBrowser::Stop},
        index);
}

// --- menus and buttons ---

void FrmMain::dispatch(void (MainWorkers::*worker)(int16_t), int index) {
    attempt([&] { (workers_->*worker)(static_cast<int16_t>(index)); });
}

void FrmMain::cmdCOMMAND_Click(int index) {
    const StreetChoice streets{cboX_->currentIndex(), cboY_->currentIndex()};
    attempt([&] { workers_->BUTTON_COMMAND(static_cast<int16_t>(index), streets); });
}

void FrmMain::cmdVAMP_Click(int index) {
    attempt([&] { wb_->setFocus(); });
    dispatch(&MainWorkers::BUTTON_VAMP, index);
}

void FrmMain::mnuFileData_Click(int index) {
    const QScopedValueRollback<bool> quiet(NO_EXIT_PROMPT, true);
    dispatch(&MainWorkers::MENU_FILE, index);
}

void FrmMain::mnuVampData_Click(int index) {
    lstVAMP_->setFocus();
    dispatch(&MainWorkers::MENU_VAMP, index);
}

void FrmMain::mnuNavData_Click(int index) {
    dispatch(&MainWorkers::MENU_NAVLINES, index);
}

void FrmMain::mnuOptData_Click(int index) {
    if (index == 3) {
        TOGGLE_BOOL(state_.settings.SETTINGS.TOOLBAR);
        attempt([&] { APPLY_TOOLBAR(); });
    } else {
        dispatch(&MainWorkers::MENU_OPTIONS, index);
    }
    BUILD_MAP();
}

void FrmMain::mnuZoomData_Click(int index) {
    dispatch(&MainWorkers::MENU_ZOOM, index);
}

void FrmMain::mnuAutoNavData_Click(int index) {
    dispatch(&MainWorkers::MENU_AUTONAV, index);
}

void FrmMain::mnuToolsData_Click(int index) {
    dispatch(&MainWorkers::MENU_TOOLS, index);
}

void FrmMain::mnuWBdata_Click(int index) {
    run_browser_command(*wb_, {&WebBrowser::GoBack, &WebBrowser::GoForward, &WebBrowser::Refresh2},
                        index);
}

void FrmMain::mnuSkillsData_Click(int index) {
    dispatch(&MainWorkers::MENU_SKILLS, index);
}

void FrmMain::mnuLinksData_Click(int index) {
    dispatch(&MainWorkers::MENU_LINKS, index);
}

void FrmMain::mnuHelpData_Click(int index) {
    dispatch(&MainWorkers::MENU_HELP, index);
}

// --- browser and timers ---

void FrmMain::set_pic_interval(int ms) {
    run_every(tmrPIC_, ms);
}

void FrmMain::wb_DocumentComplete() {
    if (!FIRST_PAGE_DONE) {
        attempt([&] { wb_->setBodyBgColor(kPageGround); });
        attempt([&] { wb_->setBodyTextColor(kPageText); });
        attempt([&] { wb_->writeBodyInnerHtml(QStringLiteral("Loading...")); });
        attempt([&] { wb_->Navigate2(utf8(GAME_URL(state_) + "?action=welcome")); });
        FIRST_PAGE_DONE = true;
    }
    attempt([&] { wb_->setBodyBgColor(kPageGround); });
}

void FrmMain::tmrPIC_Timer() {
    set_pic_interval(0);
    attempt([&] { windows_.SNAPSHOT_BMP(); });
}

}  // namespace zeko::ui
