#include "main/ui/character_panel.h"
#include "widgets/traps.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include "main/layout.h"
#include "main/program.h"
#include "main/program_state.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

// lstVAMP as the character file's loader fills it: each entry carries its record index.
class CharacterPanel::VampListAdapter final : public CharacterList {
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

CharacterPanel::CharacterPanel(ProgramState& state, Steps steps, QWidget* parent)
    : QWidget(parent), state_(state), steps_(std::move(steps)) {
    lstVAMP_ = new QListWidget(parent);
    lstVAMP_->setObjectName(QStringLiteral("lstVAMP"));
    lstVAMP_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstVAMP_->setFrameShape(QFrame::Box);
    lstVAMP_->setSortingEnabled(true);
    lstVAMP_->setGeometry(twips_rect(0, 5280, 3600, kListHeight));
    vamp_list_ = std::make_unique<VampListAdapter>(lstVAMP_);
    lstVAMP_->stackUnder(this);
    connect(lstVAMP_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lstVAMP_->selectedItems().isEmpty()) lstVAMP_Click();
    });

    style_panel(this, "fraVAMP_BUTTONS", kGround);
    chkAUTOLOGIN_ = new QCheckBox(QStringLiteral("Auto-Login if available?"), this);
    chkAUTOLOGIN_->setObjectName(QStringLiteral("chkAUTOLOGIN"));
    chkAUTOLOGIN_->setGeometry(twips_rect(60, 15, 3495, 195));
    connect(chkAUTOLOGIN_, &QCheckBox::clicked, this, [this] { chkAUTOLOGIN_Click(); });
    const char* const captions[3] = {"New Vamp", "Edit Vamp", "Delete Vamp"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QLatin1String(captions[i]), this);
        b->setObjectName(indexed("cmdVAMP", i));
        b->setGeometry(twips_rect(60 + 1200 * i, 225, 1155, 255));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdVAMP_Click(i); });
        cmdVAMP_[static_cast<size_t>(i)] = b;
    }
}

CharacterPanel::~CharacterPanel() = default;

CharacterList& CharacterPanel::vamp_list() {
    return *vamp_list_;
}

void CharacterPanel::INIT_FORM() {
    const QColor white(255, 255, 255);
    set_list_colours(lstVAMP_);
    set_palette_colors(chkAUTOLOGIN_, {{QPalette::Window, kGround},
                                       {QPalette::Button, kGround},
                                       {QPalette::WindowText, white},
                                       {QPalette::ButtonText, white}});
    chkAUTOLOGIN_->setAutoFillBackground(true);
}

void CharacterPanel::set_autologin_checked(bool checked) {
    chkAUTOLOGIN_->setChecked(checked);
}

int CharacterPanel::list_count() const {
    return lstVAMP_->count();
}

bool CharacterPanel::select_first_entry() {
    if (lstVAMP_->count() == 0) return false;
    QListWidgetItem* first = lstVAMP_->item(0);
    if (lstVAMP_->currentRow() == 0 && first->isSelected())
        lstVAMP_Click();
    else
        lstVAMP_->setCurrentRow(0);
    return true;
}

void CharacterPanel::lstVAMP_Click() {
    state_.settings.SAVE_SETTINGS();
    state_.db.SAVE_DB();
    QListWidgetItem* item = lstVAMP_->currentItem();
    if (item != nullptr)
        state_.db.CUR_VAMP = static_cast<int16_t>(item->data(Qt::UserRole).toInt());
    bool login = false;
    if (chkAUTOLOGIN_->isChecked())
        trap("lstVAMP_Click", [&] { login = state_.db.current().AUTOLOGIN == kTrue; });
    if (login) steps_.login_current();
    steps_.apply_settings();
    steps_.build_map();
}

void CharacterPanel::chkAUTOLOGIN_Click() {
    SettingsStore& store = state_.settings;
    if (store.APPLYING_SETTINGS) return;
    chkAUTOLOGIN_->setChecked(TOGGLE_CHECK(store.SETTINGS.AUTOLOGIN_ENABLED) == 1);
    store.SAVE_SETTINGS();
    steps_.apply_settings();
    steps_.focus_browser();
}

void CharacterPanel::cmdVAMP_Click(int index) {
    steps_.focus_browser();
    steps_.vamp_button(static_cast<int16_t>(index));
}

}  // namespace zeko::ui
