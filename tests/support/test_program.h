#pragma once
// The whole program built for a test, its clock, message boxes, beep and launcher faked, in a temporary folder.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "platform/errors.h"
#include "platform/platform.h"
#include "ui/main_window.h"
#include "ui/program.h"
#include "ui/tab_control.h"

namespace agelark::testing {

struct FakeClock : Clock {
    CivilDateTime now() const override { ++reads; return moment; }
    void set(const CivilDateTime& to) { moment = to; }
    void advanceSeconds(long long seconds);
    CivilDateTime moment{2026, 12, 5, 11, 10, 0};
    mutable int reads = 0;  // a window reads the clock once a beat
};

// Message boxes that record what they say. Like the real ones each is a modal child of its window running its
// own event loop, so posted events (deferred deletes too) come while it is open; one destroyed open fails the test.
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Shown { QString kind, text, parentName; };  // kind: "information", "warning", "question: <actions>"
    void information(QWidget* parent, const QString& text) override { record("information", parent, text); }
    void warning(QWidget* parent, const QString& text) override { record("warning", parent, text); }
    int question(QWidget* parent, const QString& text, const QStringList& actions) override {
        record("question: " + actions.join(", "), parent, text);
        return answers.isEmpty() ? -1 : answers.takeFirst();
    }
    QStringList told() const;  // "kind: text" of each box shown

    QList<Shown> shown;
    QList<int> answers;  // the next questions' answers, in order: the action's index; then Cancel (-1)
    std::function<void(const Shown&)> whileOpen;  // what the user does while the box is open, before OK

private:
    void record(const QString& kind, QWidget* parent, const QString& text);
};

struct CountingBeep : Beep { void play(const QString&) override { ++count; } int count = 0; };

struct RecordingLauncher : Launcher {
    void start(const QString& program, const QStringList& arguments, std::function<void(int)>) override {
        started.append(QStringList{program} + arguments);
    }
    QList<QStringList> started;  // program first, then its arguments
};

inline const QString improperFormat = QStringLiteral("Improper Format!");

double contrast(QColor a, QColor b);  // as the accessibility guidelines define it (3:1 for large text and frames)
int runningTimers(const QObject* window);  // its running timers, its beat counted if it ticks ten times a second
QString textOf(const QWidget* control);  // the text of a label or a box, or a marker saying it is neither

class TestProgram {
public:
    // Copies the built pictures and a notes file holding "Notes\r\n" into a new temporary application folder
    // (or takes `appFolder` as it is), installs the fakes, and points XDG_DATA_HOME at a temporary folder.
    explicit TestProgram(const QString& appFolder = {});
    ~TestProgram();  // unloads every window and restores the real platform

    void start() { startProgram(); }
    QString appFolder() const { return appFolder_; }
    QString path(const QString& fileName) const;  // a file in the application folder

    QWidget* window(const QString& name) const;  // "Form1", "Form2" or "Saved" if open, else nullptr
    MainWindow* main() const { return mainWindow(); }
    NotesPad* pad() const { return main()->notes(); }
    TabControl* tabs() const { return find<TabControl>("Form1", "SSTTab1"); }
    template <class T>
    T* find(const QString& window, const QString& control) const {
        QWidget* w = this->window(window);
        return w ? w->findChild<T*>(control) : nullptr;
    }
    QString text(const QString& window, const QString& control) const { return textOf(find<QWidget>(window, control)); }
    // The buttons of the consoles counting on the window, and "count-up" while it counts.
    QStringList counting(const QString& window) const;

    void click(const QString& window, const QString& button);  // as the user clicks
    void tick(const QString& window = "Form1");                 // one beat of the window
    void openHandheld(const QString& console = {});             // the Handhelds button, then a console of Form2
    void processEvents();  // posted events and deferred deletes, until a save is written and the pad has loaded

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

struct StartedProgram : TestProgram {  // started at once, its notes loaded
    StartedProgram() { start(); processEvents(); }
};

}  // namespace agelark::testing
