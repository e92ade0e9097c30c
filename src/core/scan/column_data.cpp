#include "core/scan/column_data.h"

#include <algorithm>

namespace qor::scan {

ColumnData buildColumnData(const ElementTypeInfo& type, const TypeOptions& options, bool labelled) {
    const std::size_t boxes = type.parameters.size();
    std::vector<std::string> entries(boxes + (labelled ? 3 : 1));
    std::size_t position = 0;
    if (labelled) {
        entries[position++] = "CABINET,";
        entries[position++] = "MODULE,";
    }
    entries[position++] = "CHANNEL,";
    for (std::size_t box = 0; box < boxes; ++box) {
        if (options.parameters[box]) {
            entries[position++] = std::string(type.parameters[box]) + ",";
        }
    }
    ColumnData data;
    data.headerLine.clear();
    for (const std::string& entry : entries) {
        data.headerLine += entry;
    }
    data.columnCount = static_cast<int>(position);
    data.columns = withoutCommas(entries);
    if (!type.channel) {
        data.columns[0] = "ITEM NUMBER";  // heads the first column of sheets and pages
    }
    return data;
}

std::vector<std::string> withoutCommas(const std::vector<std::string>& list) {
    std::vector<std::string> copy = list;
    for (std::string& entry : copy) {
        entry.erase(std::remove(entry.begin(), entry.end(), ','), entry.end());
    }
    return copy;
}

}  // namespace qor::scan
