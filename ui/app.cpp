#include "ui/app.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <cmath>

#include "notes/notes_pad.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/platform.h"
#include "platform/timers.h"
#include "platform/windows.h"
#include "ui/copy_menu.h"
#include "ui/design.h"
#include "ui/focus_frame.h"
#include "ui/handlers.h"

namespace agelark {

namespace {

constexpr std::string_view titlePicture = "\\Agelark.jpg";

void Form1_Load(FormWindow* form1) {
    control<Timer>(form1, "Timer22")->setTickInterval(100);
    control<QLabel>(form1, "lblClock")->clear();
    loadNotes(form1);
    // The title picture of the five console pages, read once: the five boxes
    // show one picture (a pixmap's copies share its pixels), decoded once.
    const QPixmap title = loadPicture(titlePicture, form1->devicePixelRatioF());
    for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})
        control<QLabel>(form1, box)->setPixmap(title);
}

// The user closing the main window closes every other window with it.
void Form1_QueryUnload(FormWindow* form1, UnloadReason reason) {
    if (reason != UnloadReason::User) return;
    for (FormWindow* other : windows().loaded())
        if (other != form1) windows().unload(other->objectName(), UnloadReason::Code);
}

// A rebuild that must not lose the user's words hands the pad's unsaved text
// to the new main window, whose own load of the notes file is then cancelled.
std::function<void(FormWindow*)> keepUnsavedNotes(FormWindow* old) {
    return [kept = keptNotes(old)](FormWindow* fresh) { keepPadText(fresh, kept); };
}

void Form2_Load(FormWindow* form2) { setPicture(control<QLabel>(form2, "Picture1"), titlePicture); }

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
        if (const QImage image = reader.read(); !image.isNull()) sizes.addPixmap(QPixmap::fromImage(image));
    }
    return sizes;
}

FormWindow* withIconAndHandlers(FormWindow* window) {
    // Read once and kept by the application, which gives it to every window.
    if (qApp->windowIcon().isNull()) qApp->setWindowIcon(readWindowIcon());
    wireHandlers(window);
    installCopyMenus(window);
    return window;
}

}  // namespace

void defineWindows() {
    windows().define("Form1", {[] { return withIconAndHandlers(createForm1()); }, Form1_Load, Form1_QueryUnload,
                               keepUnsavedNotes});
    windows().define("Form2", {[] { return withIconAndHandlers(createForm2()); }, Form2_Load, {}});
    windows().define("Saved", {[] { return withIconAndHandlers(createSaved()); }, {}, {}});
}

void startProgram() {
    ignoreFileSizeSignal();
    showFocusClearly();
    defineWindows();
    windows().show("Form1");
}

}  // namespace agelark
