// Windows where the user expects them, measured by their frames as the window
// manager (openbox) draws them: the handheld and confirmation windows lie on
// the main window, a rebuilt main window stays where the user moved it, on
// its page, and the rebuilds' notices are centred over it.

#include <QElapsedTimer>
#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

const QString mainTitle = QStringLiteral("Agelark v2.5");
const QString boxTitle = QStringLiteral("Agelark");
// Away from the screen's centre (where openbox puts a new window) and from its corner.
const QPoint movedTo(96, 152);

QString describe(const Frame& f) {
    return QStringLiteral("frame at (%1, %2), client %3x%4 at (%5, %6)")
        .arg(f.topLeft().x())
        .arg(f.topLeft().y())
        .arg(f.client.width())
        .arg(f.client.height())
        .arg(f.client.x())
        .arg(f.client.y());
}

QRect outer(const Frame& f) {
    return QRect(f.topLeft(), f.client.size() + QSize(f.left + f.right, f.top + f.bottom));
}

bool near(QPoint a, QPoint b, int tolerance) {
    return qAbs(a.x() - b.x()) <= tolerance && qAbs(a.y() - b.y()) <= tolerance;
}

// The frame of window `title` has the main window's frame's top-left corner,
// to a pixel, everywhere it is seen from its first show until it stands still.
bool onMainWindow(const Program& program, const QString& title) {
    const auto main = program.settledFrame(mainTitle);
    if (!main) return false;
    QList<Frame> seen;  // each place it was seen at, in order
    QElapsedTimer still;
    waitUntil(
        [&] {
            const auto f = program.frame(title);
            if (f && (seen.isEmpty() || seen.last().topLeft() != f->topLeft())) {
                seen.append(*f);
                still.start();
            }
            return !seen.isEmpty() && still.elapsed() >= 500;
        },
        patience(5000));
    QStringList off;
    for (const Frame& f : seen) {
        const QPoint by = f.topLeft() - main->topLeft();
        if (!near(by, {}, 1)) off.append(QStringLiteral("by (%1, %2): %3").arg(by.x()).arg(by.y()).arg(describe(f)));
    }
    if (!seen.isEmpty() && off.isEmpty()) return true;
    QTest::qFail(qPrintable(seen.isEmpty() ? QStringLiteral("'%1' was never shown").arg(title)
                                           : QStringLiteral("'%1' off the main window's corner %2; main window %3")
                                                 .arg(title, off.join("; then "), describe(*main))),
                 __FILE__, __LINE__);
    return false;
}

bool moveMainWindow(const Program& program) {
    const auto id = program.windowId(mainTitle);
    if (!id || !moveThroughWindowManager(*id, movedTo)) return false;
    return waitUntil(
        [&] {
            const auto f = program.frame(mainTitle);
            return f && f->topLeft() == movedTo;
        },
        patience(3000));
}

// What rebuilds the main window, from the page it is on; returns the notice it gives.
QString rebuild(const Program& program, const QString& how) {
    const Accessible main = program.window(mainTitle);
    if (how == "Reset") {
        // A count-up under way, which the rebuild ends.
        if (program.showPage(main, "Custom") && program.control(main, "text", "Count-up from date").type("01/01/2015") &&
            program.control(main, "push button", "Submit").press() &&
            waitUntil([&] { return main.find("text", "Custom current date").text() != "cusNow"; }, patience(2000)))
            program.control(main, "push button", "Reset").press();
        return {};
    }
    if (how == "Improper Format!") {
        if (program.showPage(main, "Custom") && program.control(main, "text", "Count-up from date").type("banana"))
            program.control(main, "push button", "Submit").press();
        return how;
    }
    // The Atari 2600's limit, which the faked clock reaches three seconds after the start.
    program.control(main, "push button", "2600").press();
    return QStringLiteral(
        "This program no longer functions correctly due to time.\r\n"
        "Eventually all consoles will stop working.");
}


}  // namespace

