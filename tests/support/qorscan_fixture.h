#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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
};

}  // namespace qor::testing
