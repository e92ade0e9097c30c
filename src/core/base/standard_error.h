#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "core/base/source_location.h"
#include "core/base/user_interface.h"

namespace qor {

inline constexpr std::string_view kApplicationTitle = ".QOR Reader";

// The text of the standard error message box.
std::string formatStandardError(const StandardError& error);

// Reports `description` as the standard error message of module.procedure.
void reportStandardError(UserInterface& ui, std::string_view module, std::string_view procedure,
                         std::string description, SourceLocation where = SourceLocation::current());

// Describes the exception in flight (for use inside a catch block).
std::string describeCurrentException();

// Runs one step of a procedure whose handler shows the standard error message and
// carries on with the next step. Returns false when the step failed.
template <typename Step>
bool runStep(UserInterface& ui, std::string_view module, std::string_view procedure, Step&& step,
             SourceLocation where = SourceLocation::current()) {
    try {
        step();
        return true;
    } catch (...) {
        reportStandardError(ui, module, procedure, describeCurrentException(), where);
        return false;
    }
}

}  // namespace qor
