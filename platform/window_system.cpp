#include "platform/window_system.h"

#include <QByteArray>
#include <QList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace agelark {

namespace {

// In this order: Qt takes the first that answers. Wayland's socket lies in
// XDG_RUNTIME_DIR unless WAYLAND_DISPLAY names it; with neither there is no
// Wayland to try (and its library would complain on stderr).
QByteArray ourChoice() {
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR");
    return wayland ? "xcb;wayland" : "xcb";
}

bool userChose(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
    return false;
}

QByteArray described(const char* variable) {
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? QByteArray(variable) + " is not set" : QByteArray(variable) + " is " + value;
}

// What Qt says while it tries the window systems one after the other. Held:
// most of it only tells of a try that the next one makes good, and where none
// does, Qt's list of its plugins tells a user less than one line of ours.
struct Held {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<Held>* held = nullptr;
std::mutex heldLock;  // a thread Qt starts meanwhile may speak too
bool chosenByUser = false;

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        const std::lock_guard lock(heldLock);
        if (held) held->append({type, context.category, text});
        return;
    }
    // Qt found no window system it could open and is about to abort.
    const QByteArray line =
        chosenByUser ? QByteArray("agelark: the window system chosen with QT_QPA_PLATFORM or -platform cannot be "
                                  "opened. Start Agelark without that choice, from your desktop session.\n")
                     : "agelark: no window system to show the windows on: neither an X11 display (" +
                           described("DISPLAY") + ") nor a Wayland compositor (" + described("WAYLAND_DISPLAY") +
                           ") answers. Start Agelark from your desktop session: its menu, or a terminal there.\n";
    std::fputs(line.constData(), stderr);
    std::_Exit(1);
}

}  // namespace

std::unique_ptr<QApplication> openWindowSystem(int& argc, char** argv) {
    chosenByUser = userChose(argc, argv);
    if (!chosenByUser) qputenv("QT_QPA_PLATFORM", ourChoice());

    QList<Held> messages;
    held = &messages;
    const QtMessageHandler before = qInstallMessageHandler(holdMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(before);
    {
        const std::lock_guard lock(heldLock);
        held = nullptr;
    }

    // Our choice is the program's own: the programs it starts (the browser) choose for themselves.
    if (!chosenByUser) qunsetenv("QT_QPA_PLATFORM");
    // On Wayland after X11 did not answer, what Qt said of that try is no news.
    const bool fellBack = !chosenByUser && QGuiApplication::platformName() != QLatin1String("xcb");
    for (const Held& m : messages) {
        if (fellBack && m.category.startsWith("qt.qpa.")) continue;
        before(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()), m.text);
    }
    return app;
}

}  // namespace agelark
