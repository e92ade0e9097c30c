#include "core/base/progress_pacer.h"

namespace qor {

ProgressPacer::ProgressPacer(UserInterface& ui, std::chrono::milliseconds interval)
    : ui_(ui), interval_(interval), last_(std::chrono::steady_clock::now()) {}

void ProgressPacer::tickSlow(long long value) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ >= interval_) {
        last_ = now;
        ui_.setProgress(value, maximum_);
        ui_.yield();
    }
}

void ProgressPacer::flush(long long value) {
    last_ = std::chrono::steady_clock::now();
    ui_.setProgress(value, maximum_);
    ui_.yield();
}

}  // namespace qor
