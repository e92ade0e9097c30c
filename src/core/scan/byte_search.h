#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The byte searches the scan spends its time in, vectorised where the compiler allows.
namespace qor::scan {

// Bit i set where data[i] is ':', for the first 64 bytes (`size` at most 64).
std::uint64_t colonMask(const char* data, std::size_t size);

// What the parse of a line needs of its first 64 bytes (`size` at most 64), one bit per byte.
struct LineMasks {
    std::uint64_t lineEnds = 0;  // CR or LF
    std::uint64_t colons = 0;    // ':', which starts every parameter key
    // A, D, P or M followed by I, O or A, in either case: how every kind token starts (AIS,
    // DOC, PIDCON, MOTCON, DAT(B)...). The last byte's bit needs only the first letter.
    std::uint64_t kindStarts = 0;
};
LineMasks lineMasks(const char* data, std::size_t size);

// Position of the last CR or LF in [from, to), or `to` when there is none.
std::size_t findLastLineEnd(const char* data, std::size_t from, std::size_t to);

// Position of the first CR or LF in [from, to), or `to` when there is none.
std::size_t findLineEnd(const char* data, std::size_t from, std::size_t to);

// The line ends in `data`: each LF, and each CR that no LF follows (a CR LF is one end; a CR as
// the last byte counts).
std::size_t countLineEnds(const char* data, std::size_t size);

// Position of the first occurrence of `needle` in [from, size) with ASCII letters matched
// without regard to case; npos when there is none. `needle` is not empty.
std::size_t findFolded(const char* data, std::size_t size, std::size_t from,
                       std::string_view needle);

// What decides how a row of joined CSV fields is quoted: its commas, and whether a double
// quote, CR or LF is among its bytes.
struct CsvSpecials {
    std::size_t commas = 0;
    bool quoteOrLineBreak = false;
};
CsvSpecials csvSpecialsOf(const char* data, std::size_t size);

// A short pattern (16 bytes at most) compared without regard to ASCII case eight bytes at a
// time: a letter's case bit is set on both sides, every other byte compares exactly.
class CaselessPattern {
public:
    static constexpr std::size_t kMaxSize = 16;

    explicit CaselessPattern(std::string_view pattern);  // throws std::length_error
    std::size_t size() const { return size_; }
    // Whether the pattern stands at `text`; `readable` bytes may be read there, at least size().
    bool matchesAt(const char* text, std::size_t readable) const {
        if (readable < kMaxSize) {
            return matchesNearEnd(text, readable);
        }
        std::uint64_t first = 0;
        std::uint64_t second = 0;
        std::memcpy(&first, text, 8);
        std::memcpy(&second, text + 8, 8);
        return ((first | caseBits_[0]) & used_[0]) == folded_[0] &&
               ((second | caseBits_[1]) & used_[1]) == folded_[1];
    }

private:
    bool matchesNearEnd(const char* text, std::size_t readable) const;

    std::size_t size_ = 0;
    std::uint64_t folded_[2] = {};    // the pattern with its letters' case bits set
    std::uint64_t caseBits_[2] = {};  // 0x20 where the pattern has a letter
    std::uint64_t used_[2] = {};      // 0xff for each byte of the pattern
};

}  // namespace qor::scan
