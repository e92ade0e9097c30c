#include "cli/scan_command.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

#include "cli/node_folder_turns.h"
#include "cli/result_printer.h"
#include "cli/settings_file.h"
#include "cli/terminal_ui.h"
#include "core/base/message_text.h"
#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/options/settings_table.h"
#include "core/output/result_folder.h"
#include "core/output/scan_run.h"
#include "core/output/session.h"
#include "core/output/statistics.h"
#include "core/output/workbook_output.h"
#include "core/platform/folder_lock.h"
#include "core/platform/qt_settings_store.h"
#include "core/platform/stop_signals.h"
#include "core/platform/user_environment.h"
#include "core/scan/export_encoding.h"
#include "core/scan/export_file_reader.h"
#include "core/scan/node_info.h"
#include "core/scan/parallel_pass.h"

namespace qor::cli {
namespace {

using output::Session;

// The table of --cabinets, from the file read by readCabinetFileOrSayWhy.
std::optional<options::CabinetModuleTable> readCabinets(const std::string& path, TerminalUi& ui) {
    std::optional<options::CabinetFile> file = readCabinetFileOrSayWhy(path, ui);
    if (!file) {
        return std::nullopt;
    }
    return options::CabinetModuleTable{file->import.rows(), file->fileName};
}

// Applies the command line's choices to the record loaded from the store; the store
// itself is never written.
void applyOverrides(const CommandLine& line, std::optional<options::CabinetModuleTable> cabinets,
                    Session& session) {
    options::SearchOptions& options = session.options;
    options.rawCsv = line.csvRaw;
    if (line.encoding) {
        options.textEncoding = *line.encoding;
    }
    if (line.output) {
        options.outputMode = *line.output;
        if (*line.output != options::OutputMode::ExcelFilesOnly) {
            options.oneExcelWorkbook = false;
        }
    }
    if (line.oneWorkbook) {
        options.oneExcelWorkbook = true;
    }
    if (line.resultFolder) {
        options.scanResultFolderPath = *line.resultFolder;
    }
    if (line.enableAll || !line.enables.empty()) {
        for (scan::TypeOptions& type : options.types) {
            type.enabled = false;
        }
    }
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (line.enableAll) {
            options.of(info.type).enabled = true;
            options.of(info.type).parameters.fill(true);
        }
    }
    for (const EnableRequest& request : line.enables) {
        scan::TypeOptions& type = options.of(request.type);
        type.enabled = true;
        if (request.boxes.empty()) {
            type.parameters.fill(true);
        } else {
            type.parameters.fill(false);
            for (const std::size_t box : request.boxes) {
                type.parameters[box] = true;
            }
        }
    }
    if (cabinets) {
        // Never stored: a command-line table does not replace the stored one.
        options.cabinetTable = std::move(*cabinets);
        options.applyCabinetLabels = !options.cabinetTable.rows.empty();
    }
    session.takeOptions();
    // The statistics show what this run scanned.
    if (line.enableAll || !line.enables.empty()) {
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            session.searchStatus.setValue(info.type, options.of(info.type).enabled ? 1 : 0);
        }
    }
}

// `named`: several files were given, and the table must say whose it is.
void printStatistics(const Session& session, bool named, ResultPrinter& out) {
    const std::string rule(53, '=');
    if (named) {
        out.line(session.databasePath);
    }
    out.line(rule);
    out.line("DataBase element                Quantity");
    out.line(rule);
    for (const output::StatisticsRow& row : output::statisticsRows(session)) {
        std::string name(row.name);
        name.resize(std::max<std::size_t>(name.size(), 32), ' ');
        out.line(name + row.count);
    }
    out.line(rule);
}

void printInfo(const Session& session, bool named, ResultPrinter& out) {
    if (named) {
        out.line(session.databasePath);
    }
    // Shown in the export's own encoding, as --find shows its texts.
    const ExportEncoding encoding = session.textEncoding();
    const auto shown = [&](std::string line, std::string_view value) {
        appendAsUtf8(line, value, encoding);
        out.line(line);
    };
    shown("Node number: ", session.nodeInfo.nodeNumber);
    shown("Node description: ", session.nodeInfo.nodeDescription);
    shown("Generation date: ", session.nodeInfo.generationDate);
}

// What one export's scan needs besides its session, shared by every file of the run.
struct RunSettings {
    const CommandLine& line;
    const Clock& clock;
    std::size_t threads;
    NodeFolderTurns* turns = nullptr;  // when several exports are scanned at once
};

// Threads of all the exports scanned at once, per processor: more only wait for each other
// and take memory.
constexpr std::size_t kThreadsPerProcessor = 4;

