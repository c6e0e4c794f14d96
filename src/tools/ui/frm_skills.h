#pragma once

#include <QDialog>

#include "tools/skills.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace zeko::ui {

// `frmSKILLS`: the skill reference, modal over the main window. The table is built on the
// first opening and kept for the run; the list is filled anew at each opening.
class FrmSkills : public QDialog {
    Q_OBJECT
  public:
    explicit FrmSkills(QWidget* owner);

    // Shows the window modally over its owner.
    void show_modal();

    void lstSKILLS_Click();
    void cmdCOMMAND_Click();

    bool skillsLoaded() const { return skillsLoaded_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Load();
    void SET_COLOURS();
    void LOAD_SKILLS();
    void FILL_LIST();
    void SET_CAPTION();

    tools::SkillTable skills_{};
    bool skillsLoaded_ = false;

    QListWidget* lstSKILLS_ = nullptr;
    QPlainTextEdit* txtSKILLS_ = nullptr;
    QPushButton* cmdCOMMAND_ = nullptr;
};

}  // namespace zeko::ui
