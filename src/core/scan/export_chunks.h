#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/platform/input_file.h"
#include "core/scan/export_scan.h"

namespace qor::scan {

// A stretch of whole lines of an export, to be parsed apart from the others. Lines longer than
// the line ceiling are already cut to it.
struct ExportChunk {
    std::size_t index = 0;
    std::string bytes;
    // Begins at the start of the file or right after an empty line, where no element can be
    // open: it can be parsed without knowing what came before. Only a file that goes on for a
    // long stretch without an empty line gives a chunk that does not.
    bool startsClean = true;
    // Ends the file: an element still open at its end is never finished.
    bool endsFile = false;
    // Ends right after an empty line (or the file): the next chunk starts clean.
    bool endsClean = true;
    // How far into the file this chunk reaches.
    std::uint64_t fileOffset = 0;
};

// Reads an export once, front to back, and hands it out as chunks of about `chunkBytes`, each
// ending right after an empty line where one comes soon enough. Memory stays under a few
// chunks plus the line ceiling, whatever the file holds. Every read checks that the file is
// still what the scan found.
class ExportChunks {
public:
    // Throws QorError when the file cannot be opened, is not a regular file or has changed
    // since `scan` began.
    ExportChunks(ExportScan& scan, std::size_t chunkBytes);

    // The next chunk into `chunk` (its buffer is reused); false after the last one. Throws
    // QorError when the file cannot be read or changes.
    bool next(ExportChunk& chunk);

    std::uint64_t fileSize() const { return identity_.size; }
    long long cutLines() const { return cutLines_; }

private:
    void read();
    void cutLongLine(std::size_t from);
    std::size_t lastCleanEnd() const;

    ExportScan& scan_;
    platform::InputFile file_;
    platform::FileIdentity identity_;
    const std::size_t chunkBytes_;
    const std::size_t ceiling_;
    const std::size_t readBytes_;
    std::string held_;           // bytes read, not yet handed out; starts at a line start
    std::size_t lineStart_ = 0;  // start of the last line held, complete or not
    bool cutting_ = false;       // the rest of an over-long line is being dropped
    bool eof_ = false;
    bool finished_ = false;
    bool nextStartsClean_ = true;
    std::size_t nextIndex_ = 0;
    std::uint64_t consumed_ = 0;  // file bytes read so far
    long long cutLines_ = 0;
};

}  // namespace qor::scan
