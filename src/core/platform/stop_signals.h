#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

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
    // One line of the standard input without its end: read byte by byte, so that nothing
    // meant for a later question is held in a buffer the next wait cannot see. Nothing when a
    // stop signal came before or comes meanwhile, when the input ended before any byte, or when
    // the line grows past `maxBytes` (an endless line is no answer). Any thread may read.
    static std::optional<std::string> readStandardInputLine(std::size_t maxBytes);

private:
    struct Previous;  // the handlers before, given back at the end
    std::unique_ptr<Previous> previous_;
};

}  // namespace qor::platform
