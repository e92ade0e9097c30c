#include "core/platform/install_layout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/base/build_info.h"
#include "support/temp_dir.h"

namespace qor::platform {
namespace {

namespace fs = std::filesystem;
using qor::testing::TempDir;

// The installed guide wins over the source tree's; a missing one falls back; no folder, no
// guide (never a path relative to the current folder).
TEST(InstallLayout, UserGuidePageFindsTheInstalledGuideFirst) {
    const struct {
        bool installed, source;
        const char* expected;
    } cases[] = {{true, true, "installed"}, {false, true, "source"}, {false, false, ""}};
    for (const auto& c : cases) {
        TempDir tree;
        const fs::path installed =
            (tree.path() / "bin" / build::kUserGuideFromPrograms).lexically_normal();
        fs::create_directories(installed);
        fs::create_directories(tree.path() / "bin");
        fs::create_directories(tree.path() / "docs");
        if (c.installed) {
            std::ofstream(installed / "index.html") << "installed";
        }
        if (c.source) {
            std::ofstream(tree.path() / "docs/index.html") << "source";
        }
        const std::string page = userGuidePage(tree.file("bin"), tree.file("docs"));
        EXPECT_EQ(page.empty() ? "" : qor::testing::readFile(page), c.expected);
        EXPECT_TRUE(page.empty() || fs::path(page).lexically_normal() == fs::path(page)) << page;
    }
    EXPECT_EQ(userGuidePage("", ""), "");
}

}  // namespace
}  // namespace qor::platform
