// Finding text in the export: the matches, their count, the marks on screen, an element's
// first line and a line by number.
#include <QScrollBar>
#include <algorithm>
#include <string_view>

#include "gui/base/export_text_encoding.h"
#include "gui/document/export_text_lines.h"
#include "gui/document/export_text_view.h"

namespace qor::gui {

namespace {

std::string_view viewOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

QList<QByteArray> ExportTextView::needlesFor(const QString& text) const {
    if (text.isEmpty()) {
        return {};
    }
    QList<QByteArray> needles{text.toUtf8()};
    const std::optional<QByteArray> codePage = codePageBytes(text, encoding_.codePage());
    if (codePage && *codePage != needles.front()) {
        needles << *codePage;
    }
    return needles;
}

bool ExportTextView::find(const QString& text, bool backward, bool matchCase) {
    if (text.isEmpty() || bytes_.isEmpty()) {
        return false;
    }
    const QList<QByteArray> needles = needlesFor(text);
    const auto [from, to] = std::minmax(anchor_, cursor_);
    const qsizetype start =
        backward ? offsetOf(from) : offsetOf(hasSelection() ? from : to) + (hasSelection() ? 1 : 0);
    qsizetype best = -1;
    qsizetype length = 0;
    for (const qsizetype origin : {start, backward ? bytes_.size() : qsizetype{0}}) {
        for (const QByteArray& needle : needles) {
            const qsizetype at = search(viewOf(bytes_), needle, origin, backward, matchCase);
            if (at >= 0 && (best < 0 || (backward ? at > best : at < best))) {
                best = at;
                length = needle.size();
            }
        }
        if (best >= 0) {
            break;
        }
    }
    if (best < 0) {
        return false;
    }
    anchor_ = positionOf(best);
    cursor_ = positionOf(best + length);
    showPosition(anchor_);
    selectionChanged();
    return true;
}

void ExportTextView::goToLine(qsizetype index) {
    if (lineCount() == 0) {
        return;
    }
    const qsizetype line = std::clamp<qsizetype>(index, 0, lineCount() - 1);
    anchor_ = Position{line, 0};
    cursor_ = Position{line, lineSpan(line).size};
    showPosition(anchor_);
    selectionChanged();
}

void ExportTextView::showElementAt(qsizetype headerLine) {
    if (lineCount() == 0) {
        return;
    }
    const qsizetype from = std::clamp<qsizetype>(headerLine, 0, lineCount() - 1);
    qsizetype to = from;
    while (to + 1 < lineCount() && lineSpan(to + 1).size != 0) {
        ++to;
    }
    anchor_ = Position{from, 0};
    cursor_ = Position{to, lineSpan(to).size};
    // The element from its header down, as much of it as the page holds.
    QScrollBar* vertical = verticalScrollBar();
    if (from < vertical->value() || to >= vertical->value() + vertical->pageStep()) {
        const qsizetype span = to - from + 1;
        const qsizetype top =
            span >= vertical->pageStep() ? from : from - (vertical->pageStep() - span) / 2;
        vertical->setValue(static_cast<int>(std::clamp<qsizetype>(top, 0, vertical->maximum())));
    }
    horizontalScrollBar()->setValue(0);
    selectionChanged();
}

// Walks the matches in file order, each needle's next place kept, so that the file is read
// once however many needles there are.
ExportTextView::MatchCount ExportTextView::countMatches(const QString& text, bool matchCase,
                                                        qsizetype limit) const {
    MatchCount count;
    const QList<QByteArray> needles = needlesFor(text);
    const qsizetype selected = hasSelection() ? offsetOf(std::min(anchor_, cursor_)) : -1;
    std::vector<qsizetype> next;
    for (const QByteArray& needle : needles) {
        next.push_back(search(viewOf(bytes_), needle, 0, false, matchCase));
    }
    for (;;) {
        qsizetype at = -1;
        for (const qsizetype place : next) {
            if (place >= 0 && (at < 0 || place < at)) {
                at = place;
            }
        }
        if (at < 0) {
            break;
        }
        if (count.total == limit) {
            count.capped = true;
            break;
        }
        ++count.total;
        if (at == selected) {
            count.current = count.total;
        }
        for (qsizetype i = 0; i < needles.size(); ++i) {
            if (next[static_cast<size_t>(i)] == at) {
                next[static_cast<size_t>(i)] =
                    search(viewOf(bytes_), needles[i], at + 1, false, matchCase);
            }
        }
    }
    return count;
}

void ExportTextView::setHighlightedText(const QString& text, bool matchCase) {
    highlightedText_ = text;
    highlightMatchCase_ = matchCase;
    viewport()->update();
}

bool ExportTextView::showElement(QByteArrayView designation) {
    if (designation.isEmpty()) {
        return false;
    }
    for (qsizetype at = 0; at >= 0 && at < bytes_.size();) {
        const bool lineStart = at == 0 || bytes_[at - 1] == '\n' || bytes_[at - 1] == '\r';
        const qsizetype end = at + designation.size();
        if (lineStart && QByteArrayView(bytes_).sliced(at).startsWith(designation) &&
            (end == bytes_.size() || bytes_[end] == ' ' || bytes_[end] == '\t' ||
             bytes_[end] == '\r' || bytes_[end] == '\n')) {
            anchor_ = positionOf(at);
            cursor_ = positionOf(end);
            showPosition(anchor_);
            selectionChanged();
            return true;
        }
        at = bytes_.indexOf(designation, at + 1);
    }
    return false;
}

}  // namespace qor::gui
