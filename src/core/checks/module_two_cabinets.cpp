// module-two-cabinets: a module that the cabinet-module table gives two different cabinets
// (modules compared as the labelling matches them, without regard to ASCII case); the later row
// is the one that labels its channels. An import file's Conflict lines are exactly these.
#include <QtGlobal>
#include <unordered_map>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>&) {
    const std::vector<scan::CabinetRow>& rows = input.cabinets->rows;
    std::unordered_map<std::string, std::uint32_t> last;  // module, its latest row
    for (std::uint32_t i = 0; i < rows.size(); ++i) {
        const auto [at, added] = last.try_emplace(foldedText(rows[i].module), i);
        if (!added) {
            if (rows[at->second].cabinet != rows[i].cabinet) {
                out.push_back({kTableRow, i, at->second, 0});
            }
            at->second = i;
        }
    }
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const CabinetSource& source = *input.cabinets;
    const scan::CabinetRow& row = source.rows[finding.other];
    return fillIn(wordsOf(QT_TRANSLATE_NOOP("Checks",
                                            "module %1 is given cabinet %2 here and cabinet %3 "
                                            "at %4; this row labels its channels"),
                          wording),
                  {row.module, row.cabinet, source.rows[finding.count].cabinet,
                   source.placeOf(finding.count, wording == Wording::English)});
}

}  // namespace

const Check kModuleTwoCabinets{
    "module-two-cabinets",
    QT_TRANSLATE_NOOP("Checks",
                      "A module given two different cabinets in the cabinet-module table"),
    Severity::Error,
    true,
    find,
    message};

}  // namespace qor::checks
