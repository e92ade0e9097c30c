#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/checks/cabinet_source.h"
#include "core/elements/element_table.h"

// Checks over an element table: each finds one kind of mistake (a name given twice, a range the
// wrong way round, a module without a cabinet) and reports it as compact findings. A check is a
// row of the registry (checkRegistry): its identifier, what it finds, its severity, the function
// that finds, and the one that words a finding. Checks read the table only, never the export.
namespace qor::checks {

// Most severe first: a choice of "warning" takes errors and warnings.
enum class Severity : std::uint8_t { Error, Warning, Note };

// "error", "warning", "note": as linters write them, in every language.
std::string_view severityName(Severity severity);
std::optional<Severity> severityNamed(std::string_view name);

// The row of a finding about the cabinet-module table rather than an element.
inline constexpr elements::RowIndex kTableRow = std::numeric_limits<elements::RowIndex>::max();

// One finding: 16 bytes, whatever its message; the message is worded only when it is shown.
struct Finding {
    elements::RowIndex row = kTableRow;  // the element, or kTableRow
    // What the check notes beside the row, as its message() reads them: another row, a field,
    // a row of the cabinet table, a count.
    std::uint32_t other = 0;
    std::uint32_t count = 0;
    std::uint8_t check = 0;  // index in checkRegistry()
};

class SharedWork;

// What checks read: the table, and the cabinet-module table when one is given (then the checks
// of labels run). `shared` holds what several checks of one run work out once (the runner's).
struct CheckInput {
    const elements::ElementTable& table;
    const CabinetSource* cabinets = nullptr;
    SharedWork* shared = nullptr;
};

// How a message is worded: in English (standard output, files) or in the running language.
enum class Wording { English, Translated };

// Where a check puts its findings; `check` is filled in by the runner.
using FindingList = std::vector<Finding>;

struct Check {
    std::string_view id;      // "duplicate-name": stable, for --disable and scripts
    const char* description;  // one line, English (translated through the "Checks" context)
    Severity severity;
    bool needsCabinets;  // runs only when a cabinet-module table is given
    // Appends the check's findings in any order. Looks at `cancel` now and then and returns
    // early once it is set.
    void (*find)(const CheckInput& input, FindingList& out, const std::atomic<bool>& cancel);
    // The message of one of its findings.
    std::string (*message)(const Finding& finding, const CheckInput& input, Wording wording);
};

// Every check, in the order findings of one element are listed.
std::span<const Check* const> checkRegistry();
// The index of the check named `id`, or nothing.
std::optional<std::size_t> checkNamed(std::string_view id);

}  // namespace qor::checks
