#include "gui/document/export_text_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "gui/base/export_text_encoding.h"
#include "gui/document/export_text_file.h"
#include "gui/document/export_text_lines.h"

namespace qor::gui {

namespace {

constexpr int kLeftMargin = 4;
constexpr int kTopMargin = 2;
constexpr int kAutoScrollMs = 50;

// The margin beside the viewport where the view paints line numbers; it scrolls with the text.
class LineNumberMargin : public QWidget {
public:
    LineNumberMargin(QWidget* parent, std::function<void(QPaintEvent*)> paint)
        : QWidget(parent), paint_(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent* event) override { paint_(event); }

private:
    std::function<void(QPaintEvent*)> paint_;
};

// A font the column grid fits: the one the system finds for the request says it is fixed pitch,
// and its characters are as wide as its digits.
bool monospaced(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('0'));
    const auto asWide = [&](char16_t c) {
        return qFuzzyCompare(metrics.horizontalAdvance(QChar(c)), advance);
    };
    return QFontInfo(font).fixedPitch() && advance > 0 && asWide(u'i') && asWide(u'W') &&
           asWide(u'.');
}

// Courier where it is monospaced, else the system's fixed font, else a common monospaced
// family, else any fixed-pitch family installed: a system may lack the fixed font it names
// (a new wine prefix has no Courier New) and then hands out a proportional one.
QFont monospaceFont() {
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const QFont& font : {courier, system}) {
        if (monospaced(font)) {
            return font;
        }
    }
    for (const char* family : {"Courier New", "Consolas", "Lucida Console", "DejaVu Sans Mono",
                               "Liberation Mono", "Noto Sans Mono", "Nimbus Mono PS"}) {
        const QFont font(QString::fromLatin1(family));
        if (monospaced(font)) {
            return font;
        }
    }
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family) && monospaced(QFont(family))) {
            return QFont(family);
        }
    }
    return system;
}

int clampToInt(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

}  // namespace

ExportTextView::ExportTextView(QWidget* parent)
    : QAbstractScrollArea(parent),
      copyAction_(new QAction(tr("Copy"), this)),
      selectAllAction_(new QAction(tr("Select All"), this)),
      lineNumberMargin_(
          new LineNumberMargin(this, [this](QPaintEvent* event) { paintLineNumbers(event); })) {
    lineNumberMargin_->setObjectName(QStringLiteral("lineNumbers"));
    lineNumberMargin_->hide();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    setFont(monospaceFont());

    // The shortcuts are handled in keyPressEvent; here they only label the context menu.
    copyAction_->setObjectName(QStringLiteral("actCopy"));
    copyAction_->setShortcut(QKeySequence::Copy);
    copyAction_->setShortcutContext(Qt::WidgetShortcut);
    copyAction_->setShortcutVisibleInContextMenu(true);
    copyAction_->setEnabled(false);
    selectAllAction_->setObjectName(QStringLiteral("actSelectAll"));
    selectAllAction_->setShortcut(QKeySequence::SelectAll);
    selectAllAction_->setShortcutContext(Qt::WidgetShortcut);
    selectAllAction_->setShortcutVisibleInContextMenu(true);
    connect(copyAction_, &QAction::triggered, this, &ExportTextView::copy);
    connect(selectAllAction_, &QAction::triggered, this, &ExportTextView::selectAll);

    autoScrollTimer_.setInterval(kAutoScrollMs);
    connect(&autoScrollTimer_, &QTimer::timeout, this, &ExportTextView::autoScroll);
    updateMetrics();
    updateScrollBars();
}

void ExportTextView::loadFile(const QString& path) {
    showText(std::move(*readExportText(path)));
}

void ExportTextView::showText(ExportText text) {
    bytes_.swap(text.bytes);
    starts_.swap(text.index.starts);
    widestColumns_ = text.index.widestColumns;
    anchor_ = cursor_ = Position{};
    dragging_ = false;
    autoScrollTimer_.stop();
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateLineNumberMargin();
    selectionChanged();
    viewport()->update();
}

