#include "core/output/html_output.h"

#include "core/base/standard_error.h"
#include "core/base/strings.h"
#include "core/output/csv_output.h"
#include "core/output/html_report.h"
#include "core/output/index_links.h"
#include "core/platform/file_system.h"
#include "core/scan/element_reader.h"

namespace qor::output {
namespace {

constexpr std::size_t kMaxPageBytes = std::size_t{1} << 30;

// The element page of one type, written through the report shared by the whole scan.
class HtmlElementPage : public scan::ElementSink {
public:
    HtmlElementPage(scan::ElementType type, HtmlReport& report, Session& session, UserInterface& ui)
        : type_(type), report_(report), session_(session), ui_(ui) {}

    bool begin(const scan::SinkContext& context) override {
        fileName_ = context.baseName + ".html";
        path_ = platform::joinPath(context.outputFolder, fileName_);
        title_ = context.type.title;
        const auto placement =
            output::askBeforeReplacing(path_, str::kReplaceHtmlAndRelated, "  :  " + title_, ui_);
        if (!placement) {
            return false;
        }
        placement_ = *placement;
        highestColumn_ = context.columnCount - 1;
        labelled_ = context.labelled;
        report_.preparePage(highestColumn_, context.columns, context.type.pageTitle);
        report_.openPage(highestColumn_, path_);
        status_ = std::string(loadString(str::kWritingHtmlReport)) +
                  std::string(loadString(context.type.typeTextId)) +
                  std::string(loadString(str::kElementsEllipsis));
        return true;
    }

    void write(const scan::ElementRow& row) override {
        if (!statusShown_) {
            ui_.setStatus(status_);  // the same text for every row of the type
            statusShown_ = true;
        }
        report_.writeRow(row, highestColumn_, labelled_);
    }

    void finish(long long writtenCount) override {
        report_.closePage(placement_);
        session_.resultOf(type_).indexLinkLine =
            buildIndexLinkLine(fileName_, title_, writtenCount);
    }

    std::string abandon() noexcept override {
        report_.discardPage();
        return {};
    }

private:
    const scan::ElementType type_;
    HtmlReport& report_;
    Session& session_;
    UserInterface& ui_;
    std::string fileName_;
    std::string path_;
    std::string title_;
    std::string status_;
    platform::Placement placement_ = platform::Placement::New;
    int highestColumn_ = 0;
    bool labelled_ = false;
    bool statusShown_ = false;
};

class HtmlOutput : public ScanOutput {
public:
    HtmlOutput(Session& session, UserInterface& ui)
        : session_(session), ui_(ui), report_(ui, session.nodeInfo) {}

    std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType type) override {
        return std::make_unique<HtmlElementPage>(type, report_, session_, ui_);
    }

    void endScan() override {
        if (anyPageWritten()) {
            writeFramePages();
        }
    }

    void abandonScan() noexcept override {
        report_.discardPage();
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
        for (const TypeResult& result : session_.results) {
            if (!result.indexLinkLine.empty()) {
                return true;
            }
        }
        return false;
    }

    // The index links every element page in the folder with the text it had: a page kept at
    // the user's word keeps the line of the index being replaced.
    std::array<std::string, scan::kElementTypeCount> currentLinkLines(const std::string& folder) {
        const std::optional<std::string> oldIndex =
            platform::readRegularFile(platform::joinPath(folder, "index.html"), kMaxPageBytes);
        std::array<std::string, scan::kElementTypeCount> lines;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const scan::ElementTypeInfo& info = scan::elementType(scan::indexOrder()[i]);
            std::string& line = session_.resultOf(info.type).indexLinkLine;
            if (line.empty()) {
                line = keptPageLine(folder, info, oldIndex);
            }
            lines[i] = line;
        }
        return lines;
    }

    std::string keptPageLine(const std::string& folder, const scan::ElementTypeInfo& info,
                             const std::optional<std::string>& oldIndex) {
        const std::string fileName = scan::elementFileBaseName(info, session_.nodeInfo.nodeNumber,
                                                               session_.scan.startDateStamp) +
                                     ".html";
        if (oldIndex) {
            if (auto line = findIndexLinkLine(*oldIndex, fileName)) {
                if (platform::isRegularFile(platform::joinPath(folder, fileName))) {
                    return *line;
                }
            }
        }
        if (const auto page =
                platform::readRegularFile(platform::joinPath(folder, fileName), kMaxPageBytes)) {
            return buildIndexLinkLine(fileName, info.title, countElementPageRows(*page));
        }
        return {};
    }

    void writeFramePages(bool reportFailures = true) {
        const std::string& folder = session_.scan.outputFolder;
        const auto linkLines = currentLinkLines(folder);
        const auto step = [&](std::string_view procedure, auto&& write) {
            if (!reportFailures) {
                write();
                return true;
            }
            return runStep(ui_, "HTMLReport", procedure, write);
        };
        // One failure is reported once: the pages after it are not tried.
        step(
            "CreateIndexPage",
            [&] { report_.writeIndexPage(platform::joinPath(folder, "index.html"), linkLines); }) &&
            step("CreatePreviewPage",
                 [&] { report_.writeFramesetPage(platform::joinPath(folder, "preview.html")); }) &&
            step("CreateEmptyPage",
                 [&] { report_.writeEmptyPage(platform::joinPath(folder, "dummy.html")); });
    }

    Session& session_;
    UserInterface& ui_;
    HtmlReport report_;
};

}  // namespace

std::unique_ptr<ScanOutput> makeHtmlOutput(Session& session, UserInterface& ui) {
    return std::make_unique<HtmlOutput>(session, ui);
}

}  // namespace qor::output
