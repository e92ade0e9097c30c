#include "gui/compare/changes_table_model.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "gui/base/export_text_encoding.h"

namespace qor::gui {
namespace {

char asciiLower(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

std::string lowered(std::string bytes) {
    std::transform(bytes.begin(), bytes.end(), bytes.begin(), asciiLower);
    return bytes;
}

// `needle` is lower case already.
bool containsIgnoringCase(std::string_view haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [](char a, char b) { return asciiLower(a) == b; }) != haystack.end();
}

// The node information first, then the types in the order of the statistics table.
int typeRank(const compare::ChangeView& change) {
    static const std::array<int, scan::kElementTypeCount> ranks = [] {
        std::array<int, scan::kElementTypeCount> byType{};
        int rank = 0;
        for (const scan::ElementType type : scan::statusOrder()) {
            byType[scan::indexOf(type)] = rank++;
        }
        return byType;
    }();
    return change.type ? ranks[scan::indexOf(*change.type)] : -1;
}

// Whether `a` goes before `b` by the column's value.
bool before(int column, const compare::ChangeView& a, const compare::ChangeView& b) {
    switch (column) {
        case ChangesTableModel::kType:
            return typeRank(a) < typeRank(b);
        case ChangesTableModel::kDesignation:
            return a.designation < b.designation;
        case ChangesTableModel::kChange:
            return a.kind < b.kind;
        case ChangesTableModel::kParameter:
            return a.parameter < b.parameter;
        case ChangesTableModel::kOld:
            return a.oldValue < b.oldValue;
        default:
            return a.newValue < b.newValue;
    }
}

}  // namespace

ChangesTableModel::ChangesTableModel(const compare::ChangeList& changes, QObject* parent)
    : QAbstractTableModel(parent), changes_(changes), sorted_(changes.size()) {
    std::iota(sorted_.begin(), sorted_.end(), std::uint32_t{0});
    shown_ = sorted_;
}

int ChangesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ChangesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ChangesTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    const compare::ChangeView change = changes_[changeAt(index.row())];
    switch (index.column()) {
        case kType:
            return exportText(change.typeName());
        case kDesignation:
            return exportText(change.designation);
        case kChange:
            return exportText(compare::changeKindName(change.kind));
        case kParameter:
            return exportText(change.parameter);
        case kOld:
            return exportText(change.oldValue);
        case kNew:
            return exportText(change.newValue);
        default:
            return {};
    }
}

QVariant ChangesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const std::array<const char*, kColumnCount> kTitles{"Type",      "Designation", "Change",
                                                               "Parameter", "Old",         "New"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromLatin1(kTitles[static_cast<std::size_t>(section)]);
}

void ChangesTableModel::sort(int column, Qt::SortOrder order) {
    beginResetModel();
    std::iota(sorted_.begin(), sorted_.end(), std::uint32_t{0});
    if (column >= 0 && column < kColumnCount) {
        std::stable_sort(sorted_.begin(), sorted_.end(), [&](std::uint32_t a, std::uint32_t b) {
            return order == Qt::AscendingOrder ? before(column, changes_[a], changes_[b])
                                               : before(column, changes_[b], changes_[a]);
        });
    }
    refilter();
    endResetModel();
}

void ChangesTableModel::setFilter(ChangeFilter filter) {
    beginResetModel();
    filter_ = std::move(filter);
    // The values are the export's bytes, shown as UTF-8 or as Latin-1: the text is looked for
    // in both encodings.
    needles_.clear();
    if (!filter_.text.isEmpty()) {
        needles_.push_back(lowered(filter_.text.toStdString()));
        const QByteArray latin1 = filter_.text.toLatin1();
        std::string latin1Needle = lowered(latin1.toStdString());
        if (QString::fromLatin1(latin1) == filter_.text && latin1Needle != needles_[0]) {
            needles_.push_back(std::move(latin1Needle));
        }
    }
    refilter();
    endResetModel();
}

bool ChangesTableModel::passes(const compare::ChangeView& change) const {
    if (!filter_.allTypes && change.type != filter_.type) {
        return false;
    }
    if (filter_.kind && change.kind != *filter_.kind) {
        return false;
    }
    if (needles_.empty()) {
        return true;
    }
    return std::any_of(needles_.begin(), needles_.end(), [&](const std::string& needle) {
        return containsIgnoringCase(change.designation, needle) ||
               containsIgnoringCase(change.parameter, needle) ||
               containsIgnoringCase(change.oldValue, needle) ||
               containsIgnoringCase(change.newValue, needle);
    });
}

void ChangesTableModel::refilter() {
    shown_.clear();
    for (const std::uint32_t row : sorted_) {
        if (passes(changes_[row])) {
            shown_.push_back(row);
        }
    }
}

}  // namespace qor::gui
