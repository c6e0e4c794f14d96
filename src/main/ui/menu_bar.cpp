#include "main/ui/menu_bar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include "widgets/vb_widgets.h"

namespace zeko::ui {

namespace {

using E = MenuEntry;

constexpr MenuEntry kMainMenus[] = {
    {"", "mnuFile", "&File", "", E::kMenu | E::kNamed},
    {"mnuFile", "mnuFileData", "Screen Shot &Config", "", E::kItem},
    {"mnuFile", "mnuFileData", "&Screen Shot", "Ctrl+P", E::kItem},
    {"mnuFile", "mnuFileData", "-", "", E::kItem},
    {"mnuFile", "mnuFileData", "&HTML && CSS Dump", "Ctrl+S", E::kItem},
    {"mnuFile", "mnuFileData", "HTML &Dump", "", E::kItem},
    {"mnuFile", "mnuFileData", "-", "", E::kItem},
    {"mnuFile", "mnuFileData", "E&xit", "Ctrl+X", E::kItem},

    {"", "mnuVamp", "&Vampire", "", E::kMenu | E::kNamed},
    {"mnuVamp", "mnuVampData", "&Create Vampire", "Ctrl+N", E::kItem},
    {"mnuVamp", "mnuVampData", "&Edit Vampire", "", E::kItem},
    {"mnuVamp", "mnuVampData", "Delete Vampire", "", E::kItem},

    {"", "mnuOptions", "&Options", "", E::kMenu | E::kNamed},
    {"mnuOptions", "mnuOptZoom", "Zoom", "", E::kMenu | E::kNamed},
    {"mnuOptZoom", "mnuZoomData", "3x3", "F3", E::kItem},
    {"mnuOptZoom", "mnuZoomData", "5x5", "F5", E::kItem},
    {"mnuOptZoom", "mnuZoomData", "7x7", "F7", E::kItem},
    {"mnuOptZoom", "mnuZoomData", "9x9", "F9", E::kItem},
    {"mnuOptZoom", "mnuZoomData", "11x11", "F11", E::kItem},
    {"mnuOptions", "mnuOptNav", "Navigation Lines", "", E::kMenu | E::kNamed},
    {"mnuOptNav", "mnuNavData", "Bank Line", "", E::kItem},
    {"mnuOptNav", "mnuNavData", "PubLine", "", E::kItem},
    {"mnuOptNav", "mnuNavData", "Transit Line", "", E::kItem},
    {"mnuOptNav", "mnuNavData", "Destination Line", "", E::kItem},
    {"mnuOptions", "mnuOptData", "&Auto-Nav", "", E::kMenu},
    {"mnuOptData(0)", "mnuAutoNavData", "Standard", "", E::kItem},
    {"mnuOptData(0)", "mnuAutoNavData", "Precognition", "", E::kItem},
    {"mnuOptions", "mnuOptData", "&Form Layout", "", E::kItem},
    {"mnuOptions", "mnuOptData", "Graphical Map?", "", E::kItem},
    {"mnuOptions", "mnuOptData", "ToolBar?", "", E::kItem},

    {"", "mnuTools", "&Tools", "", E::kMenu | E::kNamed},
    {"mnuTools", "mnuToolsData", "Shopping List Generator", "", E::kItem},
    {"mnuTools", "mnuToolsData", "Skill Information", "", E::kItem},
    {"mnuTools", "mnuToolsData", "-", "", E::kItem},
    {"mnuTools", "mnuToolsData", "Emoticon Tutorial", "", E::kItem},
    {"mnuTools", "mnuToolsData", "-", "", E::kHidden},
    {"mnuTools", "mnuToolsData", "Browser Navigation", "", E::kMenu | E::kHidden},
    {"mnuToolsData(5)", "mnuWBdata", "Back", "Ctrl+Z", E::kItem},
    {"mnuToolsData(5)", "mnuWBdata", "Forward", "Ctrl+Y", E::kItem},
    {"mnuToolsData(5)", "mnuWBdata", "Refresh", "Ctrl+R", E::kItem},

    {"", "mnuSkills", "&Skills", "", E::kMenu | E::kNamed},
    {"mnuSkills", "mnuSkillsData", "Buying a skill (How to / how much)", "", E::kItem},
    {"mnuSkills", "mnuSkillsData", "Buy a skill / power!!!", "", E::kItem},

    {"", "mnuLinks", "&Links", "", E::kMenu | E::kNamed},
    {"mnuLinks", "mnuLinksData", "&Official Z.E.K.O.\xC2\xB2 Home Page", "", E::kItem},
    {"mnuLinks", "mnuLinksData", "", "", E::kHidden},
    {"mnuLinks", "mnuLinksData", "", "", E::kHidden},

    {"", "mnuHelp", "&Help", "", E::kMenu | E::kNamed},
    {"mnuHelp", "mnuHelpData", "&About", "F2", E::kItem},
    {"mnuHelp", "mnuHelpData", "-", "", E::kItem},
    {"mnuHelp", "mnuHelpData", "&Contents", "F1", E::kItem},
    {"mnuHelp", "mnuHelpData", "What's New!", "", E::kItem},
    {"mnuHelp", "mnuHelpData", "-", "", E::kItem},
    {"mnuHelp", "mnuHelpData", "How To Play", "", E::kItem},
    {"mnuHelp", "mnuHelpData", "FAQ", "", E::kItem},
};

}  // namespace

std::span<const MenuEntry> main_menu_table() {
    return kMainMenus;
}

MenuBar::MenuBar(QMainWindow& window, std::span<const MenuEntry> table, Clicked clicked)
    : QObject(&window) {
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    std::map<QString, QMenu*> menus;
    for (const MenuEntry& e : table) {
        const QString array = QLatin1String(e.name);
        std::vector<QAction*>* items = nullptr;
        QString name = array;
        if (!(e.flags & E::kNamed)) {
            items = &arrays_[array];
            name = indexed(e.name, static_cast<int>(items->size()));
        }
        const int index = items != nullptr ? static_cast<int>(items->size()) : -1;
        QMenu* parent = *e.parent ? menus.at(QLatin1String(e.parent)) : nullptr;
        const QString caption = QString::fromUtf8(e.caption);
        QAction* action = nullptr;
        if (e.flags & E::kMenu) {
            QMenu* menu = parent != nullptr ? parent->addMenu(caption) : bar->addMenu(caption);
            menu->setObjectName(name);
            menus[name] = menu;
            action = menu->menuAction();
            // A submenu of an array is "clicked" each time it opens.
            if (items != nullptr)
                connect(menu, &QMenu::aboutToShow, this,
                        [clicked, array, index] { clicked(array, index); });
        } else if (caption == QLatin1String("-")) {
            action = parent->addSeparator();
        } else {
            action = parent->addAction(caption);
            action->setShortcut(QKeySequence(QLatin1String(e.keys)));
            connect(action, &QAction::triggered, this, [action, clicked, array, index](bool) {
                if (action->isCheckable()) {
                    const QSignalBlocker block(action);
                    action->setChecked(!action->isChecked());
                }
                clicked(array, index);
            });
        }
        action->setObjectName(name);
        if (e.flags & E::kHidden) action->setVisible(false);
        if (items != nullptr) items->push_back(action);
    }
}

QAction* MenuBar::item(const QString& array, int index) const {
    return arrays_.at(array).at(static_cast<size_t>(index));
}

void MenuBar::set_ticked(QAction* item, bool ticked) {
    // A checkable item shows the style's empty box when unticked; a classic menu shows
    // nothing there.
    item->setCheckable(ticked);
    item->setChecked(ticked);
}

bool MenuBar::ticked(const QAction* item) {
    return item->isChecked();
}

}  // namespace zeko::ui
