#pragma once

#include "core/platform/settings_store.h"

namespace qor::gui {

// The main window's stored placement, in twips (1/1440 inch).
struct WindowPlacement {
    double left = 1000;
    double top = 1000;
    double width = 6500;
    double height = 6500;

    // A value that is not a number keeps its default.
    static WindowPlacement readFrom(const platform::SettingsStore& store);
    void writeTo(platform::SettingsStore& store) const;
};

}  // namespace qor::gui
