#pragma once
// Where a benchmark shows its windows: on the display of the session when
// there is one (DISPLAY or WAYLAND_DISPLAY set, or a platform chosen with
// QT_QPA_PLATFORM), else offscreen, where nothing is drawn or sent anywhere.
// The choice is made before any child starts, so both sides of a comparison
// run on the same display, and it is printed with the figures.

#include <QByteArray>
#include <QString>
#include <cstdio>

namespace bench {

// Chooses the display for this process and the children it starts; returns its description.
inline QString chooseDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QString where;
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform == QLatin1String("offscreen"))
        where = QStringLiteral("offscreen (nothing drawn)");
    else if (!qEnvironmentVariableIsEmpty("DISPLAY") && (platform.isEmpty() || platform == QLatin1String("xcb")))
        where = QStringLiteral("X11 display %1").arg(qEnvironmentVariable("DISPLAY"));
    else
        where = QStringLiteral("platform %1").arg(platform.isEmpty() ? qEnvironmentVariable("WAYLAND_DISPLAY") : platform);
    // Qt's accessibility bridge runs when an assistive tool is there or when it is forced on.
    if (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        where += QStringLiteral(", accessibility bridge on");
    return where;
}

inline void printDisplay(const QString& where) { std::printf("display: %s\n", where.toLocal8Bit().constData()); }

}  // namespace bench
