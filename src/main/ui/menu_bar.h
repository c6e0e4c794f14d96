#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <span>
#include <vector>

class QAction;
class QMainWindow;

namespace zeko::ui {

// One entry of the main window's menu tree. `parent` is the objectName of the menu it lies in
// ("" for the menu bar). An entry that opens a menu has kMenu; an entry of a control array
// takes its index in the array into its objectName ("mnuFileData(3)"), one with kNamed keeps
// its name as it is. "-" makes a separator. Check marks are set by the program as it applies
// the settings (MenuBar::set_ticked), not by the table.
struct MenuEntry {
    enum Flags : unsigned { kItem = 0, kMenu = 1, kNamed = 2, kHidden = 8 };
    const char* parent;
    const char* name;
    const char* caption;  // UTF-8
    const char* keys;
    unsigned flags;
};

// The main window's menu tree.
std::span<const MenuEntry> main_menu_table();

// Builds a menu tree from a table into a window's menu bar and keeps its control arrays. A
// click of an array's entry (and the opening of an array's submenu) reaches `clicked` with
// the array's name and the index. Check marks are the program's to set: a click does not
// tick or untick an item by itself, and an unticked item shows nothing beside it.
class MenuBar final : public QObject {
    Q_OBJECT
  public:
    using Clicked = std::function<void(const QString& array, int index)>;

    MenuBar(QMainWindow& window, std::span<const MenuEntry> table, Clicked clicked);

    // Entry `index` of a control array.
    QAction* item(const QString& array, int index) const;
    // The ticks of items that carry check marks.
    static void set_ticked(QAction* item, bool ticked);
    static bool ticked(const QAction* item);

  private:
    std::map<QString, std::vector<QAction*>> arrays_;
};

}  // namespace zeko::ui
