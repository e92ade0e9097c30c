#pragma once

#include <QAbstractButton>
#include <QObject>
#include <QString>

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

}  // namespace qor::testing
