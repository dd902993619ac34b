#pragma once
// Drives the real agelark executable on a real desktop, as a person with a
// screen reader or a desktop test tool would: controls are found by role and
// accessible name through AT-SPI, buttons are pressed through their action,
// text is typed through the editable-text interface, and what a screen reader
// would read is read back. Window positions and closing go through the window
// manager (wmctrl, xprop, xwininfo); keys are pressed as on a keyboard
// (xdotool), where a screen reader has none to press.
//
// Nothing here throws: a step that fails reports why with QTest::qFail and
// returns false or an empty Accessible, so a case writes QVERIFY(step(...)).

#include <QDateTime>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <optional>

typedef struct _AtspiAccessible AtspiAccessible;

namespace agelark::desktop {

// How long the driver waits for the program to react; longer under the sanitizers.
int patience(int milliseconds);

// Spins the event loop until `condition` holds or `milliseconds` pass.
bool waitUntil(const std::function<bool()>& condition, int milliseconds);

// One object of a program's accessibility tree. Empty when nothing was found.
class Accessible {
public:
    Accessible() = default;
    explicit Accessible(AtspiAccessible* object);  // takes over one reference
    Accessible(const Accessible& other);
    Accessible& operator=(Accessible other);
    ~Accessible();

    explicit operator bool() const { return object_ != nullptr; }

    QString name() const;
    QString description() const;
    QString roleName() const;  // "push button", "label", ...
    bool showing() const;      // on screen: its window is shown and so are its parents
    bool exists() const;       // the program still has this object
    qint64 processId() const;  // of the program it belongs to

    bool hasText() const;      // offers the Text interface
    QString text() const;      // its Text interface's whole text, empty without one
    int characterCount() const;               // of its Text interface; -1 without one
    QString text(int from, int to) const;     // characters `from` to `to` of its Text interface
    // What a screen reader reads for it: its name, its description and the text
    // of its Text interface, the ones it has, one per line.
    QString spoken() const;

    // Its "Press" action, as a screen reader's "activate" does.
    bool press() const;
    // Through the editable-text interface: the text at the end, as if typed there.
    bool type(const QString& text) const;
    // Through the editable-text interface: the whole text replaced, as a screen
    // reader's command to set a box's text does. True when the call went
    // through; the program may still have refused the edit.
    bool setTextContents(const QString& text) const;

    bool focused() const;  // has the keyboard focus
    // Takes the keyboard focus, as a screen reader's command to focus a control does.
    bool grabFocus() const;
    // The descendant that has the keyboard focus; empty when none has.
    Accessible focusedDescendant() const;

    QList<Accessible> children() const;
    // The first descendant (depth first, itself excluded) with this role name
    // and accessible name, or description: a label's name is what it shows
    // (a count, the time), its description what it is ("Sony result"). An
    // empty name matches any.
    Accessible find(const QString& role, const QString& name = {}) const;

private:
    AtspiAccessible* object_ = nullptr;
};

// What the program counts: the seconds of the first "N Days, hh:mm:ss" (or a
// bare "hh:mm:ss", under one day) in `text`, if it holds one.
std::optional<qint64> countIn(const QString& text);
// Waits until what a screen reader reads from `result` holds a count of the
// time since `then`, to within two seconds.
bool readsCountSince(const Accessible& result, const QDateTime& then, int milliseconds = patience(3000));

// A window as the window manager has it: the client area in screen
// coordinates and the frame the manager drew around it.
struct Frame {
    QRect client;
    int left = 0, right = 0, top = 0, bottom = 0;  // _NET_FRAME_EXTENTS
    QPoint topLeft() const { return client.topLeft() - QPoint(left, top); }
};

// Windows the window manager manages (mapped), with their X ids, owning process and title.
struct ManagedWindow {
    quint64 id = 0;
    qint64 pid = 0;
    QString title;
};
QList<ManagedWindow> managedWindows();
std::optional<Frame> frameOf(quint64 windowId);
// The close box, through the window manager (_NET_CLOSE_WINDOW).
bool closeThroughWindowManager(quint64 windowId);
// What the window manager offers the user for the window (its
// _NET_WM_ALLOWED_ACTIONS without the prefix: "CLOSE", "MINIMIZE", "MAXIMIZE_HORZ", ...).
QStringList allowedActions(quint64 windowId);
// The boxes the program asks the window manager to draw in the window's title
// bar (its Motif hints' decorations): "minimise", "maximise"; the close box is
// the window manager's to draw for every window that may be closed.
QStringList titleBarBoxes(quint64 windowId);
// Keys pressed and let go as on a keyboard, one after the other, into the
// window that has the keyboard focus (xdotool's names: "Tab", "shift+Tab", "Return").
bool pressKeys(const QStringList& keys);
// Moves the window so that its frame's top-left corner lands on `frameTopLeft`.
bool moveThroughWindowManager(quint64 windowId, QPoint frameTopLeft);

// A copy of the built program (build/app) in a temporary folder of its own,
// so that cases never share a notes file, started and watched through AT-SPI.
class Program {
public:
    Program();
    ~Program();  // a copy still running is killed

