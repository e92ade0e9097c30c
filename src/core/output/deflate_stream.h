#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qor::output {

// The deflate implementations built in: zlib's always, and ISA-L's where the build found it,
// several times faster at its fastest level (deflateEngines() lists it first then).
enum class DeflateEngine { Zlib, Isal };
const std::vector<DeflateEngine>& deflateEngines();

// Compresses bytes as raw deflate data at the fastest level: a sheet is mostly markup that packs
// almost as well that way, and at the usual level its compression cost more than everything
// else of a workbook. A stream may be made of pieces, each compressed by a DeflateStream of its
// own: every piece but the last ends on a byte boundary without ending the stream, so the pieces'
// bytes laid end to end are one stream, whose checksum combineCrc gives.
class DeflateStream {
public:
    // Takes the compressed bytes, in order.
    using Sink = std::function<void(std::string_view)>;

    explicit DeflateStream(Sink sink, DeflateEngine engine = deflateEngines().front());
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    void add(std::string_view data);
    // Ends the piece: with `last` the stream ends there, otherwise another piece may follow.
    // Nothing may be added after.
    void finish(bool last);

    // The bytes added so far: their count and CRC-32.
    std::uint64_t size() const { return size_; }
    std::uint32_t crc() const { return crc_; }

    class Engine;

private:
    Sink sink_;
    std::unique_ptr<Engine> engine_;
    bool finished_ = false;
    std::uint64_t size_ = 0;
    std::uint32_t crc_ = 0;
};

// The CRC-32 of two pieces of data one after the other, from theirs and the second's size.
std::uint32_t combineCrc(std::uint32_t first, std::uint32_t second, std::uint64_t secondSize);

}  // namespace qor::output
