#pragma once

#include <QRect>

#include "core/platform/settings_store.h"

class QWidget;

namespace qor::gui {

// The main window's place and size between runs, as Qt's saved geometry (the normal size, the
// maximised state, the screen). A store of an earlier version holds a position and size in
// twips (1/1440 inch) instead: those are read until the first save, and never written.
// Whatever is read is put wholly on the available part of the window's screen, frame included;
// a geometry saved at another scale or on a larger screen gives the first-run placement.
void restorePlacement(QWidget& window, const platform::SettingsStore& store);
// Stores the window's geometry; a minimised window leaves the stored one as it was.
void savePlacement(const QWidget& window, platform::SettingsStore& store);

// Where a first run puts the main window: two thirds of the screen's free area, in its middle.
QRect defaultPlacement(const QRect& available);
// `wanted` moved and, where it must, shrunk so that it lies wholly on `available`: a placement
// stored on another monitor or at another scale comes back where it can be reached.
QRect placeOnScreen(const QRect& wanted, const QRect& available);

}  // namespace qor::gui
