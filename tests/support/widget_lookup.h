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

// Shows `window` and checks that it fits its screen with each of `controls` whole inside it.
inline void checkFitsTheScreen(QWidget& window, std::initializer_list<const char*> controls) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect available = window.screen()->availableGeometry();
    QVERIFY(window.width() <= available.width() && window.height() <= available.height());
    for (const char* name : controls) {
        const QWidget* widget = control<QWidget>(window, name);
        const QRect placed(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        QVERIFY2(window.rect().contains(placed) && widget->isVisible(), name);
    }
}

}  // namespace qor::testing
