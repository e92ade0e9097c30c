#pragma once

#include <QAbstractButton>
#include <QObject>
#include <QScreen>
#include <QString>
#include <QtTest>
#include <initializer_list>

namespace qor::testing {

// The child called `name`; a missing control ends the test program, since every later
// step would only fail for the same reason.
template <typename T>
T* control(const QObject& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    if (found == nullptr) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}

inline QAbstractButton* button(const QObject& parent, const QString& name) {
    return control<QAbstractButton>(parent, name);
}

// Whether `widget` is shown whole inside `window`: no ancestor (a scroll area's viewport, a
// window too small for its layout) cuts any of it off.
inline bool shownWhole(const QWidget& widget, const QWidget& window) {
    if (!widget.isVisible()) {
        return false;
    }
    QRect placed = widget.rect();
    for (const QWidget* child = &widget; child != &window; child = child->parentWidget()) {
        placed.translate(child->pos());
        if (child->parentWidget() == nullptr || !child->parentWidget()->rect().contains(placed)) {
            return false;
        }
    }
    return true;
}

// Shows `window` and checks that it fits its screen with each of `controls` whole inside it.
inline void checkFitsTheScreen(QWidget& window, std::initializer_list<const char*> controls) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect available = window.screen()->availableGeometry();
    QVERIFY(window.width() <= available.width() && window.height() <= available.height());
    for (const char* name : controls) {
        QVERIFY2(shownWhole(*control<QWidget>(window, name), window), name);
    }
}

}  // namespace qor::testing
