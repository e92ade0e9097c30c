#pragma once

namespace qor {

// The line of a call site, taken as a default argument. std::source_location needs a compiler
// builtin that not every supported compiler has; __builtin_LINE() in a default argument names
// the caller's line under GCC and clang alike.
class SourceLocation {
public:
    static constexpr SourceLocation current(unsigned line = __builtin_LINE()) noexcept {
        return SourceLocation(line);
    }
    constexpr unsigned line() const noexcept { return line_; }

private:
    constexpr explicit SourceLocation(unsigned line) noexcept : line_(line) {}
    unsigned line_;
};

}  // namespace qor
