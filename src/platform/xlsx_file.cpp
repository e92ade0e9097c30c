#include "platform/xlsx_file.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "core/qor_error.h"
#include "platform/file_system.h"
#include "platform/spreadsheet.h"
#include "platform/xlsx_check.h"

namespace qor::platform {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
constexpr std::string_view kForbiddenInFileName = "<>?[]:|*\"";
#else
constexpr std::string_view kSeparators = "/";
constexpr std::string_view kForbiddenInFileName = "<>?[]:|*\"\\";
#endif

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

void check(lxw_error error, const std::string& what) {
    if (error == LXW_NO_ERROR) {
        return;
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
    throw SpreadsheetError(text);
}

std::uint8_t borderStyle(const BorderLine& line) {
    if (line.lineStyle != xl::kContinuous) {
        return LXW_BORDER_NONE;
    }
    switch (line.weight) {
        case xl::kHairline:
            return LXW_BORDER_HAIR;
        case xl::kMedium:
            return LXW_BORDER_MEDIUM;
        case xl::kThick:
            return LXW_BORDER_THICK;
        default:
            return LXW_BORDER_THIN;
    }
}

// Borders and fills belong to a cell's format in the file, so every distinct combination
// becomes one format of the file, made once.
class FormatCache {
public:
    explicit FormatCache(lxw_workbook* book) : book_(book) {}

    lxw_format* get(const CellFormat* format) {
        if (format == nullptr || *format == CellFormat{}) {
            return nullptr;
        }
        const auto found = made_.find(*format);
        if (found != made_.end()) {
            return found->second;
        }
        lxw_format* made = make(*format);
        made_.emplace(*format, made);
        return made;
    }

private:
    lxw_format* make(const CellFormat& format) {
        lxw_format* f = workbook_add_format(book_);
        if (f == nullptr) {
            throw SpreadsheetError("Out of memory while building the cell formats", 7);
        }
        if (format.bold) {
            format_set_bold(f);
        }
        if (format.pattern == xl::kPatternSolid && format.fillColorIndex != xl::kColorIndexNone) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, static_cast<lxw_color_t>(paletteColor(format.fillColorIndex)));
        }
        switch (format.horizontal) {
            case xl::kHAlignLeft:
                format_set_align(f, LXW_ALIGN_LEFT);
                break;
            case xl::kHAlignCenter:
                format_set_align(f, LXW_ALIGN_CENTER);
                break;
            case xl::kHAlignRight:
                format_set_align(f, LXW_ALIGN_RIGHT);
                break;
            default:
                break;
        }
        switch (format.vertical) {
            case xl::kVAlignTop:
                format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
                break;
            case xl::kVAlignCenter:
                format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
                break;
            default:
                format_set_align(f, LXW_ALIGN_VERTICAL_BOTTOM);
                break;
        }
        if (format.wrapText) {
            format_set_text_wrap(f);
        }
        if (format.shrinkToFit) {
            format_set_shrink(f);
        }
        if (format.orientation != 0) {
            format_set_rotation(f, static_cast<std::int16_t>(format.orientation));
        }
        const auto colour = [](const BorderLine& line) {
            return static_cast<lxw_color_t>(paletteColor(line.colorIndex));
        };
        format_set_left(f, borderStyle(format.left));
        format_set_right(f, borderStyle(format.right));
        format_set_top(f, borderStyle(format.top));
        format_set_bottom(f, borderStyle(format.bottom));
        if (format.left.colorIndex > 0) {
            format_set_left_color(f, colour(format.left));
        }
        if (format.right.colorIndex > 0) {
            format_set_right_color(f, colour(format.right));
        }
        if (format.top.colorIndex > 0) {
            format_set_top_color(f, colour(format.top));
        }
        if (format.bottom.colorIndex > 0) {
            format_set_bottom_color(f, colour(format.bottom));
        }
        return f;
    }

    lxw_workbook* book_;
    std::map<CellFormat, lxw_format*> made_;
};

// The last row the sheet's file holds.
std::int64_t lastRowOf(const Worksheet& sheet) {
    std::int64_t last = sheet.lastUsedRow();
    for (const CellArea& merged : sheet.mergedAreas()) {
        last = std::max(last, merged.lastRow);
    }
    return last;
}

