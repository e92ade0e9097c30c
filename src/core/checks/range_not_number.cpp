// range-not-number: a RANGEMIN or RANGEMAX that is there but is no number (AI, AO).
#include <QtGlobal>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    forEachRange(input.table, cancel, [&](elements::RowIndex row, const RangeFields& range) {
        if (!range.max.empty() && !numberValue(range.max)) {
            out.push_back({row, range.maxField, 0, 0});
        }
        if (!range.min.empty() && !numberValue(range.min)) {
            out.push_back({row, range.minField, 0, 0});
        }
    });
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const elements::ElementTable& table = input.table;
    const scan::ElementTypeInfo& type = scan::elementType(table.record(finding.row).type);
    return fillIn(
        wordsOf(QT_TRANSLATE_NOOP("Checks", "%1 '%2' is not a number"), wording),
        {type.parameters[finding.other - 1], shownField(table, finding.row, finding.other)});
}

}  // namespace

const Check kRangeNotNumber{
    "range-not-number",
    QT_TRANSLATE_NOOP("Checks", "RANGEMIN or RANGEMAX present but not a number (AI, AO)"),
    Severity::Warning,
    false,
    find,
    message};

}  // namespace qor::checks
