#include "core/base/translation.h"

#include <QCoreApplication>
#include <vector>

namespace qor {

std::string translate(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    const std::vector<std::string_view> values(arguments);
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t number =
            next >= '1' && next <= '9' ? static_cast<std::size_t>(next - '0') : 0;
        if (pattern[i] == '%' && number >= 1 && number <= values.size()) {
            text += values[number - 1];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

}  // namespace qor
