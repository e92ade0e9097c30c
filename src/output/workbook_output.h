#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/date_time.h"
#include "core/source_location.h"
#include "output/scan_output.h"
#include "platform/spreadsheet.h"
#include "scan/element_row.h"
#include "scan/node_info.h"

namespace qor::output {

// Excel workbooks: one per element type, or one with a sheet per type.
// The workbooks carry `clock`'s time of the scan as their creation time.
std::unique_ptr<ScanOutput> makeWorkbookOutput(Session& session, UserInterface& ui,
                                               const Clock& clock);

// A file name part the workbook writer accepts: the file-name rule, and also no "[" or "]".
std::string workbookFileNamePart(std::string_view text);

// What ExcelInstalled found. The options dialog shows the version and offers the two Excel
// output choices only when the spreadsheet is installed.
struct ExcelInstallation {
    bool installed = false;
    std::string version;
};
ExcelInstallation ExcelInstalled(UserInterface& ui);

// The column letter of 1 to 17 (A to Q); empty text for any other number.
std::string ReturnColumn(int column);

// Row 1 of every sheet: "System status at:  " + generation date + " ( date of generating
// *.ba file, Node" + node number + " )".
std::string SystemStatusText(const scan::NodeInfo& node);

// The PasteXL module: drives the spreadsheet for the workbook output. Each procedure handles
// its failures as the workbook output's description says: InitExcel, PasteToExcel and
// EndExcel report them with the standard error message and go on; PrepareSheet reports what
// the spreadsheet refuses and passes anything else to its caller.
class PasteXL {
public:
    PasteXL(UserInterface& ui, std::string systemStatusText, std::time_t created = 0);
    ~PasteXL();
    PasteXL(const PasteXL&) = delete;
    PasteXL& operator=(const PasteXL&) = delete;

    // Starts the spreadsheet with a workbook of a single worksheet.
    void InitExcel();
    // Formats rows 1 to 3 of the active sheet for `columnCount` columns.
    void PrepareSheet(int columnCount);
    // Writes the headings (row 3) and one element into `sheetRow` of the active sheet.
    void PasteToExcel(const scan::ElementRow& row, long long sheetRow,
                      const std::vector<std::string>& columns, int lastIndex, bool channelRow);
    // Saves as `fileName` (no extension), closes and quits.
    void EndExcel(const std::string& fileName);
    // EndExcel in two halves, so that the saving can run on another thread. The first asks
    // on this thread whether an existing file may be replaced; false when it is kept (the
    // rest of EndExcel has run then). The second saves, closes and quits without touching
    // the user interface and returns the failures for the caller to report.
    bool EndExcelQuestion(const std::string& fileName);
    std::vector<StandardError> EndExcelSave(const std::string& fileName) noexcept;

    // One workbook for all types: a new sheet before the active one, which it replaces as
    // the active sheet. Throws when it cannot be added.
    void AddWorksheet();
    // Names the active sheet; throws platform::SpreadsheetError for a name it refuses.
    void NameActiveSheet(std::string_view name);

    // Quits without saving; false when nothing was running.
    bool QuitWithoutSaving() noexcept;
    bool running() const { return excel_ != nullptr && excel_->running(); }
    // The workbook and the sheet the last procedure worked on, for inspection.
    platform::Workbook* workbook() const { return workbook_; }
    platform::Worksheet* worksheet() const { return worksheet_; }

private:
    platform::Spreadsheet& application() const;
    platform::Workbook& activeWorkbook() const;
    void formatHeading(const platform::Range& range, int horizontal, bool merge);
    void pasteCell(platform::Worksheet& sheet, long long row, int column, std::string_view text,
                   SourceLocation where = SourceLocation::current());
    void release() noexcept;

    UserInterface& ui_;
    const std::string systemStatusText_;
    const std::time_t created_;
    std::unique_ptr<platform::Spreadsheet> excel_;
    platform::Workbook* workbook_ = nullptr;
    platform::Worksheet* worksheet_ = nullptr;
    // Headings as last written, so that a row repeats them only when they change.
    std::vector<std::string> pastedColumns_;
    std::vector<std::string> headings_;
    const platform::Worksheet* headedSheet_ = nullptr;
};

}  // namespace qor::output
