#include "core/output/scan_run.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/output/result_folder.h"
#include "core/output/scan_output.h"
#include "core/scan/cabinet_labels.h"
#include "core/scan/element_sink.h"
#include "core/scan/export_encoding.h"
#include "core/scan/export_scan.h"
#include "core/scan/node_info.h"
#include "core/scan/parallel_pass.h"

namespace qor::output {
namespace {

// Ends the progress display whichever way the scan ends.
class RunningScope {
public:
    explicit RunningScope(UserInterface& ui) : ui_(ui) { ui_.setRunning(true); }
    ~RunningScope() { close(); }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;
    void close() {
        if (open_) {
            open_ = false;
            ui_.setRunning(false);
        }
    }

private:
    UserInterface& ui_;
    bool open_ = true;
};

// One enabled type of the scan: its output, what was read for it and whether it failed.
struct ScannedType {
    scan::ElementType type;
    std::unique_ptr<scan::ElementSink> sink;
    long long elements = 0;
    scan::MissingDotReport withoutDot;
};

// The types of a scan, in reading order. A type fails as it would have failed when the types
// were read one after the other: those before it complete, it and those after it leave nothing.
class ScanTypes {
public:
    std::vector<ScannedType> types;
    EncodingEvidence text;  // what the whole export tells about its encoding

    bool anyLeft() const { return firstFailure_ > 0 && !types.empty(); }
    bool failed(std::size_t i) const { return i >= firstFailure_; }

    // Type `i` failed with `cause`: its output and those of the types after it go. A cause
    // that belongs to an earlier type's output (`owner`, a save that failed late) names it.
    void fail(std::size_t i, const std::string& cause,
              std::optional<scan::ElementType> owner = std::nullopt) {
        if (i >= firstFailure_) {
            return;
        }
        std::string description =
            owner ? cause
                  : fillIn(translate("ScanRun", "Reading the %1 elements stopped: %2"),
                           {scan::elementType(types[i].type).name, cause});
        for (std::size_t j = i; j < std::min(firstFailure_, types.size()); ++j) {
            const std::string fate = types[j].sink->abandon();
            if (j == i && !fate.empty()) {
                description += ". " + fate;
            }
        }
        firstFailure_ = i;
        failure_ = scan::ReadFailed(owner.value_or(types[i].type), description);
    }
    // A failure that stops every type at once (the export could not be read).
    void failAll(const std::string& cause) { fail(0, cause); }

