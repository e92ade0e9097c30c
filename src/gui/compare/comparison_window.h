#pragma once

#include <QWidget>
#include <memory>

#include "core/compare/changes_folder.h"
#include "core/compare/changes_page.h"
#include "core/compare/export_comparison.h"
#include "gui/base/app_context.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;

namespace qor::gui {

class ChangesTableModel;

// The window of changes: what changed from an older export to a newer one, in a document window of
// its own: the two exports, the counts per type, and the changes as a table that sorts on a click
// on its header and is narrowed by type, kind of change and a text (a click on a type in the
// summary narrows by it; a double-click on a change shows its element in its export). "Open
// HTML Report" writes the changes into the scan result folder as qorscan --compare does; "Save
// as CSV" asks where, offering that folder.
class ComparisonWindow : public QWidget {
    Q_OBJECT

public:
    ComparisonWindow(AppContext& context, std::unique_ptr<const compare::Comparison> comparison,
                     compare::ChangesPageHeading heading, QWidget* parent = nullptr);
    ~ComparisonWindow() override;

    // "Changes: old.qor → new.qor".
    QString caption() const;
    const compare::Comparison& comparison() const { return *comparison_; }
    ChangesTableModel& changesModel() const { return *model_; }
    QTableView& changesTable() const { return *table_; }

    void saveCsv();
    void openHtmlReport();

signals:
    // A change was double-clicked: the export to show (the newer one, the older one for a
    // removed element) and the element's designation (empty for the node information).
    void elementRequested(const QString& path, const QByteArray& designation);

private:
    QWidget* newHeading();
    QWidget* newFilterBar();
    QWidget* newButtonBar();
    void applyFilter();
    void requestElement(const QModelIndex& index);
    // Writes the chosen files; the HTML page's path when it stands there afterwards (written
    // now, or kept by "No"), empty when nothing could be written.
    std::string write(compare::ChangesFiles files, std::string_view procedure);

    AppContext& context_;
    std::unique_ptr<const compare::Comparison> comparison_;
    compare::ChangesPageHeading heading_;
    ChangesTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QComboBox* typeFilter_ = nullptr;
    QComboBox* kindFilter_ = nullptr;
    QLineEdit* textFilter_ = nullptr;
    QLabel* shown_ = nullptr;
    QLabel* written_ = nullptr;
};

}  // namespace qor::gui
