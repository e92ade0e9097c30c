#include "core/elements/table_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "core/elements/arena_fields.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

// A sweep looks for the required text a window of bytes at a time, so that a cancel is seen
// between windows even in an export of gigabytes.
constexpr std::size_t kSweepWindow = std::size_t{1} << 22;
constexpr std::size_t kRowsBetweenChecks = 4096;

// Whether the occurrence of a text of `length` bytes at `hit` (within the row at `offset`)
// lies whole inside one of the row's fields that `searched` selects (bit i: field i). When it
// does not, also where the next occurrence worth a look can start.
struct FieldHit {
    bool counts = false;
    std::size_t next = 0;
};

FieldHit hitInField(std::string_view arena, std::size_t offset, std::size_t fields, std::size_t hit,
                    std::size_t length, std::uint32_t searched) {
    std::size_t at = offset;
    for (std::size_t field = 0; field < fields; ++field) {
        const std::string_view text = nextField(arena, at);
        const auto start = static_cast<std::size_t>(text.data() - arena.data());
        if (hit < start) {
            return {false, start};  // it began in the bytes that hold the field's length
        }
        if (hit < at) {
            // A later occurrence in this field would reach past its end as well.
            return hit + length <= at && ((searched >> field) & 1U) != 0 ? FieldHit{true, 0}
                                                                         : FieldHit{false, at};
        }
    }
    return {false, hit + 1};
}

}  // namespace

// What a filter looks for, worked out once per filter.
struct TableIndex::Search {
    const WildcardPattern& pattern;
    std::string needle;  // ASCII text every match holds; empty: none
    // Which fields the columns show, per type (bit i: field i).
    std::array<std::uint32_t, scan::kElementTypeCount> fields{};
    bool typeColumn = false;
    bool nodeColumn = false;
    bool fileColumn = false;

    Search(const ElementTable& table, const WildcardPattern& searched,
           std::span<const Column> columns)
        : pattern(searched), needle(searched.requiredText()) {
        for (const Column& column : columns) {
            typeColumn = typeColumn || column.kind == ColumnKind::Type;
            nodeColumn = nodeColumn || column.kind == ColumnKind::Node;
            fileColumn = fileColumn || column.kind == ColumnKind::File;
            for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
                const int field = table.fieldIndex(info.type, column);
                if (field >= 0) {
                    fields[scan::indexOf(info.type)] |= 1U << field;
                }
            }
        }
    }

    // Whether one of the row's fields the columns show matches.
    bool fieldMatches(const ElementTable& table, RowIndex row, RowFields& texts) const {
        const std::uint32_t shown = fields[scan::indexOf(table.record(row).type)];
        if (shown == 0) {
            return false;
        }
        const std::size_t count = table.fields(row, texts);
        const ExportEncoding& encoding = table.fileOf(row).encoding;
        for (std::size_t field = 0; field < count; ++field) {
            if (((shown >> field) & 1U) != 0 && pattern.matches(texts[field], encoding)) {
                return true;
            }
        }
        return false;
    }
};

TableIndex::TableIndex(std::shared_ptr<const ElementTable> table) : table_(std::move(table)) {}

void TableIndex::checkHalt(const std::atomic<bool>* cancel) const {
    if (stopped_.load(std::memory_order_relaxed) ||
        (cancel != nullptr && cancel->load(std::memory_order_relaxed))) {
        throw QueryStopped();
    }
}

void TableIndex::prepare() const {
    std::call_once(arenaOrderBuilt_, [this] { buildArenaOrder(); });
}

