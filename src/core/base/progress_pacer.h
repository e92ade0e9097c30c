#pragma once

#include <chrono>

#include "core/base/user_interface.h"

namespace qor {

// Reports progress and yields to the event loop on a timer, not per line: long loops call
// tick() as often as they like and pay for a clock read only every few hundred calls.
class ProgressPacer {
public:
    explicit ProgressPacer(UserInterface& ui,
                           std::chrono::milliseconds interval = std::chrono::milliseconds(40));

    void setMaximum(long long maximum) { maximum_ = maximum; }
    void tick(long long value) {
        if (++calls_ % kCallsPerClockRead == 0) {
            tickSlow(value);
        }
    }
    // Shows the final value at once.
    void flush(long long value);

private:
    static constexpr unsigned kCallsPerClockRead = 256;
    void tickSlow(long long value);

    UserInterface& ui_;
    std::chrono::milliseconds interval_;
    std::chrono::steady_clock::time_point last_;
    long long maximum_ = 0;
    unsigned calls_ = 0;
};

}  // namespace qor
