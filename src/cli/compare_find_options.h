#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <variant>

#include "cli/command_line.h"

// Which options go with qorscan --compare and --find, apart from the option table that lists
// them.
namespace qor::cli {

// Given options that do not go with `mode` ("--find"): the first one's complaint, or nothing.
using RefusedOption = std::pair<bool, const char*>;
std::optional<UsageError> firstRefused(std::span<const RefusedOption> refused,
                                       std::string_view mode);

// A comparison takes two exports and writes its own two files: the options that choose a scan's
// output or run several scans are refused rather than ignored.
std::variant<CommandLine, UsageError> checkCompareLine(const CommandLine& line);
// A search prints what it finds and writes nothing: the options of a scan's outputs are refused.
std::variant<CommandLine, UsageError> checkFindLine(const CommandLine& line);

}  // namespace qor::cli
