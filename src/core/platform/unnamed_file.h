#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file without a name for scratch bytes, in a folder of the caller's choice: gone when it is
// closed or when the program ends however it ends (Linux: an unnamed file; elsewhere a file
// removed at once, or one the system deletes when it is closed). Reads and writes name their
// position, so that they need no seek in between.
namespace qor::platform {

class UnnamedFile {
public:
    UnnamedFile() = default;
    ~UnnamedFile();
    UnnamedFile(const UnnamedFile&) = delete;
    UnnamedFile& operator=(const UnnamedFile&) = delete;

    // Makes the file in `folder`; returns 0 or the system's error number (errno).
    int create(const std::string& folder);
    bool isOpen() const { return descriptor_ >= 0; }

    // Writes up to `size` bytes at `offset`; returns how many (0 for a full disk), or -1 with
    // errno set. Interrupted calls are tried again.
    long long writeAt(std::uint64_t offset, const char* data, std::size_t size);
    // Reads up to `size` bytes at `offset`; returns how many (0 at the end), or -1 with errno.
    long long readAt(std::uint64_t offset, char* into, std::size_t size) const;

private:
    int descriptor_ = -1;
};

}  // namespace qor::platform
