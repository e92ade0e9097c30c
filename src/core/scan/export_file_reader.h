#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/input_file.h"
#include "core/scan/export_scan.h"

namespace qor::scan {

// Reads an export file line by line with large buffered reads. A line ends at CR LF, at a
// lone CR or at a lone LF; the terminator is not part of the line, and a final terminator
// does not start another line. Bytes pass through unchanged. A line longer than the ceiling
// is cut: its first `lineCeiling` bytes are the line and the rest of it is skipped, so that
// memory stays bounded whatever the file holds. Returned views stay valid until the next call. The
// file must not change while it is read: a read that finds it changed throws QorError.
class ExportFileReader {
public:
    // A pass of `scan`: the file must still be as the scan found it.
    explicit ExportFileReader(ExportScan& scan);
    // A pass of its own: the file must stay as it was when opened.
    explicit ExportFileReader(const std::string& path, ReadLimits limits = {});
    // Both throw QorError naming the file and the cause when it cannot be opened, is not a
    // regular file or (for a pass of a scan) is no longer what the scan found.

    bool nextLine(std::string_view& line);

    // Skips every line that does not contain `needle` (ignoring ASCII case) and returns the
    // first line that does. Much faster than nextLine where such lines are rare.
    bool nextLineContaining(std::string_view needle, std::string_view& line);

    // nextLine, also telling whether the line holds `needle` (ignoring ASCII case). One
    // search covers every line up to the next occurrence, so lines that cannot hold it cost
    // nothing more to tell.
    bool nextLineNoting(std::string_view needle, std::string_view& line, bool& holdsNeedle);

    // The next stretch of whole lines, about `preferredBytes` long (longer when one line is,
    // up to the ceiling): for passes that search many lines at once. The stretch may start
    // with the LF of a CR LF whose CR ended the previous stretch.
    bool nextBlock(std::size_t preferredBytes, std::string_view& block);

    // Lines cut so far.
    long long cutLines() const { return cutLines_; }

private:
    ExportFileReader(const std::string& path, ReadLimits limits, ExportScan* scan);
    void refill();
    void finishSkip();
    void cutLine();
    void noteCut();
    void countLongLines(std::size_t from, std::size_t to);
    std::size_t lineStartBefore(std::size_t position) const;
    // The first occurrence of `needle` at or after `from` in the buffer, or kNotFound.
    std::size_t findInBuffer(std::string_view needle, std::size_t from);

    std::string path_;
    platform::InputFile file_;
    ExportScan* scan_;
    const std::size_t ceiling_;
    const std::size_t maxBufferBytes_;
    platform::FileIdentity expected_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool skipping_ = false;  // the rest of a cut line lies ahead
    long long cutLines_ = 0;
    // The last search in the buffer: its needle, where it started and what it found.
    std::size_t refills_ = 0;
    std::size_t searchedRefills_ = static_cast<std::size_t>(-1);
    std::string_view searchedNeedle_;
    std::size_t searchedFrom_ = 0;
    std::size_t nextHit_ = 0;
};

// Opens the export file and reads its first line, to check that it can be read; throws
// QorError naming the cause. Never waits on a pipe or device: those are refused.
void checkExportFileReadable(const std::string& path);

}  // namespace qor::scan
