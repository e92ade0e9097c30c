#pragma once

#include <QDialog>
#include <QString>

namespace qor::gui {

// "System Information": what a person passes on with a question about the program, read-only
// and selectable, with "Copy" (the whole text to the clipboard) and "Close" (Escape too).
class SystemInformationDialog : public QDialog {
    Q_OBJECT

public:
    explicit SystemInformationDialog(QWidget* parent = nullptr);

    // One "Caption: value" line each: the program's version and build, the operating system
    // and kernel, the processor and its cores, the memory, the screen, the language, Qt and
    // the workbook library.
    static QString describeSystem();

    QString text() const { return text_; }
    // Puts the whole text on the clipboard.
    void copyToClipboard();

private:
    QString text_;
};

}  // namespace qor::gui
