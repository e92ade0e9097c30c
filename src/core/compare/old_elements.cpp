#include "core/compare/old_elements.h"

#include <algorithm>
#include <cstring>

#include "core/base/qor_error.h"

namespace qor::compare {

void OldElements::append(std::string_view records) {
    if (records.empty()) {
        return;
    }
    // A chunk's records stay together in one page, so each is found by its page and offset.
    const std::uint64_t position = bytes_.add(records);
    const std::string_view page = bytes_.pageOf(position);
    const std::uint64_t pageBits = position - PagedBytes::offsetOf(position);
    for (std::size_t at = PagedBytes::offsetOf(position); at < page.size();
         at += recordSize(page, at)) {
        if (starts_.size() >= kMaxElements) {
            throw QorError(translate("Comparison", "too many elements of one type to compare"));
        }
        starts_.push_back(pageBits | at);
    }
}

std::string_view OldElements::designationOf(std::size_t element) const {
    const std::uint64_t start = starts_[element];
    return readDesignation(bytes_.pageOf(start), PagedBytes::offsetOf(start));
}

ElementRecord OldElements::record(std::size_t element) const {
    const std::uint64_t start = starts_[element];
    std::size_t at = PagedBytes::offsetOf(start);
    return readRecord(bytes_.pageOf(start), at, boxes_);
}

// The table slot that holds `designation`, or the free slot where it would go.
std::size_t OldElements::slotOf(std::string_view designation, std::size_t hash) const {
    for (std::size_t slot = homeOf(hash);; slot = slot + 1 == table_.size() ? 0 : slot + 1) {
        const Slot& entry = table_[slot];
        if (entry.first == 0) {
            return slot;
        }
        if (entry.size != designation.size()) {
            continue;
        }
        // A name too long for the slot is compared with its first element's.
        const char* name = designation.size() <= kSlotNameBytes
                               ? entry.name.data()
                               : designationOf(entry.first - 1).data();
        if (std::memcmp(name, designation.data(), designation.size()) == 0) {
            return slot;
        }
    }
}

void OldElements::index() {
    const std::size_t count = starts_.size();
    // At most seven tenths full, however many names there are.
    table_.assign(count + count * 3 / 7 + 16, Slot{});
    next_.assign(count, kEnd);
    cursor_.assign(count, kEnd);
    paired_.assign(count, false);
    std::vector<std::size_t> hashes(count);
    for (std::size_t element = 0; element < count; ++element) {
        hashes[element] = hashOf(designationOf(element));
    }
    // From the back, so that each name's chain ends up in file order, headed by its first.
    constexpr std::size_t kAhead = 16;
    for (std::size_t element = count; element-- > 0;) {
        if (element >= kAhead) {
            prefetchPair(hashes[element - kAhead]);
        }
        const std::string_view designation = designationOf(element);
        Slot& entry = table_[slotOf(designation, hashes[element])];
        if (entry.first == 0) {
            std::memcpy(entry.name.data(), designation.data(),
                        std::min(designation.size(), kSlotNameBytes));
            entry.size = static_cast<std::uint8_t>(designation.size());
        } else {
            next_[element] = entry.first - 1;
        }
        entry.first = static_cast<std::uint32_t>(element + 1);
    }
    for (const Slot& entry : table_) {
        if (entry.first != 0) {
            cursor_[entry.first - 1] = entry.first - 1;
        }
    }
}

void OldElements::prefetchPair(std::size_t hash) const {
    __builtin_prefetch(&table_[homeOf(hash)]);
}

void OldElements::prefetchRecord(std::size_t element) const {
    const std::uint64_t start = starts_[element];
    __builtin_prefetch(bytes_.pageOf(start).data() + PagedBytes::offsetOf(start));
}

std::size_t OldElements::pair(std::string_view designation, std::size_t hash) {
    const std::uint32_t first = table_[slotOf(designation, hash)].first;
    if (first == 0) {
        return kNone;
    }
    std::uint32_t& cursor = cursor_[first - 1];
    if (cursor == kEnd) {
        return kNone;
    }
    const std::uint32_t element = cursor;
    cursor = next_[element];
    paired_[element] = true;
    return element;
}

}  // namespace qor::compare
