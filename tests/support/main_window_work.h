#pragma once

#include <QAbstractItemView>
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>

#include "gui/shell/main_window.h"

namespace qor::testing {

// The window of kind `Window` in front among the main window's documents, or null.
template <typename Window>
Window* windowInFront(const gui::MainWindow& main) {
    QMdiSubWindow* active = main.documents().activeSubWindow();
    return active != nullptr ? dynamic_cast<Window*>(active->widget()) : nullptr;
}

// Runs a command of the main window that works in the background (elements, checks, a
// comparison) and waits for its end: the window of kind `Window` in front then, or null.
template <typename Window>
Window* windowAfter(gui::MainWindow& main, QAction& command) {
    QSignalSpy finished(&main, &gui::MainWindow::workFinished);
    command.trigger();
    if (main.busy() && !finished.wait(20000)) {
        return nullptr;
    }
    return windowInFront<Window>(main);
}

// A person's double-click on a cell: a click, then the second press that makes it double.
inline void doubleClickCell(QAbstractItemView& view, const QModelIndex& index) {
    const QPoint at = view.visualRect(index).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
}

}  // namespace qor::testing
