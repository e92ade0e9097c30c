#pragma once

#include <cstddef>
#include <cstdint>
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

// Position of the first occurrence of `needle` in [from, size) with ASCII letters matched
// without regard to case; npos when there is none. `needle` is not empty.
std::size_t findFolded(const char* data, std::size_t size, std::size_t from,
                       std::string_view needle);

}  // namespace qor::scan