void ExportTextView::setTextEncoding(const ExportEncoding& encoding) {
    encoding_ = encoding;
    viewport()->update();
}

void ExportTextView::clear() {
    bytes_ = QByteArray();
    starts_ = std::vector<quint32>();
    widestColumns_ = 0;
    anchor_ = cursor_ = Position{};
    dragging_ = false;
    autoScrollTimer_.stop();
    updateScrollBars();
    updateLineNumberMargin();
    selectionChanged();
}

void ExportTextView::setLineNumbersShown(bool shown) {
    lineNumbersShown_ = shown;
    updateLineNumberMargin();
}

// The margin is as wide as the largest line number, so that it does not change while scrolling.
void ExportTextView::updateLineNumberMargin() {
    int width = 0;
    if (lineNumbersShown_) {
        const int digits =
            static_cast<int>(QString::number(std::max<qsizetype>(1, lineCount())).size());
        width = (digits + 1) * charWidth_ + kLeftMargin;
    }
    setViewportMargins(width, 0, 0, 0);
    const QRect contents = contentsRect();
    lineNumberMargin_->setGeometry(contents.left(), contents.top(), width, viewport()->height());
    lineNumberMargin_->setVisible(lineNumbersShown_);
    lineNumberMargin_->update();
    updateScrollBars();
}

void ExportTextView::paintLineNumbers(QPaintEvent* event) {
    QPainter painter(lineNumberMargin_);
    painter.fillRect(event->rect(), palette().window());
    painter.setFont(paintFont_);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int right = lineNumberMargin_->width() - charWidth_;
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype rows = lineNumberMargin_->height() / lineHeight_ + 2;
    for (qsizetype row = 0; row < rows && first + row < lineCount(); ++row) {
        const QString number = QString::number(first + row + 1);
        const int top = kTopMargin + static_cast<int>(row) * lineHeight_;
        painter.drawText(right - static_cast<int>(number.size()) * charWidth_, top + ascent_,
                         number);
    }
}

qsizetype ExportTextView::lineCount() const {
    return starts_.empty() ? 0 : static_cast<qsizetype>(starts_.size()) - 1;
}

QString ExportTextView::lineText(qsizetype index) const {
    if (index < 0 || index >= lineCount()) {
        return {};
    }
    const Span span = lineSpan(index);
    return decodedText(std::string_view(span.data, static_cast<std::size_t>(span.size)),
                       lineEncoding(span));
}

QString ExportTextView::selectedText() const {
    if (!hasSelection()) {
        return {};
    }
    const auto [from, to] = std::minmax(anchor_, cursor_);
    QString text;
    text.reserve(offsetOf(to) - offsetOf(from));
    for (qsizetype index = from.line; index <= to.line; ++index) {
        const Span span = lineSpan(index);
        const qsizetype begin = index == from.line ? from.column : 0;
        const qsizetype end = index == to.line ? to.column : span.size;
        // Decoded as its whole line is, so that a part reads as the line shows it.
        text.append(
            decodedText(std::string_view(span.data + begin, static_cast<std::size_t>(end - begin)),
                        lineEncoding(span)));
        if (index < to.line) {
            text.append(QLatin1Char('\n'));
        }
    }
    return text;
}

void ExportTextView::selectAll() {
    anchor_ = Position{};
    cursor_ = documentEnd();
    selectionChanged();
}

// A selection beyond the limit is refused with a beep and the clipboard keeps what it had:
// building and handing over hundreds of megabytes would stall the program, and a silently
// shortened copy would pass for the whole selection.
void ExportTextView::copy() {
    if (!hasSelection()) {
        return;
    }
    const auto [from, to] = std::minmax(anchor_, cursor_);
    if (offsetOf(to) - offsetOf(from) > copyLimit_) {
        QApplication::beep();
        return;
    }
    QGuiApplication::clipboard()->setText(selectedText());
}

ExportTextView::Position ExportTextView::positionOf(qsizetype offset) const {
    const auto after =
        std::upper_bound(starts_.begin(), starts_.end() - 1, static_cast<quint32>(offset));
    const qsizetype line = (after - starts_.begin()) - 1;
    return {line, offset - starts_[static_cast<size_t>(line)]};
}

