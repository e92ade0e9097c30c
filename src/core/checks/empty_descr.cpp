// empty-descr: an element of a type with a DESCR parameter (all but the DAT types) without one.
#include <QtGlobal>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    findEmptyParameter(input.table, "DESCR", out, cancel);
}

std::string message(const Finding&, const CheckInput&, Wording wording) {
    return wordsOf(QT_TRANSLATE_NOOP("Checks", "the element has no DESCR"), wording);
}

}  // namespace

const Check kEmptyDescr{
    "empty-descr",  QT_TRANSLATE_NOOP("Checks", "An element without a DESCR (types that have one)"),
    Severity::Note, false,
    find,           message};

}  // namespace qor::checks
