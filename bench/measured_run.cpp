#include "measured_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qor::bench {
namespace {

using Clock = std::chrono::steady_clock;

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

RunFigures waitFor(pid_t child, Clock::time_point start, int expectedStatus = 0) {
    RunFigures figures;
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        return figures;
    }
    figures.wallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    figures.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    figures.peakKiB = usage.ru_maxrss;
    figures.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == expectedStatus;
    return figures;
}

}  // namespace

RunFigures measureInChild(const std::function<int()>& work) {
    std::fflush(nullptr);  // the child must not print the parent's buffered output again
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        int status = 1;
        try {
            status = work();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "run failed: %s\n", error.what());
        }
        std::fflush(nullptr);
        _exit(status);
    }
    return waitFor(child, start);
}

RunFigures measureCommand(const std::vector<std::string>& arguments, int expectedStatus) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::fflush(nullptr);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return waitFor(child, start, expectedStatus);
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace qor::bench
