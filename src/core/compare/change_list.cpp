#include "core/compare/change_list.h"

#include <algorithm>
#include <array>

namespace qor::compare {

std::string_view changeKindName(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::Added:
            return "added";
        case ChangeKind::Removed:
            return "removed";
        case ChangeKind::Changed:
            break;
    }
    return "changed";
}

ChangeList::Span ChangeList::keep(std::string_view bytes) {
    return bytes.empty() ? Span{}
                         : Span{bytes_.add(bytes), static_cast<std::uint32_t>(bytes.size())};
}

void ChangeList::add(const ChangeView& change) {
    Entry entry;
    entry.parameter = change.parameter;
    entry.designation = keep(change.designation);
    entry.oldValue = keep(change.oldValue);
    entry.newValue = keep(change.newValue);
    entry.type = change.type ? static_cast<std::int8_t>(scan::indexOf(*change.type)) : -1;
    entry.kind = change.kind;
    entries_.push_back(entry);
}

ChangeView ChangeList::operator[](std::size_t row) const {
    const Entry& entry = entries_[row];
    ChangeView change;
    if (entry.type >= 0) {
        change.type = static_cast<scan::ElementType>(entry.type);
    }
    change.kind = entry.kind;
    change.designation = viewOf(entry.designation);
    change.parameter = entry.parameter;
    change.oldValue = viewOf(entry.oldValue);
    change.newValue = viewOf(entry.newValue);
    return change;
}

void ChangeList::sortIntoReportOrder() {
    std::array<int, scan::kElementTypeCount> rank{};
    int next = 1;  // 0: the node information
    for (const scan::ElementType type : scan::statusOrder()) {
        rank[scan::indexOf(type)] = next++;
    }
    const auto key = [&rank](const Entry& entry) {
        const int typeRank = entry.type < 0 ? 0 : rank[static_cast<std::size_t>(entry.type)];
        return 2 * typeRank + (entry.kind == ChangeKind::Removed ? 1 : 0);
    };
    std::stable_sort(entries_.begin(), entries_.end(),
                     [&key](const Entry& a, const Entry& b) { return key(a) < key(b); });
}

}  // namespace qor::compare
