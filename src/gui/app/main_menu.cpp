#include "gui/app/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <array>

#include "gui/app/icons.h"

namespace qor::gui {
namespace {

using K = MenuKind;

// clang-format off
constexpr std::array kMenu{
    MenuItemDefinition{"keyFile", "", "&File", K::TopLevel, "", 0, true},
    MenuItemDefinition{"keyOpen", "keyFile", "&Open File...", K::Command, "Ctrl+O", 1, true},
    MenuItemDefinition{"keyScanFile", "keyFile", "&Scan File...", K::Command, "F2", 2, true},
    MenuItemDefinition{"keyCompare", "keyFile", "&Compare With...", K::Command, "", 11, true},
    MenuItemDefinition{"keySeparator1", "keyFile", "", K::Separator, "", 0, false},
    MenuItemDefinition{"keyRecent", "keyFile", "Recent &Files", K::Submenu, "", 9, false},
    MenuItemDefinition{"keySeparator2", "keyFile", "", K::Separator, "", 0, false},
    MenuItemDefinition{"keyExit", "keyFile", "E&xit", K::Command, "Alt+Q", 0, true},
    MenuItemDefinition{"keyRecent1", "keyRecent", "null", K::Command, "", 0, false},
    MenuItemDefinition{"keyRecent2", "keyRecent", "null", K::Command, "", 0, false},
    MenuItemDefinition{"keyRecent3", "keyRecent", "null", K::Command, "", 0, false},
    MenuItemDefinition{"keyRecent4", "keyRecent", "null", K::Command, "", 0, false},
    MenuItemDefinition{"keyRecent5", "keyRecent", "null", K::Command, "", 0, false},
    MenuItemDefinition{"keyTools", "", "&Tools", K::TopLevel, "", 0, true},
    MenuItemDefinition{"keyOptions", "keyTools", "&Options...", K::Command, "F3", 3, true},
    MenuItemDefinition{"keyPreviewSearchStatus", "keyTools", "&Preview Search Status...", K::Command, "F4", 4, true},
    MenuItemDefinition{"keyDBStatistic", "keyTools", "&DataBase Element Statistics...", K::Command, "F5", 5, true},
    MenuItemDefinition{"keyShellExecute", "keyTools", "Preview O&utput Files...", K::Command, "F6", 10, true},
    MenuItemDefinition{"keyOpenResultFolder", "keyTools", "Open &Result Folder", K::Command, "", 0, true},
    MenuItemDefinition{"keyView", "", "&View", K::TopLevel, "", 0, true},
    MenuItemDefinition{"keyToolbar", "keyView", "&Toolbar", K::Check, "", 0, true},
    MenuItemDefinition{"keyWindow", "", "&Window", K::TopLevel, "", 0, true},
    MenuItemDefinition{"keyCascade", "keyWindow", "&Cascade", K::Command, "", 0, true},
    MenuItemDefinition{"keyHorizontal", "keyWindow", "Tile &Horizontal", K::Command, "", 0, true},
    MenuItemDefinition{"keyVertical", "keyWindow", "Tile &Vertical", K::Command, "", 0, true},
    MenuItemDefinition{"keyArangeIcons", "keyWindow", "&Arange Icons", K::Command, "", 0, true},
    MenuItemDefinition{"keyHelp", "", "&Help", K::TopLevel, "", 0, true},
    MenuItemDefinition{"keyHelpContents", "keyHelp", "Help &Contents...", K::Command, "F1", 6, true},
    MenuItemDefinition{"", "keyHelp", "", K::Separator, "", 0, true},
    MenuItemDefinition{"keyApplOnTheWEB", "keyHelp", ".QOR Reader on the &WEB...", K::Command, "", 8, true},
    MenuItemDefinition{"", "keyHelp", "", K::Separator, "", 0, true},
    MenuItemDefinition{"keyAbout", "keyHelp", "&About .QOR Reader...", K::Command, "", 0, true},
};
// clang-format on

}  // namespace

std::span<const MenuItemDefinition> mainMenuTable() {
    return kMenu;
}

MainMenu::MainMenu(QMenuBar& bar) {
    for (const MenuItemDefinition& row : kMenu) {
        const QString key = QString::fromLatin1(row.key);
        const QString caption = QString::fromLatin1(row.caption);
        QAction* action = nullptr;
        if (row.kind == MenuKind::TopLevel) {
            QMenu* menu = bar.addMenu(caption);
            menus_.insert(key, menu);
            action = menu->menuAction();
        } else {
            QMenu* parent = menus_.value(QString::fromLatin1(row.parent));
            if (row.kind == MenuKind::Submenu) {
                QMenu* menu = parent->addMenu(caption);
                menus_.insert(key, menu);
                action = menu->menuAction();
            } else if (row.kind == MenuKind::Separator) {
                action = parent->addSeparator();
            } else {
                action = parent->addAction(caption);
                if (row.kind == MenuKind::Check) {
                    action->setCheckable(true);
                }
            }
        }
        if (row.shortcut[0] != '\0') {
            action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        if (row.image != 0) {
            action->setIcon(menuIcon(row.image));
        }
        action->setVisible(row.visibleAtLoad);
        if (!key.isEmpty()) {
            action->setObjectName(key);
            items_.insert(key, action);
        }
    }
}

QAction* MainMenu::item(const QString& key) const {
    return items_.value(key, nullptr);
}

QMenu* MainMenu::menu(const QString& key) const {
    return menus_.value(key, nullptr);
}

}  // namespace qor::gui
