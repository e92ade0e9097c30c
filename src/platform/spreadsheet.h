#pragma once

#include <cstdint>
#include <ctime>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/qor_error.h"
#include "core/user_interface.h"
#include "platform/result_file.h"

// An in-process stand-in for the spreadsheet application that the workbook output drives:
// application, workbooks, worksheets, ranges and their formats, with the object model's own
// rules (new sheets go before the active one, a workbook starts with three sheets, SaveAs
// asks before it replaces a file while alerts are on). Cells are held in memory; SaveAs
// writes a real .xlsx file.
namespace qor::platform {

// Constants of the object model, with the values its callers pass.
namespace xl {
inline constexpr int kHAlignGeneral = 1;
inline constexpr int kHAlignLeft = -4131;
inline constexpr int kHAlignCenter = -4108;
inline constexpr int kHAlignRight = -4152;
inline constexpr int kVAlignTop = -4160;
inline constexpr int kVAlignCenter = -4108;
inline constexpr int kVAlignBottom = -4107;

// Border indexes.
inline constexpr int kEdgeLeft = 7;
inline constexpr int kEdgeTop = 8;
inline constexpr int kEdgeBottom = 9;
inline constexpr int kEdgeRight = 10;
inline constexpr int kInsideVertical = 11;
inline constexpr int kInsideHorizontal = 12;

inline constexpr int kLineStyleNone = -4142;
inline constexpr int kContinuous = 1;
inline constexpr int kHairline = 1;
inline constexpr int kThin = 2;
inline constexpr int kMedium = -4138;
inline constexpr int kThick = 4;

inline constexpr int kColorIndexAutomatic = -4105;
inline constexpr int kColorIndexNone = -4142;
inline constexpr int kPatternNone = -4142;
inline constexpr int kPatternSolid = 1;
}  // namespace xl

inline constexpr std::int64_t kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;
inline constexpr std::size_t kMaxCellTextLength = 32767;  // characters
inline constexpr std::size_t kMaxSheetNameLength = 31;    // characters

// An operation the spreadsheet refuses. The number is the error number it reports.
class SpreadsheetError : public QorError {
public:
    static constexpr int kObjectDefined = 1004;

