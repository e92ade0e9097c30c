#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <optional>
#include <vector>

#include "core/checks/run_checks.h"

namespace qor::gui {

// Which findings the table shows: those at or above a severity, of one check or all.
struct FindingsFilter {
    checks::Severity minimum = checks::Severity::Note;
    std::optional<std::size_t> check;  // by registry index; none: every check
};

// The findings of a run of the checks as table rows: a row costs one 4-byte index, and a
// message is worded only when its row is on screen. The findings keep the run's order (by
// export and line, the cabinet table's last); the filter narrows them.
class FindingsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        kSeverity,
        kCheck,
        kNode,
        kType,
        kDesignation,
        kLine,
        kMessage,
        kFile,
        kColumnCount
    };

    // `input` and `result` must outlive the model.
    FindingsTableModel(const checks::CheckInput& input, const checks::CheckResult& result,
                       QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setFilter(FindingsFilter filter);
    const FindingsFilter& filter() const { return filter_; }
    // How many findings there are of each check (by registry index) and of each severity.
    const std::vector<std::size_t>& countsPerCheck() const { return result_.counts; }
    std::size_t countOf(checks::Severity severity) const;
    std::size_t findingCount() const { return result_.findings.size(); }

    const checks::Finding& findingAt(int row) const {
        return result_.findings[shown_[static_cast<std::size_t>(row)]];
    }
    // The findings shown, in their order.
    std::vector<checks::Finding> shownFindings() const;
    // What `column` of `row` shows.
    QString text(int row, int column) const;
    static QString severityText(checks::Severity severity);
    // The given rows with the headings above them, tab-separated, a line each, as a spreadsheet
    // takes pasted text; tabs and line breaks inside a text become spaces.
    QString tabSeparated(const std::vector<int>& rows) const;

private:
    const checks::CheckInput& input_;
    const checks::CheckResult& result_;
    FindingsFilter filter_;
    std::vector<std::uint32_t> shown_;  // indexes of the findings that pass the filter
};

}  // namespace qor::gui
