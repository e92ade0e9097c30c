#pragma once

#include <QtCore/qtestsupport_core.h>
#include <string>

#include "gui/shell/main_window.h"

namespace qor::testing {

// Waits until the open under way in `window` has ended: the export shows, or why not was said,
// or it was cancelled.
inline bool openEnded(const gui::MainWindow& window) {
    // Long enough for the benches' large exports on a busy machine.
    return QTest::qWaitFor([&window] { return !window.opening(); }, 60000);
}

// Opens `path` as the command line does and waits until the open has ended.
inline bool openedByPath(gui::MainWindow& window, const std::string& path) {
    window.openByPath(path);
    return openEnded(window);
}

}  // namespace qor::testing
