#include "export_generator.h"

#include "export_vocabulary.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <ostream>
#include <random>
#include <stdexcept>

namespace qor::gen {
namespace {

using namespace vocabulary;

// std::mt19937_64 is fully defined by the standard; the distributions are not, so ranges are
// derived here to keep a seed's output identical everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : engine_(seed) {}

    // Uniform in [0, n), n > 0. Rejecting the low remainder keeps it unbiased.
    std::uint64_t below(std::uint64_t n) {
        const std::uint64_t reject = (std::numeric_limits<std::uint64_t>::max() - n + 1) % n;
        std::uint64_t value = engine_();
        while (value < reject) {
            value = engine_();
        }
        return value % n;
    }
    bool chance(std::uint64_t percent) { return below(100) < percent; }
    template <typename T, std::size_t N>
    const T& pick(const std::array<T, N>& items) {
        return items[below(N)];
    }

private:
    std::mt19937_64 engine_;
};

class Writer {
public:
    Writer(std::ostream& out, std::string_view lineEnd) : out_(out), lineEnd_(lineEnd) {
        buffer_.reserve(kChunk + 4096);
    }

    void line(std::string_view text) {
        buffer_.append(text);
        endLine();
    }
    void emptyLine() { endLine(); }
    // Designation padded to 15 characters, then the kind text.
    void header(std::string_view designation, std::string_view kind) {
        buffer_.append(designation);
        buffer_.append(kDesignationWidth - designation.size(), ' ');
        buffer_.append(kind);
        endLine();
    }
    // Key at column 3, value at column 18.
    void param(std::string_view key, std::string_view value) {
        buffer_.append(2, ' ');
        buffer_.append(key);
        buffer_.append(15 - key.size(), ' ');
        buffer_.append(value);
        endLine();
    }
    void finish() { flush(); }

    std::uint64_t bytes() const { return written_ + buffer_.size(); }
    long long lines() const { return lines_; }

private:
    static constexpr std::size_t kChunk = 1 << 20;

    void endLine() {
        buffer_.append(lineEnd_);
        ++lines_;
        if (buffer_.size() >= kChunk) {
            flush();
        }
    }
    void flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        if (!out_) {
            throw std::runtime_error("writing the generated export failed");
        }
        written_ += buffer_.size();
        buffer_.clear();
    }

    std::ostream& out_;
    std::string_view lineEnd_;
    std::string buffer_;
    std::uint64_t written_ = 0;
    long long lines_ = 0;
};

struct ChannelFamily {
    std::string_view module;
    std::string_view kind;
};
constexpr std::array<ChannelFamily, 3> kAiFamilies{
    {{"AI800", "AIS810"}, {"AI810", "AIS810"}, {"AI820", "AIS820"}}};
constexpr std::array<ChannelFamily, 2> kAoFamilies{{{"AO810", "AOS820"}, {"AO820", "AOS820"}}};
constexpr std::array<ChannelFamily, 2> kDiFamilies{{{"DI810", "DIS810"}, {"DI820", "DIS820"}}};
constexpr std::array<ChannelFamily, 2> kDoFamilies{{{"DO810", "DOS820"}, {"DO820", "DOS820"}}};

class ExportGenerator {
public:
    ExportGenerator(const GeneratorOptions& options, std::ostream& out)
        : options_(options),
          rng_(options.seed),
          plantRng_(options.seed ^ 0x9E3779B97F4A7C15ULL),
          out_(out, options.lineEnd) {
        for (std::uint32_t weight : options.typeWeights) {
            totalWeight_ += weight;
        }
    }

