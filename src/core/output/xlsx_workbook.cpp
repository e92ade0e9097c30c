#include "core/output/xlsx_workbook.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <new>
#include <optional>
#include <system_error>

#include "core/base/ascii.h"
#include "core/base/qor_error.h"
#include "core/base/utf8.h"
#include "core/output/xlsx_check.h"
#include "core/output/xlsx_package.h"
#include "core/platform/file_system.h"

namespace qor::output {
namespace {

constexpr std::size_t kMaxCellCharacters = 32767;
constexpr auto kLastColumn = static_cast<lxw_col_t>(kMaxSheetColumns - 1);
constexpr std::string_view kPartialName = "library.xlsx";
constexpr std::string_view kSplicedName = "workbook.xlsx";
constexpr int kMaxDecimals = 15;

std::atomic<RowWriting> rowWriting{RowWriting::Direct};

void check(lxw_error error, const std::string& what) {
    if (error == LXW_NO_ERROR) {
        return;
    }
    if (error == LXW_ERROR_MEMORY_MALLOC_FAILED) {
        throw std::bad_alloc();
    }
    const int cause = errno;
    std::string text = what + ": " + lxw_strerror(error);
    // The library's text names its step; the system's error says why it failed.
    const bool fileError =
        error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
        error == LXW_ERROR_READING_TMPFILE || error == LXW_ERROR_ZIP_FILE_OPERATION ||
        error == LXW_ERROR_ZIP_FILE_ADD || error == LXW_ERROR_ZIP_CLOSE;
    if (fileError && cause != 0) {
        text += " (" + std::generic_category().message(cause) + ")";
    }
    throw QorError(text);
}

std::string cellAt(std::int64_t row, int column) {
    return "Cannot write the cell at row " + std::to_string(row) + ", column " +
           std::to_string(column);
}

std::string because(int cause) {
    return cause != 0 ? " (" + std::generic_category().message(cause) + ")"
                      : " (is the disk full?)";
}

}  // namespace

void setRowWriting(RowWriting writing) {
    rowWriting = writing;
}

std::string xlsxWriterVersion() {
    return std::string("libxlsxwriter ") + lxw_version();
}

std::string xlsxFilePath(std::string_view fileName) {
    const std::size_t separator = fileName.find_last_of(platform::pathSeparators());
    const std::string_view name =
        separator == std::string_view::npos ? fileName : fileName.substr(separator + 1);
    const auto refuse = [&](const std::string& why) {
        throw QorError("Cannot save as '" + std::string(fileName) + "': " + why);
    };
    if (name.empty() || name == "." || name == "..") {
        refuse("it does not name a file");
    }
    if (name.find_first_of(platform::forbiddenFileNameCharacters()) != std::string_view::npos ||
        std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        refuse("a file name cannot hold any of the characters < > ? [ ] : | * \" \\");
    }
    std::string path(fileName);
    const std::string_view extension = ".xlsx";
    const bool hasExtension =
        name.size() > extension.size() &&
        std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                   [](char a, char b) { return a == foldAscii(b); });
    if (!hasExtension) {
        path += extension;
    }
    return path;
}

std::string_view cellText(std::string_view text, std::string& scratch) {
    std::string_view stored = text;
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return c == '\0' || static_cast<unsigned char>(c) >= 0x80; })) {
        scratch.clear();
        for (std::size_t i = 0; i < text.size();) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte < 0x80) {
                if (byte != 0) {
                    scratch += text[i];
                }
                ++i;
            } else if (const std::size_t length = utf8SequenceLength(text, i); length > 0) {
                scratch.append(text, i, length);
                i += length;
            } else {
                scratch += static_cast<char>(0xC0 | (byte >> 6));
                scratch += static_cast<char>(0x80 | (byte & 0x3F));
                ++i;
            }
        }
        stored = scratch;
    }
    if (stored.size() > kMaxCellCharacters) {
        const auto count =
            static_cast<std::size_t>(std::count_if(stored.begin(), stored.end(), [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            }));
        if (count > kMaxCellCharacters) {
            throw QorError("A text of " + std::to_string(count) +
                           " characters does not fit in a cell (at most " +
                           std::to_string(kMaxCellCharacters) + ")");
        }
    }
    return stored;
}

