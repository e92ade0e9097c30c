#include "core/services/single_instance.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace qor::services {
namespace {

using qor::testing::readFile;
using qor::testing::TempDir;

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    TempDir dir;
    auto first = std::make_unique<SingleInstance>(dir.str());
    ASSERT_TRUE(first->acquire());
    EXPECT_TRUE(first->acquire()) << "asking again keeps the own lock";
    const std::string lockFile = first->lockFilePath();

    SingleInstance second(dir.str());
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.held());
    EXPECT_EQ(alreadyRunningText(), ".QOR Reader is already running");
    SingleInstance otherProgram(dir.str(), "otherprogram");
    EXPECT_TRUE(otherProgram.acquire()) << "each program has its own lock";

    first.reset();
    EXPECT_FALSE(std::filesystem::exists(lockFile)) << "released when the first copy ends";
    EXPECT_TRUE(second.acquire());
    EXPECT_TRUE(second.held());

    // Where no lock can be made at all, the program still starts.
    SingleInstance nowhere(dir.write("plain-file", "x") + "/runtime");
    EXPECT_TRUE(nowhere.acquire());
    EXPECT_FALSE(nowhere.held());
}

// The path and the content of the lock file a copy of the program writes in `dir`; the lock
// is let go again.
std::pair<std::string, std::string> lockAsWritten(const TempDir& dir) {
    SingleInstance probe(dir.str());
    EXPECT_TRUE(probe.acquire());
    return {probe.lockFilePath(), readFile(probe.lockFilePath())};
}

#ifndef _WIN32
TEST(SingleInstance, LockOfEndedProcessIsTakenOverButOldLiveOneIsNot) {
    TempDir dir;
    const auto [lockFile, content] = lockAsWritten(dir);
    // The lock file starts with the holder's process ID on a line of its own.
    const std::string ownPid = std::to_string(getpid());
    ASSERT_EQ(content.substr(0, content.find('\n')), ownPid);
    const std::string name = std::filesystem::path(lockFile).filename().string();

    // A live holder stays the holder however old its lock: a first copy may run for days.
    dir.write(name, content);
    std::filesystem::last_write_time(
        lockFile, std::filesystem::file_time_type::clock::now() - std::chrono::hours(72));
    EXPECT_FALSE(SingleInstance(dir.str()).acquire());

    const pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) {
        _exit(0);
    }
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    dir.write(name, std::to_string(ended) + content.substr(ownPid.size()));

    SingleInstance next(dir.str());
    EXPECT_TRUE(next.acquire());
    EXPECT_TRUE(next.held());
    EXPECT_EQ(readFile(lockFile).rfind(ownPid + "\n", 0), 0u);
}
#else
TEST(SingleInstance, ALockLeftUnderThisProcessIdIsTakenOverButALiveOneIsNot) {
    TempDir dir;
    const auto [lockFile, content] = lockAsWritten(dir);
    // Left by an ended process that had this process's ID, as wine hands them out again.
    dir.write(std::filesystem::path(lockFile).filename().string(), content);
    SingleInstance next(dir.str());
    EXPECT_TRUE(next.acquire());
    EXPECT_TRUE(next.held());
    EXPECT_FALSE(SingleInstance(dir.str()).acquire()) << "the live lock names this process too";
}
#endif

}  // namespace
}  // namespace qor::services
