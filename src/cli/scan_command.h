#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "core/options/cabinet_table.h"

namespace qor::cli {

enum ExitStatus {
    kExitDone = 0,
    kExitScanError = 1,
    kExitUsage = 2,
    kExitNothingEnabled = 3,
    kExitSignalBase = 128,  // plus the number of the signal that stopped the run
};

// Follows the error of a node folder locked by another computer's scan.
inline constexpr const char* kBreakLockHint =
    "; when no scan runs there any more, --break-lock takes the lock over";

class TerminalUi;

// The file of --cabinets, read before anything is made: a file that cannot be read (mistyped,
// a folder, too large) or a line that is no cabinet and module stops the run as a bad argument
// rather than unlabelling or mislabelling the results. Nothing, said on the terminal, then. A
// heading line is skipped and, with `noteLines`, pointed out, as is a module given a second
// cabinet.
std::optional<options::CabinetFile> readCabinetFileOrSayWhy(const std::string& path, TerminalUi& ui,
                                                            bool noteLines = true);

// Runs qorscan for a parsed command line, its messages going to `messages`; returns the exit
// status.
int runScanCommand(const CommandLine& line, std::FILE* messages);

}  // namespace qor::cli
