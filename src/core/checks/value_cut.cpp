// value-cut: a value longer than the 30 characters (15 for a designation) the outputs keep, so
// that every output shows it cut. The reader notes each cut as it reads (ElementRecord).
#include <QtGlobal>
#include <bit>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    const elements::ElementTable& table = input.table;
    forEachRow(table, cancel, [&](elements::RowIndex row) {
        for (std::uint32_t cut = table.record(row).cutFields; cut != 0; cut &= cut - 1) {
            out.push_back({row, static_cast<std::uint32_t>(std::countr_zero(cut)), 0, 0});
        }
    });
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const elements::ElementTable& table = input.table;
    const std::string shown = shownField(table, finding.row, finding.other);
    if (finding.other == 0) {
        return fillIn(wordsOf(QT_TRANSLATE_NOOP("Checks",
                                                "the designation is longer than 15 characters: "
                                                "every output shows %1"),
                              wording),
                      {shown});
    }
    const scan::ElementTypeInfo& type = scan::elementType(table.record(finding.row).type);
    return fillIn(wordsOf(QT_TRANSLATE_NOOP(
                              "Checks", "%1 is longer than 30 characters: every output shows '%2'"),
                          wording),
                  {type.parameters[finding.other - 1], shown});
}

}  // namespace

const Check kValueCut{"value-cut",
                      QT_TRANSLATE_NOOP("Checks",
                                        "A value longer than the 30 characters (15 for a "
                                        "designation) that every output keeps"),
                      Severity::Note,
                      false,
                      find,
                      message};

}  // namespace qor::checks
