#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "core/platform/settings_store.h"

namespace qor::platform {

// A settings store held in memory, for tests and for runs that must leave no trace.
// Names match exactly, as in the INI files the Linux build writes.
class MemorySettingsStore : public SettingsStore {
public:
    std::string value(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const override;
    void setValue(std::string_view section, std::string_view key, std::string_view value) override;
    void removeSection(std::string_view section) override;

    bool contains(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;
    // Number of keys in the section; 0 for an absent one.
    std::size_t keyCount(std::string_view section) const;

private:
    using Keys = std::map<std::string, std::string, std::less<>>;
    std::map<std::string, Keys, std::less<>> sections_;
};

}  // namespace qor::platform
