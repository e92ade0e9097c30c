#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "core/checks/run_checks.h"
#include "core/elements/element_loader.h"
#include "gui/base/app_context.h"

class QAction;
class QComboBox;
class QLabel;
class QTableView;

namespace qor::gui {

class FindingsTableModel;

// What a run of the checks hands the Checks window: the elements it checked, the cabinet table
// it held them against, and what it found.
struct CheckedExports {
    std::unique_ptr<const elements::ElementTable> table;
    std::optional<checks::CabinetSource> cabinets;
    checks::CheckResult result;
    std::vector<elements::SkippedFile> skipped;
    bool noExports = false;  // a folder that holds no *.qor file: nothing was checked
};

// The Checks window: what the checks found in one export, or in every export of a plant
// folder, as a table (severity, check, node, type, designation, line, message, file) in a
// document window of its own. The findings are filtered by severity and by check (each with
// its count); a double-click shows the element's lines in its export; Copy puts the selected
// rows on the clipboard as tab-separated text; "Export..." writes the findings shown as a CSV
// file or a workbook.
class ChecksWindow : public QWidget {
    Q_OBJECT

public:
    // `source` names what was checked: the export's path, or the plant's folder.
    ChecksWindow(AppContext& context, CheckedExports checked, QString source,
                 QWidget* parent = nullptr);
    ~ChecksWindow() override;

    // "Checks: sample.qor", "Checks: plant".
    QString caption() const;
    FindingsTableModel& findingsModel() const { return *model_; }
    QTableView& findingsTable() const { return *tableView_; }

    // The findings of this severity and graver ones, of one check (by registry index) or all.
    void setFilter(checks::Severity minimum, std::optional<std::size_t> check);
    // The selected rows, with the headings, as tab-separated text on the clipboard.
    void copySelectedRows();
    // Asks where, then writes the findings shown as CSV, or as a workbook for a name ending in
    // ".xlsx".
    void exportFindings();

signals:
    // A finding's element was double-clicked: its export and its header line (from 0).
    void elementRequested(const QString& path, qsizetype headerLine);

private:
    QWidget* newFilterBar();
    QWidget* newButtonBar();
    QLabel* newNotesLine();
    void applyFilter();
    void requestElement(const QModelIndex& index);

    AppContext& context_;
    CheckedExports checked_;
    checks::CheckInput input_;
    const QString source_;
    FindingsTableModel* model_ = nullptr;
    QTableView* tableView_ = nullptr;
    QComboBox* severityChooser_ = nullptr;
    QComboBox* checkChooser_ = nullptr;
    QLabel* shown_ = nullptr;
    QLabel* written_ = nullptr;
    QAction* copy_ = nullptr;
};

}  // namespace qor::gui
