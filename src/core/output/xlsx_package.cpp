#include "core/output/xlsx_package.h"

#include <unzip.h>
#include <zip.h>

#include <cerrno>
#include <string_view>
#include <system_error>

#include "core/base/qor_error.h"
#include "core/output/deflate_stream.h"
#include "core/output/xlsx_check.h"
#include "core/platform/zip_archive_files.h"

namespace qor::output {
namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;
constexpr std::string_view kDataEnd = "</sheetData>";
constexpr std::uint64_t kMax32 = 0xFFFFFFFF;
// Sheets written here are packed at the fastest level (see DeflateStream); the zip entry says so.
constexpr int kSheetLevel = 1;

struct CloseZip {
    void operator()(void* zip) const { zipClose(zip, nullptr); }
};
using Zip = std::unique_ptr<void, CloseZip>;

[[noreturn]] void fail(const std::string& what, int cause) {
    throw QorError(what + (cause != 0 ? " (" + std::generic_category().message(cause) + ")" : ""));
}

Zip createZip(const std::string& path) {
    errno = 0;
    Zip zip(platform::createZipArchive(path));
    if (zip == nullptr) {
        fail("the file cannot be created", errno);
    }
    return zip;
}

class PackageWriter {
public:
    PackageWriter(void* in, void* out) : in_(in), out_(out), buffer_(kBufferBytes) {}

    // The current part of the library's file, as it is packed.
    void copy(const std::string& name, const unz_file_info64& info) {
        int method = 0;
        int level = 0;
        if (unzOpenCurrentFile2(in_, &method, &level, 1) != UNZ_OK) {
            fail("its part '" + name + "' cannot be read", 0);
        }
        open(name, info, method, level, info.uncompressed_size);
        int got = 0;
        while ((got = unzReadCurrentFile(in_, buffer_.data(), kBufferBytes)) > 0) {
            write(name, buffer_.data(), static_cast<std::size_t>(got));
        }
        if (unzCloseCurrentFile(in_) != UNZ_OK || got < 0) {
            fail("its part '" + name + "' cannot be read", 0);
        }
        close(name, info.uncompressed_size, static_cast<std::uint32_t>(info.crc));
    }

    // The current part, a sheet, with the rows of `splice` before its end of data.
    void splice(const std::string& name, const unz_file_info64& info, const SheetSplice& splice) {
        std::string xml;
        if (unzOpenCurrentFile(in_) != UNZ_OK) {
            fail("its part '" + name + "' cannot be read", 0);
        }
        int got = 0;
        while ((got = unzReadCurrentFile(in_, buffer_.data(), kBufferBytes)) > 0) {
            xml.append(buffer_.data(), static_cast<std::size_t>(got));
        }
        if (unzCloseCurrentFile(in_) != UNZ_OK || got < 0) {
            fail("its part '" + name + "' cannot be read", 0);
        }
        const std::size_t end = xml.find(kDataEnd);
        if (end == std::string::npos) {
            fail("its part '" + name + "' has no place for its rows", 0);
        }
        std::string head;
        DeflateStream headStream([&head](std::string_view bytes) { head.append(bytes); });
        headStream.add(std::string_view(xml).substr(0, end));
        headStream.finish(false);
        std::string tail;
        DeflateStream tailStream([&tail](std::string_view bytes) { tail.append(bytes); });
        tailStream.add(std::string_view(xml).substr(end));
        tailStream.finish(true);

        const std::uint64_t size = headStream.size() + splice.size + tailStream.size();
        const std::uint32_t crc = combineCrc(combineCrc(headStream.crc(), splice.crc, splice.size),
                                             tailStream.crc(), tailStream.size());
        open(name, info, Z_DEFLATED, kSheetLevel, size);
        write(name, head.data(), head.size());
        errno = 0;
        std::rewind(splice.file);
        for (std::uint64_t left = splice.compressedSize; left > 0;) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(left, kBufferBytes));
            if (std::fread(buffer_.data(), 1, want, splice.file) != want) {
                fail("the rows of its part '" + name + "' cannot be read back", errno);
            }
            write(name, buffer_.data(), want);
            left -= want;
        }
        write(name, tail.data(), tail.size());
        close(name, size, crc);
    }

private:
    void open(const std::string& name, const unz_file_info64& info, int method, int level,
              std::uint64_t size) {
        // The library's dates and attributes, which its parts all share.
        zip_fileinfo entry{};
        entry.dosDate = info.dosDate;
        entry.internal_fa = info.internal_fa;
        entry.external_fa = info.external_fa;
        errno = 0;
        if (zipOpenNewFileInZip2_64(out_, name.c_str(), &entry, nullptr, 0, nullptr, 0, nullptr,
                                    method, level, 1, size >= kMax32 ? 1 : 0) != ZIP_OK) {
            fail("its part '" + name + "' cannot be added", errno);
        }
    }
    void write(const std::string& name, const char* data, std::size_t size) {
        errno = 0;
        if (size > 0 && zipWriteInFileInZip(out_, data, static_cast<unsigned>(size)) != ZIP_OK) {
            fail("its part '" + name + "' cannot be written", errno);
        }
    }
    void close(const std::string& name, std::uint64_t size, std::uint32_t crc) {
        errno = 0;
        if (zipCloseFileInZipRaw64(out_, size, crc) != ZIP_OK) {
            fail("its part '" + name + "' cannot be written", errno);
        }
    }

    void* in_;
    void* out_;
    std::vector<char> buffer_;
};

}  // namespace

void CloseUnzip::operator()(void* zip) const {
    unzClose(zip);
}

Unzip openUnzip(const std::string& path) {
    return Unzip(platform::openZipArchive(path));
}

void spliceWorkbook(const std::string& from, const std::string& to,
                    const std::vector<std::optional<SheetSplice>>& splices) {
    const Unzip in = openUnzip(from);
    if (in == nullptr) {
        fail("the library's file cannot be read", 0);
    }
    Zip out = createZip(to);
    PackageWriter writer(in.get(), out.get());
    char rawName[512];
    for (int status = unzGoToFirstFile(in.get()); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(in.get())) {
        unz_file_info64 info{};
        if (status != UNZ_OK ||
            unzGetCurrentFileInfo64(in.get(), &info, rawName, sizeof rawName, nullptr, 0, nullptr,
                                    0) != UNZ_OK ||
            info.size_filename >= sizeof rawName) {
            fail("the library's file cannot be read", 0);
        }
        const std::string name(rawName, info.size_filename);
        const std::size_t sheet = sheetPartNumber(name);
        if (sheet >= 1 && sheet <= splices.size() && splices[sheet - 1]) {
            writer.splice(name, info, *splices[sheet - 1]);
        } else {
            writer.copy(name, info);
        }
    }
    errno = 0;
    if (zipClose(out.release(), nullptr) != ZIP_OK) {
        fail("the file cannot be finished", errno);
    }
}

}  // namespace qor::output
