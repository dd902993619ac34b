// The custom count-up on the Custom page, and the rebuild of the main window
// that Reset shares with the counts that fail: the count-up's, and the Atari
// 2600's at the limit of its count.

#include <QPlainTextEdit>

#include "notes/notes_pad.h"
#include "platform/control_values.h"
#include "tests/support/test_program.h"
#include "ui/design.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// Types `then` into the box, clicks Submit and lets one tick run.
void submitAndTick(TestProgram& program, const QString& then) {
    program.find<QLineEdit>("Form1", "txtCusThen")->setText(then);
    program.click("Form1", "cmdCustom");
    program.tick("Form1", "Timer24");
}

}  // namespace

class CustomCountUpTest : public QObject {
    Q_OBJECT
private slots:
    // Submit checks nothing: the ticks count from the box texts, a second at a
    // time (the forms a date may take, and how far, are the engine's).
    void submitStartsTheCountUp() {
        StartedProgram program;
        auto label = program.find<QLabel>("Form1", "lblCustom");
        setTextColor(label, Qt::red);
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/2015");
        program.click("Form1", "cmdCustom");
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(program.text("Form1", "txtCusNow"), QString("12/5/2026 11:10:00 AM"));
        QVERIFY(program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());
        QCOMPARE(program.running("Form1"), QStringList({"Timer22", "Timer24"}));
        program.clock.advanceSeconds(1);
        program.tick("Form1", "Timer24");
        QCOMPARE(label->text(), QString("4356 Days, 11:10:01"));
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());  // counting: its date is kept
    }

    // The main window starts over on the page of what asked, as designed, the
    // handheld window untouched and counting. A failure says why, over the new
    // window, while the old one is already stopped; the pad keeps what was typed.
    // Reset says nothing and reads the notes file again. It all comes round again.
    void rebuilds_data() {
        QTest::addColumn<QString>("trigger");  // Reset, the 2600, or the text the count-up counts from
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("notice");
        QTest::newRow("Reset") << "Reset" << 5 << QString();
        QTest::newRow("a word to count from") << "yesterday" << 5 << improperFormat;
        QTest::newRow("too far back") << "12/05/1975" << 5 << improperFormat;
        QTest::newRow("too far ahead") << "12/05/2116" << 5 << improperFormat;
        QTest::newRow("a time alone, on day zero") << "22:00:00" << 5 << improperFormat;
        QTest::newRow("the 2600 past its limit") << "2600" << 0 << atariNotice;
    }
    void rebuilds() {
        QFETCH(QString, trigger);
        QFETCH(int, tab);
        QFETCH(QString, notice);
        TestProgram program;
        program.clock.set({2045, 9, 29, 3, 14, 8});  // the 2600's first second too many
        program.start();
        program.processEvents();
        const QString typed = QString::fromUtf8("typed, not saved\n\u00a0");
        notesPad(program.window("Form1"))->setPlainText(typed);
        program.click("Form1", "cmdWii");
        program.openHandheld("cmdNDS");
        QPointer<FormWindow> old = program.window("Form1"), form2 = program.window("Form2");
        const auto ask = [&] {
            if (trigger == "Reset") {
                program.click("Form1", "cmdReset");
            } else if (trigger == "2600") {
                program.click("Form1", "cmdCommand2600");
                program.tick("Form1", "Timer1");
            } else {
                submitAndTick(program, trigger);
            }
        };
        QStringList oldRunning{"not seen"}, handheldRunning;  // while the box is open
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            oldRunning = runningTimers(old);
            handheldRunning = program.running("Form2");
        };
        ask();
        program.verifyRebuilt(old, tab);
        const std::unique_ptr<FormWindow> design(createForm1());
        for (const char* name :
             {"lblLabel1", "txtAtari", "NowText", "lblLabel4", "txtNes", "txtCusThen", "txtCusNow", "lblCustom"}) {
            const QWidget *now = program.find<QWidget>("Form1", name), *designed = design->findChild<QWidget*>(name);
            QCOMPARE(textOf(now), textOf(designed));
            QCOMPARE(now->palette().color(QPalette::WindowText), designed->palette().color(QPalette::WindowText));
            QCOMPARE(now->isEnabled(), designed->isEnabled());
        }
        QVERIFY(!program.find<QLabel>("Form1", "lblByWendrix_0")->isHidden());
        QCOMPARE(program.window("Form2"), form2.data());
        QCOMPARE(runningTimers(form2), QStringList{"Timer5"});
        if (notice.isEmpty()) {
            QVERIFY(program.messages.shown.isEmpty());
            QCOMPARE(padText(program.window("Form1")), QString("Notes\n"));
        } else {
            QCOMPARE(program.messages.told(), QStringList{"information: " + notice});
            QCOMPARE(program.messages.shown[0].parentName, QString("Form1"));
            QCOMPARE(oldRunning, QStringList());
            QCOMPARE(handheldRunning, QStringList{"Timer5"});
            QCOMPARE(padText(program.window("Form1")), typed);
        }
        old = program.window("Form1");
        ask();
        program.verifyRebuilt(old, tab);
    }
};

QTEST_MAIN(CustomCountUpTest)
#include "test_custom_countup.moc"
