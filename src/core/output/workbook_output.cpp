#include "core/output/workbook_output.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/output/batch_strand.h"
#include "core/output/deferred_reports.h"
#include "core/output/workbook_saver.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"

namespace qor::output {
namespace {

// The cells a sheet takes of an element: the cabinet labels and slots 1 to 10.
constexpr std::array<std::size_t, 12> kPackedSlots{
    scan::kCabinetSlot, scan::kModuleSlot, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

// The element sink of the workbook output: one sheet per element type, in a workbook of its
// own (`shared` null) or in the scan's one workbook. A workbook of its own is filled on a
// thread of its own, beside the other types' (writing cells costs far more than reading them);
// its error reports wait for the type's turn to finish. The sheets of the one workbook share
// its formats, so they are filled on the scan's thread.
class WorkbookSink : public scan::ElementSink {
public:
    WorkbookSink(const Session& session, UserInterface& ui, std::time_t created,
                 scan::ElementType type, ElementWorkbook* shared, std::size_t sheet,
                 WorkbookSaver* saver, ReplaceAnswers* answers = nullptr)
        : ui_(ui),
          saver_(saver),
          answers_(answers),
          reports_(ui),
          type_(type),
          own_(shared == nullptr ? std::make_unique<ElementWorkbook>(
                                       reports_, systemStatusText(session.nodeInfo), created,
                                       std::string(scan::elementType(type).name) + " workbook",
                                       session.textEncoding())
                                 : nullptr),
          workbook_(shared == nullptr ? own_.get() : shared),
          sheet_(sheet) {}

    bool begin(const scan::SinkContext& context) override {
        columns_ = &context.columns;
        labelled_ = context.labelled;
        lastingStatus_ = workbookWritingStatusText(context.type, own_ == nullptr);
        if (own_) {
            // Asked before anything is read, like every other question of a scan.
            const bool chosen = own_->askToReplace(
                context.outputFolder.pathOf(workbookFileNamePart(context.baseName)),
                "  :  " + scan::shownTitle(context.type), answers_);
            reports_.deliver();
            if (!chosen) {
                return false;
            }
            own_->start(context.outputFolder, {"Sheet1"});
        }
        workbook_->prepareSheet(sheet_, context.columnCount, context.type.name);
        reports_.deliver();
        if (own_) {
            strand_ = std::make_unique<BatchStrand>([this](std::string_view rows) { add(rows); });
        }
        return true;
    }

    // An element goes to the scan's writing thread as its cells' bytes, each after its length.
    void format(const scan::ElementRowView& row, std::string& out) const override {
        const auto cell = [&out](std::string_view text) {
            const auto length = static_cast<std::uint32_t>(text.size());
            out.append(reinterpret_cast<const char*>(&length), sizeof length);
            out.append(text);
        };
        for (const std::size_t slot : kPackedSlots) {
            cell(row[slot]);
        }
    }

    void write(std::string_view formatted) override {
        if (!statusShown_ && !formatted.empty()) {
            ui_.setLastingStatus(lastingStatus_);  // the same text for every row of the type
            statusShown_ = true;
        }
        if (strand_) {
            strand_->push(formatted);
        } else {
            add(formatted);
        }
    }

    void complete() override {
        if (strand_) {
            strand_->drain();
        }
    }

    void finish(long long /*writtenCount*/) override {
        complete();
        reports_.deliver();
        if (own_) {
            saver_->save(std::move(own_), type_);
        }
    }

    std::string abandon() noexcept override {
        strand_.reset();
        if (saver_ == nullptr) {
            return translate("ScanRun", "The workbook of this scan is not saved.");
        }
        if (own_) {
            own_->discard();
        }
        return {};
    }

private:
    void add(std::string_view formatted) {
        scan::ElementRowView row{};
        while (!formatted.empty()) {
            for (const std::size_t slot : kPackedSlots) {
                std::uint32_t length = 0;
                std::memcpy(&length, formatted.data(), sizeof length);
                row[slot] = formatted.substr(sizeof length, length);
                formatted.remove_prefix(sizeof length + length);
            }
            workbook_->addRow(sheet_, row, *columns_, labelled_);
        }
    }

    UserInterface& ui_;
    WorkbookSaver* saver_;
    ReplaceAnswers* answers_;  // the scan's overwrite questions, for a workbook of its own
    DeferredReports reports_;
    const scan::ElementType type_;
    std::unique_ptr<ElementWorkbook> own_;
    ElementWorkbook* workbook_;
    const std::size_t sheet_;
    const std::vector<std::string>* columns_ = nullptr;
    bool labelled_ = false;
    std::string lastingStatus_;
    bool statusShown_ = false;
    std::unique_ptr<BatchStrand> strand_;  // last: stops before the workbook goes
};

class PerTypeWorkbooks : public ScanOutput {
public:
    PerTypeWorkbooks(const Session& session, UserInterface& ui, std::time_t created)
        : session_(session), ui_(ui), created_(created) {}
    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType type) override {
        return std::make_unique<WorkbookSink>(session_, ui_, created_, type, nullptr, 0, &saver_,
                                              &answers_);
    }
    void endScan() override {
        // Saving takes longer than reading did: the last reading text would be stale.
        ui_.setStatus(translate("ScanRun", "Saving the Excel files..."));
        saver_.drain();
    }
    void abandonScan() noexcept override {
        // The types read before the failure are complete: their saves finish. Should one of
        // them fail too, the scan's own error is the one the user hears of.
        try {
            saver_.drain();
        } catch (const std::exception&) {
        }
    }

private:
    const Session& session_;
    UserInterface& ui_;
    const std::time_t created_;
    WorkbookSaver saver_;
    ReplaceAnswers answers_{ui_};
};

class OneWorkbook : public ScanOutput {
public:
    OneWorkbook(const Session& session, const platform::FolderHandle& folder, UserInterface& ui,
                std::time_t created)
        : session_(session),
          folder_(folder),
          ui_(ui),
          created_(created),
          workbook_(ui, systemStatusText(session.nodeInfo), created, "workbook",
                    session.textEncoding()) {}

