#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/platform/settings_store.h"

class QSettings;

namespace qor::platform {

// The settings store over QSettings. Sections are INI groups ("[Settings]") and keys are
// used exactly as given, so sections and keys must not contain '/' or '\' (QSettings reads
// them as group separators). Values are UTF-8 texts: they are converted with
// QString::fromUtf8 and back with toUtf8, so invalid UTF-8 sequences do not survive.
// Every write is flushed to disk at once: qorscan may end without unwinding to here.
// Needs no QCoreApplication.
class QtSettingsStore : public SettingsStore {
public:
    // The per-user store of ".QOR Reader": an INI file under the user's config folder on
    // Linux; on Windows the registry key HKEY_CURRENT_USER\Software\VB and VBA Program
    // Settings\.QOR Reader, where earlier versions kept them. Machine-wide settings are not
    // consulted.
    static QtSettingsStore userStore();
    // An INI file at `path` (UTF-8), created with its folder on the first write.
    static QtSettingsStore iniFile(const std::string& path);
    // An INI file that must be usable as it is: a missing file is created empty (its folder
    // must exist); a folder, a file that cannot be read, binary data or text that is not INI
    // throw QorError naming the file and the cause.
    static QtSettingsStore checkedIniFile(const std::string& path);
    // Where userStore() keeps its settings: a file path or a registry path.
    static std::string userStoreLocation();

    QtSettingsStore(QtSettingsStore&&) noexcept;
    QtSettingsStore& operator=(QtSettingsStore&&) noexcept;
    ~QtSettingsStore() override;

    std::string value(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const override;
    void setValue(std::string_view section, std::string_view key, std::string_view value) override;
    void removeSection(std::string_view section) override;

    // The file (or registry path) this store works on.
    std::string location() const;
    // Every stored key as section and key, in the store's order.
    std::vector<std::pair<std::string, std::string>> entries() const;
    // Qt's words for each stored value it could not read when the store was opened (such a
    // value reads as absent); for the caller to report, as Qt's own output is not shown.
    const std::vector<std::string>& unreadableValues() const { return unreadable_; }

private:
    explicit QtSettingsStore(std::unique_ptr<QSettings> settings);

    std::unique_ptr<QSettings> settings_;
    std::vector<std::string> unreadable_;
};

}  // namespace qor::platform
