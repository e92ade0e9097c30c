#pragma once

#include <QString>
#include <QWidget>

#include "core/base/text_encoding.h"
#include "core/scan/node_info.h"

namespace qor::gui {

class ExportTextView;
class FindBar;

// The document window: the text of the opened export file in a fixed-pitch font, and the bar that
// finds text in it (Ctrl+F).
class DocumentWindow : public QWidget {
    Q_OBJECT

public:
    explicit DocumentWindow(QWidget* parent = nullptr);

    ExportTextView& textView() const { return *textView_; }
    FindBar& findBar() const { return *findBar_; }
    // Shows the file's bytes unchanged, one text line per file line (CR LF, CR or LF).
    // Throws QorError when the file cannot be read; the earlier text then stays.
    void loadFile(const QString& path);

    // The export the window shows, as the open flow read it: its path (empty before the first
    // open), node information and encoding evidence. A scan, a comparison or an Elements load
    // started while this window is the main window's current document works on it.
    void setExport(QString path, scan::NodeInfo node, EncodingEvidence evidence);
    const QString& path() const { return path_; }
    const scan::NodeInfo& node() const { return node_; }
    const EncodingEvidence& evidence() const { return evidence_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOut();

    ExportTextView* textView_;
    FindBar* findBar_;
    QString path_;
    scan::NodeInfo node_;
    EncodingEvidence evidence_;
};

}  // namespace qor::gui
