#include "cli/compare_find_options.h"

#include <string>
#include <utility>

namespace qor::cli {

std::optional<UsageError> firstRefused(std::span<const RefusedOption> refused,
                                       std::string_view mode) {
    for (const auto& [given, option] : refused) {
        if (given) {
            return UsageError{std::string(option) + " does not go with " + std::string(mode)};
        }
    }
    return std::nullopt;
}

std::variant<CommandLine, UsageError> checkCompareLine(const CommandLine& line) {
    const RefusedOption refused[] = {
        {line.output.has_value(), "--output"}, {line.oneWorkbook, "--one-workbook"},
        {line.saveStatistics, "--statistics"}, {line.infoOnly, "--info"},
        {line.jobs.has_value(), "--jobs"},     {line.cabinetsFile.has_value(), "--cabinets"}};
    if (auto error = firstRefused(refused, "--compare")) {
        return *error;
    }
    if (line.find) {
        return UsageError{"--find does not go with --compare"};
    }
    if (line.files.size() != 2) {
        return UsageError{"--compare takes exactly two export files, OLD and NEW (" +
                          std::to_string(line.files.size()) + " given)"};
    }
    return line;
}

std::variant<CommandLine, UsageError> checkFindLine(const CommandLine& line) {
    const RefusedOption refused[] = {
        {line.output.has_value(), "--output"},
        {line.oneWorkbook, "--one-workbook"},
        {line.saveStatistics, "--statistics"},
        {line.infoOnly, "--info"},
        {line.enableAll, "--all"},
        {!line.enables.empty(), "--enable"},
        {line.cabinetsFile.has_value(), "--cabinets"},
        {line.resultFolder.has_value(), "--result-folder"},
        {line.now.has_value(), "--now"},
        {line.overwrite != OverwriteAnswer::AskOnTerminal, "--overwrite"},
        {line.breakLock, "--break-lock"},
        {line.exitCode, "--exit-code"},
        {line.threads.has_value(), "--threads"}};
    if (auto error = firstRefused(refused, "--find")) {
        return *error;
    }
    if (line.csvRaw && !line.findCsv) {
        return UsageError{"--csv-raw goes with --format csv only"};
    }
    if (line.files.empty()) {
        return UsageError{"--find needs export files or folders to search"};
    }
    return line;
}

}  // namespace qor::cli
