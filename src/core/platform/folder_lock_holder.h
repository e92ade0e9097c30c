#pragma once

#include <string>
#include <string_view>

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

}  // namespace qor::platform
