#include "core/compare/changes_csv.h"

#include "core/output/csv_output.h"

namespace qor::compare {

void appendChangeRow(std::string& out, const ChangeView& change) {
    const std::string_view fields[] = {
        change.typeName(), change.designation, changeKindName(change.kind),
        change.parameter,  change.oldValue,    change.newValue};
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) {
            out += ',';
        }
        first = false;
        output::appendCsvField(out, field);
    }
    out += "\r\n";
}

void writeChangesCsv(const ChangeList& changes, platform::ResultFile& file) {
    file.write(kChangesCsvHeader);
    file.write("\r\n");
    std::string row;
    changes.read([&](std::size_t, const ChangeView& change) {
        row.clear();
        appendChangeRow(row, change);
        file.write(row);
    });
}

}  // namespace qor::compare
