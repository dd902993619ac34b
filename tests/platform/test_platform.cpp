// The platform under the windows. The one boundary around event handlers: a
// failure stops its handler and is told, one box at a time; failures and
// notices that come while a box is open wait for it to close and follow in the
// order they came, and a repeating step's failure is told once.

#include <functional>

#include "tests/support/test_program.h"
#include "ui/design_kit.h"

using namespace agelark;
using namespace agelark::testing;

class PlatformTest : public QObject {
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
        bool told = false;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (program.messages.shown.size() > 1) return;
            runHandler(&window, fail);
            showNotice(&window, improperFormat);
            runRepeating(&window, told, fail);
        };
        runHandler(&window, fail);
        QCOMPARE(program.messages.told(), QStringList({"warning: " + missing, "warning: " + missing,
                                                       "information: " + improperFormat, "warning: " + missing}));
        runRepeating(&window, told, fail);
        QCOMPARE(program.messages.told().size(), 4);
    }

    void coloursAreBlueGreenRed() { QCOMPARE(colorFromBgr(0x3E8FF4), QColor(0xF4, 0x8F, 0x3E)); }
};

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
