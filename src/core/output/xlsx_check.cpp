#include "core/output/xlsx_check.h"

#include <unzip.h>
#ifdef QOR_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <numeric>
#include <optional>
#include <string_view>
#include <thread>

#include "core/base/qor_error.h"
#include "core/base/worker_threads.h"
#include "core/output/xlsx_package.h"

namespace qor::output {
namespace {

constexpr std::string_view kDiskHint = " (is the disk full?)";

Unzip openZip(const std::string& path, const std::string& shownAs) {
    Unzip zip = openUnzip(path);
    if (zip == nullptr) {
        throw QorError(shownAs + " cannot be read back as a workbook");
    }
    return zip;
}

#ifdef QOR_HAVE_ISAL
// Unpacks the current part, deflated, with ISA-L's inflate: about half again as fast as zlib's,
// and its checksum comes nearly free. As unpack.
template <typename Take>
bool unpackDeflated(void* zip, const unz_file_info64& info, std::string& buffer, Take&& take) {
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK) {
        return false;
    }
    std::string packed(buffer.size(), '\0');
    inflate_state state;
    isal_inflate_init(&state);
    state.crc_flag = ISAL_GZIP_NO_HDR;  // raw data, with the CRC-32 of what comes out
    std::uint64_t size = 0;
    bool whole = false;
    for (bool input = true; !whole;) {
        if (state.avail_in == 0 && input) {
            const int got =
                unzReadCurrentFile(zip, packed.data(), static_cast<unsigned>(packed.size()));
            if (got < 0) {
                break;
            }
            input = got > 0;
            state.next_in = reinterpret_cast<std::uint8_t*>(packed.data());
            state.avail_in = static_cast<std::uint32_t>(got);
        }
        state.next_out = reinterpret_cast<std::uint8_t*>(buffer.data());
        state.avail_out = static_cast<std::uint32_t>(buffer.size());
        if (isal_inflate(&state) != ISAL_DECOMP_OK) {
            break;
        }
        const std::size_t made = buffer.size() - state.avail_out;
        if (made > 0) {
            take(std::string_view(buffer.data(), made));
            size += made;
        }
        whole = state.block_state == ISAL_BLOCK_FINISH;
        if (!whole && made == 0 && state.avail_in == 0 && !input) {
            break;  // the data ends before the stream does
        }
    }
    // Raw data is not checked by the zip library: its checksum and size are checked here.
    return unzCloseCurrentFile(zip) == UNZ_OK && whole && state.avail_in == 0 &&
           state.crc == info.crc && size == info.uncompressed_size;
}
#endif

// Unpacks the current part, handing it to `take` in pieces; false when it does not unpack
// whole or its checksum differs.
template <typename Take>
bool unpack(void* zip, std::string& buffer, Take&& take) {
#ifdef QOR_HAVE_ISAL
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
        info.compression_method == Z_DEFLATED) {
        return unpackDeflated(zip, info, buffer, take);
    }
#endif
    if (unzOpenCurrentFile(zip) != UNZ_OK) {
        return false;
    }
    int got = 0;
    while ((got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) >
           0) {
        take(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
    return unzCloseCurrentFile(zip) == UNZ_OK && got == 0;
}

// Whether an XML part is whole: it starts with the declaration and ends with the closing tag of
// its root element, so a part that lost its start or its end to a failed write shows.
class XmlPartCheck {
public:
    void add(std::string_view piece) {
        head_.append(piece.substr(0, kKeep - std::min(kKeep, head_.size())));
        tail_.append(piece.substr(piece.size() - std::min(piece.size(), kKeep)));
        tail_.erase(0, tail_.size() - std::min(tail_.size(), kKeep));
    }
    bool whole() const {
        const std::size_t declarationEnd = head_.find("?>");
        if (!head_.starts_with("<?xml") || declarationEnd == std::string::npos) {
            return false;
        }
        const std::size_t root = head_.find('<', declarationEnd);
        const std::size_t nameEnd = head_.find_first_of(" \t\r\n/>", root + 1);
        if (root == std::string::npos || nameEnd == std::string::npos || nameEnd == root + 1) {
            return false;
        }
        std::string_view tail = tail_;
        while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) {
            tail.remove_suffix(1);
        }
        return tail.ends_with("</" + head_.substr(root + 1, nameEnd - root - 1) + ">");
    }

private:
    static constexpr std::size_t kKeep = 512;
    std::string head_;
    std::string tail_;
};

}  // namespace

std::size_t sheetPartNumber(std::string_view name) {
    constexpr std::string_view kPrefix = "xl/worksheets/sheet";
    if (!name.starts_with(kPrefix) || !name.ends_with(".xml")) {
        return 0;
    }
    const std::string_view digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - 4);
    if (digits.empty() || digits.size() > 6 || digits[0] == '0' ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    return std::stoul(std::string(digits));
}

