#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/compare_selection.h"
#include "core/scan/element_parser.h"

namespace qor::compare {

// One element as a comparison keeps it, read back from the bytes a RecordFormatter wrote: the
// item designation, every parameter box's value (box k at index k - 1) and the element's other
// lines, each followed by LF.
struct ElementRecord {
    std::string_view designation;
    std::array<std::string_view, scan::kMaxParameterBoxes> values{};
    std::string_view otherLines;
};

// Writes a finished element as a record: the size of its fields, then each field's length and
// bytes. Records of a type follow each other with nothing between them.
class RecordFormatter : public scan::RowFormatter {
public:
    explicit RecordFormatter(std::size_t boxes = 0) : boxes_(boxes) {}
    void format(const scan::ElementRowView& row, std::string& out) const override;

private:
    std::size_t boxes_;
};

// The length-prefixed field at `at` (a 7-bit length, low bits first, then the bytes); `at`
// moves past it.
std::string_view readField(std::string_view bytes, std::size_t& at);

// The record that starts at `at` in `bytes`, for a type of `boxes` parameter boxes; `at` moves
// past it. The bytes must be what RecordFormatter wrote.
ElementRecord readRecord(std::string_view bytes, std::size_t& at, std::size_t boxes);
// Only the designation of the record that starts at `at`.
std::string_view readDesignation(std::string_view bytes, std::size_t at);
// The bytes of the record that starts at `at`, read from its start.
std::size_t recordSize(std::string_view bytes, std::size_t at);

// What the element parser reads for a comparison: every compared type with all its parameter
// boxes (whatever of them is compared, so that a line holding any box is never an "other
// line") and its other lines, written as records.
class RecordPlan {
public:
    explicit RecordPlan(const CompareSelection& selection);

    // The compared types in reading order; a chunk's results come in this order.
    const std::vector<scan::ElementType>& types() const { return types_; }
    // A plan for the element parser; the formatters belong to this object.
    std::vector<scan::TypePlan> parserPlan() const;

private:
    std::vector<scan::ElementType> types_;
    std::array<RecordFormatter, scan::kElementTypeCount> formatters_;
};

}  // namespace qor::compare
