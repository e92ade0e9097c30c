#pragma once

#include <array>

#include "core/base/user_interface.h"
#include "core/platform/settings_store.h"
#include "core/scan/element_types.h"

namespace qor::options {

// The saved "EnableSearch" value of each type, in the order of the statistics window.
class SearchStatusTable {
public:
    // 1-based position of a type in the table (AI 1, AO 2, AIC 3, ..., DAT(R) 14).
    static std::size_t positionOf(scan::ElementType type);

    int value(scan::ElementType type) const { return values_[positionOf(type)]; }
    void setValue(scan::ElementType type, int value) { values_[positionOf(type)] = value; }
    // The scan command needs some type with a non-zero value.
    bool anyEnabled() const;
    // The statistics show a count only for a value of exactly 1.
    bool shownAsEnabled(scan::ElementType type) const { return value(type) == 1; }

    // The table from the store ("EnableSearch" of each type's section, default 0). A value
    // that is not a 16-bit integer is reported with the standard error message and its entry
    // stays 0.
    static SearchStatusTable readFrom(const platform::SettingsStore& store, UserInterface& ui);

private:
    std::array<int, scan::kElementTypeCount + 1> values_{};  // index 0 unused
};

}  // namespace qor::options
