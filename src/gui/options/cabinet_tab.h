#pragma once

#include <QWidget>

#include "core/base/user_interface.h"
#include "core/options/search_options.h"
#include "core/platform/settings_store.h"
#include "gui/base/desktop.h"
#include "gui/options/cabinet_module_dialog.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace qor::gui {

// "Cabinet<->Module": the cabinet-module table as a two-column list, with "Add", "Delete",
// "Import" and the box that applies the labels to the search results; the list's context menu
// offers "Modify" and "Delete", and the Delete key deletes. The list shows the options dialog's
// draft of the table: every edit, an import included, changes the draft only, so the store and
// the label lists the scan reads follow on "OK" or "Preview Status", and discarding the dialog
// undoes it. "Items Count:" and the apply box follow the draft after every edit. An import
// shows the file's lines in a preview (CabinetImportDialog) and replaces the table only on its
// "OK".
class CabinetTab : public QWidget {
    Q_OBJECT

public:
    CabinetTab(options::SearchOptions& options, platform::SettingsStore& store, UserInterface& ui,
               Desktop& desktop, QWidget* parent = nullptr);

    // The list, the imported file name, the count and the apply box from the draft. The
    // selected row stays selected while the table has it.
    void showTable();

    // The selected row; number 0 when none is.
    CurrentCabinetRow currentRow() const;

    void addRow();
    void importTable();
    // Opens the assignment dialog on the selected row; with none selected nothing happens.
    void editRow();
    // Removes the selected row and selects the one that takes its place.
    void deleteRow();

private:
    int selectedIndex() const;
    void selectIndex(int index);
    // Modify and Delete are offered exactly while a row is selected.
    void offerRowCommands();

    options::SearchOptions& options_;
    platform::SettingsStore& store_;
    UserInterface& ui_;
    Desktop& desktop_;
    QTreeWidget* list_;
    QLabel* fileName_;
    QLabel* count_;
    QCheckBox* apply_;
    QPushButton* delete_ = nullptr;
    QAction* modifyAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
};

}  // namespace qor::gui
