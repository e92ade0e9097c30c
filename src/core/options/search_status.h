#pragma once

#include <array>

#include "core/base/user_interface.h"
#include "core/platform/settings_store.h"
#include "core/scan/element_types.h"

namespace qor::options {

// The saved "EnableSearch" value of each type, in the order of the statistics window.
class SearchStatusTable {
public:
    int value(scan::ElementType type) const { return values_[indexOf(type)]; }
    void setValue(scan::ElementType type, int value) { values_[indexOf(type)] = value; }
    // The scan command needs some enabled type; the statistics show a count only for one.
    // Both read 1 as enabled, as the options record's box does, so none can contradict another.
    bool anyEnabled() const;
    bool shownAsEnabled(scan::ElementType type) const { return value(type) == 1; }

    // The table from the store ("EnableSearch" of each type's section, default 1 in a fresh
    // store and 0 in any other, see settings::typeDefaultsOf), read as the options record reads
    // the box: 1 for a checked box, 0 otherwise. A value that is no box state is reported with
    // the standard error message and its entry stays 0.
    static SearchStatusTable readFrom(const platform::SettingsStore& store, UserInterface& ui);

private:
    // Where a type's value is: its place in the statistics order (AI 0, AO 1, ..., DAT(R) 13).
    static std::size_t indexOf(scan::ElementType type);

    std::array<int, scan::kElementTypeCount> values_{};
};

}  // namespace qor::options
