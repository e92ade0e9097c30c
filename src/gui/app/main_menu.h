#pragma once

#include <QHash>
#include <QString>
#include <span>

class QAction;
class QMenu;
class QMenuBar;

namespace qor::gui {

enum class MenuKind { TopLevel, Command, Check, Separator, Submenu };

// One row of the main window's menu: the items are addressed by key; the main window
// connects each command item to its slot.
struct MenuItemDefinition {
    const char* key;
    const char* parent;
    const char* caption;
    MenuKind kind;
    const char* shortcut;
    int image;  // image list number, 0 for none
    bool visibleAtLoad;
};

// The items in creation order.
std::span<const MenuItemDefinition> mainMenuTable();

// The menu bar built from the table.
class MainMenu {
public:
    explicit MainMenu(QMenuBar& bar);

    // The item with this key; null for an unknown key.
    QAction* item(const QString& key) const;
    QMenu* menu(const QString& key) const;

private:
    QHash<QString, QAction*> items_;
    QHash<QString, QMenu*> menus_;
};

}  // namespace qor::gui
