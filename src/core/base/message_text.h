#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts that come from files and arguments, made fit for a message.
namespace qor {

// `text` in single quotes: whole when it is at most `limit` bytes, else its first `limit` bytes
// (never ending inside a character), "...", the quote and its full length in bytes
// ("'abc...' (1048576 bytes)"), so that a one-line file cannot make a message of a megabyte.
std::string quotedExcerpt(std::string_view text, std::size_t limit = 200);

// How terminalText shows a backslash.
enum class Backslashes {
    AsThey,   // as it is: messages show paths as people type them
    Doubled,  // as "\\", so that every escape can be undone (data shown on a terminal)
};

// A text fit for one terminal line: each CR LF (how messages separate their parts) becomes a
// blank; any other control character is shown escaped (\n, \r, \t, \xNN), and so is every byte
// that is not part of a well-formed UTF-8 character, each C1 control character (U+0080 to
// U+009F) and each character that reorders or hides text (the bidirectional controls such as
// U+202E, zero-width characters, line and paragraph separators), shown as their bytes, so that
// a file name or a node number can neither break the line, drive the terminal nor disguise
// itself.
std::string terminalText(std::string_view text, Backslashes backslashes = Backslashes::AsThey);

}  // namespace qor
