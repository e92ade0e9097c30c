#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace qor::gui {

class ExportTextView;

// The bar under the export text that finds text in it: Enter or "Next" looks forward,
// Shift+Enter or "Previous" backward, Escape closes the bar. F3 stays the options dialog's.
class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(ExportTextView& view, QWidget* parent = nullptr);

    // Shows the bar with the text to find selected, ready for typing.
    void open();
    bool findNext(bool backward = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ExportTextView& view_;
    QLineEdit* text_;
    QLabel* result_;
};

}  // namespace qor::gui
