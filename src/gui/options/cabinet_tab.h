#pragma once

#include <QWidget>

#include "core/base/user_interface.h"
#include "core/output/session.h"
#include "core/platform/settings_store.h"
#include "gui/base/desktop.h"
#include "gui/options/cabinet_module_dialog.h"

class QCheckBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace qor::gui {

// "Cabinet<->Module": the cabinet-module table as a two-column list, with "Add", "Import"
// and the box that applies the labels to the search results. The list is the options
// dialog's draft of the table; the label lists the scan reads follow it when the options are
// saved, and at once after an import.
class CabinetTab : public QWidget {
    Q_OBJECT

public:
    CabinetTab(options::SearchOptions& options, scan::CabinetLabels& labels,
               platform::SettingsStore& store, UserInterface& ui, Desktop& desktop,
               QWidget* parent = nullptr);

    // The list, the imported file name and the apply box's check from the record.
    void showTable();
    // "Items Count:" and whether the apply box can be used: refreshed when the dialog is
    // created and after an import, not on every edit.
    void refreshCountAndApply();

    const CurrentCabinetRow& currentRow() const { return current_; }

    void addRow();
    void importTable();
    // Opens the assignment dialog on the current row; with no current row, or one that no
    // longer exists, nothing happens.
    void editRow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectRow(QTreeWidgetItem* item);
    void makeCurrent(int index);

    options::SearchOptions& options_;
    scan::CabinetLabels& labels_;
    platform::SettingsStore& store_;
    UserInterface& ui_;
    Desktop& desktop_;
    QTreeWidget* list_;
    QLabel* fileName_;
    QLabel* count_;
    QCheckBox* apply_;
    CurrentCabinetRow current_;
};

}  // namespace qor::gui
