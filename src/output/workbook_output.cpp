#include "output/workbook_output.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <optional>
#include <thread>

#include "core/standard_error.h"
#include "core/strings.h"
#include "options/column_data.h"
#include "platform/file_system.h"
#include "platform/path_names.h"

namespace qor::output {
namespace {

namespace xl = platform::xl;
using platform::SpreadsheetError;

constexpr std::string_view kModule = "PasteXL";
constexpr std::string_view kCreatedWith = "Created with .QOR Reader";
constexpr int kHeadingRowFill = 37;
constexpr int kCreatedRowFill = 15;
constexpr int kColumnHeadingFill = 6;
constexpr int kHeaderRow = 3;
constexpr long long kFirstElementRow = 4;
constexpr std::size_t kMaxHeadingIndex = 11;  // columns A to L

// The error number a failure reports, as the application would give it.
int currentErrorNumber() {
    try {
        throw;
    } catch (const SpreadsheetError& e) {
        return e.number();
    } catch (const std::bad_alloc&) {
        return 7;
    } catch (...) {
        return SpreadsheetError::kObjectDefined;
    }
}

// Runs a step whose refusal by the spreadsheet is reported as the procedure's standard error
// message; anything else goes to the caller.
template <typename Step>
void reportRefusal(UserInterface& ui, std::string_view module, std::string_view procedure,
                   Step&& step, SourceLocation where = SourceLocation::current()) {
    try {
        step();
    } catch (const SpreadsheetError& e) {
        reportStandardError(ui, module, procedure, e.what(), where);
    }
}

// EndExcel's handler adds the error number after the standard text and goes on. Called
// inside a catch block.
StandardError endError(SourceLocation where) {
    return StandardError{describeCurrentException(), std::string(kModule), "EndExcel",
                         static_cast<long>(where.line()),
                         "Numer bledu " + std::to_string(currentErrorNumber())};
}

template <typename Step>
void endStep(UserInterface& ui, Step&& step, SourceLocation where = SourceLocation::current()) {
    try {
        step();
    } catch (...) {
        ui.reportError(endError(where));
    }
}

// Saves finished per-type workbooks on worker threads while the scan reads on: saving
// (compressing, above all) costs several times what reading does. A worker owns its workbook
// outright and never touches the user interface; its failures are reported on the scan's
// thread at the next save or when the scan waits for the last ones.
class WorkbookSaver {
public:
    explicit WorkbookSaver(UserInterface& ui) : ui_(ui) {}
    ~WorkbookSaver() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();  // a worker finishes the saves handed to it before it stops
        }
    }
    WorkbookSaver(const WorkbookSaver&) = delete;
    WorkbookSaver& operator=(const WorkbookSaver&) = delete;

    // Hands over a workbook whose question has been asked. Waits while every worker is busy,
    // so that no more than a few filled workbooks are held at once. A save that failed ends
    // the scan here (QorError): the cause, a full disk say, would fail every later one too.
    void save(std::unique_ptr<PasteXL> excel, std::string fileName) {
        waitUntil([this] { return queue_.empty() && busy_ < kWorkers; });
        throwFirstFailure();
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(Job{std::move(excel), std::move(fileName)});
            if (workers_.size() < kWorkers) {
                workers_.emplace_back([this] { work(); });
            }
        }
        changed_.notify_all();
    }

    // Waits for every save; a failed one throws QorError with its description.
    void drain() {
        waitUntil([this] { return queue_.empty() && busy_ == 0; });
        throwFirstFailure();
    }

private:
    static constexpr std::size_t kWorkers = 2;

    struct Job {
        std::unique_ptr<PasteXL> excel;
        std::string fileName;
    };

    // Waits on the scan's thread, letting the event loop breathe meanwhile.
    template <typename Ready>
    void waitUntil(Ready ready) {
        std::unique_lock lock(mutex_);
        while (!changed_.wait_for(lock, std::chrono::milliseconds(40), ready)) {
            lock.unlock();
            ui_.yield();
            lock.lock();
        }
    }

    // One cause, one message: saves that failed after the first are not reported again.
    void throwFirstFailure() {
        std::vector<StandardError> failures;
        {
            const std::lock_guard lock(mutex_);
            failures.swap(failures_);
        }
        if (!failures.empty()) {
            throw QorError(failures.front().description);
        }
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
            if (queue_.empty()) {
                return;
            }
            Job job = std::move(queue_.front());
            queue_.pop_front();
            ++busy_;
            lock.unlock();
            std::vector<StandardError> failures = job.excel->EndExcelSave(job.fileName);
            job.excel.reset();
            lock.lock();
            failures_.insert(failures_.end(), failures.begin(), failures.end());
            --busy_;
            changed_.notify_all();
        }
    }

    UserInterface& ui_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> queue_;
    std::size_t busy_ = 0;
    bool stopping_ = false;
    std::vector<StandardError> failures_;
    std::vector<std::thread> workers_;
};

