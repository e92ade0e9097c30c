#include "core/scan/byte_search.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QOR_HAVE_SSE2 1
#endif
// Chosen at run time, so one build runs on every x86-64 processor.
#if defined(QOR_HAVE_SSE2) && (defined(__GNUC__) || defined(__clang__)) && \
    (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define QOR_HAVE_AVX2_DISPATCH 1
#endif

namespace qor::scan {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

inline bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline char fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// For a letter, byte | 0x20 equals the lower-case letter for exactly its two cases.
inline char foldMaskFor(char n) {
    return isAsciiLetter(n) ? 0x20 : 0x00;
}

inline bool equalsFoldedFrom(const char* text, std::string_view needle) {
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (fold(text[i]) != fold(needle[i])) {
            return false;
        }
    }
    return true;
}

std::size_t findFoldedScalar(const char* data, std::size_t size, std::size_t from,
                             std::string_view needle) {
    const std::size_t last = size - needle.size();
    const char first = fold(needle[0]);
    for (std::size_t i = from; i <= last; ++i) {
        if (fold(data[i]) == first && equalsFoldedFrom(data + i, needle)) {
            return i;
        }
    }
    return kNotFound;
}

#ifdef QOR_HAVE_SSE2
// Compares the first and the last needle byte at 16 positions at once and verifies the
// candidates: fast over long stretches that hold few of them.
std::size_t findFoldedSse2(const char* data, std::size_t size, std::size_t from,
                           std::string_view needle) {
    const char first = needle[0];
    const std::size_t lastIndex = needle.size() - 1;
    const char lastByte = needle[lastIndex];
    const __m128i firstMask = _mm_set1_epi8(foldMaskFor(first));
    const __m128i firstWant = _mm_set1_epi8(static_cast<char>(first | foldMaskFor(first)));
    const __m128i lastMask = _mm_set1_epi8(foldMaskFor(lastByte));
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
            const auto bit = static_cast<std::size_t>(std::countr_zero(bits));
            if (equalsFoldedFrom(data + i + bit, needle)) {
                return i + bit;
            }
            bits &= bits - 1;
        }
        i += 16;
    }
    return findFoldedScalar(data, size, i, needle);
}
#endif

#ifdef QOR_HAVE_AVX2_DISPATCH
// The same with 32 positions at once, where the processor has AVX2.
__attribute__((target("avx2"))) std::size_t findFoldedAvx2(const char* data, std::size_t size,
                                                           std::size_t from,
                                                           std::string_view needle) {
    const char first = needle[0];
    const std::size_t lastIndex = needle.size() - 1;
    const char lastByte = needle[lastIndex];
    const __m256i firstMask = _mm256_set1_epi8(foldMaskFor(first));
    const __m256i firstWant = _mm256_set1_epi8(static_cast<char>(first | foldMaskFor(first)));
    const __m256i lastMask = _mm256_set1_epi8(foldMaskFor(lastByte));
    const __m256i lastWant = _mm256_set1_epi8(static_cast<char>(lastByte | foldMaskFor(lastByte)));
    // A middle byte as well: fewer false candidates, fewer mispredicted branches.
    const std::size_t middleIndex = (lastIndex + 1) / 2;
    const char middleByte = needle[middleIndex];
    const __m256i middleMask = _mm256_set1_epi8(foldMaskFor(middleByte));
    const __m256i middleWant =
        _mm256_set1_epi8(static_cast<char>(middleByte | foldMaskFor(middleByte)));
    std::size_t i = from;
    while (i + lastIndex + 32 <= size) {
        const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i middle =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + middleIndex));
        const __m256i tail =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + lastIndex));
        const __m256i match = _mm256_and_si256(
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(head, firstMask), firstWant),
                             _mm256_cmpeq_epi8(_mm256_or_si256(middle, middleMask), middleWant)),
            _mm256_cmpeq_epi8(_mm256_or_si256(tail, lastMask), lastWant));
        auto bits = static_cast<std::uint32_t>(_mm256_movemask_epi8(match));
        while (bits != 0) {
            const auto bit = static_cast<std::size_t>(std::countr_zero(bits));
            if (equalsFoldedFrom(data + i + bit, needle)) {
                return i + bit;
            }
            bits &= bits - 1;
        }
        i += 32;
    }
    return findFoldedSse2(data, size, i, needle);
}
#endif

}  // namespace

