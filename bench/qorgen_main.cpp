// qorgen: writes a synthetic node export and prints what a scan of it must find.
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <system_error>

#include "export_generator.h"

namespace {

constexpr const char* kUsage =
    "usage: qorgen --seed N --size BYTES[k|M|G] [--node N] [--lf|--cr] [--open-last]\n"
    "              [--unique-names] [--mistakes PER_MILLE] OUTFILE\n";

bool parseNumber(std::string_view text, std::uint64_t& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// "512", "64k", "100M", "1G"; the suffixes are powers of 1024.
bool parseSize(std::string_view text, std::uint64_t& bytes) {
    std::uint64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
            case 'k':
            case 'K':
                unit = 1ULL << 10;
                break;
            case 'm':
            case 'M':
                unit = 1ULL << 20;
                break;
            case 'g':
            case 'G':
                unit = 1ULL << 30;
                break;
            default:
                break;
        }
    }
    if (unit != 1) {
        text.remove_suffix(1);
    }
    std::uint64_t count = 0;
    if (!parseNumber(text, count) || count > UINT64_MAX / unit) {
        return false;
    }
    bytes = count * unit;
    return true;
}

int usageError(const char* message) {
    std::fprintf(stderr, "qorgen: %s\n%s", message, kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    qor::gen::GeneratorOptions options;
    std::string path;
    bool haveSeed = false;
    bool haveSize = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seed" && hasValue) {
            if (!parseNumber(argv[++i], options.seed)) {
                return usageError("bad seed");
            }
            haveSeed = true;
        } else if (arg == "--size" && hasValue) {
            if (!parseSize(argv[++i], options.targetBytes)) {
                return usageError("bad size");
            }
            haveSize = true;
        } else if (arg == "--node" && hasValue) {
            options.nodeNumber = argv[++i];
        } else if (arg == "--lf") {
            options.lineEnd = "\n";
        } else if (arg == "--cr") {
            options.lineEnd = "\r";
        } else if (arg == "--open-last") {
            options.leaveLastElementOpen = true;
        } else if (arg == "--unique-names") {
            options.uniqueNames = true;
        } else if (arg == "--mistakes" && hasValue) {
            std::uint64_t perMille = 0;
            if (!parseNumber(argv[++i], perMille) || perMille > 1000) {
                return usageError("--mistakes takes 0 to 1000 per thousand elements");
            }
            options.mistakesPerMille = static_cast<std::uint32_t>(perMille);
        } else if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!arg.empty() && arg.front() != '-' && path.empty()) {
            path = arg;
        } else {
            return usageError("unexpected argument");
        }
    }
    if (!haveSeed || !haveSize || path.empty()) {
        return usageError("--seed, --size and OUTFILE are required");
    }

    try {
        const auto start = std::chrono::steady_clock::now();
        const qor::gen::GeneratedCounts counts = qor::gen::generateExportFile(options, path);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        long long total = 0;
        for (std::size_t i = 0; i < qor::gen::kTypeCount; ++i) {
            std::printf("%-8s %lld\n", std::string(qor::gen::typeNames()[i]).c_str(),
                        counts.perType[i]);
            total += counts.perType[i];
        }
        std::printf("elements %lld\n", total);
        if (counts.openType >= 0) {
            std::printf(
                "open     %s (not counted)\n",
                std::string(qor::gen::typeNames()[static_cast<std::size_t>(counts.openType)])
                    .c_str());
        }
        static constexpr const char* kPlanted[] = {"shared NAME", "swapped range",
                                                   "range no number", "empty NAME", "long DESCR"};
        for (std::size_t i = 0; i < qor::gen::kPlantedKinds && options.mistakesPerMille != 0; ++i) {
            std::printf("planted %s %lld\n", kPlanted[i], counts.planted[i]);
        }
        const double megabytes = static_cast<double>(counts.bytes) / (1024.0 * 1024.0);
        std::printf("lines    %lld\nbytes    %llu\n", counts.lines,
                    static_cast<unsigned long long>(counts.bytes));
        std::fprintf(stderr, "%.1f MiB in %.3f s (%.0f MiB/s)\n", megabytes, seconds,
                     seconds > 0 ? megabytes / seconds : 0.0);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qorgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