void TableIndex::buildArenaOrder() const {
    const ElementTable& table = *table_;
    // Rows come file by file; within a file each chunk holds its types one after the other,
    // so offsets rise within a type but not across the file's rows.
    fileStart_.assign(table.files().size() + 1, 0);
    for (const ElementRecord& record : table.records()) {
        ++fileStart_[record.file + 1];
    }
    for (std::size_t f = 1; f < fileStart_.size(); ++f) {
        fileStart_[f] += fileStart_[f - 1];
    }
    arenaOrder_ = table.allRows();
    arenaOffsets_.resize(arenaOrder_.size());
    for (std::size_t row = 0; row < arenaOrder_.size(); ++row) {
        arenaOffsets_[row] = table.record(static_cast<RowIndex>(row)).offset;
    }
    // Each file's rows by offset: a radix sort, eleven bits a pass, as many passes as the
    // largest offset needs (three for an arena below 8 GiB).
    constexpr unsigned kBits = 11;
    std::vector<RowIndex> rows;
    std::vector<std::uint64_t> offsets;
    std::vector<std::size_t> next(std::size_t{1} << kBits);
    for (std::size_t f = 0; f + 1 < fileStart_.size(); ++f) {
        const std::size_t first = fileStart_[f];
        const std::size_t count = fileStart_[f + 1] - first;
        const auto from = arenaOffsets_.begin() + static_cast<std::ptrdiff_t>(first);
        if (std::is_sorted(from, from + static_cast<std::ptrdiff_t>(count))) {
            continue;
        }
        rows.resize(count);
        offsets.resize(count);
        const unsigned width = static_cast<unsigned>(
            std::bit_width(table.arena(static_cast<std::uint32_t>(f)).size()));
        for (unsigned shift = 0; shift < width; shift += kBits) {
            std::fill(next.begin(), next.end(), 0);
            const auto digit = [&](std::uint64_t offset) {
                return static_cast<std::size_t>((offset >> shift) & (next.size() - 1));
            };
            for (std::size_t i = first; i < first + count; ++i) {
                ++next[digit(arenaOffsets_[i])];
            }
            std::size_t start = 0;
            for (std::size_t& bucket : next) {
                start += std::exchange(bucket, start);
            }
            for (std::size_t i = first; i < first + count; ++i) {
                const std::size_t to = next[digit(arenaOffsets_[i])]++;
                offsets[to] = arenaOffsets_[i];
                rows[to] = arenaOrder_[i];
            }
            std::copy(offsets.begin(), offsets.end(), from);
            std::copy(rows.begin(), rows.end(),
                      arenaOrder_.begin() + static_cast<std::ptrdiff_t>(first));
        }
    }
}

std::shared_ptr<const ColumnRanks> TableIndex::ranks(const Column& column) const {
    std::promise<std::shared_ptr<const ColumnRanks>> promise;
    SharedRanks ranked;
    bool mine = false;
    {
        const std::lock_guard lock(ranksMutex_);
        const auto known = std::find_if(ranks_.begin(), ranks_.end(),
                                        [&](const auto& entry) { return entry.first == column; });
        if (known != ranks_.end()) {
            ranked = known->second;
        } else {
            ranked = promise.get_future().share();
            ranks_.emplace_back(column, ranked);
            mine = true;
        }
    }
    if (mine) {
        try {
            checkHalt(nullptr);
            const std::vector<RowIndex> all = table_->allRows();
            promise.set_value(
                std::make_shared<const ColumnRanks>(rankRows(*table_, all, column, &stopped_)));
        } catch (...) {
            // Not kept: a later call works it out afresh.
            {
                const std::lock_guard lock(ranksMutex_);
                std::erase_if(ranks_, [&](const auto& entry) { return entry.first == column; });
            }
            promise.set_exception(std::current_exception());
        }
    }
    return ranked.get();
}