// The library opens its files by name, following links: it works in a folder no one else can
// have prepared.
XlsxWorkbook::XlsxWorkbook(const platform::FolderHandle& folder,
                           const std::vector<std::string>& sheetNames, std::time_t created,
                           std::string title)
    : scratch_(folder),
      partial_(platform::joinPath(scratch_.path(), kPartialName)),
      writing_(rowWriting.load()),
      title_(std::move(title)) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(scratch_.path().c_str());
    book_.reset(workbook_new_opt(partial_.c_str(), &options));
    if (book_ == nullptr) {
        throw std::bad_alloc();
    }
    // The library turns the creation time into text through the C library's shared
    // broken-down time, and workbooks may be saved on two threads at once: every workbook of a
    // run carries the run's one creation time, so both threads put the same values there.
    lxw_doc_properties properties{};
    properties.created = created;
    workbook_set_properties(book_.get(), &properties);
    for (const std::string& name : sheetNames) {
        lxw_worksheet* sheet = workbook_add_worksheet(book_.get(), name.c_str());
        if (sheet == nullptr) {
            throw QorError("The workbook file cannot hold a sheet named '" + name + "'");
        }
        if (sheets_.empty()) {
            worksheet_activate(sheet);
        }
        if (sheet->optimize_tmpfile == nullptr) {
            throw QorError("The workbook library keeps no temporary file for a sheet");
        }
        sheets_.push_back(Sheet{sheet, 0, false, nullptr});
        if (writing_ == RowWriting::Direct) {
            sheets_.back().rows = std::make_unique<SheetRows>(
                platform::joinPath(scratch_.path(), "rows" + std::to_string(sheets_.size())));
        }
        content_.push_back(SheetContent{name, {}, 0});
    }
}

XlsxWorkbook::~XlsxWorkbook() = default;

void XlsxWorkbook::Discard::operator()(lxw_workbook* book) const {
    // Only the library's close shuts a sheet's temporary file: a workbook never saved would
    // keep each one open for the rest of the process, and on Windows an open file keeps the
    // scratch folder from being removed.
    lxw_worksheet* sheet = nullptr;
    LXW_FOREACH_WORKSHEET(sheet, book) {
        if (sheet->optimize_tmpfile != nullptr) {
            std::fclose(sheet->optimize_tmpfile);
            sheet->optimize_tmpfile = nullptr;
            sheet->file = nullptr;
        }
    }
    lxw_workbook_free(book);
}

const char* XlsxWorkbook::terminated(std::string_view text) {
    text_.assign(text);
    return text_.c_str();
}

lxw_format* XlsxWorkbook::format(const HeadingStyle& style) {
    // Made on first use: the file numbers its formats in that order.
    for (const auto& [made, format] : formats_) {
        if (made == style) {
            return format;
        }
    }
    lxw_format* f = workbook_add_format(book_.get());
    if (f == nullptr) {
        throw std::bad_alloc();
    }
    format_set_bold(f);
    format_set_pattern(f, LXW_PATTERN_SOLID);
    format_set_bg_color(f, static_cast<lxw_color_t>(style.fill));
    format_set_align(f, style.centred ? LXW_ALIGN_CENTER : LXW_ALIGN_LEFT);
    format_set_align(f, LXW_ALIGN_VERTICAL_BOTTOM);
    format_set_left(f, LXW_BORDER_MEDIUM);
    format_set_right(f, LXW_BORDER_MEDIUM);
    formats_.emplace_back(style, f);
    return f;
}

lxw_format* XlsxWorkbook::numberFormat(int decimals) {
    if (decimals < 0 || decimals > kMaxDecimals) {
        throw QorError("A number format shows at most " + std::to_string(kMaxDecimals) +
                       " decimals");
    }
    numberFormats_.resize(kMaxDecimals + 1, nullptr);
    lxw_format*& made = numberFormats_[static_cast<std::size_t>(decimals)];
    if (made == nullptr) {
        made = workbook_add_format(book_.get());
        if (made == nullptr) {
            throw std::bad_alloc();
        }
        const std::string code =
            decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
        format_set_num_format(made, code.c_str());
    }
    return made;
}

void XlsxWorkbook::setColumnWidth(std::size_t sheet, int firstColumn, int lastColumn,
                                  double width) {
    check(worksheet_set_column(sheets_.at(sheet).library, static_cast<lxw_col_t>(firstColumn - 1),
                               std::min(static_cast<lxw_col_t>(lastColumn - 1), kLastColumn), width,
                               nullptr),
          "Cannot set the column width");
}

