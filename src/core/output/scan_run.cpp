#include "core/output/scan_run.h"

#include <memory>
#include <optional>
#include <vector>

#include "core/base/standard_error.h"
#include "core/base/strings.h"
#include "core/output/result_folder.h"
#include "core/output/scan_output.h"
#include "core/platform/file_system.h"
#include "core/platform/folder_lock.h"
#include "core/platform/result_file.h"
#include "core/scan/cabinet_labels.h"
#include "core/scan/element_reader.h"
#include "core/scan/export_scan.h"
#include "core/scan/node_info.h"

namespace qor::output {
namespace {

// Ends the progress display whichever way the scan ends.
class ProgressWindowScope {
public:
    explicit ProgressWindowScope(UserInterface& ui) : ui_(ui) { ui_.showProgressWindow(true); }
    ~ProgressWindowScope() { close(); }
    ProgressWindowScope(const ProgressWindowScope&) = delete;
    ProgressWindowScope& operator=(const ProgressWindowScope&) = delete;
    void close() {
        if (open_) {
            open_ = false;
            ui_.showProgressWindow(false);
        }
    }

private:
    UserInterface& ui_;
    bool open_ = true;
};

bool spreadsheetWindowOpen(const platform::WindowTree& windows, UserInterface& ui) {
    std::vector<platform::WindowHandle> found;
    return platform::findWindowsMatching(windows, found, 0, "Microsoft Excel*", "XLMAIN",
                                         std::nullopt, &ui) >= 1;
}

using ElementCounts = std::vector<std::optional<long long>>;

// The progress bar of each type needs its element count before the type is read. Counting
// every enabled type in one pass saves a pass over the file per type; when that pass fails,
// each reader counts for itself and reports the failure under its own name.
ElementCounts countEnabledTypes(const Session& session, scan::ExportScan& source) {
    std::vector<scan::ElementType> enabled;
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (session.options.of(info.type).enabled) {
            enabled.push_back(info.type);
        }
    }
    ElementCounts counts(scan::kElementTypeCount);
    if (enabled.size() < 2) {
        return counts;
    }
    try {
        const std::vector<long long> found = scan::countElementsOfTypes(source, enabled);
        for (std::size_t i = 0; i < enabled.size(); ++i) {
            counts[scan::indexOf(enabled[i])] = found[i];
        }
    } catch (...) {
        // Each reader counts for itself then, and reports the failure under its own name.
        return ElementCounts(scan::kElementTypeCount);
    }
    return counts;
}

// What every reader of one scan shares: the export as the scan found it and the cabinet index.
struct ScanSources {
    scan::ExportScan& exportFile;
    const scan::CabinetIndex& cabinets;
};

void readType(Session& session, scan::ElementType type, std::optional<long long> elementCount,
              const ScanSources& sources, ScanOutput& output, UserInterface& ui) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    ui.setStatus(loadString(info.readingStatusId));
    const scan::ReaderInput input{sources.exportFile,        session.nodeInfo.nodeNumber,
                                  session.scan.outputFolder, session.scan.startDateStamp,
                                  session.options.of(type),  session.options.applyCabinetLabels,
                                  sources.cabinets,          elementCount};
    const std::unique_ptr<scan::ElementSink> sink = output.sinkFor(type);
    const auto written =
        scan::readElements(type, input, session.columns[scan::indexOf(type)], *sink, ui);
    if (written) {
        session.resultOf(type).writtenCount = *written;
    }
}

}  // namespace

ScanOutcome runScan(Session& session, UserInterface& ui, const ScanEnvironment& environment) {
    if (session.options.outputMode == options::OutputMode::ExcelFilesOnly &&
        spreadsheetWindowOpen(environment.windows, ui)) {
        ui.inform(Message{std::string(kApplicationTitle),
                          std::string(loadString(str::kExcelIsRunning)), MessageIcon::Exclamation});
        return ScanOutcome::ExcelRunning;
    }
    // The index lists only what this scan writes.
    for (TypeResult& result : session.results) {
        result.indexLinkLine.clear();
    }
    // Taken before anything is written: every pass checks the export against it.
    scan::ExportScan source(session.databasePath);
    // Indexed once: every channel element of the scan looks its module up.
    const scan::CabinetIndex cabinets = session.options.applyCabinetLabels
                                            ? scan::CabinetIndex(session.cabinetLabels)
                                            : scan::CabinetIndex();
    // Everything below writes into these folders: when they cannot be made or another scan
    // is writing them, that one cause is the scan's error and nothing is written.
    createResultFolders(session, environment.clock);
    const platform::FolderLock lock(session.scan.resultFolder);
    platform::removeLeftovers(session.scan.resultFolder);
    for (const auto mode : {options::OutputMode::HtmlReport, options::OutputMode::CsvFilesOnly,
                            options::OutputMode::ExcelFilesOnly}) {
        platform::removeLeftovers(
            platform::joinPath(session.scan.resultFolder, outputSubfolderName(mode)));
    }
    const std::unique_ptr<ScanOutput> output = makeScanOutput(session, ui, environment.clock);
    try {
        output->beginScan();
        ProgressWindowScope progressWindow(ui);
        const ElementCounts counts = countEnabledTypes(session, source);
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            if (session.options.of(info.type).enabled) {
                readType(session, info.type, counts[scan::indexOf(info.type)], {source, cabinets},
                         *output, ui);
            }
        }
        progressWindow.close();
        output->endScan();
    } catch (...) {
        // Nothing open may pass for a result, whatever ended the scan; the error goes on.
        output->abandonScan();
        ui.showProgressBar(false);
        throw;
    }
    source.reportCutLines(ui);
    ui.setStatusBarText(loadString(str::kConvertCompleted));
    ui.showProgressBar(false);
    return ScanOutcome::Completed;
}

}  // namespace qor::output
