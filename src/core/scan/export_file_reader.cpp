#include "core/scan/export_file_reader.h"

#include <algorithm>
#include <stdexcept>

#include "core/base/qor_error.h"
#include "core/scan/byte_search.h"
#include "core/scan/text_rules.h"

namespace qor::scan {
namespace {

constexpr std::string_view kNoun = "database file";

inline bool isTerminator(char c) {
    return c == '\r' || c == '\n';
}

[[noreturn]] void changed(const std::string& path) {
    throw QorError(
        fillIn(translate("ExportFile", "'%1' changed while it was being scanned"), {path}));
}

}  // namespace

ExportFileReader::ExportFileReader(ExportScan& scan)
    : ExportFileReader(scan.path(), scan.limits(), &scan) {}

ExportFileReader::ExportFileReader(const std::string& path, ReadLimits limits)
    : ExportFileReader(path, limits, nullptr) {}

ExportFileReader::ExportFileReader(const std::string& path, ReadLimits limits, ExportScan* scan)
    : path_(path),
      file_(path, kNoun),
      scan_(scan),
      ceiling_(std::max<std::size_t>(limits.lineCeiling, 1)),
      // Room for a line at the ceiling, the byte after it and a read's worth more.
      maxBufferBytes_(ceiling_ + std::max<std::size_t>(limits.bufferBytes, 2)),
      expected_(file_.identity()) {
    if (scan_ != nullptr && scan_->identity() != expected_) {
        changed(path_);
    }
    buffer_.resize(std::max<std::size_t>(limits.bufferBytes, 1));
}

void ExportFileReader::refill() {
    ++refills_;  // positions noted in the buffer are void from here
    if (begin_ > 0) {
        std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(begin_),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        // Callers cut a line before it outgrows the ceiling, so the largest size is enough.
        if (buffer_.size() >= maxBufferBytes_) {
            throw std::logic_error("the export reader's buffer is full");
        }
        buffer_.resize(std::min(buffer_.size() * 2, maxBufferBytes_));
    }
    const std::size_t got = file_.read(buffer_.data() + end_, buffer_.size() - end_);
    end_ += got;
    eof_ = got == 0;
    if (file_.identity() != expected_ || (eof_ && !file_.stillAtPath())) {
        changed(path_);
    }
}

void ExportFileReader::noteCut() {
    ++cutLines_;
    if (scan_ != nullptr) {
        scan_->noteCutLines(cutLines_);
    }
}

void ExportFileReader::cutLine() {
    noteCut();
    begin_ += ceiling_;
    skipping_ = true;
}

void ExportFileReader::finishSkip() {
    while (skipping_) {
        const std::size_t t = findLineEnd(buffer_.data(), begin_, end_);
        if (t == end_) {
            begin_ = end_;
            if (eof_) {
                skipping_ = false;
            } else {
                refill();
            }
        } else if (buffer_[t] == '\r' && t + 1 == end_ && !eof_) {
            begin_ = t;  // whether an LF follows decides where the next line starts
            refill();
        } else {
            const bool crLf = buffer_[t] == '\r' && t + 1 < end_ && buffer_[t + 1] == '\n';
            begin_ = t + (crLf ? 2 : 1);
            skipping_ = false;
        }
    }
}

bool ExportFileReader::nextLine(std::string_view& line) {
    finishSkip();
    std::size_t searchFrom = begin_;
    for (;;) {
        const char* data = buffer_.data();
        // A line end further on than the ceiling is never needed: the line is cut there.
        const std::size_t limit = std::min(end_, begin_ + ceiling_ + 1);
        const std::size_t t = findLineEnd(data, searchFrom, limit);
        if (t < limit) {
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
        if (limit - begin_ > ceiling_) {
            line = std::string_view(data + begin_, ceiling_);
            cutLine();
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
    // The needle holds no line end, so an occurrence that starts in the line ends in it,
    // unless the line was cut.
    holdsNeedle = hit != kNotFound && hit + needle.size() <= lineStart + line.size();
    return true;
}

std::size_t ExportFileReader::lineStartBefore(std::size_t position) const {
    const char* data = buffer_.data();
    while (position > begin_ && !isTerminator(data[position - 1])) {
        --position;
    }
    return position;
}

void ExportFileReader::countLongLines(std::size_t from, std::size_t to) {
    if (to - from <= ceiling_) {
        return;  // no whole line of so short a stretch can be over-long
    }
    while (from < to) {
        const std::size_t t = findLineEnd(buffer_.data(), from, to);
        if (t - from > ceiling_) {
            noteCut();
        }
        from = t + 1;
    }
}

bool ExportFileReader::nextLineContaining(std::string_view needle, std::string_view& line) {
    for (;;) {
        finishSkip();
        const std::size_t hit = findInBuffer(needle, begin_);
        // The whole lines passed over still count when they are over-long.
        const std::size_t start = lineStartBefore(hit != kNotFound ? hit : end_);
        countLongLines(begin_, start);
        begin_ = start;
        if (hit != kNotFound) {
            if (hit + needle.size() - begin_ <= ceiling_) {
                return nextLine(line);
            }
            cutLine();  // the needle lies in the part that is cut away
            continue;
        }
        if (end_ - begin_ > ceiling_) {
            cutLine();  // the unfinished last line is over-long already
            continue;
        }
        if (eof_) {
            begin_ = end_;
            return false;
        }
        // Keep the last, unfinished line: the needle may continue in the next read.
        refill();
    }
}

bool ExportFileReader::nextBlock(std::size_t preferredBytes, std::string_view& block) {
    finishSkip();
    // Lines inside a stretch are shorter than it; only a stretch of one line can need a cut.
    const std::size_t preferred = std::clamp<std::size_t>(preferredBytes, 1, ceiling_);
    for (;;) {
        const std::size_t available = end_ - begin_;
        if (eof_ || available >= preferred) {
            // Cut after the last line end within the preferred size, or after the first
            // line end when a single line is longer than that.
            std::size_t cut = std::min(end_, begin_ + preferred);
            while (cut > begin_ && !isTerminator(buffer_[cut - 1])) {
                --cut;
            }
            if (cut == begin_) {
                const std::size_t limit = std::min(end_, begin_ + ceiling_ + 1);
                const std::size_t t =
                    findLineEnd(buffer_.data(), begin_ + std::min(available, preferred), limit);
                if (t < limit) {
                    cut = t + 1;
                } else if (limit - begin_ > ceiling_) {
                    block = std::string_view(buffer_.data() + begin_, ceiling_);
                    cutLine();
                    return true;
                } else if (eof_) {
                    cut = end_;
                }
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