    void throwFailure() const {
        if (failure_) {
            throw *failure_;
        }
    }

private:
    std::size_t firstFailure_ = static_cast<std::size_t>(-1);
    std::optional<scan::ReadFailed> failure_;
};

// Prepares each enabled type's output in reading order, before anything is read, so every
// question comes first; a kept result leaves its type out. A type whose output cannot be
// prepared fails there, and the types after it are not begun.
void prepareTypes(const Session& session, const ScanFolders& folders, ScanOutput& output,
                  ScanTypes& scanned, std::vector<scan::TypePlan>& plan) {
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (!session.options.scans(info.type)) {
            continue;
        }
        const scan::ColumnData& columns = session.columns[scan::indexOf(info.type)];
        const bool labelled = info.channel && session.options.applyCabinetLabels;
        const scan::SinkContext context{
            info,
            columns.columns,
            columns.headerLine,
            columns.columnCount,
            labelled,
            folders.output,
            scan::elementFileBaseName(info, session.nodeInfo.nodeNumber, session.startDateStamp)};
        ScannedType type{info.type, output.sinkFor(info.type), 0, {}};
        try {
            if (!type.sink->begin(context)) {
                continue;
            }
            plan.push_back(
                {&info,
                 scan::wantedParameters(info, session.options.of(info.type), columns.columns,
                                        session.options.applyCabinetLabels),
                 labelled, type.sink.get()});
        } catch (const std::exception& e) {
            scanned.types.push_back(std::move(type));
            scanned.fail(scanned.types.size() - 1, e.what());
            return;
        }
        scanned.types.push_back(std::move(type));
    }
}

// Hands each chunk's elements to their outputs in file order, and shows how far the scan got.
void deliver(ScanTypes& scanned, scan::ChunkResult& chunk, std::uint64_t reached,
             std::uint64_t size, UserInterface& ui) {
    scanned.text.merge(chunk.text);
    for (std::size_t i = 0; i < chunk.types.size(); ++i) {
        if (scanned.failed(i)) {
            continue;
        }
        ScannedType& type = scanned.types[i];
        scan::TypeChunkResult& result = chunk.types[i];
        try {
            type.sink->write(result.output);
        } catch (const std::exception& e) {
            scanned.fail(i, e.what());
            continue;
        }
        type.elements += result.elements;
        type.withoutDot.note(result.firstWithoutDot, result.withoutDot);
    }
    ui.setProgress(static_cast<long long>(reached), static_cast<long long>(size));
    if (ui.cancelRequested()) {
        throw ScanCancelled();
    }
    if (!scanned.anyLeft()) {
        throw scan::ReadFailed(scanned.types.front().type,
                               translate("ScanRun", "nothing left to read"));
    }
}

// Ends the output of every type still going, all at once: each output's sync waits for the
// disk, and the waits overlap instead of queueing. A failure counts in reading order.
void completeTypes(ScanTypes& scanned) {
    std::vector<std::optional<std::string>> failures(scanned.types.size());
    const auto complete = [&](std::size_t i) {
        try {
            scanned.types[i].sink->complete();
        } catch (const std::exception& e) {
            failures[i] = e.what();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < scanned.types.size() && !scanned.failed(i); ++i) {
            threads.emplace_back(complete, i);
        }
    }
    for (std::size_t i = 0; i < failures.size(); ++i) {
        if (failures[i]) {
            scanned.fail(i, *failures[i]);
            return;
        }
    }
}

// Reads the export once for every prepared type and finishes the types in reading order.
void readAndFinish(const Session& session, ScanTypes& scanned, std::vector<scan::TypePlan> plan,
                   scan::ExportScan& source, const scan::CabinetIndex& cabinets,
                   const ScanEnvironment& environment, UserInterface& ui, ScanReport& report) {
    if (!plan.empty()) {
        ui.setStatus(readingStatusText(scan::elementType(scanned.types.front().type)));
        ui.setCounting(true);
        ui.setProgress(0, 1);
        const scan::ElementParser parser(std::move(plan), cabinets,
                                         session.textEncoding().encoding);
        scan::PassSettings settings;
        settings.threads =
            environment.threads == 0 ? scan::defaultScanThreads() : environment.threads;
        if (environment.chunkBytes != 0) {
            settings.chunkBytes = environment.chunkBytes;
        }
        try {
            scan::readExportOnce(
                source, parser, settings,
                [&](scan::ChunkResult& chunk, std::uint64_t reached, std::uint64_t size) {
                    deliver(scanned, chunk, reached, size, ui);
                });
        } catch (const ScanCancelled&) {
            scanned.failAll(translate("ScanRun", "the scan was cancelled"));
            throw;
        } catch (const scan::ReadFailed&) {
            // Every type failed already; the first failure is the scan's.
        } catch (const std::exception& e) {
            scanned.failAll(e.what());
        }
    }
    completeTypes(scanned);
    for (std::size_t i = 0; i < scanned.types.size() && !scanned.failed(i); ++i) {
        ScannedType& type = scanned.types[i];
        const scan::ElementTypeInfo& info = scan::elementType(type.type);
        ui.setStatus(readingStatusText(info));
        type.withoutDot.reportTo(ui);
        try {
            type.sink->finish(type.elements);
        } catch (const scan::ReadFailed& e) {
            scanned.fail(i, e.what(), e.type());
            break;
        } catch (const std::exception& e) {
            scanned.fail(i, e.what());
            break;
        }
        report.written[scan::indexOf(type.type)] = type.elements;
        ++report.typesWritten;
    }
    scanned.throwFailure();
}

// The export's encoding is decided from its first bytes; should the rest of it tell otherwise,
// the outputs followed a decision the whole file would not have made, and the user is told
// how to make it.
void reportLateEncoding(const Session& session, const EncodingEvidence& whole, UserInterface& ui) {
    const ExportEncoding used = session.textEncoding();
    // The first bytes are the file's too (and all there is to go by when no type was read).
    EncodingEvidence file = session.exportEvidence;
    file.merge(whole);
    const ExportEncoding wanted = decideEncoding(session.options.textEncoding, file);
    // Only pages declare whether there is more than ASCII.
    const bool pagesDiffer = session.options.outputMode == options::OutputMode::HtmlReport &&
                             used.beyondAscii != wanted.beyondAscii;
    if (used.chosen || (used.encoding == wanted.encoding && !pagesDiffer)) {
        return;
    }
    const std::string name(encodingName(wanted.encoding));
    ui.inform(Message{std::string(kApplicationTitle),
                      "Beyond its first " + std::to_string(scan::kEncodingPrefixBytes >> 20) +
                          " MB the export holds text in " + name +
                          ", which its outputs were not written for. Set the text encoding to " +
                          name + " (General Options, or qorscan --encoding) and scan again.",
                      MessageIcon::Information});
}

// For a scan that ends without results: nothing open may pass for a result, and no folder it
// made is left empty to look like one. Its files and folders are closed first.
void abandon(std::unique_ptr<ScanOutput>& output, ScanFolders& folders) noexcept {
    if (output) {
        output->abandonScan();
        output.reset();
    }
    folders.output = {};
    folders.node.removeMadeFoldersIfEmpty();
}

}  // namespace

