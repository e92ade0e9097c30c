#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/scan/element_parser.h"
#include "core/scan/export_scan.h"

namespace qor::scan {

struct PassSettings {
    std::size_t threads = 1;  // parsing threads; 1 parses on the calling thread
    std::size_t chunkBytes = std::size_t{1} << 20;
};

// Receives the chunks' results in file order, on the calling thread, with how far into the file
// (of `fileSize` bytes) they reach. It may throw to stop the pass.
using ChunkDelivery =
    std::function<void(ChunkResult& result, std::uint64_t reached, std::uint64_t fileSize)>;

// Reads the export of `scan` once, front to back, parses its chunks on `settings.threads`
// threads and hands their results over in file order: the same results, byte for byte, with
// any number of threads and any chunk size. Each result also tells what its chunk's bytes say
// about the export's encoding, learnt on the parsing threads. Throws QorError when the file cannot
// be read or changes; rethrows what a delivery or a parsing thread throws, after every thread has
// stopped.
void readExportOnce(ExportScan& scan, const ElementParser& parser, const PassSettings& settings,
                    const ChunkDelivery& deliver);

// The number of threads a scan uses unless told otherwise: one per processor.
std::size_t defaultScanThreads();

}  // namespace qor::scan
