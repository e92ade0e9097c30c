#include "core/output/deflate_stream.h"

#include <zlib.h>
#ifdef QOR_HAVE_ISAL
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#endif

#include <new>
#include <vector>

#include "core/base/qor_error.h"

namespace qor::output {
namespace {

constexpr std::size_t kOutputBytes = 64 * 1024;
// zlib counts in 32 bits: larger pieces go in parts.
constexpr std::size_t kMaxPart = std::size_t{1} << 30;

enum class Flush { None, Piece, Stream };

}  // namespace

class DeflateStream::Engine {
public:
    virtual ~Engine() = default;
    virtual std::uint32_t crc(std::uint32_t crc, std::string_view data) const = 0;
    // Compresses `data` (less than kMaxPart bytes), handing what comes out to `sink`.
    virtual void run(std::string_view data, Flush flush, const Sink& sink) = 0;

protected:
    std::vector<unsigned char> output_ = std::vector<unsigned char>(kOutputBytes);

    void emit(std::size_t made, const Sink& sink) const {
        if (made > 0) {
            sink(std::string_view(reinterpret_cast<const char*>(output_.data()), made));
        }
    }
};

namespace {

class ZlibEngine : public DeflateStream::Engine {
public:
    ZlibEngine() {
        // Raw data (negative window bits): the zip file holds its own header and checksum.
        const int status = deflateInit2(&stream_, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        if (status == Z_MEM_ERROR) {
            throw std::bad_alloc();
        }
        if (status != Z_OK) {
            throw QorError("The compression library cannot start");
        }
    }
    ~ZlibEngine() override { deflateEnd(&stream_); }

    std::uint32_t crc(std::uint32_t crc, std::string_view data) const override {
        return static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(data.data()),
                                                static_cast<uInt>(data.size())));
    }

    void run(std::string_view data, Flush flush, const DeflateStream::Sink& sink) override {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        stream_.avail_in = static_cast<uInt>(data.size());
        // A sync flush ends on a byte boundary with an empty stored block that is not the last.
        const int mode = flush == Flush::Stream  ? Z_FINISH
                         : flush == Flush::Piece ? Z_SYNC_FLUSH
                                                 : Z_NO_FLUSH;
        do {
            stream_.next_out = output_.data();
            stream_.avail_out = static_cast<uInt>(output_.size());
            if (deflate(&stream_, mode) == Z_STREAM_ERROR) {
                throw QorError("The compression library failed");
            }
            emit(output_.size() - stream_.avail_out, sink);
        } while (stream_.avail_out == 0);
    }

private:
    z_stream stream_{};
};

#ifdef QOR_HAVE_ISAL
class IsalEngine : public DeflateStream::Engine {
public:
    IsalEngine() {
        isal_deflate_init(&stream_);
        stream_.level = 1;
        stream_.level_buf = levelBuffer_.data();
        stream_.level_buf_size = static_cast<std::uint32_t>(levelBuffer_.size());
        stream_.gzip_flag = IGZIP_DEFLATE;  // raw data, as above
    }

    std::uint32_t crc(std::uint32_t crc, std::string_view data) const override {
        return crc32_gzip_refl(crc, reinterpret_cast<const unsigned char*>(data.data()),
                               data.size());
    }

    void run(std::string_view data, Flush flush, const DeflateStream::Sink& sink) override {
        stream_.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(data.data()));
        stream_.avail_in = static_cast<std::uint32_t>(data.size());
        // A sync flush ends on a byte boundary with an empty stored block, as zlib's does.
        stream_.flush = flush == Flush::Piece ? SYNC_FLUSH : NO_FLUSH;
        stream_.end_of_stream = flush == Flush::Stream ? 1 : 0;
        for (;;) {
            stream_.next_out = output_.data();
            stream_.avail_out = static_cast<std::uint32_t>(output_.size());
            if (isal_deflate(&stream_) != COMP_OK) {
                throw QorError("The compression library failed");
            }
            emit(output_.size() - stream_.avail_out, sink);
            const bool done =
                flush == Flush::Stream
                    ? stream_.internal_state.state == ZSTATE_END
                    : stream_.avail_in == 0 && stream_.avail_out != 0 &&
                          (flush == Flush::None || stream_.internal_state.state == ZSTATE_NEW_HDR);
            if (done) {
                return;
            }
        }
    }

private:
    isal_zstream stream_{};
    std::vector<std::uint8_t> levelBuffer_ = std::vector<std::uint8_t>(ISAL_DEF_LVL1_DEFAULT);
};
#endif

}  // namespace

const std::vector<DeflateEngine>& deflateEngines() {
#ifdef QOR_HAVE_ISAL
    static const std::vector<DeflateEngine> engines{DeflateEngine::Isal, DeflateEngine::Zlib};
#else
    static const std::vector<DeflateEngine> engines{DeflateEngine::Zlib};
#endif
    return engines;
}

DeflateStream::DeflateStream(Sink sink, [[maybe_unused]] DeflateEngine engine)
    : sink_(std::move(sink)) {
#ifdef QOR_HAVE_ISAL
    if (engine == DeflateEngine::Isal) {
        engine_ = std::make_unique<IsalEngine>();
    }
#endif
    if (engine_ == nullptr) {
        engine_ = std::make_unique<ZlibEngine>();
    }
}

DeflateStream::~DeflateStream() = default;

void DeflateStream::add(std::string_view data) {
    if (finished_) {
        throw QorError("Data added to a finished compression");
    }
    size_ += data.size();
    while (!data.empty()) {
        const std::string_view part = data.substr(0, kMaxPart);
        crc_ = engine_->crc(crc_, part);
        engine_->run(part, Flush::None, sink_);
        data.remove_prefix(part.size());
    }
}

void DeflateStream::finish(bool last) {
    if (!finished_) {
        finished_ = true;
        engine_->run({}, last ? Flush::Stream : Flush::Piece, sink_);
    }
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

}  // namespace qor::output
