#include "cli/command_line.h"

#include <utility>

#include "core/base/message_text.h"
#include "core/scan/text_rules.h"

namespace qor::cli {
namespace {

std::optional<options::OutputMode> outputModeByName(std::string_view name) {
    if (scan::equalsNoCase(name, "csv")) {
        return options::OutputMode::CsvFilesOnly;
    }
    if (scan::equalsNoCase(name, "html")) {
        return options::OutputMode::HtmlReport;
    }
    if (scan::equalsNoCase(name, "xlsx")) {
        return options::OutputMode::ExcelFilesOnly;
    }
    return std::nullopt;
}

std::optional<OverwriteAnswer> overwriteByName(std::string_view name) {
    if (name == "ask") {
        return OverwriteAnswer::Ask;
    }
    if (name == "yes") {
        return OverwriteAnswer::Yes;
    }
    if (name == "no") {
        return OverwriteAnswer::No;
    }
    return std::nullopt;
}

// A count of threads or exports: 1 to 256.
std::optional<std::size_t> countByText(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int value = std::stoi(text);
    if (value < 1 || value > 256) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(value);
}

// TYPE or TYPE:P1,P2,... ; the type's name may also be written without parentheses (DATB).
std::variant<EnableRequest, UsageError> parseEnable(std::string_view text) {
    // DAT(B) holds no colon, so the first colon separates the parameters.
    const std::size_t colon = text.find(':');
    const std::string_view typeName = text.substr(0, colon);
    const auto type = scan::elementTypeByName(typeName);
    if (!type) {
        return UsageError{"unknown element type " + quotedExcerpt(typeName) +
                          " (use AI, AIC, AO, AOC, DI, DIC, DO, DOC, PIDCON, MOTCON, DAT(B), "
                          "DAT(I), DAT(IL) or DAT(R))"};
    }
    EnableRequest request{*type, {}};
    if (colon == std::string_view::npos) {
        return request;
    }
    const auto& parameters = scan::elementType(*type).parameters;
    std::string_view list = text.substr(colon + 1);
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        std::size_t box = 0;
        while (box < parameters.size() && !scan::equalsNoCase(parameters[box], name)) {
            ++box;
        }
        if (box == parameters.size()) {
            std::string known;
            for (const auto& parameter : parameters) {
                known += (known.empty() ? "" : ", ") + std::string(parameter);
            }
            return UsageError{quotedExcerpt(name) + " is not a parameter of " +
                              std::string(scan::elementType(*type).name) +
                              " (its parameters: " + known + ")"};
        }
        request.boxes.push_back(box);
        if (comma == std::string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
    }
    return request;
}

// A comparison takes two exports and writes its own two files: the options that choose a scan's
// output or run several scans make no sense with it and are refused rather than ignored.
std::variant<CommandLine, UsageError> checkCompare(const CommandLine& line) {
    const std::pair<bool, const char*> refused[] = {
        {line.output.has_value(), "--output"}, {line.oneWorkbook, "--one-workbook"},
        {line.saveStatistics, "--statistics"}, {line.infoOnly, "--info"},
        {line.jobs.has_value(), "--jobs"},     {line.cabinetsFile.has_value(), "--cabinets"}};
    for (const auto& [given, option] : refused) {
        if (given) {
            return UsageError{std::string(option) + " does not go with --compare"};
        }
    }
    if (line.files.size() != 2) {
        return UsageError{"--compare takes exactly two export files, OLD and NEW (" +
                          std::to_string(line.files.size()) + " given)"};
    }
    return line;
}

}  // namespace

std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&](std::string& out) -> bool {
            if (i + 1 >= arguments.size()) {
                return false;
            }
            out = arguments[++i];
            return true;
        };
        std::string text;
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--all") {
            line.enableAll = true;
        } else if (argument == "--one-workbook") {
            line.oneWorkbook = true;
        } else if (argument == "--statistics") {
            line.saveStatistics = true;
        } else if (argument == "--info") {
            line.infoOnly = true;
        } else if (argument == "--quiet" || argument == "-q") {
            line.quiet = true;
        } else if (argument == "--compare") {
            line.compare = true;
        } else if (argument == "--exit-code") {
            line.exitCode = true;
        } else if (argument == "--csv-raw") {
            line.csvRaw = true;
        } else if (argument == "--break-lock") {
            line.breakLock = true;
        } else if (argument == "--settings" || argument == "--cabinets" ||
                   argument == "--result-folder" || argument == "--output" ||
                   argument == "--enable" || argument == "--now" || argument == "--overwrite" ||
                   argument == "--threads" || argument == "--jobs" || argument == "--encoding") {
            if (!value(text)) {
                return UsageError{argument + " needs a value"};
            }
            if (argument == "--settings") {
                if (text.empty()) {
                    return UsageError{"--settings needs a file, not an empty text"};
                }
                line.settingsFile = text;
            } else if (argument == "--cabinets") {
                line.cabinetsFile = text;
            } else if (argument == "--result-folder") {
                if (text.empty()) {
                    return UsageError{"--result-folder needs a folder, not an empty text"};
                }
                line.resultFolder = text;
            } else if (argument == "--output") {
                line.output = outputModeByName(text);
                if (!line.output) {
                    return UsageError{"--output takes csv, html or xlsx, not " +
                                      quotedExcerpt(text)};
                }
            } else if (argument == "--enable") {
                auto request = parseEnable(text);
                if (auto* error = std::get_if<UsageError>(&request)) {
                    return *error;
                }
                line.enables.push_back(std::get<EnableRequest>(request));
            } else if (argument == "--threads" || argument == "--jobs") {
                const auto count = countByText(text);
                if (!count) {
                    return UsageError{argument + " takes a number from 1 to 256, not " +
                                      quotedExcerpt(text)};
                }
                (argument == "--threads" ? line.threads : line.jobs) = *count;
            } else if (argument == "--encoding") {
                line.encoding = encodingNamed(text);
                if (!*line.encoding && text != "auto") {
                    return UsageError{
                        "--encoding takes auto, utf-8, windows-1250, windows-1252 or "
                        "iso-8859-1, not " +
                        quotedExcerpt(text)};
                }
            } else if (argument == "--now") {
                line.now = parseIsoDateTime(text);
                if (!line.now) {
                    return UsageError{"--now takes YYYY-MM-DDTHH:MM:SS, not " +
                                      quotedExcerpt(text)};
                }
            } else {
                const auto answer = overwriteByName(text);
                if (!answer) {
                    return UsageError{"--overwrite takes ask, yes or no, not " +
                                      quotedExcerpt(text)};
                }
                line.overwrite = *answer;
            }
        } else if (argument == "--") {
            line.files.insert(line.files.end(), arguments.begin() + static_cast<long>(i) + 1,
                              arguments.end());
            break;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return UsageError{"unknown option " + quotedExcerpt(argument)};
        } else {
            line.files.push_back(argument);
        }
    }
    if (line.help || line.version) {
        return line;
    }
    if (line.compare) {
        return checkCompare(line);
    }
    if (line.exitCode) {
        return UsageError{"--exit-code goes with --compare only"};
    }
    if (line.files.empty()) {
        return UsageError{"no export file given"};
    }
    if (line.oneWorkbook && line.output && *line.output != options::OutputMode::ExcelFilesOnly) {
        return UsageError{"--one-workbook goes with --output xlsx only"};
    }
    if (line.csvRaw && line.output && *line.output != options::OutputMode::CsvFilesOnly) {
        return UsageError{"--csv-raw goes with --output csv only"};
    }
    return line;
}