void XlsxWorkbook::freezeRows(std::size_t sheet, std::int64_t rows) {
    worksheet_freeze_panes(sheets_.at(sheet).library, static_cast<lxw_row_t>(rows), 0);
}

void XlsxWorkbook::setAutofilter(std::size_t sheet, std::int64_t firstRow, std::int64_t lastRow,
                                 int lastColumn) {
    check(worksheet_autofilter(sheets_.at(sheet).library, static_cast<lxw_row_t>(firstRow - 1), 0,
                               static_cast<lxw_row_t>(lastRow - 1),
                               static_cast<lxw_col_t>(lastColumn - 1)),
          "Cannot set the filter");
}

std::string XlsxWorkbook::shownAs(const std::string& path) const {
    return "The " + title_ + " '" + path + "'";
}

void XlsxWorkbook::noteRow(std::size_t sheet, std::int64_t row, int cause) {
    sheets_[sheet].libraryRow = row;
    sheets_[sheet].libraryRowOpen = true;
    if (content_[sheet].addRow(row) && writeFailure_.empty() &&
        std::ferror(sheets_[sheet].library->optimize_tmpfile) != 0) {
        writeFailure_ = "a write to the temporary file of sheet '" + content_[sheet].name +
                        "' failed" + because(cause);
    }
}

void XlsxWorkbook::noteOwnRow(std::size_t sheet, std::int64_t row) {
    // A failed write shows at the next row, or when the rows are finished.
    if (content_[sheet].addRow(row)) {
        noteOwnFailure(sheet);
    }
}

void XlsxWorkbook::noteOwnFailure(std::size_t sheet) {
    if (const std::optional<int> failure = sheets_[sheet].rows->failure();
        failure && writeFailure_.empty()) {
        writeFailure_ = "a write to the temporary file of sheet '" + content_[sheet].name +
                        "' failed" + because(*failure);
    }
}

void XlsxWorkbook::writeLibraryRow(std::size_t sheet) {
    Sheet& s = sheets_[sheet];
    if (!s.libraryRowOpen) {
        return;
    }
    s.libraryRowOpen = false;
    errno = 0;
    lxw_worksheet_write_single_row(s.library);
    if (writeFailure_.empty() && (std::fflush(s.library->optimize_tmpfile) != 0 ||
                                  std::ferror(s.library->optimize_tmpfile) != 0)) {
        writeFailure_ = "a write to the temporary file of sheet '" + content_[sheet].name +
                        "' failed" + because(errno);
    }
}

bool XlsxWorkbook::throughLibrary(std::size_t sheet, std::int64_t row) const {
    return writing_ == RowWriting::Library || sheets_.at(sheet).libraryRow == row;
}

SheetRows& XlsxWorkbook::rowsFor(std::size_t sheet, std::int64_t row, int column) {
    Sheet& s = sheets_.at(sheet);
    // Where the library refuses a cell: outside the sheet, or in a row written out already.
    if (row < 1 || row > kMaxSheetRows || column < 1 || column > kMaxSheetColumns ||
        row < s.rows->openRow() || row < s.libraryRow) {
        check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, cellAt(row, column));
    }
    return *s.rows;
}

void XlsxWorkbook::merge(std::size_t sheet, std::int64_t row, int firstColumn, int lastColumn,
                         std::string_view text, const HeadingStyle& style) {
    if (!writeFailure_.empty()) {
        return;  // the save fails anyway
    }
    const Sheet& s = sheets_.at(sheet);
    if (s.rows != nullptr && row <= s.rows->openRow()) {
        check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, "Cannot merge cells");
    }
    const auto r = static_cast<lxw_row_t>(row - 1);
    errno = 0;
    check(worksheet_merge_range(s.library, r, static_cast<lxw_col_t>(firstColumn - 1), r,
                                static_cast<lxw_col_t>(lastColumn - 1), terminated(text),
                                format(style)),
          "Cannot merge cells");
    noteRow(sheet, row, errno);
}

