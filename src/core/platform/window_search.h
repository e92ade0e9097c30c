#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/user_interface.h"

namespace qor::platform {

using WindowHandle = std::uint64_t;

// The platform's tree of windows, as far as it lets a program see foreign windows.
class WindowTree {
public:
    virtual ~WindowTree() = default;
    virtual WindowHandle desktop() const = 0;
    // Children in sibling order.
    virtual std::vector<WindowHandle> children(WindowHandle window) const = 0;
    virtual std::string title(WindowHandle window) const = 0;
    virtual std::string className(WindowHandle window) const = 0;
    virtual bool hasParent(WindowHandle window) const = 0;
    virtual std::optional<long> controlId(WindowHandle window) const = 0;
};

// A desktop without visible foreign windows: where the platform cannot list them.
class EmptyWindowTree : public WindowTree {
public:
    WindowHandle desktop() const override { return 0; }
    std::vector<WindowHandle> children(WindowHandle) const override { return {}; }
    std::string title(WindowHandle) const override { return {}; }
    std::string className(WindowHandle) const override { return {}; }
    bool hasParent(WindowHandle) const override { return false; }
    std::optional<long> controlId(WindowHandle) const override { return std::nullopt; }
};

}  // namespace qor::platform

namespace qor::platform {

// Case-sensitive pattern match in which "*" stands for any run of characters (also none)
// and every other character for itself.
bool matchesWindowPattern(std::string_view text, std::string_view pattern);

// Depth-first search of the window tree below `start` (0: the desktop) for windows whose
// title and class name match the patterns and, unless `controlId` is empty, whose own
// control identifier equals it. Each window's children are searched before the window
// itself. `found` is reset to hold index 0 only and each match is appended. Yields to the
// event loop through `ui` once per window visited. Returns the number of matches.
long findWindowsMatching(const WindowTree& tree, std::vector<WindowHandle>& found,
                         WindowHandle start, std::string_view titlePattern,
                         std::string_view classPattern, std::optional<long> controlId,
                         UserInterface* ui = nullptr);

}  // namespace qor::platform
