// The one boundary around event handlers: failures become one message box at
// a time, repeated tick failures are told once, notices wait for an open box.

#include <QTest>
#include <QTimer>
#include <QWidget>

#include "errors.h"
#include "test_program.h"

using namespace agelark;
using namespace agelark::testing;

class FailureBoundaryTest : public QObject {
    Q_OBJECT

    static void fail() { throw UserError("The picture \"ps2.jpg\" is missing."); }

private slots:
    void failureStopsHandlerAndIsToldInUserWords() {
        TestProgram program;
        QWidget window;
        bool reachedAfterFailure = false;
        runHandler(&window, [&] {
            fail();
            reachedAfterFailure = true;
        });
        QVERIFY(!reachedAfterFailure);
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QStringLiteral("warning"));
        QCOMPARE(program.messages.shown[0].text, QStringLiteral("The picture \"ps2.jpg\" is missing."));

        runHandler(&window, [] { throw std::logic_error("bad state"); });
        QCOMPARE(program.messages.shown.size(), 2);
        QVERIFY(program.messages.shown[1].text.contains("bad state"));
    }

    void boxesNeverStack() {
        TestProgram program;
        QWidget window;
        int open = 0, deepest = 0;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            ++open;
            deepest = std::max(deepest, open);
            if (program.messages.shown.size() == 1) {
                // While the first warning is open: another failure, and a notice.
                runHandler(&window, fail);
                showNotice(&window, "Improper Format!");
            }
            --open;
        };
        runHandler(&window, fail);
        QCOMPARE(deepest, 1);
        QCOMPARE(program.messages.shown.size(), 2);  // the second failure is dropped, the notice follows
        QCOMPARE(program.messages.shown[1].kind, QStringLiteral("information"));
        QCOMPARE(program.messages.shown[1].text, QStringLiteral("Improper Format!"));
    }

    void repeatedTickFailureIsToldOnceUntilForgotten() {
        TestProgram program;
        QWidget window;
        QTimer timer(&window), other(&window);
        for (int i = 0; i < 10; ++i) runTick(&window, &timer, fail);
        QCOMPARE(program.messages.shown.size(), 1);

        runTick(&window, &other, fail);  // another timer's failure is its own
        QCOMPARE(program.messages.shown.size(), 2);

        forgetTickFailure(&timer);
        runTick(&window, &timer, fail);
        runTick(&window, &timer, fail);
        QCOMPARE(program.messages.shown.size(), 3);
    }

    void tickFailureDroppedWhileABoxIsOpenIsToldLater() {
        TestProgram program;
        QWidget window;
        QTimer timer(&window);
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (program.messages.shown.size() == 1) runTick(&window, &timer, fail);
        };
        runHandler(&window, fail);
        QCOMPARE(program.messages.shown.size(), 1);
        runTick(&window, &timer, fail);  // not marked as told: it is told now
        QCOMPARE(program.messages.shown.size(), 2);
    }
};

QTEST_MAIN(FailureBoundaryTest)
#include "test_failure_boundary.moc"
