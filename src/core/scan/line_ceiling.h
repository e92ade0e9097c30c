#pragma once

#include <cstddef>
#include <string>

#include "core/base/user_interface.h"

// The bound on what one line of an input file may cost: a longer line is cut, its first
// `kLineCeilingBytes` bytes are the line every rule sees and the rest of it is skipped.
namespace qor::scan {

inline constexpr std::size_t kLineCeilingBytes = std::size_t{1} << 20;

// Cuts, in place, every line of `text` longer than `ceiling` to its first `ceiling` bytes.
// Lines end at CR or LF. Returns the number of lines cut.
long long cutLongLines(std::string& text, std::size_t ceiling = kLineCeilingBytes);

// Tells, in one information message naming the file, how many of its lines were cut.
// Nothing when none was.
void reportCutLines(UserInterface& ui, const std::string& path, long long count,
                    std::size_t ceiling = kLineCeilingBytes);

}  // namespace qor::scan
