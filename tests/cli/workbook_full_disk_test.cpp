// Workbooks written while the disk fills up: each workbook left holds every row of one complete
// run, the earlier one or the new one, and a workbook that could not be written whole fails
// the scan with one message naming its type and file.
#include <fcntl.h>
#include <unistd.h>

#include <sys/statvfs.h>
#include <filesystem>
#include <map>
#include <regex>

#include "export_generator.h"
#include "support/qorscan_fixture.h"
#include "support/run_command.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;

#ifdef __linux__
constexpr int kDiskMiB = 24;

class WorkbooksOnAFullDisk : public testing::QorscanFixture {
protected:
    void SetUp() override {
        fs::create_directory(disk);
        const CommandResult mounted = testing::runCommand(
            "mount",
            {"-t", "tmpfs", "-o", "size=" + std::to_string(kDiskMiB) + "m", "tmpfs", disk.string()},
            dir);
        if (mounted.exitCode != 0) {
            GTEST_SKIP() << "A small tmpfs cannot be mounted here (mounting needs root): "
                         << mounted.err;
        }
        mounted_ = true;
        for (const auto& [seed, path] : {std::pair{3, newExport}, std::pair{4, oldExport}}) {
            gen::GeneratorOptions options;
            options.seed = static_cast<std::uint64_t>(seed);
            options.targetBytes = 4 << 20;
            gen::generateExportFile(options, path);
        }
    }
    void TearDown() override {
        if (mounted_) {
            testing::runCommand("umount", {disk.string()}, dir);
        }
    }

    CommandResult scan(const fs::path& folder, const std::string& exportPath, bool oneWorkbook) {
        fs::create_directories(folder);
        std::vector<std::string> args =
            argsWith({"--all", "--output", "xlsx", "--overwrite", "yes", "--quiet",
                      "--result-folder", folder.string(), exportPath});
        if (oneWorkbook) {
            args.push_back("--one-workbook");
        }
        return testing::runCommand(QOR_QORSCAN_PATH, args, dir);
    }
    static std::map<std::string, std::string> workbooks(const fs::path& folder) {
        return testing::filesUnder(folder / "Node12_04Dec2026" / "Xls Files", false);
    }
    // Leaves about `bytes` free on the disk.
    void fill(std::uint64_t bytes) {
        struct statvfs state {};
        ASSERT_EQ(statvfs(disk.c_str(), &state), 0);
        const auto available = static_cast<std::uint64_t>(state.f_bavail) * state.f_frsize;
        ASSERT_GT(available, bytes);
        const int filler = ::open((disk / "filler").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(filler, 0);
        EXPECT_EQ(posix_fallocate(filler, 0, static_cast<off_t>(available - bytes)), 0);
        ::close(filler);
    }

    fs::path disk = dir.path() / "disk";
    std::string newExport = dir.file("new.qor");
    std::string oldExport = dir.file("old.qor");
    bool mounted_ = false;
};

TEST_F(WorkbooksOnAFullDisk, EachWorkbookLeftIsWholeAndAFailureNamesItsTypeAndFile) {
    int failures = 0;
    for (const bool oneWorkbook : {false, true}) {
        // The results of complete runs, on a roomy disk.
        const fs::path old = dir.path() / (oneWorkbook ? "old-one" : "old");
        const fs::path fresh = dir.path() / (oneWorkbook ? "new-one" : "new");
        ASSERT_EQ(scan(old, oldExport, oneWorkbook).exitCode, 0);
        ASSERT_EQ(scan(fresh, newExport, oneWorkbook).exitCode, 0);
        const auto earlier = workbooks(old);
        const auto written = workbooks(fresh);
        // From a temporary file that fails as it fills, through a sheet that loses rows while
        // it is packed, to room enough.
        for (int freeKiB = 256; freeKiB <= 3 * 1024; freeKiB += 256) {
            const fs::path onDisk = disk / "results";
            fs::remove_all(onDisk);
            fs::remove(disk / "filler");
            fs::copy(old, onDisk, fs::copy_options::recursive);
            fill(static_cast<std::uint64_t>(freeKiB) * 1024);
            const CommandResult run = scan(onDisk, newExport, oneWorkbook);
            const std::string at = std::to_string(freeKiB) + " KiB free" +
                                   (oneWorkbook ? ", one workbook: " : ": ") + run.err;
            std::vector<std::string> kept;
            for (const auto& [name, bytes] : workbooks(onDisk)) {
                if (bytes != written.at(name)) {
                    EXPECT_TRUE(bytes == earlier.at(name)) << name << " is no run's, " << at;
                    kept.push_back(name);
                }
            }
            EXPECT_EQ(run.exitCode, kept.empty() ? 0 : 1) << at;
            if (run.exitCode == 0) {
                continue;
            }
            ++failures;
            EXPECT_EQ(testing::lineCount(run.err), 1u) << at;
            // "The DAT(B) workbook '.../DATB_Node12_04Dec2026.xlsx'", a kept one.
            std::smatch named;
            ASSERT_TRUE(std::regex_search(run.err, named,
                                          std::regex("The (\\S*) ?workbook '[^']*/([^'/]+)'")))
                << at;
            const std::string type = std::regex_replace(named[1].str(), std::regex("[()]"), "");
            EXPECT_TRUE(std::count(kept.begin(), kept.end(), named[2].str()) == 1 &&
                        named[2].str().starts_with(type.empty() ? "Node12" : type + "_"))
                << at;
        }
    }
    EXPECT_GT(failures, 0) << "no fill level made a workbook fail: nothing was tested";
}
#endif

}  // namespace
}  // namespace qor
