#pragma once

#include <memory>

#include "cli/command_line.h"
#include "cli/terminal_ui.h"
#include "core/platform/qt_settings_store.h"

namespace qor::cli {

// The store named by --settings, checked (a missing file is created empty and said so, an
// unknown key pointed out), or the per-user store; a value Qt could not read is said. Throws
// QorError for a store that cannot be used.
std::unique_ptr<platform::QtSettingsStore> openStore(const CommandLine& line, TerminalUi& ui);
// The same, the failure said on the terminal: null then.
std::unique_ptr<platform::QtSettingsStore> openStoreOrSayWhy(const CommandLine& line,
                                                             TerminalUi& ui);

// Whether the result folder can be opened; the default one, the Documents folder, is made
// first when missing. A folder that cannot be used is said on the terminal.
bool resultFolderUsableOrSayWhy(const std::string& folder, TerminalUi& ui);

}  // namespace qor::cli
