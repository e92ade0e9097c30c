#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <vector>

#include "core/options/cabinet_table.h"

class QCheckBox;
class QLabel;
class QTableView;

namespace qor::gui {

// The lines of an import file as a table: the line's number, its text, the row it gives and
// what becomes of it with the choices made. A line the import does not take is greyed; a
// module given a second cabinet is marked as a warning.
class CabinetImportModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { LineColumn, TextColumn, CabinetColumn, ModuleColumn, NoteColumn, ColumnCount };

    explicit CabinetImportModel(const options::CabinetImport& import, QObject* parent = nullptr);

    void setChoices(const options::ImportChoices& choices);
    const options::ImportChoices& choices() const { return choices_; }
    // Whether the import takes the line in `row` with the choices made.
    bool taken(int row) const;
    // What the line in `row` comes to, as the note column says it.
    QString note(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const options::CabinetImport& import_;
    options::ImportChoices choices_;
};

// "Import Preview": before an import replaces the cabinet-module table, the file's lines with
// what each gives and what the import leaves out: a first line that names the columns (skipped
// unless its box is cleared), lines of one field or of more than two, lines that separate the
// cabinet and the module with ';' (taken only with "Take lines separated by ';' as pairs"),
// repeated rows, and a module given two different cabinets (taken: the later line labels its
// channels). A box is offered only where the file has such a line. "OK" accepts; rows() is
// then what the table takes. The file must outlive the dialog.
class CabinetImportDialog : public QDialog {
    Q_OBJECT

public:
    CabinetImportDialog(const options::CabinetFile& file, QWidget* parent = nullptr);

    const CabinetImportModel& model() const { return *model_; }
    options::ImportChoices choices() const { return model_->choices(); }
    std::vector<scan::CabinetRow> rows() const;

private:
    void choose();
    void showSummary();

    const options::CabinetFile& file_;
    CabinetImportModel* model_;
    QTableView* view_;
    QLabel* summary_;
    QCheckBox* skipHeading_ = nullptr;
    QCheckBox* semicolonPairs_ = nullptr;
};

}  // namespace qor::gui
