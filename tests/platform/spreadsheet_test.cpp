#include "platform/spreadsheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace qor::platform {
namespace {

std::vector<std::string> sheetNames(const Workbook& book) {
    std::vector<std::string> names;
    for (std::size_t i = 1; i <= book.worksheetCount(); ++i) {
        names.push_back(book.worksheet(i).name());
    }
    return names;
}

int errorNumberOf(const auto& call) {
    try {
        call();
    } catch (const SpreadsheetError& e) {
        return e.number();
    }
    return 0;
}

TEST(Spreadsheet, NewSheetsGoBeforeTheActiveOne) {
    testing::ScriptedUi ui;
    Spreadsheet excel(ui);
    Workbook& book = excel.addWorkbook();
    EXPECT_EQ(sheetNames(book), (std::vector<std::string>{"Sheet1", "Sheet2", "Sheet3"}));
    book.deleteWorksheet(3);
    book.deleteWorksheet(2);
    EXPECT_EQ(sheetNames(book), (std::vector<std::string>{"Sheet1"}));

    book.addWorksheet().setName("Analog Input");
    EXPECT_EQ(&excel.activeSheet(), &book.worksheet(1));
    excel.activeSheet().range("A1").setValue("AI");
    book.addWorksheet();
    EXPECT_EQ(excel.activeSheet().name(), "Sheet5");  // numbering goes on past deleted sheets
    excel.activeSheet().setName("Digital Input");
    EXPECT_EQ(sheetNames(book),
              (std::vector<std::string>{"Digital Input", "Analog Input", "Sheet1"}));
    EXPECT_EQ(book.worksheet(2).range("A1").value(), "AI");

    EXPECT_EQ(errorNumberOf([&] { book.worksheet(4); }), 9);
    EXPECT_EQ(errorNumberOf([&] { book.worksheet(0); }), 9);
    book.deleteWorksheet(1);
    EXPECT_EQ(excel.activeSheet().name(), "Analog Input");  // the next sheet takes over
    book.deleteWorksheet(2);
    EXPECT_THROW(book.deleteWorksheet(1), SpreadsheetError);  // the last sheet stays

    excel.quit();
    EXPECT_FALSE(excel.running());
    EXPECT_THROW(excel.addWorkbook(), SpreadsheetError);
}

TEST(Spreadsheet, SheetNamesTheFileFormatRejectsAreRefused) {
    testing::ScriptedUi ui;
    Spreadsheet excel(ui);
    Worksheet& sheet = excel.addWorkbook().worksheet(1);
    for (const std::string& bad : std::vector<std::string>{
             "", std::string(32, 'x'), "a[b", "a]b", "a:b", "a*b", "a?b", "a/b", "a\\b", "'quoted",
             "quoted'", "sheet2", "HISTORY", "tab\there"}) {
        EXPECT_THROW(sheet.setName(bad), SpreadsheetError) << bad;
        EXPECT_EQ(sheet.name(), "Sheet1");
    }
    sheet.setName(std::string(31, 'x'));
    std::string accented;
    for (int i = 0; i < 31; ++i) {
        accented += "\xC3\xB3";  // 31 characters in 62 bytes
    }
    sheet.setName(accented);
    EXPECT_EQ(sheet.name(), accented);
    sheet.setName("It's DAT(R)");
    sheet.setName("sheet1");  // its own name in another case is no clash
}

TEST(Spreadsheet, AddressesAndColumnLetters) {
    EXPECT_EQ(parseAddress("A1:E1"), (CellArea{1, 1, 1, 5}));
    EXPECT_EQ(parseAddress("$A$3:$I$3"), (CellArea{3, 1, 3, 9}));
    EXPECT_EQ(parseAddress("e1:a1"), (CellArea{1, 1, 1, 5}));
    EXPECT_EQ(parseAddress("C5"), (CellArea{5, 3, 5, 3}));
    EXPECT_EQ(parseAddress("2:2"), (CellArea{2, 1, 2, kMaxColumns}));
    EXPECT_EQ(parseAddress("XFD1048576"), (CellArea{kMaxRows, kMaxColumns, kMaxRows, kMaxColumns}));
    for (const char* bad : {"", "A0", "A3:3", "XFE1", "A1048577", "1A", "A1:", "A1 ", "2"}) {
        EXPECT_THROW(parseAddress(bad), SpreadsheetError) << bad;
    }
    EXPECT_EQ(columnLetters(1), "A");
    EXPECT_EQ(columnLetters(26), "Z");
    EXPECT_EQ(columnLetters(27), "AA");
    EXPECT_EQ(columnLetters(kMaxColumns), "XFD");
    EXPECT_EQ(columnLetters(0), "");
}

TEST(Spreadsheet, CellsHoldTextCompactlyWhateverTheWritingOrder) {
    testing::ScriptedUi ui;
    Spreadsheet excel(ui);
    Worksheet& sheet = excel.addWorkbook().worksheet(1);
    sheet.cells(3, 1).setValue("CHANNEL");
    sheet.cells(3, 2).setValue("NAME");
    constexpr int kRows = 50000;
    for (int row = 4; row < 4 + kRows; ++row) {
        sheet.cells(3, 1).setValue("CHANNEL");  // headings again with every row
        sheet.cells(3, 2).setValue("NAME");
        sheet.cells(row, 2).setValue("TT" + std::to_string(row));
        sheet.cells(row, 1).setValue("AI800_1." + std::to_string(row));
        sheet.cells(row, 3).setValue("");  // empty values take no room
    }
    const std::size_t held = sheet.cellMemory();
    EXPECT_LT(held, std::size_t{kRows} * 120);  // two short cells a row
    for (int i = 0; i < kRows; ++i) {
        sheet.cells(3, 1).setValue("CHANNEL");
    }
    EXPECT_EQ(sheet.cellMemory(), held);
    EXPECT_EQ(sheet.lastUsedRow(), 3 + kRows);

    // Earlier rows can still change, grow and take new cells.
    sheet.cells(3, 2).setValue("NAME OF THE TAG");
    sheet.cells(3, 1).setValue("CH");
    sheet.cells(3, 5).setValue("late");
    sheet.cells(10, 1).setValue("");
    sheet.cells(2, 1).setValue("before");
    EXPECT_EQ(sheet.text(3, 2), "NAME OF THE TAG");
    EXPECT_EQ(sheet.text(3, 1), "CH");
    EXPECT_EQ(sheet.text(10, 2), "TT10");
    std::vector<CellView> cells;
    sheet.rowCells(3, cells);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].column, 1);
    EXPECT_EQ(cells[1].column, 2);
    EXPECT_STREQ(cells[2].text, "late");
    sheet.rowCells(10, cells);
    ASSERT_EQ(cells.size(), 1u);  // the emptied cell is gone
    EXPECT_STREQ(cells[0].text, "TT10");
    sheet.rowCells(2, cells);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_STREQ(cells[0].text, "before");
}

