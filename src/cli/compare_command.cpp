#include "cli/compare_command.h"

#include <memory>
#include <new>

#include "cli/result_printer.h"
#include "cli/scan_command.h"
#include "cli/settings_file.h"
#include "cli/terminal_ui.h"
#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/compare/changes_folder.h"
#include "core/compare/export_comparison.h"
#include "core/options/settings_table.h"
#include "core/platform/folder_lock.h"
#include "core/platform/stop_signals.h"
#include "core/platform/user_environment.h"
#include "core/scan/export_encoding.h"
#include "core/scan/export_file_reader.h"
#include "core/scan/line_ceiling.h"
#include "core/scan/node_info.h"

namespace qor::cli {
namespace {

// --all or --enable limit the comparison to what they name; otherwise everything is compared.
// A parameter list compares those parameters only, and not the element's other lines; as for a
// scan, a later --enable of a type replaces an earlier one.
compare::CompareSelection selectionOf(const CommandLine& line) {
    compare::CompareSelection selection;
    if (!line.enableAll && !line.enables.empty()) {
        for (compare::TypeSelection& type : selection.types) {
            type.compared = false;
        }
    }
    for (const EnableRequest& request : line.enables) {
        compare::TypeSelection& type = selection.of(request.type);
        type.compared = true;
        type.otherLines = request.boxes.empty();
        type.parameters.fill(request.boxes.empty());
        for (const std::size_t box : request.boxes) {
            type.parameters[box] = true;
        }
    }
    return selection;
}

std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

std::string rightAligned(long long count, std::size_t width) {
    const std::string text = std::to_string(count);
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

// The statistics table's fourteen rows with the four counts, then the node information that
// changed, each side read in its export's encoding.
void printSummary(const compare::Comparison& comparison, const compare::CompareRequest& request,
                  ResultPrinter& out) {
    const std::string rule(72, '=');
    out.line(rule);
    out.line(padded("DataBase element", 32) + "     Added   Removed   Changed Unchanged");
    out.line(rule);
    for (const scan::ElementType type : scan::statusOrder()) {
        const std::string name = padded(std::string(scan::elementType(type).statisticsName), 32);
        if (!comparison.compared[scan::indexOf(type)]) {
            out.line(name + "not compared");
            continue;
        }
        const compare::TypeCounts& counts = comparison.countsOf(type);
        out.line(name + rightAligned(counts.added, 10) + rightAligned(counts.removed, 10) +
                 rightAligned(counts.changed, 10) + rightAligned(counts.unchanged, 10));
    }
    out.line(rule);
    compare::ChangeReader changes(comparison.changes);
    for (std::size_t i = 0; i < comparison.changes.size(); ++i) {
        const compare::ChangeView change = changes.at(i);
        if (change.type) {
            break;  // the node information comes first
        }
        std::string line = padded(std::string(change.parameter), 32) + "'";
        appendAsUtf8(line, change.oldValue, request.oldExport.encoding);
        line += "' -> '";
        appendAsUtf8(line, change.newValue, request.newExport.encoding);
        out.line(line + "'");
    }
}

std::string resultFolderOf(const CommandLine& line, const platform::SettingsStore& store) {
    if (line.resultFolder) {
        return *line.resultFolder;
    }
    return options::settings::kScanResultFolderPath.readFrom(store,
                                                             platform::defaultResultFolder());
}

// Compares, writes the files and prints the summary; tells whether the exports differ. Throws
// QorError.
bool compareAndWrite(const CommandLine& line, compare::CompareRequest& request,
                     const std::string& resultFolder, TerminalUi& ui) {
    const std::unique_ptr<Clock> clock =
        line.now ? std::unique_ptr<Clock>(std::make_unique<FixedClock>(*line.now))
                 : std::unique_ptr<Clock>(std::make_unique<SystemClock>());
    const DateTime today = clock->now();
    const MonthNames months = platform::systemMonthNames();
    ui.setCurrentFile(request.newExport.path);
    compare::ChangesFolder folder(
        resultFolder, request.newExport.node.nodeNumber, formatDateStamp(today, months), ui,
        {.csvValues = line.csvRaw ? output::CsvValues::Raw : output::CsvValues::Guarded},
        {.breakForeign = line.breakLock});
    ui.setStatus(translate("qorscan", "Comparing"));
    compare::UiCompareMonitor monitor(ui);
    const compare::Comparison comparison = compare::compareExports(request, monitor);
    ui.setRunning(false);
    folder.write(comparison, {request.oldExport.path, request.newExport.path,
                              formatDashedDate(today, months) + " " + formatTime(today)});
    scan::reportCutLines(ui, request.oldExport.path, comparison.oldCutLines);
    scan::reportCutLines(ui, request.newExport.path, comparison.newCutLines);
    ResultPrinter out;
    printSummary(comparison, request, out);
    return comparison.differs();
}

}  // namespace

int runCompareCommand(const CommandLine& line, std::FILE* messages) {
    TerminalUi ui(line.overwrite, line.quiet, messages);
    const std::unique_ptr<platform::QtSettingsStore> store = openStoreOrSayWhy(line, ui);
    if (store == nullptr) {
        return kExitUsage;
    }
    const std::string resultFolder = resultFolderOf(line, *store);
    if (resultFolder.empty()) {
        ui.setCurrentFile(store->location());
        ui.printError(fillIn(translate("qorscan",
                                       "the stored scan result folder (%1) is "
                                       "empty; give one with --result-folder DIR"),
                             {options::settings::kScanResultFolderPath.key}));
        return kExitUsage;
    }
    if (!resultFolderUsableOrSayWhy(resultFolder, ui)) {
        return kExitUsage;
    }
    compare::CompareRequest request;
    request.oldExport.path = line.files[0];
    request.newExport.path = line.files[1];
    const EncodingChoice encoding =
        line.encoding ? *line.encoding
                      : choiceNamed(options::settings::kTextEncoding.readFrom(*store));
    for (compare::ExportSide* side : {&request.oldExport, &request.newExport}) {
        ui.setCurrentFile(side->path);
        try {
            scan::checkExportFileReadable(side->path);
            side->encoding = decideEncoding(encoding, scan::readEncodingEvidence(side->path));
        } catch (const QorError& e) {
            ui.printError(e.what());
            return kExitUsage;
        }
    }
    for (compare::ExportSide* side : {&request.oldExport, &request.newExport}) {
        ui.setCurrentFile(side->path);
        side->node = scan::readNodeInfo(side->path, {}, ui, side->encoding.encoding);
        if (side->node.notAnExport) {
            ui.printError(scan::notAnExportText(side->path, scan::RefusedWork::Comparison));
            return kExitUsage;
        }
    }
    request.selection = selectionOf(line);
    request.pass.threads = line.threads.value_or(scan::defaultScanThreads());
    bool differs = false;
    try {
        differs = compareAndWrite(line, request, resultFolder, ui);
    } catch (const platform::FolderLockedElsewhere& e) {
        ui.printError(e.what() + std::string(kBreakLockHint));
    } catch (const QorError& e) {
        ui.printError(e.what());
    } catch (const std::bad_alloc&) {
        ui.printError(translate("qorscan", "out of memory"));
    }
    ui.setCurrentFile({});
    if (const std::string failure = ResultPrinter::failure(); !failure.empty()) {
        ui.printError(failure);
    }
    if (const int signal = platform::StopSignals::received(); signal != 0) {
        return kExitSignalBase + signal;
    }
    if (ui.errorReported()) {
        return kExitScanError;
    }
    return line.exitCode && differs ? kExitScanError : kExitDone;
}

}  // namespace qor::cli
