#include "platform/spreadsheet.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "core/standard_error.h"
#include "platform/file_system.h"
#include "platform/xlsx_file.h"

namespace qor::platform {
namespace {

// Formats and values are applied cell by cell; a range beyond this is a caller's mistake
// that would only eat memory.
constexpr std::int64_t kMaxCellsPerCall = std::int64_t{1} << 20;
constexpr std::size_t kTextBlockSize = std::size_t{1} << 20;

// The classic 56-colour palette, indexes 1 to 56.
constexpr std::array<std::uint32_t, 56> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

std::uint64_t cellKey(std::int64_t row, int column) {
    return (static_cast<std::uint64_t>(row) << 16) | static_cast<std::uint64_t>(column);
}

std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// The workbook holds UTF-8. Export files are 8-bit text, so a byte that does not start a
// well-formed sequence is taken as Latin-1; NUL bytes cannot be stored and are dropped.
std::string_view asWorkbookText(std::string_view text, std::string& scratch) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c != '\0' && static_cast<unsigned char>(c) < 0x80;
    });
    if (plain) {
        return text;
    }
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
    return scratch;
}

std::string_view cellText(std::string_view text, std::string& scratch) {
    const std::string_view stored = asWorkbookText(text, scratch);
    if (const std::size_t count = characterCount(stored); count > kMaxCellTextLength) {
        throw SpreadsheetError("A text of " + std::to_string(count) +
                               " characters does not fit in a cell (at most " +
                               std::to_string(kMaxCellTextLength) + ")");
    }
    return stored;
}

std::string describe(const CellArea& area) {
    std::string text = columnLetters(area.firstColumn) + std::to_string(area.firstRow);
    if (area.cellCount() > 1) {
        text += ":" + columnLetters(area.lastColumn) + std::to_string(area.lastRow);
    }
    return text;
}

template <typename Visit>
void forEachCell(const CellArea& area, Visit&& visit) {
    if (area.cellCount() > kMaxCellsPerCall) {
        throw SpreadsheetError("The range " + describe(area) + " is too large for this workbook");
    }
    for (std::int64_t row = area.firstRow; row <= area.lastRow; ++row) {
        for (int column = area.firstColumn; column <= area.lastColumn; ++column) {
            visit(row, column);
        }
    }
}

bool overlaps(const CellArea& a, const CellArea& b) {
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstColumn <= b.lastColumn &&
           b.firstColumn <= a.lastColumn;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
               return lower(x) == lower(y);
           });
}

void checkColorIndex(int colorIndex) {
    if (colorIndex != xl::kColorIndexAutomatic && colorIndex != xl::kColorIndexNone) {
        (void)paletteColor(colorIndex);
    }
}

// Setting a weight or colour on an absent border draws it, as in the application.
void applyLineStyle(BorderLine& line, int style) {
    line.lineStyle = style;
}
void applyWeight(BorderLine& line, int weight) {
    line.weight = weight;
    if (line.lineStyle == xl::kLineStyleNone) {
        line.lineStyle = xl::kContinuous;
    }
}
void applyColorIndex(BorderLine& line, int colorIndex) {
    line.colorIndex = colorIndex;
    if (line.lineStyle == xl::kLineStyleNone) {
        line.lineStyle = xl::kContinuous;
    }
}

}  // namespace

std::uint32_t paletteColor(int colorIndex) {
    if (colorIndex < 1 || colorIndex > static_cast<int>(kPalette.size())) {
        throw SpreadsheetError("There is no colour index " + std::to_string(colorIndex));
    }
    return kPalette[static_cast<std::size_t>(colorIndex - 1)];
}

