#include "core/platform/window_search.h"

namespace qor::platform {
namespace {

constexpr std::size_t kMaxTextLength = 254;

void searchChildren(const WindowTree& tree, std::vector<WindowHandle>& found, WindowHandle parent,
                    std::string_view titlePattern, std::string_view classPattern,
                    std::optional<long> controlId, UserInterface* ui) {
    for (const WindowHandle child : tree.children(parent)) {
        if (ui != nullptr) {
            ui->yield();
        }
        searchChildren(tree, found, child, titlePattern, classPattern, controlId, ui);
        const std::string title = tree.title(child).substr(0, kMaxTextLength);
        const std::string className = tree.className(child).substr(0, kMaxTextLength);
        const std::optional<long> id =
            tree.hasParent(child) ? tree.controlId(child) : std::optional<long>{};
        if (matchesWindowPattern(title, titlePattern) &&
            matchesWindowPattern(className, classPattern) &&
            (!controlId || (id && *id == *controlId))) {
            found.push_back(child);
        }
    }
}

}  // namespace

bool matchesWindowPattern(std::string_view text, std::string_view pattern) {
    // Greedy matching with one back-track point per "*": linear in practice.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

long findWindowsMatching(const WindowTree& tree, std::vector<WindowHandle>& found,
                         WindowHandle start, std::string_view titlePattern,
                         std::string_view classPattern, std::optional<long> controlId,
                         UserInterface* ui) {
    found.assign(1, WindowHandle{0});  // index 0 holds nothing
    searchChildren(tree, found, start == 0 ? tree.desktop() : start, titlePattern, classPattern,
                   controlId, ui);
    return static_cast<long>(found.size() - 1);
}

}  // namespace qor::platform
