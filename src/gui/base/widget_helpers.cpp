#include "gui/base/widget_helpers.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QPalette>
#include <QProgressBar>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <climits>

namespace qor::gui {
namespace {

const QScreen* screenOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

double relativeLuminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

QColor readableOn(const QColor& base, const QPalette& palette) {
    const QColor background = palette.color(QPalette::Window);
    if (background.lightness() >= 128) {
        return base;
    }
    QColor shade = base;
    for (int lightness = base.lightness(); lightness <= 255; lightness += 4) {
        shade = QColor::fromHsl(base.hslHue(), base.hslSaturation(), lightness);
        if (contrastRatio(shade, background) >= 4.5 &&
            contrastRatio(shade, palette.color(QPalette::Base)) >= 4.5) {
            break;
        }
    }
    return shade;
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor enabledColor(const QPalette& palette) {
    return readableOn(QColor(0, 0, 192), palette);
}

QColor disabledColor(const QPalette& palette) {
    return readableOn(QColor(192, 0, 0), palette);
}

void setCaptionColor(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget.setPalette(palette);
}

int captionWidth(const QWidget& window) {
    // Title bars draw the caption in a bold face of about the application font; the icon,
    // three buttons and the margins take some 140 pixels besides.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + 140;
}

void keepCaptionWhole(QWidget& window, QBoxLayout& layout) {
    const QMargins margins = layout.contentsMargins();
    layout.addSpacerItem(new QSpacerItem(captionWidth(window) - margins.left() - margins.right(), 0,
                                         QSizePolicy::Fixed, QSizePolicy::Fixed));
}

QSize frameRoom(const QWidget& window) {
    // A window manager draws frames at its own scale, which need not be the program's: at a
    // large scale they take fewer of the program's pixels than the guess.
    const QWidget* owner =
        window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
    if (owner != nullptr && owner->isVisible() && !owner->isMaximized()) {
        const QSize frame = owner->frameGeometry().size() - owner->size();
        if (frame.height() > 0) {
            return frame;
        }
    }
    return {16, 48};
}

QSize screenRoom(const QWidget& window) {
    const QScreen* shown =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    return shown != nullptr ? shown->availableGeometry().size() - frameRoom(window)
                            : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void fitScrolledContent(QWidget& dialog, QScrollArea& scroll, const QWidget& content, int width) {
    const QSize natural = content.sizeHint();
    scroll.setFixedSize(std::min(natural.width(), width), natural.height());
    const int excess = dialog.layout()->sizeHint().height() - screenRoom(dialog).height();
    if (excess > 0) {
        const int bar = dialog.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &dialog);
        scroll.setFixedSize(std::min(natural.width() + bar, width),
                            std::max(natural.height() - excess, 3 * dialog.fontMetrics().height()));
    }
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = screenOf(window);
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize size = window.frameGeometry().size();
    const int left = area.left() + (area.width() - size.width()) / 2;
    const int top = area.top() + (area.height() - size.height()) / 2;
    // Never above the top of the screen, so that the title bar stays within reach.
    window.move(left, std::max(top, area.top()));
}

void showScaledProgress(QProgressBar& bar, long long value, long long maximum) {
    const long long scale = maximum > INT_MAX ? maximum / INT_MAX + 1 : 1;
    bar.setMaximum(static_cast<int>(maximum / scale));
    bar.setValue(static_cast<int>(std::min(value, maximum) / scale));
}

}  // namespace qor::gui