    GeneratedCounts run() {
        preamble();
        while (out_.bytes() < options_.targetBytes) {
            if (rng_.chance(options_.noisePercent)) {
                noise();
            } else {
                const std::size_t type = pickType();
                mistake_ = plantFor(type);
                element(type);
                out_.emptyLine();
                ++counts_.perType[type];
            }
        }
        if (options_.leaveLastElementOpen) {
            const std::size_t type = pickType();
            mistake_ = -1;  // no element: nothing to find
            element(type);
            // A line of spaces is not an empty line: the element stays open to the end.
            out_.line("    ");
            counts_.openType = static_cast<int>(type);
        }
        out_.finish();
        counts_.lines = out_.lines();
        counts_.bytes = out_.bytes();
        return counts_;
    }

private:
    void preamble() {
        out_.line("*****************************************************************");
        out_.line("*  NODE DATABASE TEXT EXPORT");
        out_.line("*  Generated test data");
        out_.line("*****************************************************************");
        std::string onb = "ONB 3.2  ";
        appendNumber(onb, 2020 + rng_.below(10), 4);
        onb += '-';
        appendNumber(onb, 1 + rng_.below(12), 2);
        onb += '-';
        appendNumber(onb, 1 + rng_.below(28), 2);
        onb += '/';
        appendNumber(onb, rng_.below(24), 2);
        onb += ':';
        appendNumber(onb, rng_.below(60), 2);
        onb += ':';
        appendNumber(onb, rng_.below(60), 2);
        out_.line(onb);
        out_.emptyLine();
        out_.line("LAN1           CS513");
        out_.param(":NODE", options_.nodeNumber);
        out_.param(":NET", "1");
        out_.emptyLine();
        out_.line("AC450_1        AC450");
        out_.param(":DESCR", rng_.pick(kNodeDescriptions));
        out_.param(":CYCLE", "100");
        out_.emptyLine();
    }

    std::size_t pickType() {
        std::uint64_t r = rng_.below(totalWeight_);
        std::size_t type = 0;
        while (r >= options_.typeWeights[type]) {
            r -= options_.typeWeights[type];
            ++type;
        }
        return type;
    }

    // The mistake planted in the next element, if any: its own draws, so that the rest of
    // the file stays as it would be without.
    int plantFor(std::size_t type) {
        if (options_.mistakesPerMille == 0 || plantRng_.below(1000) >= options_.mistakesPerMille) {
            return -1;
        }
        std::array<int, kPlantedKinds> kinds{};
        std::size_t count = 0;
        if (!lastName_.empty()) {
            kinds[count++] = kSharedName;  // never a name shared already: pairs, not chains
        }
        if (type == kAI || type == kAO) {
            kinds[count++] = kSwappedRange;
            kinds[count++] = kRangeNotNumber;
        }
        kinds[count++] = kNoName;
        if (type < kDATB) {
            kinds[count++] = kLongDescr;
        }
        const int kind = kinds[plantRng_.below(count)];
        ++counts_.planted[static_cast<std::size_t>(kind)];
        return kind;
    }

    void name(std::string_view value) {
        if (options_.uniqueNames) {
            unique_.assign(value);
            unique_ += '_';
            unique_ += options_.nodeNumber;
            unique_ += '_';
            appendNumber(unique_, ++nameCount_);
            value = unique_;
        }
        if (mistake_ == kNoName || mistake_ == kSharedName) {
            param(":NAME", mistake_ == kNoName ? std::string_view{} : lastName_);
            lastName_.clear();
            return;
        }
        param(":NAME", value);
        lastName_.assign(value);
    }

    void range(std::string_view max, std::string_view min) {
        if (mistake_ == kSwappedRange) {
            std::swap(max, min);
        } else if (mistake_ == kRangeNotNumber) {
            max = "n/a";
        }
        param(":RANGEMAX", max);
        param(":RANGEMIN", min);
    }

    void descr(std::string_view value) {
        if (mistake_ == kLongDescr) {
            longDescr_.assign(value);
            longDescr_ += " - spare, see loop diagram 12";
            value = longDescr_;
        }
        param(":DESCR", value);
    }

