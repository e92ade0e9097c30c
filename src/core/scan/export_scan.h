#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/base/user_interface.h"
#include "core/platform/input_file.h"
#include "core/scan/line_ceiling.h"

namespace qor::scan {

// How much of an export the reader holds at once. Memory stays under about
// lineCeiling + bufferBytes whatever the file holds.
struct ReadLimits {
    std::size_t bufferBytes = std::size_t{1} << 18;
    std::size_t lineCeiling = kLineCeilingBytes;
};

// One scan of an export file, shared by its passes (node counts, one read per type). It keeps
// the file's identity from when the scan began, so that every pass can tell that the file
// changed under it, and the number of lines the passes had to cut.
class ExportScan {
public:
    explicit ExportScan(std::string path, ReadLimits limits = {});

    const std::string& path() const { return path_; }
    const ReadLimits& limits() const { return limits_; }
    // Nothing when the file could not be looked at when the scan began: a pass that opens it
    // later finds it changed.
    const std::optional<platform::FileIdentity>& identity() const { return identity_; }

    // Every pass that reads the whole file cuts the same lines; passes that stop early cut
    // fewer. The most any pass cut is the file's count.
    void noteCutLines(long long count);
    long long cutLines() const { return cutLines_; }
    // One information message when any line was cut.
    void reportCutLines(UserInterface& ui) const;

private:
    std::string path_;
    ReadLimits limits_;
    std::optional<platform::FileIdentity> identity_;
    long long cutLines_ = 0;
};

}  // namespace qor::scan
