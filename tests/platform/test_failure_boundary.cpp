// The one boundary around event handlers: a failure stops its handler and is
// told, one box at a time. Failures and notices that come while a box is open
// wait for it to close and follow in the order they came, a timer's failure is
// told once, no click gets through, and a rebuild of the main window waits
// until the box is closed.

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
    static void fail() { throw UserError(missing); }

private slots:
    void failureStopsHandlerAndIsTold() {
        TestProgram program;
        QWidget window;
        bool reachedAfterFailure = false;
        runHandler(&window, [&] { fail(); reachedAfterFailure = true; });
        runHandler(&window, [] { throw std::logic_error("bad state"); });
        QVERIFY(!reachedAfterFailure);
        QCOMPARE(program.messages.told().size(), 2);
        QCOMPARE(program.messages.told()[0], "warning: " + missing);
        QVERIFY(program.messages.told()[1].contains("bad state"));
    }

    void boxesNeverStack() {
        TestProgram program;
        QWidget window;
        Timer timer(&window, "Timer1");
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (program.messages.shown.size() > 1) return;
            runHandler(&window, fail);
            showNotice(&window, improperFormat);
            runTick(&window, &timer, fail);
        };
        runHandler(&window, fail);
        QCOMPARE(program.messages.told(), QStringList({"warning: " + missing, "warning: " + missing,
                                                       "information: " + improperFormat, "warning: " + missing}));
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

    // Modality does not stop an assistive tool's press: the program refuses
    // it, so Reset under an open box destroys neither the box nor its window.
    void windowsTakeNoClicksWhileABoxIsOpen() {
        StartedProgram program;
        QPointer<FormWindow> shownUnder = program.window("Form1");
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            program.click("Form1", "cmdReset");
            program.click("Form1", "cmdHandheld");
            program.processEvents();
        };
        runHandler(shownUnder, fail);
        program.processEvents();
        QVERIFY(shownUnder && program.window("Form1") == shownUnder.data() && !program.window("Form2"));
        program.click("Form1", "cmdHandheld");  // once the box is closed the buttons work again
        QVERIFY(program.window("Form2"));
    }
};

QTEST_MAIN(FailureBoundaryTest)
#include "test_failure_boundary.moc"
