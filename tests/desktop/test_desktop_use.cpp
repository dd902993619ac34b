// What a user does with the program, on a desktop with a window manager, driven
// through AT-SPI: counting a console, the handheld window, the custom count-up,
// saving the notes and closing the windows. (The rebuilds, Reset and the
// Atari 2600's limit among them, are followed where they place the window.)

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

const QString mainTitle = QStringLiteral("Agelark v2.5");
const QString handheldTitle = QStringLiteral("Agelark v2.4 - Nintendo Handhelds");
const QString savedTitle = QStringLiteral("Saved!");

QDateTime utc(int year, int month, int day) { return QDateTime(QDate(year, month, day), QTime(0, 0), Qt::UTC); }

// The text a now-box holds; it changes with every tick of its counter.
QString nowBoxText(const Accessible& main, const QString& box) { return main.find("text", box).text(); }

bool keepsTicking(const Accessible& main, const QString& nowBox) {
    const QString before = nowBoxText(main, nowBox);
    if (waitUntil([&] { return nowBoxText(main, nowBox) != before; }, patience(2500))) return true;
    QTest::qFail(qPrintable("the box '" + nowBox + "' stopped at '" + before + "'"), __FILE__, __LINE__);
    return false;
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

}  // namespace

class DesktopUse : public QObject {
    Q_OBJECT
private slots:
    void eachCountReadsItsAge();
    void saveChangesWritesAndConfirms();
    void closingOrders_data();
    void closingOrders();
};

// A console of the main window, one of the handheld window and a typed date
// each count live from their own day.
void DesktopUse::eachCountReadsItsAge() {
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(program.showPage(main, "Sony"));
    QVERIFY(program.control(main, "push button", "PS2").press());
    const Accessible result = program.control(main, "label", "Sony result");
    QVERIFY(readsCountSince(result, utc(2000, 3, 4)));
    // A second later the count has moved on with the clock.
    QTest::qWait(1200);
    QVERIFY(readsCountSince(result, utc(2000, 3, 4)));

    QVERIFY(program.showPage(main, "Nintendo"));
    QVERIFY(program.control(main, "push button", "Handhelds").press());
    const Accessible handheld = program.window(handheldTitle);
    QVERIFY(handheld);
    QVERIFY(program.control(handheld, "push button", "Nintendo DS").press());
    QVERIFY(readsCountSince(program.control(handheld, "label", "Handheld result"), utc(2004, 11, 21)));

    QVERIFY(program.showPage(main, "Custom"));
    QVERIFY(program.control(main, "text", "Count-up from date").type("01/01/2015"));
    QVERIFY(program.control(main, "push button", "Submit").press());
    QVERIFY(readsCountSince(program.control(main, "label", "Custom result"), utc(2015, 1, 1)));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

void DesktopUse::saveChangesWritesAndConfirms() {
    Program program;
    {
        QFile notes(program.file("Notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("Notes\r\n") == 7);
    }
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(program.showPage(main, "Custom"));
    const Accessible pad = program.control(main, "text", "Notes");
    QCOMPARE(pad.text(), QStringLiteral("Notes\n"));
    QVERIFY(pad.type("Buy a <Jaguar> & a Lynx\nsecond line"));

    QElapsedTimer sinceSave;
    QVERIFY(program.control(main, "push button", "Save Changes").press());
    sinceSave.start();
    const QByteArray expected = "Notes\r\nBuy a <Jaguar> & a Lynx\r\nsecond line";
    QVERIFY2(waitUntil([&] { return contentOf(program.file("Notes.txt")) == expected; }, 2000),
             contentOf(program.file("Notes.txt")).constData());

    const Accessible saved = program.window(savedTitle, int(qMax<qint64>(0, 3000 - sinceSave.elapsed())));
    QVERIFY(saved);
    QVERIFY(program.control(saved, "push button", "OK").press());
    QVERIFY(program.windowGone(savedTitle));
    QVERIFY(!program.windowId(savedTitle));  // unmapped, not only covered

    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
    QCOMPARE(contentOf(program.file("Notes.txt")), expected);
}

void DesktopUse::closingOrders_data() {
    QTest::addColumn<bool>("handheldOpen");
    QTest::addColumn<QString>("saved");  // "", "shown" or "hidden": the confirmation window
    QTest::addColumn<QStringList>("closedFirst");  // closed with their close boxes before the main window

    QTest::newRow("main window, with the handheld and the hidden confirmation loaded") << true << "hidden" << QStringList{};
    QTest::newRow("main window, with the confirmation shown") << false << "shown" << QStringList{};
    QTest::newRow("handheld window alone, then the main window") << true << "" << QStringList{handheldTitle};
    QTest::newRow("confirmation by its close box, then the main window") << false << "shown" << QStringList{savedTitle};
    QTest::newRow("handheld, then confirmation, then the main window")
        << true << "shown" << QStringList{handheldTitle, savedTitle};
}

void DesktopUse::closingOrders() {
    QFETCH(bool, handheldOpen);
    QFETCH(QString, saved);
    QFETCH(QStringList, closedFirst);

    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(program.showPage(main, "Sony"));
    QVERIFY(program.control(main, "push button", "PS2").press());
    if (handheldOpen) {
        QVERIFY(program.showPage(main, "Nintendo"));
        QVERIFY(program.control(main, "push button", "Handhelds").press());
        const Accessible handheld = program.window(handheldTitle);
        QVERIFY(program.control(handheld, "push button", "GB").press());
    }
    if (!saved.isEmpty()) {
        QVERIFY(program.showPage(main, "Custom"));
        QVERIFY(program.control(main, "push button", "Save Changes").press());
        const Accessible confirmation = program.window(savedTitle, patience(5000));
        QVERIFY(confirmation);
        if (saved == "hidden") {
            QVERIFY(program.control(confirmation, "push button", "OK").press());
            QVERIFY(program.windowGone(savedTitle));
        }
    }

    for (const QString& title : closedFirst) {
        QVERIFY(program.closeWindow(title));
        QVERIFY(program.windowGone(title));
        // The main window stays, and its console goes on counting.
        QVERIFY(program.alive());
        QVERIFY(program.windowId(mainTitle));
        QVERIFY(keepsTicking(main, "Sony current date"));
    }

    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

QTEST_GUILESS_MAIN(DesktopUse)
#include "test_desktop_use.moc"