    static void appendNumber(std::string& text, std::uint64_t value, int minDigits = 1) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        for (int n = static_cast<int>(result.ptr - digits); n < minDigits; ++n) {
            text += '0';
        }
        text.append(digits, result.ptr);
    }

    const std::string& tag(std::string_view letters, std::string_view more = {}) {
        scratch_.assign(letters);
        scratch_ += more;
        appendNumber(scratch_, 1000 + rng_.below(9000));
        if (rng_.chance(10)) {
            scratch_ += rng_.chance(50) ? 'A' : 'B';
        }
        return scratch_;
    }

    // "object what". Each draw is its own statement: the order in which a compiler evaluates
    // function arguments is unspecified, and it must not change the output.
    const std::string& description(std::string_view what) {
        description_.assign(rng_.pick(kPlantObjects));
        description_ += ' ';
        description_ += what;
        return description_;
    }
    template <std::size_t N>
    const std::string& description(const std::array<std::string_view, N>& whats) {
        description_.assign(rng_.pick(kPlantObjects));
        description_ += ' ';
        description_ += rng_.pick(whats);
        return description_;
    }

    std::string_view flag(std::uint64_t percentOne) { return rng_.chance(percentOne) ? "1" : "0"; }

    template <std::size_t N>
    void channelHeader(const std::array<ChannelFamily, N>& families,
                       std::uint64_t channelsPerModule, std::uint64_t& counter) {
        const std::uint64_t module = counter / channelsPerModule;
        const ChannelFamily& family = families[module % N];
        designation_.assign(family.module);
        designation_ += '_';
        appendNumber(designation_, options_.uniqueNames ? module + 1 : module % 999 + 1);
        designation_ += '.';
        appendNumber(designation_, counter % channelsPerModule + 1);
        ++counter;
        out_.header(designation_, family.kind);
    }

    void numberedHeader(std::string_view prefix, std::uint64_t& counter, std::string_view kind) {
        designation_.assign(prefix);
        appendNumber(designation_, options_.uniqueNames ? counter + 1 : counter % 99999 + 1);
        ++counter;
        out_.header(designation_, kind);
    }

    // Parameter line, now and then followed by a line of spaces, which must not end the element.
    void param(std::string_view key, std::string_view value) {
        out_.param(key, value);
        if (rng_.below(256) == 0) {
            out_.line("                ");
        }
    }

    void maybeExtraParam() {
        if (rng_.chance(6)) {
            std::string number;
            appendNumber(number, rng_.below(1000));
            out_.param(rng_.pick(kExtraKeys), number);
        }
    }

    void element(std::size_t type) {
        switch (type) {
            case kAI: {
                channelHeader(kAiFamilies, 8, aiChannels_);
                const Measurement& m = rng_.pick(kMeasurements);
                name(tag(m.letter, "T"));
                maybeExtraParam();
                descr(description(m.quantity));
                param(":UNIT", m.unit);
                range(rng_.pick(m.rangeMax), m.rangeMin);
                param(":CONV_PAR", m.letter == "T" ? "2" : "1");
                param(":FILTER_P", rng_.pick(kFilterTimes));
                param(":SCANT", rng_.pick(kScanTimes));
                break;
            }
            case kAIC: {
                numberedHeader("AIC", aicCount_, "AIC");
                const Measurement& m = rng_.pick(kMeasurements);
                name(tag(m.letter, "Y"));
                descr(description(m.quantity));
                param(":UNIT", m.unit);
                break;
            }
            case kAO:
                channelHeader(kAoFamilies, 8, aoChannels_);
                name(tag(rng_.pick(kActuatorTags)));
                descr(description(kActuators));
                param(":UNIT", "%");
                range("100.0", "0.0");
                param(":CONV_PAR", "1");
                param(":RESTART", rng_.pick(kRestartModes));
                break;
            case kAOC:
                numberedHeader("AOC", aocCount_, "AOC");
                name(tag("HC"));
                descr(description(kOutputCalcs));
                param(":UNIT", "%");
                param(":RESTART", flag(30));
                break;
            case kDI:
                channelHeader(kDiFamilies, 16, diChannels_);
                name(tag(rng_.pick(kBinaryTags)));
                descr(description(kBinaryStates));
                param(":BLOCKED", flag(5));
                param(":INV", flag(20));
                param(":NORM_TR", flag(15));
                param(":NORM_POS", flag(15));
                param(":ACT", flag(95));
                break;
            case kDIC:
                numberedHeader("DIC", dicCount_, "DIC");
                name(tag("UA"));
                maybeExtraParam();
                descr(description(kBinaryCalcs));
                param(":BLOCKED", flag(5));
                param(":INV", flag(20));
                break;
            case kDO:
                channelHeader(kDoFamilies, 16, doChannels_);
                name(tag(rng_.pick(kCommandTags)));
                descr(description(kCommands));
                param(":INV", flag(20));
                param(":RESTART", flag(30));
                param(":STVAL", flag(10));
                param(":OUTP_BLK", flag(5));
                param(":ACT", flag(95));
                break;
            case kDOC:
                numberedHeader("DOC", docCount_, "DOC");
                name(tag("KS"));
                descr(description(kCommandCalcs));
                param(":RESTART", flag(30));
                param(":STVAL", flag(10));
                break;
            case kPIDCON: {
                numberedHeader("PIDCON", pidCount_, "PIDCON");
                const Measurement& m = rng_.pick(kMeasurements);
                name(tag(m.letter, "C"));
                maybeExtraParam();
                descr(description(m.quantity));
                param(":UNIT", m.unit);
                break;
            }
            case kMOTCON:
                numberedHeader("MMCX", motCount_, "MOTCON");
                name(tag(rng_.pick(kMotorTags)));
                descr(rng_.pick(kMotors));
                break;
            default: {
                static constexpr std::array<std::string_view, 4> kDataKinds{"DAT(B)", "DAT(I)",
                                                                            "DAT(IL)", "DAT(R)"};
                numberedHeader("DAT", datCount_, kDataKinds[type - kDATB]);
                scratch_.assign(rng_.pick(kDataPrefixes));
                scratch_ += '_';
                scratch_ += rng_.pick(kDataWords);
                scratch_ += '_';
                appendNumber(scratch_, rng_.below(1000));
                name(scratch_);
                maybeExtraParam();
                break;
            }
        }
    }

    void noise() {
        switch (rng_.below(5)) {
            case 0: {
                const std::uint64_t count = 1 + rng_.below(3);
                for (std::uint64_t i = 0; i < count; ++i) {
                    out_.line(rng_.pick(kComments));
                }
                break;
            }
            case 1: {
                // An element of a kind the reader does not collect, with the same key names.
                const std::string_view kind = rng_.pick(kForeignKinds);
                numberedHeader(kind, foreignCount_, kind);
                param(":NAME", tag("X"));
                param(":DESCR", description(kCommands));
                out_.emptyLine();
                break;
            }
            case 2: {
                // The kind token one column short of a header line.
                const std::size_t type = pickType();
                static constexpr std::array<std::string_view, kTypeCount> kTypeTokens{
                    "AI",  "AIC",    "AO",   "AOC", "DI",  "DIC", "DO",
                    "DOC", "PIDCON", "MMCX", "DAT", "DAT", "DAT", "DAT"};
                scratch_.assign("* spare ");
                scratch_ += kTypeTokens[type];
                scratch_.append(12 - kTypeTokens[type].size(), ' ');
                scratch_ += kKindTokens[type];
                scratch_ += " not wired";
                out_.line(scratch_);
                break;
            }
            case 3:
                out_.line(std::string_view("                                        ",
                                           1 + rng_.below(40)));
                break;
            default:
                out_.emptyLine();
                break;
        }
    }

    const GeneratorOptions& options_;
    Rng rng_;
    Rng plantRng_;
    int mistake_ = -1;      // the PlantedMistake of the element being written, -1 none
    std::string lastName_;  // the element before's NAME, while another may share it
    std::string unique_;
    std::string longDescr_;
    std::uint64_t nameCount_ = 0;
    Writer out_;
    std::uint64_t totalWeight_ = 0;
    GeneratedCounts counts_;
    std::string scratch_;
    std::string description_;
    std::string designation_;
    std::uint64_t aiChannels_ = 0, aoChannels_ = 0, diChannels_ = 0, doChannels_ = 0;
    std::uint64_t aicCount_ = 0, aocCount_ = 0, dicCount_ = 0, docCount_ = 0;
    std::uint64_t pidCount_ = 0, motCount_ = 0, datCount_ = 0, foreignCount_ = 0;
};

