#pragma once

#include <string>
#include <string_view>

namespace qor::platform {

// The per-user settings store: section, then key, then one text value, all under the
// application name ".QOR Reader". Reading an absent key yields the caller's default;
// absence is never an error. Write failures are not reported.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::string value(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const = 0;
    virtual void setValue(std::string_view section, std::string_view key,
                          std::string_view value) = 0;
    // Removes the section with all its keys.
    virtual void removeSection(std::string_view section) = 0;
};

}  // namespace qor::platform
