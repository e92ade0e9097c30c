// What a scan never does to a result folder, whatever the user answers, plants or kills.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "core/platform/folder_lock.h"
#include "export_generator.h"
#include "support/child_process.h"
#include "support/qorscan_fixture.h"
#include "support/run_command.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::lineCount;
using testing::readFile;

// Every entry below `root`: a file's bytes and modification time, a link's target.
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& root) {
    Snapshot entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_symlink()) {
            entries[name] = "link to " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            entries[name] = readFile(entry.path().string()) + "@" +
                            std::to_string(fs::last_write_time(entry).time_since_epoch().count());
        } else {
            entries[name] = "folder";
        }
    }
    return entries;
}

struct OutputCase {
    std::vector<std::string> flags;
    std::string subfolder;
    std::string aiFile;
};

const OutputCase kOutputs[] = {
    {{"--output", "csv"}, "Csv Files", "AI_Node12_04Dec2026.csv"},
    {{"--output", "html"}, "Html Files", "AI_Node12_04Dec2026.html"},
    {{"--output", "xlsx"}, "Xls Files", "AI_Node12_04Dec2026.xlsx"},
    {{"--output", "xlsx", "--one-workbook"}, "Xls Files", "Node12_04Dec2026.xlsx"},
};

class ResultSafety : public testing::QorscanFixture {
protected:
    CommandResult scan(const std::vector<std::string>& extra, const std::string& exportPath) {
        std::vector<std::string> args = {"--settings",          settings, "--now",
                                         testing::kNowArgument, "--all",  "--statistics",
                                         "--result-folder",     results,  "--quiet"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(exportPath);
        return testing::runCommand(QOR_QORSCAN_PATH, args, dir);
    }
    std::vector<std::string> with(const OutputCase& output, const std::string& answer) {
        std::vector<std::string> flags = output.flags;
        flags.insert(flags.end(), {"--overwrite", answer});
        return flags;
    }

    fs::path nodeFolder = dir.path() / "results" / "Node12_04Dec2026";
};

TEST_F(ResultSafety, AnsweringNoLeavesTheResultFolderByteIdentical) {
    for (const OutputCase& output : kOutputs) {
        ASSERT_EQ(scan(with(output, "yes"), sample).exitCode, 0);
        const Snapshot before = snapshot(results);
        const CommandResult declined = scan(with(output, "no"), sample);
        EXPECT_EQ(declined.exitCode, 0) << declined.err;
        EXPECT_NE(declined.err.find("already exists"), std::string::npos);
        EXPECT_EQ(snapshot(results), before) << output.flags[1];
    }
}

TEST_F(ResultSafety, PlantedLinksAreNeverWrittenThrough) {
    const std::string secret = dir.write("secret.txt", "outside the result folder");
    const fs::path dangling = dir.path() / "created-through-a-link";
    for (const OutputCase& output : kOutputs) {
        const fs::path folder = nodeFolder / output.subfolder;
        fs::create_directories(folder);
        const std::vector<fs::path> planted = {
            folder / output.aiFile, folder / "index.html",
            folder / (output.aiFile + ".part"),  // where workbooks were once built
            nodeFolder / "Node12.txt"};
        for (std::size_t i = 0; i < planted.size(); ++i) {
            fs::remove(planted[i]);
            fs::create_symlink(i % 2 == 0 ? fs::path(secret) : dangling, planted[i]);
        }
        for (const char* answer : {"no", "yes"}) {
            const CommandResult result = scan(with(output, answer), sample);
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(readFile(secret), "outside the result folder");
            EXPECT_FALSE(fs::exists(dangling)) << output.flags[1] << " " << answer;
        }
        // Said yes to, the result replaced the link itself.
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / output.aiFile)));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(nodeFolder / "Node12.txt")));
        fs::remove_all(nodeFolder);
    }
}

#ifndef _WIN32
class KilledAndConcurrentRuns : public ResultSafety {
protected:
    void SetUp() override {
        gen::GeneratorOptions options;
        options.seed = 9;
        options.targetBytes = 16 << 20;
        gen::generateExportFile(options, big);
        const std::string reference = dir.file("reference");
        fs::create_directory(reference);
        for (const char* output : {"csv", "html"}) {
            ASSERT_EQ(testing::runCommand(QOR_QORSCAN_PATH, args(reference, output), dir).exitCode,
                      0);
        }
        expected = testing::filesUnder(reference, false);
    }
    std::vector<std::string> args(const std::string& into, const std::string& output) const {
        return {"--settings", settings,          "--now", testing::kNowArgument,
                "--all",      "--result-folder", into,    "--output",
                output,       "--overwrite",     "yes",   "--quiet",
                big};
    }

    std::string big = dir.file("big.qor");
    std::map<std::string, std::string> expected;
};

