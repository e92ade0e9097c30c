// The Windows side of the platform layer: long and non-ASCII paths, links refused, the folder
// lock, the registry association.
#include <gtest/gtest.h>

#include <QSettings>
#include <filesystem>

#include "core/platform/folder_lock.h"
#include "core/platform/input_file.h"
#include "core/platform/result_file.h"
#include "core/services/file_association.h"
#include "support/temp_dir.h"
#include "support/thrown.h"

namespace qor::platform {
namespace {

namespace fs = std::filesystem;

TEST(WindowsPlatform, ResultsReachLongAndNonAsciiPathsByTheirExactNames) {
    testing::TempDir dir;
    FolderHandle folder = FolderHandle::open(dir.str());
    const std::string level(60, 'f');
    for (int depth = 0; depth < 5; ++depth) {  // beyond the 260 characters of old
        folder = folder.subfolder(level, true);
    }
    folder = folder.subfolder(
        "Pr\xC3\xBC"
        "fung \xCE\xA9",
        true);
    ASSERT_GT(folder.path().size(), 300u);
    writeResultFile(folder, "\xE6\x95\xB0.csv", "a;b\r\n", Placement::New);

    InputFile input(folder.pathOf("\xE6\x95\xB0.csv"), "result");
    char bytes[16] = {};
    EXPECT_EQ(std::string(bytes, input.read(bytes, sizeof bytes)), "a;b\r\n");
    EXPECT_EQ(input.read(bytes, sizeof bytes), 0u);
    EXPECT_TRUE(input.stillAtPath());
    EXPECT_EQ(identityOf(folder.pathOf("\xE6\x95\xB0.csv")), input.identity());
    // The name on disk is the one given, as UTF-16 (the long path read with the prefix).
    fs::path made = fs::path(L"\\\\?\\" + dir.path().wstring()).make_preferred();
    for (int depth = 0; depth < 5; ++depth) {
        made /= level;
    }
    EXPECT_TRUE(fs::exists(made / L"Pr\u00FCfung \u03A9" / L"\u6570.csv"));
    // An entry name never reaches another folder or another stream of a file.
    for (const char* name : {"a\\b", "c:d", "..", ""}) {
        EXPECT_NE(testing::errorFrom([&] { folder.subfolder(name, true); }), "") << name;
    }
}

TEST(WindowsPlatform, ALinkUnderTheResultFolderIsRefused) {
    testing::TempDir dir;
    fs::create_directory(dir.file("elsewhere"));
    std::error_code linked;
    fs::create_directory_symlink(dir.file("elsewhere"), dir.file("Node12"), linked);
    if (linked) {
        GTEST_SKIP() << "this system makes no links here: " << linked.message();
    }
    const FolderHandle folder = FolderHandle::open(dir.str());
    EXPECT_NE(
        testing::errorFrom([&] { folder.subfolder("Node12", true); }).find("is a symbolic link"),
        std::string::npos);
    EXPECT_FALSE(folder.existingSubfolder("Node12").has_value());
}

TEST(WindowsPlatform, TheFolderLockKeepsASecondRunOutUntilReleased) {
    testing::TempDir dir;
    const FolderHandle folder = FolderHandle::open(dir.str());
    {
        const FolderLock held(folder);
        EXPECT_NE(testing::errorFrom([&] {
                      FolderLock(folder, LockRules{std::chrono::milliseconds(200)});
                  }).find("is being written by another scan"),
                  std::string::npos);
    }
    EXPECT_TRUE(testing::filesIn(dir.path()).empty());  // the lock file went with the lock
    const FolderLock again(folder, LockRules{std::chrono::milliseconds(0)});
}

TEST(WindowsPlatform, TheAssociationOpensQorFilesWithTheProgram) {
    const std::string root = "HKEY_CURRENT_USER\\Software\\QORReaderTests\\Classes";
    const services::FileAssociationReport report = services::createFileAssociation(
        services::kQorDocuments, "C:\\Program Files\\QOR Reader\\qorreader.exe", "", root,
        services::RefreshDatabases::No);
    EXPECT_EQ(report.written.size(), 2u);
    QSettings classes(QString::fromStdString(root), QSettings::NativeFormat);
    EXPECT_EQ(classes.value(".qor/.").toString(), "QORReader.qor");
    EXPECT_EQ(classes.value("QORReader.qor/.").toString(), "AC400 DataBase Files");
    EXPECT_EQ(classes.value("QORReader.qor/shell/open/command/.").toString(),
              "\"C:\\Program Files\\QOR Reader\\qorreader.exe\" \"%1\"");
    QSettings("HKEY_CURRENT_USER\\Software", QSettings::NativeFormat).remove("QORReaderTests");
}

}  // namespace
}  // namespace qor::platform
