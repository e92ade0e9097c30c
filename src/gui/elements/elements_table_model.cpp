#include "gui/elements/elements_table_model.h"

#include <QFile>
#include <algorithm>
#include <iterator>
#include <numeric>
#include <span>

#include "core/elements/row_query.h"
#include "gui/base/export_text_encoding.h"
#include "gui/elements/element_findings.h"

namespace qor::gui {
namespace {

using elements::Column;
using elements::ColumnKind;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A text as one spreadsheet cell of pasted text.
QString cellOfPastedText(QString text) {
    for (QChar& c : text) {
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            c = u' ';
        }
    }
    return text;
}

// Sorts `rows` stably by the node or the path of their export, as elements::sortRows does, in
// one pass over the rows: an export's rows share both, so ranking the exports ranks the rows.
void sortByExport(const elements::ElementTable& table, std::vector<elements::RowIndex>& rows,
                  ColumnKind kind, bool descending) {
    const std::vector<elements::ExportFile>& files = table.files();
    const auto compare = [&](std::uint32_t a, std::uint32_t b) {
        const int order = kind == ColumnKind::Node
                              ? elements::compareValues(files[a].nodeNumber, files[b].nodeNumber)
                              : files[a].path.compare(files[b].path);
        return descending ? -order : order;
    };
    std::vector<std::uint32_t> byKey(files.size());
    std::iota(byKey.begin(), byKey.end(), std::uint32_t{0});
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return compare(a, b) < 0; });
    // Exports of equal keys share a rank, so that their rows keep their order among each other.
    std::vector<std::size_t> rank(files.size());
    for (std::size_t i = 1; i < byKey.size(); ++i) {
        rank[byKey[i]] = rank[byKey[i - 1]] + (compare(byKey[i - 1], byKey[i]) < 0 ? 1 : 0);
    }
    std::vector<std::size_t> next(files.size() + 1);
    for (const elements::RowIndex row : rows) {
        ++next[rank[table.record(row).file] + 1];
    }
    std::partial_sum(next.begin(), next.end(), next.begin());
    std::vector<elements::RowIndex> sorted(rows.size());
    for (const elements::RowIndex row : rows) {
        sorted[next[rank[table.record(row).file]]++] = row;
    }
    rows = std::move(sorted);
}

}  // namespace

std::vector<Column> viewColumns(const elements::ElementTable& table, const ElementsView& view) {
    std::vector<Column> columns{{ColumnKind::Designation, {}}};
    if (!view.type) {
        columns.push_back({ColumnKind::Type, {}});
    }
    if (view.plant) {
        columns.push_back({ColumnKind::Node, {}});
    }
    bool cabinets = false;
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (view.type && info.type != *view.type) {
            continue;
        }
        const scan::TypeOptions* selected =
            view.selected != nullptr ? &(*view.selected)[scan::indexOf(info.type)] : nullptr;
        for (const Column& column :
             elements::typeColumns(info.type, table.cabinetColumns(), selected)) {
            if (column.kind == ColumnKind::Cabinet) {
                cabinets = true;
            } else if (column.kind == ColumnKind::Parameter &&
                       std::find(columns.begin(), columns.end(), column) == columns.end()) {
                columns.push_back(column);
            }
        }
    }
    if (cabinets) {
        columns.push_back({ColumnKind::Cabinet, {}});
        columns.push_back({ColumnKind::Module, {}});
    }
    if (view.plant) {
        columns.push_back({ColumnKind::File, {}});
    }
    return columns;
}

ElementsTableModel::ElementsTableModel(const elements::ElementTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    setView({});
}

int ElementsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ElementsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString ElementsTableModel::text(elements::RowIndex element, int column) const {
    const Column& shown = columns_[static_cast<std::size_t>(column)];
    const std::string_view bytes = table_.cell(element, shown);
    switch (shown.kind) {
        case ColumnKind::Type:
            return latin1(bytes);
        case ColumnKind::File:
            return QFile::decodeName(
                QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        default:
            return exportText(bytes, table_.fileOf(element).encoding);
    }
}

QVariant ElementsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return text(elementAt(index.row()), index.column());
    }
    if (findings_ != nullptr &&
        columns_[static_cast<std::size_t>(index.column())].kind == ColumnKind::Designation) {
        return findings_->markOf(elementAt(index.row()), role);
    }
    return {};
}

void ElementsTableModel::setFindings(const ElementFindings* findings) {
    findings_ = findings;
    if (findings_ != nullptr && rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::DecorationRole, Qt::ToolTipRole});
    }
}

QString ElementsTableModel::heading(int column) const {
    const Column& shown = columns_[static_cast<std::size_t>(column)];
    switch (shown.kind) {
        case ColumnKind::Designation:
            return tr("Designation");
        case ColumnKind::Parameter:
            return latin1(shown.parameter);  // the export's own key, as the options list it
        case ColumnKind::Cabinet:
            return tr("Cabinet");
        case ColumnKind::Module:
            return tr("Module");
        case ColumnKind::Type:
            return tr("Type");
        case ColumnKind::Node:
            return tr("Node");
        case ColumnKind::File:
            break;
    }
    return tr("File");
}

