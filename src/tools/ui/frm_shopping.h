#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "tools/shopping.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zeko {

class Prompts;

namespace ui {

class ProgramWindows;

// `frmSHOPPING`: the shopping-list generator. One object for the whole run, shown modeless and
// without an owner; closing it keeps the quantities.
class FrmShopping : public QDialog {
    Q_OBJECT
  public:
    FrmShopping(Prompts& prompts, ProgramWindows& windows);

    // Opens the window, or brings it forward when it is open already.
    void show_window();

    void cmdCOMMAND_Click(int index);
    void cboSHOP_Click();
    void cboCHARISMA_Click();
    void lstITEMS_Click();
    void lstITEMS_DblClick();
    void lstBUY_DblClick();

    const tools::ItemTable& items() const { return items_; }
    int32_t total() const { return total_; }

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Load();
    void LOAD_ITEMS();
    void SET_SHOP_COLOURS();
    // The bill or the pawn total for the selected shop.
    void recompute();
    const tools::SHOP* selected_shop() const;
    // The item behind the selected entry of a list; -1 with nothing selected.
    static int selected_item(const QListWidget* list);
    static int selected_row(const QListWidget* list);
    // The count asked for by Add X and Remove X; nothing when the answer is refused.
    std::optional<int32_t> ask_count(std::string_view prompt);

    Prompts& prompts_;
    ProgramWindows& windows_;

    tools::ItemTable items_{};
    tools::ShopTable shops_{};
    bool itemsLoaded_ = false;
    int16_t shopPercent_ = tools::STANDARD_RATE;
    int16_t charismaPercent_ = 100;
    int32_t total_ = 0;

    QListWidget* lstBUY_ = nullptr;
    QListWidget* lstITEMS_ = nullptr;
    std::array<QPushButton*, 8> cmdCOMMAND_{};
    QLabel* Label1_ = nullptr;
    QLabel* lblCOST_ = nullptr;
    QComboBox* cboSHOP_ = nullptr;
    QComboBox* cboCHARISMA_ = nullptr;
    QLabel* lblDESCRIPTION_ = nullptr;
};

}  // namespace ui
}  // namespace zeko
