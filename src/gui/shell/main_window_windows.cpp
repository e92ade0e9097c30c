// The Window menu: arranging the document window and the windows of changes, moving between
// them and closing them, and the list of them.
#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <algorithm>

#include "gui/shell/main_window.h"
#include "gui/shell/recent_files.h"

namespace qor::gui {
namespace {

// The windows that take part in arranging: minimised ones stay where they are.
QList<QMdiSubWindow*> shownWindows(const QMdiArea& area) {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (!window->isMinimized()) {
            shown << window;
        }
    }
    return shown;
}

// A strip narrower than this holds too little to read: the windows then go in a grid.
int smallestStrip(const QWidget& window) {
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) +
           8 * window.fontMetrics().lineSpacing();
}

}  // namespace

void MainWindow::updateWindowCommands() {
    const bool any = !mdiArea_->subWindowList().isEmpty();
    for (QAction* command : {actions_.closeWindow, actions_.closeAllWindows, actions_.cascade,
                             actions_.tileHorizontally, actions_.tileVertically,
                             actions_.arrangeIcons, actions_.nextWindow, actions_.previousWindow}) {
        command->setEnabled(any);
    }
}

void MainWindow::listWindows() {
    QMenu& menu = *actions_.windowMenu;
    // The list follows the last command; it is made anew each time.
    const QList<QAction*> items = menu.actions();
    const auto listStart = std::find(items.begin(), items.end(), actions_.previousWindow);
    for (auto item = listStart == items.end() ? items.end() : listStart + 1; item != items.end();
         ++item) {
        menu.removeAction(*item);
        delete *item;
    }
    updateWindowCommands();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    menu.addSeparator();
    auto* group = new QActionGroup(&menu);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* item =
            menu.addAction(numberedMenuText(menu, static_cast<int>(i + 1), window->windowTitle()));
        item->setCheckable(true);
        item->setChecked(window == mdiArea_->activeSubWindow());
        item->setActionGroup(group);
        connect(item, &QAction::triggered, mdiArea_,
                [this, window] { mdiArea_->setActiveSubWindow(window); });
    }
}

void MainWindow::cascade() {
    QList<QMdiSubWindow*> windows = shownWindows(*mdiArea_);
    if (windows.isEmpty()) {
        return;
    }
    // The active window last, so that it ends in front.
    if (QMdiSubWindow* active = mdiArea_->activeSubWindow(); windows.removeOne(active)) {
        windows << active;
    }
    const QRect area = mdiArea_->viewport()->rect();
    const int step =
        std::max(1, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.first()));
    // Beyond a third of the area the windows start again at the top left.
    const int steps = std::max(1, std::min(static_cast<int>(windows.size()),
                                           std::min(area.width(), area.height()) / 3 / step + 1));
    const QSize size(area.width() - (steps - 1) * step, area.height() - (steps - 1) * step);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const int offset = static_cast<int>(i % steps) * step;
        windows[i]->showNormal();
        windows[i]->setGeometry(QRect(QPoint(offset, offset), size));
        windows[i]->raise();
    }
}

void MainWindow::tileHorizontally() {
    tile(Qt::Vertical);
}

void MainWindow::tileVertically() {
    tile(Qt::Horizontal);
}

void MainWindow::tile(Qt::Orientation direction) {
    // Tiled horizontally, the windows stand one above the other, each the full width;
    // tiled vertically, side by side, each the full height.
    const QList<QMdiSubWindow*> windows = shownWindows(*mdiArea_);
    if (windows.isEmpty()) {
        return;
    }
    const QRect area = mdiArea_->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    const bool stacked = direction == Qt::Vertical;
    const int step = (stacked ? area.height() : area.width()) / count;
    if (step < smallestStrip(*this)) {
        mdiArea_->tileSubWindows();
        return;
    }
    for (int i = 0; i < count; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(stacked ? QRect(0, i * step, area.width(), step)
                                        : QRect(i * step, 0, step, area.height()));
    }
}

void MainWindow::arrangeIcons() {
    // Minimised windows line up along the bottom edge, left to right.
    const QRect area = mdiArea_->viewport()->rect();
    int left = 0;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (window->isMinimized()) {
            const QSize size = window->size();
            window->move(left, area.height() - size.height());
            left += size.width();
        }
    }
}

}  // namespace qor::gui