namespace {

// A part of a workbook file to check, and what is wrong with it.
struct Part {
    std::string name;
    unz64_file_pos position{};
    std::uint64_t size = 0;
    std::size_t sheet = 0;  // from 1; 0 for any other part
    std::optional<std::string> fault;
};

// Unpacks the part at the file's current position and checks it.
std::optional<std::string> faultOf(void* zip, std::string& buffer, const Part& part,
                                   const std::vector<SheetContent>& sheets) {
    std::optional<SheetCheck> rows;
    if (part.sheet != 0) {
        rows.emplace(sheets[part.sheet - 1]);
    }
    XmlPartCheck xml;
    const bool unpacked = unpack(zip, buffer, [&](std::string_view piece) {
        xml.add(piece);
        if (rows) {
            rows->add(piece);
        }
    });
    if (!unpacked || !xml.whole()) {
        return "its part '" + part.name + "' is damaged";
    }
    if (rows) {
        if (const std::optional<std::string> fault = rows->finish()) {
            return "sheet '" + sheets[part.sheet - 1].name + "' " + *fault;
        }
    }
    return std::nullopt;
}

// Parts past this many bytes in all are unpacked on two threads.
constexpr std::uint64_t kSharedFrom = 4 << 20;

}  // namespace

void checkWorkbook(const std::string& path, const std::string& shownAs,
                   const std::vector<SheetContent>& sheets) {
    const auto incomplete = [&](const std::string& why) {
        throw QorError(shownAs + " came out incomplete: " + why + std::string(kDiskHint));
    };
    std::vector<Part> parts;
    std::optional<std::string> listFault;  // after the parts listed
    std::vector<bool> seen(sheets.size(), false);
    {
        const Unzip zip = openZip(path, shownAs);
        char rawName[512];
        for (int status = unzGoToFirstFile(zip.get()); status != UNZ_END_OF_LIST_OF_FILE;
             status = unzGoToNextFile(zip.get())) {
            unz_file_info64 info{};
            Part part;
            if (status != UNZ_OK ||
                unzGetCurrentFileInfo64(zip.get(), &info, rawName, sizeof rawName, nullptr, 0,
                                        nullptr, 0) != UNZ_OK ||
                unzGetFilePos64(zip.get(), &part.position) != UNZ_OK) {
                listFault = "its list of parts is damaged";
                break;
            }
            // A name that does not fit is cut, and then not terminated.
            part.name.assign(rawName, std::min<std::size_t>(info.size_filename, sizeof rawName));
            part.size = info.uncompressed_size;
            const std::size_t sheet = sheetPartNumber(part.name);
            if (sheet >= 1 && sheet <= sheets.size()) {
                if (seen[sheet - 1]) {
                    part.fault = "it holds sheet '" + sheets[sheet - 1].name + "' twice";
                }
                seen[sheet - 1] = true;
                part.sheet = sheet;
            }
            parts.push_back(std::move(part));
        }
    }
    // The parts are independent: two threads share them, the largest first, when they are
    // large enough to pay. Each reads the file through a handle of its own.
    std::vector<std::size_t> order(parts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return parts[a].size > parts[b].size; });
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        const Unzip zip = openZip(path, shownAs);
        std::string buffer(256 * 1024, '\0');
        for (std::size_t taken = next++; taken < order.size(); taken = next++) {
            Part& part = parts[order[taken]];
            if (part.fault) {
                continue;
            }
            part.fault = unzGoToFilePos64(zip.get(), &part.position) == UNZ_OK
                             ? faultOf(zip.get(), buffer, part, sheets)
                             : "its part '" + part.name + "' is damaged";
        }
    };
    std::uint64_t total = 0;
    for (const Part& part : parts) {
        total += part.size;
    }
    const bool shared = total >= kSharedFrom && std::thread::hardware_concurrency() > 1;
    runOnThreads(shared ? 2 : 1, [&] {
        try {
            work();
        } catch (...) {
            next = order.size();  // the other thread takes no more parts
            throw;
        }
    });
    // The first fault in the file's order, as one reading through would find it.
    for (const Part& part : parts) {
        if (part.fault) {
            incomplete(*part.fault);
        }
    }
    if (listFault) {
        incomplete(*listFault);
    }
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (!seen[i]) {
            incomplete("it lacks sheet '" + sheets[i].name + "'");
        }
    }
}

std::string readWorkbookPart(const std::string& path, const std::string& name) {
    const std::string shownAs = "The workbook '" + path + "'";
    const Unzip zip = openZip(path, shownAs);
    if (unzLocateFile(zip.get(), name.c_str(), 1) != UNZ_OK) {
        throw QorError(shownAs + " lacks " + name);
    }
    std::string content;
    std::string buffer(256 * 1024, '\0');
    if (!unpack(zip.get(), buffer, [&](std::string_view piece) { content.append(piece); })) {
        throw QorError(shownAs + " has a damaged " + name);
    }
    return content;
}

}  // namespace qor::output
