#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QThreadPool>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/elements/element_table.h"
#include "core/elements/table_index.h"
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
//
// A change (view, filter, sort) that takes more than picking rows already at hand is worked out
// on a thread of the model's own, from a snapshot of the rows shown and the table (held shared,
// never changed); meanwhile the rows, columns and counts stay those of the changes before, and
// this thread goes on answering. A newer change cancels the work of an older one, and only the
// newest change's rows are shown, in one reset, followed by rowsShown().
class ElementsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kAnyColumn = -1;

    explicit ElementsTableModel(std::shared_ptr<const elements::ElementTable> table,
                                QObject* parent = nullptr);
    ~ElementsTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Stable: rows that compare equal keep the order they had, so a sort after another sorts by
    // both; empty cells come last either way. A column beyond the columns: table order.
    void sort(int column, Qt::SortOrder order) override;

    // New columns and rows: the filter stays (on any column when its column goes), the order
    // returns to the table's.
    void setView(const ElementsView& view);
    const ElementsView& view() const { return view_; }
    // Narrows the rows to those whose `column` (or any column but File) shows `text` (see
    // elements::WildcardPattern). A text typed on from the one before, without wildcards, is
    // looked for in the rows shown only: it cannot match a row the shorter text did not.
    void setFilter(const QString& text, int column = kAnyColumn);
    // The column the filter looks in, or kAnyColumn.
    int filterColumn() const;
    // Whether a change is still being worked out.
    bool busy() const { return shownRequest_ != request_; }

    const elements::ElementTable& table() const { return *table_; }
    // Marks the elements the checks found something in, on their designations (see
    // ElementFindings::markOf); null: no marks. `findings` must outlive the model or be unset.
    void setFindings(const ElementFindings* findings);
    const std::vector<elements::Column>& columns() const { return columns_; }
    // The elements of the chosen type (all of them for all types) before the filter.
    int elementCount() const { return static_cast<int>(sorted_->size()); }
    elements::RowIndex elementAt(int row) const { return (*shown_)[static_cast<std::size_t>(row)]; }
    // What `column` of the element shows, as the window shows it.
    QString text(elements::RowIndex element, int column) const;
    // The column's heading as the window shows it.
    QString heading(int column) const;
    // The given rows with the headings above them: one line each, tab-separated, ended by a
    // line feed, as a spreadsheet takes pasted text. Tabs and line breaks inside a text become
    // spaces, so that no value can shift a column or start a row.
    QString tabSeparated(const std::vector<int>& rows) const;

    // For tests: called on the working thread as each piece of work starts, so that a test can
    // hold it there while it looks at the window.
    void setWorkStartHook(std::function<void()> hook) { workStartHook_ = std::move(hook); }

signals:
    // The rows of the newest change are shown.
    void rowsShown();
    // New columns are shown (a new view), just before rowsShown().
    void columnsShown();
    // A piece of work ended, its rows shown or outdated by a newer change.
    void workEnded();

private:
    using Rows = std::shared_ptr<const std::vector<elements::RowIndex>>;
    // One sort asked for and not yet shown; no column: the table's order.
    struct SortStep {
        std::optional<elements::Column> column;
        elements::SortOrder order = elements::SortOrder::Ascending;
    };
    // What a piece of work hands back.
    struct Outcome {
        Rows sorted;
        bool tableOrder = true;
        Rows shown;
        bool stopped = false;  // cancelled: nothing to show
    };
    // A snapshot of what a piece of work needs.
    struct Work;
    static Outcome run(const Work& work, const std::atomic<bool>& cancel);

    // Starts working out what was asked, or shows it at once when nothing needs working out.
    void schedule();
    void show(const Outcome& outcome);
    std::vector<elements::Column> searchedColumns() const;
    bool tableOrderAsked() const;

    std::shared_ptr<const elements::ElementTable> table_;
    std::shared_ptr<elements::TableIndex> index_;

    // What is shown.
    ElementsView view_;
    std::vector<elements::Column> columns_;
    Rows sorted_;             // the chosen type's rows, in the order sorted
    bool tableOrder_ = true;  // sorted_ is in the table's order
    Rows shown_;              // those that pass the filter, in that order
    QString shownFilter_;
    std::optional<elements::Column> shownFilterColumn_;  // none: any column

    // What is asked for on top of it.
    ElementsView wantedView_;
    std::vector<elements::Column> wantedColumns_;
    bool viewChanged_ = false;
    std::vector<SortStep> steps_;
    QString filter_;
    std::optional<elements::Column> filterColumn_;
    elements::WildcardPattern pattern_;
    const ElementFindings* findings_ = nullptr;

    std::uint64_t request_ = 0;                  // counts the changes asked for
    std::uint64_t shownRequest_ = 0;             // the change whose rows are shown
    std::shared_ptr<std::atomic<bool>> cancel_;  // of the work under way
    std::function<void()> workStartHook_;
    // Last: destroyed first, it waits for the (cancelled) work still running.
    QThreadPool pool_;
};

// The columns a view shows: the designation, the type (all types), the node (a plant), the
// parameters in the type table's order (for all types each name once, where it first
// appears), cabinet and module where the table carries them, the file (a plant).
std::vector<elements::Column> viewColumns(const elements::ElementTable& table,
                                          const ElementsView& view);

}  // namespace qor::gui
