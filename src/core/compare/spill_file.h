#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/platform/unnamed_file.h"

namespace qor::compare {

// A scratch file without a name for bytes that need not stay in memory: created on the first
// append in `folder` (the system's temporary folder when empty) and gone when this object
// is, or when the program ends however it ends (Linux: an unnamed file; elsewhere a file
// removed at once, or deleted by the system when closed). Appends come from one thread; reads
// may follow from another once the appends are done, one thread at a time.
class SpillFile {
public:
    explicit SpillFile(std::string folder = {}) : folder_(std::move(folder)) {}
    ~SpillFile();
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;

    // Writes `bytes` at the end; returns where they start. Throws QorError naming the folder
    // when the file cannot be made or written (a full disk).
    std::uint64_t append(std::string_view bytes);
    // The `size` bytes at `offset`, into `into`. Throws QorError when they cannot be read.
    void read(std::uint64_t offset, std::size_t size, std::string& into) const;

private:
    void create();
    // Throws `pattern` filled with the folder (%1) and the reason of `error` (%2).
    [[noreturn]] void fail(const std::string& pattern, int error) const;

    std::string folder_;
    platform::UnnamedFile file_;
    std::uint64_t size_ = 0;
};

}  // namespace qor::compare
