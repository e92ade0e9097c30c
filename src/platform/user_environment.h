#pragma once

#include <cstdio>
#include <string>

#include "core/date_time.h"

namespace qor::platform {

// The abbreviated month names of the user's locale.
MonthNames systemMonthNames();

// The default scan result folder: the user's Documents folder (the home folder when the
// platform names none).
std::string defaultResultFolder();

// Whether the stream is an interactive terminal.
bool isTerminal(std::FILE* stream);

}  // namespace qor::platform
