// A result takes its name in one step and only as asked; the sweep of what killed runs left
// removes our own temporary names and nothing else.
#include "core/platform/result_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/base/qor_error.h"
#include "support/temp_dir.h"

namespace qor::platform {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(ResultFile, ANewResultNeverReplacesWhatTookItsNameMeanwhile) {
    testing::TempDir dir;
    const FolderHandle folder = FolderHandle::open(dir.str());
    for (const Placement placement : {Placement::New, Placement::Replace}) {
        ResultFile file;
        file.open(folder, "result.csv");
        file.write("new");
        dir.write("result.csv", "someone else's");  // appears while the result is written
        if (placement == Placement::New) {
            try {
                file.commit(placement);
                FAIL() << "a new result took a name that was no longer free";
            } catch (const QorError& error) {
                EXPECT_NE(std::string(error.what()).find("something else took that name"),
                          std::string::npos);
            }
            EXPECT_EQ(testing::readFile(dir.file("result.csv")), "someone else's");
        } else {
            file.commit(placement);
            EXPECT_EQ(testing::readFile(dir.file("result.csv")), "new");
        }
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"result.csv"});  // no temporary left
    }
    // A folder gone since it was opened: the system's reason is the one reported.
    const std::string gone = dir.file("gone");
    fs::create_directory(gone);
    const FolderHandle goneFolder = FolderHandle::open(gone);
    fs::remove(gone);
    ResultFile file;
    try {
        file.open(goneFolder, "x.csv");
        FAIL() << "a file was made in a removed folder";
    } catch (const QorError& error) {
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos)
            << error.what();
    }
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
    fs::create_symlink(dir.file("victim"), dir.file(".qor-link.tmp"));
    fs::create_symlink(dir.file("victim/keep"), dir.file(".qor-link.part"));
    removeLeftovers(FolderHandle::open(dir.str()));
    EXPECT_EQ(namesIn(dir.path()),
              (std::set<std::string>{".qor-link.part", ".qor-link.tmp", ".qor-notes.txt",
                                     "report.part", "victim"}));
    EXPECT_EQ(testing::readFile(dir.file("victim/keep")), "kept");
}

}  // namespace
}  // namespace qor::platform
