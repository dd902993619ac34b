#pragma once
// Controls are found by the names the program speaks of (their objectName).

#include <QObject>
#include <QString>
#include <string_view>

#include "platform/errors.h"

namespace agelark {

// A name or text of the catalogue as Qt text.
inline QString qtext(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// The control of `window` known under `name` (from one walk over the window
// at its first look-up, or as last found) when it still is one of type `type`:
// alive, so named, of that type and inside the window; else nullptr. The
// timers look up their controls ten times a second, and a search walks the
// window's whole tree of some hundreds of objects.
QObject* rememberedControl(const QObject* window, const QString& name, const QMetaObject& type);
void rememberControl(const QObject* window, const QString& name, QObject* control);

// The control `name` of type T within `window`; throws when the window has none.
template <class T>
T* control(const QObject* window, const QString& name) {
    if (QObject* known = rememberedControl(window, name, T::staticMetaObject)) return static_cast<T*>(known);
    if (T* found = window->findChild<T*>(name)) {
        rememberControl(window, name, found);
        return found;
    }
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
