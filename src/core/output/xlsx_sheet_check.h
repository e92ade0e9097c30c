#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qor::output {

// What a sheet of a workbook holds as it was written: its rows in ascending runs of consecutive
// numbers (first, last; counting from 1) and the bytes of the rows' XML.
struct SheetContent {
    std::string name;
    std::vector<std::pair<std::int64_t, std::int64_t>> rows;
    std::uint64_t dataBytes = 0;

    // Notes a row written after the ones noted; true when it is a new row.
    bool addRow(std::int64_t row);
};

// Checks the XML of a sheet read back, given in pieces of any size as it is unpacked, against
// what was written: every row number in order with none missing and none added, and the exact
// byte count between <sheetData> and </sheetData>. The workbook library ignores failed writes
// of its temporary files, so a full disk can leave a sheet with rows or bytes missing that
// still packs into a valid file.
class SheetCheck {
public:
    explicit SheetCheck(const SheetContent& expected);
    void add(std::string_view piece);
    // The first fault found, as a phrase ("lacks rows 5 to 9"); nothing when the sheet is whole.
    std::optional<std::string> finish();

private:
    enum class Part { BeforeData, Data, Empty };  // Empty: <sheetData/>

    // Looks at the tags in buffer_ up to where one may continue in the next piece.
    void scan(bool last);
    void row(std::string_view digits);
    void fault(std::string what);

    const SheetContent& expected_;
    std::string buffer_;          // the bytes not yet looked at
    std::uint64_t consumed_ = 0;  // bytes before buffer_
    Part part_ = Part::BeforeData;
    std::uint64_t dataStart_ = 0;
    std::optional<std::uint64_t> dataEnd_;  // the first </sheetData> after the last row
    std::size_t run_ = 0;                   // the run of the row expected next
    std::int64_t nextRow_ = 0;
    std::optional<std::string> fault_;
};

}  // namespace qor::output
