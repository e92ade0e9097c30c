#pragma once

#include <QWidget>

namespace qor::gui {

class ExportTextView;

// `frmDocument`: the text of the opened export file in a fixed-pitch font.
class DocumentWindow : public QWidget {
public:
    explicit DocumentWindow(QWidget* parent = nullptr);

    ExportTextView& rtfText() const { return *rtfText_; }
    // Shows the file's bytes unchanged, one text line per file line (CR LF, CR or LF).
    // Throws QorError when the file cannot be read; the earlier text then stays.
    void loadFile(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ExportTextView* rtfText_;
};

}  // namespace qor::gui
