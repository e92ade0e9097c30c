#include "cli/command_line.h"

#include <QCommandLineParser>
#include <algorithm>
#include <utility>

#include "cli/check_options.h"
#include "cli/compare_find_options.h"
#include "core/base/message_text.h"
#include "core/scan/text_rules.h"

namespace qor::cli {
namespace {

// Arguments pass through Qt as Latin-1, one character per byte, so that a file name that is not
// UTF-8 comes back byte for byte.
QString fromBytes(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

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

// Reads one value of an option into the line; returns what is wrong with it, if anything.
using ValueReader = std::optional<std::string> (*)(const std::string&, CommandLine&);

std::optional<std::string> readCount(const std::string& text, std::optional<std::size_t>& count,
                                     const char* option) {
    count = countByText(text);
    if (!count) {
        return std::string(option) + " takes a number from 1 to 256, not " + quotedExcerpt(text);
    }
    return std::nullopt;
}

// An option: its names and its line in --help, and either the flag it sets or how its value is
// read.
struct OptionEntry {
    QCommandLineOption option;
    bool CommandLine::*flag = nullptr;
    ValueReader read = nullptr;
};

OptionEntry flag(QStringList names, const char* description, bool CommandLine::*member) {
    return {QCommandLineOption(names, QString::fromUtf8(description)), member};
}

OptionEntry valued(const char* name, const char* valueName, const char* description,
                   ValueReader read) {
    return {QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                               QString::fromLatin1(valueName)),
            nullptr, read};
}

// Every option once, in the order --help shows them.
std::vector<OptionEntry> optionTable() {
    using Error = std::optional<std::string>;
    return {
        valued("settings", "INI",
               "use INI (Qt's INI format) as the settings store instead of the per-user store; "
               "a missing file is created empty",
               [](const std::string& text, CommandLine& line) -> Error {
                   if (text.empty()) {
                       return "--settings needs a file, not an empty text";
                   }
                   line.settingsFile = text;
                   return std::nullopt;
               }),
        valued("output", "csv|html|xlsx", "override the stored output choice",
               [](const std::string& text, CommandLine& line) -> Error {
                   line.output = outputModeByName(text);
                   if (!line.output) {
                       return "--output takes csv, html or xlsx, not " + quotedExcerpt(text);
                   }
                   return std::nullopt;
               }),
        flag({QStringLiteral("one-workbook")},
             "with --output xlsx: one workbook with a sheet per element type",
             &CommandLine::oneWorkbook),
        flag({QStringLiteral("csv-raw")},
             "write CSV values exactly as read: no apostrophe before a value that a spreadsheet "
             "would take for a formula (for scripts)",
             &CommandLine::csvRaw),
        valued("encoding", "auto|utf-8|windows-1250|windows-1252|iso-8859-1",
               "how the export's text is read (default: the stored choice; auto: UTF-8 when it "
               "is valid UTF-8, otherwise Windows-1250)",
               [](const std::string& text, CommandLine& line) -> Error {
                   line.encoding = encodingNamed(text);
                   if (!*line.encoding && text != "auto") {
                       return "--encoding takes auto, utf-8, windows-1250, windows-1252 or "
                              "iso-8859-1, not " +
                              quotedExcerpt(text);
                   }
                   return std::nullopt;
               }),
        flag({QStringLiteral("all")}, "enable every element type with every parameter",
             &CommandLine::enableAll),
        valued("enable", "TYPE[:P1,P2,...]",
               "enable TYPE (AI, AIC, AO, AOC, DI, DIC, DO, DOC, PIDCON, MOTCON, DAT(B), DAT(I), "
               "DAT(IL), DAT(R); DATB and the like too) with those parameters (all when none "
               "given); repeatable. With --all or --enable only the types named are scanned in "
               "this run.",
               [](const std::string& text, CommandLine& line) -> Error {
                   auto request = parseEnable(text);
                   if (auto* error = std::get_if<UsageError>(&request)) {
                       return std::move(error->message);
                   }
                   line.enables.push_back(std::get<EnableRequest>(request));
                   return std::nullopt;
               }),
        valued("cabinets", "FILE",
               "import a cabinet-module table from FILE and apply the labels; an unreadable "
               "FILE stops the run before anything is written",
               [](const std::string& text, CommandLine& line) -> Error {
                   line.cabinetsFile = text;
                   return std::nullopt;
               }),
        valued("result-folder", "DIR", "override the scan result folder",
               [](const std::string& text, CommandLine& line) -> Error {
                   if (text.empty()) {
                       return "--result-folder needs a folder, not an empty text";
                   }
                   line.resultFolder = text;
                   return std::nullopt;
               }),
        valued("now", "YYYY-MM-DDTHH:MM:SS",
               "fix the clock used for date stamps and the statistics file",
               [](const std::string& text, CommandLine& line) -> Error {
                   line.now = parseIsoDateTime(text);
                   if (!line.now) {
                       return "--now takes YYYY-MM-DDTHH:MM:SS, not " + quotedExcerpt(text);
                   }
                   return std::nullopt;
               }),
        valued("overwrite", "ask|yes|no",
               "answer to every \"already exists\" question (default: ask on a terminal, no "
               "otherwise)",
               [](const std::string& text, CommandLine& line) -> Error {
                   const auto answer = overwriteByName(text);
                   if (!answer) {
                       return "--overwrite takes ask, yes or no, not " + quotedExcerpt(text);
                   }
                   line.overwrite = *answer;
                   return std::nullopt;
               }),
        flag({QStringLiteral("statistics")}, "also save the statistics file in the result folder",
             &CommandLine::saveStatistics),
        flag({QStringLiteral("info")},
             "print node number, node description and generation date, and stop",
             &CommandLine::infoOnly),
        flag({QStringLiteral("q"), QStringLiteral("quiet")}, "no progress on stderr",
             &CommandLine::quiet),
        valued("threads", "N",
               "parse each export on N threads (default: one per processor, shared among the "
               "exports scanned at once)",
               [](const std::string& text, CommandLine& line) {
                   return readCount(text, line.threads, "--threads");
               }),
        valued("jobs", "N",
               "scan up to N of the given exports at once (default: one per processor); each "
               "file's messages and statistics stay together. Exports of the same node take "
               "their turns in the order given. All the exports scanned at once parse on at most "
               "four threads per processor, whatever --threads asks",
               [](const std::string& text, CommandLine& line) {
                   return readCount(text, line.jobs, "--jobs");
               }),
        flag({QStringLiteral("break-lock")},
             "take over the lock that a scan on another computer, or one of another user, left "
             "in the node folder; only when no scan runs there any more",
             &CommandLine::breakLock),
        flag({QStringLiteral("compare")},
             "compare the two files given, OLD then NEW: elements added, removed and changed, "
             "and the node information; writes Node<N>_<date>/Changes/Changes_Node<N>_<date>.csv "
             "and .html into the scan result folder (N: NEW's node number) and prints a summary "
             "per type. Compares every type and parameter unless --all or --enable name some "
             "(the stored choices do not limit it); --enable TYPE:P1,... compares those "
             "parameters only, not the other lines. Goes with --settings, --result-folder, "
             "--now, --overwrite, --enable, --all, --threads, --quiet, --break-lock, --csv-raw, "
             "--encoding; "
             "--output, --one-workbook, --statistics, --info, --jobs and --cabinets are refused.",
             &CommandLine::compare),
        valued("find", "PATTERN",
               "print every element of the FILEs (and of the *.qor files in a DIR given) that "
               "shows PATTERN in its designation or any parameter, as FILE:LINE: TYPE "
               "DESIGNATION; ASCII and other letters alike without regard to case. PATTERN "
               "without * or ? matches anywhere in a value; with them (* any run of characters, "
               "? one character) it must match a whole value. Reads the files on --jobs threads "
               "and prints them in path order. Exit status 0 when an element matched, 1 when "
               "none did, 2 on an error (a file that cannot be read or, when named, is no "
               "export); a file found in a DIR that is no export gets a note only. Goes with "
               "--type, --format, --recursive, --jobs, --encoding, --settings, --csv-raw, "
               "--quiet",
               [](const std::string& text, CommandLine& line) -> Error {
                   line.find = text;
                   return std::nullopt;
               }),
        valued("type", "TYPE", "with --find: only elements of TYPE (as for --enable); repeatable",
               [](const std::string& text, CommandLine& line) -> Error {
                   const auto type = scan::elementTypeByName(text);
                   if (!type) {
                       return "--type takes an element type (AI, AIC, AO, AOC, DI, DIC, DO, DOC, "
                              "PIDCON, MOTCON, DAT(B), DAT(I), DAT(IL), DAT(R)), not " +
                              quotedExcerpt(text);
                   }
                   line.findTypes.push_back(*type);
                   return std::nullopt;
               }),
        valued("format", "text|csv|json",
               "with --find or --check: text (the default), csv (a header, then FILE,LINE,NODE,"
               "TYPE,DESIGNATION and, with --find, the element's parameters in the type's order, "
               "named with one --type, otherwise PARAMETER 1 to 8; with --check ID,SEVERITY,"
               "MESSAGE) or, with --check, json (an array of objects with those keys)",
               [](const std::string& text, CommandLine& line) -> Error {
                   if (text != "text" && text != "csv" && text != "json") {
                       return "--format takes text, csv or json, not " + quotedExcerpt(text);
                   }
                   line.findCsv = text == "csv";
                   line.formatJson = text == "json";
                   return std::nullopt;
               }),
        flag({QStringLiteral("check")}, kCheckHelp, &CommandLine::check),
        valued("severity", "error|warning|note", kSeverityHelp, readSeverity),
        valued("disable", "ID", kDisableHelp, readDisabledCheck),
        flag({QStringLiteral("r"), QStringLiteral("recursive")},
             "with --find or --check: the subfolders of a DIR given too", &CommandLine::recursive),
        flag({QStringLiteral("exit-code")}, "with --compare: exit status 1 when the exports differ",
             &CommandLine::exitCode),
        flag({QStringLiteral("h"), QStringLiteral("help")},
             "show this help and where the user guide is, and stop", &CommandLine::help),
        flag({QStringLiteral("version")}, "show the version and stop", &CommandLine::version),
    };
}

// The options read by Qt's parser.
class Options {
public:
    Options() {
        parser_.setApplicationDescription(QStringLiteral(
            "Scans node database export files (*.qor) for their elements and writes the "
            "selected\nparameters into a result folder per node and day, as the QOR Reader "
            "desktop app does,\nwith the same settings. With --compare, writes what changed "
            "from OLD to NEW instead."));
        for (const OptionEntry& entry : table_) {
            parser_.addOption(entry.option);
        }
        parser_.addPositionalArgument(
            QStringLiteral("FILE"),
            QStringLiteral(
                "export files to scan (*.qor); with --compare, OLD then NEW; with --find or "
                "--check, export files and folders to search or check"),
            QStringLiteral("FILE..."));
    }

