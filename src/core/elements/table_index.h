#pragma once

#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "core/elements/element_table.h"
#include "core/elements/row_query.h"
#include "core/elements/wildcard_pattern.h"

namespace qor::elements {

// What a window asks of a loaded table again and again, worked out once and then shared by any
// number of threads: the rows of each export in the order their fields lie in its arena, so that
// a filter searches an export's bytes front to back in one sweep instead of row by row; and each
// column's ranks, so that after the first sort by a column every sort by it is a counting sort.
// The table is held, never changed; the index costs 12 bytes per row, and 4 per ranked column.
class TableIndex {
public:
    explicit TableIndex(std::shared_ptr<const ElementTable> table);

    const ElementTable& table() const { return *table_; }

    // Builds what filters need, at once (otherwise the first filter does). Any thread.
    void prepare() const;

    // Every row's rank in `column`, worked out on the first call by the thread that makes it;
    // others asking meanwhile wait for that. Throws QueryStopped after stop().
    std::shared_ptr<const ColumnRanks> ranks(const Column& column) const;

    // Those of `rows` (kept in their order) that show `pattern` in any of `columns`: the rows
    // matchRows keeps, by the same rules. Throws QueryStopped once `cancel` is set or after
    // stop().
    std::vector<RowIndex> matching(std::span<const RowIndex> rows, const WildcardPattern& pattern,
                                   std::span<const Column> columns,
                                   const std::atomic<bool>* cancel = nullptr) const;

    // Makes work under way give up soon and later work refuse: the owner goes.
    void stop() { stopped_ = true; }

private:
    struct Search;
    void buildArenaOrder() const;
    void checkHalt(const std::atomic<bool>* cancel) const;
    // Marks (1 -> 2) candidates of `file` that show the search's required text where it counts.
    void sweepFile(std::uint32_t file, const Search& search, std::vector<std::uint8_t>& marks,
                   const std::atomic<bool>* cancel) const;

    std::shared_ptr<const ElementTable> table_;
    std::atomic<bool> stopped_{false};

    mutable std::once_flag arenaOrderBuilt_;
    // Per file, its rows sorted by their offset in its arena, and those offsets.
    mutable std::vector<std::size_t> fileStart_;  // into the two below; one past the end last
    mutable std::vector<RowIndex> arenaOrder_;
    mutable std::vector<std::uint64_t> arenaOffsets_;

    using SharedRanks = std::shared_future<std::shared_ptr<const ColumnRanks>>;
    mutable std::mutex ranksMutex_;
    mutable std::vector<std::pair<Column, SharedRanks>> ranks_;
};

}  // namespace qor::elements