TEST(Spreadsheet, TextIsUtf8AndLimitedPerCell) {
    testing::ScriptedUi ui;
    Spreadsheet excel(ui);
    Worksheet& sheet = excel.addWorkbook().worksheet(1);
    sheet.range("A1").setValue("Zaw\xF3r \xC3\xB3 \xE2\x82\xAC");  // Latin-1, then UTF-8
    EXPECT_EQ(sheet.text(1, 1), "Zaw\xC3\xB3r \xC3\xB3 \xE2\x82\xAC");
    sheet.range("A2").setValue(std::string("a\0b", 3));
    EXPECT_EQ(sheet.text(2, 1), "ab");
    sheet.range("A3").setValue(std::string(kMaxCellTextLength, 'x'));
    EXPECT_THROW(sheet.range("A4").setValue(std::string(kMaxCellTextLength + 1, 'x')),
                 SpreadsheetError);
    EXPECT_EQ(sheet.text(4, 1), "");
    EXPECT_THROW(sheet.cells(kMaxRows + 1, 1), SpreadsheetError);
}

TEST(Spreadsheet, BordersFillsAndMerges) {
    testing::ScriptedUi ui;
    Spreadsheet excel(ui);
    Worksheet& sheet = excel.addWorkbook().worksheet(1);
    const Range heading = sheet.range("A1:E1");
    for (const int index : {xl::kEdgeLeft, xl::kEdgeRight, xl::kInsideVertical}) {
        heading.borders(index).setLineStyle(xl::kContinuous);
        heading.borders(index).setWeight(xl::kMedium);
    }
    const BorderLine medium{xl::kContinuous, xl::kMedium, xl::kColorIndexAutomatic};
    for (const int column : {1, 3, 5}) {
        EXPECT_EQ(sheet.format(1, column).left, medium) << column;
        EXPECT_EQ(sheet.format(1, column).right, medium) << column;
    }
    EXPECT_EQ(sheet.format(1, 6), CellFormat{});
    sheet.range("B2:C2").borders(xl::kEdgeLeft).setWeight(xl::kThin);  // draws the line
    EXPECT_EQ(sheet.format(2, 2).left.lineStyle, xl::kContinuous);
    EXPECT_EQ(sheet.format(2, 3).left.lineStyle, xl::kLineStyleNone);

    heading.interior().setColorIndex(37);
    EXPECT_EQ(sheet.format(1, 4).fillColorIndex, 37);
    EXPECT_EQ(sheet.format(1, 4).pattern, xl::kPatternSolid);
    EXPECT_EQ(paletteColor(37), 0x99CCFFu);
    EXPECT_EQ(paletteColor(15), 0xC0C0C0u);
    EXPECT_EQ(paletteColor(6), 0xFFFF00u);
    EXPECT_THROW(heading.interior().setColorIndex(57), SpreadsheetError);
    EXPECT_THROW(heading.borders(13).setWeight(xl::kThin), SpreadsheetError);

    sheet.range("C1").setValue("hidden");
    heading.setMergeCells(true);
    EXPECT_TRUE(sheet.range("B1:C1").mergeCells());
    EXPECT_EQ(sheet.text(1, 3), "");  // a merge keeps the top-left text only
    heading.setFormulaR1C1("System status");
    EXPECT_EQ(heading.value(), "System status");
    EXPECT_EQ(sheet.text(1, 2), "");
    EXPECT_THROW(sheet.range("A2:B3").setMergeCells(true), SpreadsheetError);
    heading.setMergeCells(false);
    EXPECT_TRUE(sheet.mergedAreas().empty());
}