    std::variant<CommandLine, UsageError> read(const std::vector<std::string>& arguments) {
        QStringList list{QStringLiteral("qorscan")};
        for (const std::string& argument : arguments) {
            list.append(fromBytes(argument));
        }
        if (!parser_.parse(list)) {
            return UsageError{parseFailure(arguments)};
        }
        CommandLine line;
        for (const OptionEntry& entry : table_) {
            if (entry.flag) {
                line.*entry.flag = parser_.isSet(entry.option);
                continue;
            }
            // Every value is checked; of a repeated option's values the last one counts.
            for (const QString& value : parser_.values(entry.option)) {
                if (auto error = entry.read(toBytes(value), line)) {
                    return UsageError{std::move(*error)};
                }
            }
        }
        for (const QString& file : parser_.positionalArguments()) {
            line.files.push_back(toBytes(file));
        }
        return line;
    }

    // Qt's help with both forms of the command in place of its first line.
    std::string help() const {
        const std::string text = toBytes(parser_.helpText());
        return "Usage: qorscan [options] FILE...\n"
               "  or:  qorscan --compare [options] OLD.qor NEW.qor\n"
               "  or:  qorscan --find PATTERN [--type TYPE] [options] FILE|DIR...\n"
               "  or:  qorscan --check [--severity S] [--disable ID] [options] FILE|DIR..." +
               text.substr(text.find('\n'));
    }

private:
    // Qt names an unknown option without its dashes or the rest of its word, and says its other
    // complaints in sentences of its own: the first fault in the arguments is told as before.
    std::string parseFailure(const std::vector<std::string>& arguments) const {
        for (std::size_t i = 0; i < arguments.size() && arguments[i] != "--"; ++i) {
            const std::string& argument = arguments[i];
            const std::size_t equals = argument.find('=');
            const OptionEntry* entry = named(argument.substr(0, equals));
            if (entry && !entry->flag && equals == std::string::npos) {
                if (i + 1 == arguments.size()) {
                    return argument + " needs a value";
                }
                ++i;  // the value, whatever it looks like
            } else if (entry ? entry->flag && equals != std::string::npos : isUnknown(argument)) {
                return "unknown option " + quotedExcerpt(argument);
            }
        }
        return toBytes(parser_.errorText());
    }