std::uint64_t colonMask(const char* data, std::size_t size) {
    std::uint64_t mask = 0;
    std::size_t i = 0;
#ifdef QOR_HAVE_SSE2
    const __m128i colon = _mm_set1_epi8(':');
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        mask |= static_cast<std::uint64_t>(
                    static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, colon))))
                << i;
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == ':') {
            mask |= std::uint64_t{1} << i;
        }
    }
    return mask;
}

CsvSpecials csvSpecialsOf(const char* data, std::size_t size) {
    CsvSpecials found;
    std::size_t i = 0;
#ifdef QOR_HAVE_SSE2
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    __m128i others = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        found.commas += static_cast<std::size_t>(
            std::popcount(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, comma)))));
        others = _mm_or_si128(others, _mm_or_si128(_mm_cmpeq_epi8(block, quote),
                                                   _mm_or_si128(_mm_cmpeq_epi8(block, cr),
                                                                _mm_cmpeq_epi8(block, lf))));
    }
    found.quoteOrLineBreak = _mm_movemask_epi8(others) != 0;
#endif
    for (; i < size; ++i) {
        found.commas += data[i] == ',';
        found.quoteOrLineBreak |= data[i] == '"' || data[i] == '\r' || data[i] == '\n';
    }
    return found;
}

std::size_t countLineEnds(const char* data, std::size_t size) {
    std::size_t ends = 0;
    std::size_t i = 0;
#ifdef QOR_HAVE_SSE2
    // Each block is compared with itself one byte on, for the LF after a CR. The ends are
    // counted per byte lane and summed before a lane could overflow.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    const auto sum = [&zero](__m128i lanes) {
        alignas(16) std::uint64_t halves[2];
        _mm_store_si128(reinterpret_cast<__m128i*>(halves), _mm_sad_epu8(lanes, zero));
        return static_cast<std::size_t>(halves[0] + halves[1]);
    };
    __m128i lanes = zero;
    int blocks = 0;
    for (; i + 17 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        const __m128i lone = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(block, cr));
        lanes = _mm_sub_epi8(lanes, _mm_or_si128(_mm_cmpeq_epi8(block, lf), lone));
        if (++blocks == 255) {
            ends += sum(lanes);
            lanes = zero;
            blocks = 0;
        }
    }
    ends += sum(lanes);
#endif
    for (; i < size; ++i) {
        ends += data[i] == '\n' || (data[i] == '\r' && (i + 1 == size || data[i + 1] != '\n'));
    }
    return ends;
}

LineMasks lineMasks(const char* data, std::size_t size) {
    LineMasks masks;
    std::uint64_t seconds = 0;
    std::size_t i = 0;
#ifdef QOR_HAVE_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i colon = _mm_set1_epi8(':');
    const __m128i lower = _mm_set1_epi8(0x20);
    const __m128i a = _mm_set1_epi8('a');
    const __m128i d = _mm_set1_epi8('d');
    const __m128i p = _mm_set1_epi8('p');
    const __m128i m = _mm_set1_epi8('m');
    const __m128i iLetter = _mm_set1_epi8('i');
    const __m128i o = _mm_set1_epi8('o');
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i folded = _mm_or_si128(block, lower);
        const auto bits = [](__m128i match) {
            return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(match)));
        };
        const __m128i isA = _mm_cmpeq_epi8(folded, a);
        masks.lineEnds |= bits(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)))
                          << i;
        masks.colons |= bits(_mm_cmpeq_epi8(block, colon)) << i;
        masks.kindStarts |=
            bits(_mm_or_si128(_mm_or_si128(isA, _mm_cmpeq_epi8(folded, d)),
                              _mm_or_si128(_mm_cmpeq_epi8(folded, p), _mm_cmpeq_epi8(folded, m))))
            << i;
        seconds |=
            bits(_mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(folded, iLetter), _mm_cmpeq_epi8(folded, o)), isA))
            << i;
    }
