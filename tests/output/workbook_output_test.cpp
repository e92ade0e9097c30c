#include "output/workbook_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/standard_error.h"
#include "output/scan_run.h"
#include "platform/window_search.h"
#include "scan/element_reader.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"
#include "support/temp_dir.h"

namespace qor::output {
namespace {

using platform::CellFormat;
using platform::CellView;
using scan::ElementType;
namespace fs = std::filesystem;
namespace xl = platform::xl;

const std::string kGoldenExport = std::string(QOR_TEST_DATA_DIR) + "/golden_node.qor";

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Workbook, ColumnLettersInstallationAndStatusText) {
    EXPECT_EQ(ReturnColumn(1), "A");
    EXPECT_EQ(ReturnColumn(9), "I");
    EXPECT_EQ(ReturnColumn(17), "Q");
    EXPECT_EQ(ReturnColumn(18), "");
    EXPECT_EQ(ReturnColumn(0), "");
    testing::ScriptedUi ui;
    const ExcelInstallation installation = ExcelInstalled(ui);
    EXPECT_TRUE(installation.installed);
    EXPECT_TRUE(installation.version.starts_with("libxlsxwriter ")) << installation.version;
    EXPECT_EQ(SystemStatusText({"12", "Boiler", "2026-11-28, 09:41:07"}),
              "System status at:  2026-11-28, 09:41:07 ( date of generating *.ba file, Node12 )");
}

TEST(Workbook, PreparedSheetAndPastedRowsFollowTheLayout) {
    testing::ScriptedUi ui;
    PasteXL excel(ui, "STATUS");
    excel.InitExcel();
    ASSERT_EQ(excel.workbook()->worksheetCount(), 1u);
    excel.PrepareSheet(9);
    const platform::Worksheet& sheet = *excel.worksheet();
    EXPECT_EQ(sheet.text(1, 1), "STATUS");
    EXPECT_EQ(sheet.text(2, 1), "Created with .QOR Reader");
    EXPECT_EQ(sheet.mergedAreas(), (std::vector<platform::CellArea>{{1, 1, 1, 5}, {2, 1, 2, 5}}));
    const CellFormat a1 = sheet.format(1, 1);
    EXPECT_TRUE(a1.bold);
    EXPECT_EQ(a1.fillColorIndex, 37);
    EXPECT_EQ(a1.pattern, xl::kPatternSolid);
    EXPECT_EQ(a1.horizontal, xl::kHAlignLeft);
    EXPECT_EQ(sheet.format(1, 5).right.weight, xl::kMedium);
    EXPECT_EQ(sheet.format(2, 3).fillColorIndex, 15);
    for (const int column : {1, 9}) {
        EXPECT_EQ(sheet.format(3, column).fillColorIndex, 6);
        EXPECT_EQ(sheet.format(3, column).horizontal, xl::kHAlignCenter);
        EXPECT_EQ(sheet.format(3, column).left.lineStyle, xl::kContinuous);
    }
    EXPECT_EQ(sheet.format(3, 10), CellFormat{});
    EXPECT_EQ(sheet.standardWidth(), 15);

    // A labelled channel row: cabinet and module lead, then slots 1 to 10.
    scan::ElementRow row{};
    for (std::size_t slot = 1; slot < row.size(); ++slot) {
        row[slot] = "s" + std::to_string(slot);
    }
    const std::vector<std::string> columns{"CABINET", "MODULE", "CHANNEL", "NAME,", "DESCR"};
    excel.PasteToExcel(row, 4, columns, 4, true);
    std::vector<std::string> expected{"CABINET", "MODULE", "CHANNEL", "NAME", "DESCR"};
    for (int column = 1; column <= 5; ++column) {
        EXPECT_EQ(sheet.text(3, column), expected[static_cast<std::size_t>(column - 1)]);
    }
    expected = {"s12", "s13", "s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8", "s9", "s10", ""};
    for (int column = 1; column <= 13; ++column) {
        EXPECT_EQ(sheet.text(4, column), expected[static_cast<std::size_t>(column - 1)]) << column;
    }
    // Any other row: slots 1 to 10 from column A; rows go past 32767.
    excel.PasteToExcel(row, 40000, columns, 4, false);
    expected = {"s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8", "s9", "s10", ""};
    for (int column = 1; column <= 11; ++column) {
        EXPECT_EQ(sheet.text(40000, column), expected[static_cast<std::size_t>(column - 1)]);
    }
    EXPECT_TRUE(ui.errors.empty());

    // One workbook for all types: each new sheet goes before the active one.
    excel.AddWorksheet();
    excel.NameActiveSheet("Analog Input");
    excel.AddWorksheet();
    excel.NameActiveSheet("Digital Input");
    EXPECT_EQ(excel.workbook()->worksheet(1).name(), "Digital Input");
    EXPECT_EQ(excel.workbook()->worksheet(2).name(), "Analog Input");
    EXPECT_EQ(excel.workbook()->worksheet(3).name(), "Sheet1");
    EXPECT_THROW(excel.NameActiveSheet("analog input"), platform::SpreadsheetError);
}

TEST(Workbook, RefusedTextsAndNamesGiveOneMessageEachAndNoFile) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    PasteXL excel(ui, std::string(40000, 'x'));
    excel.InitExcel();
    excel.PrepareSheet(3);  // row 1 cannot take the text; the rest is still formatted
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].procedure, "PrepareSheet");
    EXPECT_EQ(excel.worksheet()->text(2, 1), "Created with .QOR Reader");
    EXPECT_EQ(excel.worksheet()->format(1, 1).fillColorIndex, 37);
    EXPECT_EQ(excel.worksheet()->format(3, 3).fillColorIndex, 6);

    excel.EndExcel(dir.file("AI_Node[1]_04Dec2026"));
    ASSERT_EQ(ui.errors.size(), 2u);
    const StandardError& error = ui.errors[1];
    EXPECT_EQ(error.module, "PasteXL");
    EXPECT_EQ(error.procedure, "EndExcel");
    EXPECT_EQ(error.trailer, "Numer bledu 1004");
    const std::string text = formatStandardError(error);
    EXPECT_TRUE(text.ends_with(" at line " + std::to_string(error.line) + "Numer bledu 1004"))
        << text;
    EXPECT_FALSE(excel.running());  // quit all the same
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

