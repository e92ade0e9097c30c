#include "core/output/scan_run.h"

#include <filesystem>
#include <fstream>

#include "core/base/qor_error.h"
#include "core/output/result_folder.h"
#include "core/output/statistics.h"
#include "core/scan/element_sink.h"
#include "support/scan_fixture.h"

namespace qor::output {
namespace {

using scan::ElementType;
namespace fs = std::filesystem;

using ScanRunTest = testing::ScanFixture;

TEST_F(ScanRunTest, ResultFoldersAreMadeOnceAndReusedWithSafeNames) {
    testing::enable(session, ElementType::DATB);
    session.nodeInfo.nodeNumber = "../7:x";
    EXPECT_EQ(run(), ScanOutcome::Completed);
    const fs::path expected = dir.path() / "Node.._7_x_04Dec2026";
    EXPECT_EQ(session.scan.resultFolder, expected.string());
    EXPECT_TRUE(fs::exists(expected / "Csv Files" / "DATB_Node.._7_x_04Dec2026.csv"));
    // A second scan the same day writes into the same folders without questions.
    ui.defaultAnswer = true;
    EXPECT_EQ(run(), ScanOutcome::Completed);
    EXPECT_EQ(session.scan.outputFolder, (expected / "Csv Files").string());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ScanRunTest, ANonExportOrAMissingResultFolderIsOneErrorAndNothingIsWritten) {
    testing::enable(session, ElementType::AI);
    testing::enable(session, ElementType::DI);
    // Some other file is refused before anything is made.
    session.nodeInfo.notAnExport = true;
    EXPECT_THROW(run(), QorError);
    session.nodeInfo.notAnExport = false;
    session.options.scanResultFolderPath = dir.file("not-there");
    try {
        run();
        FAIL() << "writing into a missing folder cannot succeed";
    } catch (const QorError& failure) {
        EXPECT_NE(std::string(failure.what()).find(dir.file("not-there")), std::string::npos);
    }
    EXPECT_TRUE(ui.errors.empty());  // the caller reports the one cause
    EXPECT_TRUE(ui.lastingStatuses.empty());
    EXPECT_TRUE(fs::is_empty(dir.path()));
    // The next scan, into a folder that exists, works from a clean state.
    session.options.scanResultFolderPath = dir.str();
    EXPECT_EQ(run(), ScanOutcome::Completed);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(session.resultOf(ElementType::DI).writtenCount, 1);
}

// The types are read together but fail as if read one after the other: AI before the failing
// AO is complete, DI after it was never started, so the DI file of an earlier run stays.
TEST_F(ScanRunTest, AFailingMiddleTypeLeavesWhatTheTypeByTypeOrderLeft) {
    for (const ElementType type : {ElementType::AI, ElementType::AO, ElementType::DI}) {
        testing::enable(session, type);
    }
    openResultFolders(session, FixedClock(testing::kScanMoment));
    const fs::path folder = session.scan.outputFolder;
    fs::create_directory(folder / "AO_Node12_04Dec2026.csv");
    { std::ofstream(folder / "DI_Node12_04Dec2026.csv") << "earlier run"; }
    ui.defaultAnswer = true;
    try {
        run();
        FAIL() << "AO cannot take its name";
    } catch (const scan::ReadFailed& failure) {
        EXPECT_EQ(failure.type(), ElementType::AO);
        EXPECT_NE(std::string(failure.what()).find("AO_Node12_04Dec2026.csv"), std::string::npos);
    }
    EXPECT_EQ(testing::readFile((folder / "AI_Node12_04Dec2026.csv").string()).substr(0, 13),
              "CHANNEL,NAME,");
    EXPECT_GT(session.resultOf(ElementType::AI).writtenCount, 0);
    EXPECT_EQ(testing::readFile((folder / "DI_Node12_04Dec2026.csv").string()), "earlier run");
    EXPECT_EQ(session.resultOf(ElementType::DI).writtenCount, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
}

TEST_F(ScanRunTest, AnElementLeftOpenByTheFileDoesNotLeakIntoTheNextType) {
    session.databasePath = dir.write("open.qor",
                                     "DI1.1          DIS\n  :ACT           1\n\n"
                                     "AI1.1          AIS\n  :NAME          LEAK\n"
                                     "  :DESCR         leak\n");
    testing::enable(session, ElementType::AI);
    testing::enable(session, ElementType::DI, {"NAME", "DESCR", "ACT"});
    ASSERT_EQ(run(), ScanOutcome::Completed);
    EXPECT_EQ(session.resultOf(ElementType::AI).writtenCount, 0);
    EXPECT_EQ(testing::readFile(session.scan.outputFolder + "/DI_Node12_04Dec2026.csv"),
              "CHANNEL,NAME,DESCR,ACT,\r\n\r\r\nDI1.1,,,1,,,,,,,\r\n");
}

TEST(Statistics, SavingAsksBeforeReplacingAndNeverClaimsAFailedSave) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    Session session;
    session.nodeInfo.nodeNumber = "12";
    session.scan.openScanResultFolder = platform::FolderHandle::open(dir.str());
    session.scan.nodeFolderName = "Node12_04Dec2026";
    session.scan.resultFolder = dir.file("Node12_04Dec2026");
    fs::create_directory(session.scan.resultFolder);
    const FixedClock clock(testing::kScanMoment);

    EXPECT_EQ(saveStatisticsFile(session, clock, ui), StatisticsSave::Saved);
    ui.answers = {false};
    EXPECT_EQ(saveStatisticsFile(session, clock, ui), StatisticsSave::KeptExisting);
    EXPECT_EQ(ui.prompts.size(), 1u);
    session.scan.nodeFolderName = "missing-folder";
    EXPECT_EQ(saveStatisticsFile(session, clock, ui), StatisticsSave::Failed);
    EXPECT_EQ(ui.messages.size(), 1u);  // "saved" once: neither after No nor after a failure
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].description.find("missing-folder"), std::string::npos);
}

}  // namespace
}  // namespace qor::output
