#include "core/scan/export_scan.h"

#include <algorithm>

namespace qor::scan {

ExportScan::ExportScan(std::string path, ReadLimits limits)
    : path_(std::move(path)), limits_(limits), identity_(platform::identityOf(path_)) {}

void ExportScan::noteCutLines(long long count) {
    cutLines_ = std::max(cutLines_, count);
}

void ExportScan::reportCutLines(UserInterface& ui) const {
    scan::reportCutLines(ui, path_, cutLines_, limits_.lineCeiling);
}

}  // namespace qor::scan
