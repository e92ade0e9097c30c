#include "core/elements/row_query.h"

#include <algorithm>
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

// A sort key worked out once per row: comparisons then cost a memcmp, not a parse.
struct SortKey {
    ValueKey value;
    std::string natural;
};

int compareSortKeys(const SortKey& a, const SortKey& b) {
    if (a.value.rank != b.value.rank) {
        return a.value.rank < b.value.rank ? -1 : 1;
    }
    if (a.value.rank == 0 && a.value.value != b.value.value) {
        return a.value.value < b.value.value ? -1 : 1;
    }
    const int order = a.natural.compare(b.natural);
    return order != 0 ? (order < 0 ? -1 : 1) : compareNatural(a.value.text, b.value.text);
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
    key.reserve(text.size() + 4);
    for (std::size_t i = 0; i < text.size();) {
        if (!isDigit(text[i])) {
            key += foldAscii(text[i++]);
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
        key += '0';
        key += static_cast<char>(digits >> 8);
        key += static_cast<char>(digits & 0xFF);
        key.append(text.substr(start, i - start));
    }
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
    // Keys are worked out once per row, not once per comparison; designations order
    // naturally, whatever digits they hold.
    const bool designation = column.kind == ColumnKind::Designation;
    std::vector<SortKey> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view text = table.cell(rows[i], column);
        SortKey& key = keys[i];
        key.value = designation ? ValueKey{1, 0, text} : keyOf(text);
        if (key.value.rank == 1) {
            key.natural = naturalKey(text);
        }
    }
    std::vector<RowIndex> byKey(rows.size());
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        byKey[i] = static_cast<RowIndex>(i);
    }
    std::stable_sort(byKey.begin(), byKey.end(), [&](RowIndex a, RowIndex b) {
        return descending ? compareSortKeys(keys[b], keys[a]) < 0
                          : compareSortKeys(keys[a], keys[b]) < 0;
    });
    std::vector<RowIndex> sorted(rows.size());
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        sorted[i] = rows[byKey[i]];
    }
    rows = std::move(sorted);
}

}  // namespace qor::elements
