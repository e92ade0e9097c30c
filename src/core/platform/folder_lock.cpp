#include "core/platform/folder_lock.h"

#include <QLockFile>
#include <QString>

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"

namespace qor::platform {

FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds wait)
    : lock_(std::make_unique<QLockFile>(QString::fromStdString(joinPath(folder, kLockFileName)))) {
    // A scan may run for minutes: only a lock whose process is gone counts as stale.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(static_cast<int>(wait.count()))) {
        return;
    }
    switch (lock_->error()) {
        case QLockFile::LockFailedError:
            throw QorError(fillIn(
                translate("ResultFolder", "'%1' is being written by another scan"), {folder}));
        case QLockFile::PermissionError:
            throw QorError(
                fillIn(translate("ResultFolder", "Cannot lock '%1': permission denied"), {folder}));
        default:
            throw QorError(fillIn(translate("ResultFolder", "Cannot lock '%1'"), {folder}));
    }
}

FolderLock::~FolderLock() = default;

}  // namespace qor::platform
