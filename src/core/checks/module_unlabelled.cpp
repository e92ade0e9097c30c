// module-unlabelled: an I/O module (AI, AO, DI, DO) that the cabinet-module table does not
// hold, so that its channels get no cabinet; one finding per module and export, on its first
// channel. A channel designation without "." names no module: one finding each.
#include <QtGlobal>
#include <unordered_map>

#include "core/base/translation.h"
#include "core/checks/all_checks.h"
#include "core/checks/check_support.h"
#include "core/scan/cabinet_labels.h"

namespace qor::checks {
namespace {

constexpr std::uint32_t kNamesNoModule = 1;

void find(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel) {
    const elements::ElementTable& table = input.table;
    const scan::CabinetIndex index(input.cabinets->rows);
    // The modules of the export being looked at, without a row: where their finding is.
    std::unordered_map<std::string, std::size_t> missing;
    std::uint32_t file = kTableRow;
    forEachRow(table, cancel, [&](elements::RowIndex row) {
        const elements::ElementRecord& record = table.record(row);
        if (!scan::elementType(record.type).channel) {
            return;
        }
        if (record.file != file) {
            missing.clear();
            file = record.file;
        }
        const std::optional<std::string_view> skeleton =
            scan::moduleSkeletonOf(table.designation(row));
        if (index.lastRowNamed(skeleton.value_or(std::string_view{})) != nullptr) {
            return;
        }
        if (!skeleton) {
            out.push_back({row, kNamesNoModule, 0, 0});
            return;
        }
        const auto [at, added] = missing.try_emplace(foldedText(*skeleton), out.size());
        if (added) {
            out.push_back({row, 0, 1, 0});
        } else {
            ++out[at->second].count;
        }
    });
}

std::string message(const Finding& finding, const CheckInput& input, Wording wording) {
    const elements::ElementTable& table = input.table;
    const std::string designation = shownField(table, finding.row, 0);
    if (finding.other == kNamesNoModule) {
        return fillIn(
            wordsOf(QT_TRANSLATE_NOOP("Checks", "designation %1 names no module: it holds no '.'"),
                    wording),
            {designation});
    }
    const std::string module =
        std::string(scan::moduleSkeletonOf(designation).value_or(std::string_view{}));
    if (finding.count == 1) {
        return fillIn(
            wordsOf(QT_TRANSLATE_NOOP("Checks",
                                      "module %1 is not in the cabinet-module table (one channel)"),
                    wording),
            {module});
    }
    return fillIn(
        wordsOf(QT_TRANSLATE_NOOP("Checks",
                                  "module %1 is not in the cabinet-module table (%2 channels)"),
                wording),
        {module, std::to_string(finding.count)});
}

}  // namespace

const Check kModuleUnlabelled{
    "module-unlabelled",
    QT_TRANSLATE_NOOP("Checks", "An AI, AO, DI or DO module that the cabinet-module table lacks"),
    Severity::Warning,
    true,
    find,
    message};

}  // namespace qor::checks
