#pragma once

#include <QString>
#include <memory>
#include <string>

#include "core/output/session.h"
#include "gui/base/app_context.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"
#include "support/temp_dir.h"

namespace qor::testing {

// Everything a main window needs, scripted: a memory store, boxes that record, a desktop
// that answers from a script, a fixed clock and a folder of its own for results.
struct AppFixture {
    TempDir folder;
    output::Session session;
    testing::MemorySettingsStore store;
    ScriptedUi boxes;
    FakeDesktop desktop;
    FixedClock clock{kScanMoment};
    gui::AppContext context{
        session, store, boxes, desktop, clock, {}, "file:///usr/share/doc/qorreader/index.html"};

    std::string samplePath() const { return std::string(QOR_EXAMPLES_DIR) + "/sample.qor"; }
    std::string resultRoot() const { return folder.path().string(); }
};

}  // namespace qor::testing
