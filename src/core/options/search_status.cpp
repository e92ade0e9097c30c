#include "core/options/search_status.h"

#include <algorithm>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/options/settings_table.h"
#include "core/options/value_conversion.h"

namespace qor::options {

std::size_t SearchStatusTable::positionOf(scan::ElementType type) {
    const auto& order = scan::statusOrder();
    return static_cast<std::size_t>(std::find(order.begin(), order.end(), type) - order.begin()) +
           1;
}

bool SearchStatusTable::anyEnabled() const {
    return std::any_of(values_.begin() + 1, values_.end(), [](int v) { return v != 0; });
}

SearchStatusTable SearchStatusTable::readFrom(const platform::SettingsStore& store,
                                              UserInterface& ui) {
    SearchStatusTable table;
    for (const scan::ElementType type : scan::statusOrder()) {
        runStep(ui, "modMain", "SearchStatus", [&] {
            const std::string text =
                settings::enableSearch(scan::elementType(type)).readFrom(store);
            const auto value = textToInteger(text);
            if (!value) {
                throw QorError("Type mismatch: the stored EnableSearch value '" + text + "' of " +
                               std::string(scan::elementType(type).name) + " is not a number");
            }
            if (*value < -32768 || *value > 32767) {
                throw QorError("Overflow: the stored EnableSearch value '" + text + "' of " +
                               std::string(scan::elementType(type).name) + " is too large");
            }
            table.setValue(type, static_cast<int>(*value));
        });
    }
    return table;
}

}  // namespace qor::options
