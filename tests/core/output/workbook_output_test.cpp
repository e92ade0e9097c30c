#include "core/output/workbook_output.h"

#include <filesystem>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/output/xlsx_check.h"
#include "core/output/xlsx_workbook.h"
#include "core/scan/element_sink.h"
#include "support/scan_fixture.h"
#include "support/thrown.h"

namespace qor::output {
namespace {

using scan::ElementType;
using testing::filesIn;
namespace fs = std::filesystem;

// Every match of the first group of `pattern` in `text`.
std::vector<std::string> allOf(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
        found.push_back((*it)[1]);
    }
    return found;
}

// The rows of a saved sheet, each as "A1:1 text, B1:1": cell, ":" style number, text.
std::vector<std::string> rowsOf(const std::string& path, int sheet) {
    const std::regex cell(
        R"re(<c r="(\w+)"(?: s="(\d+)")?(?:/>| t="inlineStr"><is><t>([^<]*)</t>))re");
    std::vector<std::string> rows;
    for (const std::string& row :
         allOf(readWorkbookPart(path, "xl/worksheets/sheet" + std::to_string(sheet) + ".xml"),
               R"re(<row [^>]*>(.*?)</row>)re")) {
        std::string cells;
        for (auto it = std::sregex_iterator(row.begin(), row.end(), cell);
             it != std::sregex_iterator(); ++it) {
            const std::smatch& c = *it;
            cells += (cells.empty() ? "" : ", ") + c[1].str() +
                     (c[2].matched ? ":" + c[2].str() : "") +
                     (c[3].length() ? " " + c[3].str() : "");
        }
        rows.push_back(cells);
    }
    return rows;
}

// A sheet has columns A to Q: a type never needs more, and PrepareSheet refuses them.
TEST(Workbook, ColumnLetters) {
    EXPECT_EQ(columnLetter(17), "Q");
    EXPECT_EQ(columnLetter(18), "");
    EXPECT_EQ(columnLetter(0), "");
}

TEST(Workbook, CellTextsAreUtf8WithinTheCellLimitAndFileNamesGetTheirExtension) {
    const struct {
        std::string bytes, stored;
    } texts[] = {
        {"Zaw\xF3r \xC3\xB3 \xE2\x82\xAC", "Zaw\xC3\xB3r \xC3\xB3 \xE2\x82\xAC"},  // Latin-1, UTF-8
        {"\xC0\x80\xED\xA0\x80", "\xC3\x80\xC2\x80\xC3\xAD\xC2\xA0\xC2\x80"},      // ill-formed
        {std::string("a\0b", 3), "ab"},
        {std::string(32767, 'x'), std::string(32767, 'x')},
    };
    std::string scratch;
    for (const auto& text : texts) {
        EXPECT_EQ(cellText(text.bytes, scratch), text.stored);
    }
    std::string wide;
    for (int i = 0; i < 32767; ++i) {
        wide += "\xC3\xB3";  // characters count, not bytes
    }
    EXPECT_EQ(cellText(wide, scratch), wide);
    EXPECT_THROW(cellText(std::string(32768, 'x'), scratch), QorError);
    EXPECT_THROW(cellText(wide + "\xF3", scratch), QorError);

    EXPECT_EQ(xlsxFilePath("d/AI_Node12"), "d/AI_Node12.xlsx");
    EXPECT_EQ(xlsxFilePath("d/book.XLSX"), "d/book.XLSX");
    for (const char* refused : {"d/AI[1]", "d/", "d/..", "d/a*b", "d/tab\t"}) {
        EXPECT_THROW(xlsxFilePath(refused), QorError) << refused;
    }
}

TEST(Workbook, SheetsFollowTheLayout) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    ElementWorkbook book(ui, "STATUS", 0);
    book.start(platform::FolderHandle::open(dir.str()), {"Rows", "Empty"});
    book.prepareSheet(0, 9, "AI");
    book.prepareSheet(1, 2, "DI");
    scan::ElementRow row{};
    for (std::size_t slot = 1; slot < row.size(); ++slot) {
        row[slot] = "s" + std::to_string(slot);
    }
    row[5].clear();
    const std::vector<std::string> columns{"CABINET", "MODULE", "CHANNEL", "NAME,", "DESCR"};
    book.addRow(0, scan::viewOf(row), columns, true);  // labelled: cabinet and module lead
    book.addRow(0, scan::viewOf(row), columns, false);
    book.saveAs(dir.file("book"));
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_FALSE(book.open());

