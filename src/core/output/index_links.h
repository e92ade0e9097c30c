#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qor::output {

// The line that an index page holds for the element page `pageFileName` (without its line
// end), or nothing when it holds none.
std::optional<std::string> findIndexLinkLine(std::string_view indexText,
                                             std::string_view pageFileName);

// The number of element rows of an element page this program wrote.
long long countElementPageRows(std::string_view pageText);

}  // namespace qor::output
