#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class QAction;
class QMenu;

#include "core/platform/path_names.h"

namespace qor::platform {
class SettingsStore;
}

namespace qor::gui {

inline constexpr int kRecentSlots = 5;

// The caption of the menu entry `number` (from 1) of `menu` for `text`, a path or a window's
// title: "&1 " and the text, elided in the middle when longer than about sixty characters of
// the menu's font or half its screen, with any "&" in it shown as it is.
QString numberedMenuText(const QMenu& menu, int number, const QString& text);

// Whether two entries of the list name one file: by their canonical paths, without regard to
// case or separator where the system has none (Windows).
bool sameRecentFile(const QString& a, const QString& b,
                    const platform::PathRules& rules = platform::shownPathRules());

// The "Recent Files" list in the File menu: up to five files, the newest first, then "Clear
// List". A slot is in use when its item is visible; its caption is the file's path, elided in
// the middle when long (the full path is its tooltip).
class RecentFilesMenu {
public:
    RecentFilesMenu(QMenu& menu, const std::array<QAction*, kRecentSlots>& recentSlots);

    // Puts a path at the top: the entry naming the same file (sameRecentFile) goes, the others
    // move down and, with all slots in use, the last drops out. Shown with the system's
    // separators.
    void addRecentFile(const QString& path);

    // Takes a slot out of the list; the slots below it move up.
    void remove(int slot);
    // Empties the list; the menu hides until a file is listed again.
    void clear();

    // Slot 1..5; nothing when the slot is not in use.
    std::optional<QString> path(int slot) const;
    int count() const { return static_cast<int>(files_.size()); }

    // Keys "1", "2", ... of "MRUFiles", the newest first, up to the first empty one.
    void load(const platform::SettingsStore& store);
    // The files to keys "1".."n"; the keys after those are emptied up to the last one this
    // run read or wrote, so that entries taken out do not come back; keys beyond stay as
    // they are.
    void save(platform::SettingsStore& store) const;

private:
    void show();

    QMenu& menu_;
    std::array<QAction*, kRecentSlots> slots_;
    QStringList files_;
    int keysInUse_ = 0;
};

}  // namespace qor::gui
