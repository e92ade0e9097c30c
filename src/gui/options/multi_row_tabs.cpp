#include "gui/options/multi_row_tabs.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStringList>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <algorithm>
#include <bit>

namespace qor::gui {
namespace {

constexpr int kMaximumLines = 3;
constexpr int kHorizontalPadding = 8;
constexpr int kVerticalPadding = 5;
constexpr int kPageMargin = 9;

// The caption broken at blanks into at most `maximumLines` lines so that its widest line
// is as narrow as possible; among equally narrow breaks the one with fewer lines wins.
QString wrapCaption(const QString& caption, int maximumLines, const QFontMetrics& metrics) {
    const QStringList words = caption.split(' ', Qt::SkipEmptyParts);
    QString best = caption;
    int bestWidth = metrics.horizontalAdvance(caption);
    int bestLines = 1;
    // Each bit of `breaks` marks a line break after the word of that position. Tab captions
    // are a few words; a long one is left on one line rather than tried every way.
    constexpr int kMostGaps = 8;
    const int gaps = static_cast<int>(words.size()) - 1;
    for (unsigned breaks = 1; gaps > 0 && gaps <= kMostGaps && breaks < (1U << gaps); ++breaks) {
        const int lines = 1 + static_cast<int>(std::popcount(breaks));
        if (lines > maximumLines) {
            continue;
        }
        QStringList rows{words.front()};
        for (int word = 1; word <= gaps; ++word) {
            if ((breaks >> (word - 1)) & 1U) {
                rows << words[word];
            } else {
                rows.back() += ' ' + words[word];
            }
        }
        int width = 0;
        for (const QString& row : rows) {
            width = std::max(width, metrics.horizontalAdvance(row));
        }
        if (width < bestWidth || (width == bestWidth && lines < bestLines)) {
            best = rows.join('\n');
            bestWidth = width;
            bestLines = lines;
        }
    }
    return best;
}

}  // namespace

MultiRowTabWidget::MultiRowTabWidget(int tabsPerRow, QWidget* parent)
    : QWidget(parent),
      preferredTabsPerRow_(std::max(1, tabsPerRow)),
      tabsPerRow_(preferredTabsPerRow_),
      pages_(new QStackedWidget(this)) {
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

int MultiRowTabWidget::addTab(QWidget* page, const QString& caption) {
    pages_->addWidget(page);
    captions_.push_back(caption);
    if (current_ < 0) {
        current_ = 0;
        pages_->setCurrentIndex(0);
    }
    updateGeometry();
    placePages();
    update();
    return count() - 1;
}

QString MultiRowTabWidget::tabText(int index) const {
    return index >= 0 && index < count() ? captions_[static_cast<std::size_t>(index)] : QString();
}

QWidget* MultiRowTabWidget::widget(int index) const {
    return pages_->widget(index);
}

void MultiRowTabWidget::setCurrentIndex(int index) {
    if (index < 0 || index >= count() || index == current_) {
        return;
    }
    current_ = index;
    pages_->setCurrentIndex(index);
    update();
    emit currentChanged(index);
}

int MultiRowTabWidget::rowCount() const {
    return (count() + tabsPerRow_ - 1) / tabsPerRow_;
}

void MultiRowTabWidget::fitRowsTo(int width) {
    for (tabsPerRow_ = preferredTabsPerRow_; tabsPerRow_ > 1; --tabsPerRow_) {
        const Layout layout = layoutFor(width);
        int widest = 0;
        for (int row = 0; row < rowCount(); ++row) {
            widest = std::max(widest, naturalRowWidth(layout, row));
        }
        if (widest <= width) {
            break;
        }
    }
    updateGeometry();
    placePages();
    update();
}

int MultiRowTabWidget::Layout::height() const {
    int total = 0;
    for (const int rowHeight : rowHeights) {
        total += rowHeight;
    }
    return total;
}

MultiRowTabWidget::Layout MultiRowTabWidget::layoutFor(int maximumRowWidth) const {
    const QFontMetrics metrics = fontMetrics();
    Layout layout;
    for (int lines = 1; lines <= kMaximumLines; ++lines) {
        layout = Layout{};
        layout.rowHeights.assign(static_cast<std::size_t>(rowCount()), 0);
        for (int i = 0; i < count(); ++i) {
            const QString wrapped =
                wrapCaption(captions_[static_cast<std::size_t>(i)], lines, metrics);
            const QStringList rows = wrapped.split('\n');
            int widest = 0;
            for (const QString& row : rows) {
                widest = std::max(widest, metrics.horizontalAdvance(row));
            }
            layout.wrapped.push_back(wrapped);
            layout.naturalWidths.push_back(widest + 2 * kHorizontalPadding);
            const int height =
                static_cast<int>(rows.size()) * metrics.lineSpacing() + 2 * kVerticalPadding;
            int& rowHeight = layout.rowHeights[static_cast<std::size_t>(i / tabsPerRow_)];
            rowHeight = std::max(rowHeight, height);
        }
        int widestRow = 0;
        for (int row = 0; row < rowCount(); ++row) {
            widestRow = std::max(widestRow, naturalRowWidth(layout, row));
        }
        if (widestRow <= maximumRowWidth) {
            break;
        }
    }
    return layout;
}

std::vector<int> MultiRowTabWidget::rowsTopDown() const {
    const int currentRow = std::max(current_, 0) / tabsPerRow_;
    std::vector<int> rows;
    for (int row = 0; row < rowCount(); ++row) {
        if (row != currentRow) {
            rows.push_back(row);
        }
    }
    rows.push_back(currentRow);
    return rows;
}

int MultiRowTabWidget::naturalRowWidth(const Layout& layout, int row) const {
    int width = 0;
    for (int i = row * tabsPerRow_; i < std::min(count(), (row + 1) * tabsPerRow_); ++i) {
        width += layout.naturalWidths[static_cast<std::size_t>(i)];
    }
    return width;
}

QRect MultiRowTabWidget::tabRect(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    const Layout layout = layoutFor(width());
    const int row = index / tabsPerRow_;
    int top = 0;
    for (const int above : rowsTopDown()) {
        if (above == row) {
            break;
        }
        top += layout.rowHeights[static_cast<std::size_t>(above)];
    }
    const int first = row * tabsPerRow_;
    const int last = std::min(count(), first + tabsPerRow_) - 1;
    // Full rows are stretched across the control; a short last row keeps its natural widths.
    const bool full = last - first + 1 == tabsPerRow_ && rowCount() > 1;
    const int extra = full ? std::max(0, width() - naturalRowWidth(layout, row)) : 0;
    const int tabs = last - first + 1;
    int x = 0;
    for (int i = first; i < index; ++i) {
        x += layout.naturalWidths[static_cast<std::size_t>(i)] + extra / tabs;
    }
    int w = layout.naturalWidths[static_cast<std::size_t>(index)] + extra / tabs;
    if (full && index == last) {
        w = width() - x;
    }
    return QRect(x, top, w, layout.rowHeights[static_cast<std::size_t>(row)]);
}

int MultiRowTabWidget::tabAt(const QPoint& point) const {
    for (int i = 0; i < count(); ++i) {
        if (tabRect(i).contains(point)) {
            return i;
        }
    }
    return -1;
}

QRect MultiRowTabWidget::paneRect() const {
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    const int top = layoutFor(width()).height() - overlap;
    return QRect(0, top, width(), height() - top);
}

QSize MultiRowTabWidget::sizeHint() const {
    // No page is given less than it needs, whatever its controls would rather have.
    return sizeAround(pages_->sizeHint().expandedTo(pages_->minimumSizeHint()));
}

QSize MultiRowTabWidget::minimumSizeHint() const {
    return sizeAround(pages_->minimumSizeHint());
}

QSize MultiRowTabWidget::sizeAround(const QSize& pages) const {
    const int pageWidth = pages.width() + 2 * kPageMargin;
    const Layout layout = layoutFor(pageWidth);
    int width = pageWidth;
    for (int row = 0; row < rowCount(); ++row) {
        width = std::max(width, naturalRowWidth(layout, row));
    }
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    return QSize(width, layout.height() - overlap + pages.height() + 2 * kPageMargin);
}

void MultiRowTabWidget::placePages() {
    pages_->setGeometry(paneRect().adjusted(kPageMargin, kPageMargin, -kPageMargin, -kPageMargin));
}

void MultiRowTabWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePages();
}

void MultiRowTabWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = paneRect();
    frame.shape = QTabBar::RoundedNorth;
    frame.selectedTabRect = tabRect(current_);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);

    const Layout layout = layoutFor(width());
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    // The selected tab is drawn last so that it covers the pane's edge beneath it.
    std::vector<int> order;
    for (int i = 0; i < count(); ++i) {
        if (i != current_) {
            order.push_back(i);
        }
    }
    if (current_ >= 0) {
        order.push_back(current_);
    }
    for (const int i : order) {
        const int first = i / tabsPerRow_ * tabsPerRow_;
        const int last = std::min(count(), first + tabsPerRow_) - 1;
        const QRect placed = tabRect(i);
        QStyleOptionTab tab;
        tab.initFrom(this);
        tab.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        // Styles draw a tab as if its bar began at the top of the widget: some size the
        // selected tab's join with the page from the rectangle's bottom edge. So each tab is
        // drawn at the top of a translated painter, clipped to itself and the join.
        tab.rect = QRect(0, 0, placed.width(), placed.height());
        tab.shape = QTabBar::RoundedNorth;
        tab.row = i / tabsPerRow_;
        tab.position = first == last ? QStyleOptionTab::OnlyOneTab
                       : i == first  ? QStyleOptionTab::Beginning
                       : i == last   ? QStyleOptionTab::End
                                     : QStyleOptionTab::Middle;
        tab.selectedPosition = i + 1 == current_   ? QStyleOptionTab::NextIsSelected
                               : i - 1 == current_ ? QStyleOptionTab::PreviousIsSelected
                                                   : QStyleOptionTab::NotAdjacent;
        if (i == current_) {
            tab.state |= QStyle::State_Selected;
        }
        if (i == hovered_) {
            tab.state |= QStyle::State_MouseOver;
        }
        painter.save();
        painter.translate(placed.topLeft());
        painter.setClipRect(tab.rect.adjusted(0, 0, 0, i == current_ ? overlap : 0));
        style()->drawControl(QStyle::CE_TabBarTabShape, &tab, &painter, this);
        const QRect text = tab.rect.adjusted(kHorizontalPadding, kVerticalPadding,
                                             -kHorizontalPadding, -kVerticalPadding + 1);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(text, Qt::AlignCenter, layout.wrapped[static_cast<std::size_t>(i)]);
        if (i == current_ && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = tab.rect.adjusted(3, 3, -3, -2);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
        painter.restore();
    }
}

