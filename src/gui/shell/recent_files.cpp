#include "gui/shell/recent_files.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <algorithm>
#include <string>

#include "core/options/settings_table.h"
#include "core/platform/settings_store.h"

namespace qor::gui {
namespace {

// About sixty characters: a deep path no longer stretches the menu across the screen.
constexpr int kShownCharacters = 60;

QString menuText(const QMenu& menu, int index, const QString& path) {
    const QFontMetrics metrics(menu.font());
    QString shown =
        metrics.elidedText(path, Qt::ElideMiddle, metrics.averageCharWidth() * kShownCharacters);
    // A path is shown as it is: an "&" in it must not become a keyboard mnemonic. Numbered, so
    // that a digit opens the entry from the keyboard.
    return QString("&%1 %2").arg(index + 1).arg(shown.replace('&', "&&"));
}

}  // namespace

RecentFilesMenu::RecentFilesMenu(QMenu& menu, const std::array<QAction*, kRecentSlots>& recentSlots)
    : menu_(menu), slots_(recentSlots) {
    menu_.setToolTipsVisible(true);
}

void RecentFilesMenu::show() {
    for (int i = 0; i < kRecentSlots; ++i) {
        QAction& slot = *slots_[static_cast<std::size_t>(i)];
        const bool used = i < count();
        slot.setVisible(used);
        slot.setData(used ? files_[i] : QString());
        slot.setText(used ? menuText(menu_, i, files_[i]) : QString());
        slot.setToolTip(used ? files_[i] : QString());
    }
    menu_.menuAction()->setVisible(!files_.isEmpty());
    keysInUse_ = std::max(keysInUse_, count());
}

std::optional<QString> RecentFilesMenu::path(int slot) const {
    if (slot < 1 || slot > count()) {
        return std::nullopt;
    }
    return files_[slot - 1];
}

void RecentFilesMenu::addRecentFile(const QString& path) {
    files_.removeAll(path);
    files_.prepend(path);
    while (files_.size() > kRecentSlots) {
        files_.removeLast();
    }
    show();
}

void RecentFilesMenu::remove(int slot) {
    if (slot >= 1 && slot <= count()) {
        files_.removeAt(slot - 1);
        show();
    }
}

void RecentFilesMenu::clear() {
    files_.clear();
    show();
}

void RecentFilesMenu::load(const platform::SettingsStore& store) {
    QStringList stored;
    int read = 0;
    for (int i = 1; i <= kRecentSlots; ++i, ++read) {
        const QString value = QString::fromStdString(options::settings::kRecentFile.readFrom(
                                                         store, static_cast<std::size_t>(i)))
                                  .trimmed();
        if (value.isEmpty()) {
            break;
        }
        if (!stored.contains(value)) {
            stored << value;
        }
    }
    files_ = stored;
    keysInUse_ = read;
    show();
}

void RecentFilesMenu::save(platform::SettingsStore& store) const {
    for (int slot = 1; slot <= keysInUse_; ++slot) {
        options::settings::kRecentFile.writeTo(store, static_cast<std::size_t>(slot),
                                               path(slot).value_or(QString()).toStdString());
    }
}

}  // namespace qor::gui
