#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/output/batch_strand.h"
#include "core/output/deflate_stream.h"

struct lxw_format;

namespace qor::output {

// The rows of a sheet as the workbook library writes them when it keeps one row in memory, byte
// for byte, at a fraction of the cost: its printf-formatted cells, an allocation per cell and
// deflate at the usual level made up most of a workbook's time. The XML is compressed as it
// comes, on a thread of its own, into a temporary file: a piece of a deflate stream (see
// DeflateStream) that XlsxWorkbook splices into the library's sheet when it saves the file.
//
// Rows and columns count from 1, and rows come in ascending order; a cell written again replaces
// the earlier one. As in the library, a row is written out when the next one starts or at
// finish(): that is when each format of its cells gets its number in the file, numbered in
// order of first use.
class SheetRows {
public:
    // The temporary file at `path` is made with the first row.
    explicit SheetRows(std::string path);
    ~SheetRows();
    SheetRows(const SheetRows&) = delete;
    SheetRows& operator=(const SheetRows&) = delete;

    // A text (not empty) as an inline string; a null format for none.
    void text(std::int64_t row, int column, std::string_view text, lxw_format* format);
    void number(std::int64_t row, int column, double value, lxw_format* format);
    // An empty cell that shows its format.
    void blank(std::int64_t row, int column, lxw_format* format);
    // Writes out the open row and ends the compressed piece. Nothing may be written after.
    void finish();

    // The row cells go to now; 0 before the first.
    std::int64_t openRow() const { return openRow_; }
    bool empty() const { return openRow_ == 0; }
    std::int64_t firstRow() const { return firstRow_; }
    int firstColumn() const { return firstColumn_; }
    int lastColumn() const { return lastColumn_; }
    // The XML of the rows written out: its size and CRC-32.
    std::uint64_t size() const;
    std::uint32_t crc() const;
    // After finish: the compressed rows, from the start of the file, and their size.
    std::FILE* file() const { return file_; }
    std::uint64_t compressedSize() const { return compressedSize_; }
    // The error number of the first failed write to the temporary file.
    std::optional<int> failure() const;

private:
    enum class Kind : std::uint8_t { Text, Number, Blank };
    struct Cell {
        int column;
        Kind kind;
        lxw_format* format;
        double number;
        std::size_t textStart;
        std::size_t textSize;
    };

    void add(std::int64_t row, int column, Kind kind, lxw_format* format, double number,
             std::string_view text);
    void writeOpenRow();
    // Room for `bytes` more of XML, at the end of what is there.
    char* room(std::size_t bytes);
    void compress();
    void store(std::string_view compressed);

    const std::string path_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<DeflateStream> stream_;
    std::int64_t openRow_ = 0;
    std::int64_t firstRow_ = 0;
    int firstColumn_ = 0;
    int lastColumn_ = 0;
    std::vector<Cell> cells_;      // of the open row
    std::string texts_;            // of the open row's cells
    std::unique_ptr<char[]> xml_;  // written out, not yet compressed
    std::size_t xmlSize_ = 0;
    std::size_t xmlCapacity_ = 0;
    std::uint64_t compressedSize_ = 0;
    static constexpr int kNoFailure = -1;
    std::atomic<int> failure_{kNoFailure};  // written by the compressing thread too
    std::exception_ptr compressorFailure_;
    std::unique_ptr<BatchStrand> compressor_;  // last: stops before what it uses goes
};

}  // namespace qor::output