std::string columnLetters(int column) {
    if (column < 1 || column > kMaxColumns) {
        return {};
    }
    std::string letters;
    for (int n = column; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters;
}

CellArea parseAddress(std::string_view address) {
    const auto invalid = [&]() {
        return SpreadsheetError("'" + std::string(address) + "' is not a cell address");
    };
    // One corner: optional letters, then optional digits; "$" anywhere before either.
    const auto corner = [&](std::string_view text, std::int64_t& row, int& column) {
        std::size_t i = 0;
        column = 0;
        row = 0;
        int letters = 0;
        int digits = 0;
        if (i < text.size() && text[i] == '$') {
            ++i;
        }
        for (; i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])); ++i) {
            column = column * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
            if (++letters > 3) {
                throw invalid();
            }
        }
        if (i < text.size() && text[i] == '$' && letters > 0) {
            ++i;
        }
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            row = row * 10 + (text[i] - '0');
            if (++digits > 7) {
                throw invalid();
            }
        }
        if (i != text.size() || (letters == 0 && digits == 0) || column > kMaxColumns ||
            row > kMaxRows || (digits > 0 && row == 0)) {
            throw invalid();
        }
    };
    const std::size_t colon = address.find(':');
    CellArea area;
    std::int64_t row1 = 0;
    std::int64_t row2 = 0;
    int column1 = 0;
    int column2 = 0;
    corner(address.substr(0, colon), row1, column1);
    if (colon == std::string_view::npos) {
        row2 = row1;
        column2 = column1;
    } else {
        corner(address.substr(colon + 1), row2, column2);
    }
    // A corner is a cell, a whole row ("2") or a whole column ("B"); both corners alike.
    const bool wholeRows = column1 == 0 && column2 == 0;
    const bool wholeColumns = row1 == 0 && row2 == 0;
    if ((column1 == 0) != (column2 == 0) || (row1 == 0) != (row2 == 0) ||
        (colon == std::string_view::npos && (wholeRows || wholeColumns))) {
        throw invalid();
    }
    area.firstRow = wholeColumns ? 1 : std::min(row1, row2);
    area.lastRow = wholeColumns ? kMaxRows : std::max(row1, row2);
    area.firstColumn = wholeRows ? 1 : std::min(column1, column2);
    area.lastColumn = wholeRows ? kMaxColumns : std::max(column1, column2);
    return area;
}

// Range --------------------------------------------------------------------------------------

void Range::setValue(std::string_view text) const {
    std::string scratch;
    const std::string_view stored = cellText(text, scratch);
    const auto& merged = sheet_->mergedAreas();
    forEachCell(area_, [&](std::int64_t row, int column) {
        // A merged range holds its text in the top-left cell only.
        const bool hidden = std::any_of(merged.begin(), merged.end(), [&](const CellArea& m) {
            return m.firstRow <= row && row <= m.lastRow && m.firstColumn <= column &&
                   column <= m.lastColumn && (row != m.firstRow || column != m.firstColumn);
        });
        if (!hidden) {
            sheet_->setText(row, column, stored);
        }
    });
}

std::string Range::value() const {
    return std::string(sheet_->text(area_.firstRow, area_.firstColumn));
}

template <typename Change>
void Range::changeFormats(Change&& change) const {
    forEachCell(area_,
                [&](std::int64_t row, int column) { change(sheet_->formatFor(row, column)); });
}

void Range::changeBorder(int index, void (*apply)(BorderLine&, int), int value) const {
    if (index < xl::kEdgeLeft || index > xl::kInsideHorizontal) {
        throw SpreadsheetError("There is no border index " + std::to_string(index));
    }
    const CellArea& a = area_;
    forEachCell(a, [&](std::int64_t row, int column) {
        const auto touch = [&](BorderLine CellFormat::*side) {
            apply(sheet_->formatFor(row, column).*side, value);
        };
        switch (index) {
            case xl::kEdgeLeft:
                if (column == a.firstColumn) {
                    touch(&CellFormat::left);
                }
                break;
            case xl::kEdgeRight:
                if (column == a.lastColumn) {
                    touch(&CellFormat::right);
                }
                break;
            case xl::kEdgeTop:
                if (row == a.firstRow) {
                    touch(&CellFormat::top);
                }
                break;
            case xl::kEdgeBottom:
                if (row == a.lastRow) {
                    touch(&CellFormat::bottom);
                }
                break;
            case xl::kInsideVertical:
                // Both cells either side of an inner edge carry it.
                if (column < a.lastColumn) {
                    touch(&CellFormat::right);
                }
                if (column > a.firstColumn) {
                    touch(&CellFormat::left);
                }
                break;
            default:  // inside horizontal
                if (row < a.lastRow) {
                    touch(&CellFormat::bottom);
                }
                if (row > a.firstRow) {
                    touch(&CellFormat::top);
                }
                break;
        }
    });
}

