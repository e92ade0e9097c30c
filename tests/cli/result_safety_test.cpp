// What a scan never does to a result folder, whatever the user answers, plants or kills.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "core/output/xlsx_check.h"
#include "core/platform/folder_lock.h"
#include "export_generator.h"
#include "support/child_process.h"
#include "support/folder_watch.h"
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
    CommandResult run(const std::vector<std::string>& args) {
        return testing::runCommand(QOR_QORSCAN_PATH, args, dir);
    }
    // Every type and the statistics, into the result folder.
    std::vector<std::string> scanArgs(std::vector<std::string> extra,
                                      const std::string& exportPath) const {
        extra.insert(extra.end(),
                     {"--all", "--statistics", "--result-folder", results, "--quiet", exportPath});
        return argsWith(extra);
    }
    CommandResult scan(const std::vector<std::string>& extra, const std::string& exportPath) {
        return run(scanArgs(extra, exportPath));
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

// No folder below the result folder is entered through a link: a linked one is refused before
// anything is written, and leftovers are never swept through one. The result folder itself
// may be a link: the user chose it.
TEST_F(ResultSafety, LinkedFoldersBelowTheResultFolderAreNeverEntered) {
    const fs::path victim = dir.path() / "victim";
    fs::create_directories(victim / "Csv Files");
    dir.write("victim/.qor-aaaaaaaaaaaa.part", "not ours to remove");
    fs::create_directory(victim / ".qor-bbbbbbbbbbbb.tmp");
    const Snapshot before = snapshot(victim);
    const struct {
        std::string linked;  // below the node folder; empty: the node folder itself
        std::string output;  // empty: a comparison
        int exitCode;
    } cases[] = {{"", "csv", 1},
                 {"Csv Files", "csv", 1},
                 {"Html Files", "html", 1},
                 {"Xls Files", "xlsx", 1},
                 {"Changes", "", 1},
                 {"Html Files", "csv", 0}};  // not written to: its link only stands there
    for (const auto& c : cases) {
        fs::remove_all(nodeFolder);
        fs::create_directories(nodeFolder);
        const fs::path link = c.linked.empty() ? nodeFolder : nodeFolder / c.linked;
        fs::remove(link);
        fs::create_symlink(victim, link);
        const CommandResult result =
            c.output.empty() ? run(argsWith({"--result-folder", results, "--quiet", "--compare",
                                             sample, sample}))
                             : scan({"--output", c.output, "--overwrite", "yes"}, sample);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.linked << result.err;
        if (c.exitCode != 0) {
            EXPECT_EQ(lineCount(result.err), 1u);
            EXPECT_NE(result.err.find("'" + link.string() + "' is a symbolic link"),
                      std::string::npos)
                << result.err;
        }
        EXPECT_EQ(snapshot(victim), before) << c.linked << " " << c.output;
    }
    fs::remove_all(nodeFolder);
    fs::create_directory_symlink(results, dir.path() / "chosen");
    results = dir.file("chosen");
    EXPECT_EQ(scan({"--output", "csv"}, sample).exitCode, 0);
    EXPECT_TRUE(fs::exists(nodeFolder / "Csv Files" / "AI_Node12_04Dec2026.csv"));
}

// A lock file stops a run only while its process may live: one left empty, garbled or by a
// process that is gone is taken over; another computer's is named with its age and taken
// over on request. What killed runs left is swept only by the run that holds the lock.
TEST_F(ResultSafety, LockFilesOfEndedOrForeignRunsAreTakenOverAsTheyShould) {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    testing::ChildProcess done("/bin/true", {});
    const std::string ended = std::to_string(done.pid()) + "\nqorreader\n" + host;
    done.finish();  // the lock now names a process that has ended
    const struct {
        std::string lock;
        bool breakLock;
        std::string said;  // empty: taken over
    } cases[] = {
        {"", false, ""},
        {"\x01\xff garbage", false, ""},
        {ended + "\n", false, ""},
        {"4242\nqorreader\nfaraway\n", false,
         "is being written by a scan on the computer 'faraway' (its lock is 2 hours old); when no "
         "scan runs there any more, --break-lock takes the lock over"},
        {"4242\nqorreader\nfaraway\n", true, ""},
    };
    const fs::path lock = nodeFolder / ".qorscan.lock";
    // What a killed run left in the node folder and in a type folder.
    const fs::path leftovers[] = {nodeFolder / ".qor-000000000001.part",
                                  nodeFolder / "Csv Files" / ".qor-000000000000.part"};
    for (const auto& c : cases) {
        fs::remove_all(nodeFolder);
        fs::create_directories(nodeFolder / "Csv Files");
        dir.write("results/Node12_04Dec2026/.qorscan.lock", c.lock);
        fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::hours(2));
        for (const fs::path& leftover : leftovers) {
            dir.write(fs::relative(leftover, dir.path()).string(), "left");
        }
        std::vector<std::string> flags = {"--output", "csv"};
        if (c.breakLock) {
            flags.push_back("--break-lock");
        }
        const CommandResult result = scan(flags, sample);
        EXPECT_EQ(result.exitCode, c.said.empty() ? 0 : 1) << c.lock << result.err;
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
        for (const fs::path& leftover : leftovers) {
            EXPECT_EQ(fs::exists(leftover), !c.said.empty()) << c.lock << leftover;
        }
        EXPECT_EQ(fs::exists(lock), !c.said.empty()) << c.lock;  // released with the run
    }
}

