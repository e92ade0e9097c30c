#include "core/elements/element_table.h"

#include <limits>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/elements/arena_fields.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

// The field of `column` in rows of `type`, or -1 when the type has none.
int fieldOf(scan::ElementType type, bool cabinetColumns, const Column& column) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    const int boxes = static_cast<int>(info.parameters.size());
    switch (column.kind) {
        case ColumnKind::Designation:
            return 0;
        case ColumnKind::Parameter:
            for (int box = 0; box < boxes; ++box) {
                if (scan::equalsNoCase(info.parameters[static_cast<std::size_t>(box)],
                                       column.parameter)) {
                    return box + 1;
                }
            }
            return -1;
        case ColumnKind::Cabinet:
            return cabinetColumns && info.channel ? boxes + 1 : -1;
        case ColumnKind::Module:
            return cabinetColumns && info.channel ? boxes + 2 : -1;
        default:
            return -1;
    }
}

}  // namespace

std::string_view columnHeading(const Column& column) {
    switch (column.kind) {
        case ColumnKind::Designation:
            return "DESIGNATION";
        case ColumnKind::Parameter:
            return column.parameter;
        case ColumnKind::Cabinet:
            return "CABINET";
        case ColumnKind::Module:
            return "MODULE";
        case ColumnKind::Type:
            return "TYPE";
        case ColumnKind::Node:
            return "NODE";
        case ColumnKind::File:
            return "FILE";
    }
    return {};
}

std::vector<Column> typeColumns(scan::ElementType type, bool cabinetColumns,
                                const scan::TypeOptions* selected) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    std::vector<Column> columns{{ColumnKind::Designation, {}}};
    for (std::size_t box = 0; box < info.parameters.size(); ++box) {
        if (selected == nullptr || selected->parameters[box]) {
            columns.push_back({ColumnKind::Parameter, info.parameters[box]});
        }
    }
    if (cabinetColumns && info.channel) {
        columns.push_back({ColumnKind::Cabinet, {}});
        columns.push_back({ColumnKind::Module, {}});
    }
    return columns;
}

std::size_t ElementTable::fieldCount(RowIndex row) const {
    const scan::ElementTypeInfo& info = scan::elementType(records_[row].type);
    return 1 + info.parameters.size() + (cabinetColumns_ && info.channel ? 2 : 0);
}

std::string_view ElementTable::field(RowIndex row, std::size_t index) const {
    if (index >= fieldCount(row)) {
        return {};
    }
    const ElementRecord& record = records_[row];
    const std::string_view arena = arenas_[record.file];
    auto at = static_cast<std::size_t>(record.offset);
    std::string_view text = nextField(arena, at);
    for (std::size_t i = 0; i < index; ++i) {
        text = nextField(arena, at);
    }
    return text;
}

std::size_t ElementTable::fields(RowIndex row, RowFields& out) const {
    const std::size_t count = fieldCount(row);
    const ElementRecord& record = records_[row];
    const std::string_view arena = arenas_[record.file];
    auto at = static_cast<std::size_t>(record.offset);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = nextField(arena, at);
    }
    return count;
}

int ElementTable::fieldIndex(scan::ElementType type, const Column& column) const {
    return fieldOf(type, cabinetColumns_, column);
}

std::string_view ElementTable::cell(RowIndex row, const Column& column) const {
    const ElementRecord& record = records_[row];
    switch (column.kind) {
        case ColumnKind::Type:
            return scan::elementType(record.type).name;
        case ColumnKind::Node:
            return files_[record.file].nodeNumber;
        case ColumnKind::File:
            return files_[record.file].path;
        default: {
            const int index = fieldOf(record.type, cabinetColumns_, column);
            return index < 0 ? std::string_view{} : field(row, static_cast<std::size_t>(index));
        }
    }
}

std::vector<RowIndex> ElementTable::rowsOfType(scan::ElementType type) const {
    std::vector<RowIndex> rows;
    rows.reserve(typeCounts_[scan::indexOf(type)]);
    for (std::size_t row = 0; row < records_.size(); ++row) {
        if (records_[row].type == type) {
            rows.push_back(static_cast<RowIndex>(row));
        }
    }
    return rows;
}

std::vector<RowIndex> ElementTable::allRows() const {
    std::vector<RowIndex> rows(records_.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row] = static_cast<RowIndex>(row);
    }
    return rows;
}

std::uint32_t ElementTable::addFile(ExportFile file, std::string arena) {
    if (files_.size() >= std::numeric_limits<std::uint32_t>::max()) {
        throw QorError(translate("ElementTable", "Too many exports for one element table."));
    }
    files_.push_back(std::move(file));
    arenas_.push_back(std::move(arena));
    return static_cast<std::uint32_t>(files_.size() - 1);
}

void ElementTable::addRecords(std::span<const ElementRecord> records) {
    if (records.size() > std::numeric_limits<RowIndex>::max() - records_.size()) {
        throw QorError(translate("ElementTable", "Too many elements for one element table."));
    }
    records_.insert(records_.end(), records.begin(), records.end());
    for (const ElementRecord& record : records) {
        ++typeCounts_[scan::indexOf(record.type)];
    }
}

void ElementTable::append(ElementTable&& other) {
    const auto shift = static_cast<std::uint32_t>(files_.size());
    if (files_.empty() && records_.empty()) {
        cabinetColumns_ = other.cabinetColumns_;
    }
    for (std::size_t i = 0; i < other.files_.size(); ++i) {
        addFile(std::move(other.files_[i]), std::move(other.arenas_[i]));
    }
    if (shift != 0) {
        for (ElementRecord& record : other.records_) {
            record.file += shift;
        }
    }
    if (records_.empty()) {
        records_ = std::move(other.records_);
        typeCounts_ = other.typeCounts_;
    } else {
        addRecords(other.records_);
    }
    other = ElementTable();
}

std::size_t ElementTable::memoryBytes() const {
    std::size_t bytes = records_.capacity() * sizeof(ElementRecord);
    for (const std::string& arena : arenas_) {
        bytes += arena.capacity();
    }
    return bytes;
}

}  // namespace qor::elements
