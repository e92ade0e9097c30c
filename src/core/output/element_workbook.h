#pragma once

#include <cstdint>
#include <ctime>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "core/base/source_location.h"

#include "core/base/text_encoding.h"
#include "core/base/user_interface.h"
#include "core/output/csv_output.h"
#include "core/output/xlsx_workbook.h"
#include "core/scan/element_row.h"

namespace qor::output {

// The column letter of 1 to 17 (A to Q); empty text for any other number.
std::string columnLetter(int column);

// A workbook of element sheets: row 1 the system status, row 2 the program, row 3 the column
// headings, then one element per row. Rows 1 to 3 stay in view and row 3 carries filter
// buttons; a value that is a plain decimal is a number shown as written, anything else text;
// the columns fit their widest text, within limits. Failures are reported with the standard error
// message of the procedure they belong to (module PasteXL), and the work goes on; the preparation
// of a sheet reports what the file refuses and passes anything else to its caller.
class ElementWorkbook {
public:
    // Messages call it `title`: "AI workbook" when it holds one type, "workbook" otherwise.
    // Cells hold the export's text as `encoding` reads it.
    ElementWorkbook(UserInterface& ui, std::string statusText, std::time_t created,
                    std::string title = "workbook", ExportEncoding encoding = {});

    // Starts the workbook in `folder` with these sheets in tab order, the first one shown on
    // opening. A workbook that cannot start keeps the cause: saving it fails with it, at the
    // moment and in the words of any other save that fails.
    void start(const platform::FolderHandle& folder, const std::vector<std::string>& sheetNames);
    // Rows 1 and 2 of the sheet, and row 3 set out for `columnCount` columns. The sheet holds
    // the elements of type `typeName` ("AI").
    void prepareSheet(std::size_t sheet, int columnCount, std::string_view typeName);
    // The next row of the sheet; the first one brings the headings, `columns` with their commas
    // removed. A labelled row starts with the cabinet and module labels.
    void addRow(std::size_t sheet, const scan::ElementRowView& row,
                const std::vector<std::string>& columns, bool labelled);

    // Saving as `fileName` (no extension), in two halves: the question before anything is
    // written, the writing when everything is. The first asks, on the scan's thread, whether an
    // existing file may be replaced; false when it is kept or cannot be (a failure reported).
    // The second gives a sheet without elements its heading row and writes the file without
    // touching the user interface (any thread may run it); it returns its failure.
    // The question is the CSV file's, titled with `titleSuffix`; with `answers` one of a scan's.
    bool askToReplace(const std::string& fileName, std::string_view titleSuffix = {},
                      ReplaceAnswers* answers = nullptr);
    std::optional<StandardError> save() noexcept;
    // Both halves, the failure reported.
    void saveAs(const std::string& fileName);
    void discard() noexcept;
    bool open() const { return file_ != nullptr || startFailure_ != nullptr; }

private:
    struct SheetState {
        int styledColumns = 0;  // row 3 cells that carry the heading style
        bool headingRowDue = false;
        std::int64_t nextRow = 4;
        bool full = false;
        bool prepared = false;
        int filterColumns = 0;       // the columns of the heading row
        std::vector<double> widths;  // of the columns from A on, as their texts ask
        std::string typeName;
    };

    void headingRow(std::size_t sheet, const std::vector<std::string>& columns);
    void mergedHeading(std::size_t sheet, std::int64_t row, std::string_view text,
                       const HeadingStyle& style);
    void pasteCell(std::size_t sheet, std::int64_t row, int column, std::string_view bytes,
                   const HeadingStyle* style = nullptr,
                   SourceLocation where = SourceLocation::current());
    // Column widths, frozen rows and the filter of a prepared sheet, once its rows are in.
    void finishSheet(std::size_t sheet);
    [[noreturn]] void throwStartFailure() const;
    // What a cell holds of the export bytes `bytes`; views `scratch_` or `bytes`.
    std::string_view cellText(std::string_view bytes);

    UserInterface& ui_;
    const std::string statusText_;
    const std::time_t created_;
    const std::string title_;
    const ExportEncoding encoding_;
    std::unique_ptr<XlsxWorkbook> file_;
    std::exception_ptr startFailure_;
    std::vector<SheetState> sheets_;
    std::string path_;
    platform::Placement placement_ = platform::Placement::New;
    std::string scratch_;
    std::string decoded_;
};

}  // namespace qor::output
