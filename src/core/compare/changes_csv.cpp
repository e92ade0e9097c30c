#include "core/compare/changes_csv.h"

namespace qor::compare {

void appendChangeRow(std::string& out, const ChangeView& change, output::CsvValues values) {
    const std::string_view fields[] = {
        change.typeName(), change.designation, changeKindName(change.kind),
        change.parameter,  change.oldValue,    change.newValue};
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) {
            out += ',';
        }
        first = false;
        output::appendCsvField(out, field, values);
    }
    out += "\r\n";
}

void writeChangesCsv(const ChangeList& changes, platform::ResultFile& file,
                     output::CsvValues values) {
    file.write(kChangesCsvHeader);
    file.write("\r\n");
    std::string row;
    changes.read([&](std::size_t, const ChangeView& change) {
        row.clear();
        appendChangeRow(row, change, values);
        file.write(row);
    });
}

}  // namespace qor::compare