void Range::Border::setLineStyle(int lineStyle) const {
    if (lineStyle != xl::kContinuous && lineStyle != xl::kLineStyleNone) {
        throw SpreadsheetError("The line style " + std::to_string(lineStyle) +
                               " is not available in this workbook");
    }
    range_.changeBorder(index_, applyLineStyle, lineStyle);
}

void Range::Border::setWeight(int weight) const {
    if (weight != xl::kHairline && weight != xl::kThin && weight != xl::kMedium &&
        weight != xl::kThick) {
        throw SpreadsheetError("There is no border weight " + std::to_string(weight));
    }
    range_.changeBorder(index_, applyWeight, weight);
}

void Range::Border::setColorIndex(int colorIndex) const {
    checkColorIndex(colorIndex);
    range_.changeBorder(index_, applyColorIndex, colorIndex);
}

void Range::Font::setBold(bool bold) const {
    range_.changeFormats([&](CellFormat& format) { format.bold = bold; });
}

void Range::Interior::setColorIndex(int colorIndex) const {
    checkColorIndex(colorIndex);
    const bool none = colorIndex == xl::kColorIndexNone || colorIndex == xl::kColorIndexAutomatic;
    range_.changeFormats([&](CellFormat& format) {
        format.fillColorIndex = none ? xl::kColorIndexNone : colorIndex;
        // A colour alone fills the cell; taking it away leaves no pattern to show.
        format.pattern = none ? xl::kPatternNone : xl::kPatternSolid;
    });
}

void Range::Interior::setPattern(int pattern) const {
    if (pattern != xl::kPatternSolid && pattern != xl::kPatternNone) {
        throw SpreadsheetError("The pattern " + std::to_string(pattern) +
                               " is not available in this workbook");
    }
    range_.changeFormats([&](CellFormat& format) { format.pattern = pattern; });
}

void Range::setHorizontalAlignment(int alignment) const {
    if (alignment != xl::kHAlignGeneral && alignment != xl::kHAlignLeft &&
        alignment != xl::kHAlignCenter && alignment != xl::kHAlignRight) {
        throw SpreadsheetError("The horizontal alignment " + std::to_string(alignment) +
                               " is not available in this workbook");
    }
    changeFormats([&](CellFormat& format) { format.horizontal = alignment; });
}

void Range::setVerticalAlignment(int alignment) const {
    if (alignment != xl::kVAlignTop && alignment != xl::kVAlignCenter &&
        alignment != xl::kVAlignBottom) {
        throw SpreadsheetError("The vertical alignment " + std::to_string(alignment) +
                               " is not available in this workbook");
    }
    changeFormats([&](CellFormat& format) { format.vertical = alignment; });
}

void Range::setWrapText(bool wrap) const {
    changeFormats([&](CellFormat& format) { format.wrapText = wrap; });
}

void Range::setOrientation(int degrees) const {
    if (degrees < -90 || degrees > 90) {
        throw SpreadsheetError("The orientation " + std::to_string(degrees) +
                               " is outside -90 to 90 degrees");
    }
    changeFormats([&](CellFormat& format) { format.orientation = degrees; });
}

void Range::setShrinkToFit(bool shrink) const {
    changeFormats([&](CellFormat& format) { format.shrinkToFit = shrink; });
}

void Range::setMergeCells(bool merge) const {
    sheet_->setMerged(area_, merge);
}

bool Range::mergeCells() const {
    const auto& merged = sheet_->mergedAreas();
    return std::any_of(merged.begin(), merged.end(), [&](const CellArea& m) {
        return m.firstRow <= area_.firstRow && area_.lastRow <= m.lastRow &&
               m.firstColumn <= area_.firstColumn && area_.lastColumn <= m.lastColumn;
    });
}

// Worksheet ----------------------------------------------------------------------------------

Worksheet::Worksheet(Workbook& parent, std::string name)
    : parent_(&parent), name_(std::move(name)) {}

