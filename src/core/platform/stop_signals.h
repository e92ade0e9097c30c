#pragma once

#include <memory>

// Turns the signals that ask a program to stop (interrupt, terminate, hang-up) into a request
// that a long run reads as its cancel, so that it ends the way Cancel ends it: temporary files
// removed, locks released. A second such signal ends the program at once, as the signal
// would have. A signal the program was started with ignored (nohup, a background job) stays
// ignored. One instance, for the life of the program; the handlers go with it.
namespace qor::platform {

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The number of the first signal that asked to stop, 0 while none has.
    static int received() noexcept;
    // Waits until the standard input has something to read (or has ended); false when a stop
    // signal came before or comes meanwhile. Any thread may wait.
    static bool waitForStandardInput() noexcept;

private:
    struct Previous;  // the handlers before, given back at the end
    std::unique_ptr<Previous> previous_;
};

}  // namespace qor::platform
