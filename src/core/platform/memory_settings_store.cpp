#include "core/platform/memory_settings_store.h"

namespace qor::platform {

std::string MemorySettingsStore::value(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    const auto s = sections_.find(section);
    if (s == sections_.end()) {
        return std::string(defaultValue);
    }
    const auto k = s->second.find(key);
    return k == s->second.end() ? std::string(defaultValue) : k->second;
}

void MemorySettingsStore::setValue(std::string_view section, std::string_view key,
                                   std::string_view value) {
    auto s = sections_.find(section);
    if (s == sections_.end()) {
        s = sections_.emplace(std::string(section), Keys{}).first;
    }
    s->second.insert_or_assign(std::string(key), std::string(value));
}

void MemorySettingsStore::removeSection(std::string_view section) {
    const auto s = sections_.find(section);
    if (s != sections_.end()) {
        sections_.erase(s);
    }
}

bool MemorySettingsStore::contains(std::string_view section, std::string_view key) const {
    const auto s = sections_.find(section);
    return s != sections_.end() && s->second.find(key) != s->second.end();
}

bool MemorySettingsStore::hasSection(std::string_view section) const {
    return sections_.find(section) != sections_.end();
}

std::size_t MemorySettingsStore::keyCount(std::string_view section) const {
    const auto s = sections_.find(section);
    return s == sections_.end() ? 0 : s->second.size();
}

}  // namespace qor::platform