TEST(Spreadsheet, SaveAsAsksBeforeReplacingAndNeverLeavesAHalfFile) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    Spreadsheet excel(ui);
    Workbook& book = excel.addWorkbook();
    book.worksheet(1).range("A1").setValue("x");
    const std::string target = dir.file("book.xlsx");

    EXPECT_TRUE(book.saveAs(dir.file("book")));  // the extension is added
    EXPECT_EQ(book.fullName(), target);
    EXPECT_EQ(testing::readFile(target).substr(0, 2), "PK");
    EXPECT_TRUE(ui.prompts.empty());

    dir.write("book.xlsx", "old");
    ui.answers = {false, true};
    EXPECT_FALSE(book.saveAs(target));
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].text, "A file named '" + target +
                                      "' already exists in this location. Do you want to "
                                      "replace it?");
    EXPECT_EQ(testing::readFile(target), "old");
    EXPECT_TRUE(book.saveAs(target));
    EXPECT_EQ(testing::readFile(target).substr(0, 2), "PK");
    excel.setDisplayAlerts(false);
    EXPECT_TRUE(book.saveAs(target));
    EXPECT_EQ(ui.prompts.size(), 2u);  // no question with alerts off

    EXPECT_THROW(book.saveAs(dir.file("AI[1]")), SpreadsheetError);
    EXPECT_THROW(book.saveAs(dir.file("missing/book")), SpreadsheetError);
    EXPECT_THROW(book.saveAs(dir.str() + "/"), SpreadsheetError);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"book.xlsx"});
}

}  // namespace
}  // namespace qor::platform
