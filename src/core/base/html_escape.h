#pragma once

#include <string>
#include <string_view>

// Text for HTML and XML: the bytes that would end a text or an attribute value as entities,
// every other byte as it is.
namespace qor {

// "&amp;", "&lt;", "&gt;" or "&quot;" for those four characters; empty for any other.
std::string_view htmlEntity(char c);

// `text` with those four characters as entities, appended to `out`.
void appendHtmlEscaped(std::string& out, std::string_view text);
std::string escapeHtml(std::string_view text);

}  // namespace qor
