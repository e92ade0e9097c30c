// A result takes its name in one step and only as asked; the sweep of what killed runs left
// removes our own temporary names and nothing else.
#include "core/platform/result_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "support/thrown.h"

namespace qor::platform {
namespace {

namespace fs = std::filesystem;

TEST(ResultFile, ANewResultNeverReplacesWhatTookItsNameMeanwhile) {
    testing::TempDir dir;
    const FolderHandle folder = FolderHandle::open(dir.str());
    for (const Placement placement : {Placement::New, Placement::Replace}) {
        ResultFile file;
        file.open(folder, "result.csv");
        file.write("new");
        dir.write("result.csv", "someone else's");  // appears while the result is written
        if (placement == Placement::New) {
            EXPECT_NE(testing::errorFrom([&] {
                          file.commit(placement);
                      }).find("something else took that name"),
                      std::string::npos);
            EXPECT_EQ(testing::readFile(dir.file("result.csv")), "someone else's");
        } else {
            file.commit(placement);
            EXPECT_EQ(testing::readFile(dir.file("result.csv")), "new");
        }
        EXPECT_EQ(testing::filesIn(dir.path()),
                  std::vector<std::string>{"result.csv"});  // no temporary left
    }
    // A folder gone since it was opened: the system's reason is the one reported.
    const std::string gone = dir.file("gone");
    fs::create_directory(gone);
    const FolderHandle goneFolder = FolderHandle::open(gone);
#ifdef _WIN32
    // Windows keeps an open folder where it is: it cannot go.
    std::error_code removed;
    EXPECT_FALSE(fs::remove(gone, removed));
    EXPECT_TRUE(removed);
    return;
#endif
    fs::remove(gone);
    ResultFile file;
    const std::string error = testing::errorFrom([&] { file.open(goneFolder, "x.csv"); });
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

TEST(ResultFile, TheSweepRemovesOnlyOurOwnTemporaryFilesAndFoldersAndNoLink) {
    testing::TempDir dir;
    fs::create_directory(dir.file(".qor-b2.tmp"));
    fs::create_directory(dir.file("victim"));
    dir.write(".qor-a1.part", "left");
    dir.write(".qor-b2.tmp/workbook.xlsx", "left");
    dir.write("report.part", "a user's");
    dir.write(".qor-notes.txt", "a user's");
    dir.write("victim/keep", "kept");
    std::error_code linked;
    fs::create_symlink(dir.file("victim"), dir.file(".qor-link.tmp"), linked);
    if (linked) {
        GTEST_SKIP() << "this system makes no symbolic links here: " << linked.message();
    }
    fs::create_symlink(dir.file("victim/keep"), dir.file(".qor-link.part"));
    removeLeftovers(FolderHandle::open(dir.str()));
    EXPECT_EQ(testing::filesIn(dir.path()),
              (std::vector<std::string>{".qor-link.part", ".qor-link.tmp", ".qor-notes.txt",
                                        "report.part", "victim"}));
    EXPECT_EQ(testing::readFile(dir.file("victim/keep")), "kept");
}

}  // namespace
}  // namespace qor::platform
