// The program as a native Wayland client (weston, headless): it starts, counts
// and, asked to end as a desktop ending its session asks (SIGTERM), ends cleanly.
// Nothing else can close it here: the headless compositor has no input devices,
// so nobody can reach the close box of its client-side frame.

#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

class DesktopWayland : public QObject {
    Q_OBJECT
private slots:
    void startsCountsAndEnds();
};

void DesktopWayland::startsCountsAndEnds() {
    Program program;
    program.onWayland();
    QVERIFY(program.start());
    const Accessible main = program.window("Agelark v2.5");
    QVERIFY(program.showPage(main, "Sony"));
    QVERIFY(program.control(main, "push button", "PS2").press());
    QVERIFY(readsCountSince(program.control(main, "label", "Sony result"),
                            QDateTime(QDate(2000, 3, 4), QTime(0, 0), Qt::UTC)));
    program.endSession();
    QVERIFY(program.endedNormally());
}

QTEST_GUILESS_MAIN(DesktopWayland)
#include "test_desktop_wayland.moc"
