#pragma once

#include <string>
#include <string_view>

#include "core/base/text_encoding.h"

// Text for the changes page. The page itself is ASCII: what is not ASCII is written as
// character references, so the two exports' text shows right whatever each was encoded in and
// whatever the page declares, and no value can make the page invalid.
namespace qor::compare {

// Bytes of an export, read as `encoding` reads them, as page text: & < > " ' as entities, and
// the characters a browser would not show (control characters, DEL and 0x80-0x9F) as a marked
// "\xNN".
void appendExportText(std::string& out, std::string_view bytes, const ExportEncoding& encoding);

// UTF-8 text (a file path) as page text, as above; bytes that are not UTF-8 as a marked "\xNN".
void appendUtf8Text(std::string& out, std::string_view text);

// An old and a new value with what differs between them (all but their common start and end,
// in whole characters) wrapped in <del> and <ins>.
void appendHighlighted(std::string& oldOut, std::string& newOut, std::string_view oldValue,
                       std::string_view newValue, const ExportEncoding& oldEncoding,
                       const ExportEncoding& newEncoding);

}  // namespace qor::compare
