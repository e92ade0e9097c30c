#include "output/scan_run.h"

#include <memory>

#include "core/qor_error.h"
#include "core/standard_error.h"
#include "core/strings.h"
#include "output/result_folder.h"
#include "scan/csv_result_file.h"
#include "scan/element_reader.h"

namespace qor::output {
namespace {

// Reads and counts, writes nothing: no output chosen.
class NoOutput : public scan::ElementSink {
public:
    bool begin(const scan::SinkContext&) override { return true; }
    void write(const scan::ElementRow&) override {}
    void finish(long long) override {}
    std::string abandon() noexcept override { return {}; }
};

std::unique_ptr<scan::ElementSink> makeSink(const Session& session, UserInterface& ui) {
    switch (session.options.outputMode) {
        case options::OutputMode::CsvFilesOnly:
            return std::make_unique<scan::CsvResultFile>(ui);
        case options::OutputMode::HtmlReport:
        case options::OutputMode::ExcelFilesOnly:
            throw QorError("This output is not available yet");
        case options::OutputMode::None:
            break;
    }
    return std::make_unique<NoOutput>();
}

// Ends the progress display whichever way the scan ends.
class ProgressWindowScope {
public:
    explicit ProgressWindowScope(UserInterface& ui) : ui_(ui) { ui_.showProgressWindow(true); }
    ~ProgressWindowScope() { close(); }
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

void readType(Session& session, scan::ElementType type, UserInterface& ui) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    ui.setStatus(loadString(info.readingStatusId));
    const scan::ReaderInput input{session.databasePath,
                                  session.nodeInfo.nodeNumber,
                                  session.scan.outputFolder,
                                  session.scan.startDateStamp,
                                  session.options.of(type),
                                  session.options.applyCabinetLabels,
                                  session.cabinetLabels};
    const std::unique_ptr<scan::ElementSink> sink = makeSink(session, ui);
    const auto written =
        scan::ReadElements(type, input, session.columns[scan::indexOf(type)], *sink, ui);
    if (written) {
        session.resultOf(type).writtenCount = *written;
    }
}

}  // namespace

ScanOutcome RunScan(Session& session, UserInterface& ui, const Clock& clock) {
    CreateFolder(session, clock, ui);
    try {
        ProgressWindowScope progressWindow(ui);
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            if (session.options.of(info.type).enabled) {
                readType(session, info.type, ui);
            }
        }
        progressWindow.close();
    } catch (...) {
        ui.showProgressBar(false);
        throw;
    }
    ui.setStatusBarText(loadString(str::kConvertCompleted));
    ui.showProgressBar(false);
    return ScanOutcome::Completed;
}

}  // namespace qor::output
