// The checks over small exports made to trigger one check each (and a clean one that triggers
// none): their findings against golden text, read in the default chunks and in chunks so small
// that elements and their cut values span chunk boundaries; then the rules they share.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "core/checks/check_support.h"
#include "core/checks/run_checks.h"
#include "core/elements/element_loader.h"
#include "export_generator.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace qor::checks {
namespace {

std::string dataPath(const std::string& name) {
    return std::string(QOR_TEST_DATA_DIR) + "/checks/" + name;
}

std::optional<CabinetSource> cabinetsOf(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    testing::ScriptedUi ui;
    return cabinetSourceOf(options::readCabinetFile(path, ui), path);
}

// The findings as qorscan --check prints them, each file by its name alone.
std::string findingsText(const CheckInput& input, const CheckResult& result) {
    std::string text;
    for (const Finding& finding : result.findings) {
        const FindingRow row = findingRow(finding, input, Wording::English);
        text += std::filesystem::path(row.file).filename().string() + ":" +
                std::to_string(row.line) + ": " + std::string(severityName(row.severity)) + ": " +
                row.id + ": " + row.message + "\n";
    }
    return text;
}

TEST(Checks, EachExportTriggersItsOneCheck) {
    const struct {
        std::string check;  // and the golden file's name
        std::vector<std::string> exports;
        std::string cabinets;
    } cases[] = {
        {"clean", {"clean.qor"}, "cabinets.csv"},
        {"duplicate-designation", {"duplicate-designation.qor"}, ""},
        {"duplicate-name", {"duplicate-name.qor"}, ""},
        {"duplicate-name-plant",
         {"plant/south.qor", "plant/north.qor", "plant/south-earlier.qor"},
         ""},
        {"range-inverted", {"range-inverted.qor"}, ""},
        {"range-not-number", {"range-not-number.qor"}, ""},
        {"empty-name", {"empty-name.qor"}, ""},
        {"empty-descr", {"empty-descr.qor"}, ""},
        {"value-cut", {"value-cut.qor"}, ""},
        {"module-unlabelled", {"module-unlabelled.qor"}, "cabinets.csv"},
        {"cabinet-row-unused", {"clean.qor"}, "cabinet-row-unused.csv"},
        {"module-two-cabinets", {"clean.qor"}, "module-two-cabinets.csv"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> paths;
        for (const std::string& name : c.exports) {
            paths.push_back(dataPath(name));
        }
        const std::optional<CabinetSource> cabinets =
            cabinetsOf(c.cabinets.empty() ? "" : dataPath(c.cabinets));
        const std::string golden = testing::readFile(dataPath(c.check + ".txt"));
        for (const std::size_t chunkBytes : {std::size_t{1} << 20, std::size_t{7}}) {
            elements::LoadSettings settings;
            settings.chunkBytes = chunkBytes;
            const elements::PlantLoad load = elements::loadExports(paths, settings);
            ASSERT_TRUE(load.skipped.empty()) << c.check;
            const CheckInput input{load.table, cabinets ? &*cabinets : nullptr};
            const CheckResult result = runChecks(input, {}, 2);
            EXPECT_EQ(findingsText(input, result), golden) << c.check << ", chunks " << chunkBytes;
            for (std::size_t i = 0; i < result.counts.size(); ++i) {
                const bool mine = checkRegistry()[i]->id == c.check;
                EXPECT_EQ(result.counts[i] != 0, mine) << c.check << ": " << checkRegistry()[i]->id;
            }
        }
    }
}

TEST(Checks, NumbersAreWhatTheCsvGuardTakesForOne) {
    const struct {
        std::string_view text;
        std::optional<double> value;
    } cases[] = {{"250.0", 250}, {"-300", -300},      {"+5", 5},     {".5", 0.5},
                 {"5.", 5},      {"1.5e-3", 0.0015},  {"1E3", 1000}, {"007", 7},
                 {"", {}},       {"-", {}},           {"1e", {}},    {"250,0", {}},
                 {"0x10", {}},   {"inf", {}},         {"nan", {}},   {"1 2", {}},
                 {"--1", {}},    {"1e999", HUGE_VAL}, {"-1e-999", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(numberValue(c.text), c.value) << c.text;
    }
}

TEST(Checks, ChoiceTakesTheGraverSeveritiesAndLeavesOutWhatIsDisabled) {
    CheckChoice choice;
    choice.minimum = Severity::Warning;
    choice.disabled.assign(checkRegistry().size(), false);
    choice.disabled[*checkNamed("duplicate-name")] = true;
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < checkRegistry().size(); ++i) {
        if (choice.runs(i)) {
            runs.emplace_back(checkRegistry()[i]->id);
        }
    }
    EXPECT_EQ(runs, (std::vector<std::string>{"duplicate-designation", "duplicate-name-plant",
                                              "range-inverted", "range-not-number", "empty-name",
                                              "module-unlabelled", "module-two-cabinets"}));
    EXPECT_FALSE(checkNamed("no-such-check"));
    EXPECT_EQ(severityNamed("warning"), Severity::Warning);
    EXPECT_FALSE(severityNamed("Warning"));
}

// An import file's Conflict lines and the stored table's rows: the same module, another cabinet,
// whatever the case of the module.
TEST(Checks, ModuleTwoCabinetsIsWhatTheImportCallsAConflict) {
    const options::CabinetFile file{
        options::parseCabinetImport("CB1,AI800_1\nCB2,ai800_1\nCB2,AI800_1\nCB1,AI800_1\n"), ""};
    std::vector<std::size_t> conflicts;
    for (const options::ImportLine& line : file.import.lines) {
        if (line.verdict == options::ImportVerdict::Conflict) {
            conflicts.push_back(line.line);
        }
    }
    const elements::ElementTable none;
    const CabinetSource imported = cabinetSourceOf(file, "cabinets.csv");
    const CabinetSource stored =
        cabinetSourceOf({{"CB1", "AI800_1"}, {"CB2", "ai800_1"}, {"CB2", "Ai800_1"}}, "qor.ini");
    CheckChoice only;
    only.disabled.assign(checkRegistry().size(), true);
    only.disabled[*checkNamed("module-two-cabinets")] = false;
    std::vector<std::size_t> found;
    const CheckInput importInput{none, &imported};
    for (const Finding& finding : runChecks(importInput, only).findings) {
        found.push_back(findingRow(finding, importInput, Wording::English).line);
    }
    EXPECT_EQ(found, conflicts);
    EXPECT_EQ(conflicts, (std::vector<std::size_t>{2, 4}));

    const CheckInput storedInput{none, &stored};
    const CheckResult result = runChecks(storedInput, only);
    ASSERT_EQ(result.findings.size(), 1u);
    const FindingRow row = findingRow(result.findings[0], storedInput, Wording::English);
    EXPECT_EQ(row.file + ":" + std::to_string(row.line) + ": " + row.message,
              "qor.ini:0: module ai800_1 is given cabinet CB2 here and cabinet CB1 at row 1; this "
              "row labels its channels");
}

// A generated plant of unique names with planted mistakes: the checks find what was planted,
// no more and no less.
TEST(Checks, FindWhatTheGeneratorPlanted) {
    const testing::TempDir dir;
    std::array<long long, gen::kPlantedKinds> planted{};
    std::vector<std::string> paths;
    for (const char* node : {"31", "32"}) {
        gen::GeneratorOptions options;
        options.seed = 40 + paths.size();
        options.targetBytes = 1 << 20;
        options.nodeNumber = node;
        options.uniqueNames = true;
        options.mistakesPerMille = 20;
        paths.push_back(dir.file(std::string(node) + ".qor"));
        const gen::GeneratedCounts counts = gen::generateExportFile(options, paths.back());
        for (std::size_t kind = 0; kind < planted.size(); ++kind) {
            planted[kind] += counts.planted[kind];
        }
    }
    const elements::PlantLoad load = elements::loadExports(paths, {});
    const CheckResult result = runChecks({load.table}, {});
    std::map<std::string, std::size_t> found;
    for (std::size_t i = 0; i < result.counts.size(); ++i) {
        if (result.counts[i] != 0) {
            found[std::string(checkRegistry()[i]->id)] = result.counts[i];
        }
    }
    const std::map<std::string, std::size_t> expected{
        {"duplicate-name", 2 * planted[gen::kSharedName]},
        {"range-inverted", planted[gen::kSwappedRange]},
        {"range-not-number", planted[gen::kRangeNotNumber]},
        {"empty-name", planted[gen::kNoName]},
        {"value-cut", planted[gen::kLongDescr]}};
    EXPECT_EQ(found, expected);
    for (const long long count : planted) {
        EXPECT_GT(count, 5);  // each kind is there to be found
    }
}

TEST(Checks, ACancelledRunThrows) {
    const elements::PlantLoad load = elements::loadExports({dataPath("duplicate-name.qor")}, {});
    const std::atomic<bool> cancel{true};
    EXPECT_THROW(runChecks({load.table}, {}, 1, &cancel), ChecksCancelled);
}

}  // namespace
}  // namespace qor::checks
