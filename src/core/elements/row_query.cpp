#include "core/elements/row_query.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/base/ascii.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of `text` when it is a decimal number, spaces around allowed.
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

// Appends naturalKey(text) to `out`.
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
        const std::size_t digits = std::min<std::size_t>(i - start, 0xFFFF);
        out += '0';
        out += static_cast<char>(digits >> 8);
        out += static_cast<char>(digits & 0xFF);
        out.append(text.substr(start, i - start));
    }
}

// One row being sorted: the first 16 bytes of its key (big-endian, zero-padded), which settle
// most comparisons without touching the rest, and its position in the rows.
struct SortItem {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    RowIndex position = 0;
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

void sortRows(const ElementTable& table, std::vector<RowIndex>& rows, const Column& column,
              SortOrder order) {
    const bool descending = order == SortOrder::Descending;
    const auto sortBy = [&](auto compare) {
        std::stable_sort(rows.begin(), rows.end(), [&](RowIndex a, RowIndex b) {
            return descending ? compare(b, a) < 0 : compare(a, b) < 0;
        });
    };
    switch (column.kind) {
        case ColumnKind::Type:
            sortBy([&](RowIndex a, RowIndex b) {
                return threeWay(table.record(a).type, table.record(b).type);
            });
            return;
        case ColumnKind::File:
            sortBy([&](RowIndex a, RowIndex b) {
                return threeWay(table.record(a).file, table.record(b).file) == 0
                           ? 0
                           : threeWay(table.fileOf(a).path, table.fileOf(b).path);
            });
            return;
        default:
            break;
    }
    // Each row's key is worked out once: a rank (number, text, empty), a number's value, then
    // the text's natural key; all keys in one buffer. Designations are text, whatever digits
    // they hold.
    const bool designation = column.kind == ColumnKind::Designation;
    std::string keyBytes;
    std::vector<std::size_t> keyStart(rows.size() + 1);
    std::vector<std::string_view> texts(rows.size());
    std::vector<SortItem> items(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view text = table.cell(rows[i], column);
        const ValueKey value = designation ? ValueKey{1, 0, text} : keyOf(text);
        keyStart[i] = keyBytes.size();
        keyBytes += static_cast<char>(value.rank);
        if (value.rank == 0) {
            appendOrderedDouble(keyBytes, value.value);
        }
        appendNaturalKey(keyBytes, text);
        texts[i] = text;
        const std::string_view key = std::string_view(keyBytes).substr(keyStart[i]);
        items[i] = {bigEndianAt(key, 0), bigEndianAt(key, 8), static_cast<RowIndex>(i)};
    }
    keyStart[rows.size()] = keyBytes.size();
    const std::string_view allKeys = keyBytes;
    const auto keyOfItem = [&](const SortItem& item) {
        return allKeys.substr(keyStart[item.position],
                              keyStart[item.position + 1] - keyStart[item.position]);
    };
    // Equal keys fall back on the texts, then on the rows' order: the sort is stable.
    const auto compareItems = [&](const SortItem& a, const SortItem& b) {
        if (a.high != b.high) {
            return a.high < b.high ? -1 : 1;
        }
        if (a.low != b.low) {
            return a.low < b.low ? -1 : 1;
        }
        const int byKey = keyOfItem(a).compare(keyOfItem(b));
        if (byKey != 0) {
            return byKey < 0 ? -1 : 1;
        }
        return compareNatural(texts[a.position], texts[b.position]);
    };
    std::sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) {
        const int sign = descending ? compareItems(b, a) : compareItems(a, b);
        return sign != 0 ? sign < 0 : a.position < b.position;
    });
    std::vector<RowIndex> sorted(rows.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        sorted[i] = rows[items[i].position];
    }
    rows = std::move(sorted);
}

}  // namespace qor::elements
