#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace qor::gui {

class ExportTextView;

// The bar under the export text that finds text in it: Enter or "Next" looks forward,
// Shift+Enter or "Previous" backward, Escape closes the bar. F3 stays the options dialog's.
// Every match on screen is marked while the bar is open, and a find tells which match of how
// many it stopped on.
class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(ExportTextView& view, QWidget* parent = nullptr);

    // Shows the bar with the text to find selected, ready for typing.
    void open();
    bool findNext(bool backward = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    ExportTextView& view_;
    QLineEdit* text_;
    void updateHighlight();

    QCheckBox* matchCase_;
    QLabel* result_;
};

}  // namespace qor::gui
