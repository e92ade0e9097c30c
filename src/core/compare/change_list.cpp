#include "core/compare/change_list.h"

#include <algorithm>
#include <stdexcept>

#include "core/compare/element_records.h"
#include "core/compare/spill_file.h"

namespace qor::compare {
namespace {

// A record: the kind, the type's index (kNoType for the node information) and the code of
// the parameter, a byte each; then the designation, the old and the new value, each as its
// length in 7-bit groups (low group first) and its bytes.
constexpr std::uint8_t kNoType = 0xFF;
constexpr std::uint8_t kOtherLinesCode = scan::kMaxParameterBoxes + 1;  // 1..8: the boxes
constexpr std::uint8_t kFirstNodeFieldCode = kOtherLinesCode + 1;

std::uint8_t parameterCode(const ChangeView& change) {
    if (change.parameter.empty()) {
        return 0;
    }
    if (change.type) {
        const auto& names = scan::elementType(*change.type).parameters;
        for (std::size_t box = 0; box < names.size(); ++box) {
            if (names[box].data() == change.parameter.data() || names[box] == change.parameter) {
                return static_cast<std::uint8_t>(box + 1);
            }
        }
        if (change.parameter == kOtherLinesName) {
            return kOtherLinesCode;
        }
    } else {
        for (std::size_t field = 0; field < kNodeFieldNames.size(); ++field) {
            if (kNodeFieldNames[field] == change.parameter) {
                return static_cast<std::uint8_t>(kFirstNodeFieldCode + field);
            }
        }
    }
    throw std::logic_error("a change of a parameter the change list does not know");
}

std::string_view parameterOf(const std::optional<scan::ElementType>& type, std::uint8_t code) {
    if (code == 0) {
        return {};
    }
    if (code >= kFirstNodeFieldCode) {
        return kNodeFieldNames[code - kFirstNodeFieldCode];
    }
    return code == kOtherLinesCode ? kOtherLinesName
                                   : scan::elementType(*type).parameters[code - 1u];
}

void putField(std::string& out, std::string_view field) {
    std::size_t length = field.size();
    for (; length >= 0x80; length >>= 7) {
        out += static_cast<char>((length & 0x7F) | 0x80);
    }
    out += static_cast<char>(length);
    out.append(field);
}

constexpr std::size_t kHeaderBytes = 3;

ChangeView takeRecord(std::string_view bytes, std::size_t& at) {
    ChangeView change;
    change.kind = static_cast<ChangeKind>(bytes[at]);
    const auto type = static_cast<std::uint8_t>(bytes[at + 1]);
    if (type != kNoType) {
        change.type = static_cast<scan::ElementType>(type);
    }
    change.parameter = parameterOf(change.type, static_cast<std::uint8_t>(bytes[at + 2]));
    at += kHeaderBytes;
    change.designation = readField(bytes, at);
    change.oldValue = readField(bytes, at);
    change.newValue = readField(bytes, at);
    return change;
}

void skipRecord(std::string_view bytes, std::size_t& at) {
    at += kHeaderBytes;
    for (int field = 0; field < 3; ++field) {
        readField(bytes, at);
    }
}

// The first group of the type's changes: 0 for the node information, then two per type in the
// order of the statistics table.
std::size_t firstGroupOf(std::optional<scan::ElementType> type) {
    static const std::array<std::size_t, scan::kElementTypeCount> ranks = [] {
        std::array<std::size_t, scan::kElementTypeCount> byType{};
        std::size_t rank = 0;
        for (const scan::ElementType each : scan::statusOrder()) {
            byType[scan::indexOf(each)] = rank++;
        }
        return byType;
    }();
    return type ? 1 + 2 * ranks[scan::indexOf(*type)] : 0;
}

std::size_t groupOf(const ChangeView& change) {
    return firstGroupOf(change.type) + (change.type && change.kind == ChangeKind::Removed);
}

}  // namespace

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

ChangeList::ChangeList(ChangeStorage storage) : storage_(std::move(storage)) {}
ChangeList::~ChangeList() = default;
ChangeList::ChangeList(ChangeList&&) noexcept = default;
ChangeList& ChangeList::operator=(ChangeList&&) noexcept = default;

void ChangeList::add(const ChangeView& change) {
    Group& group = groups_[groupOf(change)];
    const std::size_t bytes = kHeaderBytes + change.designation.size() + change.oldValue.size() +
                              change.newValue.size() + 3;
    if (!group.open.empty() && group.open.size() + bytes > storage_.pageBytes) {
        seal(group);
    }
    if (group.open.capacity() < storage_.pageBytes) {
        group.open.reserve(storage_.pageBytes);
    }
    group.open += static_cast<char>(change.kind);
    group.open += static_cast<char>(change.type ? scan::indexOf(*change.type) : kNoType);
    group.open += static_cast<char>(parameterCode(change));
    putField(group.open, change.designation);
    putField(group.open, change.oldValue);
    putField(group.open, change.newValue);
    ++group.records;
    ++size_;
}

void ChangeList::seal(Group& group) {
    if (group.open.empty()) {
        return;
    }
    Page page;
    page.firstRecord = group.openFirstRecord;
    page.size = static_cast<std::uint32_t>(group.open.size());
    if (keptBytes_ + group.open.capacity() <= storage_.memoryBytes) {
        keptBytes_ += group.open.capacity();
        page.bytes = std::move(group.open);
        group.open = std::string();
    } else {
        if (spill_ == nullptr) {
            spill_ = std::make_unique<SpillFile>(storage_.folder);
        }
        page.spilledAt = spill_->append(group.open);
        group.open.clear();
    }
    group.pages.push_back(std::move(page));
    group.openFirstRecord = group.records;
}

void ChangeList::finish() {
    std::size_t start = 0;
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        seal(groups_[g]);
        groups_[g].open = std::string();
        groupStarts_[g] = start;
        start += groups_[g].records;
    }
    groupStarts_[kGroupCount] = start;
}

