// The live console counters: a click selects a console, its timer's ticks count
// its age up in the group's result label; the Atari 2600's failing tick
// rebuilds the main window; other failures are reported once per timer.

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

#include "age.h"
#include "catalogue.h"
#include "copy_menu.h"
#include "date_text.h"
#include "design.h"
#include "tab_control.h"
#include "test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QString windowOf(const ConsoleEntry& e) { return text(windowName(e.window)); }

QStringList runningTimers(const FormWindow* window) {
    QStringList names;
    for (const QTimer* t : window->findChildren<QTimer*>())
        if (t->isActive()) names << t->objectName();
    names.sort();
    return names;
}

QColor textColor(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

// A console of another group than `entry`'s, to show that groups run side by side.
const ConsoleEntry& otherGroupsConsole(const ConsoleEntry& entry) {
    for (const ConsoleEntry& e : catalogue())
        if (e.window == entry.window && e.tabIndex != entry.tabIndex) return e;
    return *entryForButton(WindowId::Form1, "cmdPS1");  // Form2 is one group: borrow one of Form1
}

const QString atariNotice = QStringLiteral(
    "This program no longer functions correctly due to time.\r\nEventually all consoles will stop working.");

}  // namespace

class CountersTest : public QObject {
    Q_OBJECT
private slots:
    void clickThenTick_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        for (const ConsoleEntry& e : catalogue())
            QTest::newRow(e.button.data()) << text(e.button) << windowOf(e);
    }

    // Every console, in every group: picture, timers, label style, boxes, byline, report.
    void clickThenTick() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        const ConsoleEntry& entry = *entryForButton(window == "Form1" ? WindowId::Form1 : WindowId::Form2,
                                                    button.toStdString());
        TestProgram program;
        program.start();
        if (window == "Form2") program.click("Form1", "cmdHandheld");
        FormWindow* w = program.window(window);
        QVERIFY(w);

        // Another group already counting, and every timer of this group stopped-but-enabled
        // states mixed: the previous console of the group running.
        const ConsoleEntry& other = otherGroupsConsole(entry);
        program.click(windowOf(other), text(other.button));
        const auto group = groupOf(entry);
        const ConsoleEntry* previous = group.front() == &entry ? group.back() : group.front();
        program.click(window, text(previous->button));

        auto picture = program.find<QLabel>(window, text(entry.pictureBox));
        const qint64 titleKey = picture->pixmap().cacheKey();
        auto label = program.find<QLabel>(window, text(entry.resultLabel));
        label->setText("before");
        program.click(window, button);

        QVERIFY(program.messages.shown.isEmpty());
        QVERIFY(!picture->pixmap().isNull());
        QVERIFY(picture->pixmap().cacheKey() != titleKey);
        auto timer = program.find<QTimer>(window, text(entry.timer));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 100);
        for (const ConsoleEntry* member : group)
            if (member != &entry)
                QVERIFY2(!program.find<QTimer>(window, text(member->timer))->isActive(), member->timer.data());
        QVERIFY2(program.find<QTimer>(windowOf(other), text(other.timer))->isActive(), "another group stopped");
        const QColor expected(int(entry.labelForeColor & 0xFF), int((entry.labelForeColor >> 8) & 0xFF),
                              int(entry.labelForeColor >> 16));
        QCOMPARE(textColor(label), expected);
        QCOMPARE(label->font().pointSizeF(), entry.labelFontSize);
        QCOMPARE(program.find<QLineEdit>(window, text(entry.thenBox))->text(), text(entry.countFromText));
        QCOMPARE(program.find<QLineEdit>(window, text(entry.nowBox))->text(), QString("12/5/2026 11:10:00 AM"));
        QVERIFY(program.find<QLabel>(window, QStringLiteral("lblByWendrix_%1").arg(entry.bylineIndex))->isHidden());
        QCOMPARE(label->text(), QString("before"));  // the click leaves the caption to the first tick

        program.clock.advanceSeconds(1);
        program.tick(window, text(entry.timer));
        QCOMPARE(program.find<QLineEdit>(window, text(entry.nowBox))->text(), QString("12/5/2026 11:10:01 AM"));
        const double then = parseDateText(entry.countFromText);
        QCOMPARE(label->text(), QString::fromStdString(reportText(entry, then, dateSerial(2026, 12, 5, 11, 10, 1))));
        QVERIFY(label->text().startsWith(text(entry.titleText) + "\r\n"));
        QVERIFY(label->text().endsWith(" Ago \r\n" + text(entry.releaseText)));
        QVERIFY(program.messages.shown.isEmpty());
    }

    void reportTextsOfKnownMoments() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdPS2");
        program.click("Form1", "cmdSX");
        program.tick("Form1", "Timer6");
        program.tick("Form1", "TimerSX");
        QCOMPARE(program.find<QLabel>("Form1", "lblLabel2")->text(),
                 QString(" The PS2 was released \r\n9772 Days, 11:10:00 Ago \r\n Released in the US on 3/4/2000 "));
        QCOMPARE(program.find<QLabel>("Form1", "lblLabel5")->text(),
                 QString(" The Xbox Series X was released \r\n2216 Days, 11:10:00 Ago \r\n"
                         " Released in the US on 11/10/2020 "));
    }

    void switchingConsolesWithinAGroup() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdPS1");
        program.tick("Form1", "Timer5");
        auto label = program.find<QLabel>("Form1", "lblLabel2");
        const QString ps1Report = label->text();
        QCOMPARE(textColor(label), QColor(Qt::black));

        program.click("Form1", "cmdPS2");
        QVERIFY(!program.find<QTimer>("Form1", "Timer5")->isActive());
        QVERIFY(program.find<QTimer>("Form1", "Timer6")->isActive());
        QCOMPARE(textColor(label), QColor(Qt::white));
        QCOMPARE(label->text(), ps1Report);
        program.tick("Form1", "Timer6");
        QVERIFY(label->text().startsWith(" The PS2 was released "));

        // The Master System's fractional size does not stick to the next Sega console.
        program.click("Form1", "cmdMS");
        auto sega = program.find<QLabel>("Form1", "lblLabel3");
        QCOMPARE(sega->font().pointSizeF(), 13.5);
        QCOMPARE(textColor(sega), QColor(255, 0, 0));
        program.click("Form1", "cmdGen");
        QCOMPARE(sega->font().pointSizeF(), 14.0);
    }

    void secondClickOnTheRunningConsole() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdNomad");
        program.tick("Form1", "Timer28");
        auto label = program.find<QLabel>("Form1", "lblLabel3");
        const QString report = label->text();
        // Knock the style and the boxes off what the click set.
        setTextColorForTest(label);
        program.find<QLineEdit>("Form1", "txtSega")->setText("01/01/2000");

        program.clock.advanceSeconds(3600);
        program.click("Form1", "cmdNomad");
        QVERIFY(program.find<QTimer>("Form1", "Timer28")->isActive());
        QCOMPARE(textColor(label), QColor(244, 143, 62));
        QCOMPARE(label->font().pointSizeF(), 14.0);
        QCOMPARE(program.find<QLineEdit>("Form1", "txtSega")->text(), QString("10/01/1995"));
        QCOMPARE(program.find<QLineEdit>("Form1", "txtSegaNow")->text(), QString("12/5/2026 12:10:00 PM"));
        QCOMPARE(label->text(), report);
        program.tick("Form1", "Timer28");
        QVERIFY(label->text().contains(" Days, 12:10:00 Ago "));
    }

    void countersKeepRunningOnHiddenPages() {
        TestProgram program;
        program.start();
        for (const char* b : {"cmdCommand2600", "cmdNES", "cmdMS", "cmdPS5", "cmdXBOX", "cmdHandheld"})
            program.click("Form1", b);
        program.click("Form2", "cmdGBA");
        program.find<TabControl>("Form1", "SSTTab1")->setCurrentIndex(5);
        QCOMPARE(runningTimers(program.window("Form1")),
                 QStringList({"Timer1", "Timer13", "Timer19", "Timer22", "Timer9", "Timerps5"}));
        QCOMPARE(runningTimers(program.window("Form2")), QStringList({"Timer3"}));
        // Each label counts through its own timer, really ticking.
        auto label = program.find<QLabel>("Form1", "lblLabel5");
        QTRY_VERIFY_WITH_TIMEOUT(label->text().startsWith(" The Xbox was released "), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(program.find<QLabel>("Form2", "lblAgelark")->text().startsWith(" The GBA"), 2000);
    }

    void atari2600StillCountsAtItsLastSecond() {
        TestProgram program;
        program.clock.set({2045, 9, 29, 3, 14, 7});
        program.start();
        program.click("Form1", "cmdCommand2600");
        program.tick("Form1", "Timer1");
        QCOMPARE(program.find<QLabel>("Form1", "lblLabel1")->text(),
                 QString(" The Atari 2600 was released \r\n24855 Days, 03:14:07 Ago \r\n"
                         " Released in the US on 9/11/1977 "));
        QVERIFY(program.messages.shown.isEmpty());
    }

    // From 09/29/2045 03:14:08 the 2600's tick fails, and the main window starts over
    // on the Atari page with the notice; the handheld window is left alone.
    void atari2600FailureRebuildsTheMainWindow() {
        TestProgram program;
        program.clock.set({2045, 9, 29, 3, 14, 8});
        program.start();
        program.click("Form1", "cmdPS2");
        program.click("Form1", "cmdHandheld");
        program.click("Form2", "cmdGB");
        program.find<TabControl>("Form1", "SSTTab1")->setCurrentIndex(3);
        QPointer<FormWindow> old = program.window("Form1");
        QPointer<FormWindow> form2 = program.window("Form2");
        program.click("Form1", "cmdCommand2600");

        QStringList oldRunningWhileOpen;
        QString handheldWhileOpen;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (old) oldRunningWhileOpen = runningTimers(old);
            program.clock.advanceSeconds(1);
            program.tick("Form2", "Timer1");
            handheldWhileOpen = program.find<QLabel>("Form2", "lblAgelark")->text();
        };
        program.tick("Form1", "Timer1");
        program.messages.whileOpen = nullptr;

        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("information"));
        QCOMPARE(program.messages.shown[0].text, atariNotice);
        QCOMPARE(program.messages.shown[0].parentName, QString("Form1"));
        QCOMPARE(oldRunningWhileOpen, QStringList());
        QVERIFY(handheldWhileOpen.startsWith(" The GameBoy was released "));

        program.processEvents();
        QVERIFY(!old);
        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QCOMPARE(program.find<TabControl>("Form1", "SSTTab1")->currentIndex(), 0);
        QCOMPARE(runningTimers(form1), QStringList({"Timer22"}));
        // Back in the design state: the 2600 report never showed, the Sony group forgot the PS2.
        std::unique_ptr<FormWindow> design(createForm1());
        for (const char* name : {"lblLabel1", "lblLabel2"})
            QCOMPARE(program.find<QLabel>("Form1", name)->text(), design->findChild<QLabel*>(name)->text());
        for (const char* name : {"txtAtari", "NowText", "txtPs", "txtPsNow"})
            QCOMPARE(program.find<QLineEdit>("Form1", name)->text(), design->findChild<QLineEdit*>(name)->text());
        QVERIFY(!program.find<QLabel>("Form1", "lblByWendrix_3")->isHidden());

        QCOMPARE(program.window("Form2"), form2.data());
        QCOMPARE(runningTimers(form2), QStringList({"Timer1"}));
        // The new window's buttons work: the path comes round again one tick after a click.
        program.click("Form1", "cmdCommand2600");
        program.tick("Form1", "Timer1");
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(program.messages.shown[1].text, atariNotice);
    }

    // The same path driven by the real timer through the event loop: the handler
    // unloads the very window whose timer is running it.
    void atari2600FailureFromARealTick() {
        TestProgram program;
        program.clock.set({2050, 1, 1, 0, 0, 0});
        program.start();
        program.click("Form1", "cmdCommand2600");
        QTRY_COMPARE_WITH_TIMEOUT(program.messages.shown.size(), 1, 2000);
        QCOMPARE(program.messages.shown[0].text, atariNotice);
        program.processEvents();
        QCOMPARE(runningTimers(program.window("Form1")), QStringList({"Timer22"}));
        QTest::qWait(300);
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.programEnded, 0);  // the main window was the only one, and is back
    }

    // Past 11/19/2050 03:14:08 the 5200 overflows: one warning, not one per tick,
    // the other counters going on; a click on its button lets it be told again.
    void overflowOfAnotherConsoleIsReportedOnce() {
        TestProgram program;
        program.clock.set({2050, 11, 19, 3, 14, 7});
        program.start();
        QPointer<FormWindow> form1 = program.window("Form1");
        program.click("Form1", "cmdCommand5200");
        program.click("Form1", "cmdPS2");
        program.tick("Form1", "Timer2");
        auto label = program.find<QLabel>("Form1", "lblLabel1");
        QVERIFY(label->text().contains("24855 Days, 03:14:07 Ago"));

        program.clock.advanceSeconds(1);
        for (int i = 0; i < 10; ++i) {
            program.tick("Form1", "Timer2");
            program.tick("Form1", "Timer6");
        }
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("warning"));
        QVERIFY(label->text().contains("24855 Days, 03:14:07 Ago"));  // the failed tick set no caption
        QVERIFY(program.find<QLabel>("Form1", "lblLabel2")->text().contains(" The PS2 was released "));
        QCOMPARE(program.window("Form1"), form1.data());  // no rebuild for this console
        QVERIFY(program.find<QTimer>("Form1", "Timer6")->isActive());

        program.click("Form1", "cmdCommand5200");
        program.tick("Form1", "Timer2");
        program.tick("Form1", "Timer2");
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(program.messages.shown[1].kind, QString("warning"));
    }

    void thenTextThatNoLongerParsesIsReported() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdPS3");
        program.tick("Form1", "Timer7");
        auto label = program.find<QLabel>("Form1", "lblLabel2");
        const QString report = label->text();
        program.find<QLineEdit>("Form1", "txtPs")->setText("next Tuesday");
        program.clock.advanceSeconds(5);
        program.tick("Form1", "Timer7");
        program.tick("Form1", "Timer7");
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("warning"));
        QCOMPARE(label->text(), report);
    }

    void missingPictureNamesTheFileAndSwitchesNoTimer() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdPS1");
        QVERIFY(QFile::remove(program.path("ps2.jpg")));
        auto picture = program.find<QLabel>("Form1", "Picture2");
        const qint64 shown = picture->pixmap().cacheKey();

        program.click("Form1", "cmdPS2");
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("warning"));
        QVERIFY2(program.messages.shown[0].text.contains("ps2.jpg"), qPrintable(program.messages.shown[0].text));
        QVERIFY(program.find<QTimer>("Form1", "Timer5")->isActive());
        QVERIFY(!program.find<QTimer>("Form1", "Timer6")->isActive());
        QCOMPARE(program.find<QTimer>("Form1", "Timer6")->interval(), 0);
        QCOMPARE(picture->pixmap().cacheKey(), shown);
        QCOMPARE(program.find<QLineEdit>("Form1", "txtPs")->text(), QString("09/09/1995"));
        QCOMPARE(textColor(program.find<QLabel>("Form1", "lblLabel2")), QColor(Qt::black));
    }

    void copyPutsTheLabelTextOnTheClipboard() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdHandheld");
        program.click("Form1", "cmdPS2");
        program.tick("Form1", "Timer6");
        auto label = program.find<QLabel>("Form1", "lblLabel2");
        QCOMPARE(label->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(label->actions().size(), 1);
        QCOMPARE(label->actions()[0]->text(), QString("Copy"));
        label->actions()[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 withPlatformLineBreaks(" The PS2 was released \r\n9772 Days, 11:10:00 Ago \r\n"
                                        " Released in the US on 3/4/2000 "));
#ifndef Q_OS_WIN
        QVERIFY(!QGuiApplication::clipboard()->text().contains('\r'));
        QCOMPARE(QGuiApplication::clipboard()->text().count('\n'), 2);
#endif
        // Every result label has it, on both windows, and it copies what the label shows now.
        for (const char* name : {"lblLabel1", "lblLabel3", "lblLabel4", "lblLabel5", "lblCustom"})
            QCOMPARE(program.find<QLabel>("Form1", name)->actions().size(), 1);
        auto handheld = program.find<QLabel>("Form2", "lblAgelark");
        handheld->setText("GB\r\nline two");
        handheld->actions()[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), withPlatformLineBreaks("GB\nline two"));
        QVERIFY(program.find<QLabel>("Form1", "lblClock")->actions().isEmpty());
    }

private:
    static void setTextColorForTest(QLabel* label) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, Qt::green);
        label->setPalette(p);
        QFont f = label->font();
        f.setPointSizeF(30);
        label->setFont(f);
    }
};

QTEST_MAIN(CountersTest)
#include "test_counters.moc"
