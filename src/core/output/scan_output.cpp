#include "core/output/scan_output.h"

#include "core/output/csv_output.h"
#include "core/output/html_output.h"
#include "core/output/workbook_output.h"

namespace qor::output {
namespace {

class CsvOutput : public ScanOutput {
public:
    CsvOutput(UserInterface& ui, CsvValues values) : ui_(ui), values_(values) {}
    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType) override {
        return std::make_unique<output::CsvOutputFile>(ui_, values_, &answers_);
    }

private:
    UserInterface& ui_;
    CsvValues values_;
    ReplaceAnswers answers_{ui_};
};

// Reads and counts, writes nothing: no output chosen.
class NoOutput : public ScanOutput {
    class NullSink : public scan::ElementSink {
    public:
        bool begin(const scan::SinkContext&) override { return true; }
        void format(const scan::ElementRowView&, std::string&) const override {}
        void write(std::string_view) override {}
        void finish(long long) override {}
        std::string abandon() noexcept override { return {}; }
    };

public:
    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType) override {
        return std::make_unique<NullSink>();
    }
};

}  // namespace

std::unique_ptr<ScanOutput> makeScanOutput(const Session& session,
                                           const platform::FolderHandle& folder, UserInterface& ui,
                                           const Clock& clock) {
    switch (session.options.outputMode) {
        case options::OutputMode::CsvFilesOnly:
            return std::make_unique<CsvOutput>(
                ui, session.options.rawCsv ? CsvValues::Raw : CsvValues::Guarded);
        case options::OutputMode::HtmlReport:
            return makeHtmlOutput(session, folder, ui);
        case options::OutputMode::ExcelFilesOnly:
            return makeWorkbookOutput(session, folder, ui, clock);
        case options::OutputMode::None:
            break;
    }
    return std::make_unique<NoOutput>();
}

}  // namespace qor::output
