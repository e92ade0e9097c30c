// empty-name: an element without a NAME (none read, or nothing but spaces).
#include <QtGlobal>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    findEmptyParameter(input.table, "NAME", out, cancel);
}

std::string message(const Finding&, const CheckInput&, Wording wording) {
    return wordsOf(QT_TRANSLATE_NOOP("Checks", "the element has no NAME"), wording);
}

}  // namespace

const Check kEmptyName{"empty-name",
                       QT_TRANSLATE_NOOP("Checks", "An element without a NAME"),
                       Severity::Warning,
                       false,
                       find,
                       message};

}  // namespace qor::checks
