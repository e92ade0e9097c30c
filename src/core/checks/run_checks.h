#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "core/base/qor_error.h"
#include "core/checks/check.h"

namespace qor::checks {

// Which checks run: those at or above `minimum` severity that are not disabled.
struct CheckChoice {
    Severity minimum = Severity::Note;
    std::vector<bool> disabled;  // by registry index; missing entries are enabled

    bool runs(std::size_t check) const;
};

struct CheckResult {
    // Sorted: the elements' findings in table order (a row's in registry order), then those
    // of the cabinet table, by check and table row.
    std::vector<Finding> findings;
    std::vector<std::size_t> counts;  // per check, by registry index
    std::vector<bool> ran;            // per check: whether it ran (chosen, and its input given)
};

// Thrown when the checks were cancelled.
class ChecksCancelled : public QorError {
public:
    ChecksCancelled();
};

// Runs the chosen checks over the input, on up to `jobs` threads (0: one per processor).
// Throws ChecksCancelled once `cancel` (when given) is set.
CheckResult runChecks(const CheckInput& input, const CheckChoice& choice, std::size_t jobs = 0,
                      const std::atomic<bool>* cancel = nullptr);

// What a finding says, in the columns every output shows: texts in UTF-8 (each export's
// decoded as it is read), the path as bytes.
struct FindingRow {
    std::string file;  // the export's path; the import or settings file for the table's findings
    std::uint64_t line = 0;  // the element's header line; the import file's line, or 0
    std::string node;
    std::string type;  // "AI"; empty for the table's findings
    std::string designation;
    std::string id;
    Severity severity = Severity::Note;
    std::string message;
};
FindingRow findingRow(const Finding& finding, const CheckInput& input, Wording wording);

}  // namespace qor::checks
