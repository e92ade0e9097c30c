#pragma once

#include "core/platform/path_names.h"

namespace qor::testing {

// Another system's path rules for one test; the system's own again after it.
class ChosenPathRules {
public:
    explicit ChosenPathRules(const platform::PathRules& rules)
        : before_(platform::shownPathRules()) {
        platform::chooseShownPathRules(rules);
    }
    ~ChosenPathRules() { platform::chooseShownPathRules(before_); }
    ChosenPathRules(const ChosenPathRules&) = delete;
    ChosenPathRules& operator=(const ChosenPathRules&) = delete;

private:
    platform::PathRules before_;
};

}  // namespace qor::testing
