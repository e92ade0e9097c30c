#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace qor::platform {

// What tells one state of a file from another: a file replaced, grown, cut or written over
// shows a different identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;  // 0 where the system has none
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` as it is now, without opening it; nothing when it cannot
// be looked at or is not a regular file.
std::optional<FileIdentity> identityOf(const std::string& path);

// Throws QorError when `path` names a pipe, device or socket, without opening it: opening one
// for reading can wait for ever. Missing files, folders and regular files pass.
void refuseSpecialFile(const std::string& path, std::string_view noun);

// A regular file opened for reading. Opening never waits: anything but a regular file is
// refused with the path and what it is. `noun` names the file in messages ("database file").
class InputFile {
public:
    // Throws QorError naming the file and the cause.
    InputFile(const std::string& path, std::string_view noun);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `size` bytes; 0 only at the end of the file. Throws QorError on a read error.
    std::size_t read(char* data, std::size_t size);
    // The identity of the open file as it is now. Throws QorError when it cannot be taken.
    FileIdentity identity() const;
    // Whether its path still leads to this file: not removed, nor replaced by a rename, which
    // the open file itself does not show.
    bool stillAtPath() const;

private:
    [[noreturn]] void fail(const std::string& what, int error) const;
#ifdef _WIN32
    [[noreturn]] void failWindows(const std::string& what, unsigned long error) const;
#endif

    std::string path_;
    std::string noun_;
#ifdef _WIN32
    void* handle_ = nullptr;  // a HANDLE
    std::uint64_t offset_ = 0;
#else
    int fd_ = -1;
#endif
};

}  // namespace qor::platform