void ExportTextView::showPosition(Position position) {
    QScrollBar* vertical = verticalScrollBar();
    if (position.line < vertical->value() ||
        position.line >= vertical->value() + vertical->pageStep()) {
        vertical->setValue(clampToInt(position.line - vertical->pageStep() / 2));
    }
    const Span span = lineSpan(position.line);
    const qint64 x =
        columnOf(span.data, position.column, lineEncoding(span) == TextEncoding::Utf8) * charWidth_;
    QScrollBar* horizontal = horizontalScrollBar();
    if (x < horizontal->value() || x >= horizontal->value() + viewport()->width() - charWidth_) {
        horizontal->setValue(clampToInt(x - viewport()->width() / 2));
    }
}

ExportTextView::Span ExportTextView::lineSpan(qsizetype index) const {
    if (index >= lineCount()) {
        return {bytes_.constData() + bytes_.size(), 0};
    }
    const char* begin = bytes_.constData() + starts_[static_cast<size_t>(index)];
    const qsizetype raw =
        starts_[static_cast<size_t>(index) + 1] - starts_[static_cast<size_t>(index)];
    return {begin, withoutLineEnd(begin, raw)};
}

qsizetype ExportTextView::offsetOf(Position position) const {
    return starts_.empty() ? 0 : starts_[static_cast<size_t>(position.line)] + position.column;
}

ExportTextView::Position ExportTextView::documentEnd() const {
    const qsizetype count = lineCount();
    if (count == 0) {
        return {};
    }
    const Span last = lineSpan(count - 1);
    if (offsetOf({count - 1, last.size}) < bytes_.size()) {
        return {count, 0};  // past the final line end, so that copying all gives the whole file
    }
    return {count - 1, last.size};
}

ExportTextView::Position ExportTextView::positionAt(QPoint point) const {
    if (lineCount() == 0) {
        return {};
    }
    const int y = point.y() - kTopMargin;
    const qsizetype row = y >= 0 ? y / lineHeight_ : -1 - (-y - 1) / lineHeight_;
    const qsizetype index = verticalScrollBar()->value() + row;
    if (index < 0) {
        return {};
    }
    if (index >= lineCount()) {
        return documentEnd();
    }
    const Span span = lineSpan(index);
    const double column =
        static_cast<double>(point.x() - kLeftMargin + horizontalScrollBar()->value()) / charWidth_;
    return {index,
            indexNear(span.data, span.size, column, lineEncoding(span) == TextEncoding::Utf8)};
}

void ExportTextView::updateMetrics() {
    // Columns are whole pixels wide, and the text is drawn on that grid: a font whose advance
    // is fractional would otherwise drift away from the matches, the selection and the clicks,
    // which are all placed by column.
    const QFontMetricsF exact(font());
    const qreal advance = exact.horizontalAdvance(QLatin1Char('0'));
    charWidth_ = std::max(1, qRound(advance));
    paintFont_ = font();
    paintFont_.setLetterSpacing(QFont::AbsoluteSpacing, charWidth_ - advance);
    const QFontMetrics metrics(paintFont_);
    lineHeight_ = std::max(1, metrics.lineSpacing());
    ascent_ = metrics.ascent();
    const QChar replacement(QChar::ReplacementCharacter);
    substitute_ =
        exact.inFont(replacement) && qFuzzyCompare(exact.horizontalAdvance(replacement), advance)
            ? replacement
            : QChar(0xB7);
}

void ExportTextView::updateScrollBars() {
    const int rows = std::max(1, (viewport()->height() - kTopMargin) / lineHeight_);
    verticalScrollBar()->setRange(0, clampToInt(lineCount() - rows));
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(rows);
    const qint64 contentWidth = 2 * kLeftMargin + widestColumns_ * charWidth_;
    horizontalScrollBar()->setRange(0, clampToInt(contentWidth - viewport()->width()));
    horizontalScrollBar()->setSingleStep(charWidth_);
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
}

void ExportTextView::selectionChanged() {
    copyAction_->setEnabled(hasSelection());
    viewport()->update();
}

