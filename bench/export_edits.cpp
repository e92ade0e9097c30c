#include "export_edits.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string_view>

namespace qor::gen {
namespace {

// Changes the last character of the block's last line that holds a ":": a digit counts on, any
// other character becomes 'X' (or 'Y' where it was 'X').
void changeLastValue(std::string& block) {
    const std::size_t colon = block.rfind(':');
    if (colon == std::string::npos) {
        return;
    }
    std::size_t end = block.find_first_of("\r\n", colon);
    if (end == std::string::npos) {
        end = block.size();
    }
    char& last = block[end - 1];
    if (last >= '0' && last <= '9') {
        last = last == '9' ? '0' : static_cast<char>(last + 1);
    } else {
        last = last == 'X' ? 'Y' : 'X';
    }
}

bool isEmptyLine(std::string_view line) {
    return line == "\n" || line == "\r\n";
}

}  // namespace

EditCounts writeEditedCopy(const std::string& from, const std::string& to, std::uint64_t seed,
                           unsigned perMille) {
    std::ifstream in(from, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        throw std::runtime_error("cannot read " + from);
    }
    std::mt19937_64 random(seed);
    EditCounts counts;
    std::string out;
    out.reserve(text.size() + text.size() / 64);
    std::string block;
    long long blocks = 0;
    const auto flush = [&] {
        const std::uint64_t draw = random() % 1000;
        if (++blocks <= 3 || draw >= 3 * perMille) {
            out += block;
        } else if (draw < perMille) {
            ++counts.dropped;
        } else if (draw < 2 * perMille) {
            changeLastValue(block);
            out += block;
            ++counts.changed;
        } else {
            out += block;
            out += block;
            ++counts.duplicated;
        }
        block.clear();
    };
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + at, end - at);
        block += line;
        at = end;
        if (isEmptyLine(line)) {
            flush();
        }
    }
    out += block;  // an unfinished last element stays as it was
    std::ofstream file(to, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + to);
    }
    return counts;
}

}  // namespace qor::gen
