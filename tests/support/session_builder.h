#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/options/search_options.h"
#include "core/output/session.h"
#include "core/scan/text_rules.h"

namespace qor::testing {

inline const DateTime kScanMoment{2026, 12, 4, 10, 11, 12};

// A session as the options dialog and the open command would leave it, for one export file.
inline output::Session makeSession(const std::string& exportPath, const std::string& resultRoot,
                                   options::OutputMode mode = options::OutputMode::CsvFilesOnly) {
    output::Session session;
    session.databasePath = exportPath;
    session.options.outputMode = mode;
    session.options.scanResultFolderPath = resultRoot;
    session.startDateStamp = "04Dec2026";
    return session;
}

inline void rebuildColumns(output::Session& session) {
    session.columns = options::buildAllColumnData(session.options);
}

// Enables a type with the named parameters (every parameter when none are named), as
// saving the options would, and marks it enabled in the search status.
inline void enable(output::Session& session, scan::ElementType type,
                   std::initializer_list<std::string_view> parameters = {}) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    scan::TypeOptions& typeOptions = session.options.of(type);
    typeOptions.enabled = true;
    for (std::size_t box = 0; box < info.parameters.size(); ++box) {
        bool selected = parameters.size() == 0;
        for (const std::string_view name : parameters) {
            selected = selected || scan::equalsNoCase(name, info.parameters[box]);
        }
        typeOptions.parameters[box] = selected;
    }
    session.searchStatus.setValue(type, 1);
    rebuildColumns(session);
}

inline void applyCabinets(output::Session& session, std::initializer_list<scan::CabinetRow> rows) {
    session.options.cabinetTable.rows.assign(rows.begin(), rows.end());
    session.cabinetLabels = session.options.cabinetTable.rows;
    session.options.applyCabinetLabels = true;
    rebuildColumns(session);
}

}  // namespace qor::testing