void validate(const GeneratorOptions& options) {
    if (options.lineEnd != "\r\n" && options.lineEnd != "\n" && options.lineEnd != "\r") {
        throw std::invalid_argument("line end must be CR LF, LF or CR");
    }
    if (options.nodeNumber.size() > kValueWidth ||
        options.nodeNumber.find_first_of("\r\n") != std::string::npos) {
        throw std::invalid_argument("node number must be one line of at most 30 characters");
    }
    for (std::string_view token : kKindTokens) {
        if (containsNoCase(options.nodeNumber, token)) {
            throw std::invalid_argument("node number must not hold a header token");
        }
    }
    if (options.noisePercent > 100) {
        throw std::invalid_argument("noise share must be 0..100 percent");
    }
    std::uint64_t total = 0;
    for (std::uint32_t weight : options.typeWeights) {
        total += weight;
    }
    if (total == 0) {
        throw std::invalid_argument("at least one element type needs a weight");
    }
}

}  // namespace

const std::array<std::string_view, kTypeCount>& typeNames() {
    return kTypeNames;
}

GeneratedCounts generateExport(const GeneratorOptions& options, std::ostream& out) {
    validate(options);
    return ExportGenerator(options, out).run();
}

GeneratedCounts generateExportFile(const GeneratorOptions& options, const std::string& path) {
    validate(options);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw std::runtime_error("cannot create " + path);
    }
    GeneratedCounts counts = ExportGenerator(options, file).run();
    file.close();
    if (!file) {
        throw std::runtime_error("writing " + path + " failed");
    }
    return counts;
}

}  // namespace qor::gen
