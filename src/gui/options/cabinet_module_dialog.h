#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>
#include <string>

#include "core/base/user_interface.h"
#include "core/options/cabinet_table.h"

class QLineEdit;
class QPushButton;

namespace qor::gui {

// The row of the cabinet-module list that was made current, by number from 1; 0 is none.
struct CurrentCabinetRow {
    std::string cabinet;
    std::string module;
    std::size_t number = 0;
};

// "Cabinet | Module Assignment": adds rows to the cabinet-module table
// ("Apply" and "Close"; the boxes clear after each row added), or, once modifyRow has run,
// rewrites the current row ("Modify"). Rows are stored upper-cased. A row the table has
// already is refused with a message; a module the table puts into another cabinet is asked
// about (Yes: the new cabinet takes it and the module's other rows go; No: nothing changes).
// The table is the options dialog's list; the label lists and the store follow on the next
// save.
class CabinetModuleDialog : public QDialog {
    Q_OBJECT

public:
    CabinetModuleDialog(options::CabinetModuleTable& table, UserInterface& ui,
                        QWidget* parent = nullptr);

    // Opens the dialog on `row`: its texts in the boxes, "Apply" reads "Modify" and "Close"
    // is hidden.
    void modifyRow(const CurrentCabinetRow& row);
    bool modifying() const { return modifying_; }

signals:
    // A row was added or rewritten.
    void tableChanged();

private:
    void applyRow();
    void appendRow();
    void modifyRow();
    bool admit(const scan::CabinetRow& row, std::optional<std::size_t> except);

    options::CabinetModuleTable& table_;
    UserInterface& ui_;
    QLineEdit* cabinet_;
    QLineEdit* module_;
    QPushButton* apply_;
    QPushButton* close_;
    bool modifying_ = false;
    std::size_t rowNumber_ = 0;
};

}  // namespace qor::gui
