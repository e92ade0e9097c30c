#pragma once

#include <optional>
#include <string>
#include <variant>

#include "cli/command_line.h"

// qorscan --check's options, apart from the option table that lists them.
namespace qor::cli {

extern const char* const kCheckHelp;
extern const char* const kSeverityHelp;
extern const char* const kDisableHelp;

// The values of --severity and --disable, checked: what is wrong with them, or nothing.
std::optional<std::string> readSeverity(const std::string& text, CommandLine& line);
std::optional<std::string> readDisabledCheck(const std::string& text, CommandLine& line);

// A check prints what it finds and writes nothing: the options of a scan's outputs, of a
// comparison and of a search are refused.
std::variant<CommandLine, UsageError> checkCheckLine(const CommandLine& line);
// The options that go with --check only, given without it: the first one's complaint.
std::optional<std::string> checkOnlyOptionWithout(const CommandLine& line);

}  // namespace qor::cli
