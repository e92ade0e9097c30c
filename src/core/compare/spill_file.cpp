#include "core/compare/spill_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"

namespace qor::compare {

SpillFile::~SpillFile() = default;

void SpillFile::fail(const std::string& pattern, int error) const {
    throw QorError(fillIn(pattern, {folder_, std::generic_category().message(error)}));
}

void SpillFile::create() {
    if (folder_.empty()) {
        std::error_code ec;
        folder_ = platform::fromFsPath(std::filesystem::temp_directory_path(ec));
        if (ec) {
            throw QorError(fillIn(translate("Comparison", "No folder for temporary files: %1"),
                                  {ec.message()}));
        }
    }
    if (const int error = file_.create(folder_); error != 0) {
        fail(translate("Comparison", "Cannot create a temporary file in '%1': %2"), error);
    }
}

std::uint64_t SpillFile::append(std::string_view bytes) {
    if (!file_.isOpen()) {
        create();
    }
    const std::uint64_t start = size_;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const long long written = file_.writeAt(size_, data, left);
        if (written <= 0) {
            fail(
                translate("Comparison", "Cannot write the changes to a temporary file in '%1': %2"),
                written < 0 ? errno : ENOSPC);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
        size_ += static_cast<std::uint64_t>(written);
    }
    return start;
}

void SpillFile::read(std::uint64_t offset, std::size_t size, std::string& into) const {
    into.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const long long got = file_.readAt(offset + done, into.data() + done, size - done);
        if (got <= 0) {
            fail(translate("Comparison",
                           "Cannot read the changes back from a temporary file in '%1': %2"),
                 got < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(got);
    }
}

}  // namespace qor::compare
