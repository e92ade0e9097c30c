#include "core/checks/run_checks.h"

#include <exception>
#include <new>
#include <thread>

#include "core/base/translation.h"
#include "core/base/worker_threads.h"
#include "core/checks/check_support.h"

namespace qor::checks {
namespace {

// The findings of every check in one list, by row (the table's at the end), each row's in
// registry order: a counting sort, stable, so that each check's own order within a row stays.
// Empties the lists.
std::vector<Finding> merged(std::vector<FindingList>& lists, std::size_t rows) {
    std::size_t total = 0;
    for (const FindingList& list : lists) {
        total += list.size();
    }
    if (total >= UINT32_MAX) {
        throw std::bad_alloc();
    }
    // Slot rows + 0 holds the cabinet table's findings.
    std::vector<std::uint32_t> starts(rows + 2);
    const auto slotOf = [rows](const Finding& finding) {
        return finding.row == kTableRow ? rows : static_cast<std::size_t>(finding.row);
    };
    for (const FindingList& list : lists) {
        for (const Finding& finding : list) {
            ++starts[slotOf(finding) + 1];
        }
    }
    for (std::size_t i = 1; i < starts.size(); ++i) {
        starts[i] += starts[i - 1];
    }
    std::vector<Finding> findings(total);
    for (FindingList& list : lists) {
        for (const Finding& finding : list) {
            findings[starts[slotOf(finding)]++] = finding;
        }
        FindingList().swap(list);  // the list's memory goes before the next one is copied
    }
    return findings;
}

}  // namespace

bool CheckChoice::runs(std::size_t check) const {
    return checkRegistry()[check]->severity <= minimum &&
           !(check < disabled.size() && disabled[check]);
}

ChecksCancelled::ChecksCancelled() : QorError(translate("Checks", "The checks were cancelled.")) {}

CheckResult runChecks(const CheckInput& input, const CheckChoice& choice, std::size_t jobs,
                      const std::atomic<bool>* cancel) {
    static const std::atomic<bool> never{false};
    const std::atomic<bool>& stop = cancel != nullptr ? *cancel : never;
    const std::span<const Check* const> registry = checkRegistry();
    SharedWork shared;
    CheckInput in = input;
    in.shared = &shared;

    CheckResult result;
    result.ran.resize(registry.size());
    result.counts.resize(registry.size());
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < registry.size(); ++i) {
        result.ran[i] =
            choice.runs(i) && (!registry[i]->needsCabinets || input.cabinets != nullptr);
        if (result.ran[i]) {
            chosen.push_back(i);
        }
    }
    std::vector<FindingList> lists(registry.size());
    std::atomic<std::size_t> next{0};
    // The checks that group rows come first in the registry: the threads start on them.
    const auto work = [&] {
        for (std::size_t k = next++; k < chosen.size() && !stop; k = next++) {
            const std::size_t i = chosen[k];
            registry[i]->find(in, lists[i], stop);
            for (Finding& finding : lists[i]) {
                finding.check = static_cast<std::uint8_t>(i);
            }
        }
    };
    runOnThreads(
        std::min<std::size_t>(jobs == 0 ? std::max(1u, std::thread::hardware_concurrency()) : jobs,
                              chosen.size()),
        work);
    if (stop) {
        throw ChecksCancelled();
    }
    for (std::size_t i = 0; i < registry.size(); ++i) {
        result.counts[i] = lists[i].size();
    }
    result.findings = merged(lists, input.table.rowCount());
    return result;
}

FindingRow findingRow(const Finding& finding, const CheckInput& input, Wording wording) {
    const Check& check = *checkRegistry()[finding.check];
    FindingRow row;
    row.id = check.id;
    row.severity = check.severity;
    row.message = check.message(finding, input, wording);
    if (finding.row == kTableRow) {
        row.file = input.cabinets->path;
        row.line = input.cabinets->lines[finding.other];
        return row;
    }
    const elements::ElementTable& table = input.table;
    const elements::ExportFile& file = table.fileOf(finding.row);
    row.file = file.path;
    row.line = table.record(finding.row).line;
    row.node = shownText(file.nodeNumber, file);
    row.type = scan::elementType(table.record(finding.row).type).name;
    row.designation = shownField(table, finding.row, 0);
    return row;
}

}  // namespace qor::checks
