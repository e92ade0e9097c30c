#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QTimer>
#include <compare>
#include <functional>
#include <vector>

#include "core/base/text_encoding.h"

class QAction;

namespace qor::gui {

struct ExportText;

// A read-only view of an export file that stays fast for files of a hundred megabytes: it keeps
// the file's bytes and an index of line starts, and paints only the lines on screen. Each line is
// decoded as exportText() decodes it under the export's encoding decision; CR LF, a lone CR and a
// lone LF each end one line.
class ExportTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Copies larger than this many bytes of the file are refused (see copy()).
    static constexpr qsizetype kDefaultCopyLimit = qsizetype{64} * 1024 * 1024;
    // Counting matches stops here, so that a common text in a huge file answers at once.
    static constexpr qsizetype kMatchCountLimit = 10000;

    // `current` numbers the match the selection starts on from 1 (0: on none); `capped` says
    // counting stopped at the limit, so that there are more than `total`.
    struct MatchCount {
        qsizetype current = 0;
        qsizetype total = 0;
        bool capped = false;
    };

    explicit ExportTextView(QWidget* parent = nullptr);

    // Replaces the shown text with the file's, read on this thread (readExportText). Throws
    // QorError with the file error text when the file cannot be opened or read; the previous
    // text then stays shown.
    void loadFile(const QString& path);
    // Replaces the shown text with an export read before, at its first line.
    void showText(ExportText text);
    void clear();
    // How the shown export's text is read (its decision, made when it was opened).
    void setTextEncoding(const ExportEncoding& encoding);

    qsizetype lineCount() const;
    // The line without its line end; tabs and control characters as they are in the file.
    QString lineText(qsizetype index) const;

    bool hasSelection() const { return anchor_ != cursor_; }
    // Lines of the selection joined with "\n".
    QString selectedText() const;
    void selectAll();
    // Selects the next place (or, `backward`, the one before) after the selection where
    // `text` stands, ASCII letters in any case unless `matchCase`, going round the end of the
    // file; false when it stands nowhere. The text is looked for as UTF-8 and as the code page's
    // bytes.
    bool find(const QString& text, bool backward = false, bool matchCase = false);
    // Line numbers in a margin left of the text; off at first.
    bool lineNumbersShown() const { return lineNumbersShown_; }
    void setLineNumbersShown(bool shown);
    // Selects line `index` (counted from 0, kept within the file) and scrolls it into view.
    void goToLine(qsizetype index);
    // Selects the lines of the element whose header is line `headerLine` (counted from 0, kept
    // within the file), down to the line before the next empty one as the scan reads an
    // element, and scrolls them into view, the header shown even when they do not fit.
    void showElementAt(qsizetype headerLine);
    // The line the cursor is on, counted from 0.
    qsizetype cursorLine() const { return cursor_.line; }
    // The places where find() would stop, counted over the whole file up to `limit`.
    MatchCount countMatches(const QString& text, bool matchCase,
                            qsizetype limit = kMatchCountLimit) const;
    // Marks every place on screen where `text` stands; an empty text marks none.
    void setHighlightedText(const QString& text, bool matchCase);
    // Selects `designation` on the first line it starts, followed by a blank or the line's end
    // (an element's first line), and scrolls it into view; false when no line does.
    bool showElement(QByteArrayView designation);
    // Puts the selection on the clipboard; a selection larger than copyLimit() is refused.
    void copy();
    qsizetype copyLimit() const { return copyLimit_; }
    // The width of a column, and the font the text is drawn with, each character that wide.
    int columnWidth() const { return charWidth_; }
    const QFont& paintFont() const { return paintFont_; }
    void setCopyLimit(qsizetype bytes) { copyLimit_ = bytes; }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A place between two characters: `column` counts characters of the line (a tab is one).
    // {lineCount(), 0} is the end of a file whose last line has a line end.
    struct Position {
        qsizetype line = 0;
        qsizetype column = 0;
        auto operator<=>(const Position&) const = default;
    };
    struct Span {
        const char* data;
        qsizetype size;
    };

    Span lineSpan(qsizetype index) const;
    QList<QByteArray> needlesFor(const QString& text) const;
    void paintMatches(QPainter& painter, Span span, int top, const QList<QByteArray>& needles,
                      const std::function<int(qint64)>& xOf);
    TextEncoding lineEncoding(Span span) const {
        return unitEncoding(std::string_view(span.data, static_cast<std::size_t>(span.size)),
                            encoding_);
    }
    qsizetype offsetOf(Position position) const;
    Position documentEnd() const;
    Position positionOf(qsizetype offset) const;
    void showPosition(Position position);
    Position positionAt(QPoint point) const;
    void paintLine(QPainter& painter, qsizetype index, int top, qint64 firstColumn,
                   qint64 columnCount, const QList<QByteArray>& needles);
    void updateMetrics();
    void updateScrollBars();
    void updateLineNumberMargin();
    void paintLineNumbers(QPaintEvent* event);
    void dragTo(QPoint point);
    void autoScroll();
    void selectionChanged();

    QByteArray bytes_;
    ExportEncoding encoding_;
    std::vector<quint32> starts_;  // one per line plus the end of the file; empty when no lines
    qint64 widestColumns_ = 0;
    Position anchor_;
    Position cursor_;
    bool dragging_ = false;
    QPoint dragPoint_;
    QTimer autoScrollTimer_;
    QFont paintFont_;  // font() with its advance rounded to whole pixels: charWidth_
    int charWidth_ = 1;
    int lineHeight_ = 1;
    int ascent_ = 0;
    QChar substitute_;
    qsizetype copyLimit_ = kDefaultCopyLimit;
    QString highlightedText_;
    bool highlightMatchCase_ = false;
    QAction* copyAction_;
    QAction* selectAllAction_;
    QWidget* lineNumberMargin_;
    bool lineNumbersShown_ = false;
};

}  // namespace qor::gui
