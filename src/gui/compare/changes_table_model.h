#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/qor_error.h"
#include "core/base/text_encoding.h"
#include "core/compare/change_list.h"

namespace qor::gui {

// Which changes the table shows.
struct ChangeFilter {
    bool allTypes = true;
    std::optional<scan::ElementType> type;    // when not all types: this one, none for NODE
    std::optional<compare::ChangeKind> kind;  // none: every kind
    QString text;  // found, ASCII letters in any case, in the designation, parameter or a value
};

// The changes of a comparison as table rows, read from the ChangeList: only the rows on screen
// are ever turned into text, and a row costs two indexes of 4 bytes (the list keeps most of the
// changes in its scratch file). Sorting and filtering read the list through once (sorting
// keeps a compact key per row meanwhile) and reorder those indexes; the list itself stays in
// report order.
class ChangesTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kType, kDesignation, kChange, kParameter, kOld, kNew, kColumnCount };
    // Told once, when the changes cannot be read back (their scratch file failed).
    using ReadFailed = std::function<void(const std::string& description)>;

    // `changes` must outlive the model. Old values are read as `oldEncoding` reads them, the
    // rest as `newEncoding` (a removed element's as the old one).
    ChangesTableModel(const compare::ChangeList& changes, ReadFailed readFailed,
                      QObject* parent = nullptr, const ExportEncoding& oldEncoding = {},
                      const ExportEncoding& newEncoding = {});

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Stable: rows that sort alike stay in report order.
    void sort(int column, Qt::SortOrder order) override;

    // "added", "removed", "changed" as the window shows them (the files keep the English).
    static QString kindName(compare::ChangeKind kind);

    void setFilter(ChangeFilter filter);
    const ChangeFilter& filter() const { return filter_; }
    // The change shown in `row`, as its position in the list.
    std::size_t changeAt(int row) const { return shown_[static_cast<std::size_t>(row)]; }
    // The change shown in `row`; its views last until the next call. Throws QorError when the
    // scratch file cannot be read.
    compare::ChangeView changeIn(int row) const { return reader_.at(changeAt(row)); }

private:
    bool passes(const compare::ChangeView& change) const;
    void refilter();
    void failed(const QorError& error) const;

    const compare::ChangeList& changes_;
    const ExportEncoding oldEncoding_;
    const ExportEncoding newEncoding_;
    ReadFailed readFailed_;
    mutable bool failed_ = false;
    mutable compare::ChangeReader reader_;
    ChangeFilter filter_;
    // The text's bytes, lower case, as UTF-8 and in the exports' code pages.
    std::vector<std::string> needles_;
    std::vector<std::uint32_t> sorted_;  // every change, in the order sorted
    std::vector<std::uint32_t> shown_;   // those that pass the filter, in that order
};

}  // namespace qor::gui
