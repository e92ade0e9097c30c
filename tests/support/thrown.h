#pragma once

#include <optional>
#include <string>

#include "core/base/qor_error.h"

namespace qor::testing {

// The error of type `Error` that `action` throws, or none when it returns; other errors pass.
template <typename Error = QorError, typename Action>
std::optional<Error> thrown(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error;
    }
    return std::nullopt;
}

// The text of the error `action` throws, or "no error".
template <typename Action>
std::string errorFrom(Action&& action) {
    const std::optional<QorError> error = thrown(action);
    return error ? error->what() : "no error";
}

}  // namespace qor::testing
