#pragma once

#include <cstdint>
#include <string>

// A seeded "after" for a generated "before" export, for timing comparisons.
namespace qor::gen {

struct EditCounts {
    long long dropped = 0;     // blocks left out: removed elements
    long long changed = 0;     // blocks with one value changed
    long long duplicated = 0;  // blocks written twice: added elements of the same designation
};

// Copies the export at `from` (LF or CR LF line ends) to `to`, each block after the first three
// (the preamble and the node's own blocks) dropped, changed in the value of its last parameter line
// or written twice with a chance of `perMille` / 1000 each. The same seed gives the same copy.
// Throws std::runtime_error when a file cannot be read or written.
EditCounts writeEditedCopy(const std::string& from, const std::string& to, std::uint64_t seed,
                           unsigned perMille = 5);

}  // namespace qor::gen
