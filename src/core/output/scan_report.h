#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "core/platform/folder_handle.h"
#include "core/scan/element_types.h"

namespace qor::output {

// What a scan did: where it wrote and how many elements of each type.
struct ScanReport {
    std::string resultFolder;  // <scan result folder>/Node<node>_<date>
    std::string outputFolder;  // its "Html Files", "Csv Files" or "Xls Files", or itself
    // The scan result folder as the scan opened it and the node folder's name in it: the
    // statistics file is written there, never through a link put in meanwhile.
    platform::FolderHandle scanResultFolder;
    std::string nodeFolderName;
    // Elements written per type, in type order; none for a type the scan did not write
    // (disabled, or its result kept at the user's word).
    std::array<std::optional<long long>, scan::kElementTypeCount> written{};
    int typesWritten = 0;  // the types this scan wrote (the counts above may be older ones)
    // The types whose existing results the user chose to keep: this scan did not read them.
    std::array<bool, scan::kElementTypeCount> kept{};
    bool cancelled = false;
    // From the start of the scan to its end, less the time its questions and messages waited
    // for the person: the work's time.
    std::chrono::milliseconds elapsed{0};

    std::optional<long long> writtenOf(scan::ElementType type) const {
        return written[scan::indexOf(type)];
    }
    bool keptOf(scan::ElementType type) const { return kept[scan::indexOf(type)]; }
};

}  // namespace qor::output