#ifndef _WIN32
// In a folder every user may write, a lock file another user's run left is in the way of a
// user who may not write it: it is taken over when its process has ended, and otherwise (or
// where the folder's sticky bit keeps it) the message says whose it is and what to do.
TEST_F(ResultSafety, AnotherUsersLockIsTakenOverOnlyWhenItsRunHasEnded) {
    if (geteuid() != 0 || !fs::exists("/usr/bin/setpriv")) {
        GTEST_SKIP() << "needs root and setpriv to run qorscan as a second user (nobody)";
    }
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    testing::ChildProcess done("/bin/true", {});
    const std::string ended = std::to_string(done.pid()) + "\nqorreader\n" + host + "\n";
    done.finish();
    const std::string alive = std::to_string(getpid()) + "\nqorreader\n" + host + "\n";
    const struct {
        std::string lock;
        fs::perms folder;
        bool breakLock;
        std::string said;  // empty: taken over
    } cases[] = {
        {ended, fs::perms::all, false, ""},
        {ended, fs::perms::all | fs::perms::sticky_bit, false,
         "that process " + ended.substr(0, ended.find('\n')) +
             " of the user root left behind: the folder's sticky bit"},
        {alive, fs::perms::all, false,
         "belongs to the user root (process " + std::to_string(getpid()) + " on '" + host +
             "'), and you may not write it. When no scan of theirs runs any more, run again with "
             "--break-lock"},
        {alive, fs::perms::all, true, ""},
    };
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    fs::permissions(settings, fs::perms::owner_read | fs::perms::owner_write |
                                  fs::perms::group_read | fs::perms::others_read);
    fs::permissions(results, fs::perms::all);
    const fs::path lock = nodeFolder / ".qorscan.lock";
    for (const auto& c : cases) {
        fs::remove_all(nodeFolder);
        fs::create_directories(nodeFolder);
        fs::permissions(nodeFolder, c.folder);
        dir.write(fs::relative(lock, dir.path()).string(), c.lock);
        std::vector<std::string> args = {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                         QOR_QORSCAN_PATH};
        const std::vector<std::string> line =
            scanArgs(c.breakLock ? std::vector<std::string>{"--output", "csv", "--break-lock"}
                                 : std::vector<std::string>{"--output", "csv"},
                     sample);
        args.insert(args.end(), line.begin(), line.end());
        const CommandResult result = testing::runCommand("/usr/bin/setpriv", args, dir);
        EXPECT_EQ(result.exitCode, c.said.empty() ? 0 : 1) << c.lock << result.err;
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
        EXPECT_EQ(fs::exists(lock), !c.said.empty()) << c.lock;
        EXPECT_EQ(fs::exists(nodeFolder / "Csv Files" / "AI_Node12_04Dec2026.csv"), c.said.empty());
    }
}

