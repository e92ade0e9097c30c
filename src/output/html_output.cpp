#include "output/html_output.h"

#include "core/strings.h"
#include "output/html_report.h"
#include "platform/file_system.h"
#include "scan/csv_result_file.h"

namespace qor::output {
namespace {

// The element page of one type, written through the report shared by the whole scan.
class HtmlElementPage : public scan::ElementSink {
public:
    HtmlElementPage(scan::ElementType type, HtmlReport& report, Session& session, UserInterface& ui)
        : type_(type), report_(report), session_(session), ui_(ui) {}

    bool begin(const scan::SinkContext& context) override {
        fileName_ = context.baseName + ".html";
        path_ = platform::joinPath(context.outputFolder, fileName_);
        title_ = context.type.title;
        if (scan::HTMLFileExist(path_, "  :  " + title_, ui_)) {
            return false;
        }
        highestColumn_ = context.columnCount - 1;
        labelled_ = context.labelled;
        report_.InitVariables(highestColumn_, context.columns, context.type.pageTitle);
        report_.OpenHTMLFile(highestColumn_, path_);
        // Only a page this read has (re)created may be removed if the read fails.
        ownsPage_ = report_.pageOpen();
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
        report_.WriteValuesToHTMLFile(row, highestColumn_, labelled_);
    }

    void finish(long long writtenCount) override {
        report_.CloseHTMLFile();
        session_.resultOf(type_).indexLinkLine =
            buildIndexLinkLine(fileName_, title_, writtenCount);
    }

    std::string abandon() noexcept override {
        report_.discardPage();
        if (!ownsPage_) {
            return {};
        }
        return platform::removeFile(path_)
                   ? "The incomplete page '" + path_ + "' was removed."
                   : "The incomplete page '" + path_ + "' could not be removed.";
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
    int highestColumn_ = 0;
    bool labelled_ = false;
    bool ownsPage_ = false;
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
        std::array<std::string, scan::kElementTypeCount> linkLines;
        for (std::size_t i = 0; i < linkLines.size(); ++i) {
            linkLines[i] = session_.resultOf(scan::indexOrder()[i]).indexLinkLine;
        }
        const std::string& folder = session_.scan.outputFolder;
        report_.CreateIndexPage(platform::joinPath(folder, "index.html"), linkLines);
        report_.CreatePreviewPage(platform::joinPath(folder, "preview.html"));
        report_.CreateEmptyPage(platform::joinPath(folder, "dummy.html"));
    }

    void abandonScan() noexcept override { report_.discardPage(); }

private:
    Session& session_;
    UserInterface& ui_;
    HtmlReport report_;
};

}  // namespace

std::unique_ptr<ScanOutput> makeHtmlOutput(Session& session, UserInterface& ui) {
    return std::make_unique<HtmlOutput>(session, ui);
}

}  // namespace qor::output
