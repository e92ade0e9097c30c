#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/cabinet_row.h"

namespace qor::options {

// What a line of a cabinet-module import file gives.
enum class ImportVerdict {
    Row,            // a cabinet and a module: taken
    Conflict,       // a module an earlier line gave another cabinet: taken, and the later
                    // line labels its channels, as in the table
    Heading,        // the first line names the columns (it holds CABINET and MODULE): skipped
                    // unless asked for
    Semicolons,     // one field that ";" splits into a cabinet and a module: taken only when
                    // asked for
    Duplicate,      // the same cabinet and module as an earlier line: adds nothing
    OneField,       // no pair: never taken
    TooManyFields,  // more than a cabinet and a module
    EmptyField,     // a cabinet or a module that is empty
    OpenQuote,      // a quote that no quote closes: the rest of the file would be its field
    NotText,        // bytes no text file holds (NUL and other control characters)
};

// One line of an import file that holds anything (a quoted field may run over several).
struct ImportLine {
    std::size_t line = 0;  // its first line's number, from 1
    std::string text;      // as read
    scan::CabinetRow row;  // the pair it gives, upper-cased (Row, Conflict, Heading,
                           // Semicolons, Duplicate)
    ImportVerdict verdict = ImportVerdict::Row;
    std::size_t earlierLine = 0;  // Duplicate, Conflict: the line it repeats or contradicts
    std::string earlierCabinet;   // Conflict: the cabinet that line gave the module
};

// What the person chose for the lines an import does not take on its own.
struct ImportChoices {
    bool skipHeading = true;
    bool takeSemicolonPairs = false;
};

// Whether the import takes the line's row with these choices.
bool takes(const ImportLine& line, const ImportChoices& choices);

// An import file read line by line: each line that holds a cabinet, a comma and a module gives
// one row, so that a line that does not can never shift the pairs after it. Fields end at a
// comma or at the end of their line; leading spaces and tabs are skipped; a quoted field runs
// to the next quote (commas and line ends inside are kept, anything after the closing quote up
// to the delimiter is dropped); an unquoted field loses its trailing spaces; values are
// upper-cased. A UTF-8 byte-order mark at the start and lines of nothing but spaces and tabs
// are skipped.
struct CabinetImport {
    std::vector<ImportLine> lines;

    // The rows the import takes, in file order.
    std::vector<scan::CabinetRow> rows(const ImportChoices& choices = {}) const;
    // The first line that cannot be read as a cabinet and a module (OneField, TooManyFields,
    // EmptyField, OpenQuote, NotText or Semicolons), or nothing.
    const ImportLine* firstMalformed() const;
};

CabinetImport parseCabinetImport(std::string_view text);

// Why a line gives no row, or what its row does, as a person reads it; empty for a Row.
std::string verdictText(const ImportLine& line);

}  // namespace qor::options
