#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_file.h"

namespace qor::scan {

// Reads an export file line by line with large buffered reads. A line ends at CR LF, at a
// lone CR or at a lone LF; the terminator is not part of the line, and a final terminator
// does not start another line. Bytes pass through unchanged. A line of any length is held
// whole. Returned views stay valid until the next call. The file is closed on destruction.
class ExportFileReader {
public:
    // Throws QorError naming the file and the cause when it cannot be opened or is not a
    // regular file.
    explicit ExportFileReader(const std::string& path);

    bool nextLine(std::string_view& line);

    // Skips every line that does not contain `needle` (ignoring ASCII case) and returns the
    // first line that does. Much faster than nextLine where such lines are rare.
    bool nextLineContaining(std::string_view needle, std::string_view& line);

    // nextLine, also telling whether the line holds `needle` (ignoring ASCII case). One
    // search covers every line up to the next occurrence, so lines that cannot hold it cost
    // nothing more to tell.
    bool nextLineNoting(std::string_view needle, std::string_view& line, bool& holdsNeedle);

    // The next stretch of whole lines, about `preferredBytes` long (longer when one line is):
    // for passes that search many lines at once. Lines are never cut; the stretch may start
    // with the LF of a CR LF whose CR ended the previous stretch.
    bool nextBlock(std::size_t preferredBytes, std::string_view& block);

private:
    void refill();
    std::size_t lineStartBefore(std::size_t position) const;
    // The first occurrence of `needle` at or after `from` in the buffer, or kNotFound.
    std::size_t findInBuffer(std::string_view needle, std::size_t from);

    platform::InputFile file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
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
