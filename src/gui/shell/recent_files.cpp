#include "gui/shell/recent_files.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <string>

#include "core/options/settings_table.h"
#include "core/platform/path_names.h"
#include "core/platform/settings_store.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

// About sixty characters, and no more than half a small screen: a deep path no longer
// stretches a menu across the screen.
constexpr int kShownCharacters = 60;

}  // namespace

QString numberedMenuText(const QMenu& menu, int number, const QString& text) {
    const QFontMetrics metrics(menu.font());
    int width = metrics.averageCharWidth() * kShownCharacters;
    if (const QScreen* screen = menu.screen()) {
        width = std::min(width, screen->availableGeometry().width() / 2);
    }
    QString shown = metrics.elidedText(text, Qt::ElideMiddle, width);
    // Numbered, so that a digit chooses the entry from the keyboard (up to 9).
    const QString prefix = number < 10 ? QString("&%1 ").arg(number) : QString("%1 ").arg(number);
    return prefix + shown.replace('&', "&&");
}

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
        const QString shown = used ? shownPath(files_[i]) : QString();
        slot.setText(used ? numberedMenuText(menu_, i + 1, shown) : QString());
        slot.setToolTip(shown);
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

bool sameRecentFile(const QString& a, const QString& b, const platform::PathRules& rules) {
    return platform::samePath(toStdString(a), toStdString(b), rules);
}

void RecentFilesMenu::addRecentFile(const QString& path) {
    files_.removeIf([&path](const QString& listed) { return sameRecentFile(listed, path); });
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
        if (std::ranges::none_of(stored, [&value](const QString& listed) {
                return sameRecentFile(listed, value);
            })) {
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
