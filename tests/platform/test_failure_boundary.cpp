// The one boundary around event handlers: failures become one message box at
// a time, failures and notices wait for an open box to close, in the order
// they came. (Repeated tick failures told once per
// timer, and again after a click, are checked through the console counters.)
// And no path destroys an open box: a rebuild of the main window asked for
// while a box is open waits until it is closed.

#include <QFile>
#include <QPlainTextEdit>
#include <QWidget>

#include "notes/notes_pad.h"
#include "platform/errors.h"
#include "platform/timers.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

class FailureBoundaryTest : public QObject {
    Q_OBJECT

    inline static const QString missing = QStringLiteral("The picture \"ps2.jpg\" is missing.");
    inline static const QString atariNotice = QStringLiteral(
        "This program no longer functions correctly due to time.\r\nEventually all consoles will stop working.");
    static void fail() { throw UserError(missing); }

private slots:
    void failureStopsHandlerAndIsToldInUserWords() {
        TestProgram program;
        QWidget window;
        bool reachedAfterFailure = false;
        runHandler(&window, [&] { fail(); reachedAfterFailure = true; });
        runHandler(&window, [] { throw std::logic_error("bad state"); });
        QVERIFY(!reachedAfterFailure);
        QCOMPARE(program.messages.told().size(), 2);
        QCOMPARE(program.messages.told()[0], "warning: " + missing);
        QVERIFY(program.messages.told()[1].startsWith("warning: ") && program.messages.told()[1].contains("bad state"));
    }

    // While the first warning is open another failure, a notice and a tick
    // failure wait for it to close, then show one after the other; the
    // timer's next failure is not told again.
    void boxesNeverStack() {
        TestProgram program;
        QWidget window;
        Timer timer(&window, "Timer1");
        int open = 0, deepest = 0;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            ++open;
            deepest = std::max(deepest, open);
            if (program.messages.shown.size() == 1) {
                runHandler(&window, fail);
                showNotice(&window, "Improper Format!");
                runTick(&window, &timer, fail);
            }
            --open;
        };
        runHandler(&window, fail);
        QCOMPARE(deepest, 1);
        QCOMPARE(program.messages.told(), QStringList({"warning: " + missing, "warning: " + missing,
                                                       "information: Improper Format!", "warning: " + missing}));
        runTick(&window, &timer, fail);
        QCOMPARE(program.messages.told().size(), 4);
    }

    // A failure whose box is open when a rebuild of the main window comes due:
    // the box's window is not destroyed under it (the stand-in box fails the
    // test if it is), the rebuild follows once the box is closed, then its
    // notice, and the pad keeps what was typed.
    void rebuildWaitsForTheOpenBox_data() {
        QTest::addColumn<QString>("failure");  // what opens the first box
        QTest::addColumn<QString>("due");      // what asks for the rebuild while it is open
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("notice");
        QTest::newRow("Visit fails, the 2600 reaches its limit") << "visit" << "2600" << 0 << atariNotice;
        QTest::newRow("Save fails, the count-up passes its limit") << "save" << "count-up" << 5 << "Improper Format!";
        QTest::newRow("Visit fails, a word to count from") << "visit" << "word" << 5 << "Improper Format!";
    }

    void rebuildWaitsForTheOpenBox() {
        QFETCH(QString, failure);
        QFETCH(QString, due);
        QFETCH(int, tab);
        QFETCH(QString, notice);
        TestProgram program;
        program.clock.set({2045, 9, 29, 3, 14, 7});
        program.start();
        program.processEvents();
        const QString typed = QStringLiteral("typed, not saved");
        program.find<QPlainTextEdit>("Form1", "txtNotes")->setPlainText(typed);
        if (due == "2600") {
            program.click("Form1", "cmdCommand2600");
            program.tick("Form1", "Timer1");
        } else {
            // 2,147,483,647 seconds before the clock: the last second the count-up can show.
            program.find<QLineEdit>("Form1", "txtCusThen")->setText(due == "word" ? "someday" : "09/11/1977 00:00:00");
            program.click("Form1", "cmdCustom");
            if (due == "count-up") program.tick("Form1", "Timer24");
        }
        QVERIFY(program.messages.shown.isEmpty());
        QPointer<FormWindow> old = program.window("Form1");

        bool rebuiltWhileOpen = false;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown& box) {
            if (program.messages.shown.size() > 1) return;
            QCOMPARE(box.kind, QString("warning"));
            program.clock.advanceSeconds(1);
            program.tick("Form1", due == "2600" ? "Timer1" : "Timer24");
            program.tick("Form1", due == "2600" ? "Timer1" : "Timer24");
            program.processEvents();
            rebuiltWhileOpen = !old || program.window("Form1") != old;
        };
        if (failure == "visit") {
            program.launcher.fails = true;
            program.click("Form1", "cmdQAV3_0");
        } else {
            // Nowhere to save: the file beside the program is read-only and the
            // user's own data folder cannot be made (its path runs through a file).
            QFile(program.path("Notes.txt")).setPermissions(QFile::ReadOwner);
            qputenv("XDG_DATA_HOME", QFile::encodeName(program.path("Notes.txt") + "/data"));
            program.click("Form1", "cmdSave");
            program.processEvents();  // the save fails on the notes thread, and is told from the event loop
        }
        program.messages.whileOpen = nullptr;
        QVERIFY(!rebuiltWhileOpen);
        QCOMPARE(program.messages.destroyedWhileOpen, 0);

        program.verifyRebuilt(old, tab);
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(program.messages.told()[1], "information: " + notice);
        QCOMPARE(program.messages.shown[1].parentName, QString("Form1"));
        QCOMPARE(padText(program.window("Form1")), typed);
    }

    // While a box is open, its windows take no clicks, also not from an
    // assistive tool whose press modality does not stop: Reset pressed under
    // "Improper Format!" destroys neither the box nor its window.
    void windowsTakeNoClicksWhileABoxIsOpen() {
        StartedProgram program;
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");
        program.click("Form1", "cmdCustom");
        QPointer<FormWindow> shownUnder;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            shownUnder = program.window("Form1");
            program.click("Form1", "cmdReset");
            program.click("Form1", "cmdHandheld");
            program.processEvents();
        };
        program.tick("Form1", "Timer24");
        program.processEvents();
        program.messages.whileOpen = nullptr;
        QCOMPARE(program.messages.told(), QStringList{"information: Improper Format!"});
        QCOMPARE(program.messages.destroyedWhileOpen, 0);
        QVERIFY(shownUnder && program.window("Form1") == shownUnder.data());
        QVERIFY(!program.window("Form2"));
        // Once the box is closed the window's buttons work again.
        program.click("Form1", "cmdHandheld");
        QVERIFY(program.window("Form2"));
    }
};

QTEST_MAIN(FailureBoundaryTest)
#include "test_failure_boundary.moc"