// Rows go out in order: the writer keeps one row per sheet in memory and streams the rest
// to its temporary files.
void writeSheet(lxw_workbook* file, const Worksheet& sheet, bool active, FormatCache& formats) {
    const std::string& name = sheet.name();
    lxw_worksheet* out = workbook_add_worksheet(file, name.c_str());
    if (out == nullptr) {
        throw SpreadsheetError("The workbook file cannot hold a sheet named '" + name + "'");
    }
    if (active) {
        worksheet_activate(out);
    }
    if (sheet.standardWidthSet()) {
        check(worksheet_set_column(out, 0, kMaxColumns - 1, sheet.standardWidth(), nullptr),
              "Cannot set the column width of '" + name + "'");
    }
    std::vector<CellArea> merges = sheet.mergedAreas();
    std::sort(merges.begin(), merges.end(),
              [](const CellArea& a, const CellArea& b) { return a.firstRow < b.firstRow; });
    auto merge = merges.begin();
    const std::int64_t lastRow = lastRowOf(sheet);
    std::vector<CellView> cells;
    for (std::int64_t row = 1; row <= lastRow; ++row) {
        const auto r = static_cast<lxw_row_t>(row - 1);
        // The merge first: it writes blanks over its range, which the cells then refine.
        for (; merge != merges.end() && merge->firstRow == row; ++merge) {
            const std::string text(sheet.text(row, merge->firstColumn));
            const CellFormat topLeft = sheet.format(row, merge->firstColumn);
            check(worksheet_merge_range(out, r, static_cast<lxw_col_t>(merge->firstColumn - 1), r,
                                        static_cast<lxw_col_t>(merge->lastColumn - 1), text.c_str(),
                                        formats.get(&topLeft)),
                  "Cannot merge cells of '" + name + "'");
        }
        sheet.rowCells(row, cells);
        for (const CellView& cell : cells) {
            lxw_format* format = formats.get(cell.format);
            const auto c = static_cast<lxw_col_t>(cell.column - 1);
            lxw_error error = LXW_NO_ERROR;
            if (cell.length > 0) {
                error = worksheet_write_string(out, r, c, cell.text, format);
            } else if (format != nullptr) {
                error = worksheet_write_blank(out, r, c, format);
            }
            if (error != LXW_NO_ERROR) {
                check(error, "Cannot write the cell " + columnLetters(cell.column) +
                                 std::to_string(row) + " of '" + name + "'");
            }
        }
    }
}

}  // namespace

std::string spreadsheetWriterVersion() {
    return std::string("libxlsxwriter ") + lxw_version();
}

std::string xlsxFilePath(std::string_view fileName) {
    const std::size_t separator = fileName.find_last_of(kSeparators);
    const std::string_view name =
        separator == std::string_view::npos ? fileName : fileName.substr(separator + 1);
    const auto refuse = [&](const std::string& why) {
        throw SpreadsheetError("Cannot save as '" + std::string(fileName) + "': " + why);
    };
    if (name.empty() || name == "." || name == "..") {
        refuse("it does not name a file");
    }
    if (name.find_first_of(kForbiddenInFileName) != std::string_view::npos ||
        std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        refuse("a file name cannot hold any of the characters < > ? [ ] : | * \" \\");
    }
    std::string path(fileName);
    const std::string_view extension = ".xlsx";
    const bool hasExtension =
        name.size() > extension.size() &&
        std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    if (!hasExtension) {
        path += extension;
    }
    return path;
}

void writeXlsxFile(const Workbook& book, std::size_t activeIndex, const std::string& path,
                   Placement placement, std::time_t created) {
    // The writer opens its file by name, following links: it gets a folder no one else can
    // have prepared, and the finished file moves from there to its name.
    std::optional<ScratchFolder> scratch;
    try {
        scratch.emplace(folderOf(path));
    } catch (const QorError& e) {
        throw SpreadsheetError("Cannot create the workbook '" + path + "': " + e.what());
    }
    const std::string partial = joinPath(scratch->path(), "workbook.xlsx");
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(scratch->path().c_str());
    lxw_workbook* file = workbook_new_opt(partial.c_str(), &options);
    if (file == nullptr) {
        throw SpreadsheetError("The workbook writer could not start", 7);
    }
    // The writer turns the creation time into text through the C library's shared
    // broken-down time, and workbooks may be saved on two threads at once: every workbook of
    // a run carries the run's one creation time, so both threads put the same values there.
    lxw_doc_properties properties{};
    properties.created = created;
    workbook_set_properties(file, &properties);
    bool handedOver = false;
    try {
        FormatCache formats(file);
        for (std::size_t i = 1; i <= book.worksheetCount(); ++i) {
            writeSheet(file, book.worksheet(i), i - 1 == activeIndex, formats);
        }
        handedOver = true;  // workbook_close frees the workbook whatever it returns
        errno = 0;
        check(workbook_close(file), "The workbook '" + path + "' could not be written");
    } catch (...) {
        if (!handedOver) {
            lxw_workbook_free(file);
        }
        throw;
    }
    std::vector<std::int64_t> lastRows;
    for (std::size_t i = 1; i <= book.worksheetCount(); ++i) {
        lastRows.push_back(lastRowOf(book.worksheet(i)));
    }
    checkWorkbookRows(partial, path, lastRows);
    try {
        moveIntoPlace(partial, path, placement);
    } catch (const QorError& e) {
        throw SpreadsheetError(e.what());
    }
}

}  // namespace qor::platform
