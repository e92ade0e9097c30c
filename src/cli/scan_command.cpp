#include "cli/scan_command.h"

#include <algorithm>
#include <iostream>
#include <memory>

#include "cli/terminal_ui.h"
#include "core/qor_error.h"
#include "core/standard_error.h"
#include "core/strings.h"
#include "output/scan_run.h"
#include "output/session.h"
#include "output/statistics.h"
#include "output/workbook_output.h"
#include "platform/memory_settings_store.h"
#include "platform/qt_settings_store.h"
#include "platform/user_environment.h"
#include "scan/export_file_reader.h"

namespace qor::cli {
namespace {

using output::Session;

// Applies the command line's choices to the record loaded from the store; the store
// itself is never written.
void applyOverrides(const CommandLine& line, Session& session, TerminalUi& ui) {
    options::SearchOptions& options = session.options;
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
        for (options::TypeOptions& type : options.types) {
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
        options::TypeOptions& type = options.of(request.type);
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
    if (line.cabinetsFile) {
        // Imported into a throw-away store: a command-line table never replaces the stored one.
        platform::MemorySettingsStore scratch;
        options::ImportCabinetFile(*line.cabinetsFile, scratch, options.cabinetTable,
                                   session.cabinetLabels, ui);
        options.applyCabinetLabels = !options.cabinetTable.rows.empty();
    }
    session.columns = options::BuildAllColumnData(options);
    // The statistics show what this run scanned.
    if (line.enableAll || !line.enables.empty()) {
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            session.searchStatus.setValue(info.type, options.of(info.type).enabled ? 1 : 0);
        }
    }
}

void printStatistics(const Session& session) {
    const std::string rule(53, '=');
    std::cout << rule << '\n' << "DataBase element                Quantity\n" << rule << '\n';
    for (const output::StatisticsRow& row : output::StatisticsRows(session)) {
        std::string name(row.name);
        name.resize(std::max<std::size_t>(name.size(), 32), ' ');
        std::cout << name << row.count << '\n';
    }
    std::cout << rule << '\n';
    std::cout.flush();
}

void printInfo(const Session& session, bool named) {
    if (named) {
        std::cout << session.databasePath << '\n';
    }
    std::cout << "Node number: " << session.nodeInfo.nodeNumber << '\n'
              << "Node description: " << session.nodeInfo.nodeDescription << '\n'
              << "Generation date: " << session.nodeInfo.generationDate << '\n';
}

}  // namespace

int runScanCommand(const CommandLine& line) {
    TerminalUi ui(line.overwrite, line.quiet);
    std::unique_ptr<platform::QtSettingsStore> store;
    try {
        store = std::make_unique<platform::QtSettingsStore>(
            line.settingsFile ? platform::QtSettingsStore::iniFile(*line.settingsFile)
                              : platform::QtSettingsStore::userStore());
    } catch (...) {
        ui.printError("cannot use the settings store: " + describeCurrentException());
        return kExitUsage;
    }

    Session session;
    session.months = platform::systemMonthNames();
    const std::unique_ptr<Clock> clock =
        line.now ? std::unique_ptr<Clock>(std::make_unique<FixedClock>(*line.now))
                 : std::unique_ptr<Clock>(std::make_unique<SystemClock>());
    session.scan.startDateStamp = formatDateStamp(clock->now(), session.months);

    const bool excelInstalled = output::ExcelInstalled(ui).installed;
    options::LoadSearchOptions(*store, session.options, session.columns, session.cabinetLabels,
                               excelInstalled, platform::defaultResultFolder(), ui);
    output::SearchStatus(*store, session.searchStatus, ui);
    applyOverrides(line, session, ui);
    int status = ui.errorReported() ? kExitScanError : kExitDone;

    if (!line.infoOnly && !session.searchStatus.anyEnabled()) {
        std::cerr << loadString(str::kAllSearchDisabled) << '\n'
                  << loadString(str::kClickChangeSettings) << '\n';
        return kExitNothingEnabled;
    }

    for (const std::string& file : line.files) {
        ui.setCurrentFile(file);
        ui.clearErrorFlag();
        session.databasePath = file;
        try {
            scan::checkExportFileReadable(file);
        } catch (...) {
            ui.printError(describeCurrentException());
            status = std::max(status, static_cast<int>(kExitUsage));
            continue;
        }
        session.nodeInfo = {};
        scan::GetNodeInfo(file, session.nodeInfo, ui);
        if (line.infoOnly) {
            printInfo(session, line.files.size() > 1);
            continue;
        }
        for (output::TypeResult& result : session.results) {
            result = {};  // each file is a scan of its own node
        }
        try {
            const platform::EmptyWindowTree windows;
            if (output::RunScan(session, ui, {*clock, windows}) == output::ScanOutcome::Completed) {
                printStatistics(session);
                if (line.saveStatistics) {
                    output::SaveStatisticsFile(session, *clock, ui);
                }
            }
        } catch (...) {
            ui.printError(describeCurrentException());
        }
        if (ui.errorReported()) {
            status = std::max(status, static_cast<int>(kExitScanError));
        }
    }
    return status;
}

}  // namespace qor::cli
