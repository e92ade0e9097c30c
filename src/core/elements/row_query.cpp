#include "core/elements/row_query.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>
#include <numeric>

#include "core/base/ascii.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

// Texts of equal natural keys differ at most in ASCII case and leading zeros. Two texts
// without leading zeros (but for a lone "0") whose classes share a bit are then equal: bit 1
// no lowercase letter, bit 2 no capital. 0: leading zeros, no such promise.
std::uint8_t caseClass(std::string_view text) {
    std::uint8_t bits = 3;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= 'a' && c <= 'z') {
            bits &= 2;
        } else if (c >= 'A' && c <= 'Z') {
            bits &= 1;
        } else if (c == '0' && (i == 0 || !isAsciiDigit(text[i - 1])) && i + 1 < text.size() &&
                   isAsciiDigit(text[i + 1])) {
            return 0;
        }
    }
    return bits;
}

// One row being sorted: the first 16 bytes of its key (big-endian, zero-padded), which settle
// most comparisons without touching the rest, and its position in the rows.
struct SortItem {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    RowIndex position = 0;
    std::uint8_t length = 0;     // of the key, up to 255
    std::uint8_t caseClass = 0;  // see caseClass()
};

std::uint64_t bigEndianAt(std::string_view key, std::size_t from) {
    std::uint64_t value = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        value = (value << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
    }
    return value;
}

// The bytes of a double, in an order that memcmp keeps.
void appendOrderedDouble(std::string& out, double value) {
    if (value == 0) {
        value = 0;  // -0 sorts with 0
    }
    auto bits = std::bit_cast<std::uint64_t>(value);
    bits = (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
    for (int shift = 56; shift >= 0; shift -= 8) {
        out += static_cast<char>((bits >> shift) & 0xFF);
    }
}

}  // namespace

std::vector<RowIndex> matchRows(const ElementTable& table, std::span<const RowIndex> rows,
                                const WildcardPattern& pattern, std::span<const Column> columns) {
    if (pattern.empty()) {
        return {rows.begin(), rows.end()};
    }
    // Per type, the fields the columns show (looked up once, not per row), and whether a
    // column shows something else (type, node, file).
    std::array<std::vector<int>, scan::kElementTypeCount> fieldsOfType;
    bool otherColumns = false;
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        for (const Column& column : columns) {
            const int field = table.fieldIndex(info.type, column);
            if (field >= 0) {
                fieldsOfType[scan::indexOf(info.type)].push_back(field);
            }
        }
    }
    for (const Column& column : columns) {
        otherColumns = otherColumns || column.kind == ColumnKind::Type ||
                       column.kind == ColumnKind::Node || column.kind == ColumnKind::File;
    }
    std::vector<RowIndex> matching;
    RowFields fields;
    for (const RowIndex row : rows) {
        const ExportEncoding& encoding = table.fileOf(row).encoding;
        const std::vector<int>& shown = fieldsOfType[scan::indexOf(table.record(row).type)];
        bool matched = false;
        if (!shown.empty()) {
            table.fields(row, fields);
            for (const int field : shown) {
                if (pattern.matches(fields[static_cast<std::size_t>(field)], encoding)) {
                    matched = true;
                    break;
                }
            }
        }
        for (std::size_t c = 0; !matched && otherColumns && c < columns.size(); ++c) {
            const ColumnKind kind = columns[c].kind;
            matched = (kind == ColumnKind::Type || kind == ColumnKind::Node ||
                       kind == ColumnKind::File) &&
                      pattern.matches(table.cell(row, columns[c]), encoding);
        }
        if (matched) {
            matching.push_back(row);
        }
    }
    return matching;
}

namespace {

constexpr std::size_t kRowsBetweenStopChecks = std::size_t{1} << 16;

void checkStop(const std::atomic<bool>* stop) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
        throw QueryStopped();
    }
}

// The ranks of the exports by node number or path; every row takes its export's rank.
void rankByExport(const ElementTable& table, std::span<const RowIndex> rows, ColumnKind kind,
                  ColumnRanks& ranks) {
    const std::vector<ExportFile>& files = table.files();
    std::vector<ValueKey> keys(files.size());
    for (std::size_t f = 0; f < files.size(); ++f) {
        keys[f] = kind == ColumnKind::Node ? valueKey(files[f].nodeNumber)
                                           : ValueKey{1, 0, files[f].path};
    }
    const auto compare = [&](std::uint32_t a, std::uint32_t b) {
        return kind == ColumnKind::Node ? compareValueKeys(keys[a], keys[b])
                                        : keys[a].text.compare(keys[b].text);
    };
    std::vector<std::uint32_t> byKey(files.size());
    std::iota(byKey.begin(), byKey.end(), std::uint32_t{0});
    std::sort(byKey.begin(), byKey.end(),
              [&](std::uint32_t a, std::uint32_t b) { return compare(a, b) < 0; });
    std::vector<std::uint32_t> rankOfFile(files.size());
    std::uint32_t rank = 0;
    ranks.values = std::numeric_limits<std::uint32_t>::max();
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        rank += i > 0 && compare(byKey[i - 1], byKey[i]) < 0 ? 1 : 0;
        rankOfFile[byKey[i]] = rank;
        if (keys[byKey[i]].rank == 2 && ranks.values > rank) {
            ranks.values = rank;
        }
    }
    ranks.count = files.empty() ? 0 : rank + 1;
    ranks.values = std::min(ranks.values, ranks.count);
    for (const RowIndex row : rows) {
        ranks.ofRow[row] = rankOfFile[table.record(row).file];
    }
}

