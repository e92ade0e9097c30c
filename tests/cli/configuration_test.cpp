// qorscan's settings, result folder, locale and terminal: every failure is one line that names
// its cause, and nothing is written where it should not be.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/qorscan_fixture.h"
#include "support/run_command.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::lineCount;

class Configuration : public testing::QorscanFixture {
protected:
    CommandResult run(const std::vector<std::string>& args) {
        return testing::runCommand(QOR_QORSCAN_PATH, args, dir);
    }
    std::vector<std::string> scanArgs(const std::string& store) {
        return {"--settings",      store,   "--now",    testing::kNowArgument,
                "--enable",        "AI",    "--output", "csv",
                "--result-folder", results, sample};
    }
};

TEST_F(Configuration, ASettingsFileThatCannotBeReadStopsTheRun) {
    fs::create_directory(dir.path() / "folder.ini");
    const struct {
        std::string settings;
        std::string said;
    } cases[] = {
        {dir.file("folder.ini"), "is a folder"},
        {dir.write("binary.ini", std::string("[Settings]\0\x01\x02", 13)), "holds binary data"},
        {dir.file("no-such-folder/s.ini"), "cannot be created: its folder does not exist"},
        {"/dev/null", "is not a regular file"},
    };
    for (const auto& c : cases) {
        const CommandResult result = run(scanArgs(c.settings));
        EXPECT_EQ(result.exitCode, 2) << c.settings;
        EXPECT_EQ(lineCount(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find(c.settings + "' " + c.said), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_empty(results));
    }
    // A missing file is created empty (and said so); a misspelt key is pointed out.
    const std::string misspelt = dir.write("typo.ini", "[Setings]\nScanResultFolderPath=/x\n");
    const CommandResult typo = run(scanArgs(misspelt));
    EXPECT_EQ(typo.exitCode, 0) << typo.err;
    EXPECT_NE(typo.err.find("unknown setting 'ScanResultFolderPath' in section [Setings]"),
              std::string::npos);
    const CommandResult created = run(scanArgs(dir.file("new.ini")));
    EXPECT_EQ(created.exitCode, 0);
    EXPECT_NE(created.err.find("created it empty"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.file("new.ini")));
}

TEST_F(Configuration, AnEmptyResultFolderIsNotTheCurrentFolder) {
    const std::string emptyFolder = dir.write("s.ini", "[Settings]\nScanResultFolderPath=\n");
    std::vector<std::string> args = scanArgs(emptyFolder);
    args.erase(args.end() - 3, args.end() - 1);  // no --result-folder: the stored empty one
    const CommandResult stored = run(args);
    EXPECT_EQ(stored.exitCode, 2);
    EXPECT_NE(stored.err.find("ScanResultFolderPath) is empty"), std::string::npos);
    args.insert(args.end() - 1, {"--result-folder", ""});
    EXPECT_EQ(run(args).exitCode, 2);
    EXPECT_FALSE(fs::exists(dir.path() / "Node12_04Dec2026"));
}

TEST_F(Configuration, TerminalLinesAreEscapedAndAFullStandardOutputIsAnError) {
    const std::string odd = dir.file("bad\nname\x1b[31m.qor");
    std::vector<std::string> args = scanArgs(settings);
    args.back() = odd;
    const CommandResult result = run(args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(lineCount(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find("bad\\nname\\x1b[31m.qor"), std::string::npos) << result.err;

    const CommandResult full = testing::runCommand(
        "/bin/sh",
        {"-c", testing::commandLine(QOR_QORSCAN_PATH, scanArgs(settings)) + " >/dev/full"}, dir);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("cannot write the standard output: No space left"), std::string::npos)
        << full.err;
}

TEST_F(Configuration, DateStampsUseTheLocalesMonthWithoutDotsOrBlanks) {
    const struct {
        const char* locale;
        const char* folder;
    } cases[] = {{"C", "Node12_04Dec2026"},
                 {"de_DE.UTF-8", "Node12_04Dez2026"},
                 {"fr_FR.UTF-8",
                  "Node12_04d\xC3\xA9"
                  "c2026"},
                 {"vi_VN.UTF-8", "Node12_04Thg122026"}};
    for (const auto& c : cases) {
        const std::string command = "LC_ALL=" + std::string(c.locale) + " " +
                                    testing::commandLine(QOR_QORSCAN_PATH, scanArgs(settings));
        ASSERT_EQ(testing::runCommand("/bin/sh", {"-c", command}, dir).exitCode, 0);
        EXPECT_TRUE(fs::is_directory(fs::path(results) / c.folder / "Csv Files")) << c.locale;
    }
}

}  // namespace
}  // namespace qor
