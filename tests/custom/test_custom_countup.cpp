// The custom count-up on the Custom page, and the rebuild of the main window
// that Reset and a failing count-up tick share.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

#include "design.h"
#include "tab_control.h"
#include "test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

QStringList runningTimers(const FormWindow* window) {
    QStringList names;
    for (const QTimer* t : window->findChildren<QTimer*>())
        if (t->isActive()) names << t->objectName();
    names.sort();
    return names;
}

// Types `then` into the box, clicks Submit and lets one tick run.
void submitAndTick(TestProgram& program, const QString& then) {
    program.find<QLineEdit>("Form1", "txtCusThen")->setText(then);
    program.click("Form1", "cmdCustom");
    program.tick("Form1", "Timer24");
}

QString customResult(TestProgram& program) { return program.find<QLabel>("Form1", "lblCustom")->text(); }

// The count-up controls as a freshly loaded main window has them.
void verifyCountUpAtItsStart(TestProgram& program) {
    std::unique_ptr<FormWindow> design(createForm1());
    auto then = program.find<QLineEdit>("Form1", "txtCusThen");
    QCOMPARE(then->text(), QString());
    QVERIFY(then->isEnabled());
    QCOMPARE(program.find<QLineEdit>("Form1", "txtCusNow")->text(),
             design->findChild<QLineEdit*>("txtCusNow")->text());
    QCOMPARE(customResult(program), design->findChild<QLabel*>("lblCustom")->text());
    QCOMPARE(program.find<QLabel>("Form1", "lblCustom")->palette().color(QPalette::WindowText),
             design->findChild<QLabel*>("lblCustom")->palette().color(QPalette::WindowText));
    QVERIFY(!program.find<QTimer>("Form1", "Timer24")->isActive());
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
        TestProgram program;
        program.start();
        auto tabs = program.find<TabControl>("Form1", "SSTTab1");
        tabs->setCurrentIndex(5);
        QPointer<FormWindow> form1 = program.window("Form1");
        auto label = program.find<QLabel>("Form1", "lblCustom");
        QPalette red = label->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        label->setPalette(red);

        program.find<QLineEdit>("Form1", "txtCusThen")->setText(then);
        program.click("Form1", "cmdCustom");
        QVERIFY(program.find<QTimer>("Form1", "Timer24")->isActive());
        QCOMPARE(program.find<QTimer>("Form1", "Timer24")->interval(), 100);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(program.find<QLineEdit>("Form1", "txtCusNow")->text(), QString("12/5/2026 11:10:00 AM"));
        QVERIFY(program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());  // Submit checks nothing

        program.tick("Form1", "Timer24");
        QCOMPARE(customResult(program), shown);
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());
        QVERIFY(program.messages.shown.isEmpty());
        QCOMPARE(program.window("Form1"), form1.data());

        // It counts on from the box texts, a second at a time.
        program.clock.advanceSeconds(1);
        program.tick("Form1", "Timer24");
        QCOMPARE(program.find<QLineEdit>("Form1", "txtCusNow")->text(), QString("12/5/2026 11:10:01 AM"));
        QVERIFY(customResult(program) != shown);
    }

    void badTextRebuildsOnTheCustomPage_data() {
        QTest::addColumn<QString>("then");
        QTest::newRow("empty box") << "";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("a word") << "yesterday";
        QTest::newRow("February 30") << "02/30/2015";
        QTest::newRow("month 13") << "13/01/2015";
        QTest::newRow("70 years back") << "12/05/1956";
        QTest::newRow("a time alone") << "22:00:00";
        QTest::newRow("70 years ahead") << "12/05/2096";
        QTest::newRow("trailing junk") << "01/01/2015 x";
    }

    void badTextRebuildsOnTheCustomPage() {
        QFETCH(QString, then);
        TestProgram program;
        program.start();
        program.find<TabControl>("Form1", "SSTTab1")->setCurrentIndex(5);
        QPointer<FormWindow> old = program.window("Form1");
        const QString before = customResult(program);

        submitAndTick(program, then);
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("information"));
        QCOMPARE(program.messages.shown[0].text, QString("Improper Format!"));
        QCOMPARE(program.messages.shown[0].parentName, QString("Form1"));
        program.processEvents();
        QVERIFY(!old);
        QVERIFY(program.window("Form1")->isVisible());
        QCOMPARE(program.find<TabControl>("Form1", "SSTTab1")->currentIndex(), 5);
        verifyCountUpAtItsStart(program);
        QCOMPARE(customResult(program), before);  // never a wrapped or negative count
        QCOMPARE(runningTimers(program.window("Form1")), QStringList({"Timer22"}));
    }

    void secondSubmitKeepsTheFirstDate() {
        TestProgram program;
        program.start();
        submitAndTick(program, "01/01/2015");
        QCOMPARE(customResult(program), QString("4356 Days, 11:10:00"));
        program.clock.advanceSeconds(60);
        program.click("Form1", "cmdCustom");
        QCOMPARE(program.find<QLineEdit>("Form1", "txtCusNow")->text(), QString("12/5/2026 11:11:00 AM"));
        QVERIFY(program.find<QTimer>("Form1", "Timer24")->isActive());
        program.tick("Form1", "Timer24");
        QCOMPARE(customResult(program), QString("4356 Days, 11:11:00"));
        QCOMPARE(program.find<QLineEdit>("Form1", "txtCusThen")->text(), QString("01/01/2015"));
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isEnabled());
        QVERIFY(program.messages.shown.isEmpty());
    }

    // The count-up and the console counters run side by side.
    void countUpRunsBesideTheConsoles() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdPS4");
        submitAndTick(program, "01/01/2015");
        program.click("Form1", "cmdN64");
        QCOMPARE(runningTimers(program.window("Form1")), QStringList({"Timer15", "Timer22", "Timer24", "Timer8"}));
    }

    void resetRebuildsOnTheCustomPageWithoutAMessage() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdCommand7800");
        program.click("Form1", "cmdSW");
        program.click("Form1", "cmdHandheld");
        program.click("Form2", "cmd3DS");
        QPointer<FormWindow> form2 = program.window("Form2");
        submitAndTick(program, "01/01/2015");
        QPointer<FormWindow> old = program.window("Form1");

        program.click("Form1", "cmdReset");
        program.processEvents();
        QVERIFY(program.messages.shown.isEmpty());
        QVERIFY(!old);
        QVERIFY(program.window("Form1")->isVisible());
        QCOMPARE(program.find<TabControl>("Form1", "SSTTab1")->currentIndex(), 5);
        verifyCountUpAtItsStart(program);
        QCOMPARE(runningTimers(program.window("Form1")), QStringList({"Timer22"}));
        QVERIFY(!program.find<QLabel>("Form1", "lblByWendrix_0")->isHidden());
        QCOMPARE(program.window("Form2"), form2.data());
        QVERIFY(form2->isVisible());
        QCOMPARE(runningTimers(form2), QStringList({"Timer6"}));
        QCOMPARE(program.programEnded, 0);

        // The new window counts again.
        submitAndTick(program, "01/01/2015");
        QCOMPARE(customResult(program), QString("4356 Days, 11:10:00"));
    }

    // With no other window loaded the unload leaves none for a moment: the program must not end.
    void rebuildOfTheOnlyWindowKeepsTheProgramRunning() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdReset");
        QTest::qWait(50);
        program.processEvents();
        QCOMPARE(program.programEnded, 0);
        QVERIFY(program.window("Form1") && program.window("Form1")->isVisible());
    }

    // While "Improper Format!" is open the old main window is already stopped and the
    // handheld window keeps counting.
    void handheldCountsWhileTheMessageIsOpen() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdWii");
        program.click("Form1", "cmdHandheld");
        program.click("Form2", "cmdNDS");
        QPointer<FormWindow> old = program.window("Form1");
        QStringList oldRunning{"not looked at"};
        QStringList handheldRunning;
        QString handheldText;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (old) oldRunning = runningTimers(old);
            handheldRunning = runningTimers(program.window("Form2"));
            program.tick("Form2", "Timer5");
            handheldText = program.find<QLabel>("Form2", "lblAgelark")->text();
        };
        submitAndTick(program, "not a date");
        program.messages.whileOpen = nullptr;

        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(oldRunning, QStringList());
        QCOMPARE(handheldRunning, QStringList({"Timer5"}));
        QVERIFY(handheldText.startsWith(" The DS was released "));
        program.processEvents();
        QCOMPARE(runningTimers(program.window("Form2")), QStringList({"Timer5"}));
    }

    // Through the real timer and the event loop, as a user meets it.
    void failingTickFromARealTimer() {
        TestProgram program;
        program.start();
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");
        program.click("Form1", "cmdCustom");
        QTRY_COMPARE_WITH_TIMEOUT(program.messages.shown.size(), 1, 2000);
        QCOMPARE(program.messages.shown[0].text, QString("Improper Format!"));
        QTest::qWait(300);
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.find<TabControl>("Form1", "SSTTab1")->currentIndex(), 5);
        verifyCountUpAtItsStart(program);
    }
};

QTEST_MAIN(CustomCountUpTest)
#include "test_custom_countup.moc"
