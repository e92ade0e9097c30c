// Fuzz target: one export file through every pass of a scan. Node information, then all fourteen
// element types with every parameter into CSV rows, HTML rows and a workbook's sheet,
// all held in memory. The passes must agree: each reader sees as many headers as the counting
// passes found, and every output holds each element's values where they belong.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/options/search_options.h"
#include "core/output/csv_output.h"
#include "core/output/element_workbook.h"
#include "core/output/html_report.h"
#include "core/platform/xlsx_workbook.h"
#include "core/scan/element_reader.h"
#include "core/scan/export_scan.h"
#include "core/scan/node_info.h"
#include "fuzz_support.h"

namespace qor::fuzz {
namespace {

using scan::ElementRow;
using scan::ElementType;

// Small, so that short inputs cross buffer refills and hold over-long lines as well as the
// large seeds do. Every pass must cut the same lines, or the counts below disagree.
constexpr scan::ReadLimits kReadLimits{256, 300};

// Whether to save the workbook: rarely, since compressing costs far more than a scan of a
// small input, and decided by the input alone so that a failure reproduces.
bool savesWorkbook(std::size_t size) {
    return size % 256 == 255;
}

// The field at `pos` of a CSV row equals `value`, as a reader of the file takes the field;
// `pos` moves past it.
bool csvFieldEquals(std::string_view text, std::size_t& pos, std::string_view value) {
    if (pos < text.size() && text[pos] == '"') {
        std::size_t matched = 0;
        for (++pos;; ++pos) {
            if (pos >= text.size()) {
                return false;  // no closing quote
            }
            if (text[pos] == '"' && !(pos + 1 < text.size() && text[pos + 1] == '"')) {
                ++pos;
                return matched == value.size();
            }
            pos += text[pos] == '"' ? 1 : 0;  // a doubled quote stands for one
            if (matched == value.size() || value[matched++] != text[pos]) {
                return false;
            }
        }
    }
    const std::size_t end = std::min(text.find(',', pos), text.size());
    const std::string_view field = text.substr(pos, end - pos);
    pos = end;
    return field == value && field.find('"') == std::string_view::npos;
}

// The CSV row text reads back as the row's values, none shifted.
bool csvRowReadsBack(std::string_view text, const ElementRow& row, bool labelled) {
    std::size_t pos = 0;
    bool first = true;
    const auto next = [&](std::string_view value) {
        if (!first && (pos >= text.size() || text[pos++] != ',')) {
            return false;
        }
        first = false;
        return csvFieldEquals(text, pos, value);
    };
    if (labelled && !(next(row[scan::kCabinetSlot]) && next(row[scan::kModuleSlot]))) {
        return false;
    }
    for (std::size_t slot = 1; slot <= 11; ++slot) {
        if (!next(row[slot])) {
            return false;
        }
    }
    return pos == text.size();
}

// The outputs of one scan, in memory: every element goes to a CSV row, an HTML row and the
// text of its workbook cells, and each is checked as it is made. Now and then a real workbook
// is written as well (compressing costs far more than a scan of a small input).
class MemoryOutputs : public scan::ElementSink {
public:
    MemoryOutputs(UserInterface& ui, const scan::NodeInfo& node) : ui_(ui), html_(ui, node) {}

    void beginScan(const std::string& workbookFolder, bool withWorkbook) {
        workbook_.reset();
        sheet_ = 0;
        if (withWorkbook) {
            std::vector<std::string> sheets;
            for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
                sheets.emplace_back(info.title);
            }
            workbook_.emplace(ui_, "System status", 0);
            workbook_->start(workbookFolder, sheets);
        }
    }
    void endScan(const std::string& workbookPath) {
        if (workbook_) {
            workbook_->saveAs(workbookPath);
            workbook_.reset();
        }
    }

    bool begin(const scan::SinkContext& context) override {
        context_ = &context;
        csv_.assign(context.headerLine);
        csv_ += "\r\n\r\r\n";
        html_.preparePage(context.columnCount - 1, context.columns, context.type.pageTitle);
        if (workbook_) {
            sheet_ = scan::indexOf(context.type.type);
            workbook_->prepareSheet(sheet_, context.columnCount);
        }
        written_ = 0;
        return true;
    }

    void write(const ElementRow& row) override {
        const std::size_t rowStart = csv_.size();
        output::appendCsvRow(csv_, row, context_->labelled);
        require(csvRowReadsBack(std::string_view(csv_).substr(rowStart), row, context_->labelled),
                "a CSV row reads back as its values");
        csv_ += "\r\n";
        writeHtmlRow(row);
        checkCellTexts(row);
        if (workbook_) {
            workbook_->addRow(sheet_, row, context_->columns, context_->labelled);
        }
        ++written_;
    }

    void finish(long long writtenCount) override {
        require(writtenCount == written_, "the reader counts what it wrote");
        indexLine_ = output::buildIndexLinkLine(context_->baseName + ".html", context_->type.title,
                                                writtenCount);
    }

    std::string abandon() noexcept override { return {}; }

private:
    // The cells of an element page's row: slots 1 on, the cabinet and module first when
    // labelled; each cell escaped so that no value can open or close markup.
    void writeHtmlRow(const ElementRow& row) {
        htmlRow_.assign("<tr>");
        const bool cabinetFirst = context_->labelled;
        for (std::size_t i = 1; i <= static_cast<std::size_t>(context_->columnCount); ++i) {
            const std::size_t slot = !cabinetFirst ? i
                                     : i == 1      ? scan::kCabinetSlot
                                     : i == 2      ? scan::kModuleSlot
                                                   : i - 2;
            const std::string cell =
                output::escapeHtml(slot < scan::kElementRowSlots ? row[slot] : std::string());
            require(cell.find_first_of("<>\"") == std::string::npos,
                    "an escaped value holds no markup");
            htmlRow_ += "<td>";
            htmlRow_ += cell.empty() ? "&nbsp;" : cell;
            htmlRow_ += "</td>";
        }
        htmlRow_ += "</tr>\r\n";
    }