#endif
    for (; i < size; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        const char c = fold(data[i]);
        masks.lineEnds |= data[i] == '\r' || data[i] == '\n' ? bit : 0;
        masks.colons |= data[i] == ':' ? bit : 0;
        masks.kindStarts |= c == 'a' || c == 'd' || c == 'p' || c == 'm' ? bit : 0;
        seconds |= c == 'i' || c == 'o' || c == 'a' ? bit : 0;
    }
    // A first letter counts when its next byte is a second one; the next byte of the last
    // byte lies outside, so the last keeps its bit.
    masks.kindStarts &= (seconds >> 1) | (std::uint64_t{1} << 63);
    return masks;
}

std::size_t findLastLineEnd(const char* data, std::size_t from, std::size_t to) {
    for (std::size_t i = to; i > from; --i) {
        if (data[i - 1] == '\r' || data[i - 1] == '\n') {
            return i - 1;
        }
    }
    return to;
}

std::size_t findLineEnd(const char* data, std::size_t from, std::size_t to) {
    std::size_t i = from;
#ifdef QOR_HAVE_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (i + 16 <= to) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const unsigned bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        if (bits != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(bits));
        }
        i += 16;
    }
#endif
    for (; i < to; ++i) {
        if (data[i] == '\r' || data[i] == '\n') {
            return i;
        }
    }
    return to;
}

std::size_t findFolded(const char* data, std::size_t size, std::size_t from,
                       std::string_view needle) {
    if (from > size || size - from < needle.size()) {
        return kNotFound;
    }
    const char first = needle[0];
    // A first byte that is not a letter can be found with memchr alone.
    if (!isAsciiLetter(first)) {
        const std::size_t last = size - needle.size();
        const std::string_view rest = needle.substr(1);
        for (std::size_t i = from; i <= last; ++i) {
            const void* hit = std::memchr(data + i, first, last - i + 1);
            if (hit == nullptr) {
                return kNotFound;
            }
            i = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
            if (equalsFoldedFrom(data + i + 1, rest)) {
                return i;
            }
        }
        return kNotFound;
    }
    // Most searches run over one short line: 16 bytes at a time is the most that pays there.
    if (size - from < 96) {
#ifdef QOR_HAVE_SSE2
        return findFoldedSse2(data, size, from, needle);
#else
        return findFoldedScalar(data, size, from, needle);
#endif
    }
#ifdef QOR_HAVE_AVX2_DISPATCH
    static const bool haveAvx2 = __builtin_cpu_supports("avx2");
    if (haveAvx2) {
        return findFoldedAvx2(data, size, from, needle);
    }
#endif
#ifdef QOR_HAVE_SSE2
    return findFoldedSse2(data, size, from, needle);
#else
    return findFoldedScalar(data, size, from, needle);
#endif
}

CaselessPattern::CaselessPattern(std::string_view pattern) : size_(pattern.size()) {
    if (size_ > kMaxSize) {
        throw std::length_error("pattern longer than 16 bytes: " + std::string(pattern));
    }
    // Built as bytes and copied into words, so the words read like the text on any machine.
    unsigned char folded[kMaxSize] = {};
    unsigned char caseBits[kMaxSize] = {};
    unsigned char used[kMaxSize] = {};
    for (std::size_t i = 0; i < pattern.size() && i < kMaxSize; ++i) {
        const auto byte = static_cast<unsigned char>(pattern[i]);
        const auto lower = static_cast<unsigned char>(byte | 0x20u);
        caseBits[i] = lower >= 'a' && lower <= 'z' ? 0x20 : 0;
        folded[i] = static_cast<unsigned char>(byte | caseBits[i]);
        used[i] = 0xff;
    }
    std::memcpy(folded_, folded, sizeof folded);
    std::memcpy(caseBits_, caseBits, sizeof caseBits);
    std::memcpy(used_, used, sizeof used);
}

bool CaselessPattern::matchesNearEnd(const char* text, std::size_t readable) const {
    unsigned char bytes[kMaxSize] = {};
    std::memcpy(bytes, text, std::min(readable, kMaxSize));
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    std::memcpy(&first, bytes, 8);
    std::memcpy(&second, bytes + 8, 8);
    return readable >= size_ && ((first | caseBits_[0]) & used_[0]) == folded_[0] &&
           ((second | caseBits_[1]) & used_[1]) == folded_[1];
}

}  // namespace qor::scan
