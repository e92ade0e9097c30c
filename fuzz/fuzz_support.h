#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/base/user_interface.h"

namespace qor::fuzz {

// Stops the run when a property does not hold: libFuzzer keeps the input as a crash.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}

// A user who agrees to every question. Counts the errors reported and keeps the highest
// progress value and maximum shown since the last reset.
class QuietUi : public UserInterface {
public:
    bool askYesNo(const Prompt& /*prompt*/) override { return true; }
    void inform(const Message& /*message*/) override {}
    void reportError(const StandardError& /*error*/) override { ++errors_; }
    void setStatus(std::string_view /*text*/) override {}
    void setProgress(long long value, long long maximum) override {
        highestValue_ = std::max(highestValue_, value);
        highestMaximum_ = std::max(highestMaximum_, maximum);
    }

    void reset() {
        errors_ = 0;
        highestValue_ = -1;
        highestMaximum_ = -1;
    }
    long long errors() const { return errors_; }
    long long highestValue() const { return highestValue_; }
    long long highestMaximum() const { return highestMaximum_; }

private:
    long long errors_ = 0;
    long long highestValue_ = -1;
    long long highestMaximum_ = -1;
};

}  // namespace qor::fuzz
