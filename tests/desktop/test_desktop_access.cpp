// The program as a screen reader and the window manager meet it: windows read
// as windows, message boxes as alerts and lines as separators; results, the
// clock and the save status read as what they show; a box the keyboard cannot
// change cannot be changed by a screen reader either; the frames offer only
// what the windows can do; a browser that does not come is told.

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

const QString mainTitle = QStringLiteral("Agelark v2.5");
const QString handheldTitle = QStringLiteral("Agelark v2.4 - Nintendo Handhelds");
const QString savedTitle = QStringLiteral("Saved!");

// Every descendant of `within` with role `role`.
QList<Accessible> allWithRole(const Accessible& within, const QString& role) {
    QList<Accessible> found;
    for (const Accessible& child : within.children()) {
        if (child.roleName() == role) found.append(child);
        found += allWithRole(child, role);
    }
    return found;
}

// A box whose text stays `text` after a screen reader's insert and set-text commands.
bool refusesScreenReaderEdits(const Accessible& box, const QString& text) {
    if (!box.type("1") || !box.setTextContents("01/01/2001")) return false;
    QTest::qWait(300);
    if (box.text() == text) return true;
    QTest::qFail(qPrintable(QStringLiteral("'%1' took a screen reader's edit: it holds '%2', not '%3'")
                                .arg(box.name(), box.text(), text)),
                 __FILE__, __LINE__);
    return false;
}

bool offers(const QStringList& actions, const QStringList& wanted, const QStringList& unwanted) {
    for (const QString& a : wanted)
        if (!actions.contains(a)) return false;
    for (const QString& a : unwanted)
        if (actions.contains(a)) return false;
    return true;
}

}  // namespace

class DesktopAccess : public QObject {
    Q_OBJECT
private slots:
    void rolesAsAScreenReaderHearsThem();
    void lockedBoxesRefuseScreenReaderEdits();
    void framesOfferWhatTheWindowsDo();
    void browserThatNeverComesIsTold();
};