class DesktopPlacement : public QObject {
    Q_OBJECT
private slots:
    void handheldWindowOnMainWindow();
    void savedWindowOnMainWindow();
    void rebuiltWhereMovedWithItsNoticeCentred_data();
    void rebuiltWhereMovedWithItsNoticeCentred();
};

void DesktopPlacement::handheldWindowOnMainWindow() {
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(moveMainWindow(program));
    QVERIFY(program.showPage(main, "Nintendo"));
    QVERIFY(program.control(main, "push button", "Handhelds").press());
    QVERIFY(onMainWindow(program, "Agelark v2.4 - Nintendo Handhelds"));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

void DesktopPlacement::savedWindowOnMainWindow() {
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(moveMainWindow(program));
    QVERIFY(program.showPage(main, "Custom"));
    QVERIFY(program.control(main, "push button", "Save Changes").press());
    QVERIFY(onMainWindow(program, "Saved!"));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

// Each rebuild: the new main window stands where the user moved the old one,
// on the page it was on, and its notice (an alert) is centred over it; Reset
// starts afresh and says nothing.
void DesktopPlacement::rebuiltWhereMovedWithItsNoticeCentred_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("page");
    QTest::newRow("Improper Format!") << "Improper Format!" << "Custom";
    QTest::newRow("2600 notice") << "2600" << "Atari";
    QTest::newRow("Reset") << "Reset" << "Custom";
}

void DesktopPlacement::rebuiltWhereMovedWithItsNoticeCentred() {
    QFETCH(QString, how);
    QFETCH(QString, page);
    Program program;
    if (how == "2600") program.fakeClock("2045-09-29 03:14:05");
    QVERIFY(program.start());
    // Off the screen's centre, so that a window or box centred on the screen is told apart.
    QVERIFY(moveMainWindow(program));
    const auto oldWindow = program.windowId(mainTitle);
    QVERIFY(oldWindow);

    const QString notice = rebuild(program, how);
    QVERIFY(program.windowReplaced(mainTitle, *oldWindow));
    const Accessible main = program.window(mainTitle);
    QVERIFY(program.control(main, "filler", page, 0));  // the page shown at once
    const auto rebuilt = program.settledFrame(mainTitle);
    QVERIFY(rebuilt);
    QVERIFY2(near(rebuilt->topLeft(), movedTo, 1),
             qPrintable(QStringLiteral("moved to (%1, %2), rebuilt with its %3")
                            .arg(movedTo.x())
                            .arg(movedTo.y())
                            .arg(describe(*rebuilt))));

    if (notice.isEmpty()) {
        // Afresh: the date box is empty again, nothing counts, and no box comes.
        QCOMPARE(program.control(main, "text", "Count-up from date").text(), QString());
        QCOMPARE(main.find("text", "Custom current date").text(), QStringLiteral("cusNow"));
        QTest::qWait(1000);
        QCOMPARE(program.boxesShown(), QStringList());
    } else {
        const Accessible box = program.messageBox(notice, 4000);
        QVERIFY(box);
        QCOMPARE(box.roleName(), QStringLiteral("alert"));
        const auto boxFrame = program.settledFrame(boxTitle);
        QVERIFY(boxFrame);
        const QPoint off = outer(*boxFrame).center() - outer(*rebuilt).center();
        QVERIFY2(near(off, {}, 3), qPrintable(QStringLiteral("the box's centre is off the main window's by (%1, %2): "
                                                             "box %3; main window %4")
                                                   .arg(off.x())
                                                   .arg(off.y())
                                                   .arg(describe(*boxFrame), describe(*rebuilt))));
        QVERIFY(program.pressOk(box));
        QVERIFY(program.windowGone(boxTitle));
    }
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

QTEST_GUILESS_MAIN(DesktopPlacement)
#include "test_desktop_placement.moc"
