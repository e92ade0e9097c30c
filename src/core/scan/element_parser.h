#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/text_encoding.h"
#include "core/scan/byte_search.h"
#include "core/scan/cabinet_labels.h"
#include "core/scan/element_row.h"
#include "core/scan/element_types.h"
#include "core/scan/type_options.h"

namespace qor::scan {

// Turns a finished element into an output's bytes. Called on any thread: it may read only what
// it was given before the scan began.
class RowFormatter {
public:
    virtual ~RowFormatter() = default;
    virtual void format(const ElementRowView& row, std::string& out) const = 0;
};

// A selected parameter: its key in the file and its slot in the element row.
struct WantedParameter {
    std::string key;  // ":NAME"
    std::size_t slot;
};

// What a scan reads of one element type.
struct TypePlan {
    const ElementTypeInfo* type;
    std::vector<WantedParameter> wanted;
    bool labelChannels = false;  // a channel type while cabinet labels are applied
    const RowFormatter* formatter;
    // The element's lines that hold none of the wanted keys go to its row's kOtherLinesSlot.
    bool keepOtherLines = false;
    // Each finished element's header line goes to TypeChunkResult::headerLines.
    bool noteHeaderLines = false;
};

// The elements open where a chunk ends, copied out of it, for the chunk after it.
struct OpenElements {
    std::vector<bool> open;
    std::vector<std::array<std::string, kElementRowSlots>> rows;
    // Each open element's header line, counted from the first line of the chunk after (so
    // zero or below).
    std::vector<std::int64_t> headerLines;
};

// What one chunk gives each planned type, in plan order.
struct TypeChunkResult {
    std::string output;  // the formatted elements, in file order
    long long elements = 0;
    long long withoutDot = 0;  // channel designations without "." (they name no module)
    std::string firstWithoutDot;
    // For a plan that notes them: each element's header line, counted from the chunk's first
    // line (0), in the order of `output`. Elements begun in an earlier chunk count below 0.
    std::vector<std::int64_t> headerLines;
};

struct ChunkResult {
    std::vector<TypeChunkResult> types;
    EncodingEvidence text;   // what the chunk's bytes tell about the export's encoding
    bool skipped = false;    // only its lines were counted (ElementParser::skipChunksWithout)
    std::int64_t lines = 0;  // the chunk's lines
    OpenElements openAtEnd;  // only for a chunk whose follower does not start clean
};

// The reading rules of a scan, for all planned types in one walk over the lines: an element
// starts at its type's header line and ends at the next empty line; every line of an open
// element (its header too) gives the selected parameters; the last value read wins, and within
// a line the first occurrence of a key. Each type keeps its own element, so one line can feed
// elements of several types. Parsing is const: one parser serves every thread of a scan.
class ElementParser {
public:
    // Values and designations are cut at whole characters of `encoding`.
    ElementParser(std::vector<TypePlan> plan, const CabinetIndex& cabinets,
                  TextEncoding encoding = kDefaultCodePage);

    const std::vector<TypePlan>& plan() const { return plan_; }

    // For searches: a chunk that holds whole elements only (starts clean, ends clean or ends
    // the file) and lacks `text` (ASCII case ignored) is not read for elements, only its lines
    // are counted. No element of such a chunk can show the text. Empty: every chunk is read.
    void skipChunksWithout(std::string text) { required_ = std::move(text); }

    // Parses `bytes`, whole lines, into `result`. `before` holds the elements open at its start
    // (null for a chunk that starts clean). Elements still open at the end of the file are
    // never finished; otherwise, when `keepOpen`, they are copied into result.openAtEnd.
    void parse(std::string_view bytes, const OpenElements* before, bool keepOpen,
               ChunkResult& result) const;

private:
    std::vector<TypePlan> plan_;
    const CabinetIndex& cabinets_;
    TextEncoding encoding_;
    std::string required_;
    // For each folded byte, the planned types whose kind token starts with it (bit i: plan i).
    std::array<std::uint32_t, 256> kindStarts_{};
    // What is looked for in the lines of each planned type.
    struct TypeMatcher {
        CaselessPattern type;
        CaselessPattern kind;
        std::vector<CaselessPattern> keys;  // in the order of TypePlan::wanted
        // For each byte, the keys whose name starts with it (bit k: key k), so that a colon is
        // compared with those keys only.
        std::array<std::uint32_t, 256> keyStarts{};
        std::vector<std::size_t> filledSlots;  // the row slots an element can fill
    };
    std::vector<TypeMatcher> matchers_;
};

// The slot of a parameter in the element row: the first column entry from 1 on that equals
// the name (ASCII case ignored) decides; with labels applied the result is that index - 1 and
// the leading-column offset 2, otherwise index + 1 and offset 0. Non-channel types add the
// offset, because their list never holds the cabinet columns.
struct ColumnIndex {
    int slot = 0;
    int leadingColumnOffset = 0;
};
ColumnIndex columnSlotOf(const std::vector<std::string>& columns, std::string_view name,
                         bool applyCabinetLabels);

// The selected parameters of a type and their slots; throws QorError for a slot past the row.
std::vector<WantedParameter> wantedParameters(const ElementTypeInfo& type,
                                              const TypeOptions& selection,
                                              const std::vector<std::string>& columns,
                                              bool applyCabinetLabels);

}  // namespace qor::scan