    QString file(const QString& name) const;  // a file in the copy's folder
    QProcessEnvironment environment;           // the program's; set before start()
    // What start() runs: the copy's program by default; another copy's, to
    // run two on one program folder, or an installed one.
    QString executable;

    // The wall clock starts at `moment` ("2045-09-29 03:14:05") and runs on in
    // real time (libfaketime); the timers keep the real monotonic clock.
    void fakeClock(const QString& moment);
    // A PATH that holds no program at all, so that xdg-open cannot be found.
    void emptyPath();
    // Native on a Wayland compositor instead of on X11.
    void onWayland();

    // Starts the copy and waits until its main window is shown (and, on X11,
    // managed and framed by the window manager).
    bool start();

    Accessible application() const { return app_; }
    // A shown top-level window of the program, waited for.
    Accessible window(const QString& title, int milliseconds = patience(5000)) const;
    // True once no shown top-level window of the program has this title.
    bool windowGone(const QString& title, int milliseconds = patience(5000)) const;
    // A control of a window, waited for until it is there and showing.
    Accessible control(const Accessible& within, const QString& role, const QString& name,
                       int milliseconds = patience(5000)) const;

    // Shows a page of the main window's tab control by pressing its tab.
    bool showPage(const Accessible& main, const QString& page) const;

    // A message box ("Agelark") showing exactly `text`, waited for.
    Accessible messageBox(const QString& text, int milliseconds = patience(5000)) const;
    // A message box whose text holds `phrase`, waited for.
    Accessible messageBoxSaying(const QString& phrase, int milliseconds = patience(5000)) const;
    // The messages of the boxes shown now.
    QStringList boxesShown() const;
    // Presses the OK button of a box and waits until the box is gone.
    bool pressOk(const Accessible& box) const;

    // The window manager's view of the program's windows (X11 only).
    std::optional<quint64> windowId(const QString& title) const;
    std::optional<Frame> frame(const QString& title) const;
    // The frame once the window has been framed and has stopped moving.
    std::optional<Frame> settledFrame(const QString& title, int milliseconds = patience(5000)) const;
    bool closeWindow(const QString& title) const;  // its close box, through the window manager
    // Waits until the window manager has a window `title` of the program other than `oldId`.
    bool windowReplaced(const QString& title, quint64 oldId, int milliseconds = patience(5000)) const;
    // Asks the program to end as a desktop ending its session does (SIGTERM).
    void endSession() { process_.terminate(); }

    bool running() const { return process_.state() != QProcess::NotRunning; }
    // Still running; if not, fails with how it ended and what it wrote to stderr.
    bool alive();
    // Waits for the program to end and checks it ended as a user's close ends
    // it: exit status 0, no crash, no sanitizer report.
    bool endedNormally(int milliseconds = patience(10000));
    QString errorOutput() const;  // what the program wrote to stderr

private:
    QTemporaryDir folder_;
    QProcess process_;
    Accessible app_;
    bool wayland_ = false;
};

}  // namespace agelark::desktop
