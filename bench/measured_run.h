#pragma once

#include <functional>
#include <string>
#include <vector>

// Runs one piece of work in a process of its own, so that its peak memory and processor time
// are its own and not the benchmark's.
namespace qor::bench {

struct RunFigures {
    double wallSeconds = 0;
    double cpuSeconds = 0;  // user and system, every thread
    long peakKiB = 0;       // resident
    bool succeeded = false;
};

// `work` runs in a forked child; its return value is the child's exit status.
RunFigures measureInChild(const std::function<int()>& work);

// Runs `arguments[0]` (searched in PATH) with the rest as its arguments; its standard output
// is discarded. It succeeded when it exited with `expectedStatus`.
RunFigures measureCommand(const std::vector<std::string>& arguments, int expectedStatus = 0);

// The median of a sorted copy; 0 when empty.
double median(std::vector<double> values);

}  // namespace qor::bench
