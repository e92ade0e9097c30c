#pragma once

#include <optional>
#include <string_view>

namespace qor::output {

// A cell text that a spreadsheet can hold as a number and still show exactly as written.
struct CellNumber {
    double value;
    int decimals;  // the digits after the point, which the cell's number format shows
};

// The number `text` is when it is a plain decimal: an optional minus, an integer part without
// leading zeros, an optional point followed by digits (`-?(0|[1-9][0-9]*)(\.[0-9]+)?`), with
// at most 15 digits from the first non-zero one on and at most 15 decimals, and not a negative
// zero. Spreadsheets show no more than 15 significant digits, and within them every such text
// is the shortest text of its double: shown with its decimals it reads exactly as written.
// Anything else ("007", "1e5", "+3", "1.", ".5", "-0.0", longer digit strings) stays text.
std::optional<CellNumber> plainDecimal(std::string_view text);

}  // namespace qor::output
