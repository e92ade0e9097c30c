#pragma once

#include <string>
#include <string_view>

// Text for the changes page, which declares the charset ISO-8859-2 (as the scan's report
// does): every byte of an export is then one character, so no value can make the page
// invalid, whatever its bytes.
namespace qor::compare {

// Bytes of an export as page text: & < > " ' as entities, and the bytes a browser would not
// show (control characters, DEL and 0x80-0x9F, which ISO-8859-2 leaves undefined) as a marked
// "\xNN".
void appendExportText(std::string& out, std::string_view bytes);

// UTF-8 text (a file path) as page text: what is not ASCII as character references, so that it
// shows right under the page's charset; bytes that are not UTF-8 as a marked "\xNN".
void appendUtf8Text(std::string& out, std::string_view text);

// An old and a new value with what differs between them (all but their common start and end)
// wrapped in <del> and <ins>.
void appendHighlighted(std::string& oldOut, std::string& newOut, std::string_view oldValue,
                       std::string_view newValue);

}  // namespace qor::compare
