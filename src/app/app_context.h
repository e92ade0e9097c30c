#pragma once

#include <QString>

#include "core/date_time.h"
#include "core/user_interface.h"
#include "output/session.h"
#include "output/workbook_output.h"
#include "platform/gui/desktop.h"
#include "platform/settings_store.h"
#include "platform/window_search.h"

namespace qor::app {

// What the application's windows share: the session state, the settings store, the
// message boxes, the desktop, the clock and what start-up found out. One per run; the
// windows hold a reference, tests build their own.
struct AppContext {
    output::Session& session;
    platform::SettingsStore& store;
    UserInterface& boxes;
    platform::Desktop& desktop;
    const Clock& clock;
    const platform::WindowTree& windows;
    output::ExcelInstallation excel;
    QString programFolder;      // the folder that holds the program file
    QString documentationPage;  // the product's documentation, opened by "on the WEB..."
};

}  // namespace qor::app
