#include "core/output/html_output.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/base/standard_error.h"
#include "core/output/csv_output.h"
#include "core/output/html_report.h"
#include "core/output/index_links.h"
#include "core/output/scan_run.h"
#include "core/scan/element_types.h"

namespace qor::output {
namespace {

constexpr std::size_t kMaxPageBytes = std::size_t{1} << 30;

// The element page of one type.
class HtmlPageSink : public scan::ElementSink {
public:
    // `indexLinkLine` receives the type's line on the index page once the page is finished.
    HtmlPageSink(const Session& session, UserInterface& ui, ReplaceAnswers& answers,
                 std::string& indexLinkLine)
        : session_(session), ui_(ui), answers_(answers), indexLinkLine_(indexLinkLine) {}

    bool begin(const scan::SinkContext& context) override {
        fileName_ = context.baseName + ".html";
        title_ = context.type.title;
        const auto placement =
            askBeforeReplacing(context.outputFolder, fileName_, ReplaceQuestion::FileAndReportPages,
                               "  :  " + scan::shownTitle(context.type), ui_, &answers_);
        if (!placement) {
            return false;
        }
        placement_ = *placement;
        labelled_ = context.labelled;
        page_.emplace(session_.nodeInfo, context.columnCount - 1, context.columns,
                      context.type.pageTitle,
                      session_.textEncoding().declaredCharset().value_or("iso-8859-2"));
        page_->open(context.outputFolder, fileName_);
        status_ = htmlWritingStatusText(context.type);
        return true;
    }

    void format(const scan::ElementRowView& row, std::string& out) const override {
        page_->appendRow(row, labelled_, out);
    }

    void write(std::string_view formatted) override {
        if (!statusShown_ && !formatted.empty()) {
            ui_.setStatus(status_);  // the same text for every row of the type
            statusShown_ = true;
        }
        page_->write(formatted);
    }

    void complete() override { page_->end(); }

    void finish(long long writtenCount) override {
        page_->close(placement_);
        indexLinkLine_ = buildIndexLinkLine(fileName_, title_, writtenCount);
    }

    std::string abandon() noexcept override {
        if (page_) {
            page_->discard();
        }
        return {};
    }

private:
    const Session& session_;
    UserInterface& ui_;
    ReplaceAnswers& answers_;
    std::string& indexLinkLine_;
    std::optional<HtmlElementPage> page_;
    std::string fileName_;
    std::string title_;
    std::string status_;
    platform::Placement placement_ = platform::Placement::New;
    bool labelled_ = false;
    bool statusShown_ = false;
};

class HtmlOutput : public ScanOutput {
public:
    HtmlOutput(const Session& session, const platform::FolderHandle& folder, UserInterface& ui)
        : session_(session), folder_(folder), ui_(ui) {}

    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType type) override {
        return std::make_unique<HtmlPageSink>(session_, ui_, answers_,
                                              indexLinkLines_[scan::indexOf(type)]);
    }

    void endScan() override {
        if (anyPageWritten()) {
            writeFramePages();
        }
    }

    void abandonScan() noexcept override {
        // Pages finished before the failure replaced earlier ones: the index must show them.
        // The scan's own error is what the user is told; should these pages fail as well (the
        // same full disk, say), the earlier index, preview and empty pages stay as they were.
        try {
            if (anyPageWritten()) {
                writeFramePages(/*reportFailures=*/false);
            }
        } catch (const std::exception&) {
        }
    }

private:
    bool anyPageWritten() const {
        return std::any_of(indexLinkLines_.begin(), indexLinkLines_.end(),
                           [](const std::string& line) { return !line.empty(); });
    }

    // The index links every element page in the folder with the text it had: a page kept at
    // the user's word keeps the line of the index being replaced.
    std::array<std::string, scan::kElementTypeCount> currentLinkLines(
        const platform::FolderHandle& folder) {
        const std::optional<std::string> oldIndex =
            folder.readRegularFile("index.html", kMaxPageBytes);
        std::array<std::string, scan::kElementTypeCount> lines;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const scan::ElementTypeInfo& info = scan::elementType(scan::indexOrder()[i]);
            std::string& line = indexLinkLines_[scan::indexOf(info.type)];
            if (line.empty()) {
                line = keptPageLine(folder, info, oldIndex);
            }
            lines[i] = line;
        }
        return lines;
    }

    std::string keptPageLine(const platform::FolderHandle& folder,
                             const scan::ElementTypeInfo& info,
                             const std::optional<std::string>& oldIndex) {
        const std::string fileName =
            scan::elementFileBaseName(info, session_.nodeInfo.nodeNumber, session_.startDateStamp) +
            ".html";
        if (oldIndex) {
            if (auto line = findIndexLinkLine(*oldIndex, fileName)) {
                if (folder.holdsRegularFile(fileName)) {
                    return *line;
                }
            }
        }
        if (const auto page = folder.readRegularFile(fileName, kMaxPageBytes)) {
            return buildIndexLinkLine(fileName, info.title, countElementPageRows(*page));
        }
        return {};
    }

    void writeFramePages(bool reportFailures = true) {
        const platform::FolderHandle& folder = folder_;
        const auto linkLines = currentLinkLines(folder);
        const auto step = [&](std::string_view procedure, auto&& write) {
            if (!reportFailures) {
                write();
                return true;
            }
            return runStep(ui_, "HTMLReport", procedure, write);
        };
        // One failure is reported once: the pages after it are not tried.
        step("CreateIndexPage",
             [&] {
                 writeIndexPage(folder, session_.nodeInfo, linkLines,
                                session_.textEncoding().declaredCharset().value_or(""));
             }) &&
            step("CreatePreviewPage", [&] { writeFramesetPage(folder); }) &&
            step("CreateEmptyPage", [&] { writeEmptyPage(folder); });
    }

    const Session& session_;
    const platform::FolderHandle folder_;
    UserInterface& ui_;
    ReplaceAnswers answers_{ui_};
    // Each type's line on the index page, for the pages this scan wrote.
    std::array<std::string, scan::kElementTypeCount> indexLinkLines_;
};

}  // namespace

std::unique_ptr<ScanOutput> makeHtmlOutput(const Session& session,
                                           const platform::FolderHandle& folder,
                                           UserInterface& ui) {
    return std::make_unique<HtmlOutput>(session, folder, ui);
}

}  // namespace qor::output