    explicit SpreadsheetError(const std::string& description, int number = kObjectDefined)
        : QorError(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

// The version text of the writer behind SaveAs, e.g. "libxlsxwriter 1.1.4".
std::string spreadsheetWriterVersion();

// The palette colour of a colour index 1..56 as 0xRRGGBB; throws SpreadsheetError otherwise.
std::uint32_t paletteColor(int colorIndex);

struct BorderLine {
    int lineStyle = xl::kLineStyleNone;
    int weight = xl::kThin;
    int colorIndex = xl::kColorIndexAutomatic;
    auto operator<=>(const BorderLine&) const = default;
};

// Everything a cell's format can hold here.
struct CellFormat {
    bool bold = false;
    int fillColorIndex = xl::kColorIndexNone;
    int pattern = xl::kPatternNone;
    int horizontal = xl::kHAlignGeneral;
    int vertical = xl::kVAlignBottom;
    bool wrapText = false;
    int orientation = 0;
    bool shrinkToFit = false;
    BorderLine left, right, top, bottom;
    auto operator<=>(const CellFormat&) const = default;
};

// A rectangle of cells, rows and columns counted from 1.
struct CellArea {
    std::int64_t firstRow = 1;
    int firstColumn = 1;
    std::int64_t lastRow = 1;
    int lastColumn = 1;
    bool operator==(const CellArea&) const = default;
    std::int64_t cellCount() const {
        return (lastRow - firstRow + 1) * (lastColumn - firstColumn + 1);
    }
};

// "C5", "A1:E1", "$A$3:$I$3" or whole rows "2:2". Throws SpreadsheetError.
CellArea parseAddress(std::string_view address);
// 1 -> "A", 27 -> "AA"; empty outside 1..kMaxColumns.
std::string columnLetters(int column);

class Worksheet;
class Workbook;

// A range of one worksheet. Setting a value or a format applies it to every cell of the
// range; reading gives the top-left cell's.
class Range {
public:
    class Border;
    class Font;
    class Interior;

    // Values are text; the stand-in keeps a formula as the text it was given.
    void setValue(std::string_view text) const;
    void setFormulaR1C1(std::string_view text) const { setValue(text); }
    std::string value() const;

    Border borders(int index) const;
    Font font() const;
    Interior interior() const;
    void setHorizontalAlignment(int alignment) const;
    void setVerticalAlignment(int alignment) const;
    void setWrapText(bool wrap) const;
    void setOrientation(int degrees) const;
    void setShrinkToFit(bool shrink) const;
    // Merging keeps the top-left text only. The writer merges within one row.
    void setMergeCells(bool merge) const;
    bool mergeCells() const;
    void select() const {}  // nothing to show

    const CellArea& area() const { return area_; }

private:
    friend class Worksheet;
    Range(Worksheet& sheet, const CellArea& area) : sheet_(&sheet), area_(area) {}
    template <typename Change>
    void changeFormats(Change&& change) const;
    void changeBorder(int index, void (*apply)(BorderLine&, int), int value) const;

    Worksheet* sheet_;
    CellArea area_;
};

class Range::Border {
public:
    void setLineStyle(int lineStyle) const;
    void setWeight(int weight) const;
    void setColorIndex(int colorIndex) const;

private:
    friend class Range;
    Border(const Range& range, int index) : range_(range), index_(index) {}
    Range range_;
    int index_;
};

class Range::Font {
public:
    void setBold(bool bold) const;

private:
    friend class Range;
    explicit Font(const Range& range) : range_(range) {}
    Range range_;
};

class Range::Interior {
public:
    void setColorIndex(int colorIndex) const;
    void setPattern(int pattern) const;

private:
    friend class Range;
    explicit Interior(const Range& range) : range_(range) {}
    Range range_;
};

inline Range::Border Range::borders(int index) const {
    return Border(*this, index);
}
inline Range::Font Range::font() const {
    return Font(*this);
}
inline Range::Interior Range::interior() const {
    return Interior(*this);
}

// A cell as the writer sees it: its text (NUL-terminated, may be empty) and its format.
struct CellView {
    int column = 0;
    const char* text = "";
    std::size_t length = 0;
    const CellFormat* format = nullptr;  // nullptr: the default format
};

class Worksheet {
public:
    Worksheet(Workbook& parent, std::string name);
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    const std::string& name() const { return name_; }
    void setName(std::string_view name);

    Range range(std::string_view address);
    Range cells(std::int64_t row, int column);
    Range rows(std::string_view address) { return range(address); }
    double standardWidth() const { return standardWidth_; }
    void setStandardWidth(double width);
    bool standardWidthSet() const { return standardWidthSet_; }
    Workbook& parent() const { return *parent_; }

    // Reading back, for the writer and for tests.
    std::string_view text(std::int64_t row, int column) const;
    CellFormat format(std::int64_t row, int column) const;
    const std::vector<CellArea>& mergedAreas() const { return merged_; }
    // The highest row that holds text or a format; 0 for an empty sheet.
    std::int64_t lastUsedRow() const;
    // The cells of one row that hold text or a format, in column order.
    void rowCells(std::int64_t row, std::vector<CellView>& out) const;
    // Bytes held for the cells, for the memory checks.
    std::size_t cellMemory() const;

private:
    friend class Range;

    // Cells in arrival order: a row's cells lie together as long as rows arrive in order,
    // which is how a worksheet is filled; a cell of an earlier row that is new goes to a
    // small side map. Texts sit in fixed blocks, each followed by a NUL for the writer.
    class CellStore {
    public:
        void set(std::uint32_t row, std::uint16_t column, std::string_view text);
        std::string_view get(std::uint32_t row, std::uint16_t column) const;
        std::uint32_t lastRow() const;
        void collect(std::uint32_t row, std::vector<CellView>& out) const;
        std::size_t memory() const;

    private:
        struct Cell {
            char* text;  // in a block, NUL-terminated
            std::uint32_t length;
            std::uint16_t column;
        };
        struct RowRun {
            std::uint64_t first = 0;
            std::uint32_t count = 0;
        };
        char* keep(std::string_view text);

        std::deque<Cell> cells_;
        std::vector<RowRun> rows_;  // rows_[row - 1]; rows_.size() is the row of the last run
        std::vector<std::unique_ptr<char[]>> blocks_;
        std::size_t blockUsed_ = 0;
        std::size_t blockSize_ = 0;
        std::size_t textBytes_ = 0;
        std::map<std::uint64_t, std::string> scattered_;
    };

    void setText(std::int64_t row, int column, std::string_view text);
    void setMerged(const CellArea& area, bool merge);
    CellFormat& formatFor(std::int64_t row, int column);

    Workbook* parent_;
    std::string name_;
    CellStore cells_;
    std::map<std::uint64_t, CellFormat> formats_;  // few: the formatted heading rows
    std::vector<CellArea> merged_;
    double standardWidth_ = 8.43;
    bool standardWidthSet_ = false;
};

class Spreadsheet;

class Workbook {
public:
    // A new workbook holds Sheet1, Sheet2 and Sheet3, the first one active.
    explicit Workbook(Spreadsheet& application);
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    std::size_t worksheetCount() const { return sheets_.size(); }
    // Counted from 1, in tab order.
    Worksheet& worksheet(std::size_t index);
    const Worksheet& worksheet(std::size_t index) const;
    // A new sheet goes before the active one and becomes active.
    Worksheet& addWorksheet();
    void deleteWorksheet(std::size_t index);
    Worksheet& activeSheet();
    const Worksheet& activeSheet() const;
    bool isNameTaken(std::string_view name, const Worksheet* except) const;

    // Saves as the file name plus ".xlsx" unless it has that extension. While alerts are on
    // an existing file is replaced only when the user agrees; false when it was kept.
    // Throws SpreadsheetError; a failed save leaves no file of its own behind.
    bool saveAs(std::string_view fileName);
    // The two halves of saveAs, for saving on another thread: the question (false when an
    // existing file is to be kept) and the writing, which asks nothing.
    bool confirmReplace(std::string_view fileName);
    void writeAs(std::string_view fileName);
    void close();
    bool closed() const { return closed_; }
    const std::string& fullName() const { return fullName_; }

private:
    void requireOpen() const;

    Spreadsheet* application_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    std::size_t active_ = 0;
    int nextSheetNumber_ = 1;
    bool closed_ = false;
    std::string fullName_;
    Placement placement_ = Placement::New;  // as the last question left it
};

class Spreadsheet {
public:
    explicit Spreadsheet(UserInterface& ui) : ui_(ui) {}
    Spreadsheet(const Spreadsheet&) = delete;
    Spreadsheet& operator=(const Spreadsheet&) = delete;

    Workbook& addWorkbook();
    // The most recently added workbook that is still open.
    Workbook& activeWorkbook();
    // Worksheets of the active workbook, counted from 1.
    Worksheet& worksheet(std::size_t index) { return activeWorkbook().worksheet(index); }
    Worksheet& activeSheet() { return activeWorkbook().activeSheet(); }

    bool displayAlerts() const { return displayAlerts_; }
    void setDisplayAlerts(bool on) { displayAlerts_ = on; }
    void setUserControl(bool on) { userControl_ = on; }
    void setScreenUpdating(bool on) { screenUpdating_ = on; }
    // The creation time that saved workbooks carry.
    std::time_t creationTime() const { return creationTime_; }
    void setCreationTime(std::time_t created) { creationTime_ = created; }
    // Closes every workbook without saving; nothing can be used afterwards.
    void quit();
    bool running() const { return running_; }
    UserInterface& ui() const { return ui_; }

private:
    void requireRunning() const;

    UserInterface& ui_;
    std::vector<std::unique_ptr<Workbook>> workbooks_;
    bool displayAlerts_ = true;
    bool userControl_ = true;
    bool screenUpdating_ = true;
    bool running_ = true;
    std::time_t creationTime_ = 0;
};

}  // namespace qor::platform
