// The program by keyboard alone, with real key presses into the window that
// has the focus: Tab and Shift+Tab leave the notes pad, Enter in the date box
// submits it, Enter and Escape close the confirmation window.

#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

const QString mainTitle = QStringLiteral("Agelark v2.5");
const QString savedTitle = QStringLiteral("Saved!");

// Waits until the control a screen reader reports focused in `window` is `name`.
bool focusMovesTo(const Accessible& window, const QString& name) {
    QString now;
    if (waitUntil([&] { return (now = window.focusedDescendant().name()) == name; }, patience(2000))) return true;
    QTest::qFail(qPrintable(QStringLiteral("the focus is on '%1', not on '%2'").arg(now, name)), __FILE__, __LINE__);
    return false;
}

}  // namespace

class DesktopKeyboard : public QObject {
    Q_OBJECT
private slots:
    void withoutAMouse();
};

void DesktopKeyboard::withoutAMouse() {
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(program.showPage(main, "Custom"));
    const Accessible pad = program.control(main, "text", "Notes");
    const QString notes = pad.text();
    QVERIFY(pad.grabFocus());
    QVERIFY(focusMovesTo(main, "Notes"));
    QVERIFY(pressKeys({"Tab"}));
    QVERIFY(focusMovesTo(main, "Save Changes"));
    QVERIFY(pressKeys({"shift+Tab"}));
    QVERIFY(focusMovesTo(main, "Notes"));
    QCOMPARE(pad.text(), notes);  // no tab character typed

    const Accessible date = program.control(main, "text", "Count-up from date");
    QVERIFY(date.grabFocus());
    QVERIFY(focusMovesTo(main, "Count-up from date"));
    QVERIFY(pressKeys({"1", "slash", "1", "slash", "2", "0", "1", "5", "Return"}));
    QVERIFY(readsCountSince(program.control(main, "label", "Custom result"),
                            QDateTime(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC)));

    // Save Changes by the space bar; the confirmation closes by Enter, and again by Escape.
    for (const QString& closing : {QStringLiteral("Return"), QStringLiteral("Escape")}) {
        QVERIFY(program.control(main, "push button", "Save Changes").grabFocus());
        QVERIFY(focusMovesTo(main, "Save Changes"));
        QVERIFY(pressKeys({"space"}));
        const Accessible saved = program.window(savedTitle);
        QVERIFY(saved);
        QVERIFY(focusMovesTo(saved, "OK"));
        QVERIFY(pressKeys({closing}));
        QVERIFY(program.windowGone(savedTitle));
    }
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

QTEST_GUILESS_MAIN(DesktopKeyboard)
#include "test_desktop_keyboard.moc"