std::string usageText() {
    return R"(Usage: qorscan [options] FILE...
       qorscan --compare [options] OLD.qor NEW.qor
Scans node database export files (*.qor) for their elements and writes the selected
parameters into a result folder per node and day, as the QOR Reader desktop app does,
with the same settings. With --compare, writes what changed from OLD to NEW instead.

Options:
  --settings INI            use INI (Qt's INI format) as the settings store instead of the
                            per-user store
  --output csv|html|xlsx    override the stored output choice
  --one-workbook            with --output xlsx: one workbook with a sheet per element type
  --csv-raw                 write CSV values exactly as read: no apostrophe before a value
                            that a spreadsheet would take for a formula (for scripts)
  --encoding auto|utf-8|windows-1250|windows-1252|iso-8859-1
                            how the export's text is read (default: the stored choice;
                            auto: UTF-8 when it is valid UTF-8, otherwise Windows-1250)
  --all                     enable every element type with every parameter
  --enable TYPE[:P1,P2,...] enable TYPE (AI, AIC, AO, AOC, DI, DIC, DO, DOC, PIDCON, MOTCON,
                            DAT(B), DAT(I), DAT(IL), DAT(R)) with those parameters (all when
                            none given); repeatable. With --all or --enable only the types
                            named are scanned in this run.
  --cabinets FILE           import a cabinet-module table from FILE and apply the labels
  --result-folder DIR       override the scan result folder
  --now YYYY-MM-DDTHH:MM:SS fix the clock used for date stamps and the statistics file
  --overwrite ask|yes|no    answer to every "already exists" question
                            (default: ask on a terminal, no otherwise)
  --statistics              also save the statistics file in the result folder
  --info                    print node number, node description and generation date, and stop
  --quiet                   no progress on stderr
  --threads N               parse each export on N threads (default: one per processor,
                            shared among the exports scanned at once)
  --jobs N                  scan up to N of the given exports at once (default: one per
                            processor); each file's messages and statistics stay together.
                            Exports of the same node take their turns in the order given.
                            All the exports scanned at once parse on at most four threads
                            per processor, whatever --threads asks
  --break-lock              take over the lock a scan on another computer left in the node
                            folder; only when no scan runs there any more
  --help, --version

Comparing two exports:
  --compare                 compare the two files given, OLD then NEW: elements added, removed
                            and changed, and the node information; writes
                            Node<N>_<date>/Changes/Changes_Node<N>_<date>.csv and .html into
                            the scan result folder (N: NEW's node number) and prints a summary
                            per type. Compares every type and parameter unless --all or
                            --enable name some (the stored choices do not limit it); --enable
                            TYPE:P1,... compares those parameters only, not the other lines.
                            Goes with --settings, --result-folder, --now, --overwrite,
                            --enable, --all, --threads, --quiet, --break-lock, --csv-raw,
                            --encoding;
                            --output, --one-workbook, --statistics, --info, --jobs and
                            --cabinets are refused.
  --exit-code               with --compare: exit status 1 when the exports differ

Flags override the stored settings for this run only; nothing is written back.
Ctrl-C (SIGINT), SIGTERM and SIGHUP stop a run as Cancel does: nothing half-written stays,
the lock goes; a second one ends it at once.
Exit status: 0 done; 1 the scan ended with an error or an error was reported (with
--compare --exit-code also: the exports differ); 2 bad arguments or an unreadable export
file; 3 no element type enabled; 128 + the signal's number when a signal stopped it (130
SIGINT, 143 SIGTERM, 129 SIGHUP).
)";
}

}  // namespace qor::cli
