#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "core/platform/settings_store.h"
#include "core/scan/element_types.h"

namespace qor::testing {

// A settings store held in memory: tests and benchmarks leave no trace in the user's settings.
// Names match exactly, as in the INI files the Linux build writes.
class MemorySettingsStore : public platform::SettingsStore {
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

inline std::string MemorySettingsStore::value(std::string_view section, std::string_view key,
                                              std::string_view defaultValue) const {
    const auto s = sections_.find(section);
    if (s == sections_.end()) {
        return std::string(defaultValue);
    }
    const auto k = s->second.find(key);
    return k == s->second.end() ? std::string(defaultValue) : k->second;
}

inline void MemorySettingsStore::setValue(std::string_view section, std::string_view key,
                                          std::string_view value) {
    auto s = sections_.find(section);
    if (s == sections_.end()) {
        s = sections_.emplace(std::string(section), Keys{}).first;
    }
    s->second.insert_or_assign(std::string(key), std::string(value));
}

inline void MemorySettingsStore::removeSection(std::string_view section) {
    const auto s = sections_.find(section);
    if (s != sections_.end()) {
        sections_.erase(s);
    }
}

inline bool MemorySettingsStore::contains(std::string_view section, std::string_view key) const {
    const auto s = sections_.find(section);
    return s != sections_.end() && s->second.find(key) != s->second.end();
}

inline bool MemorySettingsStore::hasSection(std::string_view section) const {
    return sections_.find(section) != sections_.end();
}

inline std::size_t MemorySettingsStore::keyCount(std::string_view section) const {
    const auto s = sections_.find(section);
    return s == sections_.end() ? 0 : s->second.size();
}

// A store that scans nothing: every type off, every box clear.
inline void storeEveryTypeOff(platform::SettingsStore& store) {
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        store.setValue(info.settingsSection, "EnableSearch", "0");
        for (const std::string_view parameter : info.parameters) {
            store.setValue(info.settingsSection, parameter, "0");
        }
    }
}

}  // namespace qor::testing
