#pragma once
// What the driver's files share to call libatspi and report a failing step.

#include <atspi/atspi.h>
#include <glib.h>

#include <QString>
#include <QTest>

namespace agelark::desktop::detail {

// Fails the running case with `why`; returns false for `return fail(...)`.
inline bool fail(const QString& why) {
    QTest::qFail(qPrintable(why), __FILE__, __LINE__);
    return false;
}

// A string libatspi handed over, as Qt text; the string is freed.
inline QString take(gchar* text) {
    const QString result = QString::fromUtf8(text ? text : "");
    g_free(text);
    return result;
}

// libatspi reports errors through a GError; the driver only needs to know
// that a call did not go through (the object may have been destroyed).
struct Error {
    GError* error = nullptr;
    Error() = default;
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    ~Error() { g_clear_error(&error); }
    GError** operator&() { return &error; }
    explicit operator bool() const { return error != nullptr; }
    QString message() const { return error ? QString::fromUtf8(error->message) : QString(); }
};

inline bool hasState(AtspiAccessible* object, AtspiStateType state) {
    if (!object) return false;
    AtspiStateSet* states = atspi_accessible_get_state_set(object);
    const bool result = states && atspi_state_set_contains(states, state);
    if (states) g_object_unref(states);
    return result;
}

// An X window id as the window manager's tools take it.
inline QString hex(quint64 id) { return QStringLiteral("0x%1").arg(id, 0, 16); }

// Output of a helper program (wmctrl, xprop, xwininfo, xdotool); empty when it failed.
QString run(const QString& program, const QStringList& arguments);

}  // namespace agelark::desktop::detail
