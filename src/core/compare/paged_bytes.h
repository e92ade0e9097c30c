#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qor::compare {

// Bytes kept in pages filled one after the other: growing never copies what is kept, and what
// was added stays contiguous. A position is the page number << 32 | the offset in the page.
class PagedBytes {
public:
    static constexpr std::size_t kPageBytes = std::size_t{1} << 20;

    std::uint64_t add(std::string_view bytes) {
        if (pages_.empty() || pages_.back().capacity() - pages_.back().size() < bytes.size()) {
            pages_.emplace_back().reserve(std::max(kPageBytes, bytes.size()));
        }
        std::string& page = pages_.back();
        const std::uint64_t position =
            static_cast<std::uint64_t>(pages_.size() - 1) << 32 | page.size();
        page.append(bytes);
        return position;
    }
    // The page that holds `position`, and the offset there.
    std::string_view pageOf(std::uint64_t position) const {
        return pages_[static_cast<std::size_t>(position >> 32)];
    }
    static std::size_t offsetOf(std::uint64_t position) {
        return static_cast<std::size_t>(position & 0xFFFFFFFFu);
    }
    std::string_view view(std::uint64_t position, std::size_t size) const {
        return pageOf(position).substr(offsetOf(position), size);
    }

private:
    std::vector<std::string> pages_;
};

}  // namespace qor::compare
