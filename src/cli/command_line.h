#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/base/date_time.h"
#include "core/options/search_options.h"
#include "core/scan/element_types.h"

namespace qor::cli {

enum class OverwriteAnswer { AskOnTerminal, Ask, Yes, No };

struct EnableRequest {
    scan::ElementType type;
    std::vector<std::size_t> boxes;  // parameter boxes from 0; empty means every box
};

struct CommandLine {
    std::optional<std::string> settingsFile;
    std::optional<options::OutputMode> output;
    bool oneWorkbook = false;
    bool csvRaw = false;  // CSV values exactly as read, formula starts too
    bool enableAll = false;
    std::vector<EnableRequest> enables;
    std::optional<std::string> cabinetsFile;
    std::optional<std::string> resultFolder;
    std::optional<DateTime> now;
    OverwriteAnswer overwrite = OverwriteAnswer::AskOnTerminal;
    bool saveStatistics = false;
    bool infoOnly = false;
    bool quiet = false;
    std::optional<std::size_t> threads;          // parsing threads per export
    std::optional<std::size_t> jobs;             // exports scanned at once
    bool compare = false;                        // compare files[0] (old) with files[1] (new)
    bool exitCode = false;                       // with compare: exit 1 when they differ
    bool breakLock = false;                      // take over a node folder lock of another computer
    std::optional<EncodingChoice> encoding;      // --encoding: auto (nothing inside) or one
    std::optional<std::string> find;             // --find PATTERN: print the matching elements
    std::vector<scan::ElementType> findTypes;    // with find: only these types (none: all)
    bool findCsv = false;                        // with find or check: --format csv
    bool recursive = false;                      // with find or check: folders with subfolders
    bool check = false;                          // --check: print what the checks find
    bool formatJson = false;                     // with check: --format json
    std::optional<std::string> minimumSeverity;  // with check: error, warning or note
    std::vector<std::string> disabledChecks;     // with check: the checks left out
    bool help = false;
    bool version = false;
    std::vector<std::string> files;
};

struct UsageError {
    std::string message;
};

// The arguments after the program's name as qorscan's options and export files, or the one
// thing wrong with them. Arguments are bytes, and file names come back byte for byte; an option's
// value follows it or its '=' ("--output csv", "--output=csv"); of a repeated option's values the
// last counts, each one checked. --help and --version skip the checks of combinations.
std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& arguments);

// The text of --help, its options as parseCommandLine knows them.
std::string usageText();

}  // namespace qor::cli
