// The one boundary around event handlers: a failure stops its handler and is told, one box at a time; failures and
// notices that come while a box is open follow in the order they came; a repeating step's failure is told once.

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
    void failuresAreToldOneBoxAtATime() {
        TestProgram program;
        QWidget window;
        bool reachedAfterFailure = false, told = false;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (program.messages.shown.size() > 1) return;
            showNotice(&window, improperFormat);
            runHandler(&window, fail);
            runRepeating(&window, told, fail);
        };
        runHandler(&window, [&] { fail(); reachedAfterFailure = true; });
        runHandler(&window, [] { throw std::logic_error("bad state"); });
        runRepeating(&window, told, fail);
        QVERIFY(!reachedAfterFailure);
        const QStringList boxes = program.messages.told();
        QCOMPARE(boxes.first(4), QStringList({"warning: " + missing, "information: " + improperFormat,
                                              "warning: " + missing, "warning: " + missing}));
        QVERIFY(boxes.size() == 5 && boxes[4].contains("bad state"));
    }

    void coloursAreBlueGreenRed() { QCOMPARE(colorFromBgr(0x3E8FF4), QColor(0xF4, 0x8F, 0x3E)); }
};

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
