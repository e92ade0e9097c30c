#include "core/platform/long_file_name.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace qor::platform {
namespace {

namespace fs = std::filesystem;

TEST(LongFileName, ExistingFilesResolveToTheirCanonicalPathAndNothingElseDoes) {
    qor::testing::TempDir dir;
    // The temporary folder itself may sit behind a link; everything below it is ours.
    const fs::path base = fs::canonical(dir.path());
    fs::create_directories(base / "Data" / "Sub");
    const std::string file = dir.write("Data/Node 12 export.qor", "x");
    const std::string expected = (base / "Data" / "Node 12 export.qor").string();
    std::error_code linked;
    fs::create_directory_symlink(base / "Data", base / "Linked Folder", linked);
    if (linked) {
        GTEST_SKIP() << "this system makes no symbolic links here: " << linked.message();
    }
    fs::create_symlink(base / "gone.qor", base / "dangling.qor");

    EXPECT_EQ(longFileName(file), expected);
    EXPECT_EQ(longFileName(dir.file("Data/Sub/../Node 12 export.qor")), expected);
    EXPECT_EQ(longFileName(dir.file("Linked Folder/Node 12 export.qor")), expected);

    EXPECT_EQ(longFileName(""), "");
    EXPECT_EQ(longFileName(dir.file("Data/missing.qor")), "");
    EXPECT_EQ(longFileName(dir.file("no such folder/Node 12 export.qor")), "");
    EXPECT_EQ(longFileName(dir.file("dangling.qor")), "");
    EXPECT_EQ(longFileName(dir.file("Data")), "") << "a folder is no document";
    EXPECT_EQ(longFileName(file + "/"), "") << "a file taken as a folder";
    EXPECT_EQ(longFileName("\"" + file + "\""), "");
    EXPECT_EQ(longFileName("\"" + file), "");
}

}  // namespace
}  // namespace qor::platform
