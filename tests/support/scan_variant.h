#pragma once

#include <cstdlib>
#include <string>

#include "core/output/scan_run.h"

namespace qor::testing {

// The end-to-end suites run once per scan variant under ctest: QOR_TEST_SCAN="THREADS:CHUNK"
// sets the parsing threads and the chunk size in bytes (tiny chunks put a chunk boundary after
// every element), and the results must not change. Unset: the program's defaults.
struct ScanVariant {
    std::size_t threads = 0;
    std::size_t chunkBytes = 0;
};

inline ScanVariant scanVariant() {
    ScanVariant variant;
    if (const char* text = std::getenv("QOR_TEST_SCAN")) {
        const std::string value = text;
        const std::size_t colon = value.find(':');
        variant.threads = std::stoul(value.substr(0, colon));
        if (colon != std::string::npos) {
            variant.chunkBytes = std::stoul(value.substr(colon + 1));
        }
    }
    return variant;
}

inline output::ScanEnvironment scanEnvironment(const Clock& clock) {
    const ScanVariant variant = scanVariant();
    return {clock, variant.threads, variant.chunkBytes};
}

// qorscan's options for the variant (it has no chunk size option).
inline std::vector<std::string> qorscanVariantArguments() {
    const ScanVariant variant = scanVariant();
    if (variant.threads == 0) {
        return {};
    }
    return {"--threads", std::to_string(variant.threads)};
}

}  // namespace qor::testing
