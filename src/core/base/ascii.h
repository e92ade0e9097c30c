#pragma once

#include <string>

// ASCII rules for texts that are bytes: letters fold without regard to the locale, every other
// byte (UTF-8 included) stays itself.
namespace qor {

inline constexpr char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

inline constexpr char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

enum class HexCase { Upper, Lower };

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The two hex digits of `byte`.
inline void appendHexByte(std::string& out, unsigned char byte, HexCase digits = HexCase::Upper) {
    for (const int value : {byte >> 4, byte & 0x0F}) {
        out += digits == HexCase::Upper ? kHexDigits[value] : foldAscii(kHexDigits[value]);
    }
}

}  // namespace qor
