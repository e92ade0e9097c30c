#include "gui/elements/elements_table_model.h"

#include <QFile>
#include <algorithm>
#include <span>

#include "core/elements/row_query.h"
#include "gui/base/export_text_encoding.h"

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
    if (!index.isValid() || role != Qt::DisplayRole) {
        return {};
    }
    return text(elementAt(index.row()), index.column());
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
    if (filterColumn_ >= static_cast<int>(columns_.size())) {
        filterColumn_ = kAnyColumn;
    }
    sorted_ = view_.type ? table_.rowsOfType(*view_.type) : table_.allRows();
    refilter();
    endResetModel();
}

void ElementsTableModel::setFilter(const QString& text, int column) {
    beginResetModel();
    pattern_ = elements::WildcardPattern(text.toUtf8().toStdString());
    filterColumn_ = column >= 0 && column < static_cast<int>(columns_.size()) ? column : kAnyColumn;
    refilter();
    endResetModel();
}

void ElementsTableModel::sort(int column, Qt::SortOrder order) {
    beginResetModel();
    if (column >= 0 && column < static_cast<int>(columns_.size())) {
        elements::sortRows(table_, sorted_, columns_[static_cast<std::size_t>(column)],
                           order == Qt::DescendingOrder ? elements::SortOrder::Descending
                                                        : elements::SortOrder::Ascending);
    } else {
        std::sort(sorted_.begin(), sorted_.end());  // table order is row order
    }
    refilter();
    endResetModel();
}

void ElementsTableModel::refilter() {
    if (pattern_.empty()) {
        shown_ = sorted_;
        return;
    }
    const std::span<const Column> searched =
        filterColumn_ == kAnyColumn
            ? std::span<const Column>(columns_)
            : std::span<const Column>(&columns_[static_cast<std::size_t>(filterColumn_)], 1);
    shown_ = elements::matchRows(table_, sorted_, pattern_, searched);
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
