#include "core/scan/element_parser.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#include "core/base/qor_error.h"
#include "core/scan/byte_search.h"
#include "core/scan/text_rules.h"

namespace qor::scan {
namespace {

// The kind token can only start 13 or more characters into a header line.
constexpr std::size_t kKindOffset = 13;

// The lines of `bytes` as the parse walks them: a line ends at CR LF, CR or LF, and a last line
// without an end counts too.
std::int64_t countLines(std::string_view bytes) {
    const auto ends = static_cast<std::int64_t>(countLineEnds(bytes.data(), bytes.size()));
    return ends + (bytes.empty() || bytes.back() == '\n' || bytes.back() == '\r' ? 0 : 1);
}

struct TypeState {
    bool open = false;
    ElementRowView row{};
    std::int64_t headerLine = 0;
    std::string otherLines;  // only for a plan that keeps them
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

std::vector<WantedParameter> wantedParameters(const ElementTypeInfo& type,
                                              const TypeOptions& selection,
                                              const std::vector<std::string>& columns,
                                              bool applyCabinetLabels) {
    std::vector<WantedParameter> wanted;
    for (std::size_t box = 0; box < type.parameters.size(); ++box) {
        if (!selection.parameters[box]) {
            continue;
        }
        const ColumnIndex index = columnSlotOf(columns, type.parameters[box], applyCabinetLabels);
        const int slot = index.slot + (type.channel ? 0 : index.leadingColumnOffset);
        if (slot < 1 || slot >= static_cast<int>(kElementRowSlots)) {
            throw QorError("Subscript out of range: no slot " + std::to_string(slot) +
                           " for the parameter " + std::string(type.parameters[box]));
        }
        wanted.push_back({":" + std::string(type.parameters[box]), static_cast<std::size_t>(slot)});
    }
    return wanted;
}

ElementParser::ElementParser(std::vector<TypePlan> plan, const CabinetIndex& cabinets,
                             TextEncoding encoding)
    : plan_(std::move(plan)), cabinets_(cabinets), encoding_(encoding) {
    for (std::size_t i = 0; i < plan_.size(); ++i) {
        const std::string_view kind = plan_[i].type->kindToken;
        const auto first = static_cast<unsigned char>(foldAscii(kind.front()));
        kindStarts_[first] |= std::uint32_t{1} << i;
        kindStarts_[static_cast<unsigned char>(upperAscii(static_cast<char>(first)))] |=
            std::uint32_t{1} << i;
        TypeMatcher& matcher = matchers_.emplace_back(TypeMatcher{
            CaselessPattern(plan_[i].type->typeToken), CaselessPattern(kind), {}, {}, {}});
        matcher.filledSlots.push_back(kDesignationSlot);
        if (plan_[i].labelChannels) {
            matcher.filledSlots.insert(matcher.filledSlots.end(), {kCabinetSlot, kModuleSlot});
        }
        for (std::size_t k = 0; k < plan_[i].wanted.size(); ++k) {
            const WantedParameter& wanted = plan_[i].wanted[k];
            matcher.keys.emplace_back(wanted.key);
            const char letter = wanted.key[1];  // after the colon
            matcher.keyStarts[static_cast<unsigned char>(foldAscii(letter))] |= std::uint32_t{1}
                                                                                << k;
            matcher.keyStarts[static_cast<unsigned char>(upperAscii(letter))] |= std::uint32_t{1}
                                                                                 << k;
            matcher.filledSlots.push_back(wanted.slot);
        }
    }
}

void ElementParser::parse(std::string_view bytes, const OpenElements* before, bool keepOpen,
                          ChunkResult& result) const {
    const std::size_t types = plan_.size();
    // Reset in place: a slot's buffers keep their size from one chunk to the next instead of
    // growing again from nothing (each regrowth of a large buffer is fresh pages to fault in).
    result.types.resize(types);
    for (TypeChunkResult& out : result.types) {
        out.output.clear();
        out.elements = 0;
        out.withoutDot = 0;
        out.firstWithoutDot.clear();
        out.headerLines.clear();
    }
    result.skipped = !required_.empty() && before == nullptr && !keepOpen &&
                     findNoCase(bytes, required_) == kNotFound;
    if (result.skipped) {
        result.lines = countLines(bytes);
        result.openAtEnd = {};
        return;
    }
    std::vector<TypeState> states(types);
    if (before != nullptr) {
        for (std::size_t t = 0; t < types && t < before->open.size(); ++t) {
            states[t].open = before->open[t];
            if (t < before->headerLines.size()) {
                states[t].headerLine = before->headerLines[t];
            }
            for (std::size_t slot = 0; slot < kElementRowSlots; ++slot) {
                states[t].row[slot] = before->rows[t][slot];
            }
            if (plan_[t].keepOtherLines) {
                states[t].otherLines = before->rows[t][kOtherLinesSlot];
            }
        }
    }
    std::uint32_t open = 0;
    std::int64_t lineIndex = 0;  // of the line being handled, from the chunk's first
    for (std::size_t t = 0; t < types; ++t) {
        open |= states[t].open ? std::uint32_t{1} << t : 0;
    }

    // The planned types whose header this line may be: their kind token lies 13 or more
    // characters in. `starts` marks the bytes that may begin a kind token (bit i for byte i of
    // the first 64); past those, every byte is looked at. The header rule itself then decides.
    const char* const chunkEnd = bytes.data() + bytes.size();
    const auto headerCandidates = [&](std::string_view line, std::uint64_t starts) {
        std::uint32_t found = 0;
        const auto tryAt = [&](std::size_t j) {
            std::uint32_t candidates = kindStarts_[static_cast<unsigned char>(line[j])] & ~found;
            for (; candidates != 0; candidates &= candidates - 1) {
                const int t = std::countr_zero(candidates);
                const CaselessPattern& kind = matchers_[static_cast<std::size_t>(t)].kind;
                const char* at = line.data() + j;
                if (j + kind.size() <= line.size() &&
                    kind.matchesAt(at, static_cast<std::size_t>(chunkEnd - at))) {
                    found |= std::uint32_t{1} << t;
                }
            }
        };
        for (starts &= ~((std::uint64_t{1} << kKindOffset) - 1); starts != 0;
             starts &= starts - 1) {
            tryAt(static_cast<std::size_t>(std::countr_zero(starts)));
        }
        for (std::size_t j = 64; j < line.size(); ++j) {
            tryAt(j);
        }
        return found;
    };

    // Every key starts with ":", so one walk over the line's colons finds the first
    // occurrence of each selected key; the same values as the parameter rule per key.
    // `colons` marks the colons of the first 64 bytes; the rest are found as the walk goes.
    // Tells whether the line held any of the keys.
    const auto storeParameters = [chunkEnd, encoding = encoding_](
                                     std::string_view line, std::uint64_t colons,
                                     const TypePlan& plan, const TypeMatcher& matcher,
                                     ElementRowView& row) {
        const std::size_t keys = plan.wanted.size();
        std::uint32_t seen = 0;
        const std::uint32_t all = (std::uint32_t{1} << keys) - 1;
        for (std::size_t base = 0; base + 1 < line.size() && seen != all; base += 64) {
            if (base > 0) {
                colons =
                    colonMask(line.data() + base, std::min<std::size_t>(64, line.size() - base));
            }
            while (colons != 0 && seen != all) {
                const std::size_t colon = base + static_cast<std::size_t>(std::countr_zero(colons));
                colons &= colons - 1;
                if (colon + 1 >= line.size()) {
                    break;
                }
                const char* at = line.data() + colon;
                for (std::uint32_t candidates =
                         matcher.keyStarts[static_cast<unsigned char>(line[colon + 1])] & ~seen;
                     candidates != 0; candidates &= candidates - 1) {
                    const auto k = static_cast<std::size_t>(std::countr_zero(candidates));
                    const CaselessPattern& key = matcher.keys[k];
                    if (line.size() - colon >= key.size() &&
                        key.matchesAt(at, static_cast<std::size_t>(chunkEnd - at))) {
                        seen |= std::uint32_t{1} << k;
                        row[plan.wanted[k].slot] =
                            trimSpaces(takeCharacters(line.substr(colon), 15, 30, encoding));
                    }
                }
            }
        }
        return seen != 0;
    };

    const auto handleLine = [&](std::string_view line, std::uint64_t colons,
                                std::uint64_t kindStarts) {
        const std::uint32_t candidates =
            kindStarts != 0 || line.size() > 64 ? headerCandidates(line, kindStarts) : 0;
        for (std::uint32_t headers = candidates; headers != 0; headers &= headers - 1) {
            const auto t = static_cast<std::size_t>(std::countr_zero(headers));
            const TypePlan& plan = plan_[t];
            // Headers start with their type token: then the kind token found 13 or more
            // characters in is all the header rule asks.
            const TypeMatcher& matcher = matchers_[t];
            const auto designation =
                line.size() >= matcher.type.size() &&
                        matcher.type.matchesAt(line.data(),
                                               static_cast<std::size_t>(chunkEnd - line.data()))
                    ? std::optional(trimSpaces(takeCharacters(line, 0, 15, encoding_)))
                    : headerDesignation(line, plan.type->typeToken, plan.type->kindToken,
                                        encoding_);
            if (!designation) {
                continue;
            }
            TypeState& state = states[t];
            state.open = true;
            state.headerLine = lineIndex;
            open |= std::uint32_t{1} << t;
            state.row[kDesignationSlot] = *designation;
            if (plan.labelChannels) {
                // A second header without an empty line in between must not keep the first
                // one's cabinet when it has no match of its own.
                state.row[kCabinetSlot] = {};
                state.row[kModuleSlot] = {};
                const std::optional<std::string_view> skeleton = moduleSkeletonOf(*designation);
                if (const CabinetRow* match =
                        cabinets_.lastRowNamed(skeleton.value_or(std::string_view{}))) {
                    state.row[kCabinetSlot] = match->cabinet;
                    state.row[kModuleSlot] = match->module;
                }
                if (!skeleton) {
                    TypeChunkResult& out = result.types[t];
                    if (out.withoutDot++ == 0) {
                        out.firstWithoutDot = *designation;
                    }
                }
            }
        }
        for (std::uint32_t each = open; each != 0; each &= each - 1) {
            const auto t = static_cast<std::size_t>(std::countr_zero(each));
            if (!storeParameters(line, colons, plan_[t], matchers_[t], states[t].row) &&
                plan_[t].keepOtherLines && !line.empty()) {
                states[t].otherLines.append(line);
                states[t].otherLines += '\n';
            }
        }
        if (line.empty() && open != 0) {
            for (std::uint32_t each = open; each != 0; each &= each - 1) {
                const auto t = static_cast<std::size_t>(std::countr_zero(each));
                TypeChunkResult& out = result.types[t];
                if (plan_[t].keepOtherLines) {
                    states[t].row[kOtherLinesSlot] = states[t].otherLines;
                }
                plan_[t].formatter->format(states[t].row, out.output);
                if (plan_[t].noteHeaderLines) {
                    out.headerLines.push_back(states[t].headerLine);
                }
                states[t].otherLines.clear();
                states[t].row[kOtherLinesSlot] = {};
                ++out.elements;
                states[t].open = false;
                for (const std::size_t slot : matchers_[t].filledSlots) {
                    states[t].row[slot] = {};
                }
            }
            open = 0;
        }
    };

    // The chunk is looked at 64 bytes at a time: one look finds the line ends, the colons and
    // the bytes that may start a kind token of every line in those bytes; a line's own view of
    // its first 64 bytes is cut from the window it starts in and the next one.
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t windowStart = 0;
    LineMasks window = lineMasks(data, std::min<std::size_t>(64, size));
    LineMasks next;
    bool haveNext = false;
    const auto nextWindow = [&]() -> const LineMasks& {
        if (!haveNext) {
            const std::size_t from = windowStart + 64;
            next = from < size ? lineMasks(data + from, std::min<std::size_t>(64, size - from))
                               : LineMasks{};
            haveNext = true;
        }
        return next;
    };
    std::size_t pos = 0;
    while (pos < size) {
        while (pos >= windowStart + 64) {
            window = nextWindow();
            windowStart += 64;
            haveNext = false;
        }
        const std::size_t offset = pos - windowStart;
        LineMasks masks{window.lineEnds >> offset, window.colons >> offset,
                        window.kindStarts >> offset};
        if (offset > 0 &&
            (masks.lineEnds == 0 || offset + std::countr_zero(masks.lineEnds) >= 64)) {
            const LineMasks& after = nextWindow();
            masks.lineEnds |= after.lineEnds << (64 - offset);
            masks.colons |= after.colons << (64 - offset);
            masks.kindStarts |= after.kindStarts << (64 - offset);
        }
        std::size_t end = 0;
        if (masks.lineEnds != 0) {
            const auto length = static_cast<std::size_t>(std::countr_zero(masks.lineEnds));
            end = pos + length;
            const std::uint64_t within = (std::uint64_t{1} << length) - 1;
            masks.colons &= within;
            masks.kindStarts &= within;
        } else {
            end = findLineEnd(data, std::min(pos + 64, size), size);
        }
        handleLine(std::string_view(data + pos, end - pos), masks.colons, masks.kindStarts);
        ++lineIndex;
        if (end == size) {
            break;
        }
        pos = end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1);
    }

    result.lines = lineIndex;
    result.openAtEnd = {};
    if (keepOpen && open != 0) {
        result.openAtEnd.open.assign(types, false);
        result.openAtEnd.rows.resize(types);
        result.openAtEnd.headerLines.resize(types);
        for (std::size_t t = 0; t < types; ++t) {
            if (plan_[t].keepOtherLines) {
                states[t].row[kOtherLinesSlot] = states[t].otherLines;
            }
            result.openAtEnd.open[t] = states[t].open;
            result.openAtEnd.headerLines[t] = states[t].headerLine - lineIndex;
            for (std::size_t slot = 0; slot < kElementRowSlots; ++slot) {
                result.openAtEnd.rows[t][slot] = std::string(states[t].row[slot]);
            }
        }
    }
}

}  // namespace qor::scan
