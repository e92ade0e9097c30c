#include "core/output/deflate_stream.h"

#include <zlib.h>

#include <limits>
#include <new>
#include <string>
#include <vector>

#include "core/base/qor_error.h"

namespace qor::output {
namespace {

constexpr int kLevel = 1;
constexpr std::size_t kOutputBytes = 256 * 1024;
// zlib counts in 32 bits: larger pieces go in parts.
constexpr std::size_t kMaxPart = std::size_t{1} << 30;

}  // namespace

struct DeflateStream::State {
    z_stream stream{};
    std::vector<unsigned char> output = std::vector<unsigned char>(kOutputBytes);
    bool finished = false;
};

DeflateStream::DeflateStream(Sink sink)
    : sink_(std::move(sink)), state_(std::make_unique<State>()) {
    // Raw data (negative window bits): the zip file holds its own header and checksum.
    const int status =
        deflateInit2(&state_->stream, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (status == Z_MEM_ERROR) {
        throw std::bad_alloc();
    }
    if (status != Z_OK) {
        throw QorError("The compression library cannot start");
    }
}

DeflateStream::~DeflateStream() {
    deflateEnd(&state_->stream);
}

void DeflateStream::run(int flush) {
    z_stream& stream = state_->stream;
    do {
        stream.next_out = state_->output.data();
        stream.avail_out = static_cast<uInt>(state_->output.size());
        const int status = deflate(&stream, flush);
        if (status == Z_STREAM_ERROR) {
            throw QorError("The compression library failed");
        }
        const std::size_t made = state_->output.size() - stream.avail_out;
        if (made > 0) {
            sink_(std::string_view(reinterpret_cast<const char*>(state_->output.data()), made));
        }
    } while (stream.avail_out == 0);
}

void DeflateStream::add(std::string_view data) {
    if (state_->finished) {
        throw QorError("Data added to a finished compression");
    }
    size_ += data.size();
    while (!data.empty()) {
        const std::string_view part = data.substr(0, kMaxPart);
        crc_ = static_cast<std::uint32_t>(crc32(crc_, reinterpret_cast<const Bytef*>(part.data()),
                                                static_cast<uInt>(part.size())));
        state_->stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(part.data()));
        state_->stream.avail_in = static_cast<uInt>(part.size());
        run(Z_NO_FLUSH);
        data.remove_prefix(part.size());
    }
}

void DeflateStream::finish(bool last) {
    if (state_->finished) {
        return;
    }
    state_->finished = true;
    // A sync flush ends on a byte boundary with an empty stored block that is not the last.
    run(last ? Z_FINISH : Z_SYNC_FLUSH);
}

std::uint32_t combineCrc(std::uint32_t first, std::uint32_t second, std::uint64_t secondSize) {
    // Combining shifts the first checksum over the second's length, which may go in steps: an
    // offset is 32 bits on some systems.
    uLong crc = first;
    for (; secondSize > kMaxPart; secondSize -= kMaxPart) {
        crc = crc32_combine(crc, 0, static_cast<z_off_t>(kMaxPart));
    }
    return static_cast<std::uint32_t>(crc32_combine(crc, second, static_cast<z_off_t>(secondSize)));
}

std::string deflatePiece(std::string_view data, bool last) {
    std::string packed;
    DeflateStream stream([&packed](std::string_view bytes) { packed.append(bytes); });
    stream.add(data);
    stream.finish(last);
    return packed;
}

}  // namespace qor::output
