#include "gui/shell/window_placement.h"

#include <algorithm>
#include <cmath>

#include "core/options/settings_table.h"

namespace qor::gui {
namespace {

using options::Setting;
namespace settings = options::settings;

// Whole twips: a fraction of one is far below a pixel.
void read(const platform::SettingsStore& store, const Setting& setting, double& field) {
    if (const auto twips = setting.readIntegerFrom(store)) {
        field = static_cast<double>(*twips);
    }
}

void write(platform::SettingsStore& store, const Setting& setting, double twips) {
    setting.writeIntegerTo(store, std::llround(twips));
}

}  // namespace

WindowPlacement WindowPlacement::readFrom(const platform::SettingsStore& store) {
    WindowPlacement placement;
    placement.stored = !settings::kMainWidth.readFrom(store, "").empty();
    placement.maximized = settings::kMainMaximized.readBooleanFrom(store).value_or(false);
    read(store, settings::kMainLeft, placement.left);
    read(store, settings::kMainTop, placement.top);
    read(store, settings::kMainWidth, placement.width);
    read(store, settings::kMainHeight, placement.height);
    return placement;
}

void WindowPlacement::writeTo(platform::SettingsStore& store) const {
    write(store, settings::kMainLeft, left);
    write(store, settings::kMainTop, top);
    write(store, settings::kMainWidth, width);
    write(store, settings::kMainHeight, height);
    settings::kMainMaximized.writeBooleanTo(store, maximized);
}

QRect defaultPlacement(const QRect& available) {
    const QSize size(available.width() * 2 / 3, available.height() * 2 / 3);
    return QRect(available.topLeft() + QPoint((available.width() - size.width()) / 2,
                                              (available.height() - size.height()) / 2),
                 size);
}

QRect placeOnScreen(const QRect& wanted, const QRect& available) {
    QRect placed(wanted.topLeft(), wanted.size().boundedTo(available.size()));
    placed.moveLeft(
        std::clamp(placed.left(), available.left(), available.right() - placed.width() + 1));
    placed.moveTop(
        std::clamp(placed.top(), available.top(), available.bottom() - placed.height() + 1));
    return placed;
}

}  // namespace qor::gui