void Worksheet::setName(std::string_view name) {
    std::string scratch;
    const std::string text(asWorkbookText(name, scratch));
    const auto refuse = [&](const std::string& why) {
        throw SpreadsheetError("The sheet name '" + text + "' is not valid: " + why);
    };
    if (text.empty()) {
        refuse("a sheet needs a name");
    }
    if (characterCount(text) > kMaxSheetNameLength) {
        refuse("it is longer than " + std::to_string(kMaxSheetNameLength) + " characters");
    }
    if (text.find_first_of("[]:*?/\\") != std::string::npos) {
        refuse("it holds one of the characters [ ] : * ? / \\");
    }
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        refuse("it holds a control character");
    }
    if (text.front() == '\'' || text.back() == '\'') {
        refuse("it begins or ends with an apostrophe");
    }
    if (equalsIgnoringAsciiCase(text, "History")) {
        refuse("the name is reserved");
    }
    if (parent_->isNameTaken(text, this)) {
        refuse("another sheet of the workbook has it");
    }
    name_ = text;
}

Range Worksheet::range(std::string_view address) {
    return Range(*this, parseAddress(address));
}

Range Worksheet::cells(std::int64_t row, int column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        throw SpreadsheetError("There is no cell at row " + std::to_string(row) + ", column " +
                               std::to_string(column) + " (at most " + std::to_string(kMaxRows) +
                               " rows and " + std::to_string(kMaxColumns) + " columns)");
    }
    return Range(*this, CellArea{row, column, row, column});
}

void Worksheet::setStandardWidth(double width) {
    if (!(width >= 0 && width <= 255)) {
        throw SpreadsheetError("A column width must lie between 0 and 255");
    }
    standardWidth_ = width;
    standardWidthSet_ = true;
}

std::string_view Worksheet::text(std::int64_t row, int column) const {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        return {};
    }
    return cells_.get(static_cast<std::uint32_t>(row), static_cast<std::uint16_t>(column));
}

CellFormat Worksheet::format(std::int64_t row, int column) const {
    const auto found = formats_.find(cellKey(row, column));
    return found == formats_.end() ? CellFormat{} : found->second;
}

std::int64_t Worksheet::lastUsedRow() const {
    std::int64_t last = cells_.lastRow();
    if (!formats_.empty()) {
        last = std::max(last, static_cast<std::int64_t>(formats_.rbegin()->first >> 16));
    }
    return last;
}

void Worksheet::rowCells(std::int64_t row, std::vector<CellView>& out) const {
    out.clear();
    cells_.collect(static_cast<std::uint32_t>(row), out);
    const auto first = formats_.lower_bound(cellKey(row, 0));
    const auto end = formats_.lower_bound(cellKey(row + 1, 0));
    if (first == end) {
        return;
    }
    for (auto it = first; it != end; ++it) {
        const int column = static_cast<int>(it->first & 0xFFFF);
        const auto cell = std::find_if(out.begin(), out.end(),
                                       [&](const CellView& view) { return view.column == column; });
        if (cell != out.end()) {
            cell->format = &it->second;
        } else {
            out.push_back(CellView{column, "", 0, &it->second});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const CellView& a, const CellView& b) { return a.column < b.column; });
}

std::size_t Worksheet::cellMemory() const {
    return cells_.memory() + formats_.size() * (sizeof(CellFormat) + 48);
}

void Worksheet::setText(std::int64_t row, int column, std::string_view text) {
    cells_.set(static_cast<std::uint32_t>(row), static_cast<std::uint16_t>(column), text);
}

void Worksheet::setMerged(const CellArea& area, bool merge) {
    if (!merge) {
        std::erase_if(merged_, [&](const CellArea& m) { return overlaps(m, area); });
        return;
    }
    if (area.firstRow != area.lastRow) {
        throw SpreadsheetError("The range " + describe(area) +
                               " spans several rows; this workbook merges cells within one row");
    }
    if (area.cellCount() == 1) {
        return;
    }
    std::erase_if(merged_, [&](const CellArea& m) { return overlaps(m, area); });
    // A merged range shows its top-left cell only.
    for (int column = area.firstColumn + 1; column <= area.lastColumn; ++column) {
        if (!text(area.firstRow, column).empty()) {
            setText(area.firstRow, column, {});
        }
    }
    merged_.push_back(area);
}

CellFormat& Worksheet::formatFor(std::int64_t row, int column) {
    return formats_[cellKey(row, column)];
}

// Cell store ---------------------------------------------------------------------------------

