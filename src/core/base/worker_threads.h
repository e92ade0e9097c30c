#pragma once

#include <cstddef>
#include <functional>

namespace qor {

// Runs `work` on `threads` threads, the calling one among them, and returns once all have
// ended. An exception that leaves one `work` ends that thread only; the first of them is
// rethrown here after the others have finished. Each `work` takes its items from shared state
// (an atomic index, say) and watches whatever flag should stop it early.
void runOnThreads(std::size_t threads, const std::function<void()>& work);

}  // namespace qor
