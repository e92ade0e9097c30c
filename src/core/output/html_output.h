#pragma once

#include <memory>

#include "core/output/scan_output.h"

namespace qor::output {

// The framed HTML report: one element page per type, then index, frameset and empty page.
std::unique_ptr<ScanOutput> makeHtmlOutput(Session& session, UserInterface& ui);

}  // namespace qor::output
