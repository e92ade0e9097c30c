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

TEST_F(Configuration, ASettingsOrCabinetFileThatCannotBeReadStopsTheRunBeforeAnyWrite) {
    fs::create_directory(dir.path() / "folder.ini");
    const std::string huge = dir.write("huge.csv", "");
    fs::resize_file(huge, std::uintmax_t{1} << 30);  // sparse: costs no disk
    const struct {
        std::string option;
        std::string path;
        std::string said;
    } cases[] = {
        {"--settings", dir.file("folder.ini"), "' is a folder"},
        {"--settings", dir.write("binary.ini", std::string("[Settings]\0\x01\x02", 13)),
         "' holds binary data"},
        {"--settings", dir.file("no-such-folder/s.ini"),
         "' cannot be created: its folder does not exist"},
#ifndef _WIN32
        {"--settings", "/dev/null", "' is not a regular file"},
        {"--cabinets", "/dev/zero", "' is a device"},
#endif
        {"--cabinets", dir.file("missing.csv"), "': " + testing::noSuchFileText()},
        {"--cabinets", dir.str(), "' is a folder"},
        {"--cabinets", huge, "' is larger than 128 MiB"},
        // Readable, but no table: nothing is scanned rather than labelled wrongly.
        {"--cabinets", dir.write("odd.csv", "CB801,AI800_1\nCB802"),
         ", line 2 holds one field, not a cabinet and a module: 'CB802'"},
        {"--cabinets", dir.write("quote.csv", "CB801,AI800_1\nCB802,\"AI800_2\nCB803,AI800_3\n"),
         ", line 2 opens a quote that nothing closes"},
        {"--cabinets", dir.write("semicolon.csv", "CB801;AI800_1\n"),
         ", line 1 separates the cabinet and the module with ';' instead of ','"},
        {"--cabinets", dir.write("zero-bytes.csv", std::string(4096, '\0')),
         ", line 1 holds bytes that are no text"},
    };
    const std::string unmade = dir.file("unmade.ini");
    for (const auto& c : cases) {
        std::vector<std::string> args = scanArgs(c.option == "--settings" ? c.path : unmade);
        if (c.option == "--cabinets") {
            args.insert(args.end() - 1, {"--cabinets", c.path});
        }
        const CommandResult result = run(args);
        EXPECT_EQ(result.exitCode, 2) << c.path;
        EXPECT_EQ(lineCount(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find(c.path + c.said), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_empty(results));
        EXPECT_FALSE(fs::exists(unmade));
    }
    // A missing file is created empty (and said so); a misspelt key is pointed out, and so is
    // a value Qt cannot read, escaped.
    const std::string misspelt =
        dir.write("typo.ini",
                  "[Setings]\nScanResultFolderPath=/x\n[Settings]\nShowSearchStatusDialog="
                  "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x3\\x1b]0\\0)\n");
    const CommandResult typo = run(scanArgs(misspelt));
    EXPECT_EQ(typo.exitCode, 0) << typo.err;
    EXPECT_NE(typo.err.find("unknown setting 'ScanResultFolderPath' in section [Setings]"),
              std::string::npos);
    EXPECT_NE(typo.err.find("cannot be read and is taken as absent (Qt: QVariant::load: unknown "
                            "user type with name \\x1b]0.)"),
              std::string::npos)
        << typo.err;
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
    EXPECT_FALSE(fs::exists(dir.path() / "Node12_04Dec2026"));
}

TEST_F(Configuration, TerminalLinesAreEscapedAndCut) {
    const struct {
        std::vector<std::string> extra;  // before the export file
        std::string file;
        std::string said;
    } cases[] = {
        {{}, dir.file("bad\nname\x1b[31m.qor"), "bad\\nname\\x1b[31m.qor"},
#ifndef _WIN32  // a Windows command line is UTF-16: no stray byte gets through
        // A stray C1 byte, a C1 character and a letter of two bytes, which stays.
        {{"--now",
          "\x1b]0;x\a\x9b"
          "1m\xc2\x9b\xc3\xa9"},
         sample,
         "not '\\x1b]0;x\\x07\\x9b"
         "1m\\xc2\\x9b\xc3\xa9'"},
#endif
        {{"--output", std::string(5000, 'x')},
         sample,
         "not '" + std::string(200, 'x') + "...' (5000 bytes)"},
        {{"--cabinets", dir.write("one.csv", std::string(3 << 20, 'c'))},
         sample,
         "holds one field, not a cabinet and a module: '" + std::string(60, 'c') +
             "...' (1048576 bytes)"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = scanArgs(settings);
        args.back() = c.file;
        args.insert(args.end() - 1, c.extra.begin(), c.extra.end());
        const CommandResult result = run(args);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
        EXPECT_LT(result.err.size(), 1000u) << result.err;
    }
}

// Both need a POSIX shell: redirections to devices, and a locale chosen per run by LC_ALL.
#ifndef _WIN32
TEST_F(Configuration, AStandardStreamThatFailsIsAnErrorAndNoAnswerIsEndless) {
    const std::string command = testing::commandLine(QOR_QORSCAN_PATH, scanArgs(settings));
    const struct {
        const char* redirection;
        int exitCode;
        const char* said;
    } cases[] = {
        {" >/dev/full", 1, "cannot write the standard output: No space left"},
        {" >&-", 1, "cannot write the standard output: Bad file descriptor"},
        // The result exists: the question is read from an endless line, and not answered yes.
        // (A time limit turns a run that reads on for ever into a failure, not a hang.)
        {" --overwrite ask </dev/zero", 0, "Do you want to replace it ? [y/N] \n"},
    };
    for (const auto& c : cases) {
        const CommandResult result =
            testing::runCommand("/bin/sh", {"-c", "timeout 20 " + command + c.redirection}, dir);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.redirection;
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
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
#endif

}  // namespace
}  // namespace qor
