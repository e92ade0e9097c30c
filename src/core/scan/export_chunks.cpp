#include "core/scan/export_chunks.h"

#include <algorithm>

#include "core/base/qor_error.h"
#include "core/scan/byte_search.h"

namespace qor::scan {
namespace {

constexpr std::string_view kNoun = "database file";

// A stretch this many chunks long without an empty line is handed out at a line end instead:
// the next chunk then carries the elements still open.
constexpr std::size_t kChunksWithoutEmptyLine = 8;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

ExportChunks::ExportChunks(ExportScan& scan, std::size_t chunkBytes)
    : scan_(scan),
      file_(scan.path(), kNoun),
      identity_(file_.identity()),
      chunkBytes_(std::max<std::size_t>(chunkBytes, 1)),
      ceiling_(std::max<std::size_t>(scan.limits().lineCeiling, 1)),
      // A line that lies within one read is shorter than the ceiling: only lines that cross
      // from one read into the next need measuring. Reads no larger than a chunk keep chunks
      // near their size.
      readBytes_(
          std::clamp<std::size_t>(std::min(scan.limits().bufferBytes, chunkBytes_), 1, ceiling_)) {
    if (scan.identity() != identity_) {
        throw QorError(fillIn(translate("ExportFile", "'%1' changed while it was being scanned"),
                              {scan.path()}));
    }
}

void ExportChunks::read() {
    const std::size_t held = held_.size();
    held_.resize(held + readBytes_);
    const std::size_t got = file_.read(held_.data() + held, readBytes_);
    held_.resize(held + got);
    consumed_ += got;
    eof_ = got == 0;
    if (file_.identity() != identity_ || (eof_ && !file_.stillAtPath())) {
        throw QorError(fillIn(translate("ExportFile", "'%1' changed while it was being scanned"),
                              {scan_.path()}));
    }
    cutLongLine(held);
}

// The bytes from `from` on are new. The line that was open before them may now be too long:
// it keeps its first `ceiling_` bytes, the rest of it goes.
void ExportChunks::cutLongLine(std::size_t from) {
    std::size_t end = findLineEnd(held_.data(), from, held_.size());
    if (end - lineStart_ > ceiling_) {
        if (!cutting_) {
            ++cutLines_;
            cutting_ = true;
        }
        held_.erase(lineStart_ + ceiling_, end - lineStart_ - ceiling_);
        end = lineStart_ + ceiling_;
    }
    if (end == held_.size()) {
        return;  // the line goes on
    }
    cutting_ = false;
    const std::size_t last = findLastLineEnd(held_.data(), end, held_.size());
    lineStart_ = last + 1;
}

// Just after the last empty line held, where a chunk may end cleanly; 0 when there is none.
// An empty line is a line end that directly follows another (a CR LF being one line end).
std::size_t ExportChunks::lastCleanEnd() const {
    const char* data = held_.data();
    for (std::size_t i = held_.size(); i > 1; --i) {
        const std::size_t at = i - 1;
        if (!isLineEnd(data[at]) || !isLineEnd(data[at - 1]) ||
            (data[at - 1] == '\r' && data[at] == '\n')) {
            continue;
        }
        if (data[at] == '\n') {
            return at + 1;
        }
        // A CR: whether a LF belongs to it decides where the line ends.
        if (at + 1 < held_.size()) {
            return at + (data[at + 1] == '\n' ? 2 : 1);
        }
        if (eof_) {
            return at + 1;
        }
    }
    return 0;
}

bool ExportChunks::next(ExportChunk& chunk) {
    if (finished_) {
        return false;
    }
    std::size_t end = 0;
    bool clean = true;
    for (;;) {
        if (eof_) {
            end = held_.size();
            finished_ = true;
            break;
        }
        if (held_.size() >= chunkBytes_) {
            if ((end = lastCleanEnd()) > 0) {
                break;
            }
            if (held_.size() >= kChunksWithoutEmptyLine * chunkBytes_ && lineStart_ > 0 &&
                !(held_[lineStart_ - 1] == '\r' && lineStart_ == held_.size())) {
                end = lineStart_;
                clean = false;
                break;
            }
        }
        read();
    }
    chunk.index = nextIndex_++;
    chunk.startsClean = nextStartsClean_;
    chunk.endsFile = finished_;
    chunk.endsClean = clean;
    // The chunk takes the held bytes; what follows its end goes back to be held.
    chunk.bytes.swap(held_);
    held_.assign(chunk.bytes, end, std::string::npos);
    chunk.bytes.resize(end);
    chunk.fileOffset = consumed_ - held_.size();
    lineStart_ = lineStart_ > end ? lineStart_ - end : 0;
    nextStartsClean_ = clean;
    scan_.noteCutLines(cutLines_);
    return true;
}

}  // namespace qor::scan
