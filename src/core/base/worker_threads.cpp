#include "core/base/worker_threads.h"

#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace qor {

void runOnThreads(std::size_t threads, const std::function<void()>& work) {
    std::mutex failureMutex;
    std::exception_ptr failure;
    const auto guarded = [&] {
        try {
            work();
        } catch (...) {
            // Carried to the calling thread, which rethrows it once every thread has ended.
            const std::lock_guard lock(failureMutex);
            failure = failure ? failure : std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < threads; ++t) {
        workers.emplace_back(guarded);
    }
    guarded();
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace qor
