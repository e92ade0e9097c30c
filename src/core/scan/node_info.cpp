#include "core/scan/node_info.h"

#include <algorithm>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/platform/path_names.h"
#include "core/scan/byte_search.h"
#include "core/scan/export_file_reader.h"
#include "core/scan/text_rules.h"

namespace qor::scan {
namespace {

// The value of `key` on the first line holding it, at or after the first marker line
// (a line that matches the header rule for the two marker tokens).
std::string readMarkedValue(const std::string& path, std::string_view firstMarker,
                            std::string_view secondMarker, std::string_view key, std::size_t width,
                            TextEncoding encoding) {
    if (path.empty()) {
        return {};
    }
    ExportFileReader reader(path);
    std::string_view line;
    bool markerSeen = false;
    while (reader.nextLine(line)) {
        if (!markerSeen) {
            if (!headerDesignation(line, firstMarker, secondMarker)) {
                continue;
            }
            markerSeen = true;
        }
        if (const auto value = parameterValue(line, key, width, encoding)) {
            return std::string(*value);
        }
    }
    return {};
}

// Blocks small enough to stay in the cache while every type searches them.
constexpr std::size_t kBlockBytes = 256 * 1024;

// Calls `onHeader` with each line of `block` that is a header of `info`'s type, each line once,
// until it returns false; returns false when it was stopped.
template <typename OnHeader>
bool forEachHeader(std::string_view block, const ElementTypeInfo& info, OnHeader onHeader) {
    std::size_t from = 0;
    std::size_t hit = 0;
    while ((hit = findNoCase(block, info.kindToken, from)) != kNotFound) {
        std::size_t lineStart = hit;
        while (lineStart > 0 && block[lineStart - 1] != '\r' && block[lineStart - 1] != '\n') {
            --lineStart;
        }
        const std::size_t lineEnd = findLineEnd(block.data(), hit, block.size());
        const std::string_view line = block.substr(lineStart, lineEnd - lineStart);
        if (headerDesignation(line, info.typeToken, info.kindToken) && !onHeader(line)) {
            return false;
        }
        from = lineEnd + 1;
    }
    return true;
}

}  // namespace

std::string readNodeNumber(const std::string& path, TextEncoding encoding) {
    return readMarkedValue(path, "LAN1", "CS513", ":NODE", 30, encoding);
}

std::string readNodeDescription(const std::string& path, TextEncoding encoding) {
    return readMarkedValue(path, "AC450_1", "AC450", ":DESCR", 45, encoding);
}

std::string readGenerationDate(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    try {
        ExportFileReader reader(path);
        std::string_view line;
        while (reader.nextLineContaining("ONB", line)) {
            const std::size_t p = findNoCase(line, "ONB");
            if (p == kNotFound) {
                continue;
            }
            const std::string_view raw = trimSpaces(takeChars(line, p + 9, 20));
            std::string date;
            for (const char c : raw) {
                if (c == '/') {
                    date += ", ";
                } else {
                    date += c;
                }
            }
            return date;
        }
    } catch (const QorError&) {
        // The date is a nicety: an unreadable file simply has none.
    }
    return {};
}

NodeInfo readNodeInfo(const std::string& path, NodeInfo previous, UserInterface& ui,
                      TextEncoding encoding) {
    NodeInfo info = std::move(previous);
    runStep(ui, "modMain", "GetNodeInfo",
            [&] { info.nodeNumber = readNodeNumber(path, encoding); });
    runStep(ui, "modMain", "GetNodeInfo",
            [&] { info.nodeDescription = readNodeDescription(path, encoding); });
    info.generationDate = readGenerationDate(path);
    info.notAnExport = false;
    if (!path.empty() && info.nodeNumber.empty() && info.nodeDescription.empty()) {
        try {
            info.notAnExport = !holdsElementHeader(path);
        } catch (const QorError&) {
            // The passes above have said why the file cannot be read; nothing is claimed.
        }
    }
    return info;
}

bool holdsElementHeader(const std::string& path) {
    // Random bytes hold a line that passes the header rule a few times in every hundred
    // megabytes; one that is also text (no control character but tab) practically never.
    const auto binary = [](std::string_view line) {
        return std::any_of(line.begin(), line.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return (byte < 0x20 && byte != '\t') || byte == 0x7f;
        });
    };
    ExportFileReader reader(path);
    std::string_view block;
    while (reader.nextBlock(kBlockBytes, block)) {
        for (const ElementTypeInfo& info : elementTypes()) {
            if (!forEachHeader(block, info, binary)) {
                return true;  // a header that is text
            }
        }
    }
    return false;
}

std::string notAnExportText(const std::string& path, RefusedWork work) {
    switch (work) {
        case RefusedWork::Comparison:
            return fillIn(translate("NodeInfo",
                                    "'%1' is not a node export: it holds neither node information "
                                    "nor any element. Nothing was compared."),
                          {platform::shownPath(path)});
        case RefusedWork::Elements:
            return fillIn(translate("NodeInfo",
                                    "'%1' is not a node export: it holds neither node information "
                                    "nor any element. It has no elements to list."),
                          {platform::shownPath(path)});
        case RefusedWork::Scan:
            break;
    }
    return fillIn(translate("NodeInfo",
                            "'%1' is not a node export: it holds neither node information nor "
                            "any element. Nothing was scanned."),
                  {platform::shownPath(path)});
}

std::vector<long long> countElementsOfTypes(ExportScan& source,
                                            const std::vector<ElementType>& types) {
    ExportFileReader reader(source);
    std::vector<long long> counts(types.size(), 0);
    std::string_view block;
    while (reader.nextBlock(kBlockBytes, block)) {
        for (std::size_t i = 0; i < types.size(); ++i) {
            forEachHeader(block, elementType(types[i]), [&](std::string_view) {
                ++counts[i];
                return true;
            });
        }
    }
    return counts;
}

}  // namespace qor::scan
