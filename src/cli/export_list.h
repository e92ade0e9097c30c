#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/terminal_ui.h"

namespace qor::cli {

// The exports of --find and --check: the files named, and the exports of the folders named
// (with --recursive their subfolders' too). A named file that is no export is an error; one
// found in a folder only gets a note. A folder that cannot be read is said as an error.
struct ExportList {
    std::vector<std::string> named;  // sorted
    std::vector<std::string> all;    // named and found, sorted, each once
};
ExportList exportListOf(const CommandLine& line, TerminalUi& ui);

// Whether `path` was named on the command line rather than found in a folder.
bool isNamed(const ExportList& list, const std::string& path);

}  // namespace qor::cli
