#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/text_encoding.h"
#include "core/scan/element_types.h"
#include "core/scan/type_options.h"

namespace qor::elements {

// A row of an element table. Tables hold at most 2^32 - 1 elements.
using RowIndex = std::uint32_t;

// The most fields a row has: designation, eight parameter boxes, cabinet, module.
inline constexpr std::size_t kMaxFields = 1 + scan::kMaxParameterBoxes + 2;
using RowFields = std::array<std::string_view, kMaxFields>;

// One export whose elements a table holds.
struct ExportFile {
    std::string path;
    std::string nodeNumber;       // raw bytes of the export, read under `encoding`
    std::string nodeDescription;  // raw bytes of the export, read under `encoding`
    ExportEncoding encoding;      // how every text of this export is shown (appendAsUtf8)
};

// One element: where it is and where its texts lie. Fixed size; its texts are fields in its
// file's byte arena (the designation, every parameter box in the type table's order, then the
// cabinet and the module when the table carries cabinet columns and the type has channels).
struct ElementRecord {
    std::uint64_t offset = 0;  // of its first field in its file's arena
    std::uint64_t line = 0;    // of its header line in the export, from 1
    std::uint32_t file = 0;    // index into ElementTable::files()
    scan::ElementType type = scan::ElementType::AI;
    // Bit f: field f (0 the designation, then the parameter boxes) went on past the characters
    // the reader keeps, so that it holds the value cut.
    std::uint16_t cutFields = 0;
};
static_assert(sizeof(ElementRecord) == 24);

// What a column of an element table shows.
enum class ColumnKind {
    Designation,
    Parameter,  // one parameter, named by Column::parameter
    Cabinet,    // only channel types of a table with cabinet columns
    Module,     // only channel types of a table with cabinet columns
    Type,
    Node,  // node number of the element's export
    File,  // path of the element's export
};

struct Column {
    ColumnKind kind = ColumnKind::Designation;
    // The parameter's name as the type table spells it ("NAME", "DESCR"); a column of this name
    // shows, for every type that has such a parameter (ASCII case ignored), its value.
    std::string_view parameter;

    bool operator==(const Column&) const = default;
};

// The heading of a column as output files spell it: the parameter's name, or "DESIGNATION",
// "CABINET", "MODULE", "TYPE", "NODE", "FILE". Windows show their own translated headings.
std::string_view columnHeading(const Column& column);

// The columns of one type: the designation, its parameters in the type table's order (only
// the boxes `selected` enables, when given: "Selected Parameters Only"), then cabinet and
// module for a channel type when `cabinetColumns`.
std::vector<Column> typeColumns(scan::ElementType type, bool cabinetColumns,
                                const scan::TypeOptions* selected = nullptr);

// The elements of any number of exports, in few allocations: one byte arena per export and
// one fixed-size record per element. Rows are ordered by file (as loaded: sorted by path),
// then by header line, then by type order. Immutable once loaded; safe to read from many
// threads.
class ElementTable {
public:
    ElementTable() = default;

    std::size_t rowCount() const { return records_.size(); }
    const ElementRecord& record(RowIndex row) const { return records_[row]; }
    std::span<const ElementRecord> records() const { return records_; }

    const std::vector<ExportFile>& files() const { return files_; }
    const ExportFile& fileOf(RowIndex row) const { return files_[records_[row].file]; }
    // The byte arena of a file: its rows' fields back to back (see arena_fields.h), each row
    // starting at its record's offset.
    std::string_view arena(std::uint32_t file) const { return arenas_[file]; }

    // Whether channel types carry cabinet and module fields (a cabinet table was given).
    bool cabinetColumns() const { return cabinetColumns_; }

    // The raw bytes of a row's fields: 0 the designation, 1..n parameter box n, then cabinet
    // and module (see ElementRecord). Empty for a field the row does not have.
    std::string_view field(RowIndex row, std::size_t index) const;
    std::size_t fieldCount(RowIndex row) const;
    std::string_view designation(RowIndex row) const { return field(row, 0); }
    // Every field of the row at once (cheaper than field() one by one); returns their count.
    std::size_t fields(RowIndex row, RowFields& out) const;
    // The field `column` shows in rows of `type`, or -1 for a column that is no field (Type,
    // Node, File) or that the type lacks.
    int fieldIndex(scan::ElementType type, const Column& column) const;

    // The raw bytes the row shows in `column` (the type's name for Type, node number for Node,
    // path for File); empty when the row's type has no such column.
    std::string_view cell(RowIndex row, const Column& column) const;

    // How many rows each type has, indexed by scan::indexOf(type).
    const std::array<std::size_t, scan::kElementTypeCount>& typeCounts() const {
        return typeCounts_;
    }
    // The rows of one type, in table order.
    std::vector<RowIndex> rowsOfType(scan::ElementType type) const;
    // Every row, in table order.
    std::vector<RowIndex> allRows() const;

    // Building, for the loaders: a file and its arena, then its records (file index = the
    // index the file got; offsets into that arena).
    std::uint32_t addFile(ExportFile file, std::string arena);
    void addRecords(std::span<const ElementRecord> records);
    void setCabinetColumns(bool on) { cabinetColumns_ = on; }
    // Moves the files and rows of `other` behind this table's (its file indices shifted).
    void append(ElementTable&& other);

    // Bytes held (arenas and records), for measurements.
    std::size_t memoryBytes() const;

private:
    std::vector<ExportFile> files_;
    std::vector<std::string> arenas_;  // one per file
    std::vector<ElementRecord> records_;
    std::array<std::size_t, scan::kElementTypeCount> typeCounts_{};
    bool cabinetColumns_ = false;
};

}  // namespace qor::elements
