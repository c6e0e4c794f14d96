#include "tools/ui/frm_skills.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

constexpr int32_t kClientWidth = 6450;
constexpr int32_t kClientHeight = 4305;

QFont comic_font() {
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPointSizeF(9.75);
    return font;
}

}  // namespace

FrmSkills::FrmSkills(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmSKILLS"));
    setup_fixed_dialog(this, kClientWidth, kClientHeight, true);
    keep_open_on_escape(this);

    lstSKILLS_ = new QListWidget(this);
    lstSKILLS_->setObjectName(QStringLiteral("lstSKILLS"));
    lstSKILLS_->setGeometry(twips_rect(75, 60, 1755, 3795));
    lstSKILLS_->setFont(comic_font());
    lstSKILLS_->setSortingEnabled(true);
    connect(lstSKILLS_, &QListWidget::itemSelectionChanged, this, [this] { lstSKILLS_Click(); });
    // A click on the entry already chosen brings its text back over whatever was typed.
    connect(lstSKILLS_, &QListWidget::itemClicked, this, [this] { lstSKILLS_Click(); });

    txtSKILLS_ = new QPlainTextEdit(this);
    txtSKILLS_->setObjectName(QStringLiteral("txtSKILLS"));
    txtSKILLS_->setGeometry(twips_rect(1875, 60, 4515, 3795));
    txtSKILLS_->setFont(comic_font());
    txtSKILLS_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtSKILLS_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    cmdCOMMAND_ = new QPushButton(QStringLiteral("&DONE"), this);
    cmdCOMMAND_->setObjectName(QStringLiteral("cmdCOMMAND"));
    cmdCOMMAND_->setGeometry(twips_rect(60, 3900, 6360, 375));
    cmdCOMMAND_->setAutoDefault(false);
    connect(cmdCOMMAND_, &QPushButton::clicked, this, [this] { cmdCOMMAND_Click(); });
}

void FrmSkills::show_modal() {
    exec();
}

void FrmSkills::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) Form_Load();
}

void FrmSkills::Form_Load() {
    SET_COLOURS();
    if (!skillsLoaded_) LOAD_SKILLS();
    FILL_LIST();
    SET_CAPTION();
    lstSKILLS_->setCurrentRow(0);
}

void FrmSkills::SET_COLOURS() {
    set_palette_colors(this, {{QPalette::Window, kGround}});
    setAutoFillBackground(true);
    for (QWidget* w : {static_cast<QWidget*>(lstSKILLS_), static_cast<QWidget*>(txtSKILLS_)})
        set_palette_colors(w, {{QPalette::Base, kListBack}, {QPalette::Text, kListText}});
}

void FrmSkills::LOAD_SKILLS() {
    skills_ = tools::LOAD_SKILLS();
    skillsLoaded_ = true;
}

void FrmSkills::FILL_LIST() {
    const QSignalBlocker block(lstSKILLS_);
    lstSKILLS_->clear();
    txtSKILLS_->clear();
    for (int i = 0; i < tools::kSkillCount; ++i) {
        auto* entry = new QListWidgetItem(
            QString::fromStdString(tools::skill_entry(skills_[static_cast<size_t>(i)])));
        // The entry carries its skill, wherever the sorting puts it.
        entry->setData(Qt::UserRole, i);
        lstSKILLS_->addItem(entry);
    }
}

void FrmSkills::SET_CAPTION() {
    set_palette_colors(this, {{QPalette::Window, kGround}});
    setWindowTitle(QString::fromUtf8("Z.E.K.O.\xC2\xB2: Skill Information..."));
}

void FrmSkills::lstSKILLS_Click() {
    const QList<QListWidgetItem*> selected = lstSKILLS_->selectedItems();
    if (selected.isEmpty()) return;
    const int i = selected.first()->data(Qt::UserRole).toInt();
    if (i < 0 || i >= tools::kSkillCount) return;
    QString text = QString::fromStdString(tools::SKILL_TEXT(skills_[static_cast<size_t>(i)]));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtSKILLS_->setPlainText(text);
}

void FrmSkills::cmdCOMMAND_Click() {
    accept();
}

}  // namespace zeko::ui
