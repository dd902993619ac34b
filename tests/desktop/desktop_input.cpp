// The driver's keyboard: the focus read and moved through AT-SPI, keys pressed
// through the X server's test extension (xdotool), edits a screen reader
// makes, and what the window manager offers for a window.

#include <QProcess>
#include <QRegularExpression>

#include "tests/desktop/atspi_calls.h"
#include "tests/desktop/desktop_driver.h"

namespace agelark::desktop {

using detail::Error;
using detail::fail;

bool Accessible::setTextContents(const QString& text) const {
    AtspiEditableText* editable = object_ ? atspi_accessible_get_editable_text_iface(object_) : nullptr;
    if (!editable) return fail(QStringLiteral("'%1' takes no text").arg(name()));
    Error e;
    atspi_editable_text_set_text_contents(editable, text.toUtf8().constData(), &e);
    g_object_unref(editable);
    return !e || fail(QStringLiteral("could not set the text of '%1' %2").arg(name(), e.message()));
}

bool Accessible::focused() const { return detail::hasState(object_, ATSPI_STATE_FOCUSED); }

bool Accessible::grabFocus() const {
    AtspiComponent* component = object_ ? atspi_accessible_get_component_iface(object_) : nullptr;
    if (!component) return fail(QStringLiteral("'%1' cannot take the focus").arg(name()));
    Error e;
    const bool grabbed = atspi_component_grab_focus(component, &e) && !e;
    g_object_unref(component);
    return grabbed || fail(QStringLiteral("'%1' did not take the focus %2").arg(name(), e.message()));
}

Accessible Accessible::focusedDescendant() const {
    for (const Accessible& child : children()) {
        if (child.focused()) return child;
        if (Accessible found = child.focusedDescendant()) return found;
    }
    return {};
}

QStringList allowedActions(quint64 windowId) {
    // "_NET_WM_ALLOWED_ACTIONS(ATOM) = _NET_WM_ACTION_MOVE, _NET_WM_ACTION_CLOSE, ..."
    const QString line = detail::run("xprop", {"-id", detail::hex(windowId), "_NET_WM_ALLOWED_ACTIONS"});
    QStringList actions;
    static const QRegularExpression action(QStringLiteral("_NET_WM_ACTION_(\\w+)"));
    for (auto it = action.globalMatch(line); it.hasNext();) actions.append(it.next().captured(1));
    return actions;
}

QStringList titleBarBoxes(quint64 windowId) {
    // "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x26, 0x1e, 0x0, 0x0": flags, functions, decorations, ...
    const QString line = detail::run("xprop", {"-id", detail::hex(windowId), "_MOTIF_WM_HINTS"});
    static const QRegularExpression hints(QStringLiteral(R"(=\s*(0x[0-9a-f]+),\s*(0x[0-9a-f]+),\s*(0x[0-9a-f]+))"));
    const auto m = hints.match(line);
    constexpr uint decorationsGiven = 0x2, all = 0x1, minimise = 0x20, maximise = 0x40;
    const uint flags = m.captured(1).toUInt(nullptr, 16), decorations = m.captured(3).toUInt(nullptr, 16);
    // No hints, or no decorations among them, or all of them: every box.
    if (!m.hasMatch() || !(flags & decorationsGiven) || (decorations & all)) return {"minimise", "maximise"};
    QStringList boxes;
    if (decorations & minimise) boxes << "minimise";
    if (decorations & maximise) boxes << "maximise";
    return boxes;
}

bool pressKeys(const QStringList& keys) {
    // One key at a time, with a pause for the program to take each.
    for (const QString& key : keys)
        if (QProcess::execute("xdotool", {"key", "--delay", "100", key}) != 0)
            return fail(QStringLiteral("xdotool could not press %1").arg(key));
    return true;
}

}  // namespace agelark::desktop
