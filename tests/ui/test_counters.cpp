// The live console counters: a click selects a console, its timer's ticks count
// its age up in the group's result label; the Atari 2600's failing tick
// rebuilds the main window; other failures are reported once per timer.

#include <QClipboard>
#include <QGuiApplication>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "platform/controls.h"
#include "tests/support/test_program.h"
#include "ui/copy_menu.h"

using namespace agelark;
using namespace agelark::testing;

namespace {


QString windowOf(const ConsoleEntry& e) { return qtext(windowName(e.window)); }

QColor textColor(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

const QString atariNotice = QStringLiteral(
    "This program no longer functions correctly due to time.\r\nEventually all consoles will stop working.");

}  // namespace

class CountersTest : public QObject {
    Q_OBJECT
private slots:
    void clickThenTick_data() {
        QTest::addColumn<int>("row");
        for (const ConsoleEntry& e : catalogue()) QTest::newRow(e.button.data()) << int(&e - catalogue().data());
    }

    // Every console, in every group: picture, timers, label style, boxes, byline,
    // report; a second click on the running console sets all but the report again.
    void clickThenTick() {
        QFETCH(int, row);
        const ConsoleEntry& entry = catalogue()[std::size_t(row)];
        const QString window = windowOf(entry);
        StartedProgram program;
        if (window == "Form2") program.openHandheld();

        // Another group already counting (Form2 is one group: one of Form1), and
        // another console of this group running before the click.
        const ConsoleEntry& other = entry.tabIndex == 0 ? catalogue()[20] : catalogue()[0];
        program.click(windowOf(other), qtext(other.button));
        const auto group = groupOf(entry);
        program.click(window, qtext((group.front() == &entry ? group.back() : group.front())->button));

        auto picture = program.find<QLabel>(window, qtext(entry.pictureBox));
        const qint64 titleKey = picture->pixmap().cacheKey();
        auto label = program.find<QLabel>(window, qtext(entry.resultLabel));
        label->setText("before");
        const auto verifySelected = [&](const QString& now, const QString& caption) {
            QCOMPARE(program.find<QTimer>(window, qtext(entry.timer))->interval(), 100);
            QStringList running = program.running(window);
            if (window == windowOf(other)) running.removeOne(qtext(other.timer));
            running.removeOne("Timer22");
            QCOMPARE(running, QStringList{qtext(entry.timer)});  // the rest of the group stopped
            QVERIFY2(program.running(windowOf(other)).contains(qtext(other.timer)), "another group stopped");
            const std::uint32_t bgr = entry.labelForeColor;
            QCOMPARE(textColor(label), QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int(bgr >> 16)));
            QCOMPARE(label->font().pointSizeF(), entry.labelFontSize);
            QCOMPARE(program.text(window, qtext(entry.thenBox)), qtext(entry.countFromText));
            QCOMPARE(program.text(window, qtext(entry.nowBox)), now);
            QVERIFY(program.find<QLabel>(window, QStringLiteral("lblByWendrix_%1").arg(entry.bylineIndex))->isHidden());
            QCOMPARE(label->text(), caption);  // the click leaves the caption to the next tick
        };
        program.click(window, qtext(entry.button));
        QVERIFY(!picture->pixmap().isNull() && picture->pixmap().cacheKey() != titleKey);
        verifySelected("12/5/2026 11:10:00 AM", "before");

