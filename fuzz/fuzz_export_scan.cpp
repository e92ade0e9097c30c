// Fuzz target: one export file through a scan. Node information, then the one pass that reads
// all fourteen element types with every parameter into CSV rows, HTML rows and workbook cell
// texts, all held in memory. The pass must give the same elements however the file is cut into
// chunks and however many threads parse them, never more elements than the counting pass finds
// headers, and every output holds each element's values where they belong.
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

#include "core/base/html_escape.h"
#include "core/options/search_options.h"
#include "core/output/csv_output.h"
#include "core/output/html_report.h"
#include "core/output/xlsx_workbook.h"
#include "core/scan/element_parser.h"
#include "core/scan/export_scan.h"
#include "core/scan/node_info.h"
#include "core/scan/parallel_pass.h"
#include "fuzz_support.h"

namespace qor::fuzz {
namespace {

using scan::ElementType;

// Small, so that short inputs cross buffer refills and hold over-long lines as well as the
// large seeds do. Every pass must cut the same lines, or the counts below disagree.
constexpr scan::ReadLimits kReadLimits{256, 300};

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

// The CSV row text reads back as the row's values, none shifted, those that a spreadsheet would
// take for a formula behind an apostrophe.
bool csvRowReadsBack(std::string_view text, const scan::ElementRowView& row, bool labelled) {
    std::size_t pos = 0;
    bool first = true;
    const auto next = [&](std::string_view value) {
        if (!first && (pos >= text.size() || text[pos++] != ',')) {
            return false;
        }
        first = false;
        return csvFieldEquals(
            text, pos,
            output::startsFormula(value) ? "'" + std::string(value) : std::string(value));
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

// The outputs of one type, in memory: every element becomes a CSV row (what the pass hands
// back), an HTML row and the texts of its workbook cells, each checked as it is made. Called on
// the pass's threads: it keeps nothing between elements.
class TypeOutputs : public scan::RowFormatter {
public:
    TypeOutputs(bool labelled, int columnCount) : labelled_(labelled), columnCount_(columnCount) {}

    void format(const scan::ElementRowView& row, std::string& out) const override {
        const std::size_t rowStart = out.size();
        output::appendCsvRow(out, row, labelled_);
        require(csvRowReadsBack(std::string_view(out).substr(rowStart), row, labelled_),
                "a CSV row reads back as its values");
        out += "\r\n";
        checkHtmlRow(row);
        checkCellTexts(row);
    }

private:
    // The cells of an element page's row: slots 1 on, the cabinet and module first when
    // labelled; each cell escaped so that no value can open or close markup.
    void checkHtmlRow(const scan::ElementRowView& row) const {
        for (std::size_t i = 1; i <= static_cast<std::size_t>(columnCount_); ++i) {
            const std::size_t slot = !labelled_ ? i
                                     : i == 1   ? scan::kCabinetSlot
                                     : i == 2   ? scan::kModuleSlot
                                                : i - 2;
            const std::string cell =
                escapeHtml(slot < scan::kElementRowSlots ? row[slot] : std::string_view());
            require(cell.find_first_of("<>\"") == std::string::npos,
                    "an escaped value holds no markup");
        }
    }

    // A cell holds well-formed UTF-8 without NUL bytes; plain ASCII values stand as they are.
    static void checkCellTexts(const scan::ElementRowView& row) {
        std::string scratch;
        for (const std::string_view value : row) {
            const std::string_view text = output::cellText(value, scratch);
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

    const bool labelled_;
    const int columnCount_;
};

// What every run reuses: the file the input is written to, the options with every type and
// parameter enabled, their column data with and without cabinet labels, and a small label
// table whose module skeletons the seeds use.
class ScanHarness {
public:
    ScanHarness() {
        const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        exportPath_ = (folder / ("qor_fuzz_scan_" + std::to_string(::getpid()) + ".qor")).string();
        options_.applyCabinetLabels = false;
        for (scan::TypeOptions& type : options_.types) {
            type.enabled = true;
            type.parameters.fill(true);
        }
        labels_ = {{"CB801", "AI800_1"}, {"CB802", "ai800_1"}, {"CB803", "DI810_1"}, {"", ""}};
        cabinets_ = scan::CabinetIndex(labels_);
        for (const bool labelled : {false, true}) {
            options_.applyCabinetLabels = labelled;
            const scan::ColumnDataSet columns = options::buildAllColumnData(options_);
            std::vector<scan::TypePlan>& plan = plans_[labelled ? 1 : 0];
            for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
                const scan::ColumnData& data = columns[scan::indexOf(info.type)];
                const bool channelLabels = labelled && info.channel;
                formatters_.push_back(
                    std::make_unique<TypeOutputs>(channelLabels, data.columnCount));
                plan.push_back(
                    {&info,
                     scan::wantedParameters(info, options_.of(info.type), data.columns, labelled),
                     channelLabels, formatters_.back().get()});
            }
            types_.clear();
            for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
                types_.push_back(info.type);
            }
        }
    }
    ~ScanHarness() { std::remove(exportPath_.c_str()); }
    ScanHarness(const ScanHarness&) = delete;
    ScanHarness& operator=(const ScanHarness&) = delete;

    void run(const std::uint8_t* data, std::size_t size) {
        writeExport(data, size);
        ui_.reset();
        node_ = scan::readNodeInfo(exportPath_, {}, ui_);
        require(ui_.errors() == 0, "the node information is read");

        // The first byte chooses whether channels carry cabinet labels, and how small the
        // chunks of the second reading are and whether two threads parse them.
        const std::uint8_t choice = size > 0 ? data[0] : 0;
        const bool labelled = (choice & 1) != 0;
        const scan::ElementParser parser(plans_[labelled ? 1 : 0], cabinets_);
        const std::vector<std::string> whole = readAll(parser, {1, std::size_t{1} << 20});
        const std::size_t chunkBytes = 1 + (choice >> 2);
        const std::size_t threads = (choice & 2) != 0 ? 2 : 1;
        require(readAll(parser, {threads, chunkBytes}) == whole,
                "the same elements however the export is cut into chunks");

        scan::ExportScan source(exportPath_, kReadLimits);
        const std::vector<long long> counts = scan::countElementsOfTypes(source, types_);
        for (std::size_t t = 0; t < types_.size(); ++t) {
            require(elements_[t] <= counts[t], "no more elements than headers");
        }
    }

private:
    std::vector<std::string> readAll(const scan::ElementParser& parser,
                                     const scan::PassSettings& settings) {
        scan::ExportScan source(exportPath_, kReadLimits);
        std::vector<std::string> outputs(types_.size());
        elements_.assign(types_.size(), 0);
        scan::readExportOnce(source, parser, settings,
                             [&](scan::ChunkResult& chunk, std::uint64_t, std::uint64_t) {
                                 for (std::size_t t = 0; t < outputs.size(); ++t) {
                                     outputs[t] += chunk.types[t].output;
                                     elements_[t] += chunk.types[t].elements;
                                 }
                             });
        return outputs;
    }

    void writeExport(const std::uint8_t* data, std::size_t size) {
        std::FILE* file = std::fopen(exportPath_.c_str(), "wb");
        require(file != nullptr, "the export file can be created");
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        require(std::fclose(file) == 0 && written, "the export file is written");
    }

    QuietUi ui_;
    scan::NodeInfo node_;
    std::string exportPath_;
    options::SearchOptions options_;
    scan::CabinetLabels labels_;
    scan::CabinetIndex cabinets_;  // of labels_
    std::vector<std::unique_ptr<TypeOutputs>> formatters_;
    std::vector<scan::TypePlan> plans_[2];  // without and with cabinet labels
    std::vector<ElementType> types_;        // all, in reading order
    std::vector<long long> elements_;
};

}  // namespace
}  // namespace qor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One harness for the whole fuzzing process: its file and buffers serve every input.
    static qor::fuzz::ScanHarness harness;
    harness.run(data, size);
    return 0;
}
