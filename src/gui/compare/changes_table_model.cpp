#include "gui/compare/changes_table_model.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "core/base/ascii.h"
#include "gui/base/export_text_encoding.h"
#include "gui/compare/sorted_rows.h"

namespace qor::gui {
namespace {

std::string lowered(std::string bytes) {
    std::transform(bytes.begin(), bytes.end(), bytes.begin(), foldAscii);
    return bytes;
}

// `needle` is lower case already.
bool containsIgnoringCase(std::string_view haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [](char a, char b) { return foldAscii(a) == b; }) != haystack.end();
}

// The bytes a column sorts by: the values, or the type's rank (the node information first,
// then the order of the statistics table) and the kind as one byte.
std::string_view sortKey(int column, const compare::ChangeView& change) {
    static const std::array<char, 1 + scan::kElementTypeCount> ranks = [] {
        std::array<char, 1 + scan::kElementTypeCount> byType{};
        char rank = 1;
        for (const scan::ElementType type : scan::statusOrder()) {
            byType[1 + scan::indexOf(type)] = rank++;
        }
        return byType;
    }();
    static constexpr std::array<char, 3> kKinds = {0, 1, 2};
    switch (column) {
        case ChangesTableModel::kType:
            return {&ranks[change.type ? 1 + scan::indexOf(*change.type) : 0], 1};
        case ChangesTableModel::kDesignation:
            return change.designation;
        case ChangesTableModel::kChange:
            return {&kKinds[static_cast<std::size_t>(change.kind)], 1};
        case ChangesTableModel::kParameter:
            return change.parameter;
        case ChangesTableModel::kOld:
            return change.oldValue;
        default:
            return change.newValue;
    }
}

}  // namespace

ChangesTableModel::ChangesTableModel(const compare::ChangeList& changes, ReadFailed readFailed,
                                     QObject* parent, const ExportEncoding& oldEncoding,
                                     const ExportEncoding& newEncoding)
    : QAbstractTableModel(parent),
      changes_(changes),
      oldEncoding_(oldEncoding),
      newEncoding_(newEncoding),
      readFailed_(std::move(readFailed)),
      reader_(changes),
      sorted_(changes.size()) {
    std::iota(sorted_.begin(), sorted_.end(), std::uint32_t{0});
    shown_ = sorted_;
}

int ChangesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ChangesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

void ChangesTableModel::failed(const QorError& error) const {
    if (!failed_) {
        failed_ = true;
        readFailed_(error.description());
    }
}

QVariant ChangesTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    compare::ChangeView change;
    try {
        change = reader_.at(changeAt(index.row()));
    } catch (const QorError& error) {
        failed(error);
        return {};
    }
    const ExportEncoding& own =
        change.kind == compare::ChangeKind::Removed ? oldEncoding_ : newEncoding_;
    switch (index.column()) {
        case kType:
            return exportText(change.typeName(), own);
        case kDesignation:
            return exportText(change.designation, own);
        case kChange:
            return kindName(change.kind);
        case kParameter:
            return exportText(change.parameter, own);
        case kOld:
            return exportText(change.oldValue, oldEncoding_);
        case kNew:
            return exportText(change.newValue, newEncoding_);
        default:
            return {};
    }
}

QVariant ChangesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const std::array<QString, kColumnCount> titles{tr("Type"),      tr("Designation"), tr("Change"),
                                                   tr("Parameter"), tr("Old"),         tr("New")};
    return titles[static_cast<std::size_t>(section)];
}

QString ChangesTableModel::kindName(compare::ChangeKind kind) {
    switch (kind) {
        case compare::ChangeKind::Added:
            return tr("added");
        case compare::ChangeKind::Removed:
            return tr("removed");
        case compare::ChangeKind::Changed:
            break;
    }
    return tr("changed");
}

void ChangesTableModel::sort(int column, Qt::SortOrder order) {
    beginResetModel();
    try {
        if (column >= 0 && column < kColumnCount) {
            sorted_ = sortedRows(
                changes_,
                [column](const compare::ChangeView& change) { return sortKey(column, change); },
                order == Qt::DescendingOrder);
        } else {
            std::iota(sorted_.begin(), sorted_.end(), std::uint32_t{0});
        }
        refilter();
    } catch (const QorError& error) {
        failed(error);  // the rows stay as they were
    }
    endResetModel();
}

void ChangesTableModel::setFilter(ChangeFilter filter) {
    beginResetModel();
    filter_ = std::move(filter);
    // The values are the exports' bytes, shown as UTF-8 or in a code page: the text is looked
    // for in each of those encodings.
    needles_.clear();
    if (!filter_.text.isEmpty()) {
        needles_.push_back(lowered(filter_.text.toStdString()));
        for (const ExportEncoding* side : {&oldEncoding_, &newEncoding_}) {
            if (const auto bytes = codePageBytes(filter_.text, side->codePage())) {
                std::string needle = lowered(bytes->toStdString());
                if (std::find(needles_.begin(), needles_.end(), needle) == needles_.end()) {
                    needles_.push_back(std::move(needle));
                }
            }
        }
    }
    try {
        refilter();
    } catch (const QorError& error) {
        failed(error);
    }
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
    // Only the rows of the type chosen are read; without a kind or a text, none is.
    const auto [first, last] = filter_.allTypes
                                   ? std::pair<std::size_t, std::size_t>{0, changes_.size()}
                                   : changes_.rowsOf(filter_.type);
    std::vector<bool> passing(changes_.size());
    if (!filter_.kind && needles_.empty()) {
        std::fill(passing.begin() + static_cast<std::ptrdiff_t>(first),
                  passing.begin() + static_cast<std::ptrdiff_t>(last), true);
    } else {
        changes_.read(first, last, [&](std::size_t row, const compare::ChangeView& change) {
            passing[row] = passes(change);
        });
    }
    std::vector<std::uint32_t> shown;
    for (const std::uint32_t row : sorted_) {
        if (passing[row]) {
            shown.push_back(row);
        }
    }
    shown_ = std::move(shown);
}

}  // namespace qor::gui