        // The first tick comes from the console's own timer, its page hidden unless it is the Atari page.
        program.clock.advanceSeconds(1);
        const double then = parseDateText(entry.countFromText);
        const QString report = QString::fromStdString(reportText(entry, then, dateSerial(2026, 12, 5, 11, 10, 1)));
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), report, 5000);
        QCOMPARE(program.text(window, qtext(entry.nowBox)), QString("12/5/2026 11:10:01 AM"));
        QVERIFY(report.contains(" Ago \r\n"));

        // Knock the style and the boxes off what the click set, then click again.
        QPalette green = label->palette();
        green.setColor(QPalette::WindowText, Qt::green);
        label->setPalette(green);
        label->setFont(QFont(label->font().family(), 30));
        program.find<QLineEdit>(window, qtext(entry.thenBox))->setText("01/01/2000");
        program.clock.advanceSeconds(3600);
        program.click(window, qtext(entry.button));
        verifySelected("12/5/2026 12:10:01 PM", report);
        program.tick(window, qtext(entry.timer));
        QCOMPARE(label->text(), QString::fromStdString(reportText(entry, then, dateSerial(2026, 12, 5, 12, 10, 1))));
        QVERIFY(program.messages.shown.isEmpty());
    }

    // At 09/29/2045 03:14:07 the 2600 counts its last second; from 03:14:08 its
    // tick fails, and the main window starts over on the Atari page with the
    // notice; the handheld window is left alone.
    void atari2600FailureRebuildsTheMainWindow() {
        TestProgram program;
        program.clock.set({2045, 9, 29, 3, 14, 7});
        program.start();
        program.click("Form1", "cmdPS2");
        program.openHandheld("cmdGB");
        program.tabs()->setCurrentIndex(3);
        QPointer<FormWindow> old = program.window("Form1");
        QPointer<FormWindow> form2 = program.window("Form2");
        program.click("Form1", "cmdCommand2600");
        program.tick("Form1", "Timer1");
        QCOMPARE(program.text("Form1", "lblLabel1"), QString(" The Atari 2600 was released \r\n24855 Days, 03:14:07 Ago "
                                                             "\r\n Released in the US on 9/11/1977 "));
        QVERIFY(program.messages.shown.isEmpty());

        program.clock.advanceSeconds(1);
        const auto seen = program.whileBoxOpen("Timer1", [&] { program.tick("Form1", "Timer1"); });
        QCOMPARE(program.messages.told(), QStringList{"information: " + atariNotice});
        QCOMPARE(program.messages.shown[0].parentName, QString("Form1"));
        QCOMPARE(seen.oldMainRunning, QStringList());
        QCOMPARE(seen.handheldRunning, QStringList{"Timer1"});
        QVERIFY(seen.handheldText.startsWith(" The GameBoy was released "));

        program.verifyRebuilt(old, 0);
        // Back in the design state: the 2600 report never showed, the Sony group forgot the PS2.
        program.verifyAsDesigned({"lblLabel1", "lblLabel2", "txtAtari", "NowText", "txtPs", "txtPsNow"});
        QVERIFY(!program.find<QLabel>("Form1", "lblByWendrix_3")->isHidden());
        QCOMPARE(program.window("Form2"), form2.data());
        QCOMPARE(runningTimers(form2), QStringList({"Timer1"}));
        // The new window's buttons work: the path comes round again one tick after a click.
        program.click("Form1", "cmdCommand2600");
        program.tick("Form1", "Timer1");
        program.processEvents();
        QCOMPARE(program.messages.told(), QStringList(2, "information: " + atariNotice));
    }

    // Past 11/19/2050 03:14:08 the 5200 overflows: one warning, not one per tick,
    // the other counters going on; a click on its button lets it be told again.
    // A count-from text that no longer parses is told once in the same way.
    void failuresOfConsolesAreToldOncePerTimer() {
        TestProgram program;
        program.clock.set({2050, 11, 19, 3, 14, 7});
        program.start();
        program.click("Form1", "cmdCommand5200");
        program.click("Form1", "cmdPS2");
        program.tick("Form1", "Timer2");
        program.tick("Form1", "Timer6");
        const QString sony = program.text("Form1", "lblLabel2");
        QVERIFY(program.text("Form1", "lblLabel1").contains("24855 Days, 03:14:07 Ago"));

        program.clock.advanceSeconds(1);
        for (int i = 0; i < 10; ++i) {
            program.tick("Form1", "Timer2");
            program.tick("Form1", "Timer6");
        }
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("warning"));
        QVERIFY(program.text("Form1", "lblLabel1").contains("24855 Days, 03:14:07 Ago"));  // no caption set
        QVERIFY(program.text("Form1", "lblLabel2").startsWith(" The PS2 was released "));
        QVERIFY(program.text("Form1", "lblLabel2") != sony);
        QCOMPARE(program.running("Form1"), QStringList({"Timer2", "Timer22", "Timer6"}));  // no rebuild

        program.click("Form1", "cmdCommand5200");
        program.tick("Form1", "Timer2");
        program.tick("Form1", "Timer2");
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(program.messages.shown[1].kind, QString("warning"));

        const QString report = program.text("Form1", "lblLabel2");
        program.find<QLineEdit>("Form1", "txtPs")->setText("next Tuesday");
        program.clock.advanceSeconds(5);
        program.tick("Form1", "Timer6");
        program.tick("Form1", "Timer6");
        QCOMPARE(program.messages.shown.size(), 3);
        QCOMPARE(program.messages.shown[2].kind, QString("warning"));
        QCOMPARE(program.text("Form1", "lblLabel2"), report);

        // A click whose picture is missing names the file and switches no timer.
        QVERIFY(QFile::remove(program.path("ps3.jpg")));
        auto picture = program.find<QLabel>("Form1", "Picture2");
        const qint64 shown = picture->pixmap().cacheKey();
        program.click("Form1", "cmdPS3");
        QCOMPARE(program.messages.shown.size(), 4);
        QCOMPARE(program.messages.told()[3],
                 "warning: The picture \"ps3.jpg\" is missing. It was looked for in " + program.appFolder() + ".");
        QCOMPARE(program.running("Form1"), QStringList({"Timer2", "Timer22", "Timer6"}));
        QCOMPARE(program.find<QTimer>("Form1", "Timer7")->interval(), 0);
        QCOMPARE(picture->pixmap().cacheKey(), shown);
        QCOMPARE(program.text("Form1", "txtPs"), QString("next Tuesday"));
        QCOMPARE(textColor(program.find<QLabel>("Form1", "lblLabel2")), QColor(Qt::white));
    }

    void copyPutsTheLabelTextOnTheClipboard() {
        StartedProgram program;
        program.openHandheld();
        program.click("Form1", "cmdPS2");
        program.tick("Form1", "Timer6");
        auto label = program.find<QLabel>("Form1", "lblLabel2");
        QCOMPARE(label->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(label->actions().size(), 1);
        QCOMPARE(label->actions()[0]->text(), QString("Copy"));
        label->actions()[0]->trigger();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, withPlatformLineBreaks(" The PS2 was released \r\n9772 Days, 11:10:00 Ago \r\n"
                                                " Released in the US on 3/4/2000 "));
#ifndef Q_OS_WIN
        QVERIFY(!copied.contains('\r') && copied.count('\n') == 2);
#endif
        // Every result label has it, on both windows; no other label.
        for (const char* name : {"lblLabel1", "lblLabel3", "lblLabel4", "lblLabel5", "lblCustom"})
            QCOMPARE(program.find<QLabel>("Form1", name)->actions().size(), 1);
        QCOMPARE(program.find<QLabel>("Form2", "lblAgelark")->actions().size(), 1);
        QVERIFY(program.find<QLabel>("Form1", "lblClock")->actions().isEmpty());
    }
};

QTEST_MAIN(CountersTest)
#include "test_counters.moc"
