#pragma once

#include <string>
#include <string_view>

namespace qor::cli {

// Results go to standard output, or to a buffer for a file scanned alongside others; a failed
// write to standard output is an error of the run.
class ResultPrinter {
public:
    explicit ResultPrinter(std::string* buffer = nullptr) : buffer_(buffer) {}

    // One line, its control characters shown escaped.
    void line(std::string_view text);
    // Empty when everything printed reached its destination.
    static std::string failure();

private:
    std::string* buffer_;
};

}  // namespace qor::cli