// Scans one export with `session` (a copy of the run's), the `index`th of the run; returns its
// exit status.
int scanFile(const std::string& file, std::size_t index, Session session, const RunSettings& run,
             TerminalUi& ui, ResultPrinter& out) {
    if (platform::StopSignals::received() != 0) {
        return kExitDone;  // stopped before its turn: the run's status says why
    }
    ui.setCurrentFile(file);
    session.databasePath = file;
    try {
        scan::checkExportFileReadable(file);
        session.exportEvidence = scan::readEncodingEvidence(file);
    } catch (const QorError& e) {
        ui.printError(e.what());
        return kExitUsage;
    }
    session.nodeInfo = scan::readNodeInfo(file, {}, ui, session.textEncoding().encoding);
    if (session.nodeInfo.notAnExport) {
        ui.printError(scan::notAnExportText(file));
        return kExitUsage;
    }
    if (run.line.infoOnly) {
        printInfo(session, run.line.files.size() > 1, out);
        return ui.errorReported() ? kExitScanError : kExitDone;
    }
    if (run.turns != nullptr) {
        run.turns->waitForTurn(
            index, output::nodeFolderName(session.nodeInfo.nodeNumber,
                                          formatDateStamp(run.clock.now(), session.months)));
    }
    try {
        output::ScanEnvironment environment{run.clock, run.threads};
        environment.lock.breakForeign = run.line.breakLock;
        const output::ScanReport report = output::runScan(session, ui, environment);
        if (report.cancelled) {
            throw ScanCancelled();
        }
        session.keep(report);
        printStatistics(session, run.line.files.size() > 1, out);
        if (run.line.saveStatistics) {
            output::saveStatisticsFile(session, run.clock, ui);
        }
    } catch (const platform::FolderLockedElsewhere& e) {
        ui.printError(e.what() + std::string(kBreakLockHint));
    } catch (const QorError& e) {
        ui.printError(e.what());
    } catch (const std::bad_alloc&) {
        ui.printError(translate("qorscan", "out of memory"));
    }
    return ui.errorReported() ? kExitScanError : kExitDone;
}

// Scans the files `jobs` at a time, each with its own messages and statistics, printed together
// and in the order the files were given as soon as the files before them are done.
int scanFilesAtOnce(const Session& session, RunSettings run, std::size_t jobs,
                    std::FILE* messages) {
    struct Output {
        std::string messages;
        std::string results;
        int status = kExitDone;
        bool done = false;
    };
    const std::vector<std::string>& files = run.line.files;
    std::vector<Output> outputs(files.size());
    std::mutex mutex;
    std::mutex terminal;
    std::condition_variable finished;
    std::size_t next = 0;
    NodeFolderTurns turns(files.size());
    run.turns = &turns;
    const auto work = [&] {
        for (;;) {
            std::size_t index = 0;
            {
                const std::lock_guard lock(mutex);
                if (next == files.size()) {
                    return;
                }
                index = next++;
            }
            Output output;
            TerminalUi ui(run.line.overwrite, run.line.quiet, messages);
            ui.collectInto(&output.messages, &terminal);
            ResultPrinter printer(&output.results);
            try {
                output.status = scanFile(files[index], index, session, run, ui, printer);
            } catch (const std::exception& e) {
                // A worker thread must not end the program: this file failed, the others go on.
                ui.printError(e.what());
                output.status = kExitScanError;
            }
            turns.done(index);
            output.done = true;
            {
                const std::lock_guard lock(mutex);
                outputs[index] = std::move(output);
            }
            finished.notify_all();
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < std::min(jobs, files.size()); ++i) {
        workers.emplace_back(work);
    }
    int status = kExitDone;
    for (Output& output : outputs) {
        {
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return output.done; });
        }
        const std::lock_guard lock(terminal);
        std::fputs(output.messages.c_str(), messages);
        std::fflush(messages);
        std::fwrite(output.results.data(), 1, output.results.size(), stdout);
        std::fflush(stdout);
        status = std::max(status, output.status);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    return status;
}

}  // namespace

