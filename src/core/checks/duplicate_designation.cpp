// duplicate-designation: two elements of one export under the same item designation, its
// bytes compared exactly, as a comparison pairs elements.
#include <QtGlobal>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    findWithinExports(input.table, groupEqualFields(input.table, 0, true, cancel), out);
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const elements::ElementTable& table = input.table;
    const std::string line = std::to_string(table.record(finding.other).line);
    const std::string designation = shownField(table, finding.row, 0);
    if (finding.count <= 1) {
        return fillIn(
            wordsOf(QT_TRANSLATE_NOOP("Checks", "designation %1 is also at line %2"), wording),
            {designation, line});
    }
    return fillIn(wordsOf(QT_TRANSLATE_NOOP(
                              "Checks", "designation %1 is also at line %2; %3 elements share it"),
                          wording),
                  {designation, line, std::to_string(finding.count + 1)});
}

}  // namespace

const Check kDuplicateDesignation{
    "duplicate-designation",
    QT_TRANSLATE_NOOP("Checks", "The same item designation on two elements of one export"),
    Severity::Error,
    false,
    find,
    message};

}  // namespace qor::checks