void XlsxWorkbook::write(std::size_t sheet, std::int64_t row, int column, std::string_view text,
                         const HeadingStyle* style) {
    if ((text.empty() && style == nullptr) || !writeFailure_.empty()) {
        return;
    }
    lxw_format* f = style != nullptr ? format(*style) : nullptr;
    if (!throughLibrary(sheet, row)) {
        SheetRows& rows = rowsFor(sheet, row, column);
        if (text.size() > kMaxCellCharacters &&
            lxw_utf8_strlen(terminated(text)) > kMaxCellCharacters) {
            check(LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED, cellAt(row, column));
        }
        writeLibraryRow(sheet);  // as the library does when a cell of a later row goes in
        if (text.empty()) {
            rows.blank(row, column, f);
        } else {
            rows.text(row, column, text, f);
        }
        noteOwnRow(sheet, row);
        return;
    }
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(column - 1);
    errno = 0;
    lxw_worksheet* library = sheets_.at(sheet).library;
    const lxw_error error = text.empty()
                                ? worksheet_write_blank(library, r, c, f)
                                : worksheet_write_string(library, r, c, terminated(text), f);
    if (error != LXW_NO_ERROR) {
        check(error, cellAt(row, column));
    }
    noteRow(sheet, row, errno);
}

void XlsxWorkbook::writeNumber(std::size_t sheet, std::int64_t row, int column, double value,
                               int decimals) {
    if (!writeFailure_.empty()) {
        return;
    }
    lxw_format* f = numberFormat(decimals);
    if (!throughLibrary(sheet, row)) {
        SheetRows& rows = rowsFor(sheet, row, column);
        writeLibraryRow(sheet);
        rows.number(row, column, value, f);
        noteOwnRow(sheet, row);
        return;
    }
    errno = 0;
    const lxw_error error =
        worksheet_write_number(sheets_.at(sheet).library, static_cast<lxw_row_t>(row - 1),
                               static_cast<lxw_col_t>(column - 1), value, f);
    if (error != LXW_NO_ERROR) {
        check(error, cellAt(row, column));
    }
    noteRow(sheet, row, errno);
}

void XlsxWorkbook::save(const std::string& path, platform::Placement placement) {
    // Each sheet's last row is still in memory. Written out now, every temporary file is whole
    // before the file is made: their sizes are what the sheet must hold. The library's rows
    // of a sheet come before its own, and the library counts the sheet's extent from its own
    // cells: it is told the whole of it.
    std::vector<std::optional<SheetSplice>> splices(sheets_.size());
    for (std::size_t i = 0; i < sheets_.size() && writeFailure_.empty(); ++i) {
        Sheet& sheet = sheets_[i];
        sheet.libraryRowOpen = true;
        writeLibraryRow(i);
        content_[i].dataBytes = platform::filePosition(sheet.library->optimize_tmpfile);
        if (sheet.rows == nullptr || sheet.rows->empty()) {
            continue;
        }
        SheetRows& rows = *sheet.rows;
        rows.finish();
        noteOwnFailure(i);
        content_[i].dataBytes += rows.size();
        splices[i] = SheetSplice{rows.file(), rows.compressedSize(), rows.size(), rows.crc()};
        lxw_worksheet* library = sheet.library;
        library->dim_rowmin =
            std::min(library->dim_rowmin, static_cast<lxw_row_t>(rows.firstRow() - 1));
        library->dim_rowmax =
            std::max(library->dim_rowmax, static_cast<lxw_row_t>(rows.openRow() - 1));
        library->dim_colmin =
            std::min(library->dim_colmin, static_cast<lxw_col_t>(rows.firstColumn() - 1));
        library->dim_colmax =
            std::max(library->dim_colmax, static_cast<lxw_col_t>(rows.lastColumn() - 1));
    }
    if (!writeFailure_.empty()) {
        throw QorError(shownAs(path) + " could not be written: " + writeFailure_);
    }
    errno = 0;
    check(workbook_close(book_.release()),  // closing frees it whatever it returns
          shownAs(path) + " could not be written");
    std::string_view made = kPartialName;
    if (std::any_of(splices.begin(), splices.end(),
                    [](const auto& splice) { return splice.has_value(); })) {
        made = kSplicedName;
        try {
            spliceWorkbook(partial_, platform::joinPath(scratch_.path(), made), splices);
        } catch (const QorError& e) {
            throw QorError(shownAs(path) + " could not be written: " + e.what());
        }
    }
    checkWorkbook(platform::joinPath(scratch_.path(), made), shownAs(path), content_);
    scratch_.moveOut(made, path.substr(path.find_last_of(platform::pathSeparators()) + 1),
                     placement);
}

}  // namespace qor::output
