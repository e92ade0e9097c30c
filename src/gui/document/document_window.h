#pragma once

#include <QWidget>

namespace qor::gui {

class ExportTextView;
class FindBar;

// The document window: the text of the opened export file in a fixed-pitch font, and the bar that
// finds text in it (Ctrl+F).
class DocumentWindow : public QWidget {
    Q_OBJECT

public:
    explicit DocumentWindow(QWidget* parent = nullptr);

    ExportTextView& rtfText() const { return *rtfText_; }
    FindBar& findBar() const { return *findBar_; }
    // Shows the file's bytes unchanged, one text line per file line (CR LF, CR or LF).
    // Throws QorError when the file cannot be read; the earlier text then stays.
    void loadFile(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOut();

    ExportTextView* rtfText_;
    FindBar* findBar_;
};

}  // namespace qor::gui
