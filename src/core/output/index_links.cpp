#include "core/output/index_links.h"

#include "core/output/html_report.h"

namespace qor::output {

std::optional<std::string> findIndexLinkLine(std::string_view indexText,
                                             std::string_view pageFileName) {
    const std::string prefix = "<a href=" + encodeHrefFileName(pageFileName) + ">";
    std::size_t start = 0;
    while (start < indexText.size()) {
        std::size_t end = indexText.find('\n', start);
        if (end == std::string_view::npos) {
            end = indexText.size();
        }
        std::string_view line = indexText.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.starts_with(prefix)) {
            return std::string(line);
        }
        start = end + 1;
    }
    return std::nullopt;
}

long long countElementPageRows(std::string_view pageText) {
    // Element rows open with a data cell; the header row opens with a heading cell.
    constexpr std::string_view kRowStart = "<tr>\r\n<td ";
    long long rows = 0;
    for (std::size_t at = pageText.find(kRowStart); at != std::string_view::npos;
         at = pageText.find(kRowStart, at + kRowStart.size())) {
        ++rows;
    }
    return rows;
}

}  // namespace qor::output