    const std::string path = dir.file("book.xlsx");
    std::vector<std::string> rows = {"A1:1 STATUS, B1:1, C1:1, D1:1, E1:1",
                                     "A2:2 Created with .QOR Reader, B2:2, C2:2, D2:2, E2:2",
                                     "A3:3, B3:3"};
    EXPECT_EQ(rowsOf(path, 2), rows);  // without elements the heading row has no texts
    rows[2] =
        "A3:3 CABINET, B3:3 MODULE, C3:3 CHANNEL, D3:3 NAME, E3:3 DESCR, F3:3, G3:3, H3:3, I3:3";
    rows.push_back(
        "A4 s12, B4 s13, C4 s1, D4 s2, E4 s3, F4 s4, H4 s6, I4 s7, J4 s8, K4 s9, L4 s10");
    rows.push_back("A5 s1, B5 s2, C5 s3, D5 s4, F5 s6, G5 s7, H5 s8, I5 s9, J5 s10");
    EXPECT_EQ(rowsOf(path, 1), rows);  // merged cells, widths and fills: check_workbooks.py
}

// The files this process has open (on Windows an open file shows as a folder that stays).
std::size_t openFileCount() {
#ifdef _WIN32
    return 0;
#else
    const auto entries = fs::directory_iterator("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(fs::begin(entries), fs::end(entries)));
#endif
}

TEST(Workbook, ANeverSavedWorkbookKeepsNoFileOpen) {
    const testing::TempDir dir;
    const std::size_t filesBefore = openFileCount();
    { const XlsxWorkbook book(platform::FolderHandle::open(dir.str()), {"AI", "DI"}, 0, "AI"); }
    EXPECT_EQ(openFileCount(), filesBefore);
    EXPECT_EQ(testing::filesIn(dir.path()), std::vector<std::string>{});  // nor its scratch folder
}

TEST(Workbook, EachFailureGivesOneMessageAndLeavesNoFile) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    ElementWorkbook book(ui, std::string(40000, 'x'), 0);
    const platform::FolderHandle folder = platform::FolderHandle::open(dir.str());
    book.start(folder, {"Sheet1"});
    book.prepareSheet(0, 3, "AI");  // row 1 cannot take the text; the rest is still laid out
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].procedure, "PrepareSheet");
    scan::ElementRow row{};
    row[1] = "AI1.1";
    row[2] = std::string(40000, 'y');  // the cell stays empty; the row is still written
    row[3] = "NAME";
    book.addRow(0, scan::viewOf(row), {"CHANNEL"}, false);
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(ui.errors[1].procedure, "PasteToExcel");
    book.saveAs(dir.file("long"));
    EXPECT_EQ(rowsOf(dir.file("long.xlsx"), 1),
              (std::vector<std::string>{"A1:1, B1:1, C1:1, D1:1, E1:1",
                                        "A2:2 Created with .QOR Reader, B2:2, C2:2, D2:2, E2:2",
                                        "A3:3 CHANNEL, B3:3, C3:3", "A4 AI1.1, C4 NAME"}));
    fs::remove(dir.file("long.xlsx"));

    book.start(folder, {"Sheet1"});
    book.saveAs(dir.file("AI_Node[1]_04Dec2026"));
#ifndef _WIN32  // there an open folder cannot be removed
    // A workbook that cannot start (its folder gone) says so when it is saved.
    fs::create_directory(dir.file("missing"));
    const platform::FolderHandle gone = platform::FolderHandle::open(dir.file("missing"));
    fs::remove(dir.file("missing"));
    book.start(gone, {"Sheet1"});
    EXPECT_TRUE(book.open());
    book.prepareSheet(0, 3, "AI");
    book.addRow(0, scan::ElementRowView{}, {"CHANNEL"}, false);
    book.saveAs(dir.file("missing/AI"));
    ASSERT_EQ(ui.errors.size(), 4u);
    EXPECT_TRUE(ui.errors[3].description.starts_with("Cannot create the workbook '" +
                                                     dir.file("missing/AI.xlsx") + "': "))
        << ui.errors[3].description;
    for (const StandardError& error : {ui.errors[2], ui.errors[3]}) {
        EXPECT_EQ(error.module, "PasteXL");
        EXPECT_EQ(error.procedure, "EndExcel");
        const std::string text = formatStandardError(error);
        EXPECT_TRUE(text.ends_with(" at line " + std::to_string(error.line) + "Numer bledu 1004"))
            << text;
    }
#endif
    EXPECT_FALSE(book.open());
    EXPECT_EQ(testing::filesIn(dir.path()), std::vector<std::string>{});
}

