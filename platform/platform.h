#pragma once
// What the program takes from the world outside its windows, behind one small
// facade so that tests can put fakes in its place: the clock, message boxes,
// the beep, the process launcher and the application folder.

#include <QString>
#include <QStringList>
#include <functional>
#include <string_view>

#include "engine/date_serial.h"

class QWidget;

namespace agelark {

// A text of the catalogue as Qt text.
inline QString qtext(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

class Clock {
public:
    virtual ~Clock() = default;
    // The current local wall-clock date and time, to the second.
    virtual CivilDateTime now() const = 0;
};

// The application's title on every message box.
inline const QString applicationTitle = QStringLiteral("Agelark");

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal boxes with one OK button under the application title; they return
    // when the user closes them, running other events meanwhile.
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // A modal question under the application title with a button for each of
    // `actions` (such as "Overwrite") and Cancel. Cancel is the default button
    // and what Escape or the close box chooses. The index of the action
    // chosen, or -1 for Cancel.
    virtual int question(QWidget* parent, const QString& text, const QStringList& actions) = 0;
};

// The desktop's own sounds, named as the freedesktop.org sound theme names its
// events ("dialog-warning"); the X bell where no sound service plays them.
class Beep {
public:
    virtual ~Beep() = default;
    virtual void play(const QString& soundEvent) = 0;
};

// The sound of a completed save: the theme's warning sound, as the exclamation
// sound of older desktops.
inline const QString exclamationSound = QStringLiteral("dialog-warning");

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts `program` with `arguments` and does not wait for it; no shell is
    // involved. Throws UserError when the program cannot be started. When it
    // ends later with a failure, `failed` is called from the event loop with
    // its exit status (-1 when it crashed). A program still running when this
    // one ends goes on running.
    virtual void start(const QString& program, const QStringList& arguments,
                       std::function<void(int exitStatus)> failed) = 0;
};

struct Platform {
    Clock* clock = nullptr;
    MessageBoxes* messages = nullptr;
    Beep* beep = nullptr;
    Launcher* launcher = nullptr;
    QString appFolder;  // the folder of the program, no trailing separator
};

// The facade in force. Until install() is called it is the real system, with
// the application folder of the running executable.
Platform& platform();
void install(const Platform& replacement);

// The real components, for main() and for tests that want one of them.
Clock& systemClock();
MessageBoxes& systemMessageBoxes();
Beep& systemBeep();
Launcher& systemLauncher();

// A data file of the program (a picture, an icon, the About page), named as
// the catalogue writes it ("\ps2.jpg"): in the application folder where the
// program's data lies beside it (a build folder, or a folder unpacked whole),
// else in the installed data folder "../share/agelark" next to it.
QString appFilePath(std::string_view name);
// Whether the program runs installed: its data lies in "../share/agelark",
// not beside it. An installed program keeps no notes beside itself: the folder
// it lies in (/usr/bin) is no place for them.
bool runsInstalled();

// A write past the file-size limit (ulimit -f) fails with EFBIG, which the
// program reports, instead of ending the program with SIGXFSZ.
void ignoreFileSizeSignal();

}  // namespace agelark
