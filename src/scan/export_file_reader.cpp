#include "scan/export_file_reader.h"

#include <algorithm>
#include <cstring>

#include "scan/byte_search.h"
#include "scan/text_rules.h"

namespace qor::scan {
namespace {

constexpr std::size_t kInitialBufferSize = std::size_t{1} << 18;

inline bool isTerminator(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

ExportFileReader::ExportFileReader(const std::string& path) : file_(path, "database file") {
    buffer_.resize(kInitialBufferSize);
}

void ExportFileReader::refill() {
    ++refills_;  // positions noted in the buffer are void from here
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        buffer_.resize(buffer_.size() * 2);  // one line fills the buffer: hold it whole
    }
    const std::size_t got = file_.read(buffer_.data() + end_, buffer_.size() - end_);
    end_ += got;
    eof_ = got == 0;
}

bool ExportFileReader::nextLine(std::string_view& line) {
    std::size_t searchFrom = begin_;
    for (;;) {
        const char* data = buffer_.data();
        const std::size_t t = findLineEnd(data, searchFrom, end_);
        if (t < end_) {
            if (data[t] == '\r' && t + 1 == end_ && !eof_) {
                // Whether an LF follows decides where the next line starts.
                const std::size_t offset = t - begin_;
                refill();
                searchFrom = begin_ + offset;
                continue;
            }
            line = std::string_view(data + begin_, t - begin_);
            std::size_t next = t + 1;
            if (data[t] == '\r' && next < end_ && data[next] == '\n') {
                ++next;
            }
            begin_ = next;
            return true;
        }
        if (eof_) {
            if (begin_ < end_) {
                line = std::string_view(data + begin_, end_ - begin_);
                begin_ = end_;
                return true;
            }
            return false;
        }
        const std::size_t offset = end_ - begin_;
        refill();
        searchFrom = begin_ + offset;
    }
}

std::size_t ExportFileReader::findInBuffer(std::string_view needle, std::size_t from) {
    // One search serves every call up to the occurrence it found, in both reading modes.
    const bool known = searchedRefills_ == refills_ && needle == searchedNeedle_ &&
                       searchedFrom_ <= from && (nextHit_ == kNotFound || nextHit_ >= from);
    if (!known) {
        searchedRefills_ = refills_;
        searchedNeedle_ = needle;
        searchedFrom_ = from;
        nextHit_ = findNoCase(std::string_view(buffer_.data(), end_), needle, from);
    }
    return nextHit_;
}

bool ExportFileReader::nextLineNoting(std::string_view needle, std::string_view& line,
                                      bool& holdsNeedle) {
    if (!nextLine(line)) {
        return false;
    }
    const std::size_t lineStart = static_cast<std::size_t>(line.data() - buffer_.data());
    const std::size_t hit = findInBuffer(needle, lineStart);
    // The needle holds no line end, so an occurrence that starts in the line ends in it.
    holdsNeedle = hit != kNotFound && hit < lineStart + line.size();
    return true;
}

std::size_t ExportFileReader::lineStartBefore(std::size_t position) const {
    const char* data = buffer_.data();
    while (position > begin_ && !isTerminator(data[position - 1])) {
        --position;
    }
    return position;
}

bool ExportFileReader::nextLineContaining(std::string_view needle, std::string_view& line) {
    for (;;) {
        const std::size_t hit = findInBuffer(needle, begin_);
        if (hit != kNotFound) {
            begin_ = lineStartBefore(hit);
            return nextLine(line);
        }
        if (eof_) {
            begin_ = end_;
            return false;
        }
        // Keep the last, unfinished line: the needle may continue in the next read.
        begin_ = lineStartBefore(end_);
        refill();
    }
}

bool ExportFileReader::nextBlock(std::size_t preferredBytes, std::string_view& block) {
    for (;;) {
        const std::size_t available = end_ - begin_;
        if (eof_ || available >= preferredBytes) {
            // Cut after the last line end within the preferred size, or after the first
            // line end when a single line is longer than that.
            std::size_t cut = std::min(end_, begin_ + preferredBytes);
            while (cut > begin_ && !isTerminator(buffer_[cut - 1])) {
                --cut;
            }
            if (cut == begin_) {
                cut =
                    findLineEnd(buffer_.data(), begin_ + std::min(available, preferredBytes), end_);
                cut = cut < end_ ? cut + 1 : (eof_ ? end_ : begin_);
            }
            if (cut > begin_) {
                block = std::string_view(buffer_.data() + begin_, cut - begin_);
                begin_ = cut;
                return true;
            }
            if (eof_) {
                return false;
            }
        }
        refill();
    }
}

void checkExportFileReadable(const std::string& path) {
    ExportFileReader reader(path);
    std::string_view line;
    reader.nextLine(line);
}

}  // namespace qor::scan
