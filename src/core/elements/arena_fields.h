#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How an element's texts lie in its export's arena: field after field, each its length in
// 7-bit groups (low group first, most lengths take one byte) and then its bytes.
namespace qor::elements {

inline void appendField(std::string& arena, std::string_view field) {
    std::size_t length = field.size();
    for (; length >= 0x80; length >>= 7) {
        arena += static_cast<char>((length & 0x7F) | 0x80);
    }
    arena += static_cast<char>(length);
    arena.append(field);
}

// The field at `at`; `at` moves past it.
inline std::string_view nextField(std::string_view arena, std::size_t& at) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(arena[at++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) {
            break;
        }
    }
    const std::string_view field = arena.substr(at, length);
    at += length;
    return field;
}

}  // namespace qor::elements
