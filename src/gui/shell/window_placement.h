#pragma once

#include <QRect>

#include "core/platform/settings_store.h"

namespace qor::gui {

// The main window's stored placement, in twips (1/1440 inch).
struct WindowPlacement {
    double left = 1000;
    double top = 1000;
    double width = 6500;
    double height = 6500;
    bool maximized = false;
    bool stored = false;  // the store held a size; otherwise the window takes defaultPlacement()

    // A value that is not a number keeps its default.
    static WindowPlacement readFrom(const platform::SettingsStore& store);
    void writeTo(platform::SettingsStore& store) const;
};

// Where a first run puts the main window: two thirds of the screen's free area, in its middle.
QRect defaultPlacement(const QRect& available);
// `wanted` moved and, where it must, shrunk so that it lies wholly on `available`: a placement
// stored on another monitor or at another scale comes back where it can be reached.
QRect placeOnScreen(const QRect& wanted, const QRect& available);

}  // namespace qor::gui
