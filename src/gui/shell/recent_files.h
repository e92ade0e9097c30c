#pragma once

#include <QString>
#include <array>
#include <optional>

class QAction;

namespace qor::platform {
class SettingsStore;
}

namespace qor::gui {

inline constexpr int kRecentSlots = 5;

// The "Recent Files" list in the File menu: five slots, those in use always a prefix. A slot
// is in use when its item is visible; its caption is the file's full path.
class RecentFilesMenu {
public:
    RecentFilesMenu(QAction& recentMenu, const std::array<QAction*, kRecentSlots>& recentSlots);

    // Enters a path: an identical path (case matters) leaves the list as it is; otherwise
    // the first free slot takes it, or, when all are in use, it goes to slot 1 and the rest
    // move down, the last dropping out.
    void addRecentFile(const QString& path);

    // Takes a slot out of the list; the slots below it move up.
    void remove(int slot);

    // Slot 1..5; nothing when the slot is not in use.
    std::optional<QString> path(int slot) const;
    int count() const;

    // Keys "1", "2", ... of "MRUFiles", up to the first empty one.
    void load(const platform::SettingsStore& store);
    // The slots in use to keys "1".."5"; keys of free slots are left as they are, except that
    // the keys of entries removed in this run are emptied, so they do not come back.
    void save(platform::SettingsStore& store) const;

private:
    void setSlot(int index, const QString& path);

    QAction& recentMenu_;
    std::array<QAction*, kRecentSlots> slots_;
    int removed_ = 0;
};

}  // namespace qor::gui
