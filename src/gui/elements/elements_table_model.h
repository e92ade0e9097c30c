#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "core/elements/element_table.h"
#include "core/elements/wildcard_pattern.h"
#include "core/scan/type_options.h"

namespace qor::gui {

class ElementFindings;

// What the Elements window shows of a table: one type or all of them, every parameter or only
// those selected in the options, and the columns of a plant.
struct ElementsView {
    std::optional<scan::ElementType> type;  // none: all types, with a Type column
    // The options' parameter selection ("Selected Parameters Only"); null: every parameter.
    const std::array<scan::TypeOptions, scan::kElementTypeCount>* selected = nullptr;
    bool plant = false;  // many exports: Node and File columns
};

// The elements of an ElementTable as table rows: a row costs one 4-byte index, and only the
// rows on screen are ever turned into text. Sorting and filtering reorder and narrow those
// indexes with the table's own queries (natural order for designations, numbers as numbers,
// case-insensitive wildcards), so the table itself never changes.
class ElementsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kAnyColumn = -1;

    // `table` must outlive the model.
    explicit ElementsTableModel(const elements::ElementTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Stable; the rows keep it through later filters. A column beyond the columns: table order.
    void sort(int column, Qt::SortOrder order) override;

    // New columns and rows: the filter stays, the order returns to the table's.
    void setView(const ElementsView& view);
    const ElementsView& view() const { return view_; }
    // Narrows the rows to those whose `column` (or any column but File) shows `text` (see
    // elements::WildcardPattern). A text typed on from the one before, without wildcards, is
    // looked for in the rows shown only: it cannot match a row the shorter text did not.
    void setFilter(const QString& text, int column = kAnyColumn);

    const elements::ElementTable& table() const { return table_; }
    // Marks the elements the checks found something in, on their designations (see
    // ElementFindings::markOf); null: no marks. `findings` must outlive the model or be unset.
    void setFindings(const ElementFindings* findings);
    const std::vector<elements::Column>& columns() const { return columns_; }
    // The elements of the chosen type (all of them for all types) before the filter.
    int elementCount() const { return static_cast<int>(sorted_.size()); }
    elements::RowIndex elementAt(int row) const { return shown_[static_cast<std::size_t>(row)]; }
    // What `column` of the element shows, as the window shows it.
    QString text(elements::RowIndex element, int column) const;
    // The column's heading as the window shows it.
    QString heading(int column) const;
    // The given rows with the headings above them: one line each, tab-separated, ended by a
    // line feed, as a spreadsheet takes pasted text. Tabs and line breaks inside a text become
    // spaces, so that no value can shift a column or start a row.
    QString tabSeparated(const std::vector<int>& rows) const;

private:
    void refilter();
    // Those of `candidates` (in the order sorted) that pass the filter, in their order.
    std::vector<elements::RowIndex> matching(
        const std::vector<elements::RowIndex>& candidates) const;
    // The shown rows in the new order of sorted_, without matching them again.
    void keepShownInSortedOrder();
    // The columns the filter looks in.
    std::span<const elements::Column> searchedColumns() const;

    const elements::ElementTable& table_;
    ElementsView view_;
    std::vector<elements::Column> columns_;
    // What "any column" looks in: every column but the file's path, whose folders every row of
    // a plant shares.
    std::vector<elements::Column> anyColumns_;
    elements::WildcardPattern pattern_;
    QString filterText_;
    int filterColumn_ = kAnyColumn;
    std::vector<elements::RowIndex> sorted_;  // the chosen type's rows, in the order sorted
    bool tableOrder_ = true;                  // sorted_ is in the table's order
    std::vector<elements::RowIndex> shown_;   // those that pass the filter, in that order
    const ElementFindings* findings_ = nullptr;
};

// The columns a view shows: the designation, the type (all types), the node (a plant), the
// parameters in the type table's order (for all types each name once, where it first
// appears), cabinet and module where the table carries them, the file (a plant).
std::vector<elements::Column> viewColumns(const elements::ElementTable& table,
                                          const ElementsView& view);

}  // namespace qor::gui
