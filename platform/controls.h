#pragma once
// Controls are found by the names the program speaks of (their objectName).

#include <QObject>
#include <QString>
#include <string_view>

#include "platform/errors.h"

namespace agelark {

// A name or text of the catalogue as Qt text.
inline QString qtext(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// The control `name` of type T within `window`; throws when the window has none.
template <class T>
T* control(const QObject* window, const QString& name) {
    if (T* found = window->findChild<T*>(name)) return found;
    throw UserError(QStringLiteral("The window %1 has no control named %2.").arg(window->objectName(), name));
}

template <class T>
T* control(const QObject* window, std::string_view name) {
    return control<T>(window, qtext(name));
}

template <class T>
T* control(const QObject* window, const char* name) {
    return control<T>(window, QString::fromUtf8(name));
}

// The name of member `index` of a control array ("lblByWendrix", 1 -> "lblByWendrix_1").
QString arrayMember(const QString& arrayName, int index);

}  // namespace agelark
