#include "core/checks/findings_file.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/output/xlsx_workbook.h"
#include "core/platform/file_system.h"
#include "core/platform/folder_handle.h"
#include "core/platform/result_file.h"

namespace qor::checks {
namespace {

constexpr output::HeadingStyle kHeadingStyle{0xFFFF00, true};
constexpr double kWidestColumn = 60;
constexpr std::size_t kColumns = 8;

std::string titleSuffix() {
    return "  :  " + translate("FindingsFile", "Checks");
}

// The eight columns of a row, in the header's order.
std::array<std::string_view, kColumns> columnsOf(const FindingRow& row, const std::string& line) {
    return {
        row.file,   line, row.node, row.type, row.designation, row.id, severityName(row.severity),
        row.message};
}

}  // namespace

void appendFindingCsv(std::string& out, const FindingRow& row, output::CsvValues values) {
    const std::string line = std::to_string(row.line);
    const std::array<std::string_view, kColumns> columns = columnsOf(row, line);
    for (std::size_t i = 0; i < kColumns; ++i) {
        if (i > 0) {
            out += ',';
        }
        output::appendCsvField(out, columns[i], values);
    }
}

bool writeFindingsCsv(std::span<const Finding> findings, const CheckInput& input,
                      const std::string& path, UserInterface& ui) {
    const output::NamedFile destination = output::askBeforeReplacingFile(path, titleSuffix(), ui);
    if (!destination.placement) {
        return false;
    }
    platform::ResultFile file;
    file.open(destination.folder, destination.name);
    std::string text(kFindingsCsvHeader);
    text += "\r\n";
    for (const Finding& finding : findings) {
        appendFindingCsv(text, findingRow(finding, input, Wording::English));
        text += "\r\n";
        if (text.size() >= (std::size_t{1} << 18)) {
            file.write(text);
            text.clear();
        }
    }
    file.write(text);
    file.commit(*destination.placement);
    return true;
}

bool writeFindingsWorkbook(std::span<const Finding> findings, const CheckInput& input,
                           const std::string& path, UserInterface& ui, std::time_t created) {
    if (static_cast<std::int64_t>(findings.size()) + 1 > output::kMaxSheetRows) {
        throw QorError(
            fillIn(translate("FindingsFile",
                             "A workbook sheet holds %1 rows: the %2 findings shown "
                             "do not fit. Narrow them down, or write a CSV file."),
                   {std::to_string(output::kMaxSheetRows - 1), std::to_string(findings.size())}));
    }
    const std::string workbookPath = output::xlsxFilePath(path);
    const output::NamedFile destination =
        output::askBeforeReplacingFile(workbookPath, titleSuffix(), ui);
    if (!destination.placement) {
        return false;
    }
    output::XlsxWorkbook book(destination.folder, {"Findings"}, created);
    std::array<double, kColumns> widths{};
    std::string scratch;
    std::size_t column = 0;
    for (std::size_t start = 0; start <= kFindingsCsvHeader.size(); ++column) {
        const std::size_t end =
            std::min(kFindingsCsvHeader.find(',', start), kFindingsCsvHeader.size());
        const std::string_view heading = kFindingsCsvHeader.substr(start, end - start);
        book.write(0, 1, static_cast<int>(column + 1), heading, &kHeadingStyle);
        widths[column] = static_cast<double>(heading.size()) + 4;
        start = end + 1;
    }
    std::int64_t sheetRow = 2;
    for (const Finding& finding : findings) {
        const FindingRow row = findingRow(finding, input, Wording::English);
        const std::string line = std::to_string(row.line);
        const std::array<std::string_view, kColumns> columns = columnsOf(row, line);
        for (std::size_t i = 0; i < kColumns; ++i) {
            if (i == 1) {
                book.writeNumber(0, sheetRow, 2, static_cast<double>(row.line), 0);
            } else {
                book.write(0, sheetRow, static_cast<int>(i + 1),
                           output::cellText(columns[i], scratch));
            }
            widths[i] = std::max(widths[i], static_cast<double>(columns[i].size()) + 1);
        }
        ++sheetRow;
    }
    for (std::size_t i = 0; i < kColumns; ++i) {
        book.setColumnWidth(0, static_cast<int>(i + 1), static_cast<int>(i + 1),
                            std::min(widths[i], kWidestColumn));
    }
    book.freezeRows(0, 1);
    book.setAutofilter(0, 1, sheetRow - 1, static_cast<int>(kColumns));
    book.save(destination.folder.pathOf(destination.name), *destination.placement);
    return true;
}

}  // namespace qor::checks
