#include "core/output/sheet_rows.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"

namespace qor::output {
namespace {

// Written out rows are compressed in pieces of about this size.
constexpr std::size_t kCompressAt = 128 * 1024;
// A cell's XML beside its text: the tags, reference, style and number.
constexpr std::size_t kCellMarkup = 128;
// The most one byte of a text becomes: "_x001F_".
constexpr std::size_t kMaxEscapedByte = 7;

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

char* putDecimal(char* at, std::uint64_t value) {
    char digits[20];
    char* end = digits + sizeof digits;
    char* start = end;
    do {
        *--start = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return put(at, std::string_view(start, static_cast<std::size_t>(end - start)));
}

// "B7": the column's letters and the row's number.
char* putReference(char* at, int column, std::int64_t row) {
    char letters[4];
    char* start = letters + sizeof letters;
    for (int rest = column; rest > 0; rest = (rest - 1) / 26) {
        *--start = static_cast<char>('A' + (rest - 1) % 26);
    }
    at = put(at,
             std::string_view(start, static_cast<std::size_t>(letters + sizeof letters - start)));
    return putDecimal(at, static_cast<std::uint64_t>(row));
}

// `<c r="B7" s="3"`: the style only when the format has a number other than 0.
char* putCellStart(char* at, int column, std::int64_t row, lxw_format* format) {
    at = put(at, "<c r=\"");
    at = putReference(at, column, row);
    if (const int style = format != nullptr ? lxw_format_get_xf_index(format) : 0; style != 0) {
        at = put(at, "\" s=\"");
        at = putDecimal(at, static_cast<std::uint64_t>(style));
    }
    return put(at, "\"");
}

// A number as printf's "%.16G" shows it in the C locale. Whole numbers, nearly all of an
// export's, need no conversion: below 10^16 they show every digit.
char* putNumber(char* at, double value) {
    if (std::abs(value) < 1e16 && value == std::trunc(value)) {
        if (std::signbit(value)) {
            *at++ = '-';
        }
        return putDecimal(at, static_cast<std::uint64_t>(std::abs(value)));
    }
    // The conversion with a precision is printf's "%.16g", exactly.
    char* const start = at;
    at = std::to_chars(at, at + 32, value, std::chars_format::general, 16).ptr;
    std::transform(start, at, start, [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return at;
}

// What a text becomes in the file: control characters (but tab and line feed) as "_xHHHH_",
// then the markup characters as entities.
char* putText(char* at, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && c != '&' && c != '<' && c != '>') {
            *at++ = c;
        } else if (c == '&') {
            at = put(at, "&amp;");
        } else if (c == '<') {
            at = put(at, "&lt;");
        } else if (c == '>') {
            at = put(at, "&gt;");
        } else if (c == '\t' || c == '\n') {
            *at++ = c;
        } else {
            at = put(at, "_x00");
            *at++ = kHex[byte >> 4];
            *at++ = kHex[byte & 0xF];
            *at++ = '_';
        }
    }
    return at;
}

// The white space a text may start or end with once written: the other control characters
// are written as "_xHHHH_".
bool isKeptSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

SheetRows::SheetRows(std::string path) : path_(std::move(path)) {}

SheetRows::~SheetRows() {
    compressor_.reset();  // it may still be writing to the file
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

std::uint64_t SheetRows::size() const {
    return stream_ != nullptr ? stream_->size() : 0;
}

std::uint32_t SheetRows::crc() const {
    return stream_ != nullptr ? stream_->crc() : 0;
}

std::optional<int> SheetRows::failure() const {
    const int failure = failure_;
    return failure != kNoFailure ? std::optional<int>(failure) : std::nullopt;
}

void SheetRows::text(std::int64_t row, int column, std::string_view text, lxw_format* format) {
    // The library takes the text up to a NUL byte.
    text = text.substr(0, std::min(text.size(), text.find('\0')));
    if (text.empty()) {
        blank(row, column, format);
        return;
    }
    add(row, column, Kind::Text, format, 0, text);
}

void SheetRows::number(std::int64_t row, int column, double value, lxw_format* format) {
    add(row, column, Kind::Number, format, value, {});
}

void SheetRows::blank(std::int64_t row, int column, lxw_format* format) {
    if (format != nullptr) {  // as in the library, an empty cell without a format is nothing
        add(row, column, Kind::Blank, format, 0, {});
    }
}

void SheetRows::add(std::int64_t row, int column, Kind kind, lxw_format* format, double number,
                    std::string_view text) {
    if (row < openRow_) {
        throw QorError("A sheet's rows go in ascending order");
    }
    if (row > openRow_) {
        writeOpenRow();
        if (openRow_ == 0) {
            errno = 0;
            file_ = platform::openFile(path_, "w+b");
            if (file_ == nullptr) {
                failure_ = errno;
            }
            stream_ = std::make_unique<DeflateStream>(
                [this](std::string_view compressed) { store(compressed); });
            compressor_ = std::make_unique<BatchStrand>([this](std::string_view xml) {
                if (failure_ == kNoFailure) {
                    stream_->add(xml);
                }
            });
            firstRow_ = row;
            firstColumn_ = column;
        }
        openRow_ = row;
    }
    firstColumn_ = std::min(firstColumn_, column);
    lastColumn_ = std::max(lastColumn_, column);
    cells_.push_back(Cell{column, kind, format, number, texts_.size(), text.size()});
    texts_.append(text);
}

char* SheetRows::room(std::size_t bytes) {
    if (xmlSize_ + bytes > xmlCapacity_) {
        const std::size_t capacity = std::max(kCompressAt + (kCompressAt >> 2), xmlSize_ + bytes);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (xmlSize_ > 0) {
            std::memcpy(grown.get(), xml_.get(), xmlSize_);
        }
        xml_ = std::move(grown);
        xmlCapacity_ = capacity;
    }
    return xml_.get() + xmlSize_;
}

void SheetRows::writeOpenRow() {
    if (cells_.empty()) {
        return;
    }
    // Cells in column order, a cell written again in its last form. They nearly always come so.
    const auto byColumn = [](const Cell& a, const Cell& b) { return a.column < b.column; };
    if (std::adjacent_find(cells_.begin(), cells_.end(), [](const Cell& a, const Cell& b) {
            return a.column >= b.column;
        }) != cells_.end()) {
        std::stable_sort(cells_.begin(), cells_.end(), byColumn);
        const auto last =
            std::unique(cells_.rbegin(), cells_.rend(),
                        [](const Cell& a, const Cell& b) { return a.column == b.column; });
        cells_.erase(cells_.begin(), last.base());
    }
    char* at = room(kCellMarkup);
    at = put(at, "<row r=\"");
    at = putDecimal(at, static_cast<std::uint64_t>(openRow_));
    at = put(at, "\">");
    xmlSize_ = static_cast<std::size_t>(at - xml_.get());
    for (const Cell& cell : cells_) {
        const std::string_view text(texts_.data() + cell.textStart, cell.textSize);
        at = room(kCellMarkup + kMaxEscapedByte * text.size());
        at = putCellStart(at, cell.column, openRow_, cell.format);
        switch (cell.kind) {
            case Kind::Blank:
                at = put(at, "/>");
                break;
            case Kind::Number:
                at = put(at, "><v>");
                at = putNumber(at, cell.number);
                at = put(at, "</v></c>");
                break;
            case Kind::Text:
                at = put(at, isKeptSpace(text.front()) || isKeptSpace(text.back())
                                 ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                                 : " t=\"inlineStr\"><is><t>");
                at = putText(at, text);
                at = put(at, "</t></is></c>");
                break;
        }
        xmlSize_ = static_cast<std::size_t>(at - xml_.get());
    }
    at = room(kCellMarkup);
    at = put(at, "</row>");
    xmlSize_ = static_cast<std::size_t>(at - xml_.get());
    cells_.clear();
    texts_.clear();
    if (xmlSize_ >= kCompressAt) {
        compress();
    }
}

void SheetRows::compress() {
    if (compressor_ != nullptr && failure_ == kNoFailure && compressorFailure_ == nullptr &&
        xmlSize_ > 0) {
        // A compression that failed (out of memory) fails the save, not each cell after it.
        try {
            compressor_->push(std::string_view(xml_.get(), xmlSize_));
        } catch (...) {
            compressorFailure_ = std::current_exception();
        }
    }
    xmlSize_ = 0;
}

// On the compressing thread, or after it stopped.
void SheetRows::store(std::string_view compressed) {
    if (failure_ != kNoFailure) {
        return;
    }
    errno = 0;
    if (std::fwrite(compressed.data(), 1, compressed.size(), file_) != compressed.size()) {
        failure_ = errno;
    }
    compressedSize_ += compressed.size();
}

void SheetRows::finish() {
    writeOpenRow();
    compress();
    if (compressor_ == nullptr) {
        return;
    }
    if (compressorFailure_ != nullptr) {
        std::rethrow_exception(compressorFailure_);
    }
    compressor_->drain();
    if (failure_ != kNoFailure) {
        return;
    }
    stream_->finish(false);
    errno = 0;
    if (failure_ == kNoFailure && (std::fflush(file_) != 0 || std::ferror(file_) != 0)) {
        failure_ = errno;
    }
}

}  // namespace qor::output
