#include "scan/text_rules.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QOR_HAVE_SSE2 1
#endif

namespace qor::scan {
namespace {

inline bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Byte b equals needle byte n, ignoring case when n is a letter. For a letter, b | 0x20
// equals the lower-case letter exactly for its two cases and no other byte.
inline unsigned char foldMaskFor(char n) {
    return isAsciiLetter(n) ? 0x20 : 0x00;
}

inline bool equalsFoldedFrom(const char* text, std::string_view needle) {
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (foldAscii(text[i]) != foldAscii(needle[i])) {
            return false;
        }
    }
    return true;
}

std::size_t findScalar(const char* data, std::size_t size, std::size_t from,
                       std::string_view needle) {
    const std::size_t last = size - needle.size();
    const char first = foldAscii(needle[0]);
    for (std::size_t i = from; i <= last; ++i) {
        if (foldAscii(data[i]) == first && equalsFoldedFrom(data + i, needle)) {
            return i;
        }
    }
    return kNotFound;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && equalsFoldedFrom(a.data(), b);
}

std::string upperCaseAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = upperAscii(c);
    }
    return upper;
}

std::size_t findNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from <= haystack.size() ? from : kNotFound;
    }
    if (from > haystack.size() || haystack.size() - from < needle.size()) {
        return kNotFound;
    }
    const char* data = haystack.data();
    const std::size_t size = haystack.size();
    const char first = needle[0];

    // A first byte that is not a letter can be found with memchr alone.
    if (!isAsciiLetter(first)) {
        const std::size_t last = size - needle.size();
        std::size_t i = from;
        while (i <= last) {
            const void* hit = std::memchr(data + i, first, last - i + 1);
            if (hit == nullptr) {
                return kNotFound;
            }
            i = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
            if (equalsFoldedFrom(data + i + 1, needle.substr(1))) {
                return i;
            }
            ++i;
        }
        return kNotFound;
    }

#ifdef QOR_HAVE_SSE2
    // Compare the first and the last needle byte at 16 positions at once and verify the
    // candidates; fast on long stretches that hold few candidates.
    const std::size_t lastIndex = needle.size() - 1;
    const char lastByte = needle[lastIndex];
    const __m128i firstMask = _mm_set1_epi8(static_cast<char>(foldMaskFor(first)));
    const __m128i firstWant = _mm_set1_epi8(static_cast<char>(first | foldMaskFor(first)));
    const __m128i lastMask = _mm_set1_epi8(static_cast<char>(foldMaskFor(lastByte)));
    const __m128i lastWant = _mm_set1_epi8(static_cast<char>(lastByte | foldMaskFor(lastByte)));
    std::size_t i = from;
    while (i + lastIndex + 16 <= size) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i tail =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + lastIndex));
        const __m128i match =
            _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, firstMask), firstWant),
                          _mm_cmpeq_epi8(_mm_or_si128(tail, lastMask), lastWant));
        unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(match));
        while (bits != 0) {
            const auto bit = static_cast<unsigned>(std::countr_zero(bits));
            if (equalsFoldedFrom(data + i + bit, needle)) {
                return i + bit;
            }
            bits &= bits - 1;
        }
        i += 16;
    }
    return findScalar(data, size, i, needle);
#else
    return findScalar(data, size, from, needle);
#endif
}

std::string_view trimSpaces(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    const std::size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

std::string_view takeChars(std::string_view line, std::size_t start, std::size_t count) {
    return start >= line.size() ? std::string_view{} : line.substr(start, count);
}

std::optional<std::string_view> headerDesignation(std::string_view line, std::string_view typeToken,
                                                  std::string_view kindToken) {
    const std::size_t p1 = findNoCase(line, typeToken);
    if (p1 == kNotFound || findNoCase(line, kindToken, p1 + 13) == kNotFound) {
        return std::nullopt;
    }
    return trimSpaces(takeChars(line, p1, 15));
}

std::optional<std::string_view> parameterValue(std::string_view line, std::string_view key,
                                               std::size_t width) {
    const std::size_t p = findNoCase(line, key);
    if (p == kNotFound) {
        return std::nullopt;
    }
    return trimSpaces(takeChars(line, p + 15, width));
}

}  // namespace qor::scan
