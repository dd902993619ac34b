// The one boundary around event handlers: failures become one message box at
// a time, notices wait for an open box, and a tick failure that found a box
// open is told later. (Repeated tick failures told once per timer, and again
// after a click, are checked through the console counters.)

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
        runHandler(&window, [] { throw std::logic_error("bad state"); });
        QVERIFY(!reachedAfterFailure);
        QCOMPARE(program.messages.told().size(), 2);
        QCOMPARE(program.messages.told()[0], QStringLiteral("warning: The picture \"ps2.jpg\" is missing."));
        QVERIFY(program.messages.told()[1].startsWith("warning: ") && program.messages.told()[1].contains("bad state"));
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
