#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/element_records.h"
#include "core/compare/paged_bytes.h"

namespace qor::compare {

// The elements of one type in the old export, kept as records in file order, and their
// pairing with the new export's elements: the k-th element of a designation in the new export
// pairs with the k-th element of that designation in the old one. Memory: the records and
// about 45 bytes per element.
class OldElements {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    explicit OldElements(std::size_t boxes = 0) : boxes_(boxes) {}

    // Records of the old export, in file order (one chunk's worth at a time). Throws QorError
    // past 3 000 000 000 elements of a type.
    void append(std::string_view records);
    // Builds the pairing index: after the last append, before the first pair.
    void index();

    // The old element that the next new element named `designation` pairs with, now taken;
    // kNone when the old export has no more elements of that name. `hash` is hashOf(designation).
    std::size_t pair(std::string_view designation, std::size_t hash);
    static std::size_t hashOf(std::string_view designation) {
        return std::hash<std::string_view>{}(designation);
    }
    // Starts loading what pair() will look at for `hash`, or record() for `element`: a look-up
    // lands anywhere in memory, and several can be on their way at once.
    void prefetchPair(std::size_t hash) const;
    void prefetchRecord(std::size_t element) const;

    std::size_t size() const { return starts_.size(); }
    ElementRecord record(std::size_t element) const;
    bool paired(std::size_t element) const { return paired_[element]; }

private:
    std::string_view designationOf(std::size_t element) const;
    std::size_t slotOf(std::string_view designation, std::size_t hash) const;
    // The slot a look-up of `hash` starts from: its high 32 bits scaled to the table's size
    // (fewer than 2^32 slots, as there are at most kMaxElements).
    std::size_t homeOf(std::size_t hash) const {
        return static_cast<std::size_t>((static_cast<std::uint64_t>(hash) >> 32) *
                                            static_cast<std::uint64_t>(table_.size()) >>
                                        32);
    }

    static constexpr std::uint32_t kEnd = UINT32_MAX;
    static constexpr std::size_t kMaxElements = 3'000'000'000;

    // A designation and the first element of that name. Most designations are short enough to
    // be kept here, so that a look-up touches the table only; a longer one (15 characters of
    // several bytes each) is read from its first element's record.
    static constexpr std::size_t kSlotNameBytes = 15;
    struct Slot {
        std::array<char, kSlotNameBytes> name{};
        std::uint8_t size = 0;
        std::uint32_t first = 0;  // the element + 1; 0: a free slot
    };

    std::size_t boxes_;
    PagedBytes bytes_;
    std::vector<std::uint64_t> starts_;  // positions in bytes_
    std::vector<Slot> table_;            // open addressing
    std::vector<std::uint32_t> next_;    // the next element of the same name, or kEnd
    std::vector<std::uint32_t> cursor_;  // for the first element of a name: the next to pair
    std::vector<bool> paired_;
};

}  // namespace qor::compare
