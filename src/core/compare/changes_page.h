#pragma once

#include <string>

#include "core/compare/export_comparison.h"
#include "core/platform/result_file.h"

namespace qor::compare {

// What the page says about where its changes come from.
struct ChangesPageHeading {
    std::string oldPath;
    std::string newPath;
    std::string comparedAt;  // "04-Dec-2026 10:11:12"
};

// The changes as one self-contained HTML page (inline style, no script, no other file): the
// two exports and their node information, a summary table per type, then the changes grouped
// by type with old and new values side by side and what differs highlighted. Readable printed.
void writeChangesPage(const Comparison& comparison, const ChangesPageHeading& heading,
                      platform::ResultFile& file);

}  // namespace qor::compare
