#include "ui/program.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPointer>
#include <QSessionManager>
#include <cmath>

#include "platform/end_signals.h"
#include "platform/platform.h"
#include "ui/focus_frame.h"
#include "ui/handheld_window.h"
#include "ui/main_window.h"

namespace agelark {

namespace {

QPointer<MainWindow> theMainWindow;
QPointer<HandheldWindow> theHandheldWindow;
QPointer<SavedWindow> theSavedWindow;

template <class W>
W* bringUp(W* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

// The windows' icon: 32 pixels and the larger ones a title bar or window list
// takes, up to 64 pixels at the screen's pixel density (128 on a screen with
// two device pixels to a pixel). Larger ones are not handed to the window:
// on X11 every size goes to the display server with each window (a 256-pixel
// icon alone is a quarter megabyte), while menus, launchers and task switchers
// take theirs from the installed icon theme. Each file is read as the PNG it
// is, by Qt's own PNG reader: a reader left to detect the format (as an icon
// made from a file name is) loads every picture plugin of the system to ask it
// first.
QIcon readWindowIcon() {
    struct Drawn {
        int side;
        const char* file;
    };
    const int largest = int(std::ceil(64 * qApp->devicePixelRatio()));
    QIcon sizes;
    for (const Drawn drawn : {Drawn{32, "\\agelark.png"}, Drawn{48, "\\agelark-48.png"}, Drawn{64, "\\agelark-64.png"},
                              Drawn{128, "\\agelark-128.png"}, Drawn{256, "\\agelark-256.png"}}) {
        const QString file = appFilePath(drawn.file);
        if (drawn.side > largest || !QFileInfo::exists(file)) continue;
        QImageReader reader(file, "png");
        reader.setAutoDetectImageFormat(false);
        if (QImage image = reader.read(); !image.isNull()) sizes.addPixmap(QPixmap::fromImage(std::move(image)));
    }
    return sizes;
}

}  // namespace

MainWindow* mainWindow() { return theMainWindow; }
HandheldWindow* handheldWindow() { return theHandheldWindow; }
SavedWindow* savedWindow() { return theSavedWindow; }

void showMainWindow(MainWindow* window) {
    theMainWindow = window;
    bringUp(window);
}

HandheldWindow* showHandheldWindow() {
    if (!theHandheldWindow) theHandheldWindow = new HandheldWindow;
    return bringUp(theHandheldWindow.data());
}

SavedWindow* showSavedWindow() {
    if (!theSavedWindow) theSavedWindow = new SavedWindow;
    return bringUp(theSavedWindow.data());
}

void startProgram() {
    ignoreFileSizeSignal();
    showFocusClearly();
    // Read once and kept by the application, which gives it to every window.
    if (qApp->windowIcon().isNull()) qApp->setWindowIcon(readWindowIcon());
    showMainWindow(new MainWindow);
    // When nobody can answer a question: the system ends the program, or the session ends.
    const auto endKeepingNotes = [] {
        if (theMainWindow) theMainWindow->closeKeepingNotes();
    };
    endOnTerminationSignals(endKeepingNotes);
    static const auto sessionEnds = QObject::connect(qApp, &QGuiApplication::commitDataRequest, endKeepingNotes);
    Q_UNUSED(sessionEnds);
}

}  // namespace agelark
