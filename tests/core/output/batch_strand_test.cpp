#include "core/output/batch_strand.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

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

}  // namespace
}  // namespace qor::output
