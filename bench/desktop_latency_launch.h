#pragma once

#include <QStringList>

namespace qor::bench {

// Launch to window: how long from starting a fresh process until the main window shows the
// export's text, through the desktop application's own start-up (splash, options, main
// window, the command-line file).
//   --launch FILE [--repeat N] [--busy THREADS] [--first-run] [--used-account]
// starts this program again with --launch-once N times (default 5) and prints the median,
// the fastest and the slowest; --busy keeps THREADS threads spinning meanwhile (0: one per
// processor), so the figure shows a machine that is busy with other work. With
// --used-account each launch finds the settings of an account that has been used: options
// for every type, recent files, a placement, and a result folder that holds the results of
// two scans of FILE (made once, before the launches).
//   --launch-once FILE [--first-run] [--account FOLDER]
// is one launch: it prints the milliseconds of the monotonic clock at which the text was
// first painted, for the parent to hold against the moment it started the process. With
// --account the settings are FOLDER's settings file, else an empty store.
// Both return the exit status of the program; the settings, lock and data folders are
// temporary. The association counts as registered, except with --first-run: then each launch
// registers it as a user's first run does (files and the desktop's databases).
int measureLaunches(const QStringList& arguments, const QString& program);
int launchOnce(int argc, char** argv, const QString& file, bool firstRun, const QString& account);

// Open to text: how long File > Open takes from the request to the export's text painted in a
// main window that is already up, and the longest the event loop went without turning meanwhile
// (a 5 ms timer's largest gap: how long the window did not answer).
//   --open FILE [--repeat N]
// opens FILE N times (default 5), each in a fresh window, and prints the medians and the
// processor time of the opens, beside `wc -l` on the same file. Needs a QApplication.
int measureOpens(const QStringList& arguments);

}  // namespace qor::bench
