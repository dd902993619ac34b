// The custom count-up on the Custom page, and the rebuild of the main window
// that Reset and a failing count-up tick share.

#include <QPlainTextEdit>

#include "notes/notes_pad.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// Types `then` into the box, clicks Submit and lets one tick run.
void submitAndTick(TestProgram& program, const QString& then) {
    program.find<QLineEdit>("Form1", "txtCusThen")->setText(then);
    program.click("Form1", "cmdCustom");
    program.tick("Form1", "Timer24");
}

// The count-up controls as a freshly loaded main window has them.
void verifyCountUpAtItsStart(TestProgram& program) {
    program.verifyAsDesigned({"txtCusThen", "txtCusNow", "lblCustom"});
    QVERIFY(program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());
}

}  // namespace

class CustomCountUpTest : public QObject {
    Q_OBJECT
private slots:
    void acceptedForms_data() {
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("shown");
        // The clock stands at 12/5/2026 11:10:00 AM.
        QTest::newRow("month first") << "01/01/2015" << "4356 Days, 11:10:00";
        QTest::newRow("single digits") << "1/1/2015" << "4356 Days, 11:10:00";
        QTest::newRow("blanks around") << "  01/01/2015\t " << "4356 Days, 11:10:00";
        QTest::newRow("with a time") << "01/01/2015 22:00:00" << "4355 Days, 13:10:00";
        QTest::newRow("with AM/PM") << "1/1/2015 10:00:00 PM" << "4355 Days, 13:10:00";
        QTest::newRow("two-digit year, 2000s") << "01/01/15" << "4356 Days, 11:10:00";
        QTest::newRow("two-digit year, 1900s") << "12/05/99" << "9862 Days, 11:10:00";
        QTest::newRow("ISO date") << "2015-01-01" << "4356 Days, 11:10:00";
        QTest::newRow("ISO with a blank") << "2015-01-01 22:00:00" << "4355 Days, 13:10:00";
        QTest::newRow("ISO with T") << "2015-01-01T22:00:00" << "4355 Days, 13:10:00";
        QTest::newRow("under a day ago") << "12/04/2026 12:00:00" << "23:10:00";
        QTest::newRow("this very second") << "12/05/2026 11:10:00" << "00:00:00";
        QTest::newRow("in the future") << "12/06/2026" << "12:50:00";
        QTest::newRow("67 years back") << "12/05/1959" << "24472 Days, 11:10:00";
    }