// The element sink of the workbook output: one sheet per element type, in a workbook of its
// own (`shared` null) or in the scan's one workbook.
class WorkbookSink : public scan::ElementSink {
public:
    WorkbookSink(const Session& session, UserInterface& ui, std::time_t created, PasteXL* shared,
                 WorkbookSaver* saver = nullptr)
        : ui_(ui),
          saver_(saver),
          own_(shared == nullptr
                   ? std::make_unique<PasteXL>(ui, SystemStatusText(session.nodeInfo), created)
                   : nullptr),
          excel_(shared == nullptr ? own_.get() : shared) {}

    bool begin(const scan::SinkContext& context) override {
        columns_ = &context.columns;
        lastIndex_ = static_cast<int>(context.columns.size()) - 1;
        labelled_ = context.labelled;
        fileName_ =
            platform::joinPath(context.outputFolder, workbookFileNamePart(context.baseName));
        statusBarText_ = std::string(loadString(own_ ? str::kConvertingToExcelSheets
                                                     : str::kConvertingToOneExcelFile)) +
                         std::string(loadString(context.type.typeTextId)) +
                         std::string(loadString(str::kElementsEllipsis));
        if (own_) {
            own_->InitExcel();
        } else {
            excel_->AddWorksheet();
            reportRefusal(ui_, context.type.readerModule, "ReadElements",
                          [&] { excel_->NameActiveSheet(context.type.title); });
        }
        excel_->PrepareSheet(context.columnCount);
        nextRow_ = kFirstElementRow;
        return true;
    }

    void write(const scan::ElementRow& row) override {
        if (!statusShown_) {
            ui_.setStatusBarText(statusBarText_);  // the same text for every row of the type
            statusShown_ = true;
        }
        if (nextRow_ > platform::kMaxRows) {
            if (!full_) {
                full_ = true;
                reportStandardError(ui_, kModule, "PasteToExcel",
                                    "The worksheet is full at row " +
                                        std::to_string(platform::kMaxRows) +
                                        ": the following elements of the type are not in it");
            }
            return;
        }
        excel_->PasteToExcel(row, nextRow_, *columns_, lastIndex_, labelled_);
        ++nextRow_;
    }

    void finish(long long /*writtenCount*/) override {
        if (!own_) {
            return;
        }
        if (saver_ == nullptr) {
            own_->EndExcel(fileName_);
        } else if (own_->EndExcelQuestion(fileName_)) {
            saver_->save(std::move(own_), fileName_);
        }
    }

    std::string abandon() noexcept override {
        if (own_) {
            own_->QuitWithoutSaving();
            return {};
        }
        return saver_ != nullptr ? std::string() : "The workbook of this scan is not saved.";
    }

private:
    UserInterface& ui_;
    WorkbookSaver* saver_;
    std::unique_ptr<PasteXL> own_;
    PasteXL* excel_;
    const std::vector<std::string>* columns_ = nullptr;
    int lastIndex_ = 0;
    bool labelled_ = false;
    long long nextRow_ = kFirstElementRow;
    std::string fileName_;
    std::string statusBarText_;
    bool statusShown_ = false;
    bool full_ = false;
};

class PerTypeWorkbooks : public ScanOutput {
public:
    PerTypeWorkbooks(Session& session, UserInterface& ui, std::time_t created)
        : session_(session), ui_(ui), created_(created) {}
    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType) override {
        return std::make_unique<WorkbookSink>(session_, ui_, created_, nullptr, &saver_);
    }
    void endScan() override { saver_.drain(); }
    void abandonScan() noexcept override {
        // The types read before the failure are complete: their saves finish. Should one of
        // them fail too, the scan's own error is the one the user hears of.
        try {
            saver_.drain();
        } catch (const std::exception&) {
        }
    }

private:
    Session& session_;
    UserInterface& ui_;
    const std::time_t created_;
    WorkbookSaver saver_{ui_};
};

class OneWorkbook : public ScanOutput {
public:
    OneWorkbook(Session& session, UserInterface& ui, std::time_t created)
        : session_(session),
          ui_(ui),
          created_(created),
          excel_(ui, SystemStatusText(session.nodeInfo), created) {}

    void beginScan() override { excel_.InitExcel(); }
    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType) override {
        return std::make_unique<WorkbookSink>(session_, ui_, created_, &excel_);
    }
    void endScan() override {
        excel_.EndExcel(platform::joinPath(
            session_.scan.outputFolder, workbookFileNamePart("Node" + session_.nodeInfo.nodeNumber +
                                                             "_" + session_.scan.startDateStamp)));
    }
    void abandonScan() noexcept override { excel_.QuitWithoutSaving(); }

