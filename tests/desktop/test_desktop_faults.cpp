// A message box belongs to the main window. A rebuild of the main window that
// comes while such a box is open must neither crash the program nor lose the
// pad's unsaved text; the rebuild's own notice comes once the open box is
// closed. Three ways to get there, as a user (or a screen reader, whose
// actions a modal box does not block) can.

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

const QString mainTitle = QStringLiteral("Agelark v2.5");
const QString unsaved = QStringLiteral("not saved yet");
const QString atariNotice = QStringLiteral(
    "This program no longer functions correctly due to time.\r\n"
    "Eventually all consoles will stop working.");

bool typeUnsavedNotes(const Program& program, const Accessible& main) {
    return program.showPage(main, "Custom") && program.control(main, "text", "Notes").type(unsaved);
}

// The pad of the main window as it is now still holds the text typed before.
bool padKeptUnsavedNotes(const Program& program) {
    const Accessible main = program.window(mainTitle);
    if (!main || !program.showPage(main, "Custom")) return false;
    const QString pad = program.control(main, "text", "Notes").text();
    if (pad.contains(unsaved)) return true;
    QTest::qFail(qPrintable("the pad lost its unsaved text; it holds '" + pad + "'"), __FILE__, __LINE__);
    return false;
}

// Waits out `milliseconds` unless the program ends before.
void watch(const Program& program, int milliseconds) {
    waitUntil([&] { return !program.running(); }, milliseconds);
}

// The limit passes `untilLimit` from now while `warning` is open: the program
// lives, the warning stays, and only once it is closed does the rebuild's
// `notice` come, to a new main window whose pad kept the unsaved text.
bool limitWaitsForTheOpenWarning(Program& program, const Accessible& warning, const QString& warningText,
                                 const QString& notice, int untilLimit) {
    watch(program, untilLimit);
    if (!program.alive()) return false;
    if (!warning.exists() || !warning.showing()) {
        QTest::qFail("the warning went away by itself", __FILE__, __LINE__);
        return false;
    }
    if (program.boxesShown() != QStringList{warningText}) {
        QTest::qFail(qPrintable("the notice did not wait: " + program.boxesShown().join(" | ")), __FILE__, __LINE__);
        return false;
    }
    return program.pressOk(warning) && program.pressOk(program.messageBox(notice)) && padKeptUnsavedNotes(program);
}

}  // namespace

class DesktopFaults : public QObject {
    Q_OBJECT
private slots:
    void atariLimitWhileVisitWarningOpen();
    void customLimitWhileSaveWarningOpen();
    void resetWhileImproperFormatOpen();
};

void DesktopFaults::atariLimitWhileVisitWarningOpen() {
    // The 2600's count reaches its limit at 09/29/2045 03:14:08, ten seconds
    // after the program starts; there is no browser opener to find.
    QElapsedTimer untilLimit;
    untilLimit.start();
    Program program;
    program.fakeClock("2045-09-29 03:13:58");
    program.emptyPath();
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    const auto oldWindow = program.windowId(mainTitle);
    QVERIFY(oldWindow);
    QVERIFY(typeUnsavedNotes(program, main));
    QVERIFY(program.showPage(main, "Atari"));
    QVERIFY(program.control(main, "push button", "2600").press());
    const Accessible atari = program.control(main, "label", "Atari result");
    QVERIFY(waitUntil([&] { return atari.spoken().contains("24855 Days, 03:1"); }, patience(3000)));  // counting
    QVERIFY(program.control(program.control(main, "filler", "Atari"), "push button", "Visit {qAv}").press());
    const QString warningText = QStringLiteral(
        "Could not open https://agelark.example.org/ in the web browser: the command \"xdg-open\" could not be "
        "started. Is it installed?");
    const Accessible warning = program.messageBox(warningText);
    QVERIFY(warning);
    QVERIFY2(program.windowId(mainTitle) == oldWindow, "set-up too slow: the limit came before the warning");

    QVERIFY(limitWaitsForTheOpenWarning(program, warning, warningText, atariNotice,
                                        int(qMax<qint64>(0, 12000 - untilLimit.elapsed()))));

    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

void DesktopFaults::customLimitWhileSaveWarningOpen() {
    // A count-up from 2,147,483,648 seconds less eight ago passes its limit
    // eight seconds later. Save fails: the notes file beside the program may
    // not be written, and the user's own data folder cannot be made (its path
    // runs through a file).
    Program program;
    QVERIFY(QFile::setPermissions(program.file("Notes.txt"),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    program.environment.insert("XDG_DATA_HOME", program.file("Notes.txt") + "/data");
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    const auto oldWindow = program.windowId(mainTitle);
    QVERIFY(oldWindow);
    QVERIFY(typeUnsavedNotes(program, main));

    QElapsedTimer untilLimit;
    untilLimit.start();
    const QString then =
        QDateTime::currentDateTimeUtc().addSecs(-2147483648LL + 8).toString(QStringLiteral("M/d/yyyy H:mm:ss"));
    QVERIFY(program.control(main, "text", "Count-up from date").type(then));
    QVERIFY(program.control(main, "push button", "Submit").press());
    // Counting has begun once the current-date box shows the time.
    QVERIFY(waitUntil([&] { return main.find("text", "Custom current date").text() != "cusNow"; }, patience(2000)));
    QVERIFY(program.control(main, "push button", "Save Changes").press());

    const QString ownFolder = program.file("Notes.txt") + "/data/Agelark";
    const QString warningText =
        "Could not save the notes to " + ownFolder + "/Notes.txt: its folder " + ownFolder + " could not be made";
    const Accessible warning = program.messageBox(warningText);
    QVERIFY(warning);
    QVERIFY2(program.windowId(mainTitle) == oldWindow, "set-up too slow: the limit came before the warning");

    QVERIFY(limitWaitsForTheOpenWarning(program, warning, warningText, "Improper Format!",
                                        int(qMax<qint64>(0, 10000 - untilLimit.elapsed()))));

    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

void DesktopFaults::resetWhileImproperFormatOpen() {
    Program program;
    QVERIFY(program.start());
    const Accessible main = program.window(mainTitle);
    const auto oldWindow = program.windowId(mainTitle);
    QVERIFY(oldWindow);
    QVERIFY(typeUnsavedNotes(program, main));
    QVERIFY(program.control(main, "text", "Count-up from date").type("banana"));
    QVERIFY(program.control(main, "push button", "Submit").press());
    const Accessible box = program.messageBox("Improper Format!");
    QVERIFY(box);
    QVERIFY(program.windowReplaced(mainTitle, *oldWindow));

    // The box is modal; an assistive technology's press, which modality does
    // not stop, is refused as a click would be.
    const Accessible rebuilt = program.window(mainTitle);
    const auto rebuiltWindow = program.windowId(mainTitle);
    QVERIFY(program.control(rebuilt, "push button", "Reset").press());
    watch(program, 1500);
    QVERIFY(program.alive());
    QVERIFY2(box.exists() && box.showing(), "the box's window did not survive the Reset");
    QVERIFY(program.pressOk(box));
    watch(program, 1000);
    QVERIFY(program.alive());
    QCOMPARE(program.windowId(mainTitle), rebuiltWindow);  // no second rebuild came after it

    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

QTEST_GUILESS_MAIN(DesktopFaults)
#include "test_desktop_faults.moc"
