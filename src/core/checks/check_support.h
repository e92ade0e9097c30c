#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/checks/check.h"

// What several checks share: numbers, field lookups, message wording, and rows grouped by an
// equal field.
namespace qor::checks {

// A number, as the CSV guard and the Elements window's sorting read one: an optional sign,
// digits with at most one decimal point (at least one digit), an optional exponent. Values
// are trimmed when read, so nothing else may surround it.
std::optional<double> numberValue(std::string_view text);

// The field of `parameter` ("RANGEMAX") in rows of `type`, or -1 when the type has none.
int parameterField(const elements::ElementTable& table, scan::ElementType type,
                   std::string_view parameter);
// The field of NAME (every type has one; it is the first box).
inline constexpr std::size_t kNameField = 1;

// `text` with ASCII letters folded, as the cabinet labelling compares modules.
std::string foldedText(std::string_view text);

// `english` as the wording asks: itself, or its translation in the "Checks" context. The
// texts are marked for the translators where they are written (QT_TRANSLATE_NOOP).
std::string wordsOf(const char* english, Wording wording);
// A text of an export as UTF-8, read as that export is read.
std::string shownText(std::string_view bytes, const elements::ExportFile& file);
// A row's field as UTF-8.
std::string shownField(const elements::ElementTable& table, elements::RowIndex row,
                       std::size_t field);

// Calls visit(row) for every row, looking at `cancel` now and then: returns early once set.
template <typename Visit>
void forEachRow(const elements::ElementTable& table, const std::atomic<bool>& cancel, Visit visit) {
    for (elements::RowIndex row = 0; row < table.rowCount(); ++row) {
        if ((row & 0xFFFF) == 0 && cancel.load(std::memory_order_relaxed)) {
            return;
        }
        visit(row);
    }
}

// The range of an element whose type has RANGEMAX and RANGEMIN (AI, AO).
struct RangeFields {
    std::string_view max;
    std::string_view min;
    std::uint32_t maxField = 0;
    std::uint32_t minField = 0;
};
template <typename Visit>
void forEachRange(const elements::ElementTable& table, const std::atomic<bool>& cancel,
                  Visit visit) {
    std::array<RangeFields, scan::kElementTypeCount> fieldsOf{};
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        const int max = parameterField(table, info.type, "RANGEMAX");
        const int min = parameterField(table, info.type, "RANGEMIN");
        if (max > 0 && min > 0) {
            fieldsOf[scan::indexOf(info.type)] = {
                {}, {}, static_cast<std::uint32_t>(max), static_cast<std::uint32_t>(min)};
        }
    }
    elements::RowFields fields;
    forEachRow(table, cancel, [&](elements::RowIndex row) {
        RangeFields range = fieldsOf[scan::indexOf(table.record(row).type)];
        if (range.maxField != 0) {
            table.fields(row, fields);
            range.max = fields[range.maxField];
            range.min = fields[range.minField];
            visit(row, range);
        }
    });
}

// A finding for every element of a type with `parameter` whose value is empty.
void findEmptyParameter(const elements::ElementTable& table, std::string_view parameter,
                        FindingList& out, const std::atomic<bool>& cancel);

// Rows that share a field's bytes: the rows of each group in table order, groups in no
// particular order. Rows whose field is empty belong to no group, and nor does a row whose key
// no other row shares.
struct KeyGroups {
    std::vector<elements::RowIndex> rows;
    std::vector<std::size_t> ends;  // group g is rows[ends[g-1] (0 for g = 0), ends[g])

    std::size_t size() const { return ends.size(); }
    std::size_t begin(std::size_t group) const { return group == 0 ? 0 : ends[group - 1]; }
};
// Groups by the field's bytes; with `perExport`, rows of different exports never share one.
KeyGroups groupEqualFields(const elements::ElementTable& table, std::size_t field, bool perExport,
                           const std::atomic<bool>& cancel);

// For each element that shares its group's key with another element of its export: a finding
// whose `other` is the first such element and `count` how many there are. Elements read from
// one header line (a line that is the header of two types) count as one.
void findWithinExports(const elements::ElementTable& table, const KeyGroups& groups,
                       FindingList& out);

// "AI AI800_1.2": a row's type and designation, as messages name an element.
std::string elementName(const elements::ElementTable& table, elements::RowIndex row);

// What the checks of one run share, worked out by the first check that asks.
class SharedWork {
public:
    const KeyGroups& nameGroups(const elements::ElementTable& table,
                                const std::atomic<bool>& cancel);

private:
    std::once_flag nameOnce_;
    KeyGroups names_;
};

// The NAME groups of the input: shared with the other checks of the run when it has them.
const KeyGroups& nameGroups(const CheckInput& input, KeyGroups& own,
                            const std::atomic<bool>& cancel);

}  // namespace qor::checks
