#include "gui/elements/elements_table_model.h"

#include <QFile>
#include <QFutureWatcher>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <iterator>

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

// A narrower filter over at most this many rows takes a few milliseconds.
constexpr std::size_t kRowsNarrowedAtOnce = 10000;

bool wild(const QString& pattern) {
    return pattern.contains(u'*') || pattern.contains(u'?');
}

// The rows of `subset` in the order of `sorted`, which holds them all.
std::vector<elements::RowIndex> inOrderOf(const std::vector<elements::RowIndex>& sorted,
                                          const std::vector<elements::RowIndex>& subset,
                                          std::size_t tableRows) {
    std::vector<bool> kept(tableRows);
    for (const elements::RowIndex row : subset) {
        kept[row] = true;
    }
    std::vector<elements::RowIndex> ordered;
    ordered.reserve(subset.size());
    for (const elements::RowIndex row : sorted) {
        if (kept[row]) {
            ordered.push_back(row);
        }
    }
    return ordered;
}

template <typename Rows>
std::shared_ptr<const Rows> shared(Rows rows) {
    return std::make_shared<const Rows>(std::move(rows));
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

// What a piece of work starts from: the rows shown (or the new view's type) and what was asked
// on top of them.
struct ElementsTableModel::Work {
    std::shared_ptr<const elements::TableIndex> index;
    bool newView = false;  // start from the rows of `type`, in table order
    std::optional<scan::ElementType> type;
    Rows sorted;
    bool tableOrder = true;
    std::vector<SortStep> steps;
    elements::WildcardPattern pattern;
    std::vector<Column> searched;
    // How the filter relates to the rows shown: matched afresh, the same filter (kept), or a
    // narrower one (only the rows shown can match).
    enum class Filter { Afresh, Same, Narrower } filter = Filter::Afresh;
    Rows shown;
};

ElementsTableModel::Outcome ElementsTableModel::run(const Work& work,
                                                    const std::atomic<bool>& cancel) {
    const elements::ElementTable& table = work.index->table();
    Outcome outcome{work.sorted, work.tableOrder, nullptr, false};
    try {
        if (work.newView) {
            outcome.sorted = shared(work.type ? table.rowsOfType(*work.type) : table.allRows());
            outcome.tableOrder = true;
        }
        for (const SortStep& step : work.steps) {
            if (cancel.load(std::memory_order_relaxed)) {
                throw elements::QueryStopped();
            }
            if (!step.column) {
                if (!outcome.tableOrder) {
                    std::vector<elements::RowIndex> rows = *outcome.sorted;
                    std::sort(rows.begin(), rows.end());  // table order is row order
                    outcome.sorted = shared(std::move(rows));
                    outcome.tableOrder = true;
                }
                continue;
            }
            const std::shared_ptr<const elements::ColumnRanks> ranks =
                work.index->ranks(*step.column);
            std::vector<elements::RowIndex> rows = *outcome.sorted;
            elements::sortByRanks(rows, *ranks, step.order);
            outcome.sorted = shared(std::move(rows));
            outcome.tableOrder = false;
        }
        const bool reordered = !work.steps.empty();
        if (work.pattern.empty()) {
            outcome.shown = outcome.sorted;
        } else if (work.filter == Work::Filter::Same) {
            outcome.shown = reordered
                                ? shared(inOrderOf(*outcome.sorted, *work.shown, table.rowCount()))
                                : work.shown;
        } else if (work.filter == Work::Filter::Narrower) {
            std::vector<elements::RowIndex> matches =
                work.index->matching(*work.shown, work.pattern, work.searched, &cancel);
            outcome.shown = shared(reordered ? inOrderOf(*outcome.sorted, matches, table.rowCount())
                                             : std::move(matches));
        } else {
            outcome.shown =
                shared(work.index->matching(*outcome.sorted, work.pattern, work.searched, &cancel));
        }
    } catch (const elements::QueryStopped&) {
        outcome.stopped = true;
    }
    return outcome;
}

ElementsTableModel::ElementsTableModel(std::shared_ptr<const elements::ElementTable> table,
                                       QObject* parent)
    : QAbstractTableModel(parent),
      table_(std::move(table)),
      index_(std::make_shared<elements::TableIndex>(table_)),
      sorted_(shared(std::vector<elements::RowIndex>{})),
      shown_(sorted_) {
    // Two threads: a newer piece of work starts while an older one is still giving up.
    pool_.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    setView({});
    // What the first filter needs, while the person looks at the table.
    pool_.start([index = index_] { index->prepare(); });
}

ElementsTableModel::~ElementsTableModel() {
    if (cancel_) {
        *cancel_ = true;
    }
    index_->stop();
}

int ElementsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_->size());
}

int ElementsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString ElementsTableModel::text(elements::RowIndex element, int column) const {
    const Column& shown = columns_[static_cast<std::size_t>(column)];
    const std::string_view bytes = table_->cell(element, shown);
    switch (shown.kind) {
        case ColumnKind::Type:
            return latin1(bytes);
        case ColumnKind::File:
            return QFile::decodeName(
                QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        default:
            return exportText(bytes, table_->fileOf(element).encoding);
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
    wantedView_ = view;
    wantedColumns_ = viewColumns(*table_, view);
    viewChanged_ = true;
    steps_.clear();
    if (filterColumn_ && std::find(wantedColumns_.begin(), wantedColumns_.end(), *filterColumn_) ==
                             wantedColumns_.end()) {
        filterColumn_.reset();
    }
    schedule();
}

void ElementsTableModel::setFilter(const QString& text, int column) {
    std::optional<Column> searched;
    if (column >= 0 && column < static_cast<int>(columns_.size())) {
        searched = columns_[static_cast<std::size_t>(column)];
    }
    if (searched && viewChanged_ &&
        std::find(wantedColumns_.begin(), wantedColumns_.end(), *searched) ==
            wantedColumns_.end()) {
        searched.reset();  // the view on its way has no such column
    }
    if (text == filter_ && searched == filterColumn_) {
        return;
    }
    filter_ = text;
    filterColumn_ = searched;
    pattern_ = elements::WildcardPattern(text.toUtf8().toStdString());
    schedule();
}

int ElementsTableModel::filterColumn() const {
    if (!shownFilterColumn_) {
        return kAnyColumn;
    }
    const auto at = std::find(columns_.begin(), columns_.end(), *shownFilterColumn_);
    return at == columns_.end() ? kAnyColumn : static_cast<int>(at - columns_.begin());
}

bool ElementsTableModel::tableOrderAsked() const {
    return steps_.empty() ? viewChanged_ || tableOrder_ : !steps_.back().column.has_value();
}

void ElementsTableModel::sort(int column, Qt::SortOrder order) {
    const elements::SortOrder sortOrder = order == Qt::DescendingOrder
                                              ? elements::SortOrder::Descending
                                              : elements::SortOrder::Ascending;
    if (column < 0 || column >= static_cast<int>(columns_.size())) {
        if (tableOrderAsked()) {
            return;
        }
        steps_.clear();
        if (!viewChanged_ && !tableOrder_) {
            steps_.push_back({std::nullopt, sortOrder});
        }
    } else {
        const Column& sortedBy = columns_[static_cast<std::size_t>(column)];
        // A sort by the column sorted by last replaces it: the rows it ordered among equals
        // are equals again.
        if (!steps_.empty() && steps_.back().column == sortedBy) {
            steps_.back().order = sortOrder;
        } else {
            steps_.push_back({sortedBy, sortOrder});
        }
    }
    schedule();
}

std::vector<Column> ElementsTableModel::searchedColumns() const {
    if (filterColumn_) {
        return {*filterColumn_};
    }
    // Any column but the file's path, whose folders every row of a plant shares.
    std::vector<Column> any;
    std::copy_if(wantedColumns_.begin(), wantedColumns_.end(), std::back_inserter(any),
                 [](const Column& column) { return column.kind != ColumnKind::File; });
    return any;
}

void ElementsTableModel::schedule() {
    ++request_;
    if (cancel_) {
        *cancel_ = true;
        cancel_.reset();
    }
    if (!viewChanged_) {
        wantedView_ = view_;
        wantedColumns_ = columns_;
    }
    if (pattern_.empty() && steps_.empty()) {
        // Rows at hand (or a type's, picked in one pass): no work to hand off.
        Outcome outcome{sorted_, tableOrder_, nullptr, false};
        if (viewChanged_) {
            outcome.sorted = shared(wantedView_.type ? table_->rowsOfType(*wantedView_.type)
                                                     : table_->allRows());
            outcome.tableOrder = true;
        }
        outcome.shown = outcome.sorted;
        show(outcome);
        return;
    }
    Work work;
    work.index = index_;
    work.newView = viewChanged_;
    work.type = wantedView_.type;
    work.sorted = sorted_;
    work.tableOrder = tableOrder_;
    work.steps = steps_;
    work.pattern = pattern_;
    work.searched = searchedColumns();
    work.shown = shown_;
    if (!viewChanged_ && filterColumn_ == shownFilterColumn_ && !shownFilter_.isEmpty()) {
        // Case folding works character by character, so a text holding the shorter one holds
        // it folded too.
        if (filter_ == shownFilter_) {
            work.filter = Work::Filter::Same;
        } else if (!wild(filter_) && !wild(shownFilter_) && filter_.contains(shownFilter_)) {
            work.filter = Work::Filter::Narrower;
        }
    }
    if (work.filter == Work::Filter::Narrower && !viewChanged_ && steps_.empty() &&
        shown_->size() <= kRowsNarrowedAtOnce) {
        // A few rows to look at again: done sooner here than handed to a thread.
        const std::atomic<bool> never{false};
        show(run(work, never));
        return;
    }
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    cancel_ = cancel;
    auto* watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request = request_] {
        watcher->deleteLater();
        const Outcome outcome = watcher->result();
        if (request == request_ && !outcome.stopped) {
            show(outcome);
        }
        emit workEnded();
    });
    watcher->setFuture(
        QtConcurrent::run(&pool_, [work = std::move(work), cancel, hook = workStartHook_] {
            if (hook) {
                hook();
            }
            return run(work, *cancel);
        }));
}

void ElementsTableModel::show(const Outcome& outcome) {
    const bool newColumns = viewChanged_;
    beginResetModel();
    if (viewChanged_) {
        view_ = wantedView_;
        columns_ = wantedColumns_;
        viewChanged_ = false;
    }
    steps_.clear();
    sorted_ = outcome.sorted;
    tableOrder_ = outcome.tableOrder;
    shown_ = outcome.shown;
    shownFilter_ = filter_;
    shownFilterColumn_ = filterColumn_;
    shownRequest_ = request_;
    cancel_.reset();
    endResetModel();
    if (newColumns) {
        emit columnsShown();
    }
    emit rowsShown();
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