class WorkbookScanTest : public ::testing::Test {
protected:
    WorkbookScanTest()
        : session(
              testing::makeSession(kGoldenExport, dir.str(), options::OutputMode::ExcelFilesOnly)) {
        session.nodeInfo.nodeNumber = "12";
        testing::enable(session, ElementType::AI);
        testing::enable(session, ElementType::DI);
    }
    void run() {
        const FixedClock clock(testing::kScanMoment);
        ASSERT_EQ(RunScan(session, ui, {clock, noWindows}), ScanOutcome::Completed);
    }
    fs::path folder() const { return session.scan.outputFolder; }

    testing::TempDir dir;
    testing::ScriptedUi ui;
    Session session;
    platform::EmptyWindowTree noWindows;
};

TEST_F(WorkbookScanTest, OneWorkbookPerTypeOrOneForAll) {
    run();
    EXPECT_EQ(filesIn(folder()),
              (std::vector<std::string>{"AI_Node12_04Dec2026.xlsx", "DI_Node12_04Dec2026.xlsx"}));
    EXPECT_NE(std::find(ui.statusBarTexts.begin(), ui.statusBarTexts.end(),
                        "Converting to Excel (sheets) files - 'DI' elements..."),
              ui.statusBarTexts.end());

    session.options.oneExcelWorkbook = true;
    session.nodeInfo.nodeNumber = "1/2";
    ui.statusBarTexts.clear();
    run();
    EXPECT_EQ(filesIn(folder()), std::vector<std::string>{"Node1_2_04Dec2026.xlsx"});
    EXPECT_NE(std::find(ui.statusBarTexts.begin(), ui.statusBarTexts.end(),
                        "Converting to one Excel file - 'AI' elements..."),
              ui.statusBarTexts.end());
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(WorkbookScanTest, AnExistingWorkbookIsReplacedOnlyWhenTheUserAgrees) {
    session.options.of(ElementType::DI).enabled = false;
    run();
    const fs::path workbook = folder() / "AI_Node12_04Dec2026.xlsx";
    dir.write(fs::relative(workbook, dir.path()).string(), "old");
    ui.answers = {false};
    run();
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_NE(ui.prompts[0].text.find(workbook.string()), std::string::npos);
    EXPECT_EQ(testing::readFile(workbook.string()), "old");
    ui.answers = {true};
    run();
    EXPECT_EQ(testing::readFile(workbook.string()).substr(0, 2), "PK");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(WorkbookScanTest, AFailedReadSavesNoWorkbookAndSaysSo) {
    session.databasePath = dir.file("missing.qor");
    for (const bool oneWorkbook : {false, true}) {
        session.options.oneExcelWorkbook = oneWorkbook;
        const FixedClock clock(testing::kScanMoment);
        try {
            RunScan(session, ui, {clock, noWindows});
            FAIL() << "a missing export cannot be read";
        } catch (const scan::ReadFailed& failure) {
            EXPECT_EQ(failure.type(), ElementType::AI);
            // Nothing of a per-type workbook was saved; the one workbook says it is not.
            EXPECT_EQ(std::string(failure.what()).find("not saved") != std::string::npos,
                      oneWorkbook)
                << failure.what();
        }
        EXPECT_TRUE(filesIn(folder()).empty());
    }
}

TEST_F(WorkbookScanTest, ASaveThatFailsOnAWorkerEndsTheScanWithOneError) {
    run();
    // A folder where the DI workbook should go: its save fails on a worker thread.
    fs::remove(folder() / "DI_Node12_04Dec2026.xlsx");
    fs::create_directory(folder() / "DI_Node12_04Dec2026.xlsx");
    ui.defaultAnswer = true;
    ui.statusBarTexts.clear();
    try {
        run();
        FAIL() << "the DI workbook cannot be saved";
    } catch (const QorError& failure) {
        EXPECT_NE(std::string(failure.what()).find("DI_Node12_04Dec2026.xlsx"), std::string::npos);
    }
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(testing::readFile((folder() / "AI_Node12_04Dec2026.xlsx").string()).substr(0, 2),
              "PK");
    EXPECT_TRUE(fs::is_directory(folder() / "DI_Node12_04Dec2026.xlsx"));
    EXPECT_TRUE(ui.statusBarTexts.empty() || ui.statusBarTexts.back() != "Convert Completed");
}

}  // namespace
}  // namespace qor::output