QVariant ElementsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return heading(section);
}

void ElementsTableModel::setView(const ElementsView& view) {
    beginResetModel();
    view_ = view;
    columns_ = viewColumns(table_, view_);
    anyColumns_.clear();
    std::copy_if(columns_.begin(), columns_.end(), std::back_inserter(anyColumns_),
                 [](const Column& column) { return column.kind != ColumnKind::File; });
    if (filterColumn_ >= static_cast<int>(columns_.size())) {
        filterColumn_ = kAnyColumn;
    }
    sorted_ = view_.type ? table_.rowsOfType(*view_.type) : table_.allRows();
    tableOrder_ = true;
    refilter();
    endResetModel();
}

void ElementsTableModel::setFilter(const QString& text, int column) {
    beginResetModel();
    const int searched =
        column >= 0 && column < static_cast<int>(columns_.size()) ? column : kAnyColumn;
    const auto wild = [](const QString& pattern) {
        return pattern.contains(u'*') || pattern.contains(u'?');
    };
    // Case folding works character by character, so a text holding the shorter one holds it
    // folded too.
    const bool narrows = searched == filterColumn_ && !filterText_.isEmpty() && !wild(text) &&
                         !wild(filterText_) && text.contains(filterText_);
    pattern_ = elements::WildcardPattern(text.toUtf8().toStdString());
    filterText_ = text;
    filterColumn_ = searched;
    if (narrows) {
        const std::vector<elements::RowIndex> before = std::move(shown_);
        shown_ = matching(before);
    } else {
        refilter();
    }
    endResetModel();
}

void ElementsTableModel::sort(int column, Qt::SortOrder order) {
    beginResetModel();
    if (column >= 0 && column < static_cast<int>(columns_.size())) {
        const Column& sortedBy = columns_[static_cast<std::size_t>(column)];
        const bool descending = order == Qt::DescendingOrder;
        tableOrder_ = false;
        if (sortedBy.kind == ColumnKind::Node || sortedBy.kind == ColumnKind::File) {
            sortByExport(table_, sorted_, sortedBy.kind, descending);
        } else {
            elements::sortRows(
                table_, sorted_, sortedBy,
                descending ? elements::SortOrder::Descending : elements::SortOrder::Ascending);
        }
    } else {
        std::sort(sorted_.begin(), sorted_.end());  // table order is row order
        tableOrder_ = true;
    }
    keepShownInSortedOrder();
    endResetModel();
}

std::span<const Column> ElementsTableModel::searchedColumns() const {
    return filterColumn_ == kAnyColumn
               ? std::span<const Column>(anyColumns_)
               : std::span<const Column>(&columns_[static_cast<std::size_t>(filterColumn_)], 1);
}

void ElementsTableModel::refilter() {
    shown_ = pattern_.empty() ? sorted_ : matching(sorted_);
}

std::vector<elements::RowIndex> ElementsTableModel::matching(
    const std::vector<elements::RowIndex>& candidates) const {
    if (tableOrder_) {
        return elements::matchRows(table_, candidates, pattern_, searchedColumns());
    }
    // Rows taken in table order read the texts front to back, several times faster than in a
    // sorted order that leaps about them; the matches then go back into the sorted order.
    std::vector<bool> marked(table_.rowCount());
    for (const elements::RowIndex row : candidates) {
        marked[row] = true;
    }
    std::vector<elements::RowIndex> inTableOrder;
    inTableOrder.reserve(candidates.size());
    for (std::size_t row = 0; row < marked.size(); ++row) {
        if (marked[row]) {
            inTableOrder.push_back(static_cast<elements::RowIndex>(row));
        }
    }
    const std::vector<elements::RowIndex> matches =
        elements::matchRows(table_, inTableOrder, pattern_, searchedColumns());
    std::fill(marked.begin(), marked.end(), false);
    for (const elements::RowIndex row : matches) {
        marked[row] = true;
    }
    std::vector<elements::RowIndex> sorted;
    sorted.reserve(matches.size());
    for (const elements::RowIndex row : candidates) {
        if (marked[row]) {
            sorted.push_back(row);
        }
    }
    return sorted;
}

void ElementsTableModel::keepShownInSortedOrder() {
    if (pattern_.empty()) {
        shown_ = sorted_;
        return;
    }
    std::vector<bool> shown(table_.rowCount());
    for (const elements::RowIndex row : shown_) {
        shown[row] = true;
    }
    shown_.clear();
    for (const elements::RowIndex row : sorted_) {
        if (shown[row]) {
            shown_.push_back(row);
        }
    }
}

QString ElementsTableModel::tabSeparated(const std::vector<int>& rows) const {
    QString text;
    const int columns = columnCount();
    const auto line = [&](const auto& cellAt) {
        for (int column = 0; column < columns; ++column) {
            if (column > 0) {
                text += u'\t';
            }
            text += cellOfPastedText(cellAt(column));
        }
        text += u'\n';
    };
    line([&](int column) { return heading(column); });
    for (const int row : rows) {
        line([&](int column) { return this->text(elementAt(row), column); });
    }
    return text;
}

}  // namespace qor::gui
