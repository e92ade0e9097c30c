#pragma once

#include <exception>
#include <source_location>
#include <string>
#include <string_view>

#include "core/user_interface.h"

namespace qor {

inline constexpr std::string_view kApplicationTitle = ".QOR Reader";

// The text of the standard error message box.
std::string formatStandardError(const StandardError& error);

// Reports `description` as the standard error message of module.procedure.
void reportStandardError(UserInterface& ui, std::string_view module, std::string_view procedure,
                         std::string description,
                         std::source_location where = std::source_location::current());

// Describes the exception in flight (for use inside a catch block).
std::string describeCurrentException();

// Runs one step of a procedure whose handler shows the standard error message and
// carries on with the next step. Returns false when the step failed.
template <typename Step>
bool runStep(UserInterface& ui, std::string_view module, std::string_view procedure, Step&& step,
             std::source_location where = std::source_location::current()) {
    try {
        step();
        return true;
    } catch (...) {
        reportStandardError(ui, module, procedure, describeCurrentException(), where);
        return false;
    }
}

}  // namespace qor
