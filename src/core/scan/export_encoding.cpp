#include "core/scan/export_encoding.h"

#include "core/scan/export_file_reader.h"

namespace qor::scan {

EncodingEvidence readEncodingEvidence(const std::string& path, std::size_t limit) {
    EncodingEvidence evidence;
    if (path.empty()) {
        return evidence;
    }
    constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    ExportFileReader reader(path);
    std::string_view block;
    for (std::size_t read = 0; read < limit && reader.nextBlock(kBlockBytes, block);
         read += block.size()) {
        evidence.add(block);
    }
    return evidence;
}

}  // namespace qor::scan