    // A cell holds well-formed UTF-8 without NUL bytes; plain ASCII values stand as they are.
    void checkCellTexts(const ElementRow& row) {
        for (const std::string& value : row) {
            const std::string_view text = platform::cellText(value, scratch_);
            require(text.find('\0') == std::string_view::npos, "a cell holds no NUL byte");
            require(isUtf8(text), "a cell holds UTF-8");
            const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
                return c != '\0' && static_cast<unsigned char>(c) < 0x80;
            });
            require(!plain || text == value, "an ASCII value stands in its cell as it is");
        }
    }

    static bool isUtf8(std::string_view text) {
        for (std::size_t i = 0; i < text.size();) {
            const auto lead = static_cast<unsigned char>(text[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) {
                return false;
            }
            for (std::size_t k = 1; k < length; ++k) {
                if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                    return false;
                }
            }
            i += length;
        }
        return true;
    }

    UserInterface& ui_;
    const scan::SinkContext* context_ = nullptr;
    output::HtmlReport html_;
    std::optional<output::ElementWorkbook> workbook_;
    std::size_t sheet_ = 0;
    std::string csv_;  // these buffers keep their capacity from one run to the next
    std::string htmlRow_;
    std::string indexLine_;
    std::string scratch_;
    long long written_ = 0;
};

// What every run reuses: the file the input is written to, the options with every type and
// parameter enabled, their column data with and without cabinet labels, and a small label
// table whose module skeletons the seeds use.
class ScanHarness {
public:
    ScanHarness() : outputs_(ui_, node_) {
        const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        const std::string stem = "qor_fuzz_scan_" + std::to_string(::getpid());
        exportPath_ = (folder / (stem + ".qor")).string();
        workbookPath_ = (folder / stem).string();
        workbookFolder_ = folder.string();
        for (scan::TypeOptions& type : options_.types) {
            type.enabled = true;
            type.parameters.fill(true);
        }
        options_.applyCabinetLabels = false;
        columns_ = options::buildAllColumnData(options_);
        options_.applyCabinetLabels = true;
        labelledColumns_ = options::buildAllColumnData(options_);
        labels_ = {{"CB801", "AI800_1"}, {"CB802", "ai800_1"}, {"CB803", "DI810_1"}, {"", ""}};
        cabinets_ = scan::CabinetIndex(labels_);
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            types_.push_back(info.type);
        }
    }
    ~ScanHarness() {
        std::remove(exportPath_.c_str());
        std::remove((workbookPath_ + ".xlsx").c_str());
    }
    ScanHarness(const ScanHarness&) = delete;
    ScanHarness& operator=(const ScanHarness&) = delete;

    void run(const std::uint8_t* data, std::size_t size) {
        writeExport(data, size);
        ui_.reset();
        node_ = {};
        node_ = scan::readNodeInfo(exportPath_, node_, ui_);
        require(ui_.errors() == 0, "the node information is read");

        scan::ExportScan source(exportPath_, kReadLimits);
        const std::vector<long long> counts = scan::countElementsOfTypes(source, types_);

        // The first byte chooses whether channels carry cabinet labels, so that both kinds of
        // columns are explored, and which type the single-type count checks.
        const std::uint8_t choice = size > 0 ? data[0] : 0;
        const bool labelled = (choice & 1) != 0;
        const ElementType counted = types_[(choice >> 1) % types_.size()];
        const scan::ElementTypeInfo& countedInfo = scan::elementType(counted);
        require(scan::countElements(source, countedInfo.typeToken, countedInfo.kindToken) ==
                    counts[scan::indexOf(counted)],
                "one count of the headers per pass");

        scan::ColumnDataSet& columns = labelled ? labelledColumns_ : columns_;
        outputs_.beginScan(workbookFolder_, savesWorkbook(size));
        for (const ElementType type : types_) {
            const long long count = counts[scan::indexOf(type)];
            const scan::ReaderInput input{
                source,   node_.nodeNumber, "",   "01Jan2024", options_.of(type),
                labelled, cabinets_,        count};
            ui_.reset();
            const std::optional<long long> written =
                scan::readElements(type, input, columns[scan::indexOf(type)], outputs_, ui_);
            require(written.has_value(), "every type is read");
            require(ui_.highestValue() == count, "the reader sees every header counted");
            require(*written <= count, "no more elements than headers");
        }
        ui_.reset();
        outputs_.endScan(workbookPath_);
        require(ui_.errors() == 0, "the workbook is saved or closed without a fault");
    }

private:
    void writeExport(const std::uint8_t* data, std::size_t size) {
        std::FILE* file = std::fopen(exportPath_.c_str(), "wb");
        require(file != nullptr, "the export file can be created");
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        require(std::fclose(file) == 0 && written, "the export file is written");
    }

    QuietUi ui_;
    scan::NodeInfo node_;
    MemoryOutputs outputs_;
    std::string exportPath_;
    std::string workbookPath_;
    std::string workbookFolder_;
    options::SearchOptions options_;
    scan::ColumnDataSet columns_;
    scan::ColumnDataSet labelledColumns_;
    scan::CabinetLabels labels_;
    scan::CabinetIndex cabinets_;     // of labels_
    std::vector<ElementType> types_;  // all, in reading order
};

}  // namespace
}  // namespace qor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One harness for the whole fuzzing process: its file and buffers serve every input.
    static qor::fuzz::ScanHarness harness;
    harness.run(data, size);
    return 0;
}