class KilledAndConcurrentRuns : public ResultSafety {
protected:
    void SetUp() override {
        gen::GeneratorOptions options;
        options.seed = 9;
        options.targetBytes = 16 << 20;
        gen::generateExportFile(options, big);
        expected = alone(big, {"csv", "html"});
    }
    std::vector<std::string> args(const std::string& into, const std::string& output,
                                  const std::string& exportPath = {}) const {
        return argsWith({"--all", "--result-folder", into, "--output", output, "--overwrite", "yes",
                         "--quiet", exportPath.empty() ? big : exportPath});
    }
    // The results of runs of `exportPath` in a folder of their own, one after the other.
    std::map<std::string, std::string> alone(const std::string& exportPath,
                                             std::initializer_list<const char*> outputs) {
        const std::string folder = dir.file("alone" + std::to_string(++aloneRuns_));
        fs::create_directory(folder);
        for (const char* output : outputs) {
            EXPECT_EQ(run(args(folder, output, exportPath)).exitCode, 0);
        }
        return testing::filesUnder(folder, false);
    }

    std::string big = dir.file("big.qor");
    std::map<std::string, std::string> expected;
    int aloneRuns_ = 0;
};

TEST_F(KilledAndConcurrentRuns, AStoppedOrKilledRunLeavesNoTruncatedResult) {
    const auto resultsAreWholeOrOld = [&](int signal) {
        for (const auto& [name, bytes] : testing::filesUnder(results, false)) {
            ASSERT_TRUE(expected.count(name)) << name;
            EXPECT_TRUE(bytes == expected.at(name)) << name << " after signal " << signal;
        }
    };
    const auto hiddenEntries = [&] {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(results)) {
            if (entry.path().filename().string()[0] == '.') {
                found.push_back(entry.path().filename().string());
            }
        }
        return found;
    };
    // A stop signal ends the run as Cancel does: no temporary file, no lock stays; also while a
    // question waits for its answer.
    ASSERT_EQ(run(args(results, "csv")).exitCode, 0);
    std::vector<std::string> asking = args(results, "csv");
    *std::find(asking.begin(), asking.end(), "yes") = "ask";
    testing::ChildProcess asked(QOR_QORSCAN_PATH, asking);
    ASSERT_TRUE(asked.waitForError("[y/N]")) << asked.err();
    asked.kill(SIGINT);
    EXPECT_EQ(asked.finish(), 128 + SIGINT) << asked.err();
    // The questions that would have followed are not asked any more.
    EXPECT_EQ(asked.err().find("[y/N]"), asked.err().rfind("[y/N]")) << asked.err();
    EXPECT_EQ(hiddenEntries(), std::vector<std::string>{});
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        testing::ChildProcess run(QOR_QORSCAN_PATH, args(results, "html"));
        // The lock and a page being written.
        ASSERT_TRUE(testing::waitForTree(results, [&] { return hiddenEntries().size() >= 2; }));
        run.kill(signal);
        EXPECT_EQ(run.finish(), 128 + signal) << run.err();
        EXPECT_EQ(hiddenEntries(), std::vector<std::string>{}) << signal;
        resultsAreWholeOrOld(signal);
    }
    // Killed as soon as it holds the lock, and once a few results have their new names.
    const auto renamedSince = [&](fs::file_time_type start) {
        std::size_t renamed = 0;
        for (const auto& entry : fs::recursive_directory_iterator(results)) {
            renamed += entry.is_regular_file() && entry.path().filename().string()[0] != '.' &&
                       entry.last_write_time() > start;
        }
        return renamed;
    };
    int killedMidway = 0;
    for (const char* output : {"csv", "html"}) {
        for (const std::size_t renamedFirst : {0, 3}) {
            const fs::file_time_type start = fs::file_time_type::clock::now();
            testing::ChildProcess run(QOR_QORSCAN_PATH, args(results, output));
            ASSERT_TRUE(testing::waitForTree(results, [&] {
                return !hiddenEntries().empty() && renamedSince(start) >= renamedFirst;
            }));
            run.kill(SIGKILL);
            killedMidway += run.finish() == 128 + SIGKILL;
            resultsAreWholeOrOld(SIGKILL);
        }
    }
    EXPECT_GT(killedMidway, 0);
    // The lock and temporary files the killed runs left behind go with the next run.
    EXPECT_EQ(testing::ChildProcess(QOR_QORSCAN_PATH, args(results, "csv")).finish(), 0);
    EXPECT_EQ(hiddenEntries(), std::vector<std::string>{});
}

