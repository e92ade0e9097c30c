#include "cli/check_options.h"

#include <utility>

#include "cli/compare_find_options.h"
#include "core/base/message_text.h"
#include "core/checks/check.h"

namespace qor::cli {
namespace {

std::string knownChecks() {
    std::string known;
    for (const checks::Check* check : checks::checkRegistry()) {
        known += (known.empty() ? "" : ", ") + std::string(check->id);
    }
    return known;
}

}  // namespace

const char* const kCheckHelp =
    "check the FILEs (and the *.qor files of a DIR given, as one plant) for mistakes and print "
    "each finding as FILE:LINE: SEVERITY: ID: MESSAGE, LINE being the element's header line "
    "(for the cabinet-module table's findings its file's line, or 0 for the stored table). The "
    "checks: duplicate-designation, duplicate-name, range-inverted and module-two-cabinets "
    "(errors), duplicate-name-plant, range-not-number, empty-name and module-unlabelled "
    "(warnings), empty-descr, value-cut and cabinet-row-unused (notes); the cabinet checks use "
    "--cabinets FILE, or the stored table when its labels are applied. Exit status 0 when "
    "nothing at or above --severity was found, 1 when something was, 2 on an error (a file that "
    "cannot be read or, when named, is no export). Goes with --severity, --disable, --format, "
    "--recursive, --jobs, --cabinets, --encoding, --settings, --csv-raw, --quiet";
const char* const kSeverityHelp =
    "with --check: only findings of this severity or a graver one (default: note, all)";
const char* const kDisableHelp = "with --check: leave out the check ID; repeatable";

std::optional<std::string> readSeverity(const std::string& text, CommandLine& line) {
    if (!checks::severityNamed(text)) {
        return "--severity takes error, warning or note, not " + quotedExcerpt(text);
    }
    line.minimumSeverity = text;
    return std::nullopt;
}

std::optional<std::string> readDisabledCheck(const std::string& text, CommandLine& line) {
    if (!checks::checkNamed(text)) {
        return "--disable takes a check (" + knownChecks() + "), not " + quotedExcerpt(text);
    }
    line.disabledChecks.push_back(text);
    return std::nullopt;
}

std::variant<CommandLine, UsageError> checkCheckLine(const CommandLine& line) {
    const RefusedOption refused[] = {
        {line.output.has_value(), "--output"},
        {line.oneWorkbook, "--one-workbook"},
        {line.saveStatistics, "--statistics"},
        {line.infoOnly, "--info"},
        {line.enableAll, "--all"},
        {!line.enables.empty(), "--enable"},
        {line.resultFolder.has_value(), "--result-folder"},
        {line.now.has_value(), "--now"},
        {line.overwrite != OverwriteAnswer::AskOnTerminal, "--overwrite"},
        {line.breakLock, "--break-lock"},
        {line.exitCode, "--exit-code"},
        {line.threads.has_value(), "--threads"},
        {line.compare, "--compare"},
        {line.find.has_value(), "--find"},
        {!line.findTypes.empty(), "--type"}};
    if (auto error = firstRefused(refused, "--check")) {
        return *error;
    }
    if (line.csvRaw && !line.findCsv) {
        return UsageError{"--csv-raw goes with --format csv only"};
    }
    if (line.files.empty()) {
        return UsageError{"--check needs export files or folders to check"};
    }
    return line;
}

std::optional<std::string> checkOnlyOptionWithout(const CommandLine& line) {
    const std::pair<bool, const char*> checkOnly[] = {
        {line.minimumSeverity.has_value(), "--severity"},
        {!line.disabledChecks.empty(), "--disable"},
        {line.formatJson, "--format json"}};
    for (const auto& [given, option] : checkOnly) {
        if (given) {
            return std::string(option) + " goes with --check only";
        }
    }
    return std::nullopt;
}

}  // namespace qor::cli
