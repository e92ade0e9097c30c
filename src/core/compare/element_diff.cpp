#include "core/compare/element_diff.h"

namespace qor::compare {
namespace {

// The line at `at` (up to its LF) and moves `at` past its LF; nothing past the end.
std::optional<std::string_view> takeLine(std::string_view lines, std::size_t& at) {
    if (at >= lines.size()) {
        return std::nullopt;
    }
    const std::size_t end = lines.find('\n', at);
    const std::size_t stop = end == std::string_view::npos ? lines.size() : end;
    const std::string_view line = lines.substr(at, stop - at);
    at = stop + 1;
    return line;
}

}  // namespace

std::optional<std::pair<std::string_view, std::string_view>> firstDifferentLines(
    std::string_view oldLines, std::string_view newLines) {
    if (oldLines == newLines) {
        return std::nullopt;
    }
    std::size_t oldAt = 0;
    std::size_t newAt = 0;
    for (;;) {
        const auto oldLine = takeLine(oldLines, oldAt);
        const auto newLine = takeLine(newLines, newAt);
        if (!oldLine && !newLine) {
            return std::nullopt;  // only line ends differed, which no element line has
        }
        if (oldLine != newLine) {
            return std::pair(oldLine.value_or(std::string_view{}),
                             newLine.value_or(std::string_view{}));
        }
    }
}

bool addElementChanges(scan::ElementType type, const TypeSelection& selection,
                       const ElementRecord& oldElement, const ElementRecord& newElement,
                       ChangeList& changes) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    bool changed = false;
    for (std::size_t box = 0; box < info.parameters.size(); ++box) {
        if (selection.parameters[box] && oldElement.values[box] != newElement.values[box]) {
            changes.add({type, ChangeKind::Changed, newElement.designation, info.parameters[box],
                         oldElement.values[box], newElement.values[box]});
            changed = true;
        }
    }
    if (selection.otherLines) {
        if (const auto lines = firstDifferentLines(oldElement.otherLines, newElement.otherLines)) {
            changes.add({type, ChangeKind::Changed, newElement.designation, kOtherLinesName,
                         lines->first, lines->second});
            changed = true;
        }
    }
    return changed;
}

std::string_view nameOf(scan::ElementType type, const ElementRecord& element) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    for (std::size_t box = 0; box < info.parameters.size(); ++box) {
        if (info.parameters[box] == "NAME") {
            return element.values[box];
        }
    }
    return {};
}

}  // namespace qor::compare
