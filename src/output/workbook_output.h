#pragma once

#include <memory>

#include "output/scan_output.h"

namespace qor::output {

// Excel workbooks: one per element type, or one with a sheet per type.
std::unique_ptr<ScanOutput> makeWorkbookOutput(Session& session, UserInterface& ui);

}  // namespace qor::output
