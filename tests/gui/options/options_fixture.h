#pragma once

#include <memory>
#include <string>

#include "core/output/session.h"
#include "core/output/workbook_output.h"
#include "gui/options/options_dialog.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "support/widget_lookup.h"

namespace qor::testing {

// What the options dialog needs, scripted, with a store whose result folder is a folder of
// the test's own.
struct OptionsFixture {
    TempDir folder;
    output::Session session;
    testing::MemorySettingsStore store;
    ScriptedUi ui;
    FakeDesktop desktop;
    output::ExcelInstallation excel{true, "libxlsxwriter 1.1.5"};

    OptionsFixture() { store.setValue("Settings", "ScanResultFolderPath", folder.str()); }

    std::unique_ptr<gui::OptionsDialog> open(platform::SettingsStore* other = nullptr) {
        return std::make_unique<gui::OptionsDialog>(session, other != nullptr ? *other : store, ui,
                                                    desktop, excel, nullptr);
    }
};

}  // namespace qor::testing
