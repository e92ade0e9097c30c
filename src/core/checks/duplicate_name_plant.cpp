// duplicate-name-plant: the same NAME in exports of two different nodes of a plant. Exports of
// one node (its earlier and later exports side by side) are not held against each other.
#include <QtGlobal>
#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"
#include "core/platform/file_system.h"

namespace qor::checks {
namespace {

// Each export's node: the first export of the same node number, or itself when it has none.
std::vector<std::uint32_t> nodesOf(const elements::ElementTable& table) {
    std::unordered_map<std::string_view, std::uint32_t> first;
    std::vector<std::uint32_t> nodes(table.files().size());
    for (std::uint32_t file = 0; file < nodes.size(); ++file) {
        const std::string& number = table.files()[file].nodeNumber;
        nodes[file] = number.empty() ? file : first.try_emplace(number, file).first->second;
    }
    return nodes;
}

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    const elements::ElementTable& table = input.table;
    if (table.files().size() < 2) {
        return;
    }
    KeyGroups own;
    const KeyGroups& groups = nameGroups(input, own, cancel);
    const std::vector<std::uint32_t> nodes = nodesOf(table);
    // How many of a group's exports each node has; only the nodes a group touched are reset.
    std::vector<std::uint32_t> exportsOfNode(table.files().size());
    std::vector<std::uint32_t> touched;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::size_t begin = groups.begin(g);
        const std::size_t end = groups.ends[g];
        if (table.record(groups.rows[begin]).file == table.record(groups.rows[end - 1]).file) {
            continue;  // one export: rows of a group are in table order, so by export
        }
        for (const std::uint32_t node : touched) {
            exportsOfNode[node] = 0;
        }
        touched.clear();
        std::uint32_t exports = 0;
        // The group's first row, and its first row of another node than that one's.
        const elements::RowIndex first = groups.rows[begin];
        const std::uint32_t firstNode = nodes[table.record(first).file];
        elements::RowIndex firstElsewhere = kTableRow;
        for (std::size_t i = begin; i < end; ++i) {
            const std::uint32_t file = table.record(groups.rows[i]).file;
            if (i == begin || file != table.record(groups.rows[i - 1]).file) {
                ++exports;
                if (exportsOfNode[nodes[file]]++ == 0) {
                    touched.push_back(nodes[file]);
                }
                if (firstElsewhere == kTableRow && nodes[file] != firstNode) {
                    firstElsewhere = groups.rows[i];
                }
            }
        }
        if (firstElsewhere == kTableRow) {
            continue;  // every export of the group is of one node
        }
        for (std::size_t i = begin; i < end; ++i) {
            const std::uint32_t node = nodes[table.record(groups.rows[i]).file];
            out.push_back({groups.rows[i], node == firstNode ? firstElsewhere : first,
                           exports - exportsOfNode[node], 0});
        }
        if ((g & 0xFFF) == 0 && cancel.load(std::memory_order_relaxed)) {
            return;
        }
    }
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const elements::ElementTable& table = input.table;
    const elements::ExportFile& file = table.fileOf(finding.other);
    const std::string name = shownField(table, finding.row, kNameField);
    const std::string node = shownText(file.nodeNumber, file);
    const std::string place = platform::fromFsPath(platform::toFsPath(file.path).filename()) + ":" +
                              std::to_string(table.record(finding.other).line);
    if (finding.count <= 1) {
        return fillIn(
            wordsOf(QT_TRANSLATE_NOOP("Checks", "NAME '%1' is also used in node %2 (%3)"), wording),
            {name, node, place});
    }
    return fillIn(wordsOf(QT_TRANSLATE_NOOP("Checks",
                                            "NAME '%1' is also used in node %2 (%3); %4 exports "
                                            "of other nodes use it"),
                          wording),
                  {name, node, place, std::to_string(finding.count)});
}

}  // namespace

const Check kDuplicateNamePlant{
    "duplicate-name-plant",
    QT_TRANSLATE_NOOP("Checks", "The same NAME in the exports of two nodes of a plant"),
    Severity::Warning,
    false,
    find,
    message};

}  // namespace qor::checks
