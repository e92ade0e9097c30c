#pragma once

#include <QStringList>

namespace qor::bench {

// Launch to window: how long from starting a fresh process until the main window shows the
// export's text, through the desktop application's own start-up (splash, options, main
// window, the command-line file).
//   --launch FILE [--repeat N] [--busy THREADS] [--first-run]
// starts this program again with --launch-once N times (default 5) and prints the median,
// the fastest and the slowest; --busy keeps THREADS threads spinning meanwhile (0: one per
// processor), so the figure shows a machine that is busy with other work.
//   --launch-once FILE [--first-run]
// is one launch: it prints the milliseconds of the monotonic clock at which the text was
// first painted, for the parent to hold against the moment it started the process.
// Both return the exit status of the program; the settings, lock and data folders are
// temporary. The association counts as registered, except with --first-run: then each launch
// registers it as a user's first run does (files and the desktop's databases).
int measureLaunches(const QStringList& arguments, const QString& program);
int launchOnce(int argc, char** argv, const QString& file, bool firstRun);

}  // namespace qor::bench
