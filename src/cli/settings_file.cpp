#include "cli/settings_file.h"

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/options/settings_table.h"
#include "core/platform/folder_handle.h"
#include "core/platform/result_file.h"
#include "core/platform/user_environment.h"

namespace qor::cli {

std::unique_ptr<platform::QtSettingsStore> openStore(const CommandLine& line, TerminalUi& ui) {
    std::unique_ptr<platform::QtSettingsStore> store;
    const bool existed = line.settingsFile && platform::entryExists(*line.settingsFile);
    if (!line.settingsFile) {
        store = std::make_unique<platform::QtSettingsStore>(platform::QtSettingsStore::userStore());
    } else {
        store = std::make_unique<platform::QtSettingsStore>(
            platform::QtSettingsStore::checkedIniFile(*line.settingsFile));
    }
    ui.setCurrentFile(line.settingsFile.value_or(store->location()));
    if (line.settingsFile && !existed) {
        ui.printNote(translate("qorscan", "no such settings file: created it empty"));
    }
    for (const std::string& said : store->unreadableValues()) {
        ui.printNote(fillIn(translate("qorscan",
                                      "a stored value cannot be read and is taken as "
                                      "absent (Qt: %1)"),
                            {said}));
    }
    if (line.settingsFile) {
        for (const auto& [section, key] : store->entries()) {
            if (!options::isKnownSetting(section, key)) {
                ui.printNote(fillIn(translate("qorscan",
                                              "unknown setting '%1' in section [%2] "
                                              "is ignored (misspelt?)"),
                                    {key, section}));
            }
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

bool resultFolderUsableOrSayWhy(const std::string& folder, TerminalUi& ui) {
    platform::createMissingDocumentsFolder(folder);
    try {
        platform::FolderHandle::open(folder);
        return true;
    } catch (const QorError& e) {
        ui.printError(e.what());
        return false;
    }
}

}  // namespace qor::cli
