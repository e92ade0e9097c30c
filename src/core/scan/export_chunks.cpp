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

}  // namespace

ExportChunks::ExportChunks(ExportScan& scan, std::size_t chunkBytes)
    : scan_(scan),
      file_(scan.path(), kNoun),
      identity_(file_.identity()),
      chunkBytes_(std::max<std::size_t>(chunkBytes, 1)),
      ceiling_(std::max<std::size_t>(scan.limits().lineCeiling, 1)) {
    if (scan.identity() != identity_) {
        throw QorError("'" + scan.path() + "' changed while it was being scanned");
    }
}

void ExportChunks::read() {
    const std::size_t block = std::max<std::size_t>(scan_.limits().bufferBytes, 1);
    const std::size_t held = held_.size();
    held_.resize(held + block);
    const std::size_t got = file_.read(held_.data() + held, block);
    held_.resize(held + got);
    consumed_ += got;
    eof_ = got == 0;
    if (file_.identity() != identity_) {
        throw QorError("'" + scan_.path() + "' changed while it was being scanned");
    }
}

void ExportChunks::scanLines() {
    while (scanned_ < held_.size()) {
        if (cutting_) {
            // The rest of an over-long line goes, up to its end.
            const std::size_t end = findLineEnd(held_.data(), scanned_, held_.size());
            held_.erase(scanned_, end - scanned_);
            if (scanned_ == held_.size()) {
                return;
            }
            cutting_ = false;
        }
        std::size_t end = findLineEnd(held_.data(), scanned_, held_.size());
        if (end == held_.size()) {
            if (end - lineStart_ > ceiling_) {
                ++cutLines_;
                held_.resize(lineStart_ + ceiling_);
                cutting_ = true;
            }
            scanned_ = held_.size();
            return;
        }
        // A CR that ends what is held may be the first half of a CR LF.
        if (held_[end] == '\r' && end + 1 == held_.size() && !eof_) {
            scanned_ = end;
            return;
        }
        if (end - lineStart_ > ceiling_) {
            ++cutLines_;
            held_.erase(lineStart_ + ceiling_, end - lineStart_ - ceiling_);
            end = lineStart_ + ceiling_;
        }
        const bool crLf = held_[end] == '\r' && end + 1 < held_.size() && held_[end + 1] == '\n';
        const std::size_t next = end + (crLf ? 2 : 1);
        if (end == lineStart_) {
            lastCleanEnd_ = next;  // an empty line ends every element
        }
        lastLineEnd_ = next;
        lineStart_ = scanned_ = next;
    }
}

bool ExportChunks::next(ExportChunk& chunk) {
    if (finished_) {
        return false;
    }
    std::size_t end = 0;
    bool clean = true;
    for (;;) {
        scanLines();
        if (eof_) {
            end = held_.size();
            finished_ = true;
            break;
        }
        if (held_.size() >= chunkBytes_ && lastCleanEnd_ > 0) {
            end = lastCleanEnd_;
            break;
        }
        if (held_.size() >= kChunksWithoutEmptyLine * chunkBytes_ && lastLineEnd_ > 0) {
            end = lastLineEnd_;
            clean = false;
            break;
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
    const auto shift = [end](std::size_t& position) {
        position = position > end ? position - end : 0;
    };
    shift(lineStart_);
    shift(scanned_);
    shift(lastCleanEnd_);
    shift(lastLineEnd_);
    nextStartsClean_ = clean;
    scan_.noteCutLines(cutLines_);
    return true;
}

}  // namespace qor::scan
