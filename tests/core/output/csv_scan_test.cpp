// Scans with CSV output, compared byte for byte with result files written by hand.
#include <filesystem>

#include "core/output/csv_output.h"
#include "core/output/statistics.h"
#include "core/scan/node_info.h"
#include "support/scan_fixture.h"

namespace qor::output {
namespace {

using scan::ElementType;
using testing::readFile;
using testing::testData;

class CsvScan : public testing::ScanFixture {
protected:
    CsvScan() { session.nodeInfo = scan::readNodeInfo(session.databasePath, session.nodeInfo, ui); }
    std::string csv(const std::string& prefix) const {
        return outputFile(prefix + "_Node12_04Dec2026.csv");
    }
    static std::string golden(const std::string& name) { return readFile(testData("csv/" + name)); }
};

TEST_F(CsvScan, WritesTheHandBuiltFilesIntoTheNodeFolder) {
    testing::enable(session, ElementType::AI);
    testing::enable(session, ElementType::DI, {"NAME", "ACT"});
    testing::enable(session, ElementType::DATB, {"NAME"});
    testing::enable(session, ElementType::DATR, {});
    session.options.of(ElementType::DATR).parameters.fill(false);
    testing::rebuildColumns(session);

    ASSERT_FALSE(run().cancelled);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(session.lastScan.outputFolder,
              (dir.path() / "Node12_04Dec2026" / "Csv Files").string());
    EXPECT_EQ(csv("AI"), golden("AI_all.csv"));
    EXPECT_EQ(csv("DI"), golden("DI_name_act.csv"));
    // Each DAT type has its own header, whatever another DAT type selected.
    EXPECT_EQ(csv("DATB"), golden("DATB_name.csv"));
    EXPECT_EQ(csv("DATR"), golden("DATR_none.csv"));
    EXPECT_FALSE(
        std::filesystem::exists(session.lastScan.outputFolder + "/AIC_Node12_04Dec2026.csv"));
    EXPECT_EQ(session.lastScan.writtenOf(ElementType::AI).value_or(-1), 2);
    EXPECT_EQ(session.lastScan.writtenOf(ElementType::DI).value_or(-1), 1);
    EXPECT_EQ(ui.lastingStatuses.back(), "Convert Completed");
    // Reading order, with the status text of each type.
    EXPECT_EQ(ui.statusTexts.front(), "Reading 'Analog Input' parameters...");
    EXPECT_EQ(ui.statusTexts.back(), "Reading 'DAT(R)' parameters...");

    // The statistics of this scan, saved beside the output folder.
    testing::enable(session, ElementType::AIC);
    session.lastScan.written[scan::indexOf(ElementType::AIC)] = 1;
    EXPECT_EQ(statisticsFileText(session, testing::kScanMoment),
              readFile(testData("statistics/Node12.txt")));
}

TEST_F(CsvScan, CabinetLabelsLeadChannelRowsOnly) {
    testing::enable(session, ElementType::AI);
    testing::enable(session, ElementType::AIC);
    testing::applyCabinets(session, {{"CB801", "AI800_1"}, {"CB900", "DI810_1"}});
    ASSERT_FALSE(run().cancelled);
    EXPECT_EQ(csv("AI"), golden("AI_labelled.csv"));
    EXPECT_EQ(csv("AIC"), golden("AIC_labelled.csv"));
}

TEST(CsvField, FormulaStartsGoBehindAnApostropheInsideTheQuotes) {
    using namespace std::string_view_literals;
    const struct {
        std::string_view value;
        std::string_view guarded;
        std::string_view raw;  // empty: the value as it is
    } cases[] = {{"=1+1", "'=1+1", ""},
                 {"@SUM(A1)", "'@SUM(A1)", ""},
                 {"+SUM(A1)", "'+SUM(A1)", ""},
                 {"-A1", "'-A1", ""},
                 {"-1+1", "'-1+1", ""},
                 {"-", "'-", ""},
                 {"-1e", "'-1e", ""},
                 {"\t=1", "'\t=1", ""},
                 {"\rx", "\"'\rx\"", "\"\rx\""},
                 {"=A1,B1", "\"'=A1,B1\"", "\"=A1,B1\""},
                 {"=\"x\"", "\"'=\"\"x\"\"\"", "\"=\"\"x\"\"\""},
                 // Plain numbers, and what no spreadsheet takes for a formula, stay as they are.
                 {"-300.0", "-300.0", ""},
                 {"-.5", "-.5", ""},
                 {"-5.", "-5.", ""},
                 {"-1.5e-3", "-1.5e-3", ""},
                 {"+1E5", "+1E5", ""},
                 {" =1", " =1", ""},
                 {"", "", ""},
                 // A spreadsheet drops NUL bytes, so the start it sees comes after them.
                 {"\0=1+1"sv, "'\0=1+1"sv, ""},
                 {"\0\0@SUM(A1)"sv, "'\0\0@SUM(A1)"sv, ""},
                 {"\0-A1"sv, "'\0-A1"sv, ""},
                 {"\0=A1,B1"sv, "\"'\0=A1,B1\""sv, "\"\0=A1,B1\""sv},
                 {"\0-300.0"sv, "\0-300.0"sv, ""},
                 {"\0 =1"sv, "\0 =1"sv, ""},
                 {"\0"sv, "\0"sv, ""},
                 // What it keeps as text in front of "=" keeps the value text.
                 {"\x01=1", "\x01=1", ""},
                 {"\x7f=1", "\x7f=1", ""},
                 {"\xEF\xBB\xBF=1", "\xEF\xBB\xBF=1", ""},
                 {"\xE2\x80\x8B=1", "\xE2\x80\x8B=1", ""},
                 {"\xC2\xA0=1", "\xC2\xA0=1", ""},
                 {"\xEF\xBC\x9D"
                  "1+1",
                  "\xEF\xBC\x9D"
                  "1+1",
                  ""},
                 {"|calc", "|calc", ""},
                 {"=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::string guarded;
        appendCsvField(guarded, c.value);
        EXPECT_EQ(guarded, c.guarded);
        std::string raw;
        appendCsvField(raw, c.value, CsvValues::Raw);
        EXPECT_EQ(raw, c.raw.empty() ? c.value : c.raw);
    }
}

}  // namespace
}  // namespace qor::output
