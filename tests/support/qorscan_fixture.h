#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_command.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include "core/platform/file_system.h"
#endif

namespace qor::testing {

inline constexpr const char* kNowArgument = "2026-12-04T10:11:12";

// How the system says that a file is missing, as the programs quote it.
inline std::string noSuchFileText() {
#ifdef _WIN32
    return platform::windowsErrorText(2);  // ERROR_FILE_NOT_FOUND
#else
    return "No such file";
#endif
}

// `path` with "/" separators, for a settings file: there "\\" starts an escape.
inline std::string genericPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

inline std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// qorscan runs in a folder of the test's own: an empty settings file and an empty result folder.
class QorscanFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::string settings = dir.write("settings.ini", "");
    std::string results = [this] {
        std::filesystem::create_directory(dir.path() / "results");
        return dir.file("results");
    }();
    std::string sample = std::string(QOR_EXAMPLES_DIR) + "/sample.qor";

    // qorscan's arguments: this test's settings and clock, then `more`.
    std::vector<std::string> argsWith(std::vector<std::string> more) const {
        more.insert(more.begin(), {"--settings", settings, "--now", kNowArgument});
        return more;
    }

    // qorscan with this test's settings only (--check and --find take no clock).
    CommandResult runWithSettings(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--settings", settings});
        return runCommand(QOR_QORSCAN_PATH, args, dir);
    }

    // A run of qorscan that prints what it finds (--check, --find) and what it must print.
    struct Printed {
        std::vector<std::string> args;  // after this test's settings
        int exitCode;
        std::string out;
        std::string err;  // a part of the messages; empty: none at all
    };
    void expectPrinted(const Printed& c) const {
        const CommandResult result = runWithSettings(c.args);
        const std::string what = commandLine("qorscan", c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << what << "\n" << result.err;
        EXPECT_EQ(result.out, c.out) << what;
        if (c.err.empty()) {
            EXPECT_EQ(result.err, "") << what;
        } else {
            EXPECT_NE(result.err.find(c.err), std::string::npos) << what << "\n" << result.err;
        }
    }
};

}  // namespace qor::testing
