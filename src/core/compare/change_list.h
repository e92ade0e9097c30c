#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/scan/element_types.h"

namespace qor::compare {

class SpillFile;

enum class ChangeKind : std::uint8_t { Added, Removed, Changed };

// "added", "removed", "changed".
std::string_view changeKindName(ChangeKind kind);

// The TYPE of a node information change and its PARAMETERs, and the PARAMETER of what
// differs in an element's other lines.
inline constexpr std::string_view kNodeTypeName = "NODE";
inline constexpr std::array<std::string_view, 3> kNodeFieldNames = {
    "NODE NUMBER", "NODE DESCRIPTION", "GENERATION DATE"};
inline constexpr std::string_view kOtherLinesName = "(other lines)";

// One change, as views into the bytes that hold it.
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

// Where a ChangeList keeps its changes: in memory up to `memoryBytes`, the rest in a scratch
// file in `folder` (the system's temporary folder when empty), in pages of about `pageBytes`.
struct ChangeStorage {
    std::string folder;
    std::size_t memoryBytes = std::size_t{32} << 20;
    std::size_t pageBytes = std::size_t{64} << 10;
};

// The changes of a comparison, in the order they are reported: the node information first,
// then the types in the order of the statistics table; within a type the added and changed
// elements in the order they were added, then the removed ones in theirs. Each change is a
// compact record (its three values and three bytes) in one of those groups; the records of a
// group fill pages, and the pages beyond the storage's memory go to a scratch file, so that
// millions of changes cost a few bytes of memory each page. They are read back in order
// (read) or by row (ChangeReader).
class ChangeList {
public:
    explicit ChangeList(ChangeStorage storage = {});
    ~ChangeList();
    ChangeList(ChangeList&&) noexcept;
    ChangeList& operator=(ChangeList&&) noexcept;

    // Copies the change. `parameter` is empty, a box name of the change's type,
    // kOtherLinesName or, for the node information, one of kNodeFieldNames. Throws QorError
    // when the scratch file cannot be written.
    void add(const ChangeView& change);
    // After the last add: the rows are numbered in report order from now on.
    void finish();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    using Visit = std::function<void(std::size_t row, const ChangeView& change)>;
    // Calls `visit` for the rows from `first` up to `last`, in order; a change's views last
    // for the call. Throws QorError when the scratch file cannot be read.
    void read(std::size_t first, std::size_t last, const Visit& visit) const;
    void read(const Visit& visit) const { read(0, size_, visit); }
    // The rows of one type (none: the node information), which follow each other: [first, last).
    std::pair<std::size_t, std::size_t> rowsOf(std::optional<scan::ElementType> type) const;

private:
    friend class ChangeReader;

    struct Page {
        std::uint64_t firstRecord = 0;  // of its group
        std::uint64_t spilledAt = 0;    // in the scratch file, when `bytes` is empty
        std::uint32_t size = 0;
        std::string bytes;
    };
    struct Group {
        std::vector<Page> pages;
        std::string open;  // the page being filled
        std::uint64_t records = 0;
        std::uint64_t openFirstRecord = 0;
    };
    // 0 for the node information; then per type in report order its added and changed
    // elements, then its removed ones.
    static constexpr std::size_t kGroupCount = 1 + 2 * scan::kElementTypeCount;

    void seal(Group& group);
    // The page's bytes: in memory, or read from the scratch file into `buffer`.
    std::string_view pageBytes(const Page& page, std::string& buffer) const;
    // The group of `row` and the row's place in it.
    std::pair<std::size_t, std::uint64_t> locate(std::size_t row) const;

    ChangeStorage storage_;
    std::array<Group, kGroupCount> groups_;
    std::array<std::size_t, kGroupCount + 1> groupStarts_{};  // rows, after finish
    std::size_t size_ = 0;
    std::size_t keptBytes_ = 0;
    std::unique_ptr<SpillFile> spill_;
};

// Reads rows of a finished ChangeList in any order, keeping the page of the last one: the
// change returned lasts until the next call. One reader per thread.
class ChangeReader {
public:
    explicit ChangeReader(const ChangeList& changes) : changes_(changes) {}
    ChangeView at(std::size_t row);

private:
    const ChangeList& changes_;
    std::string buffer_;
    const ChangeList::Page* page_ = nullptr;
    std::string_view bytes_;
    std::size_t row_ = static_cast<std::size_t>(-1);
    ChangeView change_;
};

}  // namespace qor::compare
