#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "core/elements/element_loader.h"
#include "core/elements/element_table.h"
#include "gui/base/app_context.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace qor::gui {

class ElementFindings;
class ElementsTableModel;

// The Elements window: the elements of one export, or of every export of a plant folder, as a
// table in a document window of its own. A type chooser with each type's count ("All Types"
// adds a Type column), "Selected Parameters Only" (the options' selection), a filter typed
// into a line that narrows the rows at each keystroke (any column or a chosen one; "*" and
// "?" as wildcards) with "N of M elements" beside it, and sorting on a click on a heading. A
// double-click shows the element's lines in its export; Copy puts the selected rows on the
// clipboard as tab-separated text; "Export Visible Rows..." writes the rows on screen as a
// CSV file or a workbook. A plant adds Node and File columns and names the files it skipped.
// Once the table is shown, the checks run over it in the background and mark the elements
// they find something in.
class ElementsWindow : public QWidget {
    Q_OBJECT

public:
    // `source` names what was loaded: the export's path, or the plant's folder (`plant`).
    ElementsWindow(AppContext& context, std::shared_ptr<const elements::ElementTable> table,
                   QString source, bool plant, std::vector<elements::SkippedFile> skipped = {},
                   QWidget* parent = nullptr);
    ~ElementsWindow() override;

    // "Elements: sample.qor", "Elements: plant".
    QString caption() const;
    // The export's path, or the plant's folder.
    const QString& source() const { return source_; }
    bool plant() const { return plant_; }
    const elements::ElementTable& table() const { return *table_; }
    ElementsTableModel& elementsModel() const { return *model_; }
    QTableView& elementsTable() const { return *tableView_; }

    // "All Types" or one type; the filter stays.
    void chooseType(std::optional<scan::ElementType> type);
    // The filter text and the column it looks in (ElementsTableModel::kAnyColumn: any).
    void setFilter(const QString& text, int column);
    // Gives the filter the keyboard.
    void focusFilter();
    // The selected rows, with the headings, as tab-separated text on the clipboard.
    void copySelectedRows();
    // Asks where, then writes the rows on screen as CSV, or as a workbook for a name ending in
    // ".xlsx".
    void exportVisibleRows();

signals:
    // An element was double-clicked: its export and its header line (from 0).
    void elementRequested(const QString& path, qsizetype headerLine);

private:
    QWidget* newFilterBar();
    QWidget* newButtonBar();
    QLabel* newSkippedLine(const std::vector<elements::SkippedFile>& skipped);
    void applyView();
    void applyFilter();
    // The new view's columns: the filter's column chooser and the widths.
    void showColumns();
    void fillColumnChooser();
    void showCount();
    void requestElement(const QModelIndex& index);

    AppContext& context_;
    std::shared_ptr<const elements::ElementTable> table_;
    const QString source_;
    const bool plant_;
    ElementsTableModel* model_ = nullptr;
    QTableView* tableView_ = nullptr;
    QComboBox* typeChooser_ = nullptr;
    QCheckBox* selectedOnly_ = nullptr;
    QLineEdit* filterText_ = nullptr;
    QComboBox* filterColumn_ = nullptr;
    QLabel* shown_ = nullptr;
    QLabel* written_ = nullptr;
    QAction* copy_ = nullptr;
    // Last, so that it goes first: the checks it runs read the table.
    std::unique_ptr<ElementFindings> findings_;
};

}  // namespace qor::gui
