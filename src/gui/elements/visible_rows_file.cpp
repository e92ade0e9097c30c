#include "gui/elements/visible_rows_file.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/output/cell_number.h"
#include "core/output/csv_output.h"
#include "core/output/xlsx_workbook.h"
#include "core/platform/file_system.h"
#include "core/platform/folder_handle.h"
#include "core/platform/result_file.h"

namespace qor::gui {
namespace {

using elements::ColumnKind;

constexpr output::HeadingStyle kHeadingStyle{0xFFFF00, true};
constexpr double kWidestColumn = 60;

std::string titleSuffix() {
    return "  :  " + translate("VisibleRowsFile", "Elements");
}

// Whether every export of the table is read in one encoding: its bytes then need no change.
bool oneEncoding(const elements::ElementTable& table) {
    const auto& files = table.files();
    return std::all_of(files.begin(), files.end(), [&](const elements::ExportFile& file) {
        return file.encoding.encoding == files.front().encoding.encoding;
    });
}

// The cell of `row` in `column` in UTF-8, as its export's decision reads it (a path and a type
// name are taken as they are).
std::string_view utf8Cell(const elements::ElementTable& table, elements::RowIndex row,
                          const elements::Column& column, std::string& scratch) {
    const std::string_view bytes = table.cell(row, column);
    if (column.kind == ColumnKind::File || column.kind == ColumnKind::Type) {
        return bytes;
    }
    scratch.clear();
    appendAsUtf8(scratch, bytes, table.fileOf(row).encoding);
    return scratch;
}

}  // namespace

bool writeVisibleRowsCsv(const VisibleRows& visible, const std::string& path, UserInterface& ui) {
    const output::NamedFile destination = output::askBeforeReplacingFile(path, titleSuffix(), ui);
    if (!destination.placement) {
        return false;
    }
    const bool keepBytes = oneEncoding(visible.table);
    platform::ResultFile file;
    file.open(destination.folder, destination.name);
    std::string line;
    std::string scratch;
    for (std::size_t i = 0; i < visible.columns.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        output::appendCsvField(line, elements::columnHeading(visible.columns[i]));
    }
    line += "\r\n";
    file.write(line);
    for (const elements::RowIndex row : visible.rows) {
        line.clear();
        for (std::size_t i = 0; i < visible.columns.size(); ++i) {
            if (i > 0) {
                line += ',';
            }
            output::appendCsvField(
                line, keepBytes ? visible.table.cell(row, visible.columns[i])
                                : utf8Cell(visible.table, row, visible.columns[i], scratch));
        }
        line += "\r\n";
        file.write(line);
    }
    file.commit(*destination.placement);
    return true;
}

bool writeVisibleRowsWorkbook(const VisibleRows& visible, const std::string& path,
                              UserInterface& ui, std::time_t created) {
    if (static_cast<std::int64_t>(visible.rows.size()) + 1 > output::kMaxSheetRows) {
        throw QorError(fillIn(
            translate("VisibleRowsFile",
                      "A workbook sheet holds %1 rows: the %2 elements shown "
                      "do not fit. Narrow them down, or write a CSV file."),
            {std::to_string(output::kMaxSheetRows - 1), std::to_string(visible.rows.size())}));
    }
    const std::string workbookPath = output::xlsxFilePath(path);
    const output::NamedFile destination =
        output::askBeforeReplacingFile(workbookPath, titleSuffix(), ui);
    if (!destination.placement) {
        return false;
    }
    output::XlsxWorkbook book(destination.folder, {"Elements"}, created);
    std::vector<double> widths(visible.columns.size());
    std::string scratch;
    std::string text;
    const auto cellText = [&](std::string_view utf8) { return output::cellText(utf8, text); };
    for (std::size_t i = 0; i < visible.columns.size(); ++i) {
        const std::string_view heading = elements::columnHeading(visible.columns[i]);
        book.write(0, 1, static_cast<int>(i + 1), cellText(heading), &kHeadingStyle);
        widths[i] = static_cast<double>(heading.size()) + 4;
    }
    std::int64_t sheetRow = 2;
    for (const elements::RowIndex row : visible.rows) {
        for (std::size_t i = 0; i < visible.columns.size(); ++i) {
            const std::string_view value =
                utf8Cell(visible.table, row, visible.columns[i], scratch);
            const int column = static_cast<int>(i + 1);
            if (const std::optional<output::CellNumber> number = output::plainDecimal(value)) {
                book.writeNumber(0, sheetRow, column, number->value, number->decimals);
            } else {
                book.write(0, sheetRow, column, cellText(value));
            }
            widths[i] = std::max(widths[i], static_cast<double>(value.size()) + 1);
        }
        ++sheetRow;
    }
    const int lastColumn = static_cast<int>(visible.columns.size());
    for (int column = 1; column <= lastColumn; ++column) {
        book.setColumnWidth(0, column, column,
                            std::min(widths[static_cast<std::size_t>(column - 1)], kWidestColumn));
    }
    book.freezeRows(0, 1);
    book.setAutofilter(0, 1, sheetRow - 1, lastColumn);
    book.save(destination.folder.pathOf(destination.name), *destination.placement);
    return true;
}

}  // namespace qor::gui