private:
    Session& session_;
    UserInterface& ui_;
    const std::time_t created_;
    PasteXL excel_;
};

}  // namespace

std::unique_ptr<ScanOutput> makeWorkbookOutput(Session& session, UserInterface& ui,
                                               const Clock& clock) {
    const std::time_t created = toTimeT(clock.now());
    if (session.options.writesOneWorkbook()) {
        return std::make_unique<OneWorkbook>(session, ui, created);
    }
    return std::make_unique<PerTypeWorkbooks>(session, ui, created);
}

std::string workbookFileNamePart(std::string_view text) {
    std::string name = platform::safeFileNamePart(text);
    for (char& c : name) {
        if (c == '[' || c == ']') {
            c = '_';
        }
    }
    return name;
}

ExcelInstallation ExcelInstalled(UserInterface& ui) {
    ExcelInstallation found;
    runStep(ui, kModule, "ExcelInstalled", [&] {
        found.version = platform::spreadsheetWriterVersion();
        found.installed = true;
    });
    return found;
}

std::string ReturnColumn(int column) {
    if (column < 1 || column > 17) {
        return {};
    }
    return std::string(1, static_cast<char>('A' + column - 1));
}

std::string SystemStatusText(const scan::NodeInfo& node) {
    return std::string(loadString(str::kSystemStatusAt)) + node.generationDate +
           std::string(loadString(str::kDateOfGeneratingNode)) + node.nodeNumber + " )";
}

// PasteXL ------------------------------------------------------------------------------------

PasteXL::PasteXL(UserInterface& ui, std::string systemStatusText, std::time_t created)
    : ui_(ui), systemStatusText_(std::move(systemStatusText)), created_(created) {}

PasteXL::~PasteXL() {
    QuitWithoutSaving();
}

platform::Spreadsheet& PasteXL::application() const {
    if (excel_ == nullptr || !excel_->running()) {
        throw SpreadsheetError("Object variable not set: the spreadsheet is not running", 91);
    }
    return *excel_;
}

platform::Workbook& PasteXL::activeWorkbook() const {
    if (workbook_ == nullptr) {
        throw SpreadsheetError("Object variable not set: there is no workbook", 91);
    }
    return *workbook_;
}

void PasteXL::InitExcel() {
    release();  // a new instance each time, as the application gives one
    try {
        excel_ = std::make_unique<platform::Spreadsheet>(ui_);
        excel_->setCreationTime(created_);
    } catch (...) {
        // Starting fails silently; the steps below report what it leaves undone.
    }
    runStep(ui_, kModule, "InitExcel", [&] { workbook_ = &application().addWorkbook(); });
    runStep(ui_, kModule, "InitExcel", [&] { application().setDisplayAlerts(false); });
    runStep(ui_, kModule, "InitExcel", [&] { application().setUserControl(false); });
    runStep(ui_, kModule, "InitExcel", [&] { activeWorkbook().deleteWorksheet(3); });
    runStep(ui_, kModule, "InitExcel", [&] { activeWorkbook().deleteWorksheet(2); });
}

void PasteXL::formatHeading(const platform::Range& range, int horizontal, bool merge) {
    for (const int index : {xl::kEdgeLeft, xl::kEdgeRight, xl::kInsideVertical}) {
        range.borders(index).setLineStyle(xl::kContinuous);
        range.borders(index).setWeight(xl::kMedium);
        range.borders(index).setColorIndex(xl::kColorIndexAutomatic);
    }
    range.setHorizontalAlignment(horizontal);
    range.setVerticalAlignment(xl::kVAlignBottom);
    range.setWrapText(false);
    range.setOrientation(0);
    range.setShrinkToFit(false);
    range.setMergeCells(merge);
    range.font().setBold(true);
}

void PasteXL::PrepareSheet(int columnCount) {
    worksheet_ = &activeWorkbook().activeSheet();
    headedSheet_ = nullptr;
    platform::Worksheet& sheet = *worksheet_;
    const struct {
        std::string address;
        int horizontal;
        bool merge;
        std::string_view text;
        int fill;
    } headings[] = {
        {"A1:E1", xl::kHAlignLeft, true, systemStatusText_, kHeadingRowFill},
        {"A2:E2", xl::kHAlignLeft, true, kCreatedWith, kCreatedRowFill},
        {"A3:" + ReturnColumn(columnCount) + "3", xl::kHAlignCenter, false, {}, kColumnHeadingFill},
    };
    for (const auto& heading : headings) {
        std::optional<platform::Range> range;
        reportRefusal(ui_, kModule, "PrepareSheet", [&] { range = sheet.range(heading.address); });
        if (!range) {
            continue;
        }
        // A refused text leaves the heading formatted all the same.
        reportRefusal(ui_, kModule, "PrepareSheet",
                      [&] { formatHeading(*range, heading.horizontal, heading.merge); });
        if (heading.merge) {
            reportRefusal(ui_, kModule, "PrepareSheet",
                          [&] { range->setFormulaR1C1(heading.text); });
        }
        reportRefusal(ui_, kModule, "PrepareSheet", [&] {
            range->interior().setColorIndex(heading.fill);
            range->interior().setPattern(xl::kPatternSolid);
        });
    }
    sheet.rows("2:2").select();
    sheet.setStandardWidth(15);
    sheet.range("A1").select();
}

