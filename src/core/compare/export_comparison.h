#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/compare/change_list.h"
#include "core/compare/compare_monitor.h"
#include "core/compare/compare_selection.h"
#include "core/scan/node_info.h"
#include "core/scan/parallel_pass.h"

namespace qor::compare {

// One export of a comparison: its path, its node information (scan::readNodeInfo) and how its
// text is read.
struct ExportSide {
    std::string path;
    scan::NodeInfo node;
    ExportEncoding encoding;
};

struct CompareRequest {
    ExportSide oldExport;
    ExportSide newExport;
    CompareSelection selection;
    scan::PassSettings pass;  // threads and chunk size of each export's reading
    ChangeStorage changeStorage;
};

// Elements of one type.
struct TypeCounts {
    long long added = 0;
    long long removed = 0;
    long long changed = 0;
    long long unchanged = 0;
};

struct Comparison {
    scan::NodeInfo oldNode;
    scan::NodeInfo newNode;
    ExportEncoding oldEncoding;  // the old values are read so, the new ones so
    ExportEncoding newEncoding;
    std::array<bool, scan::kElementTypeCount> compared{};  // by scan::indexOf
    std::array<TypeCounts, scan::kElementTypeCount> counts{};
    ChangeList changes;
    long long oldCutLines = 0;  // lines over the line ceiling, cut as a scan cuts them
    long long newCutLines = 0;

    bool differs() const { return !changes.empty(); }
    const TypeCounts& countsOf(scan::ElementType type) const { return counts[scan::indexOf(type)]; }
};

// Compares two exports, each read once with a scan's rules: the old one is indexed, the new one
// streamed past it. Elements pair by type and item designation, the k-th of a designation in
// the old export with the k-th in the new one. Throws QorError when an export cannot be read or
// changes while it is read or the changes cannot be kept, and CompareCancelled when the monitor
// asks to stop; nothing is kept then. Runs on any thread: it touches nothing but its arguments.
Comparison compareExports(const CompareRequest& request, CompareMonitor& monitor);

}  // namespace qor::compare
