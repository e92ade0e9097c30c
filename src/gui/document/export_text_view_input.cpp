// The export text view's keyboard, mouse and context-menu handling: moving the cursor and
// extending the selection the way a read-only text box does.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "gui/base/export_text_encoding.h"
#include "gui/document/export_text_view.h"

namespace qor::gui {

void ExportTextView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
        case Qt::Key_Up:
            vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Down:
            vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_PageUp:
            vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case Qt::Key_PageDown:
            vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case Qt::Key_Left:
            horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Right:
            horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_Home:
            (control ? vertical : horizontal)->triggerAction(QAbstractSlider::SliderToMinimum);
            break;
        case Qt::Key_End:
            (control ? vertical : horizontal)->triggerAction(QAbstractSlider::SliderToMaximum);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

void ExportTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    cursor_ = positionAt(point);
    if (!event->modifiers().testFlag(Qt::ShiftModifier)) {
        anchor_ = cursor_;
    }
    dragging_ = true;
    dragPoint_ = point;
    selectionChanged();
}

void ExportTextView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && event->buttons().testFlag(Qt::LeftButton)) {
        dragTo(event->position().toPoint());
    }
}

void ExportTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        return;
    }
    dragTo(event->position().toPoint());
    dragging_ = false;
    autoScrollTimer_.stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto [from, to] = std::minmax(anchor_, cursor_);
    if (clipboard->supportsSelection() && hasSelection() &&
        offsetOf(to) - offsetOf(from) <= copyLimit_) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void ExportTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || lineCount() == 0) {
        return;
    }
    const Position at = positionAt(event->position().toPoint());
    const Span span = lineSpan(at.line);
    const TextEncoding encoding = lineEncoding(span);
    const auto isWord = [&](qsizetype i) {
        const auto byte = static_cast<unsigned char>(span.data[i]);
        if (encoding == TextEncoding::Utf8) {
            return byte >= 0x80 || QChar(QLatin1Char(span.data[i])).isLetterOrNumber() ||
                   byte == '_';
        }
        const QChar c(static_cast<char16_t>(codePageCharacter(byte, encoding)));
        return c.isLetterOrNumber() || c == QLatin1Char('_');
    };
    qsizetype begin = at.column;
    qsizetype end = at.column;
    while (begin > 0 && isWord(begin - 1)) {
        --begin;
    }
    while (end < span.size && isWord(end)) {
        ++end;
    }
    anchor_ = {at.line, begin};
    cursor_ = {at.line, end};
    dragging_ = false;
    selectionChanged();
}

void ExportTextView::contextMenuEvent(QContextMenuEvent* event) {
    copyAction_->setEnabled(hasSelection());
    selectAllAction_->setEnabled(lineCount() > 0);
    QMenu menu(this);
    menu.addAction(copyAction_);
    menu.addAction(selectAllAction_);
    menu.exec(event->globalPos());
}

void ExportTextView::dragTo(QPoint point) {
    dragPoint_ = point;
    cursor_ = positionAt(point);
    if (viewport()->rect().contains(point)) {
        autoScrollTimer_.stop();
    } else if (!autoScrollTimer_.isActive()) {
        autoScrollTimer_.start();
    }
    selectionChanged();
}

// While the mouse is held outside the text, the text moves under it and the selection follows.
void ExportTextView::autoScroll() {
    if (!dragging_) {
        autoScrollTimer_.stop();
        return;
    }
    const QRect area = viewport()->rect();
    if (dragPoint_.y() < area.top()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (dragPoint_.y() > area.bottom()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    if (dragPoint_.x() < area.left()) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (dragPoint_.x() > area.right()) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    cursor_ = positionAt(dragPoint_);
    selectionChanged();
}

}  // namespace qor::gui