void PasteXL::pasteCell(platform::Worksheet& sheet, long long row, int column,
                        std::string_view text, SourceLocation where) {
    try {
        sheet.cells(row, column).setValue(text);
    } catch (...) {
        reportStandardError(ui_, kModule, "PasteToExcel", describeCurrentException(), where);
    }
}

void PasteXL::PasteToExcel(const scan::ElementRow& row, long long sheetRow,
                           const std::vector<std::string>& columns, int lastIndex,
                           bool channelRow) {
    try {
        worksheet_ = &activeWorkbook().activeSheet();
    } catch (...) {
        reportStandardError(ui_, kModule, "PasteToExcel", describeCurrentException());
        return;  // nowhere to paste
    }
    platform::Worksheet& sheet = *worksheet_;
    if (headedSheet_ != &sheet || columns != pastedColumns_ ||
        static_cast<int>(headings_.size()) != lastIndex + 1) {
        pastedColumns_ = columns;
        headings_ = options::RemoveCommas(columns);
        headings_.resize(static_cast<std::size_t>(std::max(lastIndex + 1, 0)));
        headedSheet_ = &sheet;
        for (std::size_t i = 0; i < headings_.size(); ++i) {
            if (i > kMaxHeadingIndex) {
                reportStandardError(ui_, kModule, "PasteToExcel",
                                    "Heading " + std::to_string(i) +
                                        " has no column: the sheet takes the columns A to L");
                break;
            }
            pasteCell(sheet, kHeaderRow, static_cast<int>(i) + 1, headings_[i]);
        }
    }
    int column = 1;
    if (channelRow) {
        pasteCell(sheet, sheetRow, column++, row[scan::kCabinetSlot]);
        pasteCell(sheet, sheetRow, column++, row[scan::kModuleSlot]);
    }
    for (std::size_t slot = scan::kDesignationSlot; slot <= 10; ++slot) {
        pasteCell(sheet, sheetRow, column++, row[slot]);
    }
}

void PasteXL::EndExcel(const std::string& fileName) {
    if (EndExcelQuestion(fileName)) {
        for (const StandardError& error : EndExcelSave(fileName)) {
            ui_.reportError(error);
        }
    }
}

bool PasteXL::EndExcelQuestion(const std::string& fileName) {
    endStep(ui_, [&] { application().setDisplayAlerts(true); });
    // The question is where saving starts: when it cannot be asked (a name the spreadsheet
    // refuses, say) saving has failed and is reported once.
    bool replace = false;
    endStep(ui_, [&] { replace = activeWorkbook().confirmReplace(fileName); });
    if (!replace) {
        endStep(ui_, [&] { application().setScreenUpdating(true); });
        endStep(ui_, [&] { activeWorkbook().close(); });
        endStep(ui_, [&] { application().quit(); });
        release();
    }
    return replace;
}

std::vector<StandardError> PasteXL::EndExcelSave(const std::string& fileName) noexcept {
    std::vector<StandardError> errors;
    const auto step = [&](auto&& action, SourceLocation where = SourceLocation::current()) {
        try {
            action();
        } catch (...) {
            try {
                errors.push_back(endError(where));
            } catch (...) {
                // Out of memory while describing a failure: nothing more can be said.
            }
        }
    };
    step([&] { activeWorkbook().writeAs(fileName); });
    step([&] { application().setScreenUpdating(true); });
    step([&] { activeWorkbook().close(); });
    step([&] { application().quit(); });
    release();
    return errors;
}

void PasteXL::AddWorksheet() {
    worksheet_ = &application().activeWorkbook().addWorksheet();
}

void PasteXL::NameActiveSheet(std::string_view name) {
    application().activeSheet().setName(name);
}

bool PasteXL::QuitWithoutSaving() noexcept {
    const bool wasRunning = running();
    release();
    return wasRunning;
}

void PasteXL::release() noexcept {
    if (excel_ != nullptr && excel_->running()) {
        excel_->setDisplayAlerts(false);
        excel_->quit();
    }
    excel_.reset();
    workbook_ = nullptr;
    worksheet_ = nullptr;
    headedSheet_ = nullptr;
    pastedColumns_.clear();
    headings_.clear();
}

}  // namespace qor::output
