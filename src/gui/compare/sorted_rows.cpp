#include "gui/compare/sorted_rows.h"

#include <algorithm>
#include <compare>
#include <string>

namespace qor::gui {
namespace {

constexpr std::size_t kPrefixBytes = 8;
constexpr std::uint32_t kLonger = kPrefixBytes + 1;

// A key as it sorts in memory: its first bytes big-endian (zero after its end), so that
// numbers compare as the bytes do, and its length up to kLonger. Two keys whose prefixes and
// lengths differ are ordered by them; a shorter key whose prefix another one shares is the
// start of that one.
struct Key {
    std::uint64_t prefix = 0;
    std::uint32_t row = 0;
    std::uint32_t size = 0;
};

Key keyOfRow(std::string_view bytes, std::size_t row) {
    Key key;
    for (std::size_t i = 0; i < kPrefixBytes; ++i) {
        key.prefix = key.prefix << 8 |
                     (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : std::uint64_t{0});
    }
    key.row = static_cast<std::uint32_t>(row);
    key.size = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), kLonger));
    return key;
}

bool sharesPrefix(const Key& a, const Key& b) {
    return a.prefix == b.prefix && a.size == kLonger && b.size == kLonger;
}

// The long keys that sort only by their whole bytes: those rows, in row order, and their bytes.
class LongKeys {
public:
    void add(std::uint32_t row, std::string_view bytes) {
        rows_.push_back(row);
        starts_.push_back(bytes_.size());
        bytes_.append(bytes);
    }
    std::string_view of(std::uint32_t row) const {
        const auto at = static_cast<std::size_t>(std::lower_bound(rows_.begin(), rows_.end(), row) -
                                                 rows_.begin());
        const std::size_t end = at + 1 < starts_.size() ? starts_[at + 1] : bytes_.size();
        return std::string_view(bytes_).substr(starts_[at], end - starts_[at]);
    }

private:
    std::vector<std::uint32_t> rows_;
    std::vector<std::size_t> starts_;
    std::string bytes_;
};

}  // namespace

std::vector<std::uint32_t> sortedRows(const compare::ChangeList& changes, const SortKeyOf& keyOf,
                                      bool descending) {
    std::vector<Key> keys(changes.size());
    changes.read([&](std::size_t row, const compare::ChangeView& change) {
        keys[row] = keyOfRow(keyOf(change), row);
    });
    // Equal keys in row order, in either direction.
    const auto before = [descending](std::strong_ordering order, std::uint32_t a, std::uint32_t b) {
        return order != 0 ? (descending ? order > 0 : order < 0) : a < b;
    };
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        return before(std::tie(a.prefix, a.size) <=> std::tie(b.prefix, b.size), a.row, b.row);
    });

    // Runs of long keys with one prefix: their order needs all their bytes.
    std::vector<bool> needed(keys.size());
    bool any = false;
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (sharesPrefix(keys[i - 1], keys[i])) {
            needed[keys[i - 1].row] = needed[keys[i].row] = any = true;
        }
    }
    if (any) {
        LongKeys whole;
        changes.read([&](std::size_t row, const compare::ChangeView& change) {
            if (needed[row]) {
                whole.add(static_cast<std::uint32_t>(row), keyOf(change));
            }
        });
        std::vector<std::pair<std::string_view, std::uint32_t>> run;
        for (std::size_t start = 0; start < keys.size();) {
            std::size_t end = start + 1;
            while (end < keys.size() && sharesPrefix(keys[start], keys[end])) {
                ++end;
            }
            if (end - start > 1) {
                run.clear();
                for (std::size_t i = start; i < end; ++i) {
                    run.emplace_back(whole.of(keys[i].row), keys[i].row);
                }
                std::sort(run.begin(), run.end(), [&](const auto& a, const auto& b) {
                    return before(a.first <=> b.first, a.second, b.second);
                });
                for (std::size_t i = start; i < end; ++i) {
                    keys[i].row = run[i - start].second;
                }
            }
            start = end;
        }
    }
    std::vector<std::uint32_t> rows(keys.size());
    std::transform(keys.begin(), keys.end(), rows.begin(), [](const Key& key) { return key.row; });
    return rows;
}

}  // namespace qor::gui
