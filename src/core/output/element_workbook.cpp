#include "core/output/element_workbook.h"

#include <algorithm>
#include <new>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/output/cell_number.h"
#include "core/scan/column_data.h"

namespace qor::output {
namespace {

constexpr std::string_view kModule = "PasteXL";
constexpr std::string_view kCreatedWith = "Created with .QOR Reader";
// Fills of the classic 56-colour palette: indexes 37, 15 and 6.
constexpr HeadingStyle kStatusStyle{0x99CCFF, false};
constexpr HeadingStyle kCreatedStyle{0xC0C0C0, false};
constexpr HeadingStyle kColumnHeadingStyle{0xFFFF00, true};
constexpr int kMergedColumns = 5;  // A to E
constexpr std::int64_t kHeadingRow = 3;
constexpr std::size_t kHeadingColumns = 12;  // A to L
constexpr double kMinColumnWidth = 15;
constexpr double kMaxColumnWidth = 60;
// Room beside a text in its column: a margin, and for a heading its bold face and filter button.
constexpr double kTextMargin = 2;
constexpr double kHeadingMargin = 4;

// The width, in characters, a text asks of its column; at most `kMaxColumnWidth`. Texts that
// fit the narrowest column are not counted through: most cells are short.
double widthOf(std::string_view text, double margin) {
    if (static_cast<double>(text.size()) + margin <= kMinColumnWidth) {
        return kMinColumnWidth;
    }
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return std::min(static_cast<double>(characters) + margin, kMaxColumnWidth);
}

// The preparation of a sheet reports what the file refuses; anything else goes to its caller.
// Returns false when the step failed.
template <typename Step>
bool reportRefusal(UserInterface& ui, Step&& step,
                   SourceLocation where = SourceLocation::current()) {
    try {
        step();
        return true;
    } catch (const QorError& e) {
        reportStandardError(ui, kModule, "PrepareSheet", e.what(), where);
        return false;
    }
}

bool outOfMemory() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// A failure of saving as reported: the standard text, then the error number (7 for memory).
// Called inside a catch block.
StandardError endError(SourceLocation where) {
    return StandardError{describeCurrentException(), std::string(kModule), "EndExcel",
                         static_cast<long>(where.line()),
                         "Numer bledu " + std::to_string(outOfMemory() ? 7 : 1004)};
}

}  // namespace

std::string columnLetter(int column) {
    if (column < 1 || column > 17) {
        return {};
    }
    return std::string(1, static_cast<char>('A' + column - 1));
}

ElementWorkbook::ElementWorkbook(UserInterface& ui, std::string statusText, std::time_t created,
                                 std::string title, ExportEncoding encoding)
    : ui_(ui),
      statusText_(std::move(statusText)),
      created_(created),
      title_(std::move(title)),
      encoding_(encoding) {}

std::string_view ElementWorkbook::cellText(std::string_view bytes) {
    EncodingEvidence evidence;
    evidence.add(bytes);
    if (!evidence.beyondAscii() ||
        (evidence.validUtf8() && encoding_.encoding == TextEncoding::Utf8)) {
        return output::cellText(bytes, scratch_);
    }
    decoded_.clear();
    appendAsUtf8(decoded_, bytes, encoding_);
    return output::cellText(decoded_, scratch_);
}

void ElementWorkbook::start(const platform::FolderHandle& folder,
                            const std::vector<std::string>& sheetNames) {
    discard();
    try {
        sheets_.assign(sheetNames.size(), SheetState{});
        file_ = std::make_unique<XlsxWorkbook>(folder, sheetNames, created_, title_);
    } catch (const std::exception&) {
        startFailure_ = std::current_exception();  // kept for the save, which reports it
    }
}

void ElementWorkbook::prepareSheet(std::size_t sheet, int columnCount, std::string_view typeName) {
    if (file_ == nullptr) {
        return;
    }
    SheetState& state = sheets_.at(sheet);
    state = SheetState{};
    state.typeName = typeName;
    state.prepared = true;
    mergedHeading(sheet, 1, statusText_, kStatusStyle);
    mergedHeading(sheet, 2, kCreatedWith, kCreatedStyle);
    if (columnLetter(columnCount).empty()) {
        reportStandardError(ui_, kModule, "PrepareSheet", "'A3:3' is not a cell address");
    } else {
        state.styledColumns = columnCount;
    }
    state.headingRowDue = true;
}

void ElementWorkbook::mergedHeading(std::size_t sheet, std::int64_t row, std::string_view bytes,
                                    const HeadingStyle& style) {
    std::string_view text;
    // A text the cell cannot hold leaves the heading formatted all the same. The empty text is
    // set again on that path: GCC 12 at -O2 lost its first value there.
    if (!reportRefusal(ui_, [&] { text = cellText(bytes); })) {
        text = {};
    }
    reportRefusal(ui_, [&] {
        file_->merge(sheet, row, 1, kMergedColumns, text, style);
        for (int column = 1; column <= kMergedColumns; ++column) {
            file_->write(sheet, row, column, column == 1 ? text : std::string_view(), &style);
        }
    });
}

void ElementWorkbook::addRow(std::size_t sheet, const scan::ElementRowView& row,
                             const std::vector<std::string>& columns, bool labelled) {
    if (file_ == nullptr) {
        return;
    }
    SheetState& state = sheets_.at(sheet);
    if (state.nextRow > kMaxSheetRows) {
        if (!state.full) {
            state.full = true;
            reportStandardError(ui_, kModule, "PasteToExcel",
                                fillIn(translate("Workbook",
                                                 "The worksheet of the %1 elements in '%2' is "
                                                 "full at row %3: the following elements of the "
                                                 "type are not in it"),
                                       {state.typeName, path_, std::to_string(kMaxSheetRows)}));
        }
        return;
    }
    if (state.headingRowDue) {
        headingRow(sheet, columns);
    }
    int column = 1;
    if (labelled) {
        pasteCell(sheet, state.nextRow, column++, row[scan::kCabinetSlot]);
        pasteCell(sheet, state.nextRow, column++, row[scan::kModuleSlot]);
    }
    for (std::size_t slot = scan::kDesignationSlot; slot <= 10; ++slot) {
        pasteCell(sheet, state.nextRow, column++, row[slot]);
    }
    ++state.nextRow;
}

void ElementWorkbook::headingRow(std::size_t sheet, const std::vector<std::string>& columns) {
    SheetState& state = sheets_[sheet];
    state.headingRowDue = false;
    const std::vector<std::string> headings = scan::withoutCommas(columns);
    const int texts = static_cast<int>(std::min(headings.size(), kHeadingColumns));
    state.filterColumns = std::max(texts, state.styledColumns);
    for (int column = 1; column <= std::max(texts, state.styledColumns); ++column) {
        pasteCell(sheet, kHeadingRow, column,
                  column <= texts ? headings[static_cast<std::size_t>(column - 1)] : "",
                  column <= state.styledColumns ? &kColumnHeadingStyle : nullptr);
    }
    if (headings.size() > kHeadingColumns) {
        reportStandardError(ui_, kModule, "PasteToExcel",
                            "Heading " + std::to_string(kHeadingColumns) +
                                " has no column: the sheet takes the columns A to L");
    }
}

void ElementWorkbook::pasteCell(std::size_t sheet, std::int64_t row, int column,
                                std::string_view bytes, const HeadingStyle* style,
                                SourceLocation where) {
    std::vector<double>& widths = sheets_[sheet].widths;
    const auto noteWidth = [&](std::string_view text, double margin) {
        const double width = widthOf(text, margin);
        if (width > kMinColumnWidth) {
            widths.resize(std::max(widths.size(), static_cast<std::size_t>(column)),
                          kMinColumnWidth);
            widths[static_cast<std::size_t>(column - 1)] =
                std::max(widths[static_cast<std::size_t>(column - 1)], width);
        }
    };
    if (row > kHeadingRow) {
        if (const std::optional<CellNumber> number = plainDecimal(bytes)) {
            noteWidth(bytes, kTextMargin);
            runStep(
                ui_, kModule, "PasteToExcel",
                [&] { file_->writeNumber(sheet, row, column, number->value, number->decimals); },
                where);
            return;
        }
    }
    std::string_view text;  // empty when the cell cannot hold it (set again: see mergedHeading)
    if (!runStep(
            ui_, kModule, "PasteToExcel", [&] { text = cellText(bytes); }, where)) {
        text = {};
    }
    noteWidth(text, row == kHeadingRow ? kHeadingMargin : kTextMargin);
    runStep(
        ui_, kModule, "PasteToExcel", [&] { file_->write(sheet, row, column, text, style); },
        where);
}

void ElementWorkbook::finishSheet(std::size_t sheet) {
    const SheetState& state = sheets_[sheet];
    if (!state.prepared) {
        return;
    }
    // Neighbours of one width share a range; the columns past the last wide one keep the
    // narrowest width.
    const std::vector<double>& widths = state.widths;
    std::size_t first = 0;
    while (first < widths.size()) {
        std::size_t last = first;
        while (last + 1 < widths.size() && widths[last + 1] == widths[first]) {
            ++last;
        }
        file_->setColumnWidth(sheet, static_cast<int>(first + 1), static_cast<int>(last + 1),
                              widths[first]);
        first = last + 1;
    }
    file_->setColumnWidth(sheet, static_cast<int>(widths.size() + 1), kMaxSheetColumns,
                          kMinColumnWidth);
    file_->freezeRows(sheet, kHeadingRow);
    if (state.filterColumns > 0) {
        file_->setAutofilter(sheet, kHeadingRow, state.nextRow - 1, state.filterColumns);
    }
}

bool ElementWorkbook::askToReplace(const std::string& fileName, std::string_view titleSuffix,
                                   ReplaceAnswers* answers) {
    bool replace = false;
    // The question is where saving starts: a name that cannot be saved fails here, once.
    try {
        path_ = xlsxFilePath(fileName);
        placement_ =
            platform::entryExists(path_) ? platform::Placement::Replace : platform::Placement::New;
        if (placement_ == platform::Placement::Replace) {
            const Prompt prompt = overwritePrompt(path_, ReplaceQuestion::File, titleSuffix);
            replace = answers != nullptr ? answers->ask(prompt) : ui_.askYesNo(prompt);
        } else {
            replace = true;
        }
    } catch (const std::exception&) {
        ui_.reportError(endError(SourceLocation::current()));
    }
    if (!replace) {
        discard();
    }
    return replace;
}

void ElementWorkbook::throwStartFailure() const {
    if (startFailure_ == nullptr) {
        throw QorError("The " + title_ + " '" + path_ + "' is closed");
    }
    try {
        std::rethrow_exception(startFailure_);
    } catch (const QorError& e) {
        throw QorError("Cannot create the " + title_ + " '" + path_ + "': " + e.what());
    }
}

std::optional<StandardError> ElementWorkbook::save() noexcept {
    std::optional<StandardError> failure;
    try {
        if (file_ == nullptr) {
            throwStartFailure();
        }
        for (std::size_t sheet = 0; sheet < sheets_.size(); ++sheet) {
            if (sheets_[sheet].headingRowDue) {
                headingRow(sheet, {});
            }
            finishSheet(sheet);
        }
        file_->save(path_, placement_);
    } catch (const std::exception&) {
        try {
            failure = endError(SourceLocation::current());
        } catch (const std::bad_alloc&) {
            // Out of memory while describing a failure: nothing more can be said.
        }
    }
    discard();
    return failure;
}

void ElementWorkbook::saveAs(const std::string& fileName) {
    if (askToReplace(fileName)) {
        if (const std::optional<StandardError> failure = save()) {
            ui_.reportError(*failure);
        }
    }
}

void ElementWorkbook::discard() noexcept {
    file_.reset();
    startFailure_ = nullptr;
    sheets_.clear();
}

}  // namespace qor::output
