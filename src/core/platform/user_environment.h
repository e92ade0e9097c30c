#pragma once

#include <cstdio>
#include <string>
#include <vector>

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

// The memory the system reports in MiB: installed and free now; -1 where it says nothing.
struct SystemMemory {
    long long installedMiB = -1;
    long long freeMiB = -1;
};
SystemMemory systemMemory();

// Whether the stream is an interactive terminal.
bool isTerminal(std::FILE* stream);

// The program's arguments after its name, in UTF-8. On Windows they are read from the wide
// command line: `argv` holds them in the ANSI code page, which cannot spell every name.
std::vector<std::string> programArguments(int argc, char** argv);

// A window program on Windows starts without standard output and error: those it lacks then go
// to the console it was started from, if any, so that --help and --version answer there.
// Elsewhere it does nothing.
void useParentConsole();

// Whether this is the Windows build running under wine, whose window system behaves in ways
// Windows does not (its own file dialogs leave no window with the keyboard under an X window
// manager, for one). False elsewhere.
bool runsUnderWine();

// While it lives, a Windows console shows the program's UTF-8 output as the text it is; the
// console's own code page comes back after. Elsewhere it does nothing.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned previousCodePage_ = 0;
};

}  // namespace qor::platform