std::string_view ChangeList::pageBytes(const Page& page, std::string& buffer) const {
    if (!page.bytes.empty()) {
        return page.bytes;
    }
    spill_->read(page.spilledAt, page.size, buffer);
    return buffer;
}

std::pair<std::size_t, std::uint64_t> ChangeList::locate(std::size_t row) const {
    const auto after = std::upper_bound(groupStarts_.begin(), groupStarts_.end(), row);
    const auto group = static_cast<std::size_t>(after - groupStarts_.begin()) - 1;
    return {group, row - groupStarts_[group]};
}

std::pair<std::size_t, std::size_t> ChangeList::rowsOf(
    std::optional<scan::ElementType> type) const {
    const std::size_t first = firstGroupOf(type);
    return {groupStarts_[first], groupStarts_[type ? first + 2 : first + 1]};
}

namespace {

template <typename Pages>
auto pageHolding(const Pages& pages, std::uint64_t record) {
    return std::upper_bound(
               pages.begin(), pages.end(), record,
               [](std::uint64_t r, const auto& page) { return r < page.firstRecord; }) -
           1;
}

}  // namespace

void ChangeList::read(std::size_t first, std::size_t last, const Visit& visit) const {
    last = std::min(last, size_);
    if (first >= last) {
        return;
    }
    std::string buffer;
    std::size_t row = first;
    auto [g, record] = locate(first);
    for (; row < last; ++g, record = 0) {
        const std::vector<Page>& pages = groups_[g].pages;
        if (pages.empty()) {
            continue;
        }
        for (auto page = pageHolding(pages, record); page != pages.end() && row < last; ++page) {
            const std::string_view bytes = pageBytes(*page, buffer);
            std::size_t at = 0;
            for (std::uint64_t r = page->firstRecord; r < record; ++r) {
                skipRecord(bytes, at);
            }
            while (at < bytes.size() && row < last) {
                visit(row++, takeRecord(bytes, at));
            }
        }
    }
}

ChangeView ChangeReader::at(std::size_t row) {
    if (row == row_) {
        return change_;
    }
    const auto [group, record] = changes_.locate(row);
    const std::vector<ChangeList::Page>& pages = changes_.groups_[group].pages;
    const ChangeList::Page& page = *pageHolding(pages, record);
    if (&page != page_) {
        // Until the bytes are there, neither the page nor the row is held.
        page_ = nullptr;
        row_ = static_cast<std::size_t>(-1);
        bytes_ = changes_.pageBytes(page, buffer_);
        page_ = &page;
    }
    std::size_t at = 0;
    for (std::uint64_t r = page.firstRecord; r < record; ++r) {
        skipRecord(bytes_, at);
    }
    change_ = takeRecord(bytes_, at);
    row_ = row;
    return change_;
}

}  // namespace qor::compare