std::optional<options::CabinetFile> readCabinetFileOrSayWhy(const std::string& path, TerminalUi& ui,
                                                            bool noteLines) {
    options::CabinetFile file;
    try {
        file = options::readCabinetFile(path, ui);
    } catch (const QorError& e) {
        ui.printError(e.what());
        return std::nullopt;
    }
    const auto lineText = [&](const options::ImportLine& line) {
        return fillIn(translate("qorscan", "%1, line %2 %3: %4"),
                      {path, std::to_string(line.line), options::verdictText(line),
                       quotedExcerpt(line.text, 60)});
    };
    if (const options::ImportLine* bad = file.import.firstMalformed()) {
        ui.printError(lineText(*bad));
        return std::nullopt;
    }
    for (const options::ImportLine& line : file.import.lines) {
        if (noteLines && (line.verdict == options::ImportVerdict::Heading ||
                          line.verdict == options::ImportVerdict::Conflict)) {
            ui.printNote(lineText(line));
        }
    }
    return file;
}

int runScanCommand(const CommandLine& line, std::FILE* messages) {
    TerminalUi ui(line.overwrite, line.quiet, messages);
    std::optional<options::CabinetModuleTable> cabinets;
    if (line.cabinetsFile) {
        cabinets = readCabinets(*line.cabinetsFile, ui);
        if (!cabinets) {
            return kExitUsage;
        }
    }
    const std::unique_ptr<platform::QtSettingsStore> store = openStoreOrSayWhy(line, ui);
    if (store == nullptr) {
        return kExitUsage;
    }

    Session session;
    session.months = platform::systemMonthNames();
    const std::unique_ptr<Clock> clock =
        line.now ? std::unique_ptr<Clock>(std::make_unique<FixedClock>(*line.now))
                 : std::unique_ptr<Clock>(std::make_unique<SystemClock>());
    session.startDateStamp = formatDateStamp(clock->now(), session.months);

    session.options =
        options::SearchOptions::readFrom(*store, {platform::defaultResultFolder()}, ui);
    session.searchStatus = options::SearchStatusTable::readFrom(*store, ui);
    applyOverrides(line, std::move(cabinets), session);
    // Refused as they are with an --output that they do not go with: the stored output is the
    // one this run writes.
    const options::OutputMode output = session.options.outputMode;
    if (line.oneWorkbook && output != options::OutputMode::ExcelFilesOnly) {
        ui.printError(translate("qorscan",
                                "--one-workbook goes with --output xlsx only, and the stored "
                                "output is another; give --output xlsx"));
        return kExitUsage;
    }
    if (line.csvRaw && output != options::OutputMode::CsvFilesOnly) {
        ui.printError(translate("qorscan",
                                "--csv-raw goes with --output csv only, and the stored output is "
                                "another; give --output csv"));
        return kExitUsage;
    }
    int status = ui.errorReported() ? kExitScanError : kExitDone;

    if (!line.infoOnly) {
        ui.setCurrentFile(store->location());
        if (!session.searchStatus.anyEnabled()) {
            ui.printError(translate("qorscan",
                                    "Current search status for every DataBase element is "
                                    "Disabled. Enable a type with --all or --enable "
                                    "TYPE[:P,...], or check its \"Enable Search\" box in the "
                                    "stored options."));
            return kExitNothingEnabled;
        }
        if (session.options.scanResultFolderPath.empty()) {
            ui.printError(fillIn(translate("qorscan",
                                           "the stored scan result folder (%1) is "
                                           "empty; give one with --result-folder DIR"),
                                 {options::settings::kScanResultFolderPath.key}));
            return kExitUsage;
        }
        ui.setCurrentFile({});
        if (!resultFolderUsableOrSayWhy(session.options.scanResultFolderPath, ui)) {
            return kExitUsage;
        }
    }

    // One export takes every processor; several scanned at once share them.
    const std::size_t processors = scan::defaultScanThreads();
    const std::size_t jobs =
        std::max<std::size_t>(1, std::min(line.jobs.value_or(processors), line.files.size()));
    const std::size_t threads =
        std::min(line.threads.value_or(std::max<std::size_t>(1, processors / jobs)),
                 std::max<std::size_t>(1, kThreadsPerProcessor * processors / jobs));
    const RunSettings run{line, *clock, threads};
    if (jobs > 1 && !line.infoOnly) {
        status = std::max(status, scanFilesAtOnce(session, run, jobs, messages));
    } else {
        ResultPrinter out;
        for (std::size_t i = 0; i < line.files.size(); ++i) {
            ui.clearErrorFlag();
            status = std::max(status, scanFile(line.files[i], i, session, run, ui, out));
        }
    }
    ui.setCurrentFile({});
    if (const std::string failure = ResultPrinter::failure(); !failure.empty()) {
        ui.printError(failure);
        status = std::max(status, static_cast<int>(kExitScanError));
    }
    if (const int signal = platform::StopSignals::received(); signal != 0) {
        return kExitSignalBase + signal;
    }
    return status;
}

}  // namespace qor::cli