    // A sheet per enabled type, in reading order. The file keeps its sheets in the order they
    // are made, so all are made now (the scan reads exactly the enabled types, in reading
    // order), and each type's rows stream into its own.
    void beginScan() override {
        std::vector<std::string> names;
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            if (session_.options.of(info.type).enabled) {
                sheetOf_[scan::indexOf(info.type)] = names.size();
                names.emplace_back(info.title);
            }
        }
        if (names.empty()) {
            names.emplace_back("Sheet1");  // a workbook holds at least one sheet
        }
        // The question comes before anything is read; a kept workbook is not written at all.
        chosen_ = workbook_.askToReplace(folder_.pathOf(workbookFileNamePart(
            "Node" + session_.nodeInfo.nodeNumber + "_" + session_.startDateStamp)));
        if (chosen_) {
            workbook_.start(folder_, names);
        }
    }
    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType type) override {
        return std::make_unique<WorkbookSink>(session_, ui_, created_, type, &workbook_,
                                              sheetOf_[scan::indexOf(type)], nullptr);
    }
    void endScan() override {
        if (!chosen_) {
            return;
        }
        ui_.setStatus(translate("ScanRun", "Saving the Excel file..."));
        if (const std::optional<StandardError> failure = workbook_.save()) {
            ui_.reportError(*failure);
        }
    }
    void abandonScan() noexcept override { workbook_.discard(); }

private:
    const Session& session_;
    const platform::FolderHandle folder_;
    UserInterface& ui_;
    const std::time_t created_;
    ElementWorkbook workbook_;
    bool chosen_ = false;
    std::array<std::size_t, scan::kElementTypeCount> sheetOf_{};
};

}  // namespace

std::unique_ptr<ScanOutput> makeWorkbookOutput(const Session& session,
                                               const platform::FolderHandle& folder,
                                               UserInterface& ui, const Clock& clock) {
    const std::time_t created = toTimeT(clock.now());
    if (session.options.writesOneWorkbook()) {
        return std::make_unique<OneWorkbook>(session, folder, ui, created);
    }
    return std::make_unique<PerTypeWorkbooks>(session, ui, created);
}

std::string workbookWritingStatusText(const scan::ElementTypeInfo& type, bool oneWorkbook) {
    return fillIn(
        oneWorkbook ? translate("ScanRun", "Converting to one Excel file - '%1' elements...")
                    : translate("ScanRun", "Converting to Excel (sheets) files - '%1' elements..."),
        {type.name});
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

std::string systemStatusText(const scan::NodeInfo& node) {
    // A line of the workbooks: English, as every file the scan writes.
    return "System status at:  " + node.generationDate + " ( date of generating *.ba file, Node" +
           node.nodeNumber + " )";
}

}  // namespace qor::output
