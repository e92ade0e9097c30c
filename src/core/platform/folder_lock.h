#pragma once

#include <chrono>
#include <memory>
#include <string>

class QLockFile;

namespace qor::platform {

// Keeps a second scan, from this program or another, out of a result folder while one scan
// writes it: a lock file inside the folder, released when the lock goes out of scope. A lock
// left behind by a process that no longer runs is taken over.
class FolderLock {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{3000};

    // Waits up to `wait` for the folder; throws QorError ("... is being written by another
    // scan") when it stays taken, or naming the cause when no lock file can be made there.
    explicit FolderLock(const std::string& folder, std::chrono::milliseconds wait = kDefaultWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    static constexpr const char* kLockFileName = ".qorscan.lock";

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace qor::platform
