#include "core/scan/line_ceiling.h"

#include <algorithm>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/scan/byte_search.h"

namespace qor::scan {
namespace {

std::string sizeText(std::size_t bytes) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    return bytes % kMiB == 0 ? std::to_string(bytes / kMiB) + " MiB"
                             : std::to_string(bytes) + " bytes";
}

}  // namespace

long long cutLongLines(std::string& text, std::size_t ceiling) {
    long long cut = 0;
    std::size_t kept = 0;  // text before this position is final
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = findLineEnd(text.data(), start, text.size());
        const std::size_t length = std::min(end - start, ceiling);
        cut += end - start > ceiling ? 1 : 0;
        const std::size_t next = end < text.size() ? end + 1 : end;  // the terminator stays
        // Moved forward over what was cut before: the target never lies after the source.
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(start),
                  text.begin() + static_cast<std::ptrdiff_t>(start + length),
                  text.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += length;
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(end),
                  text.begin() + static_cast<std::ptrdiff_t>(next),
                  text.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += next - end;
        start = next;
    }
    text.resize(kept);
    return cut;
}

void reportCutLines(UserInterface& ui, const std::string& path, long long count,
                    std::size_t ceiling) {
    if (count <= 0) {
        return;
    }
    const std::string limit = sizeText(ceiling);
    const std::string text =
        count == 1
            ? fillIn(translate("ExportFile",
                               "1 line of '%1' is longer than %2: only its first %2 was read."),
                     {path, limit})
            : fillIn(translate("ExportFile",
                               "%1 lines of '%2' are longer than %3: only the first "
                               "%3 of each was read."),
                     {std::to_string(count), path, limit});
    ui.inform(Message{std::string(kApplicationTitle), text, MessageIcon::Information});
}

}  // namespace qor::scan
