#include "core/scan/element_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "core/base/progress_pacer.h"
#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/base/strings.h"
#include "core/platform/path_names.h"
#include "core/scan/byte_search.h"
#include "core/scan/cabinet_labels.h"
#include "core/scan/export_file_reader.h"
#include "core/scan/node_info.h"
#include "core/scan/text_rules.h"

namespace qor::scan {
namespace {

// A selected parameter: its key in the file and its slot in the element row.
struct WantedParameter {
    std::string key;
    std::size_t slot;
};

std::vector<WantedParameter> wantedParameters(const ElementTypeInfo& type, const ReaderInput& input,
                                              const std::vector<std::string>& columns,
                                              UserInterface& ui) {
    std::vector<WantedParameter> wanted;
    for (std::size_t box = 0; box < type.parameters.size(); ++box) {
        if (!input.selection.parameters[box]) {
            continue;
        }
        ColumnIndex index;
        runStep(ui, "modMain", "SearchColIndex", [&] {
            index = columnSlotOf(columns, type.parameters[box], input.applyCabinetLabels);
        });
        const int slot = index.slot + (type.channel ? 0 : index.leadingColumnOffset);
        if (slot < 1 || slot >= static_cast<int>(kElementRowSlots)) {
            throw QorError("Subscript out of range: no slot " + std::to_string(slot) +
                           " for the parameter " + std::string(type.parameters[box]));
        }
        std::string key(1, ':');
        key += type.parameters[box];
        wanted.push_back({std::move(key), static_cast<std::size_t>(slot)});
    }
    return wanted;
}

class ElementReadLoop {
public:
    ElementReadLoop(const ElementTypeInfo& type, const ReaderInput& input,
                    std::vector<WantedParameter> wanted, ElementSink& sink, UserInterface& ui)
        : type_(type),
          input_(input),
          wanted_(std::move(wanted)),
          sink_(sink),
          ui_(ui),
          labelChannels_(type.channel && input.applyCabinetLabels) {}

    long long run(long long elementCount) {
        ProgressPacer pacer(ui_);
        pacer.setMaximum(elementCount);
        ExportFileReader file(input_.source);
        std::string_view line;
        for (;;) {
            // Outside an element only a header line matters, and it always holds the kind token.
            // Only a line holding the kind token can be a header line.
            bool holdsKind = true;
            const bool open = finished_ < headersSeen_;
            if (!(open ? file.nextLineNoting(type_.kindToken, line, holdsKind)
                       : file.nextLineContaining(type_.kindToken, line))) {
                break;
            }
            pacer.tick(headersSeen_);
            handleLine(line, holdsKind);
        }
        missingDots_.reportTo(ui_);
        pacer.flush(headersSeen_);
        return written_;
    }

private:
    void handleLine(std::string_view line, bool holdsKind) {
        if (const auto designation = holdsKind
                                         ? headerDesignation(line, type_.typeToken, type_.kindToken)
                                         : std::nullopt) {
            ++headersSeen_;
            row_[kDesignationSlot] = *designation;
            if (labelChannels_ && !labelChannel(*designation, input_.cabinets, row_)) {
                missingDots_.note(*designation);
            }
        }
        if (finished_ >= headersSeen_) {
            return;
        }
        storeParameterValues(line);
        if (!endsElement(line)) {
            return;
        }
        finished_ = headersSeen_;
        sink_.write(row_);
        ++written_;
        clearElementRow(row_);
    }

    // Every key starts with ":", so one walk over the line's colons finds the first
    // occurrence of each selected key; the same values as the parameter rule per key.
    void storeParameterValues(std::string_view line) {
        std::uint32_t seen = 0;
        const std::uint32_t all = (std::uint32_t{1} << wanted_.size()) - 1;
        // Colons are found 64 bytes at a time: a parameter line holds one or two.
        for (std::size_t base = 0; base + 1 < line.size() && seen != all; base += 64) {
            std::uint64_t colons =
                colonMask(line.data() + base, std::min<std::size_t>(64, line.size() - base));
            while (colons != 0 && seen != all) {
                const std::size_t colon = base + static_cast<std::size_t>(std::countr_zero(colons));
                colons &= colons - 1;
                if (colon + 1 >= line.size()) {
                    break;
                }
                const char next = foldAscii(line[colon + 1]);
                const std::string_view rest = line.substr(colon);
                for (std::size_t k = 0; k < wanted_.size(); ++k) {
                    const std::uint32_t bit = std::uint32_t{1} << k;
                    const std::string& key = wanted_[k].key;
                    if ((seen & bit) == 0 && foldAscii(key[1]) == next &&
                        rest.size() >= key.size() &&
                        equalsNoCase(rest.substr(0, key.size()), key)) {
                        seen |= bit;
                        row_[wanted_[k].slot] = trimSpaces(takeChars(line, colon + 15, 30));
                    }
                }
            }
        }
    }

    const ElementTypeInfo& type_;
    const ReaderInput& input_;
    const std::vector<WantedParameter> wanted_;
    ElementSink& sink_;
    UserInterface& ui_;
    const bool labelChannels_;
    ElementRow row_{};  // emptied at the start: nothing leaks in from another type
    long long headersSeen_ = 0;
    long long finished_ = 0;
    long long written_ = 0;
    MissingDotReport missingDots_;
};

}  // namespace

ColumnIndex columnSlotOf(const std::vector<std::string>& columns, std::string_view name,
                         bool applyCabinetLabels) {
    std::size_t index = 1;
    while (index < columns.size() && !equalsNoCase(columns[index], name)) {
        ++index;
    }
    const int i = static_cast<int>(index);
    return applyCabinetLabels ? ColumnIndex{i - 1, 2} : ColumnIndex{i + 1, 0};
}

std::string elementFileBaseName(const ElementTypeInfo& type, std::string_view nodeNumber,
                                std::string_view startDateStamp) {
    return std::string(type.filePrefix) + "Node" + platform::safeFileNamePart(nodeNumber) + "_" +
           std::string(startDateStamp);
}

std::optional<long long> readElements(ElementType type, const ReaderInput& input,
                                      scan::ColumnData& columns, ElementSink& sink,
                                      UserInterface& ui) {
    const ElementTypeInfo& info = elementType(type);
    if (!info.channel && !columns.columns.empty()) {
        columns.columns[0] = "ITEM NUMBER";  // heads the first column of sheets and pages
    }
    const bool labelled = info.channel && input.applyCabinetLabels;
    const SinkContext context{info,
                              columns.columns,
                              columns.headerLine,
                              columns.columnCount,
                              labelled,
                              input.outputFolder,
                              elementFileBaseName(info, input.nodeNumber, input.startDateStamp)};
    try {
        if (!sink.begin(context)) {
            return std::nullopt;
        }
        const long long elementCount =
            input.knownElementCount ? *input.knownElementCount
                                    : countElements(input.source, info.typeToken, info.kindToken);
        ui.showProgressBar(true);
        ui.setProgress(0, elementCount);
        ElementReadLoop loop(info, input, wantedParameters(info, input, columns.columns, ui), sink,
                             ui);
        const long long written = loop.run(elementCount);
        sink.finish(written);
        ui.setProgress(0, elementCount);
        return written;
    } catch (...) {
        std::string description = "Reading the " + std::string(info.name) +
                                  " elements stopped: " + describeCurrentException();
        const std::string fate = sink.abandon();
        if (!fate.empty()) {
            description += ". " + fate;
        }
        throw ReadFailed(type, description);
    }
}

}  // namespace qor::scan
