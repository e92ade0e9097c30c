#pragma once

#include <cstdio>
#include <string>

#include "core/base/date_time.h"

class QLocale;

namespace qor::platform {

// The abbreviated month names of `locale` for date stamps: stand-alone forms without dots
// or blanks, fit for a file name ("Dez", "déc", "thg12"); English where a locale has none.
MonthNames monthNamesOf(const QLocale& locale);
// Those of the user's locale.
MonthNames systemMonthNames();

// The default scan result folder: the user's Documents folder (the home folder when the
// platform names none).
std::string defaultResultFolder();
// Makes the default result folder when `folder` is it and it does not exist yet, as the
// desktop makes the Documents folder at a first login. Any other folder is left to the scan,
// which refuses a missing one. False when nothing was made.
bool createMissingDocumentsFolder(const std::string& folder);

// Whether the stream is an interactive terminal.
bool isTerminal(std::FILE* stream);

}  // namespace qor::platform