TEST_F(KilledAndConcurrentRuns, TwoRunsOverOneFolderNeverMixTheirResults) {
    // While another scan holds the node folder, a run waits a little and then gives up.
    fs::create_directories(nodeFolder);
    {
        const platform::FolderLock held(platform::FolderHandle::open(nodeFolder.string()));
        const CommandResult refused = run(args(results, "csv"));
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find("is being written by another scan"), std::string::npos);
        EXPECT_EQ(lineCount(refused.err), 1u);
        EXPECT_FALSE(fs::exists(nodeFolder / "Csv Files"));
    }
    // Runs that start together, the node folder not made yet: each waits for its turn.
    const auto once = alone(sample, {"csv"});
    for (int round = 0; round < 20; ++round) {
        fs::remove_all(results);
        fs::create_directory(results);
        testing::ChildProcess first(QOR_QORSCAN_PATH, args(results, "csv", sample));
        testing::ChildProcess second(QOR_QORSCAN_PATH, args(results, "csv", sample));
        EXPECT_EQ(first.finish(), 0) << first.err();
        EXPECT_EQ(second.finish(), 0) << second.err();
        EXPECT_EQ(testing::filesUnder(results), once) << "round " << round;
    }
}

// Exports of one node in one --jobs run write one after the other in the order given, so the
// last one's results stay; the same export given twice is no error.
TEST_F(KilledAndConcurrentRuns, ExportsOfOneNodeInOneRunTakeTurns) {
    const auto sampleCsv = alone(sample, {"csv"});
    std::map<std::string, std::string> bigCsv;
    for (const auto& [name, bytes] : expected) {
        if (name.find("Csv Files") != std::string::npos) {
            bigCsv[name] = bytes;
        }
    }
    const struct {
        std::string first, last;
        std::map<std::string, std::string> stays;
    } orders[] = {{big, sample, sampleCsv}, {sample, big, bigCsv}, {sample, sample, sampleCsv}};
    for (const auto& order : orders) {
        fs::remove_all(results);
        fs::create_directory(results);
        std::vector<std::string> line = args(results, "csv", order.first);
        line.insert(line.end(), {"--jobs", "2", order.last});
        const CommandResult both = run(line);
        EXPECT_EQ(both.exitCode, 0) << both.err;
        EXPECT_EQ(testing::filesUnder(results), order.stays) << order.first << " " << order.last;
    }
}

// A standard output nobody reads any more fails the run's writes there, and only those: every
// export is still scanned to the end, nothing temporary and no lock stays.
TEST_F(KilledAndConcurrentRuns, AClosedOutputPipeFailsTheTablesNotTheScan) {
    const auto sampleCsv = alone(sample, {"csv"});
    std::vector<std::string> line = args(results, "csv");
    line.erase(std::find(line.begin(), line.end(), "--quiet"));
    line.insert(line.end(), {"--jobs", "2", sample});
    testing::ChildProcess run(QOR_QORSCAN_PATH, line, testing::ChildOutput::ClosedPipe);
    EXPECT_EQ(run.finish(), 1) << run.err();
    EXPECT_NE(run.err().find("cannot write the standard output: Broken pipe"), std::string::npos)
        << run.err();
    EXPECT_EQ(testing::filesUnder(results), sampleCsv);
}
#endif

