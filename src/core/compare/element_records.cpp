#include "core/compare/element_records.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/scan/element_row.h"

namespace qor::compare {
namespace {

// The first slot of the parameter boxes in the rows a comparison reads.
constexpr std::size_t kFirstBoxSlot = 2;
// A record starts with the size of its fields, so that records can be stepped over unread.
constexpr std::size_t kSizeBytes = 4;

// Field lengths go in 7-bit groups, low group first: most take one byte.
std::size_t lengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    for (; length >= 0x80; length >>= 7) {
        ++bytes;
    }
    return bytes;
}

char* putField(char* out, std::string_view field) {
    std::size_t length = field.size();
    for (; length >= 0x80; length >>= 7) {
        *out++ = static_cast<char>((length & 0x7F) | 0x80);
    }
    *out++ = static_cast<char>(length);
    // std::copy, not memcpy: an empty field may have no data pointer at all.
    return std::copy(field.begin(), field.end(), out);
}

}  // namespace

std::string_view readField(std::string_view bytes, std::size_t& at) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) {
            break;
        }
    }
    const std::string_view field = bytes.substr(at, length);
    at += length;
    return field;
}

void RecordFormatter::format(const scan::ElementRowView& row, std::string& out) const {
    std::array<std::string_view, scan::kMaxParameterBoxes + 2> fields;
    std::size_t count = 0;
    fields[count++] = row[scan::kDesignationSlot];
    for (std::size_t box = 0; box < boxes_; ++box) {
        fields[count++] = row[kFirstBoxSlot + box];
    }
    fields[count++] = row[scan::kOtherLinesSlot];
    std::size_t size = 0;
    for (std::size_t i = 0; i < count; ++i) {
        size += lengthBytes(fields[i].size()) + fields[i].size();
    }
    const std::size_t start = out.size();
    out.resize(start + kSizeBytes + size);
    char* at = out.data() + start;
    const auto size32 = static_cast<std::uint32_t>(size);
    for (std::size_t i = 0; i < kSizeBytes; ++i) {
        *at++ = static_cast<char>(size32 >> (8 * i));
    }
    for (std::size_t i = 0; i < count; ++i) {
        at = putField(at, fields[i]);
    }
}

std::size_t recordSize(std::string_view bytes, std::size_t at) {
    std::uint32_t size = 0;
    for (std::size_t i = 0; i < kSizeBytes; ++i) {
        size |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return kSizeBytes + size;
}

ElementRecord readRecord(std::string_view bytes, std::size_t& at, std::size_t boxes) {
    at += kSizeBytes;
    ElementRecord record;
    record.designation = readField(bytes, at);
    for (std::size_t box = 0; box < boxes; ++box) {
        record.values[box] = readField(bytes, at);
    }
    record.otherLines = readField(bytes, at);
    return record;
}

std::string_view readDesignation(std::string_view bytes, std::size_t at) {
    at += kSizeBytes;
    return readField(bytes, at);
}

RecordPlan::RecordPlan(const CompareSelection& selection) {
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        formatters_[scan::indexOf(info.type)] = RecordFormatter(info.parameters.size());
        if (selection.of(info.type).compared) {
            types_.push_back(info.type);
        }
    }
}

std::vector<scan::TypePlan> RecordPlan::parserPlan() const {
    std::vector<scan::TypePlan> plan;
    for (const scan::ElementType type : types_) {
        const scan::ElementTypeInfo& info = scan::elementType(type);
        scan::TypePlan typePlan{&info, {}, false, &formatters_[scan::indexOf(type)], true};
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            typePlan.wanted.push_back(
                {":" + std::string(info.parameters[box]), kFirstBoxSlot + box});
        }
        plan.push_back(std::move(typePlan));
    }
    return plan;
}

}  // namespace qor::compare