    void acceptedForms() {
        QFETCH(QString, then);
        QFETCH(QString, shown);
        StartedProgram program;
        submitAndTick(program, then);
        QCOMPARE(program.text("Form1", "lblCustom"), shown);
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());
        QVERIFY(program.messages.shown.isEmpty());
    }

    // The count goes as far as 32 bits of seconds reach, whatever the days:
    // 24,856 calendar days apart, an hour under the limit, still counts, forwards
    // and backwards.
    void farthestCounts_data() {
        QTest::addColumn<CivilDateTime>("now");
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("shown");
        QTest::newRow("24,856 days back") << CivilDateTime{2068, 1, 20, 0, 0, 0} << "1/1/2000 23:00:00"
                                          << "24855 Days, 01:00:00";
        QTest::newRow("24,856 days ahead") << CivilDateTime{2000, 1, 1, 23, 0, 0} << "1/20/2068" << "01:00:00";
    }

    void farthestCounts() {
        QFETCH(CivilDateTime, now);
        QFETCH(QString, then);
        QFETCH(QString, shown);
        TestProgram program;
        program.clock.set(now);
        program.start();
        submitAndTick(program, then);
        QCOMPARE(program.text("Form1", "lblCustom"), shown);
        program.processEvents();
        QVERIFY(program.messages.shown.isEmpty());
    }

    // Submit checks nothing; the ticks count on from the box texts, a second at a time.
    void submitStartsTheCountUp() {
        StartedProgram program;
        auto label = program.find<QLabel>("Form1", "lblCustom");
        QPalette red = label->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        label->setPalette(red);
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/2015");
        program.click("Form1", "cmdCustom");
        QCOMPARE(program.find<QTimer>("Form1", "Timer24")->interval(), 100);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(program.text("Form1", "txtCusNow"), QString("12/5/2026 11:10:00 AM"));
        QVERIFY(program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());

        program.click("Form1", "cmdPS4");
        program.tick("Form1", "Timer24");
        program.click("Form1", "cmdN64");
        QCOMPARE(program.running("Form1"), QStringList({"Timer15", "Timer22", "Timer24", "Timer8"}));
        program.clock.advanceSeconds(1);
        program.tick("Form1", "Timer24");
        QCOMPARE(program.text("Form1", "txtCusNow"), QString("12/5/2026 11:10:01 AM"));
        QCOMPARE(label->text(), QString("4356 Days, 11:10:01"));

        // A second Submit keeps the first date and counts on to the new now.
        program.clock.advanceSeconds(59);
        program.click("Form1", "cmdCustom");
        QCOMPARE(program.text("Form1", "txtCusNow"), QString("12/5/2026 11:11:00 AM"));
        program.tick("Form1", "Timer24");
        QCOMPARE(label->text(), QString("4356 Days, 11:11:00"));
        QCOMPARE(program.text("Form1", "txtCusThen"), QString("01/01/2015"));
        QVERIFY(program.messages.shown.isEmpty());
    }

    void rebuildOnTheCustomPage_data() {
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QString>("then");  // what Submit counts from
        QTest::newRow("Reset") << true << "01/01/2015";
        QTest::newRow("empty box") << false << "";
        QTest::newRow("blanks only") << false << "   ";
        QTest::newRow("a word") << false << "yesterday";
        QTest::newRow("February 30") << false << "02/30/2015";
        QTest::newRow("month 13") << false << "13/01/2015";
        QTest::newRow("70 years back") << false << "12/05/1956";
        QTest::newRow("a time alone") << false << "22:00:00";
        QTest::newRow("70 years ahead") << false << "12/05/2096";
        QTest::newRow("trailing junk") << false << "01/01/2015 x";
    }

    // Reset, and a count-up text that is no date or too far off, start the main
    // window over on the Custom page, its count-up as designed (never a wrapped
    // or negative count), the handheld window untouched. A bad text says
    // "Improper Format!": while it is open the old main window is already stopped
    // and the handheld window keeps counting, and the notes pad keeps what was
    // typed and not saved. Reset says nothing and reads the notes file again.
    void rebuildOnTheCustomPage() {
        QFETCH(bool, reset);
        QFETCH(QString, then);
        StartedProgram program;
        const QString typed = QString::fromUtf8("typed, not saved\n\u00a0");
        program.find<QPlainTextEdit>("Form1", "txtNotes")->setPlainText(typed);
        program.click("Form1", "cmdWii");
        program.openHandheld("cmdNDS");
        QPointer<FormWindow> old = program.window("Form1"), form2 = program.window("Form2");

        const auto seen = program.whileBoxOpen("Timer5", [&] {
            submitAndTick(program, then);
            if (reset) program.click("Form1", "cmdReset");
        });
        program.verifyRebuilt(old, 5);
        verifyCountUpAtItsStart(program);
        QVERIFY(!program.find<QLabel>("Form1", "lblByWendrix_0")->isHidden());
        QCOMPARE(program.window("Form2"), form2.data());
        QVERIFY(form2->isVisible());
        QCOMPARE(runningTimers(form2), QStringList{"Timer5"});
        if (reset) {
            QVERIFY(program.messages.shown.isEmpty());
            QCOMPARE(padText(program.window("Form1")), QString("Notes\n"));
        } else {
            QCOMPARE(program.messages.told(), QStringList{"information: Improper Format!"});
            QCOMPARE(program.messages.shown[0].parentName, QString("Form1"));
            QCOMPARE(seen.oldMainRunning, QStringList());
            QCOMPARE(seen.handheldRunning, QStringList{"Timer5"});
            QVERIFY(seen.handheldText.startsWith(" The DS was released "));
            QCOMPARE(padText(program.window("Form1")), typed);
        }
        // The new window counts again (from 11:10:01 when a box was open: the handheld ticked meanwhile).
        submitAndTick(program, "01/01/2015");
        QCOMPARE(program.text("Form1", "lblCustom"), reset ? "4356 Days, 11:10:00" : "4356 Days, 11:10:01");
    }

    // Through the real timer and the event loop, as a user meets it. The main
    // window is the only one: its unload must not end the program.
    void failingTickFromARealTimer() {
        StartedProgram program;
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");
        program.click("Form1", "cmdCustom");
        QTRY_COMPARE_WITH_TIMEOUT(program.messages.shown.size(), 1, 2000);
        QTest::qWait(300);
        QCOMPARE(program.messages.told(), QStringList{"information: Improper Format!"});
        QCOMPARE(program.tabs()->currentIndex(), 5);
        verifyCountUpAtItsStart(program);
        QCOMPARE(program.programEnded, 0);
    }
};

QTEST_MAIN(CustomCountUpTest)
#include "test_custom_countup.moc"