TEST_F(ResultSafety, AFullDiskLeavesOnlyTheEarlierResults) {
#ifndef _WIN32
    gen::GeneratorOptions options;
    options.targetBytes = 1 << 20;
    const std::string exportPath = dir.file("node.qor");
    gen::generateExportFile(options, exportPath);
    // Workbooks on a full disk: workbook_full_disk_test.cpp.
    for (const char* output : {"csv", "html"}) {
        ASSERT_EQ(scan({"--output", output, "--overwrite", "yes"}, exportPath).exitCode, 0);
        const Snapshot before = snapshot(results);
        // A file size limit stands in for the full disk; the program is not killed by it.
        const CommandResult full = testing::runCommand(
            "/bin/sh",
            {"-c", "ulimit -f 16; exec " +
                       testing::commandLine(
                           QOR_QORSCAN_PATH,
                           argsWith({"--all", "--result-folder", results, "--output", output,
                                     "--overwrite", "yes", "--quiet", exportPath}))},
            dir);
        EXPECT_EQ(full.exitCode, 1) << output << full.err;
        EXPECT_EQ(lineCount(full.err), 1u) << full.err;
        EXPECT_NE(full.err.find("File too large"), std::string::npos) << full.err;
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

    // A comparison's CSV file and page change together or not at all: here the CSV file would
    // fit below the limit, the page would not.
    const std::vector<std::string> edited = {dir.file("b.qor"), dir.file("c.qor")};
    for (std::size_t i = 0; i < edited.size(); ++i) {
        options.seed = i + 2;
        options.targetBytes = 300 << 10;
        gen::generateExportFile(options, edited[i]);
    }
    const auto compare = [&](const std::string& newer, const std::string& limit) {
        return testing::runCommand(
            "/bin/sh",
            {"-c", limit + "exec " +
                       testing::commandLine(
                           QOR_QORSCAN_PATH,
                           argsWith({"--compare", "--result-folder", results, "--overwrite", "yes",
                                     "--quiet", exportPath, newer}))},
            dir);
    };
    ASSERT_EQ(compare(edited[0], "").exitCode, 0);
    const Snapshot pair = snapshot(nodeFolder / "Changes");
    const CommandResult half = compare(edited[1], "ulimit -f 1024; ");
    EXPECT_EQ(half.exitCode, 1) << half.err;
    EXPECT_EQ(snapshot(nodeFolder / "Changes"), pair);
#endif
}

// A result is on disk before it takes its name: a power loss then leaves the old result or the
// complete new one, never an empty file under the result's name.
TEST_F(ResultSafety, EveryResultIsSyncedBeforeItTakesItsName) {
#ifndef _WIN32
    const std::regex sync(R"((?:fdatasync|fsync)\(\d+<(?:[^>]*/)?([^/>]*)>)");
    const std::regex move(
        R"re((?:renameat2|renameat|rename|linkat)\((?:\d+<[^>]*>, )?"([^"]+)")re");
    for (const OutputCase& output : kOutputs) {
        const std::string trace = dir.file("trace");
        std::vector<std::string> args = scanArgs(with(output, "yes"), sample);
        // The leak checker of a sanitizer build cannot run under ptrace.
        args.insert(args.begin(),
                    {"ASAN_OPTIONS=detect_leaks=0", "strace", "-f", "-qq", "-y", "-o", trace, "-e",
                     "trace=fdatasync,fsync,rename,renameat,renameat2,linkat", QOR_QORSCAN_PATH});
        const CommandResult result = testing::runCommand("env", args, dir);
        if (result.exitCode != 0 && !fs::exists(trace)) {
            GTEST_SKIP() << "strace cannot trace here: " << result.err;
        }
        ASSERT_EQ(result.exitCode, 0) << result.err;
        std::set<std::string> synced;
        int moved = 0;
        std::istringstream lines(readFile(trace));
        for (std::string line; std::getline(lines, line);) {
            std::smatch found;
            if (std::regex_search(line, found, sync)) {
                synced.insert(found[1]);
            } else if (std::regex_search(line, found, move)) {
                EXPECT_TRUE(synced.count(found[1])) << output.aiFile << ": " << line;
                ++moved;
            }
        }
        EXPECT_GE(moved, 2) << output.aiFile;  // the type's result and the statistics file
    }
#endif
}

// Paths are bytes: a result folder and a node number that are not UTF-8 work as any other.
TEST_F(ResultSafety, WorkbooksAreWrittenForAnyNodeNumberOrFolderAndCarryTheRunsClock) {
    results = dir.file("r\xe9s");
    fs::create_directory(results);
    for (const std::string& node :
         {std::string("[7]"), std::string(), std::string(30, 'N'), std::string("N\xe9")}) {
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
        EXPECT_TRUE(fs::exists(workbook.parent_path().parent_path() / ("Node" + node + ".txt")));
    }
    // The run's clock, not the system's, dates the workbook: the same --now gives the same
    // bytes.
    const std::string first = dir.file("first");
    const std::string second = dir.file("second");
    for (const std::string& folder : {first, second}) {
        fs::create_directory(folder);
        results = folder;
        ASSERT_EQ(scan({"--output", "xlsx"}, sample).exitCode, 0);
    }
    const std::string book = "/Node12_04Dec2026/Xls Files/AI_Node12_04Dec2026.xlsx";
    EXPECT_NE(output::readWorkbookPart(first + book, "docProps/core.xml")
                  .find(">" + std::string(testing::kNowArgument) + "Z</dcterms:created>"),
              std::string::npos);
    EXPECT_TRUE(readFile(first + book) == readFile(second + book));
}

}  // namespace
}  // namespace qor
