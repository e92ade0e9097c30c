// cabinet-row-unused: a row of the cabinet-module table whose module no channel element of the
// exports checked (one, or a plant's) uses.
#include <QtGlobal>
#include <unordered_set>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"
#include "core/scan/cabinet_labels.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    const elements::ElementTable& table = input.table;
    const std::vector<scan::CabinetRow>& rows = input.cabinets->rows;
    const scan::CabinetIndex index(rows);
    std::vector<bool> matched(rows.size());
    std::string_view previous;  // channels of one module follow each other
    bool first = true;
    forEachRow(table, cancel, [&](elements::RowIndex row) {
        if (!scan::elementType(table.record(row).type).channel) {
            return;
        }
        const std::string_view skeleton =
            scan::moduleSkeletonOf(table.designation(row)).value_or(std::string_view{});
        if (!first && skeleton == previous) {
            return;
        }
        first = false;
        previous = skeleton;
        if (const scan::CabinetRow* match = index.lastRowNamed(skeleton)) {
            matched[static_cast<std::size_t>(match - rows.data())] = true;
        }
    });
    // A module is used when its last row labels a channel; its earlier rows with it.
    std::unordered_set<std::string> used;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (matched[i]) {
            used.insert(foldedText(rows[i].module));
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!used.contains(foldedText(rows[i].module))) {
            out.push_back({kTableRow, static_cast<std::uint32_t>(i), 0, 0});
        }
    }
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const scan::CabinetRow& row = input.cabinets->rows[finding.other];
    return fillIn(
        wordsOf(QT_TRANSLATE_NOOP("Checks", "no element uses module %1 (cabinet %2)"), wording),
        {row.module, row.cabinet});
}

}  // namespace

const Check kCabinetRowUnused{
    "cabinet-row-unused",
    QT_TRANSLATE_NOOP("Checks", "A cabinet-module table row whose module no element uses"),
    Severity::Note,
    true,
    find,
    message};

}  // namespace qor::checks
