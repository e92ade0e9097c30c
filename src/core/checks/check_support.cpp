#include "core/checks/check_support.h"

#include <algorithm>
#include <cstdint>

#include "core/base/ascii.h"
#include "core/base/translation.h"
#include "core/elements/arena_fields.h"
#include "core/elements/row_query.h"

namespace qor::checks {
namespace {

// FNV-1a: names and designations are short, and equal keys are what matters. 32 bits, so that
// a row and its key's hash sort as one 64-bit number; the keys of equal hashes are compared.
std::uint32_t hashOf(std::string_view bytes, std::uint32_t seed) {
    std::uint32_t hash = 2166136261u ^ seed;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

// Sorts `keys` by their high 32 bits, stably: keys of one hash keep their order. Four passes of
// a byte each, far quicker than a comparison sort over millions of rows.
void sortByHash(std::vector<std::uint64_t>& keys) {
    std::vector<std::uint64_t> scratch(keys.size());
    for (int shift = 32; shift < 64; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (const std::uint64_t key : keys) {
            ++starts[((key >> shift) & 0xFF) + 1];
        }
        for (std::size_t digit = 1; digit < starts.size(); ++digit) {
            starts[digit] += starts[digit - 1];
        }
        for (const std::uint64_t key : keys) {
            scratch[starts[(key >> shift) & 0xFF]++] = key;
        }
        keys.swap(scratch);
    }
}

}  // namespace

std::optional<double> numberValue(std::string_view text) {
    return elements::decimalValue(text);
}

int parameterField(const elements::ElementTable& table, scan::ElementType type,
                   std::string_view parameter) {
    return table.fieldIndex(type, {elements::ColumnKind::Parameter, parameter});
}

std::string foldedText(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = foldAscii(c);
    }
    return folded;
}

std::string wordsOf(const char* english, Wording wording) {
    return wording == Wording::English ? std::string(english) : translate("Checks", english);
}

std::string shownText(std::string_view bytes, const elements::ExportFile& file) {
    std::string text;
    appendAsUtf8(text, bytes, file.encoding);
    return text;
}

std::string shownField(const elements::ElementTable& table, elements::RowIndex row,
                       std::size_t field) {
    return shownText(table.field(row, field), table.fileOf(row));
}

KeyGroups groupEqualFields(const elements::ElementTable& table, std::size_t field, bool perExport,
                           const std::atomic<bool>& cancel) {
    // Each row with a key as its key's hash (high half) and its index (low half).
    std::vector<std::uint64_t> keyed;
    keyed.reserve(table.rowCount());
    for (elements::RowIndex row = 0; row < table.rowCount(); ++row) {
        const std::string_view key = table.field(row, field);
        if (!key.empty()) {
            const std::uint32_t hash = hashOf(key, perExport ? table.record(row).file : 0);
            keyed.push_back(std::uint64_t{hash} << 32 | row);
        }
        if ((row & 0xFFFF) == 0 && cancel.load(std::memory_order_relaxed)) {
            return {};
        }
    }
    sortByHash(keyed);  // rows were added in order, so each hash's rows stay in table order
    const auto hashAt = [&](std::size_t i) { return keyed[i] >> 32; };
    const auto rowAt = [&](std::size_t i) { return static_cast<elements::RowIndex>(keyed[i]); };
    KeyGroups groups;
    std::vector<elements::RowIndex> run;
    const auto sameKey = [&](elements::RowIndex a, elements::RowIndex b) {
        return (!perExport || table.record(a).file == table.record(b).file) &&
               table.field(a, field) == table.field(b, field);
    };
    for (std::size_t i = 0; i < keyed.size();) {
        std::size_t end = i + 1;
        while (end < keyed.size() && hashAt(end) == hashAt(i)) {
            ++end;
        }
        if (end - i > 1) {
            // Equal hashes nearly always mean equal keys; split the run when they do not.
            run.clear();
            for (std::size_t k = i; k < end; ++k) {
                run.push_back(rowAt(k));
            }
            while (!run.empty()) {
                const elements::RowIndex first = run.front();
                const auto rest = std::stable_partition(
                    run.begin(), run.end(),
                    [&](elements::RowIndex row) { return sameKey(first, row); });
                if (rest - run.begin() > 1) {
                    groups.rows.insert(groups.rows.end(), run.begin(), rest);
                    groups.ends.push_back(groups.rows.size());
                }
                run.erase(run.begin(), rest);
            }
        }
        i = end;
    }
    return groups;
}

void findEmptyParameter(const elements::ElementTable& table, std::string_view parameter,
                        FindingList& out, const std::atomic<bool>& cancel) {
    std::array<int, scan::kElementTypeCount> fieldOf{};
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        fieldOf[scan::indexOf(info.type)] = parameterField(table, info.type, parameter);
    }
    forEachRow(table, cancel, [&](elements::RowIndex row) {
        const int field = fieldOf[scan::indexOf(table.record(row).type)];
        if (field > 0 && table.field(row, static_cast<std::size_t>(field)).empty()) {
            out.push_back({row, static_cast<std::uint32_t>(field), 0, 0});
        }
    });
}

void findWithinExports(const elements::ElementTable& table, const KeyGroups& groups,
                       FindingList& out) {
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::size_t end = groups.ends[g];
        for (std::size_t first = groups.begin(g); first < end;) {
            // The run of this group's rows in one export: in table order, so by line.
            const std::uint32_t file = table.record(groups.rows[first]).file;
            std::size_t last = first + 1;
            std::uint32_t lines = 1;
            for (; last < end && table.record(groups.rows[last]).file == file; ++last) {
                lines +=
                    table.record(groups.rows[last]).line != table.record(groups.rows[last - 1]).line
                        ? 1
                        : 0;
            }
            for (std::size_t i = first; lines > 1 && i < last; ++i) {
                const elements::RowIndex row = groups.rows[i];
                std::size_t other = first;
                while (table.record(groups.rows[other]).line == table.record(row).line) {
                    ++other;
                }
                out.push_back({row, groups.rows[other], lines - 1, 0});
            }
            first = last;
        }
    }
}

std::string elementName(const elements::ElementTable& table, elements::RowIndex row) {
    return std::string(scan::elementType(table.record(row).type).name) + " " +
           shownField(table, row, 0);
}

const KeyGroups& SharedWork::nameGroups(const elements::ElementTable& table,
                                        const std::atomic<bool>& cancel) {
    std::call_once(nameOnce_, [&] { names_ = groupEqualFields(table, kNameField, false, cancel); });
    return names_;
}

const KeyGroups& nameGroups(const CheckInput& input, KeyGroups& own,
                            const std::atomic<bool>& cancel) {
    if (input.shared != nullptr) {
        return input.shared->nameGroups(input.table, cancel);
    }
    own = groupEqualFields(input.table, kNameField, false, cancel);
    return own;
}

}  // namespace qor::checks
