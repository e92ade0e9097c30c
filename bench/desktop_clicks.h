#pragma once

#include <QString>

namespace qor::bench {

// What a first scan costs a person: from a fresh account (nothing in the settings store), F2
// and "Scan Now" for the defaults; then to a scan of every type with every parameter, driven
// through the real Options dialog with mouse clicks and the menu shortcuts, once box by box,
// once with "Enable All Types" and each tab's "Select All", once with "Select Every Parameter
// of Every Type". Each path is checked to give every type (with every parameter where it
// ticks), then scanned into a temporary folder. Prints the clicks and key presses of each
// path. Returns the exit status.
int countClicksToFullScan(const QString& file);

// What a re-scan costs when every result is kept: scans FILE for every type into a temporary
// folder, then scans again and answers the first "already exists" question with "No to All".
// Prints both scans' times and the questions each asked. Returns the exit status.
int timeRescanKeepingAll(const QString& file);

}  // namespace qor::bench
