#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/platform/folder_lock.h"

// The words in a folder's lock file, "<process number>\n<program>\n<computer>\n", for the
// system-specific halves of the folder lock.
namespace qor::platform {

struct LockHolder {
    long process = 0;
    std::string host;
    bool readable = false;  // an empty or garbled file names no one
};

LockHolder parseLockHolder(std::string_view text);
std::string lockHolderText(long process, std::string_view host);

// The end of a wait that the lock outlasted: the holder on another computer when one was seen
// (`foreign`), else "... is being written by another scan".
[[noreturn]] void stopWaitingFor(const FolderHandle& folder,
                                 const std::optional<FolderLockedElsewhere>& foreign);

}  // namespace qor::platform