char* Worksheet::CellStore::keep(std::string_view text) {
    const std::size_t needed = text.size() + 1;
    if (blocks_.empty() || blockSize_ - blockUsed_ < needed) {
        blockSize_ = std::max(kTextBlockSize, needed);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
        blockUsed_ = 0;
    }
    char* at = blocks_.back().get() + blockUsed_;
    text.copy(at, text.size());
    at[text.size()] = '\0';
    blockUsed_ += needed;
    textBytes_ += needed;
    return at;
}

void Worksheet::CellStore::set(std::uint32_t row, std::uint16_t column, std::string_view text) {
    const std::uint64_t key = cellKey(row, column);
    if (!scattered_.empty()) {
        if (const auto found = scattered_.find(key); found != scattered_.end()) {
            found->second.assign(text);
            return;
        }
    }
    if (row <= rows_.size()) {
        const RowRun& run = rows_[row - 1];
        for (std::uint64_t i = run.first; i < run.first + run.count; ++i) {
            Cell& cell = cells_[i];
            if (cell.column != column) {
                continue;
            }
            if (std::string_view(cell.text, cell.length) == text) {
                return;  // headings are written again with every row
            }
            if (text.size() <= cell.length) {
                text.copy(cell.text, text.size());
                cell.text[text.size()] = '\0';
            } else {
                cell.text = keep(text);
            }
            cell.length = static_cast<std::uint32_t>(text.size());
            return;
        }
    }
    if (text.empty()) {
        return;  // an empty cell stays absent
    }
    if (row == rows_.size()) {
        cells_.push_back(Cell{keep(text), static_cast<std::uint32_t>(text.size()), column});
        ++rows_.back().count;
    } else if (row > rows_.size()) {
        rows_.resize(row);
        rows_.back() = RowRun{cells_.size(), 1};
        cells_.push_back(Cell{keep(text), static_cast<std::uint32_t>(text.size()), column});
    } else {
        scattered_.emplace(key, std::string(text));
    }
}

std::string_view Worksheet::CellStore::get(std::uint32_t row, std::uint16_t column) const {
    if (!scattered_.empty()) {
        if (const auto found = scattered_.find(cellKey(row, column)); found != scattered_.end()) {
            return found->second;
        }
    }
    if (row == 0 || row > rows_.size()) {
        return {};
    }
    const RowRun& run = rows_[row - 1];
    for (std::uint64_t i = run.first; i < run.first + run.count; ++i) {
        if (cells_[i].column == column) {
            return {cells_[i].text, cells_[i].length};
        }
    }
    return {};
}

std::uint32_t Worksheet::CellStore::lastRow() const {
    auto last = static_cast<std::uint32_t>(rows_.size());
    if (!scattered_.empty()) {
        last = std::max(last, static_cast<std::uint32_t>(scattered_.rbegin()->first >> 16));
    }
    return last;
}

void Worksheet::CellStore::collect(std::uint32_t row, std::vector<CellView>& out) const {
    if (row >= 1 && row <= rows_.size()) {
        const RowRun& run = rows_[row - 1];
        for (std::uint64_t i = run.first; i < run.first + run.count; ++i) {
            if (cells_[i].length > 0) {
                out.push_back(
                    CellView{cells_[i].column, cells_[i].text, cells_[i].length, nullptr});
            }
        }
    }
    if (!scattered_.empty()) {
        const auto end = scattered_.lower_bound(cellKey(row + 1, 0));
        for (auto it = scattered_.lower_bound(cellKey(row, 0)); it != end; ++it) {
            if (!it->second.empty()) {
                out.push_back(CellView{static_cast<int>(it->first & 0xFFFF), it->second.c_str(),
                                       it->second.size(), nullptr});
            }
        }
    }
    if (!std::is_sorted(out.begin(), out.end(),
                        [](const CellView& a, const CellView& b) { return a.column < b.column; })) {
        std::sort(out.begin(), out.end(),
                  [](const CellView& a, const CellView& b) { return a.column < b.column; });
    }
}

std::size_t Worksheet::CellStore::memory() const {
    std::size_t bytes = cells_.size() * sizeof(Cell) + rows_.capacity() * sizeof(RowRun) +
                        blocks_.size() * kTextBlockSize;
    for (const auto& [key, text] : scattered_) {
        bytes += sizeof(key) + sizeof(text) + text.capacity() + 32;
    }
    return bytes;
}

