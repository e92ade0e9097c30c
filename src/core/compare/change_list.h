#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/compare/paged_bytes.h"
#include "core/scan/element_types.h"

namespace qor::compare {

enum class ChangeKind : std::uint8_t { Added, Removed, Changed };

// "added", "removed", "changed".
std::string_view changeKindName(ChangeKind kind);

// The TYPE of a node information change, and the PARAMETER of what differs in an element's
// other lines.
inline constexpr std::string_view kNodeTypeName = "NODE";
inline constexpr std::string_view kOtherLinesName = "(other lines)";

// One change, as views into the list that holds it.
struct ChangeView {
    std::optional<scan::ElementType> type;  // none: the node information
    ChangeKind kind = ChangeKind::Changed;
    std::string_view designation;
    std::string_view parameter;  // empty for an added or removed element
    std::string_view oldValue;
    std::string_view newValue;

    // "AI" .. "DAT(R)" as --enable takes it, or "NODE".
    std::string_view typeName() const {
        return type ? scan::elementType(*type).name : kNodeTypeName;
    }
};

// The changes of a comparison, in the order they are reported: the node information first,
// then the types in the order of the statistics table; within a type the added and changed
// elements in the order of the new export, then the removed ones in the order of the old one.
// About 60 bytes per change besides the values; any row is reached at once, so a table view
// can show a million rows.
class ChangeList {
public:
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    ChangeView operator[](std::size_t row) const;

    // Copies the change's bytes. `parameter` must outlive the list (a name from the type
    // table or one of the constants above).
    void add(const ChangeView& change);
    // Brings changes added in any order of types into the reported order; within a type, what
    // was added keeps its order, removed elements after the others.
    void sortIntoReportOrder();

private:
    struct Span {
        std::uint64_t position = 0;
        std::uint32_t size = 0;
    };
    struct Entry {
        std::string_view parameter;
        Span designation;
        Span oldValue;
        Span newValue;
        std::int8_t type = -1;  // the type's index, -1 for the node information
        ChangeKind kind = ChangeKind::Changed;
    };
    Span keep(std::string_view bytes);
    std::string_view viewOf(Span span) const { return bytes_.view(span.position, span.size); }

    PagedBytes bytes_;
    std::vector<Entry> entries_;
};

}  // namespace qor::compare