std::vector<RowIndex> TableIndex::matching(std::span<const RowIndex> rows,
                                           const WildcardPattern& pattern,
                                           std::span<const Column> columns,
                                           const std::atomic<bool>* cancel) const {
    if (pattern.empty()) {
        return {rows.begin(), rows.end()};
    }
    const ElementTable& table = *table_;
    const Search search(table, pattern, columns);
    // 1: a row to look at, 2: a row that matches.
    std::vector<std::uint8_t> marks(table.rowCount());
    for (const RowIndex row : rows) {
        marks[row] = 1;
    }

    // The columns that are no fields show one text per type or per export: matched once each.
    if (search.typeColumn || search.nodeColumn || search.fileColumn) {
        const std::vector<ExportFile>& files = table.files();
        std::vector<std::uint8_t> shows(files.size() * scan::kElementTypeCount);
        for (std::size_t f = 0; f < files.size(); ++f) {
            const ExportEncoding& encoding = files[f].encoding;
            const bool byFile =
                (search.nodeColumn && pattern.matches(files[f].nodeNumber, encoding)) ||
                (search.fileColumn && pattern.matches(files[f].path, encoding));
            for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
                shows[f * scan::kElementTypeCount + scan::indexOf(info.type)] =
                    byFile || (search.typeColumn && pattern.matches(info.name, encoding)) ? 1 : 0;
            }
        }
        for (const RowIndex row : rows) {
            const ElementRecord& record = table.record(row);
            if (shows[record.file * scan::kElementTypeCount + scan::indexOf(record.type)] != 0) {
                marks[row] = 2;
            }
        }
    }

    if (!search.needle.empty() && rows.size() >= table.rowCount() / 8) {
        // Many rows: sweep the arenas for the text every match holds.
        prepare();
        for (std::uint32_t file = 0; file < table.files().size(); ++file) {
            sweepFile(file, search, marks, cancel);
        }
    } else {
        // Few rows, or nothing to sweep for: row by row, in the table's order, which reads the
        // arenas front to back.
        std::vector<RowIndex> inTableOrder(rows.begin(), rows.end());
        std::sort(inTableOrder.begin(), inTableOrder.end());
        RowFields texts;
        std::size_t looked = 0;
        for (const RowIndex row : inTableOrder) {
            if (++looked % kRowsBetweenChecks == 0) {
                checkHalt(cancel);
            }
            if (marks[row] == 1 && search.fieldMatches(table, row, texts)) {
                marks[row] = 2;
            }
        }
    }
    checkHalt(cancel);

    std::vector<RowIndex> matched;
    for (const RowIndex row : rows) {
        if (marks[row] == 2) {
            matched.push_back(row);
        }
    }
    return matched;
}

void TableIndex::sweepFile(std::uint32_t file, const Search& search,
                           std::vector<std::uint8_t>& marks,
                           const std::atomic<bool>* cancel) const {
    const ElementTable& table = *table_;
    const std::string_view arena = table.arena(file);
    const std::size_t first = fileStart_[file];
    const std::size_t end = fileStart_[file + 1];
    if (first == end) {
        return;
    }
    const std::string_view needle = search.needle;
    const bool holdingIsMatching = search.pattern.matchesByRequiredText();
    RowFields texts;
    std::size_t slot = first;  // the row (in arena order) the last occurrence fell in
    std::size_t at = arenaOffsets_[first];
    std::size_t steps = 0;
    while (at < arena.size()) {
        if (++steps % kRowsBetweenChecks == 0) {
            checkHalt(cancel);
        }
        const std::size_t limit = std::min(arena.size(), at + kSweepWindow + needle.size() - 1);
        const std::size_t hit = scan::findNoCase(arena.substr(0, limit), needle, at);
        if (hit == scan::kNotFound) {
            if (limit == arena.size()) {
                break;
            }
            checkHalt(cancel);
            at = limit - (needle.size() - 1);
            continue;
        }
        // The row the occurrence falls in: gallop ahead from the last one, then halve.
        if (slot + 1 < end && arenaOffsets_[slot + 1] <= hit) {
            std::size_t low = slot + 1;
            std::size_t step = 1;
            while (low + step < end && arenaOffsets_[low + step] <= hit) {
                low += step;
                step *= 2;
            }
            const auto data = arenaOffsets_.begin();
            slot = static_cast<std::size_t>(
                std::upper_bound(data + static_cast<std::ptrdiff_t>(low),
                                 data + static_cast<std::ptrdiff_t>(std::min(low + step, end)),
                                 hit) -
                data - 1);
        }
        const RowIndex row = arenaOrder_[slot];
        const std::size_t rowEnd = slot + 1 < end ? arenaOffsets_[slot + 1] : arena.size();
        if (marks[row] != 1) {
            at = rowEnd;
        } else if (holdingIsMatching) {
            const FieldHit found =
                hitInField(arena, arenaOffsets_[slot], table.fieldCount(row), hit, needle.size(),
                           search.fields[scan::indexOf(table.record(row).type)]);
            if (found.counts) {
                marks[row] = 2;
                at = rowEnd;
            } else {
                at = found.next;
            }
        } else {
            if (search.fieldMatches(table, row, texts)) {
                marks[row] = 2;
            }
            at = rowEnd;
        }
    }
}

}  // namespace qor::elements