    // An option word that is none of ours: "--bogus", or "-qz" with a letter that is no short flag.
    bool isUnknown(const std::string& argument) const {
        if (argument.size() < 2 || argument[0] != '-' || argument[1] == '-') {
            return argument.size() > 2 && argument.starts_with("--");
        }
        return std::any_of(argument.begin() + 1, argument.end(), [&](char letter) {
            const OptionEntry* entry = named(std::string{'-', letter});
            return !entry || !entry->flag;
        });
    }

    // The option that `argument` ("--jobs", "-q") names, if any.
    const OptionEntry* named(const std::string& argument) const {
        for (const OptionEntry& entry : table_) {
            for (const QString& name : entry.option.names()) {
                if (argument == (name.size() == 1 ? "-" : "--") + toBytes(name)) {
                    return &entry;
                }
            }
        }
        return nullptr;
    }

    const std::vector<OptionEntry> table_ = optionTable();
    QCommandLineParser parser_;
};

}  // namespace

std::variant<CommandLine, UsageError> parseCommandLine(const std::vector<std::string>& arguments) {
    auto parsed = Options().read(arguments);
    if (std::holds_alternative<UsageError>(parsed)) {
        return parsed;
    }
    const CommandLine& line = std::get<CommandLine>(parsed);
    if (line.help || line.version) {
        return line;
    }
    if (line.check) {
        return checkCheckLine(line);
    }
    if (const auto error = checkOnlyOptionWithout(line)) {
        return UsageError{*error};
    }
    if (line.compare) {
        return checkCompareLine(line);
    }
    if (line.find) {
        return checkFindLine(line);
    }
    const std::pair<bool, const char*> searchOnly[] = {
        {!line.findTypes.empty(), "--type goes with --find only"},
        {line.findCsv, "--format goes with --find or --check only"},
        {line.recursive, "--recursive goes with --find or --check only"}};
    for (const auto& [given, complaint] : searchOnly) {
        if (given) {
            return UsageError{complaint};
        }
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
    return parsed;
}

std::string usageText() {
    return Options().help() + R"(
Flags override the stored settings for this run only; nothing is written back.

Exit status: 0 done; 1 the scan ended with an error or an error was reported (with
--compare --exit-code also: the exports differ); 2 bad arguments or an unreadable export
file; 3 no element type enabled. With --find, as grep: 0 an element matched, 1 none did,
2 an error. With --check, as linters: 0 nothing found, 1 findings, 2 an error. 128 + the
signal's number when a signal stopped it (130 SIGINT, 143 SIGTERM, 129 SIGHUP). Ctrl-C
(SIGINT), SIGTERM and SIGHUP stop a run as Cancel does: nothing half-written stays, the lock
goes; a second one ends it at once.
)";
}

}  // namespace qor::cli