TEST_F(KilledAndConcurrentRuns, AKilledRunLeavesNoTruncatedResult) {
    int killedMidway = 0;
    for (const char* output : {"csv", "html"}) {
        for (const int delayMs : {30, 120, 400, 900}) {
            testing::ChildProcess run(QOR_QORSCAN_PATH, args(results, output));
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            run.kill(SIGKILL);
            killedMidway += run.finish() == 128 + SIGKILL;
            for (const auto& [name, bytes] : testing::filesUnder(results, false)) {
                ASSERT_TRUE(expected.count(name)) << name;
                EXPECT_EQ(bytes.size(), expected.at(name).size()) << name << " at " << delayMs;
                EXPECT_TRUE(bytes == expected.at(name)) << name << " at " << delayMs;
            }
        }
    }
    EXPECT_GT(killedMidway, 0);
    // The lock and temporary files the killed runs left behind go with the next run.
    EXPECT_EQ(testing::ChildProcess(QOR_QORSCAN_PATH, args(results, "csv")).finish(), 0);
    for (const auto& entry : fs::recursive_directory_iterator(results)) {
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    }
}

TEST_F(KilledAndConcurrentRuns, TwoRunsOverOneFolderNeverMixTheirResults) {
    // While another scan holds the node folder, a run waits a little and then gives up.
    fs::create_directories(nodeFolder);
    {
        const platform::FolderLock held(platform::FolderHandle::open(nodeFolder.string()));
        const CommandResult refused =
            testing::runCommand(QOR_QORSCAN_PATH, args(results, "csv"), dir);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find("is being written by another scan"), std::string::npos);
        EXPECT_EQ(lineCount(refused.err), 1u);
        EXPECT_FALSE(fs::exists(nodeFolder / "Csv Files"));
    }
    // Two real runs at once: each either writes everything or stops at the lock.
    testing::ChildProcess first(QOR_QORSCAN_PATH, args(results, "csv"));
    testing::ChildProcess second(QOR_QORSCAN_PATH, args(results, "csv"));
    const int a = first.finish();
    const int b = second.finish();
    EXPECT_TRUE((a == 0 || a == 1) && (b == 0 || b == 1) && (a == 0 || b == 0)) << a << b;
    for (const auto& [name, bytes] : testing::filesUnder(results, false)) {
        EXPECT_TRUE(bytes == expected.at(name)) << name;
    }
}
#endif

TEST_F(ResultSafety, AFullDiskLeavesOnlyTheEarlierResults) {
#ifndef _WIN32
    gen::GeneratorOptions options;
    options.targetBytes = 1 << 20;
    const std::string exportPath = dir.file("node.qor");
    gen::generateExportFile(options, exportPath);
    for (const char* output : {"csv", "html", "xlsx"}) {
        ASSERT_EQ(scan({"--output", output, "--overwrite", "yes"}, exportPath).exitCode, 0);
        const Snapshot before = snapshot(results);
        // A file size limit stands in for the full disk; the program is not killed by it.
        const CommandResult full = testing::runCommand(
            "/bin/sh",
            {"-c", "ulimit -f 16; exec " +
                       testing::commandLine(QOR_QORSCAN_PATH,
                                            {"--settings", settings, "--now", testing::kNowArgument,
                                             "--all", "--result-folder", results, "--output",
                                             output, "--overwrite", "yes", "--quiet", exportPath})},
            dir);
        EXPECT_EQ(full.exitCode, 1) << output << full.err;
        EXPECT_EQ(lineCount(full.err), 1u) << full.err;
        EXPECT_TRUE(full.err.find("File too large") != std::string::npos ||
                    full.err.find("came out incomplete") != std::string::npos)
            << full.err;
        const Snapshot after = snapshot(results);
        for (const auto& [name, entry] : after) {
            // Anything left is an earlier result, or one written whole before the limit bit.
            EXPECT_TRUE(before.count(name) &&
                        (entry == before.at(name) ||
                         entry.substr(0, entry.rfind('@')) ==
                             before.at(name).substr(0, before.at(name).rfind('@'))))
                << name;
        }
    }
#endif
}

TEST_F(ResultSafety, WorkbooksAreWrittenForAnyNodeNumberAndCarryTheRunsClock) {
    for (const std::string& node : {std::string("[7]"), std::string(), std::string(30, 'N')}) {
        const std::string exportPath =
            dir.write("n.qor", "LAN1           CS513\n  :NODE          " + node +
                                   "\n\nAI1.1          AIS\n\n");
        const CommandResult result = scan({"--output", "xlsx", "--overwrite", "yes"}, exportPath);
        EXPECT_EQ(result.exitCode, 0) << node << result.err;
        std::string name = node;
        std::replace(name.begin(), name.end(), '[', '_');
        std::replace(name.begin(), name.end(), ']', '_');
        const fs::path workbook = fs::path(results) / ("Node" + node + "_04Dec2026") / "Xls Files" /
                                  ("AI_Node" + name + "_04Dec2026.xlsx");
        EXPECT_EQ(readFile(workbook.string()).substr(0, 2), "PK") << workbook;
    }
    // The same --now gives the same bytes.
    const std::string first = dir.file("first");
    const std::string second = dir.file("second");
    for (const std::string& folder : {first, second}) {
        fs::create_directory(folder);
        results = folder;
        ASSERT_EQ(scan({"--output", "xlsx"}, sample).exitCode, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    }
    const std::string book = "/Node12_04Dec2026/Xls Files/AI_Node12_04Dec2026.xlsx";
    EXPECT_TRUE(readFile(first + book) == readFile(second + book));
}

}  // namespace
}  // namespace qor
