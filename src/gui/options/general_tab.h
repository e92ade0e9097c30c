#pragma once

#include <QWidget>

#include "core/options/search_options.h"
#include "core/output/workbook_output.h"
#include "gui/base/desktop.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QStackedWidget;

namespace qor::gui {

class FolderPage;

// "General Options": page 1 holds the output choice, page 2 the scan result folder; ">"
// and "<" switch between them and the page stays as left for as long as the tab lives.
// Only the Excel output can put every type into one workbook, so choosing CSV or HTML
// locks that box; it keeps its state for when Excel is chosen again. Without the spreadsheet
// neither Excel choice is offered. Page 1 also holds how the text of exports is read: "Automatic"
// or one encoding.
class GeneralTab : public QWidget {
    Q_OBJECT

public:
    GeneralTab(options::SearchOptions& options, Desktop& desktop, QWidget* parent = nullptr);

    void showRecord();
    int currentPage() const;  // 1 or 2

signals:
    // "Enable All Types", "Disable All Types" or "Select Every Parameter of Every Type" changed
    // every type's search in the record.
    void typesSwitched();

private:
    void outputChosen(options::OutputMode mode);
    void showOneWorkbookState();

    options::SearchOptions& options_;
    QStackedWidget* pages_;
    QRadioButton* excelOption_;
    QRadioButton* csvOption_;
    QRadioButton* htmlOption_;
    QCheckBox* oneWorkbook_;
    QLabel* version_;
    QComboBox* encoding_;
    FolderPage* folder_;
};

}  // namespace qor::gui