std::string readingStatusText(const scan::ElementTypeInfo& type) {
    return fillIn(translate("ScanRun", "Reading '%1' parameters..."),
                  {scan::shownStatisticsName(type)});
}

std::string htmlWritingStatusText(const scan::ElementTypeInfo& type) {
    return fillIn(translate("ScanRun", "Writing to HTML report files - '%1' elements..."),
                  {type.name});
}

ScanReport runScan(const Session& session, UserInterface& ui, const ScanEnvironment& environment) {
    // Some other file (a picture, random bytes) makes no result folder of empty pages.
    if (session.nodeInfo.notAnExport) {
        throw QorError(scan::notAnExportText(session.databasePath));
    }
    const auto started = std::chrono::steady_clock::now();
    const auto took = [started] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
    };
    // Taken before anything is written: every pass checks the export against it.
    scan::ExportScan source(session.databasePath);
    // Indexed once: every channel element of the scan looks its module up.
    const scan::CabinetIndex cabinets = session.options.applyCabinetLabels
                                            ? scan::CabinetIndex(session.cabinetLabels)
                                            : scan::CabinetIndex();
    // Everything below writes into these folders: when they cannot be made or another scan
    // is writing them, that one cause is the scan's error and nothing is written.
    ScanFolders folders = openResultFolders(session, environment.clock, environment.lock);
    ScanReport report{folders.node.folder().path(),
                      folders.output.path(),
                      folders.node.resultFolder(),
                      folders.nodeFolderName,
                      {}};
    std::unique_ptr<ScanOutput> output;
    try {
        output = makeScanOutput(session, folders.output, ui, environment.clock);
        output->beginScan();
        RunningScope running(ui);
        ScanTypes scanned;
        std::vector<scan::TypePlan> plan;
        prepareTypes(session, folders, *output, scanned, plan);
        if (ui.cancelRequested()) {
            throw ScanCancelled();  // a stop asked for while questions were answered
        }
        readAndFinish(session, scanned, std::move(plan), source, cabinets, environment, ui, report);
        running.close();
        output->endScan();
        reportLateEncoding(session, scanned.text, ui);
    } catch (const ScanCancelled&) {
        // Every type was still being read: none leaves anything, nor do the folders made for
        // them.
        abandon(output, folders);
        ui.setCounting(false);
        report.cancelled = true;
        report.elapsed = took();
        return report;
    } catch (...) {
        // Nothing open may pass for a result, whatever ended the scan, and no empty folder is
        // left to look like one; the error goes on.
        abandon(output, folders);
        ui.setCounting(false);
        throw;
    }
    source.reportCutLines(ui);
    ui.setLastingStatus(translate("ScanRun", "Convert Completed"));
    ui.setCounting(false);
    report.elapsed = took();
    return report;
}

}  // namespace qor::output