TEST(Workbook, AFullSheetSaysSoOnceNamingItsTypeAndFile) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    ElementWorkbook book(ui, "STATUS", 0, "AI workbook");
    ASSERT_TRUE(book.askToReplace(dir.file("AI_Node12")));
    book.start(platform::FolderHandle::open(dir.str()), {"Sheet1"});
    book.prepareSheet(0, 1, "AI");
    scan::ElementRow row{};
    row[scan::kDesignationSlot] = "AI1.1";
    for (std::int64_t element = 4; element <= kMaxSheetRows + 2; ++element) {
        book.addRow(0, scan::viewOf(row), {"CHANNEL"}, false);
    }
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].description,
              "The worksheet of the AI elements in '" + dir.file("AI_Node12.xlsx") +
                  "' is full at row 1048576: the following elements of the type are not in it");
    EXPECT_FALSE(book.save());  // the last row was read back
}

class WorkbookScanTest : public testing::ScanFixture {
protected:
    WorkbookScanTest() {
        session.options.outputMode = options::OutputMode::ExcelFilesOnly;
        testing::enable(session, ElementType::AI);
        testing::enable(session, ElementType::DI);
    }
    void run() { ASSERT_FALSE(ScanFixture::run().cancelled); }
    fs::path folder() const { return outputFolder(); }
};

TEST_F(WorkbookScanTest, OneWorkbookPerTypeOrOneForAll) {
    run();
    EXPECT_EQ(filesIn(folder()),
              (std::vector<std::string>{"AI_Node12_04Dec2026.xlsx", "DI_Node12_04Dec2026.xlsx"}));
    EXPECT_NE(std::find(ui.lastingStatuses.begin(), ui.lastingStatuses.end(),
                        "Converting to Excel (sheets) files - 'DI' elements..."),
              ui.lastingStatuses.end());

    session.options.oneExcelWorkbook = true;
    session.nodeInfo.nodeNumber = "1/2";
    ui.lastingStatuses.clear();
    run();
    EXPECT_EQ(filesIn(folder()), std::vector<std::string>{"Node1_2_04Dec2026.xlsx"});
    // The sheets in reading order, and no other.
    const std::string book = (folder() / "Node1_2_04Dec2026.xlsx").string();
    EXPECT_EQ(allOf(readWorkbookPart(book, "xl/workbook.xml"), R"re(<sheet name="([^"]+)")re"),
              (std::vector<std::string>{"Analog Input", "Digital Input"}));
    EXPECT_TRUE(rowsOf(book, 1).at(3).starts_with("A4 AI800_1.1,"));
    EXPECT_TRUE(rowsOf(book, 2).at(3).starts_with("A4 DI810_1.12,"));
    EXPECT_NE(std::find(ui.lastingStatuses.begin(), ui.lastingStatuses.end(),
                        "Converting to one Excel file - 'AI' elements..."),
              ui.lastingStatuses.end());
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(WorkbookScanTest, AFailedReadSavesNoWorkbookAndSaysSo) {
    session.databasePath = dir.file("missing.qor");
    for (const bool oneWorkbook : {false, true}) {
        session.options.oneExcelWorkbook = oneWorkbook;
        const auto failure = testing::thrown<scan::ReadFailed>([&] { ScanFixture::run(); });
        ASSERT_TRUE(failure) << "a missing export cannot be read";
        EXPECT_EQ(failure->type(), ElementType::AI);
        // Nothing of a per-type workbook was saved; the one workbook says it is not.
        const std::string text = failure->what();
        EXPECT_EQ(text.find("not saved") != std::string::npos, oneWorkbook) << text;
        EXPECT_EQ(testing::filesIn(dir.path()), std::vector<std::string>{});  // nor its folders
    }
}

TEST_F(WorkbookScanTest, ASaveThatFailsOnAWorkerEndsTheScanWithOneErrorOfItsOwnType) {
    // More types than saving threads: a later type waits for a thread and meets the failure.
    for (const ElementType type : {ElementType::AO, ElementType::DO, ElementType::PIDCON}) {
        testing::enable(session, type);
    }
    run();
    // A folder where the AI workbook should go: its save fails on a worker thread.
    const fs::path blocked = folder() / "AI_Node12_04Dec2026.xlsx";
    fs::remove(blocked);
    fs::create_directory(blocked);
    ui.defaultAnswer = true;
    ui.lastingStatuses.clear();
    const auto failure = testing::thrown<scan::ReadFailed>([&] { ScanFixture::run(); });
    ASSERT_TRUE(failure) << "the AI workbook cannot be saved";
    EXPECT_EQ(failure->type(), ElementType::AI);
    EXPECT_TRUE(std::string(failure->what()).starts_with("Cannot write '" + blocked.string()))
        << failure->what();
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(testing::readFile((folder() / "DI_Node12_04Dec2026.xlsx").string()).substr(0, 2),
              "PK");
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_TRUE(ui.lastingStatuses.empty() || ui.lastingStatuses.back() != "Convert Completed");
}

}  // namespace
}  // namespace qor::output
