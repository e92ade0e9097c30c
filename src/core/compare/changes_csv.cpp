#include "core/compare/changes_csv.h"

#include <array>
#include <utility>

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
                     output::CsvValues values, const ExportEncoding& oldEncoding,
                     const ExportEncoding& newEncoding) {
    file.write(kChangesCsvHeader);
    file.write("\r\n");
    const bool decode = oldEncoding.encoding != newEncoding.encoding;
    std::string row;
    std::array<std::string, 4> texts;
    changes.read([&](std::size_t, const ChangeView& change) {
        row.clear();
        if (!decode) {
            appendChangeRow(row, change, values);
        } else {
            const ExportEncoding& own =
                change.kind == ChangeKind::Removed ? oldEncoding : newEncoding;
            const std::pair<std::string_view, const ExportEncoding*> fields[] = {
                {change.designation, &own},
                {change.parameter, &own},
                {change.oldValue, &oldEncoding},
                {change.newValue, &newEncoding}};
            for (std::size_t i = 0; i < texts.size(); ++i) {
                texts[i].clear();
                appendAsUtf8(texts[i], fields[i].first, *fields[i].second);
            }
            ChangeView decoded = change;
            decoded.designation = texts[0];
            decoded.parameter = texts[1];
            decoded.oldValue = texts[2];
            decoded.newValue = texts[3];
            appendChangeRow(row, decoded, values);
        }
        file.write(row);
    });
}

}  // namespace qor::compare
