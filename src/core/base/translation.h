#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The texts a person reads: questions, information, status texts and error descriptions, in the
// language of the translators the program installed (services/translators.h). Without one, or
// under the C locale, a text is its English source, byte for byte. Files the program writes
// never take their texts from here: they stay English whatever the language.
namespace qor {

// `source` in the running language. `context` names the place that uses the text, so that a
// translator sees the texts of one place together. The translation tools find the texts by
// this function's name: both arguments are string literals at every call.
std::string translate(const char* context, const char* source);

// `pattern` with each "%1" to "%9" replaced by the argument of that number, byte for byte: a
// file name keeps its bytes, and a "%2" inside an argument stays as it is. A number without an
// argument stays in the text.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace qor
