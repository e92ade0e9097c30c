#pragma once

// With qorbench --no-sync, scans also run with their results' syncs answered as done at once:
// the system calls that make a file durable (fdatasync, fsync and the start of a file's
// write-back) are defined in skipped_syncs.cpp in front of the C library's, and while this
// flag is set they return without doing anything. Only the benchmark links them: the figures
// show what syncing costs, and no program of the product can skip it.
namespace qor::bench {

extern bool skipSyncs;

}  // namespace qor::bench
