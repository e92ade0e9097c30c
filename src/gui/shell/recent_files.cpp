#include "gui/shell/recent_files.h"

#include <QAction>
#include <algorithm>
#include <string>

#include "core/options/settings_table.h"
#include "core/platform/settings_store.h"

namespace qor::gui {
namespace {

QString menuText(QString path) {
    // A path is shown as it is: an "&" in it must not become a keyboard mnemonic.
    return path.replace('&', "&&");
}

}  // namespace

RecentFilesMenu::RecentFilesMenu(QAction& recentMenu,
                                 const std::array<QAction*, kRecentSlots>& recentSlots)
    : recentMenu_(recentMenu), slots_(recentSlots) {}

void RecentFilesMenu::setSlot(int index, const QString& path) {
    slots_[index]->setData(path);
    // Numbered, so that a digit opens the entry from the keyboard.
    slots_[index]->setText(QString("&%1 %2").arg(index + 1).arg(menuText(path)));
    slots_[index]->setVisible(true);
}

std::optional<QString> RecentFilesMenu::path(int slot) const {
    if (slot < 1 || slot > kRecentSlots || !slots_[slot - 1]->isVisible()) {
        return std::nullopt;
    }
    return slots_[slot - 1]->data().toString();
}

int RecentFilesMenu::count() const {
    int used = 0;
    while (used < kRecentSlots && slots_[used]->isVisible()) {
        ++used;
    }
    return used;
}

void RecentFilesMenu::addRecentFile(const QString& path) {
    recentMenu_.setVisible(true);
    const int used = count();
    for (int i = 0; i < used; ++i) {
        if (slots_[i]->data().toString() == path) {
            return;
        }
    }
    if (used < kRecentSlots) {
        setSlot(used, path);
        return;
    }
    for (int i = kRecentSlots - 1; i > 0; --i) {
        setSlot(i, slots_[i - 1]->data().toString());
    }
    setSlot(0, path);
}

void RecentFilesMenu::remove(int slot) {
    const int used = count();
    if (slot < 1 || slot > used) {
        return;
    }
    for (int i = slot - 1; i + 1 < used; ++i) {
        setSlot(i, slots_[i + 1]->data().toString());
    }
    slots_[used - 1]->setVisible(false);
    slots_[used - 1]->setData(QString());
    recentMenu_.setVisible(used > 1);
    ++removed_;
}

void RecentFilesMenu::load(const platform::SettingsStore& store) {
    for (int i = 1;; ++i) {
        const QString value = QString::fromStdString(options::settings::kRecentFile.readFrom(
                                                         store, static_cast<std::size_t>(i)))
                                  .trimmed();
        if (value.isEmpty()) {
            break;
        }
        addRecentFile(value);
    }
}

void RecentFilesMenu::save(platform::SettingsStore& store) const {
    for (int slot = 1; slot <= kRecentSlots; ++slot) {
        if (const auto value = path(slot)) {
            options::settings::kRecentFile.writeTo(store, static_cast<std::size_t>(slot),
                                                   value->toStdString());
        }
    }
    for (int slot = count() + 1; slot <= std::min(kRecentSlots, count() + removed_); ++slot) {
        options::settings::kRecentFile.writeTo(store, static_cast<std::size_t>(slot), "");
    }
}

}  // namespace qor::gui