void MultiRowTabWidget::mousePressEvent(QMouseEvent* event) {
    const int index = event->button() == Qt::LeftButton ? tabAt(event->position().toPoint()) : -1;
    if (index < 0) {
        event->ignore();
        return;
    }
    setCurrentIndex(index);
}

void MultiRowTabWidget::mouseMoveEvent(QMouseEvent* event) {
    const int index = tabAt(event->position().toPoint());
    if (index != hovered_) {
        hovered_ = index;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void MultiRowTabWidget::leaveEvent(QEvent* event) {
    hovered_ = -1;
    update();
    QWidget::leaveEvent(event);
}

void MultiRowTabWidget::keyPressEvent(QKeyEvent* event) {
    if (count() == 0) {
        event->ignore();
        return;
    }
    const bool control = event->modifiers() & Qt::ControlModifier;
    int step = 0;
    if (control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown)) {
        step = 1;
    } else if (control && (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp)) {
        step = -1;
    } else if (hasFocus() && event->key() == Qt::Key_Right) {
        step = 1;
    } else if (hasFocus() && event->key() == Qt::Key_Left) {
        step = -1;
    }
    if (step == 0) {
        event->ignore();
        return;
    }
    setCurrentIndex((current_ + step + count()) % count());
}

}  // namespace qor::gui
