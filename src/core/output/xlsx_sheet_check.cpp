#include "core/output/xlsx_sheet_check.h"

#include <algorithm>
#include <cstring>

#include "core/platform/file_system.h"

namespace qor::output {
namespace {

constexpr std::string_view kRow = "<row r=\"";
constexpr std::string_view kDataStart = "<sheetData>";
constexpr std::string_view kDataEmpty = "<sheetData/>";
constexpr std::string_view kDataEnd = "</sheetData>";
constexpr std::size_t kMaxDigits = 18;
// Every tag looked at, with its row number, fits in this many bytes from its '<'.
constexpr std::size_t kLookahead = kRow.size() + kMaxDigits + 2;

std::size_t find(std::string_view data, std::size_t from, std::string_view needle) {
    return platform::findBytes(data, from, needle);
}

std::string rangeText(std::int64_t first, std::int64_t last) {
    return first == last ? "row " + std::to_string(first)
                         : "rows " + std::to_string(first) + " to " + std::to_string(last);
}

}  // namespace

bool SheetContent::addRow(std::int64_t row) {
    if (!rows.empty() && row <= rows.back().second) {
        return false;
    }
    if (!rows.empty() && row == rows.back().second + 1) {
        rows.back().second = row;
    } else {
        rows.emplace_back(row, row);
    }
    return true;
}

SheetCheck::SheetCheck(const SheetContent& expected)
    : expected_(expected), nextRow_(expected.rows.empty() ? 0 : expected.rows.front().first) {}

void SheetCheck::add(std::string_view piece) {
    if (fault_ || part_ == Part::Empty) {
        return;  // an empty sheet has nothing more to look at
    }
    buffer_.append(piece);
    scan(false);
}

// Searching for whole tags lets the scan skip through the cells: it costs a fraction of
// unpacking them.
void SheetCheck::scan(bool last) {
    const std::string_view data = buffer_;
    // A tag that starts past `whole` may go on in the next piece.
    const std::size_t whole = last ? data.size() : data.size() - std::min(data.size(), kLookahead);
    std::size_t at = 0;
    while (!fault_ && part_ == Part::BeforeData) {
        const std::size_t tag = find(data, at, kDataStart.substr(0, kDataStart.size() - 1));
        if (tag >= whole) {
            at = std::max(at, whole);
            break;
        }
        const std::string_view rest = data.substr(tag);
        if (!rest.starts_with(kDataStart) && !rest.starts_with(kDataEmpty)) {
            fault("is damaged");
        }
        part_ = rest.starts_with(kDataStart) ? Part::Data : Part::Empty;
        dataStart_ = consumed_ + tag + kDataStart.size();
        at = tag + 1;
    }
    while (!fault_ && part_ == Part::Data) {
        const std::size_t tag = find(data, at, kRow);
        if (tag < whole) {
            dataEnd_.reset();  // the rows go on past an end seen before
            const std::string_view number = data.substr(tag + kRow.size(), kMaxDigits + 1);
            row(number.substr(0, number.find('"')));
            at = tag + 1;
            continue;
        }
        // No row starts in what is left: the rows may end there.
        if (!dataEnd_) {
            if (const std::size_t end = find(data, at, kDataEnd); end < whole) {
                dataEnd_ = consumed_ + end;
            }
        }
        at = std::max(at, whole);
        break;
    }
    consumed_ += at;
    buffer_.erase(0, at);
}

void SheetCheck::row(std::string_view digits) {
    if (part_ != Part::Data || digits.empty() || digits.size() > kMaxDigits ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        fault("is damaged");
        return;
    }
    std::int64_t number = 0;
    for (const char c : digits) {
        number = number * 10 + (c - '0');
    }
    if (run_ >= expected_.rows.size() || number < nextRow_) {
        fault("holds row " + std::to_string(number) + " out of place");
    } else if (number > nextRow_) {
        fault("lacks " + rangeText(nextRow_, std::min(number - 1, expected_.rows[run_].second)));
    } else if (nextRow_ < expected_.rows[run_].second) {
        ++nextRow_;
    } else if (++run_ < expected_.rows.size()) {
        nextRow_ = expected_.rows[run_].first;
    }
}

void SheetCheck::fault(std::string what) {
    if (!fault_) {
        fault_ = std::move(what);
    }
}

std::optional<std::string> SheetCheck::finish() {
    scan(true);
    if (!fault_ && (part_ == Part::BeforeData || (part_ == Part::Data && !dataEnd_))) {
        fault("is cut short");
    }
    const std::uint64_t dataBytes = dataEnd_ ? *dataEnd_ - dataStart_ : 0;
    if (!fault_ && run_ < expected_.rows.size()) {
        fault("lacks " + rangeText(nextRow_, expected_.rows.back().second));
    }
    if (!fault_ && dataBytes != expected_.dataBytes) {
        fault("holds " + std::to_string(dataBytes) + " of the " +
              std::to_string(expected_.dataBytes) + " bytes of its rows");
    }
    return fault_;
}

}  // namespace qor::output
