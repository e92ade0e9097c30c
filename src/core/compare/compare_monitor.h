#pragma once

#include <cstdint>

#include "core/base/qor_error.h"
#include "core/base/user_interface.h"

namespace qor::compare {

// What a comparison tells and asks while it reads. Both are called on the thread that runs the
// comparison, once per chunk of about 1 MiB: a window that runs it on a worker thread passes
// progress on to its own thread and answers cancel from a flag.
class CompareMonitor {
public:
    virtual ~CompareMonitor() = default;
    // Bytes of both exports read so far, of both exports' sizes.
    virtual void progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) = 0;
    virtual bool cancelRequested() = 0;
};

// The person stopped the comparison: it ends without a result.
class CompareCancelled : public QorError {
public:
    CompareCancelled() : QorError(translate("Comparison", "The comparison was cancelled")) {}
};

// A monitor for a comparison run on the thread of a UserInterface: its progress and cancel.
class UiCompareMonitor : public CompareMonitor {
public:
    explicit UiCompareMonitor(UserInterface& ui) : ui_(ui) {}
    void progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) override {
        ui_.setProgress(static_cast<long long>(bytesRead), static_cast<long long>(bytesTotal));
    }
    bool cancelRequested() override { return ui_.cancelRequested(); }

private:
    UserInterface& ui_;
};

}  // namespace qor::compare
