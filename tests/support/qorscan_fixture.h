#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace qor::testing {

inline constexpr const char* kNowArgument = "2026-12-04T10:11:12";

inline std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Every file below `root` by path relative to it, with its bytes; without `hidden`, lock and
// temporary files (names starting with a dot) are left out.
inline std::map<std::string, std::string> filesUnder(const std::filesystem::path& root,
                                                     bool hidden = true) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && (hidden || entry.path().filename().string()[0] != '.')) {
            files[std::filesystem::relative(entry.path(), root).string()] =
                readFile(entry.path().string());
        }
    }
    return files;
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
};

}  // namespace qor::testing
