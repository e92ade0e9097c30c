#pragma once

#include <cstddef>
#include <string>

#include "core/base/text_encoding.h"

namespace qor::scan {

// How much of an export its encoding is decided from when it is opened: enough for the node
// information and a good stretch of elements, little enough that opening a large export costs
// no full read. The scan's own pass learns the rest and tells when it disagrees.
inline constexpr std::size_t kEncodingPrefixBytes = std::size_t{16} << 20;

// What the first `limit` bytes (whole lines) of the export at `path` tell about its encoding.
// Nothing (plain ASCII) for an empty path. Throws QorError when the file cannot be read.
EncodingEvidence readEncodingEvidence(const std::string& path,
                                      std::size_t limit = kEncodingPrefixBytes);

}  // namespace qor::scan
