#include "core/elements/row_query.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>

#include "core/base/ascii.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

template <typename T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The sort key of one row in a column.
struct ValueKey {
    int rank = 0;  // 0 a number, 1 other text, 2 nothing but spaces
    double value = 0;
    std::string_view text;
};

ValueKey keyOf(std::string_view text) {
    const std::optional<double> value = decimalValue(text);
    return {value ? 0 : (scan::trimSpaces(text).empty() ? 2 : 1), value.value_or(0), text};
}

int compareKeys(const ValueKey& a, const ValueKey& b) {
    if (a.rank != b.rank) {
        return a.rank < b.rank ? -1 : 1;
    }
    if (a.rank == 0 && a.value != b.value) {
        return a.value < b.value ? -1 : 1;
    }
    return compareNatural(a.text, b.text);
}

// Appends naturalKey(text) to `out`. A digit run is its significant digits behind one byte
// that counts them, '0' + count (so that it still sorts among other bytes as a digit does);
// from nine digits on, '9' and a second byte with the rest of the count.
void appendNaturalKey(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (!isDigit(text[i])) {
            out += foldAscii(text[i++]);
            continue;
        }
        while (i < text.size() && text[i] == '0') {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        const std::size_t digits = i - start;
        if (digits < 9) {
            out += static_cast<char>('0' + digits);
        } else {
            out += '9';
            out += static_cast<char>(std::min<std::size_t>(digits - 9, 0xFF));
        }
        out.append(text.substr(start, i - start));
    }
}

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
        } else if (c == '0' && (i == 0 || !isDigit(text[i - 1])) && i + 1 < text.size() &&
                   isDigit(text[i + 1])) {
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

std::optional<double> decimalValue(std::string_view text) {
    text = scan::trimSpaces(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and hex digits: only plain decimals count.
    std::size_t at = text.empty() || text.front() != '-' ? 0 : 1;
    std::size_t digits = 0;
    for (; at < text.size() && isDigit(text[at]); ++at, ++digits) {
    }
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && isDigit(text[at]); ++at, ++digits) {
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent == text.size() || !isDigit(text[exponent])) {
            return std::nullopt;
        }
        for (at = exponent; at < text.size() && isDigit(text[at]); ++at) {
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: still a number, at the end of its sign's range.
        const bool negative = text.front() == '-';
        const bool huge = text.find_first_of("eE") == std::string_view::npos ||
                          text[text.find_first_of("eE") + 1] != '-';
        return huge ? (negative ? -HUGE_VAL : HUGE_VAL) : (negative ? -0.0 : 0.0);
    }
    return error == std::errc() && end == text.data() + text.size() ? std::optional(value)
                                                                    : std::nullopt;
}

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

std::string naturalKey(std::string_view text) {
    std::string key;
    appendNaturalKey(key, text);
    return key;
}

int compareNatural(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    int zeros = 0;  // the first difference in leading zeros, when all else is equal
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t aStart = i;
            const std::size_t bStart = j;
            while (i < a.size() && a[i] == '0') {
                ++i;
            }
            while (j < b.size() && b[j] == '0') {
                ++j;
            }
            if (zeros == 0) {
                zeros = threeWay(i - aStart, j - bStart);
            }
            const std::size_t aDigits = i;
            const std::size_t bDigits = j;
            while (i < a.size() && isDigit(a[i])) {
                ++i;
            }
            while (j < b.size() && isDigit(b[j])) {
                ++j;
            }
            if (i - aDigits != j - bDigits) {
                return i - aDigits < j - bDigits ? -1 : 1;
            }
            const int digits =
                a.substr(aDigits, i - aDigits).compare(b.substr(bDigits, j - bDigits));
            if (digits != 0) {
                return digits < 0 ? -1 : 1;
            }
            continue;
        }
        const auto x = static_cast<unsigned char>(foldAscii(a[i]));
        const auto y = static_cast<unsigned char>(foldAscii(b[j]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    return zeros != 0 ? zeros : threeWay(a, b);
}

int compareValues(std::string_view a, std::string_view b) {
    return compareKeys(keyOf(a), keyOf(b));
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
        keys[f] =
            kind == ColumnKind::Node ? keyOf(files[f].nodeNumber) : ValueKey{1, 0, files[f].path};
    }
    const auto compare = [&](std::uint32_t a, std::uint32_t b) {
        return kind == ColumnKind::Node ? compareKeys(keys[a], keys[b])
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
        ValueKey value = designation ? ValueKey{1, 0, text} : keyOf(text);
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
