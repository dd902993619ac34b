// The one boundary around event handlers: failures become one message box at
// a time, notices wait for an open box, and a tick failure that found a box
// open is told at its next failure. (Repeated tick failures told once per
// timer, and again after a click, are checked through the console counters.)

#include <QWidget>

#include "errors.h"
#include "test_program.h"

using namespace agelark;
using namespace agelark::testing;

class FailureBoundaryTest : public QObject {
    Q_OBJECT

    inline static const QString missing = QStringLiteral("The picture \"ps2.jpg\" is missing.");
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

    // While the first warning is open another failure is dropped, a notice waits
    // for the box to close, and a tick failure is dropped without being marked
    // as told: the timer's next failure is told.
    void boxesNeverStack() {
        TestProgram program;
        QWidget window;
        QTimer timer(&window);
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
        QCOMPARE(program.messages.told(), QStringList({"warning: " + missing, "information: Improper Format!"}));
        runTick(&window, &timer, fail);
        QCOMPARE(program.messages.told().size(), 3);
    }
};

QTEST_MAIN(FailureBoundaryTest)
#include "test_failure_boundary.moc"