// The distinct texts of many, each once: a column holds far fewer distinct values than rows
// (descriptions, units, ranges), and only those need sorting. Open addressing, sized once.
class DistinctTexts {
public:
    explicit DistinctTexts(std::size_t most)
        : slots_(std::bit_ceil(std::max<std::size_t>(most + most / 2, 16))),
          mask_(slots_.size() - 1) {}

    static std::size_t hashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }
    // Asks for the slot a text of `hash` starts looking at, to be at hand when add() comes.
    void prefetch(std::size_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

    // The number of `text` (of `hash`), from 0 in the order first met.
    std::uint32_t add(std::string_view text, std::size_t hash) {
        // The hash's high half beside the number: most slots of other texts are told apart
        // without reading their texts.
        const std::uint64_t tag = static_cast<std::uint64_t>(hash >> 32) << 32;
        for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
            const std::uint64_t slot = slots_[at];
            if (slot == 0) {
                texts_.push_back(text);
                slots_[at] = tag | texts_.size();
                return static_cast<std::uint32_t>(texts_.size() - 1);
            }
            if ((slot & ~std::uint64_t{0xFFFFFFFF}) == tag) {
                const auto number = static_cast<std::uint32_t>(slot) - 1;
                if (texts_[number] == text) {
                    return number;
                }
            }
        }
    }
    // The texts, in the order first met; the table is done with.
    std::vector<std::string_view> takeTexts() && {
        slots_ = {};
        return std::move(texts_);
    }

private:
    std::vector<std::string_view> texts_;
    std::vector<std::uint64_t> slots_;  // the tag, and the text's number + 1; 0 free
    std::size_t mask_;
};

