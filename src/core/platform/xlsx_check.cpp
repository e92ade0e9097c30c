#include "core/platform/xlsx_check.h"

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <optional>

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"

namespace qor::platform {
namespace {

std::uint32_t little(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

struct ZipEntry {
    std::uint16_t method = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t localHeader = 0;
};

class WorkbookFile {
public:
    WorkbookFile(const std::string& path, const std::string& shownAs) : path_(shownAs) {
        std::ifstream in(toFsPath(path), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.eof() && in.fail()) {
            fail("cannot be read back");
        }
    }

    // The central directory entry of `name`; nothing when the file has none.
    std::optional<ZipEntry> find(const std::string& name) const {
        constexpr std::uint32_t kEndSignature = 0x06054b50;
        constexpr std::uint32_t kEntrySignature = 0x02014b50;
        if (bytes_.size() < 22) {
            fail("is not a workbook");
        }
        std::size_t end = bytes_.size() - 22;
        while (end > 0 && little(bytes_, end, 4) != kEndSignature) {
            --end;
        }
        std::size_t at = little(bytes_, end + 16, 4);
        const std::size_t count = little(bytes_, end + 10, 2);
        for (std::size_t i = 0; i < count && at + 46 <= bytes_.size(); ++i) {
            if (little(bytes_, at, 4) != kEntrySignature) {
                fail("has a damaged directory");
            }
            const std::size_t nameLength = little(bytes_, at + 28, 2);
            const std::size_t extraLength = little(bytes_, at + 30, 2);
            const std::size_t commentLength = little(bytes_, at + 32, 2);
            if (bytes_.compare(at + 46, nameLength, name) == 0 && nameLength == name.size()) {
                return ZipEntry{static_cast<std::uint16_t>(little(bytes_, at + 10, 2)),
                                little(bytes_, at + 20, 4), little(bytes_, at + 42, 4)};
            }
            at += 46 + nameLength + extraLength + commentLength;
        }
        return std::nullopt;
    }

    // The last `keep` bytes of the entry's content.
    std::string tail(const ZipEntry& entry, std::size_t keep) const {
        const std::size_t header = entry.localHeader;
        if (header + 30 > bytes_.size()) {
            fail("has a damaged entry");
        }
        const std::size_t data =
            header + 30 + little(bytes_, header + 26, 2) + little(bytes_, header + 28, 2);
        if (data + entry.compressedSize > bytes_.size()) {
            fail("has a damaged entry");
        }
        if (entry.method == 0) {
            const std::size_t from = entry.compressedSize > keep ? entry.compressedSize - keep : 0;
            return bytes_.substr(data + from, entry.compressedSize - from);
        }
        return inflateTail(data, entry.compressedSize, keep);
    }

    [[noreturn]] void fail(const std::string& why) const {
        throw QorError("The workbook '" + path_ + "' " + why);
    }

private:
    std::string inflateTail(std::size_t data, std::size_t size, std::size_t keep) const {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            fail("cannot be checked");
        }
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes_.data() + data));
        stream.avail_in = static_cast<uInt>(size);
        std::string tail;
        char chunk[64 * 1024];
        int status = Z_OK;
        while (status == Z_OK) {
            stream.next_out = reinterpret_cast<Bytef*>(chunk);
            stream.avail_out = sizeof chunk;
            status = inflate(&stream, Z_NO_FLUSH);
            tail.append(chunk, sizeof chunk - stream.avail_out);
            if (tail.size() > 2 * keep) {
                tail.erase(0, tail.size() - keep);
            }
        }
        inflateEnd(&stream);
        if (status != Z_STREAM_END) {
            fail("has a damaged sheet");
        }
        return tail.size() > keep ? tail.substr(tail.size() - keep) : tail;
    }

    std::string path_;
    std::string bytes_;
};

}  // namespace

void checkWorkbookRows(const std::string& path, const std::string& shownAs,
                       const std::vector<std::int64_t>& lastRows) {
    const WorkbookFile file(path, shownAs);
    for (std::size_t i = 0; i < lastRows.size(); ++i) {
        const std::string name = "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml";
        const auto entry = file.find(name);
        if (!entry) {
            file.fail("lacks " + name);
        }
        // A row holds at most a few dozen short cells: its start lies in the last 256 KiB.
        const std::string tail = file.tail(*entry, 256 * 1024);
        const std::size_t rowStart = tail.rfind("<row r=\"");
        const std::int64_t lastRow =
            rowStart == std::string::npos ? 0 : std::atoll(tail.c_str() + rowStart + 8);
        const bool complete = tail.ends_with("</worksheet>") || tail.ends_with("</worksheet>\n");
        if (!complete || lastRow != lastRows[i]) {
            file.fail("came out incomplete (sheet " + std::to_string(i + 1) + " ends at row " +
                      std::to_string(lastRow) + " of " + std::to_string(lastRows[i]) +
                      "; is the disk full?)");
        }
    }
}

std::string readWorkbookPart(const std::string& path, const std::string& name) {
    const WorkbookFile file(path, path);
    const auto entry = file.find(name);
    if (!entry) {
        file.fail("lacks " + name);
    }
    return file.tail(*entry, std::size_t{1} << 30);
}

}  // namespace qor::platform
