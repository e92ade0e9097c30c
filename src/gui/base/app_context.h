#pragma once

#include <QString>

#include "core/base/date_time.h"
#include "core/base/user_interface.h"
#include "core/output/session.h"
#include "core/output/workbook_output.h"
#include "core/platform/settings_store.h"
#include "gui/base/desktop.h"

namespace qor::gui {

// What the application's windows share: the session state, the settings store, the
// message boxes, the desktop, the clock and what start-up found out. One per run; the
// windows hold a reference, tests build their own.
struct AppContext {
    output::Session& session;
    platform::SettingsStore& store;
    UserInterface& boxes;
    Desktop& desktop;
    const Clock& clock;
    QString documentationPage;  // the user guide (userGuidePage), for Help Contents
    QString projectPage = {};   // the project's web page, for "on the WEB..."; may be empty
};

}  // namespace qor::gui