bool ExportTextView::event(QEvent* event) {
    // Copy and Select All belong to the view while it has the focus, even when the main window
    // carries commands with the same keys.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key == QKeySequence::Copy || key == QKeySequence::SelectAll) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void ExportTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        updateLineNumberMargin();
        viewport()->update();
    }
}

void ExportTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateLineNumberMargin();
}

void ExportTextView::scrollContentsBy(int /*dx*/, int dy) {
    viewport()->update();
    if (dy != 0) {
        lineNumberMargin_->update();
    }
}

void ExportTextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().base());
    painter.setFont(paintFont_);
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype rows = viewport()->height() / lineHeight_ + 2;
    const qint64 firstColumn =
        std::max(0, horizontalScrollBar()->value() - kLeftMargin) / charWidth_;
    const qint64 columnCount = viewport()->width() / charWidth_ + 2;
    const QList<QByteArray> needles = needlesFor(highlightedText_);
    for (qsizetype row = 0; row < rows && first + row < lineCount(); ++row) {
        paintLine(painter, first + row, kTopMargin + static_cast<int>(row) * lineHeight_,
                  firstColumn, columnCount, needles);
    }
}

// Matches are marked in a light tint of the selection colour, which keeps the text readable
// and the selection itself distinct.
void ExportTextView::paintMatches(QPainter& painter, Span span, int top,
                                  const QList<QByteArray>& needles,
                                  const std::function<int(qint64)>& xOf) {
    const bool utf8 = lineEncoding(span) == TextEncoding::Utf8;
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlpha(90);
    const std::string_view line(span.data, static_cast<std::size_t>(span.size));
    for (const QByteArray& needle : needles) {
        for (qsizetype at = search(line, needle, 0, false, highlightMatchCase_); at >= 0;
             at = search(line, needle, at + needle.size(), false, highlightMatchCase_)) {
            const int left = xOf(columnOf(span.data, at, utf8));
            const int right = xOf(columnOf(span.data, at + needle.size(), utf8));
            painter.fillRect(QRect(left, top, right - left, lineHeight_), tint);
        }
    }
}

void ExportTextView::paintLine(QPainter& painter, qsizetype index, int top, qint64 firstColumn,
                               qint64 columnCount, const QList<QByteArray>& needles) {
    const Span span = lineSpan(index);
    const TextEncoding encoding = lineEncoding(span);
    const bool utf8 = encoding == TextEncoding::Utf8;
    const QString text =
        visibleText(span.data, span.size, firstColumn, columnCount, substitute_, encoding);
    const qint64 offset = horizontalScrollBar()->value() - kLeftMargin;
    const int width = viewport()->width();
    // Far-right columns of a long line would overflow int; only the clamped edges are drawn.
    const auto xOf = [&](qint64 column) {
        return static_cast<int>(std::clamp<qint64>(column * charWidth_ - offset, -charWidth_,
                                                   qint64{width} + charWidth_));
    };
    const QPoint baseline(xOf(firstColumn), top + ascent_);
    if (!needles.isEmpty()) {
        paintMatches(painter, span, top, needles, xOf);
    }

    QRect selected;
    const auto [from, to] = std::minmax(anchor_, cursor_);
    if (hasSelection() && from.line <= index && index <= to.line) {
        const qsizetype begin = index == from.line ? from.column : 0;
        const qsizetype end = index == to.line ? to.column : span.size;
        // A selected line end shows as one highlighted cell after the text.
        const qint64 endColumn = columnOf(span.data, end, utf8) + (index < to.line ? 1 : 0);
        const int left = xOf(columnOf(span.data, begin, utf8));
        selected = QRect(left, top, xOf(endColumn) - left, lineHeight_);
    }
    if (selected.isEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(baseline, text);
        return;
    }
    painter.fillRect(selected, palette().highlight());
    painter.save();
    painter.setClipRegion(QRegion(0, top, width, lineHeight_).subtracted(selected));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(baseline, text);
    painter.setClipRect(selected);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(baseline, text);
    painter.restore();
}

}  // namespace qor::gui