void DesktopAccess::rolesAsAScreenReaderHearsThem() {
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QCOMPARE(main.roleName(), QStringLiteral("frame"));
    // The five lines between a page's buttons and its picture are separators,
    // and nothing inside the window reads as a window of its own.
    QCOMPARE(allWithRole(main, "separator").size(), 5);
    QCOMPARE(allWithRole(main, "frame").size(), 0);

    // Results and the clock read as what they show, never as their description alone.
    QVERIFY(program.showPage(main, "Sony"));
    QVERIFY(program.control(main, "push button", "PS2").press());
    const Accessible result = program.control(main, "label", "Sony result");
    QVERIFY(readsCountSince(result, QDateTime(QDate(2000, 3, 4), QTime(0, 0), Qt::UTC)));
    QVERIFY2(result.name().contains("The PS2 was released"), qPrintable(result.name()));
    QVERIFY(program.showPage(main, "Custom"));
    const Accessible clock = program.control(main, "label", "Clock");
    static const QRegularExpression time(QStringLiteral("\\d{1,2}:\\d\\d:\\d\\d"));
    QVERIFY(waitUntil([&] { return time.match(clock.name()).hasMatch(); }, patience(2000)));
    QCOMPARE(clock.description(), QStringLiteral("Clock"));
    QVERIFY(program.control(main, "push button", "Save Changes").press());
    const Accessible status = main.find("label", "Save status");
    QVERIFY(waitUntil([&] { return status.name() == QLatin1String("Working..."); }, patience(2000)));

    const Accessible saved = program.window(savedTitle);
    QCOMPARE(saved.roleName(), QStringLiteral("frame"));
    QVERIFY(program.control(saved, "push button", "OK").press());
    QVERIFY(program.showPage(main, "Nintendo"));
    QVERIFY(program.control(main, "push button", "Handhelds").press());
    QCOMPARE(program.window(handheldTitle).roleName(), QStringLiteral("frame"));

    // A message box is an alert.
    QVERIFY(program.showPage(main, "Custom"));
    QVERIFY(program.control(main, "push button", "Submit").press());
    const Accessible box = program.messageBox("Improper Format!");
    QCOMPARE(box.roleName(), QStringLiteral("alert"));
    QVERIFY(program.pressOk(box));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

void DesktopAccess::lockedBoxesRefuseScreenReaderEdits() {
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(program.showPage(main, "Custom"));
    const Accessible from = program.control(main, "text", "Count-up from date");
    // While the box takes typing, a screen reader may set its text too.
    QVERIFY(from.setTextContents("01/01/2015"));
    QVERIFY(waitUntil([&] { return from.text() == QLatin1String("01/01/2015"); }, patience(1000)));
    QVERIFY(program.control(main, "push button", "Submit").press());
    QVERIFY(readsCountSince(program.control(main, "label", "Custom result"),
                            QDateTime(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC)));
    // Counting: the date it counts from is locked, for a screen reader too.
    QVERIFY(refusesScreenReaderEdits(from, "01/01/2015"));
    QVERIFY(readsCountSince(program.control(main, "label", "Custom result"),
                            QDateTime(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC)));

    // A console page's date boxes, disabled from the start, and the handheld window's.
    QVERIFY(program.showPage(main, "Sony"));
    QVERIFY(program.control(main, "push button", "PS2").press());
    const Accessible psThen = program.control(main, "text", "Sony count-from date");
    QVERIFY(waitUntil([&] { return psThen.text() == QLatin1String("03/04/2000"); }, patience(2000)));
    QVERIFY(refusesScreenReaderEdits(psThen, "03/04/2000"));
    QVERIFY(readsCountSince(program.control(main, "label", "Sony result"),
                            QDateTime(QDate(2000, 3, 4), QTime(0, 0), Qt::UTC)));
    QVERIFY(program.showPage(main, "Nintendo"));
    QVERIFY(program.control(main, "push button", "Handhelds").press());
    const Accessible handheld = program.window(handheldTitle);
    QVERIFY(refusesScreenReaderEdits(program.control(handheld, "text", "Handheld count-from date"), "Then"));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

void DesktopAccess::framesOfferWhatTheWindowsDo() {
    // The windows have fixed sizes: their frames offer no maximise box, which
    // would do nothing; the confirmation and the message boxes are closed, and
    // offer neither minimise nor maximise box.
    const QStringList maximise{"MAXIMIZE_HORZ", "MAXIMIZE_VERT"};
    const QStringList minimiseOnly{"minimise"};
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    const auto shownId = [&](const QString& title) {
        waitUntil([&] { return program.windowId(title).has_value(); }, patience(3000));
        return program.windowId(title).value_or(0);
    };
    QVERIFY(offers(allowedActions(shownId(mainTitle)), {"CLOSE", "MINIMIZE"}, maximise + QStringList{"RESIZE"}));
    QCOMPARE(titleBarBoxes(shownId(mainTitle)), minimiseOnly);
    QVERIFY(program.showPage(main, "Nintendo"));
    QVERIFY(program.control(main, "push button", "Handhelds").press());
    QVERIFY(program.window(handheldTitle));
    QVERIFY(offers(allowedActions(shownId(handheldTitle)), {"CLOSE", "MINIMIZE"}, maximise + QStringList{"RESIZE"}));
    QCOMPARE(titleBarBoxes(shownId(handheldTitle)), minimiseOnly);

    QVERIFY(program.showPage(main, "Custom"));
    QVERIFY(program.control(main, "push button", "Save Changes").press());
    QVERIFY(program.window(savedTitle));
    QVERIFY(offers(allowedActions(shownId(savedTitle)), {"CLOSE"}, maximise + QStringList{"RESIZE"}));
    QCOMPARE(titleBarBoxes(shownId(savedTitle)), QStringList());
    QVERIFY(program.control(program.window(savedTitle), "push button", "OK").press());
    QVERIFY(program.control(main, "push button", "Submit").press());
    const Accessible box = program.messageBox("Improper Format!");
    QVERIFY(offers(allowedActions(shownId("Agelark")), {"CLOSE"}, maximise));
    QCOMPARE(titleBarBoxes(shownId("Agelark")), QStringList());
    QVERIFY(program.pressOk(box));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

void DesktopAccess::browserThatNeverComesIsTold() {
    // An opener that starts but finds no browser, as xdg-open does on a desktop without one.
    Program program;
    program.emptyPath();
    {
        QFile opener(program.file("no-programs/xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly) && opener.write("#!/bin/sh\nexit 3\n") > 0);
        opener.setPermissions(opener.permissions() | QFile::ExeOwner);
    }
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    QVERIFY(program.control(main, "push button", "Visit {qAv}").press());
    const Accessible box = program.messageBox(
        "Could not open https://agelark.example.org/ in a web browser: \"xdg-open\" ended with exit status 3. "
        "Is a web browser installed and chosen as the default one?");
    QVERIFY(box);
    QCOMPARE(box.roleName(), QStringLiteral("alert"));
    QVERIFY(program.pressOk(box));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

QTEST_GUILESS_MAIN(DesktopAccess)
#include "test_desktop_access.moc"
