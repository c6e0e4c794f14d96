#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "common/prompts.h"
#include "common/services.h"
#include "map/vamp_db.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zeko {

class ProgramState;

namespace ui {

// Shows help at a topic, modally over the calling window `owner`.
using HelpHook = std::function<void(int topic, QWidget* owner)>;

// What `frmVAMP_NEW` and `frmVAMP_EDIT` share: the same controls at the same places, the
// colours and the login box's click. Each dialog lives only while it is shown.
class FrmVampBase : public QDialog {
    Q_OBJECT
  public:
    QLineEdit* txtHANDLE() const { return txtHANDLE_; }
    QLineEdit* txtNAME() const { return txtNAME_; }
    QLineEdit* txtPASSWORD() const { return txtPASSWORD_; }
    QCheckBox* chkAutoLog() const { return chkAutoLog_; }
    QPushButton* cmdCOMMAND(int index) const { return cmdCOMMAND_.at(static_cast<size_t>(index)); }

  protected:
    FrmVampBase(ProgramState& state, QWidget* owner, HelpHook help);

    virtual void cmdCOMMAND_Click(int index) = 0;

    // INIT_FORM: the colours and the caption, " Create Vampire..." or " Edit Vampire...".
    void INIT_FORM(const char* caption);
    // A box with the information icon.
    MsgResult tell(std::string_view text, std::string_view title,
                   MsgButtons buttons = MsgButtons::OK);
    // Shows a box for each text its length byte cannot hold; true when all fit.
    bool texts_fit();
    // The three texts and the login box into a record.
    void fill(VAMP& record) const;
    void help(int topic);
    void chkAutoLog_Click();

    ProgramState& state_;
    HelpHook help_;
    std::array<QLabel*, 4> label_{};
    QLineEdit* txtHANDLE_ = nullptr;
    QLineEdit* txtNAME_ = nullptr;
    QLineEdit* txtPASSWORD_ = nullptr;
    QCheckBox* chkAutoLog_ = nullptr;
    std::array<QPushButton*, 3> cmdCOMMAND_{};
};

// `frmVAMP_NEW`: creates a character and makes it the current one.
class FrmVampNew final : public FrmVampBase {
    Q_OBJECT
  public:
    explicit FrmVampNew(ProgramState& state, QWidget* owner = nullptr, HelpHook help = {});

    VAMP NEW_VAMP;
    int16_t NEW_INDEX = 0;

  private:
    void cmdCOMMAND_Click(int index) override;
    // Shows a box for each missing text; true when nothing is missing.
    bool input_complete();
};

// `frmVAMP_EDIT`: changes the current character in memory. Raises subscript out of range
// when there is no current character.
class FrmVampEdit final : public FrmVampBase {
    Q_OBJECT
  public:
    explicit FrmVampEdit(ProgramState& state, QWidget* owner = nullptr, HelpHook help = {});

  private:
    void cmdCOMMAND_Click(int index) override;
};

// The new-character dialog the database loader offers when the file is empty: shown modally
// without an owner.
class NewVampDialog final : public NewCharacterDialog {
  public:
    explicit NewVampDialog(ProgramState& state, HelpHook help = {})
        : state_(state), help_(std::move(help)) {}

    void set_help(HelpHook help) { help_ = std::move(help); }
    void show_modal() override;

  private:
    ProgramState& state_;
    HelpHook help_;
};

}  // namespace ui
}  // namespace zeko
