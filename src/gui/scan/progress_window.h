#pragma once

#include <string_view>

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qor::gui {

// The progress window: the small modeless window that the scan run, the element readers and the
// open commands keep up to date with one status line. It belongs to its parent window (above
// it, never above the message boxes), carries the application title and centres itself over
// its parent (over the screen when it has none) each time it is shown. During a scan it also
// shows how far the scan got and offers "Cancel" (Escape too).
class ProgressWindow : public QWidget {
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // The one status line.
    void setStatus(const QString& text);
    void setStatus(std::string_view text);
    QString status() const;
    // The status texts of the main window's own work: opening an export, preparing a scan's
    // result files (its questions come then), comparing two exports, stopping either.
    static QString openingText();
    static QString preparingText();
    static QString comparingText();
    static QString cancellingText();

    // With a scan: the progress bar and "Cancel" are shown; without, the status line alone.
    void setScanning(bool scanning);
    void setProgress(long long value, long long maximum);
    QProgressBar& progressBar() const { return *bar_; }

signals:
    void cancelRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void centreOverParent();

    QLabel* lblStatus_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

}  // namespace qor::gui