// Workbook -----------------------------------------------------------------------------------

Workbook::Workbook(Spreadsheet& application) : application_(&application) {
    for (; nextSheetNumber_ <= 3; ++nextSheetNumber_) {
        sheets_.push_back(
            std::make_unique<Worksheet>(*this, "Sheet" + std::to_string(nextSheetNumber_)));
    }
}

void Workbook::requireOpen() const {
    if (closed_) {
        throw SpreadsheetError("The workbook is closed");
    }
}

Worksheet& Workbook::worksheet(std::size_t index) {
    return const_cast<Worksheet&>(std::as_const(*this).worksheet(index));
}

const Worksheet& Workbook::worksheet(std::size_t index) const {
    requireOpen();
    if (index < 1 || index > sheets_.size()) {
        throw SpreadsheetError(
            "Subscript out of range: there is no worksheet " + std::to_string(index), 9);
    }
    return *sheets_[index - 1];
}

Worksheet& Workbook::addWorksheet() {
    requireOpen();
    std::string name;
    do {
        name = "Sheet" + std::to_string(nextSheetNumber_++);
    } while (isNameTaken(name, nullptr));
    const auto at = sheets_.begin() + static_cast<std::ptrdiff_t>(active_);
    sheets_.insert(at, std::make_unique<Worksheet>(*this, name));
    return *sheets_[active_];  // the new sheet now stands where the active one stood
}

void Workbook::deleteWorksheet(std::size_t index) {
    (void)worksheet(index);
    if (sheets_.size() == 1) {
        throw SpreadsheetError("A workbook must keep at least one worksheet");
    }
    sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index - 1));
    if (index - 1 < active_ || active_ == sheets_.size()) {
        --active_;
    }
}

Worksheet& Workbook::activeSheet() {
    requireOpen();
    return *sheets_[active_];
}

const Worksheet& Workbook::activeSheet() const {
    requireOpen();
    return *sheets_[active_];
}

bool Workbook::isNameTaken(std::string_view name, const Worksheet* except) const {
    return std::any_of(sheets_.begin(), sheets_.end(), [&](const auto& sheet) {
        return sheet.get() != except && equalsIgnoringAsciiCase(sheet->name(), name);
    });
}

bool Workbook::saveAs(std::string_view fileName) {
    if (!confirmReplace(fileName)) {
        return false;
    }
    writeAs(fileName);
    return true;
}

bool Workbook::confirmReplace(std::string_view fileName) {
    requireOpen();
    const std::string path = xlsxFilePath(fileName);
    placement_ = entryExists(path) ? Placement::Replace : Placement::New;
    if (application_->displayAlerts() && placement_ == Placement::Replace) {
        Prompt prompt;
        prompt.title = std::string(kApplicationTitle);
        prompt.text = "A file named '" + path +
                      "' already exists in this location. Do you want to replace it?";
        prompt.icon = MessageIcon::Exclamation;
        return application_->ui().askYesNo(prompt);
    }
    return true;
}

void Workbook::writeAs(std::string_view fileName) {
    requireOpen();
    const std::string path = xlsxFilePath(fileName);
    writeXlsxFile(*this, active_, path, placement_, application_->creationTime());
    fullName_ = path;
}

void Workbook::close() {
    closed_ = true;
    sheets_.clear();
}

// Application --------------------------------------------------------------------------------

void Spreadsheet::requireRunning() const {
    if (!running_) {
        throw SpreadsheetError("The spreadsheet application has quit");
    }
}

Workbook& Spreadsheet::addWorkbook() {
    requireRunning();
    workbooks_.push_back(std::make_unique<Workbook>(*this));
    return *workbooks_.back();
}

Workbook& Spreadsheet::activeWorkbook() {
    requireRunning();
    for (auto it = workbooks_.rbegin(); it != workbooks_.rend(); ++it) {
        if (!(*it)->closed()) {
            return **it;
        }
    }
    throw SpreadsheetError("There is no open workbook");
}

void Spreadsheet::quit() {
    for (const auto& book : workbooks_) {
        book->close();
    }
    workbooks_.clear();
    running_ = false;
}

}  // namespace qor::platform
