#pragma once

#include <memory>

#include "core/output/scan_output.h"

namespace qor::output {

// The framed HTML report: one element page per type, then index, frameset and empty page.
std::unique_ptr<ScanOutput> makeHtmlOutput(const Session& session,
                                           const platform::FolderHandle& folder, UserInterface& ui);

}  // namespace qor::output
