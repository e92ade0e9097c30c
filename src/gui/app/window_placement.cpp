#include "gui/app/window_placement.h"

#include <QString>

#include "core/options/settings_table.h"

namespace qor::gui {
namespace {

using options::Setting;
namespace settings = options::settings;

void read(const platform::SettingsStore& store, const Setting& setting, double& field) {
    bool ok = false;
    const double value = QString::fromStdString(setting.readFrom(store)).toFloat(&ok);
    if (ok) {
        field = value;
    }
}

void write(platform::SettingsStore& store, const Setting& setting, double twips) {
    setting.writeTo(store, QString::number(static_cast<float>(twips)).toStdString());
}

}  // namespace

WindowPlacement WindowPlacement::readFrom(const platform::SettingsStore& store) {
    WindowPlacement placement;
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
}

}  // namespace qor::gui
