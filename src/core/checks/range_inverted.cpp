// range-inverted: RANGEMIN at or above RANGEMAX where both are numbers (AI, AO).
#include <QtGlobal>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    forEachRange(input.table, cancel, [&](elements::RowIndex row, const RangeFields& range) {
        const std::optional<double> low = numberValue(range.min);
        const std::optional<double> high = numberValue(range.max);
        if (low && high && *low >= *high) {
            out.push_back({row, 0, 0, 0});
        }
    });
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const elements::ElementTable& table = input.table;
    const scan::ElementType type = table.record(finding.row).type;
    const auto field = [&](std::string_view parameter) {
        return shownField(table, finding.row,
                          static_cast<std::size_t>(parameterField(table, type, parameter)));
    };
    return fillIn(
        wordsOf(QT_TRANSLATE_NOOP("Checks", "RANGEMIN %1 is not below RANGEMAX %2"), wording),
        {field("RANGEMIN"), field("RANGEMAX")});
}

}  // namespace

const Check kRangeInverted{
    "range-inverted",
    QT_TRANSLATE_NOOP("Checks", "RANGEMIN at or above RANGEMAX, both numbers (AI, AO)"),
    Severity::Error,
    false,
    find,
    message};

}  // namespace qor::checks