// Each distinct text's key is worked out once: a rank (number, text, empty), a number's value,
// then the text's natural key; all keys in one buffer. Designations are text, whatever digits
// they hold.
void rankByField(const ElementTable& table, std::span<const RowIndex> rows, const Column& column,
                 ColumnRanks& ranks, const std::atomic<bool>* stop) {
    const bool designation = column.kind == ColumnKind::Designation;
    std::array<int, scan::kElementTypeCount> fieldOfType{};
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        fieldOfType[scan::indexOf(info.type)] = table.fieldIndex(info.type, column);
    }
    DistinctTexts distinct(rows.size());
    std::vector<std::uint32_t> valueOfRow(rows.size());
    // A batch of rows at a time: their slots are fetched from memory together.
    constexpr std::size_t kBatch = 16;
    std::array<std::string_view, kBatch> batch;
    std::array<std::size_t, kBatch> hashes{};
    for (std::size_t first = 0; first < rows.size(); first += kBatch) {
        if (first % kRowsBetweenStopChecks == 0) {
            checkStop(stop);
        }
        const std::size_t count = std::min(kBatch, rows.size() - first);
        for (std::size_t i = 0; i < count; ++i) {
            const RowIndex row = rows[first + i];
            const int field = fieldOfType[scan::indexOf(table.record(row).type)];
            batch[i] =
                field >= 0 ? table.field(row, static_cast<std::size_t>(field)) : std::string_view{};
            hashes[i] = DistinctTexts::hashOf(batch[i]);
            distinct.prefetch(hashes[i]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            valueOfRow[first + i] = distinct.add(batch[i], hashes[i]);
        }
    }
    checkStop(stop);
    const std::vector<std::string_view> texts = std::move(distinct).takeTexts();
    const std::size_t count = std::min(texts.size(), rows.size());
    std::string keyBytes;
    keyBytes.reserve(count * 12);
    std::vector<std::size_t> keyStart(count + 1);
    std::vector<SortItem> items(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = texts[i];
        ValueKey value = designation ? ValueKey{1, 0, text} : valueKey(text);
        if (designation && scan::trimSpaces(text).empty()) {
            value.rank = 2;
        }
        keyStart[i] = keyBytes.size();
        keyBytes += static_cast<char>(value.rank);
        if (value.rank == 0) {
            appendOrderedDouble(keyBytes, value.value);
        }
        appendNaturalKey(keyBytes, text);
        const std::string_view key = std::string_view(keyBytes).substr(keyStart[i]);
        items[i] = {bigEndianAt(key, 0), bigEndianAt(key, 8), static_cast<RowIndex>(i),
                    static_cast<std::uint8_t>(std::min<std::size_t>(key.size(), 0xFF)),
                    caseClass(text)};
    }
    keyStart[count] = keyBytes.size();
    checkStop(stop);
    const std::string_view allKeys = keyBytes;
    const auto keyOfItem = [&](const SortItem& item) {
        return allKeys.substr(keyStart[item.position],
                              keyStart[item.position + 1] - keyStart[item.position]);
    };
    // Distinct texts of equal keys (they differ in case or leading zeros only) fall back on
    // the texts.
    const auto compareItems = [&](const SortItem& a, const SortItem& b) {
        if (a.high != b.high) {
            return a.high < b.high ? -1 : 1;
        }
        if (a.low != b.low) {
            return a.low < b.low ? -1 : 1;
        }
        if (a.length == b.length && a.length <= 16 && (a.caseClass & b.caseClass) != 0) {
            return 0;  // equal keys, held whole above, and so equal texts
        }
        const int byKey = keyOfItem(a).compare(keyOfItem(b));
        if (byKey != 0) {
            return byKey < 0 ? -1 : 1;
        }
        return compareNatural(texts[a.position], texts[b.position]);
    };
    std::sort(items.begin(), items.end(),
              [&](const SortItem& a, const SortItem& b) { return compareItems(a, b) < 0; });
    checkStop(stop);
    std::vector<std::uint32_t> rankOfText(count);
    std::uint32_t rank = 0;
    ranks.values = std::numeric_limits<std::uint32_t>::max();
    for (std::size_t i = 0; i < items.size(); ++i) {
        rank += i > 0 && compareItems(items[i - 1], items[i]) != 0 ? 1 : 0;
        rankOfText[items[i].position] = rank;
        // The key's first byte is its class: 2 for an empty cell.
        if ((items[i].high >> 56) == 2 && ranks.values > rank) {
            ranks.values = rank;
        }
    }
    ranks.count = items.empty() ? 0 : rank + 1;
    ranks.values = std::min(ranks.values, ranks.count);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ranks.ofRow[rows[i]] = rankOfText[valueOfRow[i]];
    }
}

}  // namespace

ColumnRanks rankRows(const ElementTable& table, std::span<const RowIndex> rows,
                     const Column& column, const std::atomic<bool>* stop) {
    ColumnRanks ranks;
    ranks.ofRow.assign(table.rowCount(), 0);
    switch (column.kind) {
        case ColumnKind::Type:
            for (const RowIndex row : rows) {
                ranks.ofRow[row] =
                    static_cast<std::uint32_t>(scan::indexOf(table.record(row).type));
            }
            ranks.values = ranks.count = scan::kElementTypeCount;
            break;
        case ColumnKind::Node:
        case ColumnKind::File:
            rankByExport(table, rows, column.kind, ranks);
            break;
        default:
            rankByField(table, rows, column, ranks, stop);
            break;
    }
    return ranks;
}

void sortByRanks(std::vector<RowIndex>& rows, const ColumnRanks& ranks, SortOrder order) {
    const bool descending = order == SortOrder::Descending;
    const auto keyOfRow = [&](RowIndex row) {
        const std::uint32_t rank = ranks.ofRow[row];
        return descending && rank < ranks.values ? ranks.values - 1 - rank : rank;
    };
    if (rows.size() < ranks.count / 16) {
        // A few rows of many ranks: cheaper than counting every rank.
        std::stable_sort(rows.begin(), rows.end(),
                         [&](RowIndex a, RowIndex b) { return keyOfRow(a) < keyOfRow(b); });
        return;
    }
    // Counting sort: stable, one pass to count, one to place.
    std::vector<std::size_t> next(std::size_t{ranks.count} + 1);
    for (const RowIndex row : rows) {
        ++next[keyOfRow(row) + 1];
    }
    std::partial_sum(next.begin(), next.end(), next.begin());
    std::vector<RowIndex> sorted(rows.size());
    for (const RowIndex row : rows) {
        sorted[next[keyOfRow(row)]++] = row;
    }
    rows = std::move(sorted);
}

void sortRows(const ElementTable& table, std::vector<RowIndex>& rows, const Column& column,
              SortOrder order) {
    sortByRanks(rows, rankRows(table, rows, column), order);
}

}  // namespace qor::elements
