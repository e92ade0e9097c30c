#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "core/base/source_location.h"
#include "core/base/user_interface.h"

namespace qor {

inline constexpr std::string_view kApplicationTitle = ".QOR Reader";

// Where the standard error message happened: "in QORReader.<module>.<procedure> at line
// <line>", then the trailer if any.
std::string standardErrorLocation(const StandardError& error);

// The whole standard error message on one text: the description, CR LF, the location.
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
