// qorscan end to end: the built binary on generated and hand-made exports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

#include "core/scan/element_types.h"
#include "export_generator.h"
#include "support/qorscan_fixture.h"
#include "support/run_command.h"
#include "support/scan_variant.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "support/child_process.h"
#endif

namespace qor {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::kNowArgument;
using testing::lineCount;
using testing::readFile;

long long shownCount(const std::string& statistics, const std::string& caption) {
    const std::regex row("(^|\n)" + std::regex_replace(caption, std::regex(R"([()])"), R"(\$&)") +
                         " +([0-9]+)\n");
    std::smatch match;
    return std::regex_search(statistics, match, row) ? std::stoll(match[2]) : -1;
}

#ifndef _WIN32
// Marks a folder unwritable while it lives: for root, whom permissions do not stop, by the
// immutable flag where the file system has one. TempDir gives permissions back.
class ReadOnly {
public:
    explicit ReadOnly(const std::string& path) : quoted_(testing::shellQuote(path)) {
        if (root_) {
            active_ = std::system(("chattr +i " + quoted_ + " 2>/dev/null").c_str()) == 0;
        } else {
            fs::permissions(
                path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
        }
    }
    ~ReadOnly() {
        if (root_ && active_) {
            std::system(("chattr -i " + quoted_ + " 2>/dev/null").c_str());
        }
    }
    bool active() const { return active_; }

private:
    std::string quoted_;
    bool root_ = geteuid() == 0;
    bool active_ = !root_;
};
#endif

class Qorscan : public testing::QorscanFixture {
protected:
    CommandResult run(std::vector<std::string> args) {
        std::vector<std::string> all = testing::qorscanVariantArguments();
        all.insert(all.end(), {"--settings", settings, "--now", kNowArgument});
        all.insert(all.end(), args.begin(), args.end());
        return testing::runCommand(QOR_QORSCAN_PATH, all, dir);
    }
    CommandResult scan(const std::string& file, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--all", "--output", "csv", "--result-folder", results};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(file);
        return run(args);
    }
    std::string csvFolder(const std::string& node = "12") const {
        return results + "/Node" + node + "_04Dec2026/Csv Files";
    }
};

TEST_F(Qorscan, ScansAGeneratedExportAndAgreesWithItsCounts) {
    gen::GeneratorOptions options;
    options.seed = 5;
    options.targetBytes = 3 << 20;
    options.lineEnd = "\n";
    const std::string exportPath = dir.file("node.qor");
    const gen::GeneratedCounts counts = gen::generateExportFile(options, exportPath);

    const CommandResult result = scan(exportPath);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (std::size_t i = 0; i < 14; ++i) {
        const scan::ElementTypeInfo& type = scan::elementTypes()[i];
        EXPECT_EQ(shownCount(result.out, std::string(type.statisticsName)), counts.perType[i])
            << type.name;
        const std::string csv =
            readFile(csvFolder() + "/" + std::string(type.filePrefix) + "Node12_04Dec2026.csv");
        EXPECT_EQ(lineCount(csv), static_cast<std::size_t>(counts.perType[i]) + 2) << type.name;
    }

    // --info reads the node data only.
    const CommandResult info = run({"--info", exportPath});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_NE(info.out.find("Node number: 12\n"), std::string::npos);
}

TEST_F(Qorscan, ExportsScannedAtOnceGiveWhatOneAfterAnotherGives) {
    std::vector<std::string> files;
    for (int node = 21; node <= 23; ++node) {
        gen::GeneratorOptions options;
        options.seed = static_cast<std::uint64_t>(node);
        options.nodeNumber = std::to_string(node);
        // The first file is the largest: it ends last, yet its results come first.
        options.targetBytes = node == 21 ? 2 << 20 : 100 << 10;
        files.push_back(dir.file("node" + std::to_string(node) + ".qor"));
        gen::generateExportFile(options, files.back());
    }
    files.insert(files.begin() + 1, dir.file("missing.qor"));  // its error keeps its place
    std::vector<CommandResult> runs;
    for (const std::string jobs : {"1", "3"}) {
        const std::string folder = dir.file("jobs" + jobs);
        fs::create_directory(folder);
        std::vector<std::string> args = {"--all", "--output", "html", "--result-folder",
                                         folder,  "--jobs",   jobs};
        args.insert(args.end(), files.begin(), files.end());
        runs.push_back(run(args));
    }
    EXPECT_EQ(runs[0].exitCode, 2);  // the worst of all files
    EXPECT_EQ(runs[1].exitCode, runs[0].exitCode);
    EXPECT_EQ(runs[1].out, runs[0].out);
    EXPECT_EQ(runs[1].err, runs[0].err);
    // Each table follows the name of its file, in the order given.
    EXPECT_LT(runs[0].out.find(files[0] + "\n====="), runs[0].out.find(files[3] + "\n====="));
    EXPECT_NE(runs[0].out.find(files[3] + "\n====="), std::string::npos);
    const auto one = testing::filesUnder(dir.file("jobs1"));
    EXPECT_EQ(one.size(), 3u * 17u);  // per node: fourteen pages, index, frames, empty page
    EXPECT_TRUE(one == testing::filesUnder(dir.file("jobs3")));
}

TEST_F(Qorscan, BadArgumentsAndUnreadableFilesExitWithTwo) {
    const std::string junk = dir.write("junk.qor", std::string("\x7f"
                                                               "ELF\x02\x01\0\0",
                                                               8));
    const std::string empty = dir.write("empty.qor", "");
    const std::string missing = dir.file("missing");
    const std::string storedXlsx = dir.write("xlsx.ini", "[Settings]\nSaveToExcelOnly=True\n");
    const struct {
        std::vector<std::string> args;
        std::string said;
    } cases[] = {
        {{"--output=pdf", "x.qor"}, "qorscan: --output takes csv, html or xlsx, not 'pdf'\nTry"},
        {{dir.file("missing.qor")}, "missing.qor': " + testing::noSuchFileText()},
        {{dir.str()}, "is a folder"},
        // No result folder for a comparison either (a scan's: UnwritableFolders...), nor an
        // export that cannot be read on either side.
        {{"--compare", "--result-folder", missing, sample, sample}, "folder '" + missing + "': "},
        {{"--compare", "--result-folder", results, sample, dir.file("missing.qor")},
         "missing.qor': " + testing::noSuchFileText()},
        {{"--compare", "--result-folder", results, dir.str(), sample}, "is a folder"},
        // What a scan refuses as no export, a comparison refuses too, on either side.
        {{"--compare", "--result-folder", results, junk, sample},
         "is not a node export: it holds neither node information nor any element. Nothing was "
         "compared."},
        {{"--compare", "--result-folder", results, sample, empty}, "empty.qor' is not a node"},
        // The stored output decides as --output would.
        {{"--settings", storedXlsx, "--all", "--csv-raw", "--result-folder", results, sample},
         "--csv-raw goes with --output csv only"},
        {{"--all", "--one-workbook", "--result-folder", results, sample},
         "--one-workbook goes with --output xlsx only"},
    };
    for (const auto& c : cases) {
        // A single argument is an export to scan.
        const CommandResult result = c.args.size() == 1 ? scan(c.args[0]) : run(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.said;
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
    EXPECT_TRUE(fs::is_empty(results));

    const std::string good = dir.write("good.qor", "AI1.1          AIS\n\n");
    // In a batch the readable file is still scanned.
    const CommandResult batch = run(
        {"--all", "--output", "csv", "--result-folder", results, dir.file("missing.qor"), good});
    EXPECT_EQ(batch.exitCode, 2);
    EXPECT_EQ(shownCount(batch.out, "Analog Input"), 1);
}

// An empty settings file scans every type for the parameters read first; one that stores a type
// off and names no other exits with 3, naming the store and the way out.
TEST_F(Qorscan, AnEmptyStoreScansEveryTypeAndOneWithNothingEnabledExitsWithThree) {
    const std::string good = dir.write("good.qor", "AI1.1          AIS\n  :UNIT          bar\n\n");
    const CommandResult fresh = run({"--output", "csv", "--result-folder", results, good});
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    for (const scan::ElementTypeInfo& type : scan::elementTypes()) {
        EXPECT_EQ(shownCount(fresh.out, std::string(type.statisticsName)),
                  type.type == scan::ElementType::AI ? 1 : 0)
            << type.name;
    }
    EXPECT_EQ(readFile(csvFolder("") + "/AI_Node_04Dec2026.csv").substr(0, 44),
              "CHANNEL,NAME,DESCR,UNIT,RANGEMAX,RANGEMIN,\r\n");

    // Storing one type's choice makes every type the store does not name stay off.
    settings = dir.write("off.ini", "[chkAISParameters]\nEnableSearch=0\n");
    const CommandResult result = run({"--output", "csv", good});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(lineCount(result.err), 1u);
    EXPECT_NE(result.err.find("qorscan: " + settings +
                              ": error: Current search status for "
                              "every DataBase element is Disabled."),
              std::string::npos);
    EXPECT_NE(result.err.find("--all or --enable"), std::string::npos);
}

TEST_F(Qorscan, StoredSettingsDriveTheScanAndBadValuesAreReported) {
    settings = dir.write("stored.ini",
                         "[chkAISParameters]\nEnableSearch=abc\nNAME=1\n"
                         "[chkDISParameters]\nEnableSearch=1\nNAME=1\nACT=1\n"
                         "[Settings]\nSaveToCSVOnly=True\nSaveToHTMLReport=False\n"
                         "ScanResultFolderPath=" +
                             testing::genericPath(results) + "\n");
    const std::string exportPath =
        dir.write("n.qor",
                  "LAN1           CS513\n  :NODE          7\n\n"
                  "AI1.1          AIS\n  :NAME          A\n\n"
                  "DI1.1          DIS\n  :NAME          D\n  :ACT           1\n\n");
    const CommandResult result = run({exportPath});
    EXPECT_EQ(result.exitCode, 1);  // the unreadable stored value was reported
    EXPECT_NE(result.err.find("SearchStatus"), std::string::npos);
    EXPECT_EQ(shownCount(result.out, "Digital Input"), 1);
    EXPECT_NE(result.out.find("Analog Input                    Search Disabled"),
              std::string::npos);
    EXPECT_EQ(readFile(csvFolder("7") + "/DI_Node7_04Dec2026.csv"),
              "CHANNEL,NAME,ACT,\r\n\r\r\nDI1.1,D,1,,,,,,,,\r\n");
    EXPECT_FALSE(fs::exists(csvFolder("7") + "/AI_Node7_04Dec2026.csv"));
    // Command-line flags are never written back.
    const std::string before = readFile(settings);
    EXPECT_EQ(run({"--enable", "AIC", "--output", "html", exportPath}).exitCode, 1);
    EXPECT_EQ(readFile(settings), before);
}

TEST_F(Qorscan, HostileFilesEndCleanly) {
    // A picture, an empty file, random bytes: no node export, one line, exit 2, nothing made.
    std::mt19937 random(1);
    std::string binary(1 << 20, '\0');
    for (char& c : binary) {
        c = static_cast<char>(random());
    }
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    for (const auto& [name, bytes] :
         {std::pair{"picture.png", png}, {"empty.qor", std::string()}, {"binary.qor", binary}}) {
        const std::string path = dir.write(name, bytes);
        const CommandResult result = scan(path, {"--overwrite", "yes"});
        EXPECT_EQ(result.exitCode, 2) << name;
        EXPECT_EQ(lineCount(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find("'" + path + "' is not a node export"), std::string::npos)
            << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
    EXPECT_TRUE(fs::is_empty(results));
}

TEST_F(Qorscan, HostileInputsGiveOneLineAndTheRightExitCode) {
#ifdef _WIN32
    GTEST_SKIP() << "named pipes, devices and the child's peak memory are watched through POSIX";
#else
    const std::string pipe = dir.file("pipe.qor");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // After an element, one line of 200 MB and one of 2 MB, sparse: no disk is used.
    const std::string longLine = dir.write("line.qor", "AI1.1          AIS\n");
    fs::resize_file(longLine, 200 << 20);
    const std::string shorterLine = dir.write("shorter.qor", "AI1.1          AIS\n");
    fs::resize_file(shorterLine, 2 << 20);
    struct Case {
        std::string path;
        int exitCode;
        std::string said;
    };
    const Case cases[] = {
        {pipe, 2, "is a pipe"},
        {"/dev/null", 2, "is a device"},
        {longLine, 0, "1 line of '" + longLine + "' is longer than 1 MiB: only its first 1 MiB"},
        {shorterLine, 0, "1 line of '" + shorterLine + "' is longer than 1 MiB"},
    };
    long peakKiB[std::size(cases)] = {};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].path);
        const std::string folder = dir.file("r" + std::to_string(i));
        fs::create_directory(folder);
        testing::ChildProcess child(
            QOR_QORSCAN_PATH,
            argsWith({"--all", "--output", "csv", "--result-folder", folder, cases[i].path}));
        EXPECT_EQ(child.finish(), cases[i].exitCode);
        EXPECT_EQ(lineCount(child.err()), 1u) << child.err();
        EXPECT_NE(child.err().find(cases[i].said), std::string::npos) << child.err();
        peakKiB[i] = child.peakKiB();
    }
    // Memory does not follow the line's length (it once took twice the line).
    EXPECT_LT(peakKiB[2] - peakKiB[3], 8 << 10) << peakKiB[2] << " KiB against " << peakKiB[3];

    // The export grows while qorscan waits for an answer, between two passes.
    const std::string exportPath = dir.write("n.qor",
                                             "LAN1           CS513 :NODE          12\n"
                                             "AI1.1          AIS\n\n");
    ASSERT_EQ(scan(exportPath, {"--enable", "AI"}).exitCode, 0);
    testing::ChildProcess child(
        QOR_QORSCAN_PATH, argsWith({"--enable", "AI", "--output", "csv", "--result-folder", results,
                                    "--overwrite", "ask", exportPath}));
    ASSERT_TRUE(child.waitForError("[y/N]")) << child.err();
    { std::ofstream(exportPath, std::ios::app) << "AI1.2          AIS\n\n"; }
    child.write("y\n");
    EXPECT_EQ(child.finish(), 1);
    EXPECT_EQ(lineCount(child.err()), 1u) << child.err();  // the question, then the error
    EXPECT_NE(child.err().find("'" + exportPath + "' changed while it was being scanned"),
              std::string::npos)
        << child.err();
#endif
}

TEST_F(Qorscan, EveryOutputGoesIntoAFolderOfAnyNameAndLength) {
    // A name beyond ASCII, deeper than the 260 characters of Windows' classic calls.
    const std::string folder =
        testing::nativePath(results + "/J\xC3\xBCrgen/" + std::string(200, 'x'));
#ifdef _WIN32
    const auto systemPath = [](const std::string& path) { return platform::windowsPath(path); };
#else
    const auto systemPath = [](const std::string& path) { return path; };
#endif
    fs::create_directories(systemPath(folder));
    const struct {
        const char* output;
        const char* file;
    } cases[] = {{"csv", "/Csv Files/AI_Node12_04Dec2026.csv"},
                 {"html", "/Html Files/AI_Node12_04Dec2026.html"},
                 {"xlsx", "/Xls Files/AI_Node12_04Dec2026.xlsx"}};
    for (const auto& c : cases) {
        const CommandResult result =
            run({"--enable", "AI", "--output", c.output, "--result-folder", folder, sample});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(fs::is_regular_file(
            systemPath(testing::nativePath(folder + "/Node12_04Dec2026" + c.file))))
            << c.output;
    }
}

TEST_F(Qorscan, UnwritableFoldersGiveOneErrorNamingTheCause) {
    const std::string exportPath =
        dir.write("n.qor", "LAN1           CS513\n  :NODE          12\n\nAI1.1          AIS\n\n");
    // A result folder that does not exist: one line, for the folder, nothing made, and the exit
    // status of a bad argument.
    for (const char* output : {"csv", "html", "xlsx"}) {
        const CommandResult missing =
            run({"--all", "--output", output, "--result-folder", dir.file("nowhere"), exportPath});
        EXPECT_EQ(missing.exitCode, 2) << output;
        EXPECT_EQ(lineCount(missing.err), 1u) << missing.err;
        EXPECT_NE(missing.err.find("nowhere': " + testing::noSuchFileText()), std::string::npos)
            << missing.err;
        EXPECT_FALSE(fs::exists(dir.file("nowhere")));
    }
#ifdef _WIN32
    GTEST_SKIP() << "a folder is made unwritable here through POSIX permissions or chattr";
#else

    // An output folder that cannot be written.
    fs::create_directories(csvFolder());
    ReadOnly lock(csvFolder());
    if (!lock.active()) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    const CommandResult locked = scan(exportPath, {"--enable", "AI"});
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_EQ(lineCount(locked.err), 1u) << locked.err;
    EXPECT_NE(locked.err.find("AI_Node12_04Dec2026.csv"), std::string::npos);
#endif
}

}  // namespace
}  // namespace qor
