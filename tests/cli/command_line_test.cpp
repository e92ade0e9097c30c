// qorscan's command line in-process: what each argument list reads as, or the usage error it
// gets (main turns every usage error into exit status 2).
#include <gtest/gtest.h>

#include "cli/command_line.h"
#include "core/scan/element_types.h"

namespace qor::cli {
namespace {

// The fields that differ from an empty command line, in a fixed order.
std::string describe(const CommandLine& line) {
    std::string text;
    const auto add = [&](bool given, const std::string& field) {
        text += given ? (text.empty() ? "" : " ") + field : "";
    };
    const char* outputs[] = {"none", "xlsx", "csv", "html"};
    const char* answers[] = {"terminal", "ask", "yes", "no"};
    add(line.settingsFile.has_value(), "settings=" + line.settingsFile.value_or(""));
    add(line.output.has_value(),
        std::string("output=") + outputs[int(line.output.value_or(options::OutputMode::None))]);
    for (const EnableRequest& request : line.enables) {
        std::string boxes;
        for (const std::size_t box : request.boxes) {
            boxes += ":" + std::to_string(box);
        }
        add(true, "enable=" + std::string(scan::elementType(request.type).name) + boxes);
    }
    add(line.cabinetsFile.has_value(), "cabinets=" + line.cabinetsFile.value_or(""));
    add(line.resultFolder.has_value(), "folder=" + line.resultFolder.value_or(""));
    add(line.now.has_value(), "now=" + std::to_string(line.now.value_or(DateTime{}).second));
    add(line.overwrite != OverwriteAnswer::AskOnTerminal,
        std::string("overwrite=") + answers[int(line.overwrite)]);
    add(line.threads.has_value(), "threads=" + std::to_string(line.threads.value_or(0)));
    add(line.jobs.has_value(), "jobs=" + std::to_string(line.jobs.value_or(0)));
    const bool flags[] = {line.oneWorkbook, line.csvRaw, line.enableAll, line.saveStatistics,
                          line.infoOnly,    line.quiet,  line.compare,   line.exitCode,
                          line.breakLock,   line.help,   line.version};
    const char* names[] = {"one-workbook", "csv-raw", "all",     "statistics",
                           "info",         "quiet",   "compare", "exit-code",
                           "break-lock",   "help",    "version"};
    for (std::size_t i = 0; i < std::size(flags); ++i) {
        add(flags[i], names[i]);
    }
    add(line.check, "check");
    add(line.recursive, "recursive");
    add(line.findCsv || line.formatJson, line.formatJson ? "format=json" : "format=csv");
    add(line.minimumSeverity.has_value(), "severity=" + line.minimumSeverity.value_or(""));
    for (const std::string& id : line.disabledChecks) {
        add(true, "disable=" + id);
    }
    for (const std::string& file : line.files) {
        add(true, "[" + file + "]");
    }
    return text;
}

TEST(CommandLine, ReadsEachArgumentListOrRefusesItWithOneMessage) {
    const struct {
        std::vector<std::string> arguments;
        std::string expected;  // the fields read, or "! " and the message
    } cases[] = {
        // Values, in both forms; a repeated option's last value counts, each one is checked.
        {{"--output=CSV", "--settings", "s.ini", "x"}, "settings=s.ini output=csv [x]"},
        {{"--output", "html", "--output=xlsx", "--one-workbook", "a", "b"},
         "output=xlsx one-workbook [a] [b]"},
        {{"--output", "pdf", "--output", "csv", "x"},
         "! --output takes csv, html or xlsx, not 'pdf'"},
        {{"--output", "--jobs", "x"}, "! --output takes csv, html or xlsx, not '--jobs'"},
        {{"--enable", "DATB", "--enable=ai:descr,NAME", "--all", "x"},
         "enable=DAT(B) enable=AI:1:0 all [x]"},
        {{"--enable", "XY", "x"},
         "! unknown element type 'XY' (use AI, AIC, AO, AOC, DI, DIC, DO, DOC, PIDCON, "
         "MOTCON, DAT(B), DAT(I), DAT(IL) or DAT(R))"},
        {{"--enable", "AIC:NAME,ACT", "x"},
         "! 'ACT' is not a parameter of AIC (its parameters: NAME, DESCR, UNIT)"},
        {{"--now=2026-12-04T10:11:12", "--overwrite", "no", "--cabinets", "c", "x"},
         "cabinets=c now=12 overwrite=no [x]"},
        {{"--now", "2026-13-01T00:00:00", "x"},
         "! --now takes YYYY-MM-DDTHH:MM:SS, not '2026-13-01T00:00:00'"},
        {{"--overwrite=Yes", "x"}, "! --overwrite takes ask, yes or no, not 'Yes'"},
        {{"--settings=", "x"}, "! --settings needs a file, not an empty text"},
        {{"--result-folder", "", "x"}, "! --result-folder needs a folder, not an empty text"},
        // Counts: 1 to 256.
        {{"--threads=1", "--jobs", "256", "x"}, "threads=1 jobs=256 [x]"},
        {{"--jobs", "0", "x"}, "! --jobs takes a number from 1 to 256, not '0'"},
        {{"--threads", "257", "x"}, "! --threads takes a number from 1 to 256, not '257'"},
        {{"--threads", "0012", "x"}, "! --threads takes a number from 1 to 256, not '0012'"},
        {{"--jobs", "+2", "x"}, "! --jobs takes a number from 1 to 256, not '+2'"},
        // Refused combinations.
        {{}, "! no export file given"},
        {{"--one-workbook", "--output", "csv", "x"},
         "! --one-workbook goes with --output xlsx only"},
        {{"--csv-raw", "--output", "xlsx", "x"}, "! --csv-raw goes with --output csv only"},
        {{"--csv-raw", "--one-workbook", "--statistics", "--info", "x"},
         "one-workbook csv-raw statistics info [x]"},
        {{"--exit-code", "a", "b"}, "! --exit-code goes with --compare only"},
        {{"--compare", "--exit-code", "--csv-raw", "--threads", "2", "--break-lock", "a", "b"},
         "threads=2 csv-raw compare exit-code break-lock [a] [b]"},
        {{"--compare", "a"}, "! --compare takes exactly two export files, OLD and NEW (1 given)"},
        {{"--compare", "a", "b", "c"},
         "! --compare takes exactly two export files, OLD and NEW (3 given)"},
        {{"--compare", "--output", "csv", "a", "b"}, "! --output does not go with --compare"},
        {{"--compare", "--one-workbook", "a", "b"}, "! --one-workbook does not go with --compare"},
        {{"--compare", "--statistics", "a", "b"}, "! --statistics does not go with --compare"},
        {{"--info", "--compare", "a", "b"}, "! --info does not go with --compare"},
        {{"--compare", "--jobs", "2", "a", "b"}, "! --jobs does not go with --compare"},
        {{"--compare", "--cabinets", "c", "a", "b"}, "! --cabinets does not go with --compare"},
        // Checks print what they find: the options of outputs, comparisons and searches are
        // refused, and theirs go with --check only.
        {{"--check", "-r", "--format=json", "--severity", "warning", "--disable", "value-cut",
          "--disable=empty-descr", "--jobs", "2", "d"},
         "jobs=2 check recursive format=json severity=warning disable=value-cut "
         "disable=empty-descr [d]"},
        {{"--check", "--format", "csv", "--csv-raw", "--cabinets", "c", "d"},
         "cabinets=c csv-raw check format=csv [d]"},
        {{"--check", "--severity", "fatal", "d"},
         "! --severity takes error, warning or note, not 'fatal'"},
        {{"--check", "--disable", "nope", "d"},
         "! --disable takes a check (duplicate-designation, duplicate-name, "
         "duplicate-name-plant, range-inverted, range-not-number, empty-name, empty-descr, "
         "value-cut, module-unlabelled, cabinet-row-unused, module-two-cabinets), not 'nope'"},
        {{"--check", "--format", "xml", "d"}, "! --format takes text, csv or json, not 'xml'"},
        {{"--check", "--output", "csv", "d"}, "! --output does not go with --check"},
        {{"--check", "--find", "x", "d"}, "! --find does not go with --check"},
        {{"--check", "--compare", "a", "b"}, "! --compare does not go with --check"},
        {{"--check", "--csv-raw", "d"}, "! --csv-raw goes with --format csv only"},
        {{"--check"}, "! --check needs export files or folders to check"},
        {{"--severity", "error", "x"}, "! --severity goes with --check only"},
        {{"--find", "x", "--format", "json", "d"}, "! --format json goes with --check only"},
        {{"-r", "x"}, "! --recursive goes with --find or --check only"},
        // Help and version stop before the combinations are checked.
        {{"--version", "--compare"}, "compare version"},
        {{"-qh"}, "quiet help"},
        // What is not an option, and what is not one of ours.
        {{"-", "--", "-q", "--all"}, "[-] [-q] [--all]"},
        {{"\xff\xfe.qor", "--result-folder=d\xe9"}, "folder=d\xe9 [\xff\xfe.qor]"},
        {{"-qh", "--bogus=1"}, "! unknown option '--bogus=1'"},
        {{"x", "-qz"}, "! unknown option '-qz'"},
        {{"--all=yes", "x"}, "! unknown option '--all=yes'"},
        {{"-q=1", "x"}, "! unknown option '-q=1'"},
        {{"--cabinets", "--all=1", "x", "--jobs"}, "! --jobs needs a value"},
    };
    for (const auto& c : cases) {
        const auto parsed = parseCommandLine(c.arguments);
        const auto* error = std::get_if<UsageError>(&parsed);
        EXPECT_EQ(error ? "! " + error->message : describe(std::get<CommandLine>(parsed)),
                  c.expected);
    }
}

}  // namespace
}  // namespace qor::cli
