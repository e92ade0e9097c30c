#pragma once

#include <stdexcept>
#include <string>

#include "core/base/translation.h"

namespace qor {

// An error that ends the operation it happens in and travels to the command that
// started it, which reports it with the standard error message.
class QorError : public std::runtime_error {
public:
    explicit QorError(const std::string& description) : std::runtime_error(description) {}
    const char* description() const noexcept { return what(); }
};

// The person stopped the scan: not an error, but the scan ends like one (nothing incomplete
// stays).
class ScanCancelled : public QorError {
public:
    ScanCancelled() : QorError(translate("ScanRun", "The scan was cancelled")) {}
};

}  // namespace qor
