#include "core/options/search_status.h"

#include <algorithm>

#include "core/base/message_text.h"
#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/options/settings_table.h"

namespace qor::options {

std::size_t SearchStatusTable::indexOf(scan::ElementType type) {
    const auto& order = scan::statusOrder();
    return static_cast<std::size_t>(std::find(order.begin(), order.end(), type) - order.begin());
}

bool SearchStatusTable::anyEnabled() const {
    return std::any_of(values_.begin(), values_.end(), [](int v) { return v == 1; });
}

SearchStatusTable SearchStatusTable::readFrom(const platform::SettingsStore& store,
                                              UserInterface& ui) {
    SearchStatusTable table;
    const settings::TypeDefaults typeDefaults = settings::typeDefaultsOf(store);
    for (const scan::ElementType type : scan::statusOrder()) {
        runStep(ui, "modMain", "SearchStatus", [&] {
            const Setting setting = settings::enableSearch(scan::elementType(type), typeDefaults);
            const auto enabled = setting.readBooleanFrom(store);
            if (!enabled) {
                throw QorError("Type mismatch: the stored EnableSearch value " +
                               quotedExcerpt(setting.readFrom(store)) + " of " +
                               std::string(scan::elementType(type).name) + " is not 0, 1 or 2");
            }
            table.setValue(type, *enabled ? 1 : 0);
        });
    }
    return table;
}

}  // namespace qor::options
