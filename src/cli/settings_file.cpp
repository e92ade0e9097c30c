#include "cli/settings_file.h"

#include "core/base/qor_error.h"
#include "core/options/settings_table.h"
#include "core/platform/result_file.h"

namespace qor::cli {

std::unique_ptr<platform::QtSettingsStore> openStore(const CommandLine& line, TerminalUi& ui) {
    if (!line.settingsFile) {
        return std::make_unique<platform::QtSettingsStore>(platform::QtSettingsStore::userStore());
    }
    const bool existed = platform::entryExists(*line.settingsFile);
    auto store = std::make_unique<platform::QtSettingsStore>(
        platform::QtSettingsStore::checkedIniFile(*line.settingsFile));
    ui.setCurrentFile(*line.settingsFile);
    if (!existed) {
        ui.printNote("no such settings file: created it empty");
    }
    for (const auto& [section, key] : store->entries()) {
        if (!options::isKnownSetting(section, key)) {
            ui.printNote("unknown setting '" + key + "' in section [" + section +
                         "] is ignored (misspelt?)");
        }
    }
    ui.setCurrentFile({});
    return store;
}

std::unique_ptr<platform::QtSettingsStore> openStoreOrSayWhy(const CommandLine& line,
                                                             TerminalUi& ui) {
    try {
        return openStore(line, ui);
    } catch (const QorError& e) {
        ui.printError(e.what());
        return nullptr;
    }
}

}  // namespace qor::cli
