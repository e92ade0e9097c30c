#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

// Writes synthetic node exports of any size for benchmarks and tests. The output depends only
// on the options, so a seed names a file on every platform, and the returned counts are what a
// correct scan of that file finds.
namespace qor::gen {

inline constexpr std::size_t kTypeCount = 14;

// Type names in the order of GeneratedCounts::perType:
// AI, AIC, AO, AOC, DI, DIC, DO, DOC, PIDCON, MOTCON, DAT(B), DAT(I), DAT(IL), DAT(R).
const std::array<std::string_view, kTypeCount>& typeNames();

struct GeneratorOptions {
    std::uint64_t seed = 1;
    std::uint64_t targetBytes = 1 << 20;  // stops at the first element boundary at or past this
    std::string nodeNumber = "12";        // at most 30 characters
    std::string lineEnd = "\r\n";         // "\r\n", "\n" or "\r"
    // Append one more element with no closing empty line; its last line is a line of spaces.
    bool leaveLastElementOpen = false;
    // Relative frequency of each type, in perType order; channel types dominate as in real nodes.
    std::array<std::uint32_t, kTypeCount> typeWeights{20, 3, 10, 2, 25, 4, 15, 3, 5, 4, 3, 2, 1, 3};
    std::uint32_t noisePercent = 12;  // share of blocks that are comments or foreign elements
    // Designations and NAMEs unique within the export, and NAMEs across exports of different
    // node numbers, as a real plant's are: checks then find what was planted and nothing else.
    bool uniqueNames = false;
    // Mistakes planted per thousand elements, each one of the kinds of PlantedMistake (the kind
    // drawn from those the element's type can carry), counted in GeneratedCounts::planted.
    // Drawn apart from the rest, so that the elements are those the same options give without,
    // up to where the size asked for is reached (planted values change the file's length).
    std::uint32_t mistakesPerMille = 0;
};

// What the generator plants, and what the checks find of each: a NAME that the element before
// has too (two duplicate-name findings), RANGEMIN and RANGEMAX of an AI or AO swapped
// (range-inverted), a RANGEMAX that is no number (range-not-number), an empty NAME (empty-name),
// a DESCR of more than 30 characters (value-cut).
enum PlantedMistake { kSharedName, kSwappedRange, kRangeNotNumber, kNoName, kLongDescr };
inline constexpr std::size_t kPlantedKinds = 5;

struct GeneratedCounts {
    std::array<long long, kTypeCount> perType{};  // complete elements per type
    long long lines = 0;
    std::uint64_t bytes = 0;
    int openType = -1;  // index of the element left open at the end, -1 when none
    std::array<long long, kPlantedKinds> planted{};  // by PlantedMistake
};

// Throws std::invalid_argument for unusable options and std::runtime_error when writing fails.
GeneratedCounts generateExport(const GeneratorOptions& options, std::ostream& out);
GeneratedCounts generateExportFile(const GeneratorOptions& options, const std::string& path);

}  // namespace qor::gen
