#include "core/output/scan_run.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/output/result_folder.h"
#include "core/output/statistics.h"
#include "core/scan/element_sink.h"
#include "support/scan_fixture.h"
#include "support/thrown.h"

namespace qor::output {
namespace {

using scan::ElementType;
namespace fs = std::filesystem;

using ScanRunTest = testing::ScanFixture;

// An existing result is replaced only on a yes; "Yes to All" and "No to All" answer the rest of
// the scan's overwrite questions, for CSV files and workbooks alike, which ask in the same words.
TEST_F(ScanRunTest, OneAnswerStandsForTheRestOfTheScan) {
    for (const auto& [mode, extension] : {std::pair{options::OutputMode::CsvFilesOnly, ".csv"},
                                          {options::OutputMode::ExcelFilesOnly, ".xlsx"}}) {
        session.options.outputMode = mode;
        for (const ElementType type : {ElementType::AI, ElementType::DI, ElementType::DATB}) {
            testing::enable(session, type);
        }
        ASSERT_FALSE(run().cancelled);
        const auto file = [&](const char* prefix) {
            return testing::nativePath(outputFolder() + "/" + prefix + "_Node12_04Dec2026" +
                                       extension);
        };
        const auto mark = [&] {
            for (const char* prefix : {"AI", "DI", "DATB"}) {
                std::ofstream(file(prefix), std::ios::binary) << "old";
            }
        };
        mark();
        ui.prompts.clear();
        ui.answersForAll = {Answer::No, Answer::YesToAll};
        session.lastScan.written[scan::indexOf(ElementType::AI)] = 99;
        ASSERT_FALSE(run().cancelled);
        ASSERT_EQ(ui.prompts.size(), 2u) << extension;
        EXPECT_EQ(ui.prompts[0].title, ".QOR Reader  :  Analog Input");
        EXPECT_EQ(ui.prompts[0].text,
                  "File '" + file("AI") + "' already exists. \r\nDo you want to replace it ?");
        EXPECT_EQ(ui.prompts[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(ui.prompts[1].title, ".QOR Reader  :  Digital Input");
        EXPECT_EQ(testing::readFile(file("AI")), "old");
        EXPECT_EQ(session.lastScan.writtenOf(ElementType::AI).value_or(-1),
                  99);  // kept, its count too
        EXPECT_NE(testing::readFile(file("DI")), "old");
        EXPECT_NE(testing::readFile(file("DATB")), "old");

        mark();
        ui.prompts.clear();
        ui.answersForAll = {Answer::NoToAll};
        EXPECT_EQ(run().typesWritten, 0);
        EXPECT_EQ(ui.prompts.size(), 1u);
        for (const char* prefix : {"AI", "DI", "DATB"}) {
            EXPECT_EQ(testing::readFile(file(prefix)), "old") << prefix << extension;
        }
    }
}

// The time taken is the work's: a person who takes 13 s over each question does not make the
// scan slower. A type whose results were kept is marked so, and its row keeps the earlier count.
TEST_F(ScanRunTest, TimeTakenLeavesOutTheAnswersAndKeptTypesAreMarked) {
    testing::enable(session, ElementType::AI);
    testing::enable(session, ElementType::DI);
    ASSERT_FALSE(run().cancelled);
    // A clock that the work moves 100 ms at every step of progress, and the person 13 s at every
    // answer.
    struct ClockedUi : testing::ScriptedUi {
        std::chrono::steady_clock::time_point now{};
        Answer askYesNoForAll(const Prompt& prompt) override {
            now += std::chrono::seconds(13);
            return ScriptedUi::askYesNoForAll(prompt);
        }
        void setProgress(long long value, long long maximum) override {
            now += std::chrono::milliseconds(100);
            ++steps;
            ScriptedUi::setProgress(value, maximum);
        }
        int steps = 0;
    } person;
    person.answersForAll = {Answer::No, Answer::YesToAll};
    const FixedClock clock(testing::kScanMoment);
    ScanEnvironment environment = testing::scanEnvironment(clock);
    environment.now = [&person] { return person.now; };
    const ScanReport report = runScan(session, person, environment);
    ASSERT_EQ(person.prompts.size(), 2u);
    EXPECT_GT(person.steps, 0);
    EXPECT_EQ(report.elapsed, person.steps * std::chrono::milliseconds(100));
    EXPECT_TRUE(report.keptOf(ElementType::AI));
    EXPECT_FALSE(report.keptOf(ElementType::DI) || report.keptOf(ElementType::AO));
    const long long aiBefore = *session.lastScan.writtenOf(ElementType::AI);
    session.keep(report);
    for (const StatisticsRow& row : statisticsRows(session)) {
        EXPECT_EQ(row.kept, row.type == ElementType::AI) << row.name;
    }
    EXPECT_EQ(statisticsRows(session)[0].count, std::to_string(aiBefore));
}

TEST_F(ScanRunTest, ResultFoldersAreMadeOnceAndReusedWithSafeNames) {
    testing::enable(session, ElementType::DATB);
    session.nodeInfo.nodeNumber = "../7:x";
    EXPECT_FALSE(run().cancelled);
    const fs::path expected = dir.path() / "Node.._7_x_04Dec2026";
    EXPECT_EQ(session.lastScan.resultFolder, expected.string());
    EXPECT_TRUE(fs::exists(expected / "Csv Files" / "DATB_Node.._7_x_04Dec2026.csv"));
    // A second scan the same day writes into the same folders without questions.
    ui.defaultAnswer = true;
    EXPECT_FALSE(run().cancelled);
    EXPECT_EQ(session.lastScan.outputFolder, (expected / "Csv Files").string());
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
    EXPECT_NE(testing::errorFrom([&] { run(); }).find(dir.file("not-there")), std::string::npos);
    EXPECT_TRUE(ui.errors.empty());  // the caller reports the one cause
    EXPECT_TRUE(ui.lastingStatuses.empty());
    EXPECT_TRUE(fs::is_empty(dir.path()));
    // The next scan, into a folder that exists, works from a clean state.
    session.options.scanResultFolderPath = dir.str();
    EXPECT_FALSE(run().cancelled);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(session.lastScan.writtenOf(ElementType::DI).value_or(-1), 1);
}

// The types are read together but fail as if read one after the other: AI before the failing
// AO is complete, DI after it was never started, so the DI file of an earlier run stays.
TEST_F(ScanRunTest, AFailingMiddleTypeLeavesWhatTheTypeByTypeOrderLeft) {
    for (const ElementType type : {ElementType::AI, ElementType::AO, ElementType::DI}) {
        testing::enable(session, type);
    }
    const fs::path folder =
        openResultFolders(session, FixedClock(testing::kScanMoment)).output.path();
    fs::create_directory(folder / "AO_Node12_04Dec2026.csv");
    { std::ofstream(folder / "DI_Node12_04Dec2026.csv") << "earlier run"; }
    ui.defaultAnswer = true;
    const auto failure = testing::thrown<scan::ReadFailed>([&] { run(); });
    ASSERT_TRUE(failure) << "AO cannot take its name";
    EXPECT_EQ(failure->type(), ElementType::AO);
    EXPECT_NE(std::string(failure->what()).find("AO_Node12_04Dec2026.csv"), std::string::npos);
    EXPECT_EQ(outputFile("AI_Node12_04Dec2026.csv"),
              testing::readFile(testing::testData("csv/AI_all.csv")));
    EXPECT_EQ(outputFile("DI_Node12_04Dec2026.csv"), "earlier run");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
}

// A scan stopped before it wrote anything removes the folders it made, and only those: a
// folder that was there before, or that holds anything, stays.
TEST_F(ScanRunTest, AStoppedScanRemovesOnlyTheEmptyFoldersItMade) {
    testing::enable(session, ElementType::AI);
    const fs::path node = dir.path() / "Node12_04Dec2026";
    const struct {
        const char* before;  // what stands in the result folder before the scan
        std::function<void()> make;
        std::vector<fs::path> after;
    } cases[] = {
        {"nothing", [] {}, {}},
        {"node folder with a file",
         [&] {
             fs::create_directory(node);
             std::ofstream(node / "notes.txt") << "kept";
         },
         {node, node / "notes.txt"}},
        {"both folders",
         [&] { fs::create_directories(node / "Csv Files"); },
         {node, node / "Csv Files"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        fs::remove_all(node);
        c.make();
        ui.stopAsked = true;
        EXPECT_TRUE(run().cancelled);
        std::vector<fs::path> left;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
            left.push_back(entry.path());
        }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.after);
    }
}

TEST(Statistics, SavingAsksBeforeReplacingAndNeverClaimsAFailedSave) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    Session session;
    session.nodeInfo.nodeNumber = "12";
    session.lastScan.scanResultFolder = platform::FolderHandle::open(dir.str());
    session.lastScan.nodeFolderName = "Node12_04Dec2026";
    session.lastScan.resultFolder = dir.file("Node12_04Dec2026");
    fs::create_directory(session.lastScan.resultFolder);
    const FixedClock clock(testing::kScanMoment);

    EXPECT_EQ(saveStatisticsFile(session, clock, ui), StatisticsSave::Saved);
    ui.answers = {false};
    EXPECT_EQ(saveStatisticsFile(session, clock, ui), StatisticsSave::KeptExisting);
    EXPECT_EQ(ui.prompts.size(), 1u);
    session.lastScan.nodeFolderName = "missing-folder";
    EXPECT_EQ(saveStatisticsFile(session, clock, ui), StatisticsSave::Failed);
    EXPECT_EQ(ui.messages.size(), 1u);  // "saved" once: neither after No nor after a failure
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].description.find("missing-folder"), std::string::npos);
}

}  // namespace
}  // namespace qor::output
