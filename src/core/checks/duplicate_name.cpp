// duplicate-name: the same NAME on two elements of one export, its bytes compared exactly
// (values are read trimmed of spaces).
#include <QtGlobal>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    KeyGroups own;
    findWithinExports(input.table, nameGroups(input, own, cancel), out);
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const elements::ElementTable& table = input.table;
    const std::string name = shownField(table, finding.row, kNameField);
    const std::string other = elementName(table, finding.other);
    const std::string line = std::to_string(table.record(finding.other).line);
    if (finding.count <= 1) {
        return fillIn(
            wordsOf(QT_TRANSLATE_NOOP("Checks", "NAME '%1' is also on %2 at line %3"), wording),
            {name, other, line});
    }
    return fillIn(wordsOf(QT_TRANSLATE_NOOP(
                              "Checks", "NAME '%1' is also on %2 at line %3; %4 elements share it"),
                          wording),
                  {name, other, line, std::to_string(finding.count + 1)});
}

}  // namespace

const Check kDuplicateName{
    "duplicate-name",
    QT_TRANSLATE_NOOP("Checks", "The same NAME on two elements of one export"),
    Severity::Error,
    false,
    find,
    message};

}  // namespace qor::checks
