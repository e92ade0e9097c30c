#include "core/output/batch_strand.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace qor::output {
namespace {

// Many small batches through the bounded queue arrive whole and in order; a failure of one
// batch reaches the pushing thread and nothing after it is applied.
TEST(BatchStrand, AppliesBatchesInOrderAndPassesTheFirstFailureOn) {
    std::string applied;
    {
        BatchStrand strand([&](std::string_view batch) { applied += batch; });
        std::string expected;
        for (int i = 0; i < 1000; ++i) {
            const std::string batch = std::to_string(i) + ",";
            expected += batch;
            strand.push(batch);
        }
        strand.drain();
        EXPECT_EQ(applied, expected);
    }

    int calls = 0;
    BatchStrand failing([&](std::string_view batch) {
        ++calls;
        if (batch == "bad") {
            throw std::runtime_error("disk full");
        }
    });
    failing.push("good");
    failing.push("bad");
    EXPECT_THROW(
        {
            for (int i = 0; i < 100; ++i) {
                failing.push("later");
            }
            failing.drain();
        },
        std::runtime_error);
    EXPECT_EQ(calls, 2);
}

// While the first batch is being applied, four wait and a fifth push waits for room; a strand
// destroyed without drain() applies none of those still waiting.
TEST(BatchStrand, HoldsAtMostFourBatchesAndDropsThemWhenDestroyed) {
    for (const bool drained : {true, false}) {
        std::promise<void> gate;
        const std::shared_future<void> opened = gate.get_future().share();
        std::atomic<bool> entered = false;
        std::string applied;
        auto strand = std::make_unique<BatchStrand>([&](std::string_view batch) {
            entered = true;
            opened.wait();
            applied += batch;
        });
        strand->push("1");
        while (!entered) {
            std::this_thread::yield();
        }
        for (const char* batch : {"2", "3", "4", "5"}) {
            strand->push(batch);  // never waits: there is room for four
        }
        if (drained) {
            auto fifth = std::async(std::launch::async, [&] { strand->push("6"); });
            EXPECT_EQ(fifth.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
            gate.set_value();
            fifth.get();
            strand->drain();
            EXPECT_EQ(applied, "123456");
        } else {
            // Abandoned (as the destructor does first), the waiting batches are dropped at
            // once; the one being applied ends when the gate lets it go, and nothing follows.
            strand->abandon();
            gate.set_value();
            strand.reset();
            EXPECT_EQ(applied, "1");
        }
    }
}

}  // namespace
}  // namespace qor::output
