// With the German translation installed (and a German C library locale, as the programs get
// it), what a person reads is German and every file a scan or a comparison writes is byte for
// byte the English one.
#include <QCoreApplication>
#include <clocale>
#include <filesystem>
#include <optional>

#include "core/compare/changes_folder.h"
#include "core/output/statistics.h"
#include "core/scan/node_info.h"
#include "core/services/translators.h"
#include "support/scan_fixture.h"

namespace qor::output {
namespace {

using options::OutputMode;
using scan::ElementType;
using testing::readFile;
using testing::testData;

class TranslatedOutputs : public testing::ScanFixture {
protected:
    TranslatedOutputs() : ScanFixture(std::string(QOR_EXAMPLES_DIR) + "/sample.qor") {
        session.nodeInfo = scan::readNodeInfo(session.databasePath, session.nodeInfo, ui);
        session.nodeInfo.nodeNumber = "12";
        for (const ElementType type : {ElementType::AI, ElementType::DO, ElementType::DATR}) {
            testing::enable(session, type);
        }
    }
    // The suites after this one get back the C library locale they started with.
    ~TranslatedOutputs() override { std::setlocale(LC_ALL, "C"); }

    // The Changes files of this export against another one; the folder's lock goes with it.
    void writeChanges() {
        const std::string old = testData("golden_node.qor");
        compare::UiCompareMonitor monitor(ui);
        const compare::Comparison comparison = compare::compareExports(
            {{old, {}, {}}, {session.databasePath, session.nodeInfo, {}}, {}, {}, {}}, monitor);
        compare::ChangesFolder changes(dir.str(), session.nodeInfo.nodeNumber,
                                       session.startDateStamp, ui);
        changes.write(comparison, {old, session.databasePath, "04-Dec-2026 10:11:12"});
    }

    // Scans in `mode`, saves the statistics, compares the export with another one, and takes
    // every file written away again.
    std::map<std::string, std::string> writeEverything(OutputMode mode, bool oneWorkbook) {
        session.options.outputMode = mode;
        session.options.oneExcelWorkbook = oneWorkbook;
        EXPECT_FALSE(run().cancelled);
        const FixedClock clock(testing::kScanMoment);
        EXPECT_EQ(saveStatisticsFile(session, clock, ui), StatisticsSave::Saved);
        writeChanges();
        auto files = testing::filesUnder(session.lastScan.resultFolder);
        std::filesystem::remove_all(session.lastScan.resultFolder);
        return files;
    }

    int argc_ = 1;
    char name_[10] = "qor_tests";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_{argc_, argv_};
};

TEST_F(TranslatedOutputs, EveryWrittenFileIsTheEnglishOne) {
    const struct {
        const char* name;
        OutputMode mode;
        bool oneWorkbook;
        std::size_t files;  // the outputs, the statistics file and the two Changes files
        const char* lastStatus;
    } cases[] = {
        {"CSV", OutputMode::CsvFilesOnly, false, 6, "Parameter von „DAT(R)“ werden gelesen..."},
        {"HTML", OutputMode::HtmlReport, false, 9, "Parameter von „DAT(R)“ werden gelesen..."},
        {"workbooks", OutputMode::ExcelFilesOnly, false, 6, "Excel-Dateien werden gespeichert..."},
        {"one workbook", OutputMode::ExcelFilesOnly, true, 4, "Excel-Datei wird gespeichert..."}};
    for (const auto& c : cases) {
        std::setlocale(LC_ALL, "C");
        const auto english = writeEverything(c.mode, c.oneWorkbook);
        EXPECT_EQ(ui.messages.back().text.rfind("Statistic file Node12.txt saved in ", 0), 0u);

        // As the programs start in German where the system has the locale.
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        services::keepCNumberFormat();
        const services::Translators german(QLocale(QLocale::German, QLocale::Germany));
        ASSERT_TRUE(german.translated());
        EXPECT_EQ(writeEverything(c.mode, c.oneWorkbook), english) << c.name;
        EXPECT_EQ(english.size(), c.files) << c.name;
        EXPECT_EQ(ui.statusTexts.back(), c.lastStatus) << c.name;
        EXPECT_EQ(ui.messages.back().text.rfind("Statistikdatei Node12.txt wurde im Ordner ", 0),
                  0u);
    }
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(ui.prompts.empty());
}

}  // namespace
}  // namespace qor::output
