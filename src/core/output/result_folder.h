#pragma once

#include <string>
#include <string_view>

#include "core/base/date_time.h"
#include "core/options/search_options.h"
#include "core/output/session.h"

namespace qor::output {

// "Html Files", "Csv Files" or "Xls Files"; empty when no output is chosen.
std::string_view outputSubfolderName(options::OutputMode mode);

// Sets the result folder (<scan result folder>/Node<node>_<today>) and the output folder
// (its subfolder for the chosen output), creating each when missing and taking the path the
// file system reports when it exists. Throws QorError naming the folder that cannot be used:
// everything a scan writes depends on it, so nothing else is tried.
void createResultFolders(Session& session, const Clock& clock);

}  // namespace qor::output
