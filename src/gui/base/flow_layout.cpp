#include "gui/base/flow_layout.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace qor::gui {

FlowLayout::FlowLayout(QWidget* parent) : QLayout(parent) {}

FlowLayout::~FlowLayout() {
    for (const Entry& entry : items_) {
        delete entry.item;
    }
}

void FlowLayout::addWidget(QWidget* widget, bool stretch) {
    addChildWidget(widget);
    items_.push_back({new QWidgetItem(widget), stretch});
    invalidate();
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.push_back({item, false});
    invalidate();
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)].item : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    QLayoutItem* item = items_[static_cast<std::size_t>(index)].item;
    items_.erase(items_.begin() + index);
    invalidate();
    return item;
}

int FlowLayout::gap() const {
    if (spacing() >= 0) {
        return spacing();
    }
    const QWidget* owner = parentWidget();
    return owner != nullptr
               ? owner->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, owner)
               : 6;
}

int FlowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const {
    // One item per line at the narrowest.
    QSize size;
    for (const Entry& entry : items_) {
        size = size.expandedTo(entry.item->minimumSize());
    }
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowLayout::sizeHint() const {
    // Everything on one line.
    int width = 0;
    int height = 0;
    for (const Entry& entry : items_) {
        if (entry.item->isEmpty()) {
            continue;
        }
        const QSize hint = entry.item->sizeHint();
        width += (width > 0 ? gap() : 0) + hint.width();
        height = std::max(height, hint.height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool apply) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int spacing = gap();
    int top = area.top();
    std::size_t first = 0;
    while (first < items_.size()) {
        // The items of this line: as many as fit, at least one.
        std::size_t end = first;
        int used = 0;
        int height = 0;
        int stretching = 0;
        for (; end < items_.size(); ++end) {
            const Entry& entry = items_[end];
            if (entry.item->isEmpty()) {
                continue;
            }
            const int width = std::min(entry.item->sizeHint().width(), area.width());
            const int needed = used + (used > 0 ? spacing : 0) + width;
            if (used > 0 && needed > area.width()) {
                break;
            }
            used = needed;
            height = std::max(height, entry.item->sizeHint().height());
            stretching += entry.stretch ? 1 : 0;
        }
        if (apply) {
            const int spare = std::max(0, area.width() - used);
            int x = area.left();
            int stretchIndex = 0;
            for (std::size_t i = first; i < end; ++i) {
                const Entry& entry = items_[i];
                if (entry.item->isEmpty()) {
                    continue;
                }
                const QSize hint = entry.item->sizeHint();
                int width = std::min(hint.width(), area.width());
                if (entry.stretch) {
                    // The last stretching item takes the rounding rest.
                    width += spare / stretching +
                             (++stretchIndex == stretching ? spare % stretching : 0);
                }
                const int itemHeight = std::min(hint.height(), height);
                entry.item->setGeometry(
                    QRect(x, top + (height - itemHeight) / 2, width, itemHeight));
                x += width + spacing;
            }
        }
        top += height + (end < items_.size() ? spacing : 0);
        first = end;
    }
    return top - area.top() + contentsMargins().top() + contentsMargins().bottom();
}

}  // namespace qor::gui
