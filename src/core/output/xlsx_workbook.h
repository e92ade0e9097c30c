#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/output/sheet_rows.h"
#include "core/output/xlsx_sheet_check.h"
#include "core/platform/result_file.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace qor::output {

inline constexpr std::int64_t kMaxSheetRows = 1048576;
inline constexpr int kMaxSheetColumns = 16384;

// The version text of the workbook library, e.g. "libxlsxwriter 1.1.4".
std::string xlsxWriterVersion();

// The path a workbook named `fileName` is saved at: ".xlsx" appended unless the name ends so.
// Throws QorError for a name that cannot be a file.
std::string xlsxFilePath(std::string_view fileName);

// What a cell holds of the export bytes `text`: UTF-8, where a byte that does not start a
// well-formed sequence is taken as Latin-1 (exports are 8-bit text) and NUL bytes, which a
// cell cannot hold, are dropped. Throws QorError beyond 32767 characters. The result views
// `text` or `scratch`.
std::string_view cellText(std::string_view text, std::string& scratch);

// A heading cell: bold, bottom-aligned, medium borders left and right, a solid fill.
struct HeadingStyle {
    std::uint32_t fill;  // 0xRRGGBB
    bool centred;        // otherwise left-aligned
    bool operator==(const HeadingStyle&) const = default;
};

// How the rows of sheets reach the file: written beside the workbook library, byte for byte as
// it writes them but several times faster (see SheetRows), or through the library itself, the
// reference the first is held against. For the workbooks made after the call.
enum class RowWriting { Direct, Library };
void setRowWriting(RowWriting writing);

// A workbook being written. The library lays out the file and writes the rows that a merge
// starts; it keeps one row per sheet in memory and streams the rest to temporary files in a
// private folder, where the file is also built. The other rows are written and compressed into
// temporary files of their own as they come, and spliced into the library's sheets when it has
// made the file. The finished file is read back whole and then moves to its name, so it appears
// complete or not at all. The library does not check the writes of its temporary files: each
// sheet's file is watched here as its rows go out, and the read-back finds what a later step
// lost. Rows and columns count from 1; a sheet's rows go in ascending order, a row's merge
// before its cells. Every method throws QorError, or std::bad_alloc when out of memory.
class XlsxWorkbook {
public:
    // A workbook whose private folder lies in `folder`, with these sheets in tab order (the first
    // one shown on opening) and `created` as its creation time. Messages call it `title`
    // ("AI workbook").
    XlsxWorkbook(const platform::FolderHandle& folder, const std::vector<std::string>& sheetNames,
                 std::time_t created, std::string title = "workbook");
    ~XlsxWorkbook();  // an unsaved workbook leaves nothing behind
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    // The width, in characters, of the columns `firstColumn` to `lastColumn`; a column is given
    // a width once. Column, filter and pane settings may come at any time before save.
    void setColumnWidth(std::size_t sheet, int firstColumn, int lastColumn, double width);
    // Rows 1 to `rows` stay in view when the sheet scrolls.
    void freezeRows(std::size_t sheet, std::int64_t rows);
    // Filter buttons on row `firstRow` for the range up to `lastRow` and `lastColumn`.
    void setAutofilter(std::size_t sheet, std::int64_t firstRow, std::int64_t lastRow,
                       int lastColumn);
    void merge(std::size_t sheet, std::int64_t row, int firstColumn, int lastColumn,
               std::string_view text, const HeadingStyle& style);
    // Writes a text given by cellText. An empty text leaves a styled cell blank and writes
    // nothing for an unstyled one.
    void write(std::size_t sheet, std::int64_t row, int column, std::string_view text,
               const HeadingStyle* style = nullptr);
    // Writes a number, shown with `decimals` digits after the point (at most 15).
    void writeNumber(std::size_t sheet, std::int64_t row, int column, double value, int decimals);
    // Finishes the file, reads it back and moves it to `path`, which names a file in the folder
    // the workbook was made in. Touches no shared state: it may run on any one thread.
    void save(const std::string& path, platform::Placement placement);

private:
    struct Sheet {
        lxw_worksheet* library;
        std::int64_t libraryRow = 0;  // the row of the library's last cell
        bool libraryRowOpen = false;  // held in the library's memory
        std::unique_ptr<SheetRows> rows;
    };

    lxw_format* format(const HeadingStyle& style);
    lxw_format* numberFormat(int decimals);
    const char* terminated(std::string_view text);
    // Whether a cell at `row` of the sheet goes through the library: in a row a merge started.
    bool throughLibrary(std::size_t sheet, std::int64_t row) const;
    // The sheet's own rows, for a cell at `row`, `column`; throws where the library refuses one.
    SheetRows& rowsFor(std::size_t sheet, std::int64_t row, int column);
    // Notes that `row` of the sheet was written. A new row is where the library has just
    // written the one before it to the sheet's temporary file: the first failed write there is
    // kept, with `cause` (the error number then), for save to report.
    void noteRow(std::size_t sheet, std::int64_t row, int cause);
    // Notes a row of the sheet's own rows, and their first failed write.
    void noteOwnRow(std::size_t sheet, std::int64_t row);
    void noteOwnFailure(std::size_t sheet);
    // Writes out the row the library holds of the sheet.
    void writeLibraryRow(std::size_t sheet);
    std::string shownAs(const std::string& path) const;

    struct Discard {
        void operator()(lxw_workbook* book) const;
    };

    platform::ScratchFolder scratch_;
    const std::string partial_;  // the library's file as it is built
    const RowWriting writing_;
    std::unique_ptr<lxw_workbook, Discard> book_;  // null once handed to the library's close
    std::vector<Sheet> sheets_;
    const std::string title_;
    std::vector<SheetContent> content_;
    std::string writeFailure_;  // the first failed write of a temporary file
    std::vector<std::pair<HeadingStyle, lxw_format*>> formats_;
    std::vector<lxw_format*> numberFormats_;  // by decimals; null until first used
    std::string text_;
};

}  // namespace qor::output
