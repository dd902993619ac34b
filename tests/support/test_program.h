#pragma once
// The whole program built for a test: a fake clock, message boxes that record
// instead of blocking, a launcher that records, a beep that counts, and a
// temporary application folder holding the pictures and a notes file.

#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "engine/date_serial.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "ui/main_window.h"
#include "ui/program.h"
#include "ui/tab_control.h"

namespace agelark::testing {

class FakeClock : public Clock {
public:
    CivilDateTime now() const override {
        ++reads;
        return now_;
    }
    mutable int reads = 0;  // a window reads the clock once a beat
    void set(const CivilDateTime& moment) { now_ = moment; }
    void advanceSeconds(long long seconds);

private:
    CivilDateTime now_{2026, 12, 5, 11, 10, 0};
};

// Message boxes that record what they say. Like the real ones, each is a
// modal dialog, a child of its window, and runs its own event loop until it
// is closed: posted events, deferred deletes among them, are delivered while
// it is open. A box destroyed while open (with its window) fails the test.
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString kind, text, parentName;  // kind: "information", "warning" or "question: <action>"
    };
    void information(QWidget* parent, const QString& text) override { record("information", parent, text); }
    void warning(QWidget* parent, const QString& text) override { record("warning", parent, text); }
    int question(QWidget* parent, const QString& text, const QStringList& actions) override {
        record("question: " + actions.join(", "), parent, text);
        return answers.isEmpty() ? -1 : answers.takeFirst();
    }

    QList<Shown> shown;
    QList<int> answers;  // how the next questions are answered, in order: the action's index; then Cancel (-1)
    QStringList told() const {  // "kind: text" of each box shown
        QStringList result;
        for (const Shown& box : shown) result << box.kind + ": " + box.text;
        return result;
    }
    // Runs inside the box's event loop while it is open, standing for what
    // happens before the user closes it; the box closes after it.
    std::function<void(const Shown&)> whileOpen;

private:
    void record(const QString& kind, QWidget* parent, const QString& text);
};

struct CountingBeep : Beep {
    void play(const QString&) override { ++count; }
    int count = 0;
};

struct RecordingLauncher : Launcher {
    void start(const QString& program, const QStringList& arguments, std::function<void(int)>) override {
        started.append(QStringList{program} + arguments);
    }
    QList<QStringList> started;  // program first, then its arguments
};

// The program's texts that tests look for, stated once.
inline const QString atariNotice = QStringLiteral(
    "This program no longer functions correctly due to time.\r\nEventually all consoles will stop working.");
inline const QString improperFormat = QStringLiteral("Improper Format!");
inline const QString designCaption = QStringLiteral("Agelark v2.5");  // a result label's until its first count

// The contrast ratio of two colours as the accessibility guidelines define it (3:1 for large text and frames).
double contrast(QColor a, QColor b);
// How many timers of `window` (or of anything in it) run, its beat if it ticks ten times a second included.
int runningTimers(const QObject* window);
// The text a label or a box shows (a marker for any other control or none).
QString textOf(const QWidget* control);

class TestProgram {
public:
    // Copies the built pictures and a notes file holding "Notes\r\n" into a
    // new temporary application folder (or takes `appFolder` as it is),
    // installs the fakes, and points the per-user data folder (XDG_DATA_HOME)
    // into a temporary folder too.
    explicit TestProgram(const QString& appFolder = {});
    ~TestProgram();  // unloads every window and restores the real platform

    // Loads and shows the main window as the program's start does.
    void start();

    QString appFolder() const { return appFolder_; }
    QString path(const QString& fileName) const;  // a file in the application folder

    // The window open under that name ("Form1", "Form2", "Saved"), or nullptr.
    QWidget* window(const QString& name) const;
    MainWindow* main() const { return mainWindow(); }
    NotesPad* pad() const { return main()->notes(); }

    template <class T>
    T* find(const QString& window, const QString& control) const {
        QWidget* w = this->window(window);
        return w ? w->findChild<T*>(control) : nullptr;
    }

    void click(const QString& window, const QString& button);  // as the user clicks
    void tick(const QString& window = "Form1");                 // one beat of the window, as it would come
    // Posted events and deferred deletes; and until a save under way is
    // written and the main window's pad has loaded.
    void processEvents();

    TabControl* tabs() const;  // the main window's SSTTab1
    QString text(const QString& window, const QString& control) const { return textOf(find<QWidget>(window, control)); }
    // The buttons of the consoles that count on the window, and "count-up" while it counts.
    QStringList counting(const QString& window) const;
    void openHandheld(const QString& console = {});  // the Handhelds button, then a console of Form2

    // After a rebuild: `old` gone, a new main window shown on `tab` with nothing counting.
    void verifyRebuilt(const QPointer<MainWindow>& old, int tab);

    FakeClock clock;
    RecordingMessageBoxes messages;
    CountingBeep beep;
    RecordingLauncher launcher;

private:
    QTemporaryDir folder_;
    const QString appFolder_;
    QTemporaryDir userData_;
    QByteArray oldDataHome_;
};

// A TestProgram started at once, its notes loaded, for the tests that need nothing set first.
struct StartedProgram : TestProgram {
    StartedProgram() {
        start();
        processEvents();
    }
};

}  // namespace agelark::testing
